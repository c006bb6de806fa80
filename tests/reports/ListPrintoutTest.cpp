#include "ReportFixture.h"

namespace {

using print::RecordingSurface;

int Pages(const RecordingSurface& r)
{
    int pages = 0;
    for (const auto& p : r.Items())
        pages = qMax(pages, p.page);
    return pages;
}

class ListPrintoutTest : public ReportTest {
protected:
    // Staff members "Eleman 01" ... with a done installation and a done service each.
    void Crew(int count) const
    {
        for (int i = 1; i <= count; ++i) {
            const QString name = QStringLiteral("Eleman %1").arg(i, 2, 10, QLatin1Char('0'));
            AddStaff(QStringLiteral("320.02.%1").arg(i, 2, 10, QLatin1Char('0')), name);
            AddJob({name, "Montaj", Stored(Today()), true, false, double(i), QStringLiteral("Müşteri %1").arg(i)});
            AddJob({name, "Servis", Stored(Today()), true, false, 1, QStringLiteral("Servis %1").arg(i)});
        }
    }
    // Open jobs of the day: "Açık İş 01" ...
    void OpenJobs(int count) const
    {
        AddStaff(QStringLiteral("320.01.001"), QStringLiteral("Ali Demir"));
        for (int i = 1; i <= count; ++i)
            AddJob({QStringLiteral("Ali Demir"), i % 3 ? "Montaj" : "Servis", Stored(Today()), false, false, 0,
                    QStringLiteral("Açık İş %1").arg(i, 2, 10, QLatin1Char('0')), 1});
    }
    void Report()
    {
        OpenOnDay(Today());
        Click(QStringLiteral("Command3"));
    }
    const RecordingSurface& PrintReport()
    {
        ClickPrinting(QStringLiteral("RapCmd(1)"));
        return Recording();
    }
    const RecordingSurface& PrintPending()
    {
        ClickPrinting(QStringLiteral("Command5(0)"));
        return Recording();
    }
    double Right() const { return geometry.width - 60; } // x0 + T

    struct BreakCase {
        app::Answer answer;
        const char* golden;
        int pages;
        bool closed; // the last page got its number and the picture
    };
    // Prints afresh with the page-break question answered as the case says;
    // one question, the reviewed recording, the pages the answer leaves.
    const RecordingSurface& PrintAnswering(const BreakCase& c, const QString& button)
    {
        recordings.clear();
        prompt.shown.clear();
        prompt.answers = {c.answer};
        ClickPrinting(button);
        const RecordingSurface& r = Recording();
        ExpectGoldenFile(r, "reports", c.golden);
        EXPECT_EQ(BreakQuestions(), 1);
        EXPECT_EQ(Pages(r), c.pages);
        return r;
    }
};

TEST_F(ListPrintoutTest, ReportOnOnePageEndsWithItsNumberBesideTheTotalsPicture)
{
    Crew(3);
    Report();
    const RecordingSurface& r = PrintReport();
    ExpectGoldenFile(r, "reports", "reportlist_single.txt");
    EXPECT_EQ(BreakQuestions(), 0);
    EXPECT_EQ(Pages(r), 1);

    // Without any print settings: the printer's face at size 10, rows at 12, the title at 14.
    const print::TextItem* title = Item(r, QStringLiteral("Sorvik"));
    ASSERT_TRUE(title);
    EXPECT_EQ(title->font.name, QStringLiteral("Arial"));
    EXPECT_EQ(title->font.size, 14);
    const print::TextItem* caption = Item(r, QStringLiteral(" Aralık Aylık Raporu "));
    ASSERT_TRUE(caption);
    EXPECT_NEAR(caption->x + caption->width / 2, geometry.width / 2, 1);
    const print::TextItem* code = Item(r, QStringLiteral(" 320.02.01"));
    ASSERT_TRUE(code);
    EXPECT_EQ(code->font.size, 12);
    EXPECT_EQ(code->x, 60);
    const print::TextItem* done = Item(r, QStringLiteral(" 3"));
    ASSERT_TRUE(done);
    EXPECT_NEAR(done->x + done->width, Right() - 60, 1);

    const print::TextItem* footer = Item(r, QStringLiteral("Sayfa 1 "));
    ASSERT_TRUE(footer);
    EXPECT_NEAR(footer->x + footer->width, Right(), 1);
    // The picture's first text stands at the table's left edge, 60 below the footer's top.
    const print::TextItem* picture = Item(r, QStringLiteral(" Montaj  "));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->x, 60);
    EXPECT_NEAR(picture->y, footer->y + 60, 0.5);
    EXPECT_TRUE(Item(r, QStringLiteral(":  6")));
}

