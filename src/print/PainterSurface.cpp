#include "print/PainterSurface.h"

namespace print {

PainterSurface::PainterSurface(std::unique_ptr<QPagedPaintDevice> device, const FontState& font)
    : Surface(GeometryOf(*device), font)
    , owned_(std::move(device))
    , device_(owned_.get())
{
}

PainterSurface::PainterSurface(QPagedPaintDevice& device, const FontState& font)
    : Surface(GeometryOf(device), font)
    , device_(&device)
{
}

PainterSurface::~PainterSurface()
{
    if (painter_.isActive())
        painter_.end();
}

PageGeometry PainterSurface::GeometryOf(const QPagedPaintDevice& device)
{
    return PageGeometry::FromLayout(device.pageLayout(), device.logicalDpiY());
}

void PainterSurface::BeginPage(int number)
{
    if (failed_)
        return;
    if (number == 1) {
        if (!painter_.begin(device_)) {
            failed_ = true;
            return;
        }
        painter_.setPen(QPen(Qt::black, 0)); // the printer's default width: one device dot
    } else {
        device_->newPage();
    }
}

void PainterSurface::PutText(const TextItem& item)
{
    if (!painter_.isActive())
        return;
    if (lastAscent_ < 0 || !(item.font == lastFont_)) {
        const QFont font = item.font.ToQFont();
        painter_.setFont(font);
        lastFont_ = item.font;
        lastAscent_ = QFontMetricsF(font, device_).ascent();
    }
    // The surface's y is the top of the text; QPainter wants the baseline.
    painter_.drawText(QPointF(px(item.x), px(item.y) + lastAscent_), item.text);
}

void PainterSurface::PutLine(QPointF from, QPointF to)
{
    if (!painter_.isActive())
        return;
    painter_.drawLine(QPointF(px(from.x()), px(from.y())), QPointF(px(to.x()), px(to.y())));
}

void PainterSurface::Finish()
{
    if (painter_.isActive())
        painter_.end();
}

} // namespace print
