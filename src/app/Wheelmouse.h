#pragma once

class QWidget;

// The mouse wheel. Qt already scrolls the grid or list under the mouse, so no
// wheel hook is installed; what remains are the window test and the unhook
// run when the main window closes.
namespace app {

// True when the screen point (x, y), in pixels, lies within the widget's
// rectangle on the screen, edges included (right = left + width).
bool IsOverWindow(const QWidget* widget, int x, int y);

// Gives a window back the window procedure saved under its "PrevWndProc"
// property and removes the property. Nothing stores one here, so it only
// removes a property someone left; without it, nothing happens.
void UnhookWheel(QWidget* window);

} // namespace app
