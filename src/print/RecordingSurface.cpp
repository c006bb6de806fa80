#include "print/RecordingSurface.h"

#include <cmath>

namespace print {

namespace {

QString Whole(double twips)
{
    return QString::number(std::lround(twips));
}

QString Point(QPointF p)
{
    return Whole(p.x()) + QLatin1Char(',') + Whole(p.y());
}

} // namespace

RecordingSurface::RecordingSurface(const PageGeometry& geometry, const FontState& font)
    : Surface(geometry, font)
{
}

QString RecordingSurface::Describe(const TextItem& item)
{
    QString line = QStringLiteral("text ") + Point(QPointF(item.x, item.y)) + QStringLiteral(" +")
                   + Whole(item.width) + QStringLiteral(" \"") + item.text + QStringLiteral("\" ")
                   + item.font.name + QLatin1Char(' ') + QString::number(item.font.size);
    if (item.font.bold)
        line += QStringLiteral(" bold");
    if (item.font.italic)
        line += QStringLiteral(" italic");
    if (item.font.underline)
        line += QStringLiteral(" underline");
    if (item.font.strikethru)
        line += QStringLiteral(" strike");
    return line;
}

QStringList RecordingSurface::Texts() const
{
    QStringList texts;
    for (const PlacedText& p : items_)
        texts << p.item.text;
    return texts;
}

void RecordingSurface::BeginPage(int number)
{
    page_ = number;
    ops_.emplace_back(PageStart{});
    lines_ << QStringLiteral("page ") + QString::number(number);
}

void RecordingSurface::PutText(const TextItem& item)
{
    ops_.emplace_back(item);
    items_.push_back({page_, item});
    lines_ << Describe(item);
}

void RecordingSurface::PutLine(QPointF from, QPointF to)
{
    ops_.emplace_back(LineOp{from, to});
    lines_ << QStringLiteral("line ") + Point(from) + QLatin1Char(' ') + Point(to);
}

void RecordingSurface::QualityChanged(int quality)
{
    lines_ << QStringLiteral("quality ") + QString::number(quality);
}

void RecordingSurface::Finish()
{
    lines_ << QStringLiteral("end");
}

void RecordingSurface::ReplayOn(Surface& target) const
{
    bool first = true;
    for (const auto& op : ops_) {
        if (std::holds_alternative<PageStart>(op)) {
            if (!first)
                target.BreakPage();
            first = false;
        } else if (const auto* text = std::get_if<TextItem>(&op)) {
            target.DrawItem(*text);
        } else {
            const auto& line = std::get<LineOp>(op);
            target.DrawLineItem(line.from, line.to);
        }
    }
    target.EndDoc();
}

} // namespace print