struct FontCase {
    const char* face;
    const char* size;
    const char* bold;
    const char* italic;
    const char* wantFace;
    double wantRowSize;
    bool wantBold, wantItalic;
};

TEST_F(ListPrintoutTest, ReportFontFromTheSettingsOrThePrintersFaceAtSize10)
{
    Crew(2);
    Report();
    const FontCase cases[] = {
        {"", "", "", "", "Arial", 12, false, false},
        {"", "7", "True", "True", "Arial", 12, false, false}, // size and style need a face
        {"Times New Roman", "abc", "", "", "Times New Roman", 12, false, false},
        {"Times New Roman", "9", "True", "0", "Times New Roman", 11, true, false},
        {"Liberation Mono", "8,5", "0", "-1", "Liberation Mono", 10.5, false, true},
    };
    for (const FontCase& c : cases) {
        SCOPED_TRACE(c.face + std::string(" / ") + c.size);
        SetSetting("RapFont", QString::fromUtf8(c.face));
        SetSetting("RapSize", QString::fromUtf8(c.size));
        SetSetting("RapBold", QString::fromUtf8(c.bold));
        SetSetting("RapItal", QString::fromUtf8(c.italic));
        print::ResetCurrentPrinterForTesting(); // each case starts on the printer's own font
        recordings.clear();
        const RecordingSurface& r = PrintReport();
        const print::TextItem* row = Item(r, QStringLiteral(" 320.02.02"));
        ASSERT_TRUE(row);
        EXPECT_EQ(row->font.name, QString::fromUtf8(c.wantFace));
        EXPECT_EQ(row->font.size, c.wantRowSize);
        EXPECT_EQ(row->font.bold, c.wantBold);
        EXPECT_EQ(row->font.italic, c.wantItalic);
        EXPECT_EQ(Item(r, QStringLiteral("Sorvik"))->font.size, c.wantRowSize + 2);
    }
}

TEST_F(ListPrintoutTest, ReportOverSeveralPagesAsksAtEachBreak)
{
    Crew(35); // 70 rows
    Report();
    const BreakCase cases[] = {
        {app::Answer::Yes, "reportlist_pages_yes.txt", 2, true},
        {app::Answer::No, "reportlist_pages_no.txt", 1, true},
        {app::Answer::Cancel, "reportlist_pages_cancel.txt", 1, false},
    };
    for (const BreakCase& c : cases) {
        SCOPED_TRACE(c.golden);
        const RecordingSurface& r = PrintAnswering(c, QStringLiteral("RapCmd(1)"));
        EXPECT_EQ(Item(r, QStringLiteral(" Montaj  ")) != nullptr, c.closed);
        // The last row never breaks a page; every row is printed only after Yes.
        EXPECT_EQ(r.Texts().count(QStringLiteral(" 320.02.35")), c.answer == app::Answer::Yes ? 2 : 1);
    }
    EXPECT_FALSE(app::SuppressListSync);
}

