#pragma once

#include <QFocusEvent>

namespace ui {

// Whether a focus event is the user entering or leaving a control, not a
// whole window coming and going or a popup menu opening and closing over it.
inline bool FocusMovedByUser(const QEvent* e)
{
    const Qt::FocusReason reason = static_cast<const QFocusEvent*>(e)->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

} // namespace ui
