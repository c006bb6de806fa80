#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPointF>
#include <QString>

#include <memory>
#include <optional>

// The printing surface every printout draws on. All lengths are twips
// (1/1440 inch) from the top-left corner of the printable area. Text widths
// and heights come from the real metrics of the chosen face at the output's
// resolution, so every implementation breaks lines and pages at the same
// places as paper does.
namespace print {

// What a printer's font is set to; it stays with the current printer from one
// printout to the next.
struct FontState {
    QString name = QStringLiteral("Arial"); // a printer's usual face; Liberation Sans through fontconfig
    double size = 10;                       // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethru = false;

    QFont ToQFont() const;
    bool operator==(const FontState&) const = default;
};

// The printable area of a page and the resolution at which text is measured.
struct PageGeometry {
    double width = 0;  // twips
    double height = 0; // twips
    int dpi = 1200;

    // The paint rectangle of a page layout at a resolution.
    static PageGeometry FromLayout(const QPageLayout& layout, int dpi);
    // A4 portrait with 10 mm margins at 1200 dpi: the PDF entry's pages, and
    // the pages of the recordings tests compare.
    static QPageLayout StandardLayout();
    static PageGeometry Standard();
};

inline double PixelsToTwips(double px, int dpi) { return px * 1440.0 / dpi; }
inline double TwipsToPixels(double twips, int dpi) { return twips * dpi / 1440.0; }

// One piece of text as it was put on a page.
struct TextItem {
    double x = 0, y = 0; // top-left, twips
    double width = 0;    // twips, in its font
    QString text;
    FontState font;
};

class Surface {
public:
    virtual ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    const FontState& Font() const { return font_; }
    void setFont(const FontState& font);
    void setFontName(const QString& name);
    void setFontSize(double points);
    void setFontBold(bool on);
    void setFontItalic(bool on);
    void setFontUnderline(bool on);
    void setFontStrikethru(bool on);
    double FontSize() const { return font_.size; }
    bool FontBold() const { return font_.bold; }

    // Print quality as printers know it; -1 is the lowest (draft).
    int PrintQuality() const { return quality_; }
    void setPrintQuality(int quality);

    double CurrentX() const { return x_; }
    double CurrentY() const { return y_; }
    void setCurrentX(double x) { x_ = x; }
    void setCurrentY(double y) { y_ = y; }

    // The printable width and height of a page.
    double ScaleWidth() const { return geometry_.width; }
    double ScaleHeight() const { return geometry_.height; }
    const PageGeometry& Geometry() const { return geometry_; }

    // The size of a text in the current font; the height is one line.
    double TextWidth(const QString& text) const;
    double TextHeight(const QString& text = {}) const;

    // Prints at the current position. Staying on the line moves x on by the
    // text's width; ending it puts x back to 0 and moves y down one line of
    // the current font (also for an empty text).
    void Print(const QString& text, bool endLine = true);
    void EndLine() { Print(QString(), true); }
    void PrintStaying(const QString& text) { Print(text, false); }

    void Line(double x1, double y1, double x2, double y2);

    // The position returns to the top-left corner. A page is only sent when
    // something was drawn on it, so a new page followed by nothing is never
    // an empty sheet of paper.
    void NewPage();
    // Sends every page. Nothing drawn: nothing is sent.
    void EndDoc();

    int PagesStarted() const { return pages_; }
    bool Ended() const { return ended_; }

    // Draws what another surface recorded (the recording's own fonts and
    // positions), page by page; see RecordingSurface::ReplayOn.
    void DrawItem(const TextItem& item);
    void DrawLineItem(QPointF from, QPointF to);
    void BreakPage(); // what NewPage does, for a replay

protected:
    explicit Surface(const PageGeometry& geometry, const FontState& font = {});

    // The output's share: pages are begun lazily, before their first item.
    virtual void BeginPage(int number) = 0;
    virtual void PutText(const TextItem& item) = 0;
    virtual void PutLine(QPointF from, QPointF to) = 0;
    virtual void QualityChanged(int) {}
    virtual void Finish() = 0;

private:
    template <typename Change> void change(Change&& c)
    {
        FontState f = font_;
        c(f);
        setFont(f);
    }
    void ensurePage();
    const QFontMetricsF& metrics() const;

    PageGeometry geometry_;
    FontState font_;
    int quality_ = 0;
    double x_ = 0, y_ = 0;
    int pages_ = 0;          // pages begun
    bool pageOpen_ = false;  // the current page has been begun
    bool ended_ = false;
    QImage measureDevice_;   // carries the resolution the metrics are taken at
    mutable std::optional<QFontMetricsF> metrics_;
};

} // namespace print
