#include "print/PageLayout.h"
#include "print/RecordingSurface.h"

#include <gtest/gtest.h>

namespace {

using print::RecordingSurface;

TEST(PageLayoutTest, NotePiecesKeepEveryWordAndEndInTheColumn)
{
    RecordingSurface s;
    s.setFontSize(8);
    struct Case {
        const char* note;
        double width;
    };
    const Case cases[] = {
        // A phrase that comes again later stays where it stands.
        {"Kapıcıya haber verilecek. Kapıcıya haber verilecek. Öğleden sonra gelinsin.", 1750},
        {"eski cihaz eski cihaz eski cihaz eski cihaz eski cihaz eski cihaz", 900},
        {"Kısa not", 1750},                                    // fits: no pieces
        {"Ayrılmaz_bir_kelime_olarak_yazılmış_çok_uzun_not", 600}, // no blanks at all
    };
    for (const Case& c : cases) {
        const QString note = QString::fromUtf8(c.note);
        const print::NotePieces p = print::BreakNote(s, note, c.width, QStringLiteral("M"), c.width);
        EXPECT_EQ(p.pieces.join(QString()) + p.rest, note) << c.note;
        EXPECT_LE(s.TextWidth(p.rest), c.width) << c.note;
        for (const QString& piece : p.pieces) {
            EXPECT_FALSE(piece.isEmpty()) << c.note;
            // As long as it could be: one character less would still leave room.
            EXPECT_LT(s.TextWidth(piece.chopped(1) + QStringLiteral("M")), c.width) << c.note;
        }
        if (s.TextWidth(note) <= c.width) {
            EXPECT_TRUE(p.pieces.isEmpty()) << c.note;
        }
    }
    // Too narrow for one character: one character a piece, and it ends.
    const print::NotePieces narrow = print::BreakNote(s, QStringLiteral("Dar sütun"), 1, QStringLiteral("M"), 1);
    EXPECT_EQ(narrow.pieces.size(), 9);
    EXPECT_EQ(narrow.pieces.join(QString()) + narrow.rest, QStringLiteral("Dar sütun"));
}

TEST(PageLayoutTest, TextsAreCutToTheirColumnOneCharacterAtATime)
{
    RecordingSurface s;
    s.setFontSize(8);
    const QString name = QStringLiteral("Özgür İnşaat Mühendislik Taahhüt Sanayi ve Ticaret Ltd. Şti.");
    for (double width : {3600.0, 1200.0, 10.0, 0.0}) {
        const QString cut = print::ShortenToWidth(s, name, width);
        EXPECT_TRUE(name.startsWith(cut));
        EXPECT_LE(s.TextWidth(cut), width);
        if (cut.size() < name.size()) {
            EXPECT_GT(s.TextWidth(name.left(cut.size() + 1)), width);
        }
    }
    EXPECT_EQ(print::ShortenToWidth(s, QStringLiteral("Kısa"), 3600), QStringLiteral("Kısa"));
}

TEST(PageLayoutTest, DatesAndAmountsOnPaperAreTurkish)
{
    struct DateCase { QDate day; const char* text; };
    for (const DateCase& c : {DateCase{QDate(2026, 12, 7), "07 Aralık 2026 Pazartesi"},
                              DateCase{QDate(2024, 2, 29), "29 Şubat 2024 Perşembe"},
                              DateCase{QDate(2027, 8, 1), "01 Ağustos 2027 Pazar"}})
        EXPECT_EQ(print::LongDate(c.day), QString::fromUtf8(c.text));

    struct NumberCase { double value; const char* money; const char* count; };
    for (const NumberCase& c : {NumberCase{26700, "26.700,00", "26700"}, NumberCase{0.5, "0,50", "0,5"},
                                NumberCase{1234567.891, "1.234.567,89", "1234567,891"},
                                NumberCase{2, "2,00", "2"}, NumberCase{0, "0,00", "0"}}) {
        EXPECT_EQ(print::MoneyText(c.value), QString::fromUtf8(c.money));
        EXPECT_EQ(print::CountText(c.value), QString::fromUtf8(c.count));
    }
}

TEST(PageLayoutTest, RuledTableClosesWithItsRuleAndBorders)
{
    RecordingSurface s;
    print::RuledTable t{60, 1000, {60, 500, 1060}, 100};
    s.setCurrentY(400);
    t.Close(s);
    EXPECT_EQ(s.Lines().mid(1), (QStringList{QStringLiteral("line 60,400 1060,400"), QStringLiteral("line 60,100 60,400"),
                                              QStringLiteral("line 500,100 500,400"),
                                              QStringLiteral("line 1060,100 1060,400")}));
    EXPECT_EQ(s.CurrentY(), 400);
}

} // namespace
