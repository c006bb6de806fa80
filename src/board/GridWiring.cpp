// The main window's share of the shared helpers: heading sorts, saved column
// layouts, the hover highlight of its buttons and keeping it on the screen.

#include "board/MainWindow.h"

#include "app/HoverGroup.h"
#include "app/KeepOnScreen.h"
#include "app/Wheelmouse.h"
#include "app/WindowPlacement.h"
#include "reports/GridLayout.h"
#include "ui/DataGrid.h"
#include "ui/ToggleSortOrder.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>

namespace board {

namespace {

// A column border dragged with the mouse reports every step of the drag; the
// fill column and the file follow once, when the button is let go. A resize
// without a pressed button (by keyboard or code of the grid) is taken at once.
class ColumnResizeSaver : public QObject {
public:
    ColumnResizeSaver(ui::DataGrid* grid, const app::StorePaths& paths)
        : QObject(grid)
        , grid_(grid)
        , paths_(paths)
    {
        grid->horizontalHeader()->viewport()->installEventFilter(this);
        connect(grid, &ui::DataGrid::columnResized, this, [this](int column) { Resized(column); });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() == QEvent::MouseButtonRelease && pending_ >= 0) {
            const int column = pending_;
            pending_ = -1;
            // After the header has finished its own handling of the release.
            QMetaObject::invokeMethod(this, [this, column] { Save(column); }, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, e);
    }

private:
    void Resized(int column)
    {
        if (QGuiApplication::mouseButtons() != Qt::NoButton) {
            pending_ = column;
            return;
        }
        Save(column);
    }
    void Save(int column) { reports::ColumnResized(*grid_, column, paths_); }

    ui::DataGrid* grid_;
    const app::StorePaths& paths_;
    int pending_ = -1;
};

// The mouse over the window's own surface (not over a control) brings a
// window dragged partly off the screen back; closing it unhooks the wheel.
class SurfaceWatcher : public QObject {
public:
    SurfaceWatcher(QWidget* window, QSplitter* splitter)
        : QObject(window)
        , window_(window)
        , splitter_(splitter)
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() == QEvent::MouseMove)
            app::KeepWindowOnScreen(window_, ui::TwipsToPixels(app::kBottomReserveTwips));
        else if (e->type() == QEvent::Close && watched == window_) {
            app::UnhookWheel(window_);
            // The next run opens where this one ends.
            app::SavePlacement(window_, splitter_);
        }
        return false;
    }

private:
    QWidget* window_;
    QSplitter* splitter_;
};

} // namespace

void MainWindow::WireHelpers()
{
    // Heading clicks sort the order list and the job grid.
    connect(StokDataGrid, &ui::DataGrid::headClick, this,
            [this](int column) { ui::ToggleSortOrder(column, DataSiparis, *StokDataGrid); });
    connect(GörevGrid, &ui::DataGrid::headClick, this,
            [this](int column) { ui::ToggleSortOrder(column, DataGörev, *GörevGrid); });

    // Every grid with a layout file saves it when the user resizes a column.
    for (ui::DataGrid* grid : {StokDataGrid, GörevGrid, RapDBGrid, DBGrid1, DetayDBGrid})
        new ColumnResizeSaver(grid, paths_);

    auto* hover = new app::HoverGroup(this);
    for (QPushButton* b : Command1)
        hover->add(b, {Command1[0], Command1[1], Command2});
    hover->add(Command2, {Command1[0], Command1[1]});
    for (QRadioButton* o : Option1)
        hover->add(o, {Option1[0], Option1[1], Option1[2], Option1[3], Command3, Command4});
    hover->add(Command3, {Option1[0], Option1[1], Option1[2], Option1[3], Command4});
    hover->add(Command4, {Option1[0], Option1[1], Option1[2], Option1[3], Command3});

    auto* surface = new SurfaceWatcher(this, BoardSplitter);
    installEventFilter(surface);
    centralWidget()->installEventFilter(surface);
    centralWidget()->setMouseTracking(true);
    setMouseTracking(true);
}

void MainWindow::LoadGridLayouts()
{
    for (ui::DataGrid* grid : {StokDataGrid, GörevGrid, RapDBGrid, DBGrid1, DetayDBGrid})
        reports::LoadGridLayout(*grid, paths_);
}

} // namespace board
