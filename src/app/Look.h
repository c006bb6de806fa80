#pragma once

#include <QPalette>
#include <QString>

class QApplication;

namespace app {

// The one font family of the program: the board, its menus, message boxes
// and dialogs all use it ("Times New Roman", served by Liberation Serif).
inline const QString kFontFamily = QStringLiteral("Times New Roman");
inline constexpr int kFontPoints = 11;

// Gives the application its font and a style that follows the desktop's
// colours, light or dark.
void UseOneLook(QApplication& app);

// The colours of a dark desktop, for the README's picture of one and for
// the tests that check the board stays readable on it.
QPalette DarkPalette();

// A button that keeps a colour of its own (yellow, green) shows dark text
// on it, whatever the desktop's text colour.
QString ColouredButtonStyle(int red, int green, int blue);

} // namespace app
