#include "ui/GridColumn.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace ui {

double TwipsPerPixel()
{
    // 1440 twips an inch, at the logical DPI the widgets are laid out with.
    const QScreen* screen =
        qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::primaryScreen()
                                                                      : nullptr;
    const double dpi = screen ? screen->logicalDotsPerInchX() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

int TwipsToPixels(double twips)
{
    return static_cast<int>(std::lround(twips / TwipsPerPixel()));
}

double PixelsToTwips(int pixels)
{
    return pixels * TwipsPerPixel();
}

} // namespace ui
