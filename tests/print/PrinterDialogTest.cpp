#include "PrintFixture.h"

#include "app/Settings.h"

#include <QEnterEvent>
#include <QLineEdit>

namespace {

using print::PrinterDialog;

QString LastPrinter()
{
    return app::GetRegString(app::RootKey::CurrentUser, app::kSettingsKey, QStringLiteral("RapPrn"));
}

void SetLastPrinter(const QString& name)
{
    app::SaveRegString(app::RootKey::CurrentUser, app::kSettingsKey, QStringLiteral("RapPrn"), name);
}

class PrinterDialogTest : public ::testing::Test {
protected:
    void SetUp() override { app::Sound::RecordForTesting(&played); }
    void TearDown() override
    {
        app::Sound::RecordForTesting(nullptr);
        app::SuppressListSync = false;
    }

    // Shows the dialog with the protocol of every printout and answers it;
    // returns whether the printout may go on.
    bool Show(std::function<void(PrinterDialog&)> action)
    {
        return WithPrinterDialog(std::move(action), [] { return print::ShowPrinterDialog(nullptr); });
    }

    static void Press(PrinterDialog& d, int index)
    {
        QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("YazCmd(%1)").arg(index)), Qt::LeftButton);
    }

    testsupport::ScopedSettingsFile settings;
    app::ScriptedPrompt prompt;
    QStringList played;
};

const QString kOffice = QStringLiteral("Ofis Lazer");
const QString kStore = QStringLiteral("Depo Etiket");

TEST_F(PrinterDialogTest, FirstRunShowsTheDefaultPrinterAndTamamGoesOn)
{
    FixedPrinters list({kStore, kOffice, print::kPdfPrinter, print::kPreviewPrinter}, kOffice);
    app::SuppressListSync = true; // the protocol clears it first
    bool asked = false;
    const bool go = Show([&](PrinterDialog& d) {
        asked = true;
        EXPECT_EQ(d.Combo1->currentText(), kOffice);
        QStringList entries;
        for (int i = 0; i < d.Combo1->count(); ++i)
            entries << d.Combo1->itemText(i);
        EXPECT_EQ(entries, (QStringList{kStore, kOffice, print::kPdfPrinter, print::kPreviewPrinter}));
        EXPECT_EQ(d.focusWidget(), d.findChild<QPushButton*>(QStringLiteral("YazCmd(1)")));
        EXPECT_EQ(d.windowTitle(), QStringLiteral(" Yazıcı Seçimi"));
        EXPECT_EQ(d.objectName(), QStringLiteral("YazSec"));
        PressTamam(d);
    });
    EXPECT_TRUE(asked && go);
    EXPECT_TRUE(app::SuppressListSync);
    EXPECT_EQ(print::CurrentPrinter().name, kOffice);
    EXPECT_EQ(LastPrinter(), kOffice);
}

TEST_F(PrinterDialogTest, LastPrinterIsPreselectedOnlyWhenItMatchesExactly)
{
    FixedPrinters list({kStore, kOffice, print::kPdfPrinter}, kOffice);
    struct Case {
        QString stored, shown;
    } cases[] = {
        {kStore, kStore},                           // found: selected
        {QStringLiteral("depo etiket"), kOffice},   // other case: not the same name
        {QStringLiteral("Depo"), kOffice},          // a part is not the name
        {QStringLiteral("Eski Yazıcı"), kOffice},   // no longer installed
        {QString(), kOffice},                       // empty: the current printer
    };
    for (const Case& c : cases) {
        SetLastPrinter(c.stored);
        QString shown;
        EXPECT_FALSE(Show([&](PrinterDialog& d) {
            shown = d.Combo1->currentText();
            QTest::keyClick(&d, Qt::Key_Escape);
        }));
        EXPECT_EQ(shown, c.shown) << c.stored.toStdString();
        EXPECT_EQ(print::CurrentPrinter().name, kOffice); // Esc changes no printer
    }
}

