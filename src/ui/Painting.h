#pragma once

#include "app/Refresh.h"
#include "ui/DataGrid.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <vector>

namespace ui {

// Holds a window's painting while one action refreshes several of its views.
// Each refresh lets events through so the hourglass shows, and without the
// hold every grid would be drawn again after each refresh; with it the window
// is drawn once, when the outermost hold ends, and only where something
// changed. A hold inside another (a reload at the end of a job creation)
// finds painting already held and leaves it so. Refreshes do not let window
// events run meanwhile: there is nothing to draw.
class PaintOnce {
public:
    // Holds the window of the widget given.
    explicit PaintOnce(QWidget* widget);
    ~PaintOnce() { Release(); }
    // Ends the hold early (before a message box, so the window behind it is drawn).
    void Release();
    PaintOnce(const PaintOnce&) = delete;
    PaintOnce& operator=(const PaintOnce&) = delete;
    // False inside another hold, which keeps the painting held.
    bool Holds() const { return !window_.isNull(); }
    // Whether the painting of the widget's window is held.
    static bool Held(const QWidget* widget);
    // Lets the widget's window be drawn again whatever holds it (before a
    // message box, so the window behind it is drawn as it stands).
    static void LetDraw(QWidget* widget);

private:
    QPointer<QWidget> window_;
    app::HoldRefreshEvents events_;
};

// For a long action whose rows the user watches arrive: the window's painting
// is held as by PaintOnce, and Step() lets it be drawn and other window events
// run at most every tenth of a second. Drawing after every row costs many
// times the row itself, and nobody sees the difference. The window's grids
// hold still meanwhile (a search through a view moves it) and follow their
// views once at the end.
class ShowingProgress {
public:
    explicit ShowingProgress(QWidget* window);
    void Step();

private:
    PaintOnce hold_;
    QPointer<QWidget> window_; // while this is the outermost hold
    std::vector<std::unique_ptr<DataGrid::HoldFollowing>> grids_;
    QElapsedTimer since_;
};

} // namespace ui
