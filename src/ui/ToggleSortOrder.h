#pragma once

#include <QString>

namespace store { class RecordView; }

namespace ui {

class DataGrid;

// The direction of the next heading sort: false sorts ascending. One flag for
// every grid and column of the program, flipped after each sort, so the first
// heading click sorts ascending and the next one (anywhere) descending.
extern bool SortDescending;

// The record source sorted by one field: an existing " ORDER BY" (found
// without regard to case) is cut off from its leading blank on, with all its
// columns and directions, and " ORDER BY <field> ASC|DESC" takes its place.
QString SortedSource(const QString& source, const QString& field, bool descending);

// Re-sorts the grid's rows by the clicked column: the grid keeps its columns
// while the view is read again in the new order. Every failing step is
// skipped without a message.
void ToggleSortOrder(int column, store::RecordView& view, DataGrid& grid);

} // namespace ui
