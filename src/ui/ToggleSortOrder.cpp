#include "ui/ToggleSortOrder.h"

#include "store/RecordView.h"
#include "store/Sql.h"
#include "ui/DataGrid.h"

#include <exception>

namespace ui {

bool SortDescending = false;

QString SortedSource(const QString& source, const QString& field, bool descending)
{
    static const QString kOrderBy = QStringLiteral(" ORDER BY");
    // A case-insensitive search keeps the position valid in the original
    // text (upper-casing may change the length of some texts).
    const qsizetype at = source.indexOf(kOrderBy, 0, Qt::CaseInsensitive);
    QString sorted = at >= 0 ? source.left(at) : source;
    sorted += QStringLiteral(" ORDER BY ") + store::FieldName(field);
    sorted += descending ? QStringLiteral(" DESC") : QStringLiteral(" ASC");
    return sorted;
}

void ToggleSortOrder(int column, store::RecordView& view, DataGrid& grid)
{
    auto step = [](auto&& f) {
        try {
            f();
        } catch (const std::exception&) {
        }
    };

    step([&] { grid.HoldFields(); });
    QString field;
    if (column >= 0 && column < grid.ColumnCount())
        field = grid.DataField(column);
    if (!field.isEmpty()) {
        step([&] { view.setRecordSource(SortedSource(view.RecordSource(), field, SortDescending)); });
        SortDescending = !SortDescending;
        step([&] { view.Refresh(); });
    }
    step([&] { grid.Rebind(); });
    if (QWidget* w = grid.window())
        w->unsetCursor();
}

} // namespace ui
