#include "print/PageLayout.h"
#include "print/PainterSurface.h"
#include "print/RecordingSurface.h"

#include <QFontInfo>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using print::FontState;
using print::PageGeometry;
using print::RecordingSurface;

// The reviewed recordings hold widths measured in these faces: on a machine
// that serves the printer faces with other fonts they could not match.
TEST(SurfaceTest, PrinterFacesAreServedByTheMetricCompatibleFonts)
{
    struct Case { const char* face; const char* served; };
    for (const Case& c : {Case{"Arial", "Liberation Sans"}, Case{"Times New Roman", "Liberation Serif"},
                          Case{"Courier New", "Liberation Mono"}}) {
        FontState f;
        f.name = QString::fromUtf8(c.face);
        EXPECT_EQ(QFontInfo(f.ToQFont()).family(), QString::fromUtf8(c.served)) << c.face;
    }
}

TEST(SurfaceTest, PrintingMovesThePositionAsPaperDoes)
{
    RecordingSurface s;
    s.setFontSize(10);
    const double line10 = s.TextHeight(QStringLiteral("M"));
    s.setCurrentX(500);
    s.setCurrentY(1000);
    const double width = s.TextWidth(QStringLiteral("Sipariş"));
    s.PrintStaying(QStringLiteral("Sipariş"));
    EXPECT_DOUBLE_EQ(s.CurrentX(), 500 + width);
    EXPECT_DOUBLE_EQ(s.CurrentY(), 1000);
    s.Print(QStringLiteral(" No"));
    EXPECT_EQ(s.CurrentX(), 0);
    EXPECT_DOUBLE_EQ(s.CurrentY(), 1000 + line10);
    s.EndLine(); // nothing but a line end
    EXPECT_DOUBLE_EQ(s.CurrentY(), 1000 + 2 * line10);
    s.Line(60, 3000, 900, 3000);
    EXPECT_EQ(s.CurrentX(), 900);
    EXPECT_EQ(s.CurrentY(), 3000);

    // Sizes and weights change the measures.
    s.setFontSize(8);
    EXPECT_LT(s.TextHeight(), line10);
    const double plain = s.TextWidth(QStringLiteral("Bakiye"));
    s.setFontBold(true);
    EXPECT_GT(s.TextWidth(QStringLiteral("Bakiye")), plain);
    s.setFontSize(16);
    EXPECT_GT(s.TextWidth(QStringLiteral("Bakiye")), 1.9 * plain);
}

TEST(SurfaceTest, PagesAreSentOnlyWithSomethingOnThem)
{
    RecordingSurface none;
    none.NewPage();
    none.EndDoc();
    EXPECT_EQ(none.PagesStarted(), 0);
    EXPECT_EQ(none.Lines(), QStringList{QStringLiteral("end")});

    RecordingSurface s;
    s.setCurrentY(700);
    s.Print(QStringLiteral("bir"));
    s.NewPage();
    EXPECT_EQ(s.CurrentX(), 0);
    EXPECT_EQ(s.CurrentY(), 0);
    s.NewPage(); // nothing on it yet: no page of its own
    s.Line(0, 10, 100, 10);
    s.NewPage();
    s.EndDoc();
    EXPECT_EQ(s.PagesStarted(), 2);
    const QStringList lines = s.Lines();
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0], QStringLiteral("page 1"));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("text 0,700 +")));
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral("\"bir\" Arial 10")));
    EXPECT_EQ(lines[2], QStringLiteral("page 2"));
    EXPECT_EQ(lines[3], QStringLiteral("line 0,10 100,10"));
    EXPECT_EQ(lines[4], QStringLiteral("end"));
}

TEST(SurfaceTest, RecordingsDescribeEveryFontAttribute)
{
    RecordingSurface s;
    s.setFontName(QStringLiteral("Times New Roman"));
    s.setFontSize(12.5);
    s.setFontBold(true);
    s.setFontItalic(true);
    s.setFontUnderline(true);
    s.setFontStrikethru(true);
    s.setPrintQuality(-1);
    s.Print(QStringLiteral("Ş"));
    EXPECT_EQ(s.Lines().at(0), QStringLiteral("quality -1"));
    EXPECT_TRUE(s.Lines().at(2).endsWith(
        QStringLiteral("\"Ş\" Times New Roman 12.5 bold italic underline strike")));
}

// The PDF's pages and the recordings tests compare are the same pages: the
// same printable area, the same widths, so the same breaks.
TEST(SurfaceTest, PdfPagesMeasureLikeTheRecording)
{
    QTemporaryDir dir;
    auto writer = std::make_unique<QPdfWriter>(dir.filePath(QStringLiteral("a.pdf")));
    writer->setPageLayout(PageGeometry::StandardLayout());
    writer->setResolution(1200);
    print::PainterSurface paper(std::move(writer));
    RecordingSurface recording;
    EXPECT_DOUBLE_EQ(paper.ScaleWidth(), recording.ScaleWidth());
    EXPECT_DOUBLE_EQ(paper.ScaleHeight(), recording.ScaleHeight());
    for (double size : {8.0, 10.0, 12.0}) {
        paper.setFontSize(size);
        recording.setFontSize(size);
        for (const QString& t : {QStringLiteral(" Sipariş No "), QStringLiteral("Müşteri Adı - Adresi- Telefonu")})
            EXPECT_DOUBLE_EQ(paper.TextWidth(t), recording.TextWidth(t)) << size;
        EXPECT_DOUBLE_EQ(paper.TextHeight(), recording.TextHeight());
    }

    // A replay puts the same pages on paper.
    recording.Print(QStringLiteral("bir"));
    recording.NewPage();
    recording.Print(QStringLiteral("iki"));
    recording.EndDoc();
    recording.ReplayOn(paper);
    EXPECT_EQ(paper.PagesStarted(), 2);
    EXPECT_FALSE(paper.Failed());
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("a.pdf"))).size() > 0);
}

TEST(SurfaceTest, PdfThatCannotBeWrittenFailsQuietly)
{
    auto writer = std::make_unique<QPdfWriter>(QStringLiteral("/proc/velmora/yok/a.pdf"));
    print::PainterSurface paper(std::move(writer));
    paper.Print(QStringLiteral("x"));
    paper.EndDoc();
    EXPECT_TRUE(paper.Failed());
}

} // namespace
