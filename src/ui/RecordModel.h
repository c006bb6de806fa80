#pragma once

#include "ui/GridColumn.h"

#include <QAbstractTableModel>
#include <vector>

namespace store { class RecordView; }

namespace ui {

// A table model over a record view: rows are the view's rows in its order,
// columns the grid's columns (bound by field name). Reads go through the
// view's row cache; display settings are copied into members because data()
// is called very often.
class RecordModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit RecordModel(QObject* parent = nullptr);
    void setView(store::RecordView* view);
    void setColumns(const std::vector<GridColumn>& columns);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // The text a cell shows, in the column's format.
    static QString FormatValue(const QVariant& v, ColumnFormat format);

private:
    store::RecordView* view_ = nullptr;
    std::vector<GridColumn> columns_;
    std::vector<int> positions_; // field position of each column in the view
};

} // namespace ui
