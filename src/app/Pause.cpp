#include "app/Pause.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace app {

namespace {
bool pausesEnabled = true;
}

void PauseProcessingEvents(int milliseconds)
{
    if (!QCoreApplication::instance())
        return;
    if (!pausesEnabled || milliseconds <= 0) {
        QCoreApplication::processEvents();
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

void SetPausesForTesting(bool enabled) { pausesEnabled = enabled; }

} // namespace app
