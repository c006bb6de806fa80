#pragma once

#include "ui/GridColumn.h"

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
class DataGrid : public QTableView {
    Q_OBJECT
public:
    explicit DataGrid(QWidget* parent = nullptr);
    ~DataGrid() override;

    void setView(store::RecordView* view);
    store::RecordView* view() const { return view_; }

    void setColumns(const std::vector<GridColumn>& columns);
    int ColumnCount() const;
    const GridColumn& Column(int index) const;
    void setCaption(int index, const QString& caption);
    void setWidthTwips(int index, double twips);
    double WidthTwips(int index) const;
    void setColumnVisible(int index, bool visible);
    void setLocked(int index, bool locked);
    QString DataField(int index) const { return Column(index).dataField; }

    // Current column (-1 when none) and the current cell's shown text and value.
    int Col() const;
    void setCol(int index);
    QString Text() const;
    QVariant Value() const;

    // Whole current row highlighted, or no marker at all.
    void setHighlight(bool on);
    bool Highlight() const { return highlight_; }

    void setTipText(const QString& text); // the grid's tooltip

    // Around a re-read of the view with another record source: keep the
    // columns as they are, then bind again with them.
    void HoldFields();
    void Rebind();

    // Whether typing into unlocked cells is allowed.
    void setAllowUpdate(bool on);

    // The heading font (measurements of heading blanks use it).
    QFont headingFont() const;
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

protected:
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    store::RecordView* view_ = nullptr;
    RecordModel* model_ = nullptr;
    std::vector<GridColumn> columns_;
    bool highlight_ = false;
    bool holding_ = false;
    bool resizingByCode_ = false;
};

} // namespace ui
