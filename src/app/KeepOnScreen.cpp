#include "app/KeepOnScreen.h"

#include <QScreen>
#include <QWidget>

namespace app {

QPoint KeepOnScreen(const QRect& frame, const QRect& screen, int bottomReserve)
{
    // Relative to the screen, so a second monitor works like the first.
    int left = frame.left() - screen.left();
    int top = frame.top() - screen.top();
    const int width = frame.width();
    const int height = frame.height();
    if (left < 0)
        left = 0;
    if (top < 0)
        top = 0;
    if (left + width > screen.width())
        left = screen.width() - width;
    if (top + height + bottomReserve > screen.height())
        top = screen.height() - height - bottomReserve;
    return QPoint(left + screen.left(), top + screen.top());
}

bool KeepWindowOnScreen(QWidget* window, int bottomReservePixels)
{
    QScreen* screen = window->screen();
    if (!screen)
        return false;
    const QRect frame = window->frameGeometry();
    const QPoint to = KeepOnScreen(frame, screen->geometry(), bottomReservePixels);
    if (to == frame.topLeft())
        return false;
    // move() places the outer frame of a top-level window.
    window->move(to);
    return true;
}

} // namespace app
