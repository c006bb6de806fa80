#include "app/Wheelmouse.h"

#include <QVariant>
#include <QWidget>

namespace app {

bool IsOverWindow(const QWidget* widget, int x, int y)
{
    if (!widget)
        return false;
    const QPoint topLeft = widget->mapToGlobal(QPoint(0, 0));
    return x >= topLeft.x() && x <= topLeft.x() + widget->width() && y >= topLeft.y()
           && y <= topLeft.y() + widget->height();
}

void UnhookWheel(QWidget* window)
{
    if (!window)
        return;
    if (window->property("PrevWndProc").isValid())
        window->setProperty("PrevWndProc", QVariant());
}

} // namespace app
