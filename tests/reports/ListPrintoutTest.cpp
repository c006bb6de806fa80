#include "ReportFixture.h"

namespace {

using print::RecordingSurface;

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

    // Prints afresh with the page-break question answered by each answer in
    // turn: one question each time, and the reviewed recording of what it left.
    void PrintAnswering(const QString& button, const char* goldenStem)
    {
        const std::pair<app::Answer, const char*> answers[] = {
            {app::Answer::Yes, "yes"}, {app::Answer::No, "no"}, {app::Answer::Cancel, "cancel"}};
        for (const auto& [answer, name] : answers) {
            SCOPED_TRACE(name);
            recordings.clear();
            prompt.shown.clear();
            prompt.answers = {answer};
            ClickPrinting(button);
            ExpectGoldenFile(Recording(), "reports", (goldenStem + std::string(name) + ".txt").c_str());
            EXPECT_EQ(BreakQuestions(), 1);
        }
    }
};

// The reviewed recordings hold every text with its place and font: without
// print settings the printer's face at size 10 (rows at 12, the title at 14),
// the page number at the right edge beside the totals picture, the picture's
// first text at the table's left edge, 60 below the footer's top.
TEST_F(ListPrintoutTest, ReportOnOnePageEndsWithItsNumberBesideTheTotalsPicture)
{
    Crew(3);
    Report();
    ExpectGoldenFile(PrintReport(), "reports", "reportlist_single.txt");
    EXPECT_EQ(BreakQuestions(), 0);
}

TEST_F(ListPrintoutTest, ReportFontFromTheSettingsOrThePrintersFaceAtSize10)
{
    Crew(2);
    Report();
    const struct FontCase {
        const char *face, *size, *bold, *italic, *wantFace;
        double wantRowSize;
        bool wantBold, wantItalic;
    } cases[] = {
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

// After "Yes" every row is printed and the last page closed with its number
// and the picture; "No" prints on without asking again; "Cancel" stops there,
// the last page left without them. The last row never breaks a page.
TEST_F(ListPrintoutTest, ReportOverSeveralPagesAsksAtEachBreak)
{
    Crew(35); // 70 rows
    Report();
    PrintAnswering(QStringLiteral("RapCmd(1)"), "reportlist_pages_");
    EXPECT_FALSE(app::SuppressListSync);
}

// The note in pieces with every word kept where it stands; a blank product
// left out; the panel's totals below the report's picture.
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
    ClickPrinting(QStringLiteral("Command5(0)"));
    ExpectGoldenFile(Recording(), "reports", "pendinglist_single.txt");
}

TEST_F(ListPrintoutTest, PendingListOverSeveralPagesAsksAtEachBreak)
{
    OpenJobs(75);
    OpenOnDay(Today());
    Click(QStringLiteral("Command4"));
    PrintAnswering(QStringLiteral("Command5(0)"), "pendinglist_pages_");
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
