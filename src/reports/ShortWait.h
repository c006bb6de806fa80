#pragma once

#include "app/Pause.h"

#include <QApplication>

namespace reports {

// The report panels' short wait: the hourglass for 0.2 seconds while window
// events go on being handled, then the normal pointer.
inline void ShortWait()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    app::PauseProcessingEvents(200);
    QApplication::restoreOverrideCursor();
}

} // namespace reports
