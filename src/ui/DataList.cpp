#include "ui/DataList.h"

#include "ui/RecordModel.h"

#include <QFocusEvent>
#include <QMouseEvent>

namespace ui {

DataList::DataList(QWidget* parent)
    : QListView(parent)
    , model_(new RecordModel(this))
{
    setModel(model_);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true); // no row is measured: long lists cost nothing
}

void DataList::bind(store::RecordView* view, const QString& listField)
{
    GridColumn c;
    c.dataField = listField;
    model_->setColumns({c});
    model_->setView(view);
}

QString DataList::Text() const
{
    const QModelIndex cur = currentIndex();
    return cur.isValid() ? model_->text(cur.row(), 0) : QString();
}

void DataList::setText(const QString& text)
{
    const int rows = model_->rowCount();
    for (int row = 0; row < rows; ++row) {
        if (model_->text(row, 0) == text) {
            setCurrentIndex(model_->index(row, 0));
            return;
        }
    }
    setCurrentIndex(QModelIndex());
}

void DataList::mouseReleaseEvent(QMouseEvent* e)
{
    QListView::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton && indexAt(e->position().toPoint()).isValid())
        emit entryClicked();
}

void DataList::focusInEvent(QFocusEvent* e)
{
    QListView::focusInEvent(e);
    if (e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason)
        emit focusGained();
}

void DataList::focusOutEvent(QFocusEvent* e)
{
    QListView::focusOutEvent(e);
    if (e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason)
        emit focusLost();
}

} // namespace ui
