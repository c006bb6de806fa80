#include "TestSupport.h"

#include "app/StorePaths.h"
#include "reports/GridLayout.h"
#include "ui/DataGrid.h"

#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

using ui::ColumnAlign;
using ui::GridColumn;

namespace {

GridColumn Col(const char* caption, double twips, ColumnAlign align = ColumnAlign::Left,
               bool visible = true)
{
    GridColumn c;
    c.caption = QString::fromUtf8(caption);
    c.dataField = QString::fromUtf8(caption).trimmed();
    c.widthTwips = twips;
    c.alignment = align;
    c.visible = visible;
    return c;
}

class GridLayoutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        paths = app::StorePaths::From(dir.path() + QStringLiteral("/"), QString());
        ASSERT_TRUE(QDir().mkpath(app::StorePaths::Local(paths.dataRoot)));
    }

    std::unique_ptr<ui::DataGrid> Grid(const char* name, const std::vector<GridColumn>& columns)
    {
        auto g = std::make_unique<ui::DataGrid>();
        g->setObjectName(QString::fromUtf8(name));
        g->setColumns(columns);
        return g;
    }

    QString LayoutFile(const char* name) const
    {
        return app::StorePaths::Local(paths.dataRoot) + QString::fromUtf8(name) + QStringLiteral(".Dat");
    }
    QByteArray Read(const char* name) const { return testsupport::ReadFile(LayoutFile(name)); }
    void Write(const char* name, const QByteArray& bytes) const
    {
        ASSERT_TRUE(testsupport::WriteFile(LayoutFile(name), bytes));
    }

    // The heading-blanks rule, measured as the grid measures.
    static int Blanks(const ui::DataGrid& g, double twips, const QString& text)
    {
        const QFontMetricsF fm(g.headingFont());
        const double tpp = ui::TwipsPerPixel();
        return int(std::floor((twips - fm.horizontalAdvance(text) * tpp) / 2
                              / (fm.horizontalAdvance(QLatin1Char(' ')) * tpp)));
    }

    QTemporaryDir dir;
    app::StorePaths paths;
};

} // namespace

TEST_F(GridLayoutTest, WritesOneLinePerColumnExactly)
{
    auto g = Grid("DetayDBGrid", {Col("Sipariş", 1200), Col("Tarih", 0, ColumnAlign::Left, false),
                                  Col("Not", 2400.5)});
    ASSERT_TRUE(reports::SaveGridLayout(*g, paths));
    EXPECT_EQ(Read("DetayDBGrid"), QByteArray("1200,#TRUE#\r\n0,#FALSE#\r\n2400.5,#TRUE#\r\n"));

    // A later save replaces the file as a whole.
    g->setWidthTwips(0, 975);
    ASSERT_TRUE(reports::SaveGridLayout(*g, paths));
    EXPECT_EQ(Read("DetayDBGrid"), QByteArray("975,#TRUE#\r\n0,#FALSE#\r\n2400.5,#TRUE#\r\n"));
}

