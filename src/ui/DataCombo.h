#pragma once

#include <QComboBox>
#include <QMetaObject>
#include <vector>

namespace store { class RecordView; }

namespace ui {

// A combo listing one field of a record view (the staff picker). Its text is
// free: it may be set to a name that is not in the list. The list follows the
// view: a refresh, a stored row, an added or deleted row read it again.
// A click on an entry is QComboBox::activated.
class DataCombo : public QComboBox {
    Q_OBJECT
public:
    explicit DataCombo(QWidget* parent = nullptr);
    void bind(store::RecordView* view, const QString& listField);
    // Re-reads the list from the view, keeping the text.
    void reload();
    QString Text() const;
    void setText(const QString& text);

signals:
    void focusGained();
    void focusLost();

protected:
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    store::RecordView* view_ = nullptr;
    QString field_;
    std::vector<QMetaObject::Connection> connections_;
};

} // namespace ui
