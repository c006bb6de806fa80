#include "reports/PictureBox.h"

#include "ui/GridColumn.h"

#include <QFontMetricsF>
#include <QPainter>

namespace reports {

namespace {

// Room for two lines of text at the picture's font, as wide as a page; the
// picture is measured at the resolution of paper, so it prints as it measured.
print::PageGeometry PictureGeometry()
{
    return print::PageGeometry{16000, 1200, 1200};
}

print::FontState PictureFont()
{
    print::FontState f;
    f.name = QStringLiteral("Times New Roman");
    f.size = 11;
    f.bold = true;
    return f;
}

} // namespace

PictureBox::PictureBox(QWidget* parent)
    : QWidget(parent)
    , content_(std::make_shared<print::RecordingSurface>(PictureGeometry(), PictureFont()))
{
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    setFixedHeight(ui::TwipsToPixels(600));
    setMinimumWidth(ui::TwipsToPixels(3000));
}

print::Surface& PictureBox::Cls()
{
    setContent(std::make_shared<print::RecordingSurface>(PictureGeometry(), PictureFont()));
    return *content_;
}

void PictureBox::setContent(std::shared_ptr<print::RecordingSurface> content)
{
    content_ = std::move(content);
    update();
}

double PictureBox::ContentHeightTwips() const
{
    // Measured on the picture's own surface, at the resolution of paper.
    print::Surface& s = *content_;
    const print::FontState font = s.Font();
    double bottom = 0;
    for (const auto& placed : content_->Items()) {
        s.setFont(placed.item.font);
        bottom = qMax(bottom, placed.item.y + s.TextHeight());
    }
    s.setFont(font);
    return bottom;
}

void PictureBox::setWidthTwips(double twips)
{
    setFixedWidth(ui::TwipsToPixels(twips));
}

void PictureBox::DrawOn(print::Surface& target, double x, double y) const
{
    for (const auto& placed : content_->Items()) {
        print::TextItem item = placed.item;
        item.x += x;
        item.y += y;
        target.DrawItem(item);
    }
}

void PictureBox::paintEvent(QPaintEvent* e)
{
    QWidget::paintEvent(e);
    QPainter painter(this);
    painter.setPen(Qt::black);
    for (const auto& placed : content_->Items()) {
        const QFont font = placed.item.font.ToQFont();
        painter.setFont(font);
        const QFontMetricsF m(font, this);
        painter.drawText(QPointF(ui::TwipsToPixels(placed.item.x), ui::TwipsToPixels(placed.item.y) + m.ascent()),
                         placed.item.text);
    }
}

} // namespace reports
