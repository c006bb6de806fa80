#include "BoardFixture.h"

#include "ui/DatePicker.h"
#include "ui/Painting.h"

#include <QAbstractEventDispatcher>
#include <QEvent>


namespace {

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* w) { w->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

class PaintingTest : public BoardTest {};

// Runs the window's events until none is left: a layout posts the repaint it
// causes, so one pass may not draw everything.
void DrainEvents()
{
    QAbstractEventDispatcher* events = QCoreApplication::eventDispatcher();
    for (int pass = 0; pass < 50 && events->processEvents(QEventLoop::AllEvents); ++pass) {
    }
}

// The open-jobs list is not drawn in the middle of its refresh (its short
// wait lets events run), and it is drawn once the refresh is over: a hold
// must not leave the window showing the old list.
TEST_F(PaintingTest, TheOpenJobsListIsDrawnWhenItsRefreshEnds)
{
    board::MainWindow& w = Open();
    Find<QPushButton>(QStringLiteral("Command4"))->click();
    DrainEvents();
    ui::DataGrid* list = Find<ui::DataGrid>(QStringLiteral("DBGrid1"));
    PaintCounter counter(list->viewport());

    w.DTPicker2->setDate(w.DTPicker2->date().addDays(1));
    EXPECT_EQ(counter.paints, 0);
    EXPECT_FALSE(ui::PaintOnce::Held(&w));
    DrainEvents();
    EXPECT_GE(counter.paints, 1);
}

// A reload reads four lists and lets events through after each; the window is
// drawn when it ends, not between the lists, and each grid is on its view's row.
TEST_F(PaintingTest, AReloadDrawsTheBoardOnceWhenItEnds)
{
    board::MainWindow& w = Open();
    QApplication::processEvents();
    std::vector<std::unique_ptr<PaintCounter>> counters;
    for (ui::DataGrid* grid : {OrderGrid(), JobGrid()})
        counters.push_back(std::make_unique<PaintCounter>(grid->viewport()));

    w.ReloadBoardLists();
    for (const auto& c : counters)
        EXPECT_EQ(c->paints, 0);
    EXPECT_FALSE(ui::PaintOnce::Held(&w));
    // The lists were read from one state; no read lock is left to stop a writer.
    EXPECT_TRUE(sqlite3_get_autocommit(w.DataSiparis.connection()->handle()));

    QApplication::processEvents();
    EXPECT_GE(counters[0]->paints, 1);
    for (ui::DataGrid* grid : {OrderGrid(), JobGrid()}) {
        SCOPED_TRACE(grid->objectName().toStdString());
        ASSERT_GT(grid->view()->RecordCount(), 0);
        EXPECT_EQ(grid->view()->AbsolutePosition(), 0);
        EXPECT_EQ(grid->currentIndex().row(), 0);
    }
}

// A reload inside an action that already holds the painting (the reload at the
// end of a job creation) leaves it held for that action to end.
TEST_F(PaintingTest, AReloadInsideAHeldActionLeavesThePaintingHeld)
{
    board::MainWindow& w = Open();
    {
        const ui::PaintOnce action(&w);
        w.ReloadBoardLists();
        EXPECT_TRUE(ui::PaintOnce::Held(&w));
    }
    EXPECT_FALSE(ui::PaintOnce::Held(&w));
}

// The work report holds the window while it reads its lists and lets it draw
// now and then while its rows arrive; when it ends the window draws again and
// every grid is on its view's row.
TEST_F(PaintingTest, AWorkReportGivesTheWindowBackWhenItEnds)
{
    board::MainWindow& w = Open();
    Find<QPushButton>(QStringLiteral("Command3"))->click();
    EXPECT_FALSE(ui::PaintOnce::Held(&w));
    const double stored = data.Number(Store("Rapor.mdb"), QStringLiteral("Select Count(*) From Rapor"));
    ASSERT_GT(stored, 0);
    EXPECT_EQ(w.DataRapor.RecordCount(), int(stored));
    for (const char* name : {"RapDBGrid", "GörevGrid"}) {
        SCOPED_TRACE(name);
        auto* grid = Find<ui::DataGrid>(QString::fromUtf8(name));
        EXPECT_EQ(grid->currentIndex().row(), grid->view()->AbsolutePosition());
    }
}

} // namespace
