#pragma once

#include "ui/GridColumn.h"

#include <QAbstractTableModel>
#include <QMetaObject>
#include <map>
#include <vector>

namespace store { class RecordView; }

namespace ui {

// A table model over a record view: rows are the view's rows in its order,
// columns the grid's columns (bound by field name). Reads go through the
// view's row cache; display settings are copied into members because data()
// is called very often.
//
// The model follows the view's signals: a new result resets it, a stored row
// changes it, an added or deleted row inserts or removes it. Its row count is
// its own, changed only with those signals, so the views over it always see
// a count that agrees with what they were told.
class RecordModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit RecordModel(QObject* parent = nullptr);
    void setView(store::RecordView* view);
    store::RecordView* view() const { return view_; }
    void setColumns(const std::vector<GridColumn>& columns);
    const std::vector<GridColumn>& columns() const { return columns_; }
    // Changes one column; the heading and the cells are redrawn.
    void setColumn(int index, const GridColumn& column);

    // Whether unlocked columns accept typing.
    void setEditable(bool on);
    bool editable() const { return editable_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Stores a typed value at once (Edit, the field, Update); false when the
    // store refuses it.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // True while the rows are being replaced, inserted or removed.
    bool changing() const { return changing_; }

    // The field position a column is bound to; -1 for none or an unknown field.
    int fieldPosition(int column) const;
    // The stored value of a cell (a pending text wins) and the text it shows.
    QVariant value(int row, int column) const;
    QString text(int row, int column) const;

    // A typed text not stored yet: the cell shows it until it is stored, the
    // row is stored by someone, or it is dropped.
    void setPending(int row, int column, const QString& text);
    bool hasPending() const { return !pending_.empty(); }
    int pendingRow() const { return pendingRow_; }
    const std::map<int, QString>& pending() const { return pending_; }
    void clearPending();

    // The text a cell shows, in the column's format.
    static QString FormatValue(const QVariant& v, ColumnFormat format);
    // The alignment of a column's cells and heading.
    static Qt::Alignment Alignment(ColumnAlign align);

private:
    void resolvePositions();
    void onRefreshed();
    void onRowChanged(int row);
    void onRowInserted(int row);
    void onRowRemoved(int row);
    QVariant stored(int row, int column) const;

    store::RecordView* view_ = nullptr;
    std::vector<GridColumn> columns_;
    std::vector<int> positions_; // field position of each column in the view
    std::vector<Qt::Alignment> alignments_;
    int rows_ = 0;
    int removingRow_ = -1; // the row the view has just deleted, while it is announced
    bool editable_ = false;
    bool viewReadOnly_ = false;
    bool changing_ = false;
    int pendingRow_ = -1;
    std::map<int, QString> pending_; // column -> typed text
    std::vector<QMetaObject::Connection> connections_;
};

} // namespace ui
