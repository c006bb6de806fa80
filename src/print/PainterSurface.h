#pragma once

#include "print/Surface.h"

#include <QPagedPaintDevice>
#include <QPainter>

#include <memory>

namespace print {

// Paints with QPainter on a paged device: a QPrinter for a system printer, a
// QPdfWriter for a PDF file. Twips are converted at the device's resolution;
// the painter begins at the first item, so a document of no pages leaves the
// printer (and the PDF file) untouched.
class PainterSurface : public Surface {
public:
    explicit PainterSurface(std::unique_ptr<QPagedPaintDevice> device, const FontState& font = {});
    // On a device someone else keeps (the preview's printer).
    explicit PainterSurface(QPagedPaintDevice& device, const FontState& font = {});
    ~PainterSurface() override;

    // The paint rectangle of the device's page layout, at its resolution.
    static PageGeometry GeometryOf(const QPagedPaintDevice& device);
    // False when the device refused to begin (a printer gone away, a folder
    // that cannot be written).
    bool Failed() const { return failed_; }

protected:
    void BeginPage(int number) override;
    void PutText(const TextItem& item) override;
    void PutLine(QPointF from, QPointF to) override;
    void Finish() override;

private:
    double px(double twips) const { return TwipsToPixels(twips, Geometry().dpi); }

    std::unique_ptr<QPagedPaintDevice> owned_;
    QPagedPaintDevice* device_;
    QPainter painter_;
    bool failed_ = false;
    FontState lastFont_; // the painter's font and its ascent, kept between texts
    double lastAscent_ = -1;
};

} // namespace print
