#pragma once

#include "print/Surface.h"

#include <QStringList>

#include <variant>
#include <vector>

namespace print {

// Keeps every call that reaches paper, in order, and writes it out as plain
// text lines, one per call, for tests to compare with reviewed files:
//
//   page 2
//   text 60,1245 +1980 "Montör Adı : Ali Demir" Arial 10 bold
//   line 60,1500 10711,1500
//   quality -1
//   end
//
// Positions and widths are whole twips. A recording can also be played onto
// another surface (the print preview paints its pages that way).
class RecordingSurface : public Surface {
public:
    explicit RecordingSurface(const PageGeometry& geometry = PageGeometry::Standard(),
                              const FontState& font = {});

    QStringList Lines() const { return lines_; }
    QString Text() const { return lines_.join(QLatin1Char('\n')) + QLatin1Char('\n'); }
    // The texts drawn, in order, without positions.
    QStringList Texts() const;
    // Every text item with the page it is on (1-based).
    struct PlacedText {
        int page;
        TextItem item;
    };
    const std::vector<PlacedText>& Items() const { return items_; }

    // Draws the recorded pages onto `target` and ends its document.
    void ReplayOn(Surface& target) const;

    // One line of the recording for a piece of text.
    static QString Describe(const TextItem& item);

protected:
    void BeginPage(int number) override;
    void PutText(const TextItem& item) override;
    void PutLine(QPointF from, QPointF to) override;
    void QualityChanged(int quality) override;
    void Finish() override;

private:
    struct PageStart {};
    struct LineOp {
        QPointF from, to;
    };
    std::vector<std::variant<PageStart, TextItem, LineOp>> ops_;
    std::vector<PlacedText> items_;
    QStringList lines_;
    int page_ = 0;
};

} // namespace print
