#pragma once

#include <QPoint>
#include <QRect>

class QWidget;

namespace app {

// Room kept free at the bottom of the screen (for the task bar), in twips.
inline constexpr int kBottomReserveTwips = 660;

// Where a window with the outer rectangle `frame` goes so that it stays on
// `screen`, all in one unit: a left or top edge off the screen comes back to
// it, a right edge past the screen moves the window left, and the bottom edge
// keeps `bottomReserve` free. The steps run in this order, so a window wider
// than the screen ends with its right edge on the screen's.
QPoint KeepOnScreen(const QRect& frame, const QRect& screen, int bottomReserve);

// Moves a top-level window back onto its screen; true when it moved.
// `bottomReservePixels` is kBottomReserveTwips in the screen's pixels.
bool KeepWindowOnScreen(QWidget* window, int bottomReservePixels);

} // namespace app