TEST(GridLayoutLine, FormatAndParse)
{
    // Whole lines as saved are checked in the file itself. Single precision: the stored figure is what a float keeps.
    EXPECT_EQ(reports::FormatLayoutLine(1234.5678, true), QStringLiteral("1234.5677,#TRUE#"));

    struct Case {
        const char* line;
        bool ok;
        double width;
        bool visible;
    } cases[] = {
        {"1200,#TRUE#", true, 1200, true},
        {"2400.5,#FALSE#", true, 2400.5, false},
        {" 1200 , #TRUE# ", true, 1200, true},
        {".5,#TRUE#", true, 0.5, true},
        {"1200", false, 0, false},
        {"1200,TRUE", false, 0, false},
        {"abc,#TRUE#", false, 0, false},
        {"-15,#TRUE#", false, 0, false},
        {"1,5,#TRUE#", false, 0, false},
        {"", false, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const auto got = reports::ParseLayoutLine(QString::fromLatin1(c.line));
        ASSERT_EQ(got.has_value(), c.ok);
        if (c.ok) {
            EXPECT_DOUBLE_EQ(got->widthTwips, c.width);
            EXPECT_EQ(got->visible, c.visible);
        }
    }
}

TEST_F(GridLayoutTest, RoundTripRestoresWidthsVisibilityAndHeadings)
{
    const std::vector<GridColumn> designed = {Col("Sipariş", 1000), Col("Müşteri", 3600),
                                              Col("Adet", 750, ColumnAlign::Right),
                                              Col("Tamam", 750, ColumnAlign::Center)};
    auto a = Grid("GörevGrid", designed);
    a->setWidthTwips(0, 1800);
    a->setWidthTwips(2, 1500);
    a->setColumnVisible(3, false);
    ASSERT_TRUE(reports::SaveGridLayout(*a, paths));
    EXPECT_TRUE(QFile::exists(LayoutFile("GörevGrid")));

    auto b = Grid("GörevGrid", designed);
    reports::LoadGridLayout(*b, paths);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_DOUBLE_EQ(b->WidthTwips(i), a->WidthTwips(i));
        EXPECT_EQ(b->Column(i).visible, a->Column(i).visible);
    }
    EXPECT_EQ(b->Column(0).caption, a->Column(0).caption);
    EXPECT_EQ(b->Column(2).caption, a->Column(2).caption);
    EXPECT_TRUE(b->Column(0).caption.startsWith(QLatin1Char(' ')));
    EXPECT_TRUE(b->Column(2).caption.endsWith(QLatin1Char(' ')));
}

TEST_F(GridLayoutTest, HeadingBlanksByAlignmentAndVisibility)
{
    auto g = Grid("DetayDBGrid", {Col("Eleman", 3000), Col("Adet", 3000, ColumnAlign::Right),
                                  Col("Tamam", 3000, ColumnAlign::Center),
                                  Col("  Gizli  ", 3000, ColumnAlign::Left, false),
                                  Col("   Dar", 100)});
    ASSERT_TRUE(reports::SaveGridLayout(*g, paths));
    const int left = Blanks(*g, 3000, QStringLiteral("Eleman"));
    const int right = Blanks(*g, 3000, QStringLiteral("Adet"));
    ASSERT_GT(left, 0);
    EXPECT_EQ(g->Column(0).caption, QString(left, QLatin1Char(' ')) + QStringLiteral("Eleman"));
    EXPECT_EQ(g->Column(1).caption, QStringLiteral("Adet") + QString(right, QLatin1Char(' ')));
    EXPECT_EQ(g->Column(2).caption, QStringLiteral("Tamam"));
    // A hidden column gets no blanks, and its heading is trimmed.
    EXPECT_EQ(g->Column(3).caption, QStringLiteral("Gizli"));
    // Too narrow for its text: trimmed, nothing added.
    EXPECT_EQ(g->Column(4).caption, QStringLiteral("Dar"));

    // Saving twice does not add blanks to blanks.
    ASSERT_TRUE(reports::SaveGridLayout(*g, paths));
    EXPECT_EQ(g->Column(0).caption, QString(left, QLatin1Char(' ')) + QStringLiteral("Eleman"));
}

