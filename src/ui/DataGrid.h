#pragma once

#include "ui/GridColumn.h"

#include <QPointer>
#include <QTableView>
#include <vector>

namespace store { class RecordView; }

namespace ui {

class RecordModel;

// A grid bound to a record view: one row per record, the grid's current row is
// the view's current row both ways. Rows are read on demand from the view's
// keyset, so large views scroll smoothly.
//
// Column properties, the current column and cell, the row highlight and the
// tooltip are operations; every notification a window handles is a signal.
// Signals that the handler may refuse or consume carry a bool* to set.
//
// Typing into a cell (only unlocked columns, only with setAllowUpdate(true))
// runs one cycle when the editor commits a changed text:
//   beforeColUpdate(col, old value, new text, &cancel): cancel puts the old
//     value back and nothing is stored;
//   the new text becomes the cell's pending value (Text() returns it);
//   afterColUpdate(col): the handler may store the row itself, which ends the
//     pending value;
//   beforeUpdate(&cancel): the handler may still change pending values with
//     setCellText(); cancel drops them;
//   then whatever is still pending is stored (Edit, the fields, Update). A store
//   that refuses it is reported with updateFailed and the cell shows the
//   stored value again.
class DataGrid : public QTableView {
    Q_OBJECT
public:
    explicit DataGrid(QWidget* parent = nullptr);
    ~DataGrid() override;

    void setView(store::RecordView* view);
    store::RecordView* view() const { return view_; }

    // While one is held the grid does not follow its view's current row: a
    // loop over a view's rows moves it once per row, and a grid that followed
    // would move, scroll and report each of them. When the last is released
    // the grid follows the view's current row once.
    class HoldFollowing {
    public:
        explicit HoldFollowing(DataGrid* grid);
        ~HoldFollowing();
        HoldFollowing(const HoldFollowing&) = delete;
        HoldFollowing& operator=(const HoldFollowing&) = delete;

    private:
        QPointer<DataGrid> grid_;
    };

    void setColumns(const std::vector<GridColumn>& columns);
    const std::vector<GridColumn>& Columns() const { return columns_; }
    int ColumnCount() const;
    const GridColumn& Column(int index) const;
    void setCaption(int index, const QString& caption);
    QString Caption(int index) const { return Column(index).caption; }
    void setWidthTwips(int index, double twips);
    double WidthTwips(int index) const;
    void setColumnVisible(int index, bool visible);
    bool ColumnVisible(int index) const { return Column(index).visible; }
    void setLocked(int index, bool locked);
    bool Locked(int index) const { return Column(index).locked; }
    void setAlignment(int index, ColumnAlign alignment);
    void setFormat(int index, ColumnFormat format);
    void setDataField(int index, const QString& field);
    QString DataField(int index) const { return Column(index).dataField; }

    // Current column (-1 when none) and the current cell's shown text and value.
    int Col() const;
    void setCol(int index);
    QString Text() const;
    QVariant Value() const;
    // Any column of the current row: the shown text and the value (a pending
    // typed text wins over the stored value).
    QString CellText(int column) const;
    QVariant CellValue(int column) const;
    // Changes a cell of the current row. Inside the typing cycle (before the
    // row is stored) it changes the pending value the grid is about to store;
    // otherwise it stores the value at once and raises store::StoreError when
    // the store refuses it.
    void setCellText(int column, const QString& text);

    // Whole current row highlighted, or no marker at all.
    void setHighlight(bool on);
    bool Highlight() const { return highlight_; }

    void setTipText(const QString& text); // the grid's tooltip
    QString TipText() const { return toolTip(); }

    // Around a re-read of the view with another record source: keep the
    // columns as they are, then bind again with them.
    void HoldFields();
    void Rebind();

    // Whether typing into unlocked cells is allowed.
    void setAllowUpdate(bool on);
    bool AllowUpdate() const;

    // The heading font (measurements of heading blanks use it).
    QFont headingFont() const;
    void setHeadingFont(const QFont& font);
    // Inner width of the grid in twips.
    double GridWidthTwips() const;

    RecordModel* recordModel() const { return model_; }

signals:
    void focusGained();
    void focusLost();
    void cellClick();                 // click in a cell (after the current cell moved)
    void cellDoubleClick();
    void headClick(int column);
    void columnResized(int column);   // by the user
    void rowChanged();                // current row changed
    void selectionChanging(bool* cancel);
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void keyDown(int key, Qt::KeyboardModifiers modifiers, bool* consume);
    void beforeColUpdate(int column, const QVariant& oldValue, const QString& newText, bool* cancel);
    void afterColUpdate(int column);
    void beforeUpdate(bool* cancel);
    void updateFailed(const QString& message); // the store refused a typed value

protected:
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    bool viewportEvent(QEvent* e) override;

public:
    // The whole text of a cell whose text the column cuts; empty when it fits
    // (the grid's own tip is shown then).
    QString CutCellText(const QModelIndex& index) const;
    void selectAll() override; // refused, as every selection by the user
    // Typing never moves the row on its own: the windows decide what a typed
    // letter does (a search of their own, a toggle), and reading every row's
    // text would be slow on a large view.
    void keyboardSearch(const QString&) override {}

private:
    friend class GridDelegate;
    void commitCell(const QModelIndex& index, const QString& text);
    void storePending();
    void followView(int row);
    void afterReset();
    void applyColumns();
    void selectCurrentRow();
    bool askSelectionChange();
    int currentRow() const;
    void checkFocusLeft();
    int firstVisibleColumn() const;

    store::RecordView* view_ = nullptr;
    RecordModel* model_ = nullptr;
    std::vector<GridColumn> columns_;
    std::vector<GridColumn> held_;
    bool highlight_ = false;
    bool holding_ = false;
    bool resizingByCode_ = false;
    bool syncing_ = false;
    int holds_ = 0; // HoldFollowing guards in force
    bool inCycle_ = false;
    bool focusInside_ = false;
    bool pressOnCell_ = false;
    bool dragAsked_ = false;
    bool rowStale_ = false; // the rows were replaced: the current record is another one
    int col_ = -1;
    int lastRow_ = -1;
    std::vector<QMetaObject::Connection> viewConnections_;
};

} // namespace ui
