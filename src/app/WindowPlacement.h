#pragma once

#include <QString>

class QSplitter;
class QWidget;

namespace app {

// Velmora's own key in the settings hive, beside the accounting package's
// "Kapivar\Properties1": where the window was and how the user divided it.
inline const QString kWindowKey = QStringLiteral("Velmora\\Pencere");

// Puts the window back where the last run left it: its size and position
// ("Konum", as "x,y,width,height"), maximised or not ("Büyük"), and the
// splitter's share ("Bölücü", as "a,b"). A saved place that lies on no
// screen is not used. False when nothing usable was saved (the first run).
bool RestorePlacement(QWidget* window, QSplitter* splitter);
// Writes the window's size, position, maximised state and the splitter's sizes.
void SavePlacement(const QWidget* window, const QSplitter* splitter);

} // namespace app
