#include "SheetData.h"

#include "print/PageLayout.h"

#include <QGroupBox>
#include <QRegularExpression>

namespace {

using print::RecordingSurface;

int Count(const RecordingSurface& r, const QString& text)
{
    return int(r.Texts().count(text));
}

QString BalanceOf(double amount)
{
    return QStringLiteral("  ") + print::MoneyText(amount) + QStringLiteral(" TL.");
}

// The first item printed with this text; a failure (and an empty item) when none is.
const print::TextItem& Printed(const RecordingSurface& r, const QString& text)
{
    static const print::TextItem none{};
    const print::TextItem* t = Item(r, text);
    if (!t)
        ADD_FAILURE() << "not printed: " << text.toStdString();
    return t ? *t : none;
}

// The text printed right after the first `text`: a product's quantity.
QString After(const QStringList& texts, const char* text)
{
    return texts.value(texts.indexOf(QString::fromUtf8(text)) + 1);
}

TEST_F(SheetTest, OneStaffMembersSheetLaidOutWhole)
{
    const RecordingSurface& r = PrintOne("Ali Demir");
    ExpectGolden(r, "jobsheet_single.txt");

    // Only the staff member's open jobs of the day, deliveries left out.
    QStringList orders;
    for (const auto& p : r.Items())
        if (p.item.x < 100 && QRegularExpression(QStringLiteral("^[2X]\\d+$")).match(p.item.text).hasMatch())
            orders << p.item.text;
    EXPECT_EQ(orders, (QStringList{"X1001", "240101", "240102", "240103", "240104"}));
    EXPECT_EQ(Count(r, QStringLiteral("Montör Adı : Ali Demir")), 1);

    // One block for the customer with two jobs; its balance after the second:
    // card 1,500 + 20,000 + (15,600 - 5,200 x 2 delivered of a partly open line).
    EXPECT_EQ(Count(r, QStringLiteral("Ahmet'in Yeri")), 1);
    const QStringList texts = r.Texts();
    const qsizetype balance = texts.indexOf(BalanceOf(26700));
    ASSERT_GT(balance, 0);
    EXPECT_GT(balance, texts.indexOf(QStringLiteral("240102")));
    EXPECT_LT(balance, texts.indexOf(QStringLiteral("Çağla Özdemir")));
    // A credit of 5,000 against 3,000 installed, and a balance of 0: no line.
    // The service customer's 250 follows the last job of the sheet.
    EXPECT_EQ(Count(r, QStringLiteral("Bakiye =")), 2);
    EXPECT_GT(texts.indexOf(BalanceOf(250)), texts.indexOf(QStringLiteral("240104")));

    // The kinds as paper shows them, and the quantity rule of each.
    EXPECT_EQ(Count(r, QStringLiteral("Görev : Keşif")), 1);
    EXPECT_EQ(Count(r, QStringLiteral("Görev : Kesif")), 0);
    EXPECT_EQ(After(texts, "Klima 12000 BTU Inverter"), QStringLiteral("2 Adet"));
    EXPECT_EQ(After(texts, "PVC Pencere 120x150"), QStringLiteral("1 Adet"));
    EXPECT_EQ(After(texts, "SERVİS"), QStringLiteral("2 Adet")); // delivered, not open
    EXPECT_NE(After(texts, "KEŞİF"), QStringLiteral("1 Adet"));

    // Title, footer and date where they belong.
    const double page = geometry.width;

    for (const QString& centred : {QStringLiteral("* * * * * Sorvik * * * * *"), QStringLiteral("Sayfa 1")}) {
        const print::TextItem& t = Printed(r, centred);
        EXPECT_NEAR(t.x + t.width / 2, page / 2, 1) << centred.toStdString();
    }
    const print::TextItem& date = Printed(r, QStringLiteral("Tarih : 07 Aralık 2026 Pazartesi"));
    EXPECT_NEAR(date.x + date.width, page - 60, 1); // the table's right edge, x0 + T
    EXPECT_EQ(date.font.size, 10);

    // Each heading centred in its own column, bold.
    const print::TextItem& orderNo = Printed(r, QStringLiteral("Sipariş No"));
    EXPECT_TRUE(orderNo.font.bold);
    const print::TextItem& job = Printed(r, QStringLiteral("Görev"));
    const print::TextItem& kind = Printed(r, QStringLiteral("Görev : Keşif"));
    const double col2 = kind.x - 30, col3 = col2 + 3600;
    EXPECT_NEAR(job.x + job.width / 2, col3 + 4300 / 2, 1);
    EXPECT_NEAR(orderNo.x + orderNo.width / 2, (60 + col2) / 2, 1);

    // Long names and the first address line are cut, the second is not.
    for (const auto& [whole, least] :
         {std::pair{QStringLiteral("Özgür İnşaat Mühendislik Taahhüt Sanayi ve Ticaret Ltd. Şti."), 3400},
          std::pair{QStringLiteral("Mustafa Kemal Sahil Bulvarı No: 1234 Daire: 56 Kat: 7 Yalı Mahallesi"), 0}}) {
        bool seen = false;
        for (const auto& p : r.Items())
            if (p.item.text.size() > 10 && whole.startsWith(p.item.text)) {
                seen = true;
                EXPECT_LT(p.item.text.size(), whole.size());
                EXPECT_LE(p.item.width, 3600);
                EXPECT_GT(p.item.width, least); // the name cut one character at a time, not more
            }
        EXPECT_TRUE(seen) << whole.toStdString();
    }
    EXPECT_GT(Printed(r, QStringLiteral("Ege Serbest Bölgesi Yönetim Binası Arkası, Gaziemir / İzmir "
                                        "(kulübeden geçiş kartı alınacak)")).width, 3600);

    // The long note whole, in pieces, repeated words kept.
    const double col4 = kind.x - 30 + 3600 + 4300;
    QString printed;
    int pieces = 0;
    double lastY = -1, noteBottom = 0;
    const qsizetype to = texts.indexOf(QStringLiteral("X1001"));
    qsizetype from = to;
    while (from > 0 && !texts.at(from).startsWith(QStringLiteral("Özgür İnşaat")))
        --from;
    for (const auto& p : r.Items()) {
        const qsizetype at = &p - r.Items().data();
        if (at > from && at < to && std::abs(p.item.x - (col4 + 30)) < 1 && p.item.y > 0 && p.item.font.size == 8 && !p.item.font.bold) {
            printed += p.item.text;
            ++pieces;
            EXPECT_GT(p.item.y, lastY);
            lastY = p.item.y;
            EXPECT_LT(p.item.width, geometry.width - 60 - col4); // inside its column
            noteBottom = p.item.y + 150;
        }
    }
    EXPECT_EQ(printed, QString::fromUtf8(kLongNote));
    EXPECT_GT(pieces, 3);
    // Nothing of the job lines below is printed over the note.
    EXPECT_GT(Printed(r, QStringLiteral("X1001")).y, noteBottom);
}

TEST_F(SheetTest, EverySheetOfTheDayOneStaffMemberPerPageEachJobWithItsCustomer)
{
    const RecordingSurface& r = PrintAll();
    ExpectGolden(r, "jobsheet_all.txt");

    EXPECT_EQ(r.PagesStarted(), 3);
    for (const char* staff : {"Ali Demir", "Mehmet Yıldız", "Hüseyin Çelik"}) {
        const QString header = QStringLiteral("Montör Adı : ") + QString::fromUtf8(staff);
        EXPECT_EQ(Count(r, header), 1) << staff;
    }
    int page = 0;
    for (const auto& p : r.Items()) {
        if (p.item.text.startsWith(QStringLiteral("Montör Adı : "))) {
            EXPECT_EQ(p.page, ++page) << p.item.text.toStdString();
        }
    }
    // A question before each new staff member, answered Yes by default.
    EXPECT_EQ(BreakQuestions(), 2);
    // The first customer again on the second sheet, with its own block and
    // its balance from the card.
    EXPECT_EQ(Count(r, QStringLiteral("Ahmet'in Yeri")), 2);
    EXPECT_EQ(Count(r, BalanceOf(1500 + 16400)), 1);
    // The Kardeşler Market sheet: six jobs, one block, one balance.
    EXPECT_EQ(Count(r, QStringLiteral("Kardeşler Market")), 1);
    EXPECT_EQ(Count(r, BalanceOf(1000 + 6 * 1000)), 1);

    // Jobs without an order line or a card show their own customer and no balance.
    const QStringList texts = r.Texts();
    for (const auto& [name, product] : {std::pair{"Kayıp Sipariş Müşterisi", "Kayıp Ürün"},
                                        std::pair{"Kartsız Müşteri", "Kartsız Ürün"}}) {
        const qsizetype at = texts.indexOf(QString::fromUtf8(name));
        ASSERT_GE(at, 0) << name;
        EXPECT_TRUE(texts.mid(at, 12).contains(QString::fromUtf8(product))) << name;
    }
    // The customer printed before them (counted above) is not printed again
    // for them, and neither gets a balance line: only Ahmet'in Yeri's.
    const qsizetype mehmet = texts.indexOf(QStringLiteral("Montör Adı : Mehmet Yıldız"));
    const qsizetype huseyin = texts.indexOf(QStringLiteral("Montör Adı : Hüseyin Çelik"));
    EXPECT_EQ(texts.mid(mehmet, huseyin - mehmet).count(QStringLiteral("Bakiye =")), 1);
    // Without its order line the job's own quantity.
    EXPECT_EQ(After(texts, "Kayıp Ürün"), QStringLiteral("3 Adet"));
}

// Short pages, so the six installations of Kardeşler Market break.
struct BreakCase {
    app::Answer answer;
    const char* name;
    const char* golden;
};

class SheetBreakTest : public SheetTest, public ::testing::WithParamInterface<BreakCase> {
protected:
    SheetBreakTest() { geometry.height = 7000; }
};

TEST_P(SheetBreakTest, BreakInsideACustomersJobs)
{
    const app::Answer answer = GetParam().answer;
    prompt.answers = {answer};
    const RecordingSurface& r = PrintOne("Hüseyin Çelik");
    ExpectGolden(r, GetParam().golden);

    const QStringList texts = r.Texts();
    const QString balance = BalanceOf(1000 + 6 * 1000);
    switch (answer) {
    case app::Answer::Yes:
        // The block again on the next page; the balance, right, once, after the last job.
        EXPECT_EQ(r.PagesStarted(), 2);
        EXPECT_GE(BreakQuestions(), 1);
        EXPECT_EQ(Count(r, QStringLiteral("Kardeşler Market")), 2);
        EXPECT_EQ(Count(r, QStringLiteral("Bakiye =")), 1);
        EXPECT_EQ(texts.indexOf(QStringLiteral("Bakiye =")), texts.indexOf(QStringLiteral("240206")) + 4);
        EXPECT_EQ(texts.indexOf(balance), texts.indexOf(QStringLiteral("240206")) + 5);
        EXPECT_EQ(Count(r, QStringLiteral("Sayfa 1")), 1);
        EXPECT_EQ(Count(r, QStringLiteral("Sayfa 2")), 1);
        break;
    case app::Answer::No: {
        // The sheet ends there, closed as after a last job, with the balance
        // of what it printed.
        EXPECT_EQ(r.PagesStarted(), 1);
        EXPECT_EQ(BreakQuestions(), 1);
        const int jobs = int(texts.filter(QRegularExpression(QStringLiteral("^2402"))).size());
        EXPECT_LT(jobs, 6);
        EXPECT_EQ(Count(r, BalanceOf(1000 + jobs * 1000)), 1);
        EXPECT_EQ(texts.last(), QStringLiteral("Sayfa 1"));
        break;
    }
    default:
        // Stopped at once: the page as it stands, no closing lines, no footer.
        EXPECT_EQ(r.PagesStarted(), 1);
        EXPECT_EQ(BreakQuestions(), 1);
        EXPECT_EQ(Count(r, QStringLiteral("Sayfa 1")), 0);
        EXPECT_EQ(Count(r, QStringLiteral("Bakiye =")), 0);
        EXPECT_TRUE(r.Ended());
        break;
    }
    const QString yellow = QStringLiteral("rgb(255, 255, 0)");
    EXPECT_TRUE(Find<QPushButton>(QStringLiteral("Command1(2)"))->styleSheet().contains(yellow));
}

INSTANTIATE_TEST_SUITE_P(Answers, SheetBreakTest,
                         ::testing::Values(BreakCase{app::Answer::Yes, "Yes", "jobsheet_break_yes.txt"},
                                           BreakCase{app::Answer::No, "No", "jobsheet_break_no.txt"},
                                           BreakCase{app::Answer::Cancel, "Cancel", "jobsheet_break_cancel.txt"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SheetTest, CustomerWhoseLastJobEndsAPageKeepsItsBalanceThere)
{
    // Pages so short that every job ends one.
    geometry.height = 3000;
    const RecordingSurface& r = PrintAll();
    // Every customer's balance, and only once, on the page of its last job.
    for (double amount : {26700.0, 250.0, 1500.0 + 16400, 7000.0}) {
        EXPECT_EQ(Count(r, BalanceOf(amount)), 1) << amount;
    }
    // A height break right before a change of staff member asks once and
    // leaves no page without a job: one page and one question per job.
    int jobs = 0;
    std::vector<int> pagesWithJobs;
    for (const auto& p : r.Items())
        if (p.item.text.startsWith(QStringLiteral("Görev : "))) {
            ++jobs;
            pagesWithJobs.push_back(p.page);
        }
    EXPECT_EQ(jobs, 14);
    EXPECT_EQ(r.PagesStarted(), jobs);
    EXPECT_EQ(BreakQuestions(), jobs - 1);
    for (int i = 0; i < jobs; ++i)
        EXPECT_EQ(pagesWithJobs[size_t(i)], i + 1);
}

TEST_F(SheetTest, NothingWithoutACurrentJobOrWhileAPanelIsOpen)
{
    auto& w = Open();
    // Tek Yazdır without a current job: it says why and prints nothing.
    w.DataGörev.MoveLast();
    w.DataGörev.MoveNext();
    ASSERT_TRUE(w.DataGörev.EOF());
    Find<QPushButton>(QStringLiteral("Command1(2)"))->setEnabled(true);
    QTest::mouseClick(Find<QPushButton>(QStringLiteral("Command1(2)")), Qt::LeftButton);
    EXPECT_TRUE(recordings.empty());
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_TRUE(prompt.shown[0].text.contains(QStringLiteral("görev")));

    // With a report panel open the buttons do nothing at all, not even the dialog.
    w.DataGörev.MoveFirst();
    for (const char* frame : {"MrFrame", "Frame1"}) {
        Find<QGroupBox>(QString::fromUtf8(frame))->show();
        for (int index : {1, 2}) {
            auto* button = Find<QPushButton>(QStringLiteral("Command1(%1)").arg(index));
            const QString look = button->styleSheet();
            QTest::mouseClick(button, Qt::LeftButton);
            EXPECT_TRUE(recordings.empty()) << frame;
            EXPECT_EQ(button->styleSheet(), look) << frame;
        }
        Find<QPushButton>(QStringLiteral("Command1(0)"))->click();
        EXPECT_TRUE(w.isVisible()) << frame;
        Find<QGroupBox>(QString::fromUtf8(frame))->hide();
    }
    EXPECT_EQ(prompt.shown.size(), 1u);
}

TEST_F(SheetTest, ButtonsTurnGreenWhilePrintingAndYellowAfterwards)
{
    OpenOn("Ali Demir");
    const QString green = QStringLiteral("rgb(0, 255, 0)"), yellow = QStringLiteral("rgb(255, 255, 0)");
    auto* all = Find<QPushButton>(QStringLiteral("Command1(1)"));
    auto* one = Find<QPushButton>(QStringLiteral("Command1(2)"));
    for (int index : {1, 2}) {
        bool greenWhileAsked = false;
        // Cancelled in the dialog: nothing printed, yet the colours come back.
        ClickPrint(index, [&](print::PrinterDialog& d) {
            greenWhileAsked = (index == 1 ? all : one)->styleSheet().contains(green);
            QTest::keyClick(&d, Qt::Key_Escape);
        });
        EXPECT_TRUE(greenWhileAsked) << index;
        EXPECT_TRUE(all->styleSheet().contains(yellow)) << index;
        EXPECT_TRUE(one->styleSheet().contains(yellow)) << index;
        EXPECT_FALSE(app::SuppressListSync);
    }
    EXPECT_TRUE(recordings.empty());
    // A printout leaves the dialog's OK in the shared flag.
    ClickPrint(2);
    EXPECT_TRUE(app::SuppressListSync);
    app::SuppressListSync = false;
}

TEST_F(SheetTest, DayWithoutOpenJobsPrintsNothingAndSaysSo)
{
    Jobs()->Execute(QStringLiteral("UPDATE Montaj SET Tamam=True"));
    OpenOn("Ali Demir");
    ClickPrint(1);
    ASSERT_EQ(recordings.size(), 1u);
    EXPECT_EQ(recordings[0]->PagesStarted(), 0);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, QStringLiteral("Bu gün için yazdırılacak açık görev yok."));
    // The views as the printout leaves them.
    EXPECT_FALSE(window->DataTmp.IsOpen());
    EXPECT_TRUE(window->DataGörevTmp.RecordSource().contains(QStringLiteral("Order By Eleman, Görev, Unvan Asc")));
}

TEST_F(SheetTest, TheCurrentPrintersFontStaysWithItUntilTheDialogReplacesIt)
{
    OpenOn("Ali Demir");
    print::CurrentPrinter().font.name = QStringLiteral("Times New Roman");
    const auto titleFont = [this](size_t n) {
        const print::TextItem* title = Item(*recordings.at(n), QStringLiteral("* * * * * Sorvik * * * * *"));
        return title ? title->font.name : QString();
    };
    // A typed name no printer has keeps the current printer, and its font.
    ClickPrint(2, [](print::PrinterDialog& d) {
        d.Combo1->setEditText(QStringLiteral("Yok Böyle Yazıcı"));
        PressTamam(d);
    });
    ASSERT_EQ(recordings.size(), 1u);
    EXPECT_EQ(titleFont(0), QStringLiteral("Times New Roman"));
    EXPECT_EQ(print::CurrentPrinter().font.size, 8); // as the sheet left it
    // A printer chosen from the list comes with its own font.
    ClickPrint(2);
    ASSERT_EQ(recordings.size(), 2u);
    EXPECT_EQ(titleFont(1), QStringLiteral("Arial"));
    EXPECT_EQ(printers, (QStringList{QStringLiteral("Ofis Lazer"), QStringLiteral("Ofis Lazer")}));
}

} // namespace
