#include "ui/DataCombo.h"

#include "store/RecordView.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QSignalBlocker>

namespace ui {

DataCombo::DataCombo(QWidget* parent)
    : QComboBox(parent)
{
    setEditable(true);
    // What the user types is a name to use, not an entry to add to the list.
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(20);
}

void DataCombo::bind(store::RecordView* view, const QString& listField)
{
    for (const auto& c : connections_)
        disconnect(c);
    connections_.clear();
    view_ = view;
    field_ = listField;
    if (view_) {
        const auto again = [this] { reload(); };
        connections_.push_back(connect(view_, &store::RecordView::refreshed, this, again));
        connections_.push_back(connect(view_, &store::RecordView::rowChanged, this, again));
        connections_.push_back(connect(view_, &store::RecordView::rowInserted, this, again));
        connections_.push_back(connect(view_, &store::RecordView::rowRemoved, this, again));
        connections_.push_back(connect(view_, &QObject::destroyed, this, [this] {
            view_ = nullptr;
            connections_.clear();
        }));
    }
    reload();
}

void DataCombo::reload()
{
    const QString text = Text();
    QStringList names;
    if (view_) {
        const int position = view_->FieldIndex(field_);
        const int rows = view_->RecordCount();
        if (position >= 0) {
            names.reserve(rows);
            for (int row = 0; row < rows; ++row)
                names.append(view_->ValueAt(row, position).toString());
        }
    }
    const QSignalBlocker block(this);
    clear();
    addItems(names);
    setText(text);
}

QString DataCombo::Text() const
{
    return currentText();
}

void DataCombo::setText(const QString& text)
{
    // An entry of the list becomes the current entry; any other name is just
    // the text shown.
    setCurrentIndex(findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive));
    setEditText(text);
}

void DataCombo::focusInEvent(QFocusEvent* e)
{
    QComboBox::focusInEvent(e);
    if (e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason)
        emit focusGained();
}

void DataCombo::focusOutEvent(QFocusEvent* e)
{
    QComboBox::focusOutEvent(e);
    if (e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason)
        emit focusLost();
}

} // namespace ui
