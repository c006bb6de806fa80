#pragma once

#include "ui/GridColumn.h"

#include <QString>

#include <optional>

class QFont;

namespace app { struct StorePaths; }
namespace ui { class DataGrid; }

// The saved column layouts of the main window's grids: one text file per grid
// in the data directory, one line per column, "width,#TRUE#" or
// "width,#FALSE#" (width in twips) ended by CR LF. Written at every column
// resize by the user, read back once at the first activation.
//
// The same procedures centre each heading by adding blanks to it (before the
// text of a left-aligned column, after it for a right-aligned one), since the
// grids align headings like their data.
namespace reports {

// Room for the vertical scroll bar when the fill column takes the rest.
inline constexpr double kScrollBarTwips = 270;

// The column that takes whatever width the others leave, by grid name; -1 for
// a grid without one.
int FillColumn(const QString& gridName);

// DataRoot + grid name + ".Dat", as a path of this system.
QString GridLayoutPath(const app::StorePaths& paths, const QString& gridName);

// One line of a layout file without its line end, and back. A line that
// cannot be read gives nothing.
struct LayoutLine {
    double widthTwips = 0;
    bool visible = true;
};
QString FormatLayoutLine(double widthTwips, bool visible);
std::optional<LayoutLine> ParseLayoutLine(const QString& line);

// The heading trimmed of blanks (only blanks: other characters stay).
QString TrimBlanks(const QString& heading);
// Blanks that centre `trimmed` in a column of `columnTwips` in `font`:
// Int((column width - text width) / 2 / width of one blank).
int HeadingBlanks(const QFont& font, double columnTwips, const QString& trimmed);
// `trimmed` with `blanks` blanks before it (left-aligned), after it
// (right-aligned) or none (other alignments).
QString PaddedHeading(const QString& trimmed, ui::ColumnAlign alignment, int blanks);

// Writes the grid's layout, after setting its headings' blanks. The file is
// replaced as a whole. False when it cannot be written (a read-only data
// directory): the layout is then simply not saved.
bool SaveGridLayout(ui::DataGrid& grid, const QString& path);
bool SaveGridLayout(ui::DataGrid& grid, const app::StorePaths& paths);

// Applies a layout file if there is one: line k sets column k's visibility,
// then its width, then its heading's blanks. A line that cannot be read
// leaves its column as it was; lines past the last column are ignored.
void LoadGridLayout(ui::DataGrid& grid, const QString& path);
void LoadGridLayout(ui::DataGrid& grid, const app::StorePaths& paths);

// The user resized `column`: the fill column takes the grid's width less the
// scroll bar and the other visible columns; any other column leaves it as it
// is. Then the layout is saved.
void FitFillColumn(ui::DataGrid& grid, int column);
bool ColumnResized(ui::DataGrid& grid, int column, const app::StorePaths& paths);

} // namespace reports
