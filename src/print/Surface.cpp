#include "print/Surface.h"

#include <QPageSize>

namespace print {

QFont FontState::ToQFont() const
{
    QFont f(name);
    f.setPointSizeF(size);
    f.setBold(bold);
    f.setItalic(italic);
    f.setUnderline(underline);
    f.setStrikeOut(strikethru);
    // Unhinted outlines measure the same on every device of one resolution,
    // so a recording and the paper agree to the twip.
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

PageGeometry PageGeometry::FromLayout(const QPageLayout& layout, int dpi)
{
    const QRect paint = layout.paintRectPixels(dpi);
    PageGeometry g;
    g.width = PixelsToTwips(paint.width(), dpi);
    g.height = PixelsToTwips(paint.height(), dpi);
    g.dpi = dpi;
    return g;
}

QPageLayout PageGeometry::StandardLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                       QPageLayout::Millimeter);
}

PageGeometry PageGeometry::Standard()
{
    return FromLayout(StandardLayout(), 1200);
}

Surface::Surface(const PageGeometry& geometry, const FontState& font)
    : geometry_(geometry)
    , font_(font)
    , measureDevice_(1, 1, QImage::Format_RGB32)
{
    const int dotsPerMeter = qRound(geometry.dpi / 0.0254);
    measureDevice_.setDotsPerMeterX(dotsPerMeter);
    measureDevice_.setDotsPerMeterY(dotsPerMeter);
}

Surface::~Surface() = default;

void Surface::setFont(const FontState& font)
{
    if (font == font_)
        return;
    font_ = font;
    metrics_.reset();
}

void Surface::setFontName(const QString& name) { change([&](FontState& f) { f.name = name; }); }
void Surface::setFontSize(double points) { change([&](FontState& f) { f.size = points; }); }
void Surface::setFontBold(bool on) { change([&](FontState& f) { f.bold = on; }); }
void Surface::setFontItalic(bool on) { change([&](FontState& f) { f.italic = on; }); }
void Surface::setFontUnderline(bool on) { change([&](FontState& f) { f.underline = on; }); }
void Surface::setFontStrikethru(bool on) { change([&](FontState& f) { f.strikethru = on; }); }

void Surface::setPrintQuality(int quality)
{
    quality_ = quality;
    QualityChanged(quality);
}

const QFontMetricsF& Surface::metrics() const
{
    if (!metrics_)
        metrics_.emplace(font_.ToQFont(), &measureDevice_);
    return *metrics_;
}

double Surface::TextWidth(const QString& text) const
{
    return PixelsToTwips(metrics().horizontalAdvance(text), geometry_.dpi);
}

double Surface::TextHeight(const QString&) const
{
    return PixelsToTwips(metrics().lineSpacing(), geometry_.dpi);
}

void Surface::ensurePage()
{
    if (pageOpen_)
        return;
    pageOpen_ = true;
    ++pages_;
    BeginPage(pages_);
}

void Surface::Print(const QString& text, bool endLine)
{
    const double width = text.isEmpty() ? 0 : TextWidth(text);
    if (!text.isEmpty())
        DrawItem(TextItem{x_, y_, width, text, font_});
    if (endLine) {
        x_ = 0;
        y_ += TextHeight(text);
    } else {
        x_ += width;
    }
}

void Surface::Line(double x1, double y1, double x2, double y2)
{
    DrawLineItem(QPointF(x1, y1), QPointF(x2, y2));
    x_ = x2;
    y_ = y2;
}

void Surface::NewPage()
{
    BreakPage();
    x_ = 0;
    y_ = 0;
}

void Surface::BreakPage()
{
    pageOpen_ = false;
}

void Surface::DrawItem(const TextItem& item)
{
    ensurePage();
    PutText(item);
}

void Surface::DrawLineItem(QPointF from, QPointF to)
{
    ensurePage();
    PutLine(from, to);
}

void Surface::EndDoc()
{
    if (ended_)
        return;
    ended_ = true;
    Finish();
}

} // namespace print
