#include "BoardFixture.h"

#include "reports/GridLayout.h"
#include "ui/ToggleSortOrder.h"

#include <QEnterEvent>
#include <QFile>
#include <QHeaderView>
#include <QScreen>

namespace {

class GridWiringTest : public BoardTest {
protected:
    QString LayoutFile(const char* grid) const
    {
        return data.dataRoot() + QString::fromUtf8(grid) + QStringLiteral(".Dat");
    }
    QByteArray Read(const char* grid) const { return testsupport::ReadFile(LayoutFile(grid)); }
    ui::DataGrid* Grid(const char* name) const { return Find<ui::DataGrid>(QString::fromUtf8(name)); }

    // The user drags a column border: the header resizes the section.
    static void UserResize(ui::DataGrid* grid, int column, int pixels)
    {
        grid->horizontalHeader()->resizeSection(column, pixels);
    }
    static void ClickHeading(ui::DataGrid* grid, int column)
    {
        QHeaderView* head = grid->horizontalHeader();
        QTest::mouseClick(head->viewport(), Qt::LeftButton, {},
                          QPoint(head->sectionViewportPosition(column) + 5, head->height() / 2));
    }
    void Enter(const char* name)
    {
        QWidget* w = Find<QWidget>(QString::fromUtf8(name));
        ASSERT_NE(w, nullptr) << name;
        QEnterEvent e(QPointF(3, 3), QPointF(3, 3), QPointF(3, 3));
        QApplication::sendEvent(w, &e);
    }
    bool Bold(const char* name) const { return Find<QWidget>(QString::fromUtf8(name))->font().bold(); }
    int Sounds() const { return int(played.count(QStringLiteral("\\Cmd.wav"))); }
};

} // namespace

TEST_F(GridWiringTest, LayoutsAreAppliedAtTheFirstActivation)
{
    // Written before the program starts; the job grid has none.
    for (const auto& [grid, bytes] : {std::pair{"StokDataGrid", "600,#TRUE#\r\n1500,#TRUE#\r\n900,#FALSE#\r\n"},
                                      std::pair{"DetayDBGrid", "1800,#TRUE#\r\n"}})
        ASSERT_TRUE(testsupport::WriteFile(LayoutFile(grid), bytes));
    Open();
    ui::DataGrid* orders = Grid("StokDataGrid");
    EXPECT_DOUBLE_EQ(orders->WidthTwips(0), 600);
    EXPECT_DOUBLE_EQ(orders->WidthTwips(1), 1500);
    EXPECT_FALSE(orders->Column(2).visible);
    EXPECT_TRUE(orders->horizontalHeader()->isSectionHidden(2));
    EXPECT_DOUBLE_EQ(orders->WidthTwips(3), 1000); // past the file: as designed
    EXPECT_DOUBLE_EQ(Grid("DetayDBGrid")->WidthTwips(0), 1800);
    // No file: the designed widths and headings.
    EXPECT_DOUBLE_EQ(Grid("GörevGrid")->WidthTwips(1), 3600);
    EXPECT_EQ(Grid("GörevGrid")->Column(2).caption, QStringLiteral("                   Eleman"));
}

TEST_F(GridWiringTest, ResizingAColumnSavesTheGridsLayout)
{
    Open();
    for (const char* name : {"StokDataGrid", "GörevGrid", "RapDBGrid", "DBGrid1", "DetayDBGrid"}) {
        SCOPED_TRACE(name);
        ui::DataGrid* grid = Grid(name);
        EXPECT_FALSE(QFile::exists(LayoutFile(name)));
        UserResize(grid, 0, 90);
        const QList<QByteArray> lines = Read(name).split('\n');
        ASSERT_EQ(lines.size(), grid->ColumnCount() + 1);
        EXPECT_EQ(lines.at(0), reports::FormatLayoutLine(ui::PixelsToTwips(90), true).toLatin1() + "\r");
    }
    // The staff list keeps no layout.
    UserResize(Grid("DBGrid2"), 0, 150);
    EXPECT_FALSE(QFile::exists(LayoutFile("DBGrid2")));
}