TEST_F(ListPrintoutTest, PendingListWithNotePiecesTotalsAndTheReportsPicture)
{
    AddStaff(QStringLiteral("320.01.001"), QStringLiteral("Ali Demir"));
    const QString day = Stored(Today());
    AddJob({QStringLiteral("Ali Demir"), "Montaj", day, true, false, 1234, "Biten"});
    const QString note = QStringLiteral("Kapıcıya haber verilecek. Öğleden sonra gelinsin, asansör yok. Kapıcıya "
                                        "haber verilecek; eski ölçüler geçersiz, yeni ölçü alınacak ve yeni ölçü "
                                        "müşteriye yazılı verilecek. Kapıcıya haber verilecek.");
    AddJob({QStringLiteral("Ali Demir"), "Montaj", day, false, false, 0,
            "Özgür İnşaat Mühendislik Taahhüt Sanayi ve Ticaret Ltd. Şti.", 2,
            "Alüminyum Doğrama Pencere Sistemi Isıcam Dahil Çift Kanat 180x210", note});
    AddJob({QStringLiteral("Paket Teslim"), "Paket", day, false, false, 0, "Ahmet'in Yeri", 1, "   "});
    Report(); // the picture holds the month's totals
    Click(QStringLiteral("Command4"));
    const RecordingSurface& r = PrintPending();
    ExpectGoldenFile(r, "reports", "pendinglist_single.txt");

    // The note in pieces: every word kept where it stands, the repeated ones too.
    QString printed;
    int pieces = 0;
    for (const auto& p : r.Items())
        if (p.item.x > 8000 && p.item.font.size == 8 && !p.item.text.startsWith(QStringLiteral("Sayfa"))
            && p.item.text != QStringLiteral("Not")) {
            printed += p.item.text;
            ++pieces;
        }
    EXPECT_EQ(printed, note);
    EXPECT_GT(pieces, 1);
    // A blank product is left out; the totals are the panel's, below the picture.
    EXPECT_FALSE(Item(r, QStringLiteral("   ")));
    const print::TextItem* pictureFoot = Item(r, QStringLiteral("Paket Teslim"));
    const print::TextItem* montaj = LastItem(r, QStringLiteral("Montaj"));
    ASSERT_TRUE(pictureFoot && montaj);
    EXPECT_GT(montaj->y, pictureFoot->y);
    EXPECT_EQ(r.Texts().filter(QStringLiteral("=  ")),
              (QStringList{"=  2", "=  0", "=  0", "=  1"}));
}

TEST_F(ListPrintoutTest, PendingListOverSeveralPagesAsksAtEachBreak)
{
    OpenJobs(75);
    OpenOnDay(Today());
    Click(QStringLiteral("Command4"));
    const BreakCase cases[] = {
        {app::Answer::Yes, "pendinglist_pages_yes.txt", 2, true},
        {app::Answer::No, "pendinglist_pages_no.txt", 1, true},
        {app::Answer::Cancel, "pendinglist_pages_cancel.txt", 1, false},
    };
    for (const BreakCase& c : cases) {
        SCOPED_TRACE(c.golden);
        const RecordingSurface& r = PrintAnswering(c, QStringLiteral("Command5(0)"));
        EXPECT_EQ(r.Texts().contains(QStringLiteral("=  50")), c.closed);
        EXPECT_EQ(Item(r, QStringLiteral("Sayfa 1 ")) != nullptr, c.answer != app::Answer::Cancel);
    }
}

TEST_F(ListPrintoutTest, AnEmptyListPrintsNothingAndSaysSo)
{
    OpenOnDay(Today());
    Click(QStringLiteral("Command4"));
    ClickPrinting(QStringLiteral("Command5(0)"));
    Click(QStringLiteral("Command3"));
    ClickPrinting(QStringLiteral("RapCmd(1)"));
    EXPECT_TRUE(recordings.empty());
    ASSERT_EQ(prompt.shown.size(), 2u);
    EXPECT_TRUE(prompt.shown[0].text.contains(QStringLiteral("açık görev yok")));
    EXPECT_TRUE(prompt.shown[1].text.contains(QStringLiteral("satır yok")));

    // "Vazgeç": nothing printed, nothing said.
    prompt.shown.clear();
    ClickPrinting(QStringLiteral("RapCmd(1)"), [](print::PrinterDialog& d) {
        QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("YazCmd(0)")), Qt::LeftButton);
    });
    EXPECT_TRUE(recordings.empty());
    EXPECT_TRUE(prompt.shown.empty());
}

} // namespace