TEST_F(GridLayoutTest, FewerLinesBadLinesAndExtraLines)
{
    const struct {
        const char* file;
        double widths[4];
        bool visible[4];
    } cases[] = {
        {"2000,#TRUE#\r\n1500,#FALSE#\r\n", {2000, 1500, 1200, 1300}, {true, false, true, true}},
        // An unreadable and an empty line leave their columns as designed; a
        // bare LF ends a line too; lines past the last column are ignored.
        {"2000,#TRUE#\r\nbozuk satır\r\n\r\n900,#FALSE#\n1,#TRUE#\r\n2,#TRUE#\r\n", {2000, 1100, 1200, 900},
         {true, true, true, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        auto g = Grid("RapDBGrid", {Col("A", 1000), Col("B", 1100), Col("C", 1200), Col("D", 1300)});
        Write("RapDBGrid", c.file);
        reports::LoadGridLayout(*g, paths);
        ASSERT_EQ(g->ColumnCount(), 4);
        for (int i = 0; i < 4; ++i) {
            EXPECT_DOUBLE_EQ(g->WidthTwips(i), c.widths[i]) << i;
            EXPECT_EQ(g->Column(i).visible, c.visible[i]) << i;
        }
    }
}

TEST_F(GridLayoutTest, NoFileLeavesTheGridAsDesignedAndTheFileNameMatchesWithoutCase)
{
    auto g = Grid("DBGrid1", {Col("                   Eleman", 2200)});
    reports::LoadGridLayout(*g, paths);
    EXPECT_DOUBLE_EQ(g->WidthTwips(0), 2200);
    EXPECT_EQ(g->Column(0).caption, QStringLiteral("                   Eleman"));

    Write("dbgrid1", "1700,#TRUE#\r\n");
    QFile::rename(LayoutFile("dbgrid1"), app::StorePaths::Local(paths.dataRoot) + QStringLiteral("dbgrid1.dat"));
    reports::LoadGridLayout(*g, paths);
    EXPECT_DOUBLE_EQ(g->WidthTwips(0), 1700);
    // Saving replaces that file instead of adding a second one.
    ASSERT_TRUE(reports::SaveGridLayout(*g, paths));
    EXPECT_EQ(QDir(app::StorePaths::Local(paths.dataRoot)).entryList(QDir::Files).size(), 1);
}

TEST_F(GridLayoutTest, FillColumnTakesTheRest)
{
    const std::pair<const char*, int> fills[] = {{"StokDataGrid", 7}, {"GörevGrid", 1},    {"RapDBGrid", 1},
                                                 {"DBGrid1", 1},      {"DetayDBGrid", -1}, {"DBGrid2", -1}};
    for (const auto& [grid, column] : fills)
        EXPECT_EQ(reports::FillColumn(QString::fromUtf8(grid)), column) << grid;

    auto g = Grid("GörevGrid", {Col("Sipariş", 1000), Col("Müşteri", 2000), Col("Eleman", 1500),
                                Col("İptal", 800, ColumnAlign::Center, false)});
    g->resize(800, 300);
    const double gridWidth = g->GridWidthTwips();
    ASSERT_GT(gridWidth, 3000);

    // Another column: the fill column stays, the layout is saved.
    g->setWidthTwips(0, 1200);
    ASSERT_TRUE(reports::ColumnResized(*g, 0, paths));
    EXPECT_DOUBLE_EQ(g->WidthTwips(1), 2000);

    // The fill column: grid width - 270 - the other visible columns (not the hidden one).
    g->setWidthTwips(1, 500);
    ASSERT_TRUE(reports::ColumnResized(*g, 1, paths));
    EXPECT_DOUBLE_EQ(g->WidthTwips(1), gridWidth - 270 - 1200 - 1500);
    EXPECT_EQ(Read("GörevGrid").split('\n').at(1),
              reports::FormatLayoutLine(gridWidth - 270 - 1200 - 1500, true).toLatin1() + "\r");

    // A grid without a fill column keeps what the user gave.
    auto d = Grid("DetayDBGrid", {Col("Sipariş", 1000), Col("Not", 500)});
    reports::FitFillColumn(*d, 1);
    EXPECT_DOUBLE_EQ(d->WidthTwips(1), 500);
}

TEST_F(GridLayoutTest, UnwritableDataDirectoryIsNotAnError)
{
    const QString root = app::StorePaths::Local(paths.dataRoot);
    ASSERT_TRUE(QFile::setPermissions(root, QFile::ReadOwner | QFile::ExeOwner));
    // Whoever may write anyway (root) cannot show the refusal.
    QFile probe(root + QStringLiteral("probe"));
    const bool canWrite = probe.open(QIODevice::WriteOnly);
    probe.close();
    probe.remove();

    auto g = Grid("StokDataGrid", {Col("Seç", 450)});
    const bool saved = reports::SaveGridLayout(*g, paths);
    QFile::setPermissions(root, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!canWrite) {
        EXPECT_FALSE(saved);
        EXPECT_FALSE(QFile::exists(LayoutFile("StokDataGrid")));
        return;
    }
    // Root writes into a read-only folder anyway; below a plain file nobody can.
    QFile blocker(root + QStringLiteral("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const app::StorePaths blocked = app::StorePaths::From(root + QStringLiteral("blocker/"), QString());
    EXPECT_FALSE(reports::SaveGridLayout(*g, blocked));
    EXPECT_FALSE(QFile::exists(app::StorePaths::Local(blocked.gridLayout(QStringLiteral("StokDataGrid")))));
}