TEST_F(GridWiringTest, ResizingTheFillColumnFillsTheGrid)
{
    Open();
    window->resize(1366, 768); // room for the fill column beside the others
    QApplication::processEvents();
    ui::DataGrid* orders = Grid("StokDataGrid");
    const double product = orders->WidthTwips(7);
    UserResize(orders, 3, 40);
    EXPECT_DOUBLE_EQ(orders->WidthTwips(7), product); // another column: the fill column stays

    UserResize(orders, 7, 30);
    double others = 0;
    for (int i = 0; i < orders->ColumnCount(); ++i) {
        if (i != 7 && orders->Column(i).visible)
            others += orders->WidthTwips(i);
    }
    EXPECT_DOUBLE_EQ(orders->WidthTwips(7), orders->GridWidthTwips() - 270 - others);
    EXPECT_EQ(Read("StokDataGrid").split('\n').at(7),
              reports::FormatLayoutLine(orders->WidthTwips(7), true).toLatin1() + "\r");
}

TEST_F(GridWiringTest, HeadingClicksSortWithOneSharedDirection)
{
    Open();
    ui::SortDescending = false;
    ui::DataGrid* jobs = Grid("GörevGrid");
    ClickHeading(jobs, 2); // "Eleman"
    EXPECT_TRUE(window->DataGörev.RecordSource().endsWith(QStringLiteral(" ORDER BY Eleman ASC")))
        << window->DataGörev.RecordSource().toStdString();
    EXPECT_EQ(window->DataGörev.RecordSource().count(QStringLiteral("ORDER BY"), Qt::CaseInsensitive), 1);

    ClickHeading(Grid("StokDataGrid"), 3); // "Sip.No", on the other grid: descending
    EXPECT_TRUE(window->DataSiparis.RecordSource().endsWith(QStringLiteral(" ORDER BY SipNo DESC")))
        << window->DataSiparis.RecordSource().toStdString();
    EXPECT_FALSE(window->CellClicked);
}

TEST_F(GridWiringTest, HoverHighlightsWithTheClickSound)
{
    Open();
    Find<QPushButton>(QStringLiteral("Command1(2)"))->setEnabled(true);

    // Each step: the control the mouse enters, then which controls are bold
    // and which are not, and the click sounds so far.
    const struct {
        const char* entered;
        std::vector<const char*> bold, plain;
        int sounds;
    } steps[] = {
        {"Command2", {"Command2"}, {}, 1},
        {"Command2", {"Command2"}, {}, 1}, // the same button again: silent
        {"Command1(2)", {}, {"Command2"}, 2},
        {"Command1(1)", {"Command1(2)", "Command1(1)"}, {}, 3}, // left out of every list: stays bold
        {"Command2", {"Command1(2)"}, {"Command1(1)"}, 4},
        // The kinds and the report buttons are a group of their own.
        {"Option1(2)", {"Command2"}, {}, 5},
        {"Command3", {}, {"Option1(2)"}, 6},
        {"Command4", {}, {"Command3"}, 7},
        {"Option1(0)", {"Option1(0)"}, {"Command4"}, 8},
    };
    for (const auto& step : steps) {
        Enter(step.entered);
        for (const char* name : step.bold)
            EXPECT_TRUE(Bold(name)) << name << " after " << step.entered;
        for (const char* name : step.plain)
            EXPECT_FALSE(Bold(name)) << name << " after " << step.entered;
        EXPECT_EQ(Sounds(), step.sounds) << step.entered;
    }
}

TEST_F(GridWiringTest, WindowComesBackWhenTheMouseMovesOverItsSurface)
{
    Open();
    window->resize(window->minimumSizeHint().boundedTo(QSize(600, 400)));
    const QRect screen = window->screen()->geometry();
    window->move(screen.left() - 120, screen.top() - 30);
    const QPoint off = window->frameGeometry().topLeft();

    // Over a control: nothing moves.
    QWidget* button = Find<QWidget>(QStringLiteral("Command2"));
    QMouseEvent overButton(QEvent::MouseMove, QPointF(3, 3), button->mapToGlobal(QPointF(3, 3)),
                           Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(button, &overButton);
    EXPECT_EQ(window->frameGeometry().topLeft(), off);

    QWidget* surface = Find<QWidget>(QStringLiteral("BoardSurface"));
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), surface->mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(surface, &move);
    const QRect frame = window->frameGeometry();
    if (frame.width() > screen.width() || frame.height() + 44 > screen.height())
        GTEST_SKIP() << "the window does not fit on this screen";
    EXPECT_EQ(frame.topLeft(), screen.topLeft());
}