TEST_F(PrinterDialogTest, EveryWayOutStoresTheBoxAndOnlyTamamGoesOn)
{
    struct Case {
        const char* what;
        std::function<void(PrinterDialog&)> close;
        bool goesOn;
        bool printerChanges;
    };
    const Case cases[] = {
        {"Tamam", [](PrinterDialog& d) { Press(d, 1); }, true, true},
        {"Vazgeç", [](PrinterDialog& d) { Press(d, 0); }, false, true},
        {"Esc", [](PrinterDialog& d) { QTest::keyClick(d.Combo1, Qt::Key_Escape); }, false, false},
        {"close box", [](PrinterDialog& d) { d.close(); }, false, false},
    };
    for (const Case& c : cases) {
        FixedPrinters list({kOffice, kStore, print::kPdfPrinter}, kOffice);
        SetLastPrinter({});
        const bool go = Show([&](PrinterDialog& d) {
            d.Combo1->setCurrentIndex(1); // another printer chosen in the box
            c.close(d);
        });
        EXPECT_EQ(go, c.goesOn) << c.what;
        EXPECT_EQ(app::SuppressListSync, c.goesOn) << c.what;
        EXPECT_EQ(print::CurrentPrinter().name, c.printerChanges ? kStore : kOffice) << c.what;
        EXPECT_EQ(LastPrinter(), kStore) << c.what;
        app::SuppressListSync = false;
    }
}

TEST_F(PrinterDialogTest, TypedUnknownNameKeepsThePrinterButIsStoredAndOfTwoOfOneNameTheFirstIsChosen)
{
    FixedPrinters list({kStore, kOffice, print::kPdfPrinter, kOffice}, kStore);
    print::CurrentPrinter().font.size = 20; // a font set by an earlier printout
    EXPECT_TRUE(Show([](PrinterDialog& d) {
        d.Combo1->lineEdit()->selectAll();
        QTest::keyClicks(d.Combo1->lineEdit(), QStringLiteral("Kat 2 Yazici"));
        PressTamam(d);
    }));
    EXPECT_EQ(print::CurrentPrinter().name, kStore);
    EXPECT_EQ(print::CurrentPrinter().font.size, 20); // the same printer, its font kept
    EXPECT_EQ(LastPrinter(), QStringLiteral("Kat 2 Yazici"));

    EXPECT_TRUE(Show([](PrinterDialog& d) {
        d.Combo1->setCurrentIndex(3);
        PressTamam(d);
    }));
    EXPECT_EQ(print::CurrentPrinter().name, kOffice);
    EXPECT_EQ(print::CurrentPrinter().position, 1);
    EXPECT_EQ(print::CurrentPrinter().font, print::FontState{}); // a newly chosen printer, its own font
}

TEST_F(PrinterDialogTest, NoPrinterSaysSoStoresEmptyAndPrintsNothing)
{
    FixedPrinters list({}, {});
    SetLastPrinter(kOffice);
    app::SuppressListSync = true;
    bool shown = false;
    EXPECT_FALSE(Show([&](PrinterDialog&) { shown = true; }));
    EXPECT_FALSE(shown);
    EXPECT_FALSE(app::SuppressListSync);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, QStringLiteral("Sistemde Yazıcı Bulunamadı."));
    EXPECT_TRUE(settings.read().contains("\"RapPrn\"=\"\""));
}

TEST_F(PrinterDialogTest, HoverMakesTheButtonBoldWithItsSoundAndTheBackgroundTakesItBack)
{
    FixedPrinters list({kOffice}, kOffice);
    PrinterDialog d;
    ASSERT_TRUE(d.Load());
    d.show();
    auto* cancel = d.findChild<QPushButton*>(QStringLiteral("YazCmd(0)"));
    auto* ok = d.findChild<QPushButton*>(QStringLiteral("YazCmd(1)"));

    const auto enter = [](QWidget* w) {
        QEnterEvent e(QPointF(3, 3), QPointF(3, 3), QPointF(3, 3));
        QApplication::sendEvent(w, &e);
    };
    enter(cancel);
    EXPECT_TRUE(cancel->font().bold());
    EXPECT_FALSE(ok->font().bold());
    enter(cancel); // already bold: no second sound
    EXPECT_EQ(played.count(QStringLiteral("\\Cmd.wav")), 1);
    enter(ok);
    EXPECT_FALSE(cancel->font().bold());
    EXPECT_TRUE(ok->font().bold());
    EXPECT_EQ(played.count(QStringLiteral("\\Cmd.wav")), 2);

    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), d.mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&d, &move);
    EXPECT_FALSE(cancel->font().bold());
    EXPECT_FALSE(ok->font().bold());
    EXPECT_EQ(d.focusWidget(), d.findChild<QLineEdit*>(QStringLiteral("Text1")));
    d.reject();
}

} // namespace
