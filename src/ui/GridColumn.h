#pragma once

#include <QString>

namespace ui {

enum class ColumnFormat { None, GeneralNumber, YesNo, GeneralDate };
enum class ColumnAlign { Left, Right, Center };

// One column of a bound grid. Widths are kept in twips (1440 an inch), as the
// layout files store them; the grid converts at the screen's logical DPI.
struct GridColumn {
    QString caption;
    QString dataField;
    ColumnFormat format = ColumnFormat::None;
    double widthTwips = 1200;
    bool visible = true;
    ColumnAlign alignment = ColumnAlign::Left;
    bool locked = true;
};

// Twips <-> pixels at the logical DPI of the primary screen (96 DPI: 15 twips a pixel).
double TwipsPerPixel();
int TwipsToPixels(double twips);
double PixelsToTwips(int pixels);

} // namespace ui
