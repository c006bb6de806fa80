#include "reports/GridLayout.h"

#include "app/StorePaths.h"
#include "ui/DataGrid.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QSaveFile>

#include <charconv>
#include <cmath>

namespace reports {

namespace {

// A layout file copied from another system may differ in case
// ("stokdatagrid.dat"); it is the same file and is read and replaced as such.
QString CaselessExisting(const QString& path)
{
    if (QFileInfo::exists(path))
        return path;
    const QFileInfo info(path);
    const QDir dir = info.dir();
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden);
    for (const QString& name : names) {
        if (name.compare(info.fileName(), Qt::CaseInsensitive) == 0)
            return dir.filePath(name);
    }
    return path;
}

double ToTwips(double pixels)
{
    return pixels * ui::TwipsPerPixel();
}

} // namespace

int FillColumn(const QString& gridName)
{
    if (gridName == QStringLiteral("StokDataGrid"))
        return 7; // "Ürün"
    if (gridName == QStringLiteral("GörevGrid") || gridName == QStringLiteral("RapDBGrid")
        || gridName == QStringLiteral("DBGrid1"))
        return 1; // "Müşteri", "Eleman", "Ürün"
    return -1;
}

QString GridLayoutPath(const app::StorePaths& paths, const QString& gridName)
{
    return app::StorePaths::Local(paths.gridLayout(gridName));
}

QString FormatLayoutLine(double widthTwips, bool visible)
{
    // Single precision, shortest form that reads back the same: 1200, 2400.5.
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, static_cast<float>(widthTwips));
    return QString::fromLatin1(buf, r.ptr - buf)
           + (visible ? QStringLiteral(",#TRUE#") : QStringLiteral(",#FALSE#"));
}

std::optional<LayoutLine> ParseLayoutLine(const QString& line)
{
    const qsizetype comma = line.indexOf(QLatin1Char(','));
    if (comma < 0)
        return std::nullopt;
    bool ok = false;
    // toDouble reads "." as the decimal point whatever the locale, and also
    // the short form ".5".
    const double width = line.left(comma).trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(width) || width < 0)
        return std::nullopt;
    const QString flag = line.mid(comma + 1).trimmed();
    LayoutLine l;
    l.widthTwips = width;
    if (flag.compare(QStringLiteral("#TRUE#"), Qt::CaseInsensitive) == 0)
        l.visible = true;
    else if (flag.compare(QStringLiteral("#FALSE#"), Qt::CaseInsensitive) == 0)
        l.visible = false;
    else
        return std::nullopt;
    return l;
}

QString TrimBlanks(const QString& heading)
{
    qsizetype from = 0;
    qsizetype to = heading.size();
    while (from < to && heading.at(from) == QLatin1Char(' '))
        ++from;
    while (to > from && heading.at(to - 1) == QLatin1Char(' '))
        --to;
    return heading.mid(from, to - from);
}

int HeadingBlanks(const QFont& font, double columnTwips, const QString& trimmed)
{
    const QFontMetricsF fm(font);
    const double blank = ToTwips(fm.horizontalAdvance(QLatin1Char(' ')));
    if (blank <= 0)
        return 0;
    const double half = (columnTwips - ToTwips(fm.horizontalAdvance(trimmed))) / 2;
    return static_cast<int>(std::floor(half / blank));
}

QString PaddedHeading(const QString& trimmed, ui::ColumnAlign alignment, int blanks)
{
    if (blanks <= 0)
        return trimmed;
    switch (alignment) {
    case ui::ColumnAlign::Left:
        return QString(blanks, QLatin1Char(' ')) + trimmed;
    case ui::ColumnAlign::Right:
        return trimmed + QString(blanks, QLatin1Char(' '));
    default:
        return trimmed;
    }
}

bool SaveGridLayout(ui::DataGrid& grid, const QString& path)
{
    const QFont font = grid.headingFont();
    QByteArray text;
    for (int i = 0; i < grid.ColumnCount(); ++i) {
        const ui::GridColumn& c = grid.Column(i);
        const QString trimmed = TrimBlanks(c.caption);
        const int blanks = HeadingBlanks(font, c.widthTwips, trimmed);
        // A hidden column keeps its heading trimmed.
        grid.setCaption(i, (blanks > 0 && c.visible) ? PaddedHeading(trimmed, c.alignment, blanks)
                                                     : trimmed);
        text += FormatLayoutLine(c.widthTwips, c.visible).toLatin1() + "\r\n";
    }

    // Written beside the old file and put in its place: a failed write never
    // leaves half a layout behind.
    QSaveFile file(CaselessExisting(path));
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(text) != text.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool SaveGridLayout(ui::DataGrid& grid, const app::StorePaths& paths)
{
    return SaveGridLayout(grid, GridLayoutPath(paths, grid.objectName()));
}

void LoadGridLayout(ui::DataGrid& grid, const QString& path)
{
    QFile file(CaselessExisting(path));
    if (!file.open(QIODevice::ReadOnly))
        return; // no layout yet: the grid stays as designed

    const QFont font = grid.headingFont();
    const QFontMetricsF fm(font);
    const double blank = ToTwips(fm.horizontalAdvance(QLatin1Char(' ')));

    QList<QByteArray> lines = file.readAll().split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // after the last line end
    const int count = int(qMin<qsizetype>(lines.size(), grid.ColumnCount()));
    for (int k = 0; k < count; ++k) {
        QByteArray raw = lines.at(k);
        if (raw.endsWith('\r'))
            raw.chop(1);
        const std::optional<LayoutLine> line = ParseLayoutLine(QString::fromLatin1(raw));
        if (!line)
            continue;
        grid.setColumnVisible(k, line->visible);
        grid.setWidthTwips(k, line->widthTwips);

        const ui::GridColumn& c = grid.Column(k);
        const QString trimmed = TrimBlanks(c.caption);
        const double half = (line->widthTwips - ToTwips(fm.horizontalAdvance(trimmed))) / 2;
        if (half > 0 && blank > 0 && c.alignment != ui::ColumnAlign::Center)
            grid.setCaption(k, PaddedHeading(trimmed, c.alignment, int(std::floor(half / blank))));
    }
}

void LoadGridLayout(ui::DataGrid& grid, const app::StorePaths& paths)
{
    LoadGridLayout(grid, GridLayoutPath(paths, grid.objectName()));
}

void FitFillColumn(ui::DataGrid& grid, int column)
{
    const int fill = FillColumn(grid.objectName());
    if (fill < 0 || column != fill || fill >= grid.ColumnCount())
        return;
    double others = 0;
    for (int i = 0; i < grid.ColumnCount(); ++i) {
        if (i != fill && grid.Column(i).visible)
            others += grid.Column(i).widthTwips;
    }
    const double width = grid.GridWidthTwips() - others - kScrollBarTwips;
    // When the others already fill the grid there is nothing left to take;
    // the column keeps the width the user gave it.
    if (width > 0)
        grid.setWidthTwips(fill, width);
}

bool ColumnResized(ui::DataGrid& grid, int column, const app::StorePaths& paths)
{
    FitFillColumn(grid, column);
    return SaveGridLayout(grid, paths);
}

} // namespace reports
