#pragma once

#include <QListView>

namespace store { class RecordView; }

namespace ui {

class RecordModel;

// A list showing one field of a record view's rows (the customer matches of
// the survey dialog). Rows are read on demand, like the grid's. The current
// entry is the list's own: choosing one does not move the view.
class DataList : public QListView {
    Q_OBJECT
public:
    explicit DataList(QWidget* parent = nullptr);
    void bind(store::RecordView* view, const QString& listField);

    // The current entry's text; empty when there is none.
    QString Text() const;
    // Makes the first entry with exactly this text current (none when absent).
    void setText(const QString& text);

signals:
    void entryClicked(); // a click on an entry, after it became current
    void focusGained();
    void focusLost();

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    RecordModel* model_ = nullptr;
};

} // namespace ui
