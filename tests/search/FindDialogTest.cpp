#include "../board/BoardFixture.h"

#include "search/FindDialog.h"
#include "store/Connection.h"
#include "ui/GridColumn.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

namespace {

const QString kNotFound = QStringLiteral(".. Bulunamadı.");

// The order search on the real board: opened from the popup menu, driven by
// its controls, checked against what the stores hold.
class FindDialogTest : public BoardTest {
protected:
    search::FindDialog& OpenFind()
    {
        if (!window)
            Open();
        window->Bul->trigger();
        QApplication::processEvents();
        dialog = window->findChild<search::FindDialog*>(QStringLiteral("frmFind"));
        EXPECT_NE(dialog, nullptr);
        return *dialog;
    }

    template <typename T> T* Control(const QString& name) const { return dialog->findChild<T*>(name); }
    template <typename T> T* Control(const char* name) const { return Control<T>(QString::fromUtf8(name)); }
    QComboBox* Box() const { return Control<QComboBox>("Combo1"); }
    QPushButton* Button(int i) const { return Control<QPushButton>(QStringLiteral("Command1(%1)").arg(i)); }
    QString Status() const { return Control<QLabel>("Label2")->text(); }
    bool BulShown() const { return !Button(0)->isHidden(); }

    // Types into the box (as the user does, the text replaced) and presses a button.
    void SearchFor(const QString& text, int button = 0)
    {
        Box()->setEditText(text);
        Press(button);
    }
    void Press(int button)
    {
        QTest::mouseClick(Button(button), Qt::LeftButton);
        QApplication::processEvents();
    }

    QString CurrentSipNo() const { return window->DataSiparis.Field(QStringLiteral("SipNo")).toString(); }

    // The rows of the order list, in its order, whose field meets a Like pattern.
    std::vector<int> ListRowsLike(const char* field, const QString& pattern) const
    {
        std::vector<int> rows;
        store::RecordView& v = window->DataSiparis;
        const int pos = v.FieldIndex(QString::fromUtf8(field));
        for (int r = 0; r < v.RecordCount(); ++r)
            if (store::JetLike(pattern, v.ValueAt(r, pos).toString()))
                rows.push_back(r);
        return rows;
    }

    double TwipsWide(const QString& text) const
    {
        return ui::PixelsToTwips(Control<QLabel>("Label2")->fontMetrics().horizontalAdvance(text));
    }

    QPointer<search::FindDialog> dialog;
};

TEST_F(FindDialogTest, OpensCentredOverTheBoardOverEveryOrderLine)
{
    auto& d = OpenFind();
    EXPECT_TRUE(window->Bul->isEnabled());
    EXPECT_EQ(d.windowTitle(), QStringLiteral(" Bul"));
    EXPECT_FALSE(d.isModal());
    EXPECT_EQ(d.parentWidget(), window.get());
    EXPECT_NEAR(d.frameGeometry().center().x(), window->frameGeometry().center().x(), 2);
    EXPECT_NEAR(d.frameGeometry().center().y(), window->frameGeometry().center().y(), 2);
    EXPECT_TRUE(Box()->isEnabled());
    EXPECT_TRUE(Box()->currentText().isEmpty());
    EXPECT_EQ(Box()->count(), 0);
    EXPECT_TRUE(d.FindCriteria.isEmpty());
    // The general search looks through every line of the store, not the list's.
    EXPECT_EQ(d.Data1.RecordCount(), int(OrdersNumber(QStringLiteral("Select Count(*) From Siparisler"))));
    EXPECT_LT(window->DataSiparis.RecordCount(), d.Data1.RecordCount());
    for (const char* name : {"Label1", "GenelChk", "Label3", "Frame1"})
        EXPECT_NE(d.findChild<QWidget*>(QString::fromUtf8(name)), nullptr) << name;
    EXPECT_EQ(Button(0)->text(), QStringLiteral("Bul"));
    EXPECT_EQ(Button(1)->text(), QStringLiteral("Tekrar Bul"));
    EXPECT_EQ(Button(2)->text(), QStringLiteral("Kapat"));

    // The menu again brings the same dialog to the front, list and all.
    Box()->addItem(QStringLiteral("kept"));
    window->Bul->trigger();
    EXPECT_EQ(window->findChildren<search::FindDialog*>().size(), 1);
    EXPECT_EQ(Box()->count(), 1);

    // Closed, it is discarded; the next opening starts afresh.
    Press(2);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dialog.isNull());
    OpenFind();
    EXPECT_EQ(Box()->count(), 0);
}

TEST_F(FindDialogTest, ANameLandsOnTheCustomersFirstLineAndStepsThroughTheirLines)
{
    auto& w = Open();
    // A customer with several lines in the list, found by the start of the
    // name typed in small letters.
    QHash<QString, int> lines;
    QString name;
    for (int r = 0; r < w.DataSiparis.RecordCount() && name.isEmpty(); ++r) {
        const QString n = w.DataSiparis.ValueAt(r, w.DataSiparis.FieldIndex(QStringLiteral("CariAdi"))).toString();
        if (++lines[n] == 3)
            name = n;
    }
    ASSERT_FALSE(name.isEmpty());
    QString typed = name;
    typed.replace(QChar(u'İ'), QLatin1Char('i')).replace(QLatin1Char('I'), QChar(u'ı'));
    typed = typed.toLower();
    const std::vector<int> expected = ListRowsLike("CariAdi", search::DisplayPattern(typed) + QLatin1Char('*'));
    ASSERT_GE(expected.size(), 3u);
    ASSERT_TRUE(ListRowsLike("SipNo", search::DisplayPattern(typed) + QLatin1Char('*')).empty());

    auto& d = OpenFind();
    SearchFor(typed);
    EXPECT_EQ(w.DataSiparis.AbsolutePosition(), expected[0]);
    EXPECT_EQ(w.StokDataGrid->currentIndex().row(), expected[0]);
    EXPECT_FALSE(BulShown());
    EXPECT_EQ(d.FindCriteria.field, QStringLiteral("CariAdi"));
    for (size_t i = 1; i < expected.size(); ++i) {
        Press(1);
        EXPECT_EQ(w.DataSiparis.AbsolutePosition(), expected[i]) << i;
    }
    EXPECT_EQ(prompt.beeps, 0);
    // Past the last of them: nothing more, and the list stays on it.
    Press(1);
    EXPECT_EQ(w.DataSiparis.AbsolutePosition(), expected.back());
    EXPECT_EQ(Status(), QStringLiteral("Başka ") + typed + kNotFound);
    EXPECT_EQ(prompt.beeps, 2);
    EXPECT_TRUE(BulShown());
}

TEST_F(FindDialogTest, NotFoundShowsThePatternAfterBulAndTheTypedTextAfterTekrarBul)
{
    auto& w = Open();
    w.DataSiparis.setAbsolutePosition(3);
    auto& d = OpenFind();
    // "Tekrar Bul" before any search finds nothing.
    Box()->setEditText(QStringLiteral("24"));
    Press(1);
    EXPECT_TRUE(d.FindCriteria.isEmpty());
    EXPECT_EQ(Status(), QStringLiteral("Başka 24") + kNotFound);
    EXPECT_EQ(prompt.beeps, 2);

    SearchFor(QStringLiteral("xqzİstanbul"));
    EXPECT_EQ(Status(), QStringLiteral("xqz?stanbul") + kNotFound);
    EXPECT_FALSE(Control<QLabel>("Label2")->isHidden());
    EXPECT_EQ(prompt.beeps, 3);
    EXPECT_TRUE(BulShown());

    Press(1);
    EXPECT_EQ(Status(), QStringLiteral("Başka xqzİstanbul") + kNotFound);
    EXPECT_EQ(prompt.beeps, 5);
    EXPECT_EQ(w.DataSiparis.AbsolutePosition(), 3);
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(FindDialogTest, ALongTextIsShortenedToTheStatusLine)
{
    OpenFind();
    const QString typed = QStringLiteral("Çok uzun bir arama metni ").repeated(8);
    const QString pattern = search::DisplayPattern(typed);
    SearchFor(typed);
    QString t = Status();
    ASSERT_TRUE(t.endsWith(kNotFound));
    EXPECT_LE(TwipsWide(t), 5880);
    t.chop(kNotFound.size());
    ASSERT_LT(t.size(), pattern.size());
    EXPECT_TRUE(pattern.startsWith(t));
    EXPECT_GT(TwipsWide(pattern.left(t.size() + 1) + kNotFound), 5880); // the longest that fits

    Press(1);
    t = Status();
    ASSERT_TRUE(t.startsWith(QStringLiteral("Başka ")));
    EXPECT_LE(TwipsWide(t), 5880);
    t = t.mid(6);
    t.chop(kNotFound.size());
    EXPECT_TRUE(typed.startsWith(t));
    EXPECT_GT(TwipsWide(QStringLiteral("Başka ") + typed.left(t.size() + 1) + kNotFound), 5880);
}

TEST_F(FindDialogTest, LeavingTheBoxKeepsEachTextOnce)
{
    OpenFind();
    auto* check = Control<QCheckBox>("GenelChk");
    const auto leaveWith = [&](const QString& text) {
        Box()->setFocus();
        Box()->setEditText(text);
        check->setFocus();
        QApplication::processEvents();
    };
    ASSERT_TRUE(dialog->isActiveWindow());
    leaveWith(QString());
    ASSERT_EQ(Box()->count(), 1);
    EXPECT_EQ(Box()->itemText(0), QString());
    leaveWith(QString());
    EXPECT_EQ(Box()->count(), 1);
    leaveWith(QStringLiteral("Ahmet"));
    leaveWith(QStringLiteral("ahmet")); // compared exactly
    leaveWith(QStringLiteral("Ahmet"));
    EXPECT_EQ(Box()->count(), 3);
    // Searching from the box adds the text too: the box loses the focus to the button.
    Box()->setFocus();
    SearchFor(QStringLiteral("240"));
    EXPECT_EQ(Box()->findText(QStringLiteral("240")), 3);
}

TEST_F(FindDialogTest, GeneralSearchShowsTheDetailsAndLeavesTheOrderListAlone)
{
    // A line the list does not offer (nothing left to install).
    AddLine({.sipNo = QStringLiteral("T91000"), .customer = QStringLiteral("Ekinoks İnşaat"), .quantity = 3,
             .open = 0, .product = QStringLiteral("Split Klima 18000"), .kind = QStringLiteral("Montaj")});
    Orders()->Execute(QStringLiteral(
        "UPDATE Siparisler SET Fiyat=1200, Tutar=3600, Aciklama='Salona takılacak' WHERE SipNo='T91000'"));
    auto& w = Open();
    w.DataSiparis.setAbsolutePosition(4);
    const QString before = CurrentSipNo();
    auto& d = OpenFind();
    auto* frame = Control<QFrame>("Frame1");
    auto* details = Control<QLabel>("Label3");
    Control<QCheckBox>("GenelChk")->setChecked(true);

    const QString expected = QStringLiteral("Görev = > Montaj\nEkinoks İnşaat\nSplit Klima 18000\n"
                                            "Adet=3 Fiyat=1200 Tutar=3600\nSalona takılacak");
    // Every button runs the general search while the box is ticked.
    for (int button : {0, 1, 1, 2}) {
        SCOPED_TRACE(button);
        SearchFor(QStringLiteral("ekinoks i"), button);
        EXPECT_TRUE(frame->isVisible());
        EXPECT_EQ(details->text(), expected);
        EXPECT_FALSE(BulShown());
        EXPECT_EQ(w.DataSiparis.AbsolutePosition(), 4);
        EXPECT_EQ(CurrentSipNo(), before);
        // Clicking the details puts them away.
        QTest::mouseClick(details, Qt::LeftButton);
        EXPECT_FALSE(frame->isVisible());
    }
    EXPECT_FALSE(dialog.isNull());
    EXPECT_TRUE(d.isVisible()); // "Kapat" searched instead of closing
    EXPECT_EQ(d.FindCriteria.text(), QStringLiteral("CariAdi Like 'ek?noks ?*'"));

    SearchFor(QStringLiteral("bulunmayan firma"), 0);
    EXPECT_EQ(Status(), QStringLiteral("bulunmayan f?rma") + kNotFound);
    EXPECT_FALSE(frame->isVisible());
}

TEST_F(FindDialogTest, TextsAreMatchedAsTypedWithTheirWildcardsAndEveryFormOfI)
{
    AddLine({.sipNo = QStringLiteral("T90001"), .customer = QStringLiteral("İSTANBUL Klima Ltd")});
    AddLine({.sipNo = QStringLiteral("T90002"), .customer = QStringLiteral("ıSTANBUL Yapı")});
    AddLine({.sipNo = QStringLiteral("T90003"), .customer = QStringLiteral("Istanbul Cam")});
    AddLine({.sipNo = QStringLiteral("T92001"), .customer = QStringLiteral("Ahmet'in Yeri")});
    AddLine({.sipNo = QStringLiteral("T92002"), .customer = QStringLiteral("[Yıldız] #1 Klima")});
    AddLine({.sipNo = QStringLiteral("T92003"), .product = QStringLiteral("Kombi #24")});
    const struct {
        const char* typed;
        const char* sipNo;
    } cases[] = {
        {"ahmet'in", "T92001"}, {"AHMET'İN YERİ", "T92001"}, {"ahm*yeri", "T92001"},  {"ahmet?in", "T92001"},
        {"[yıldız] #1", "T92002"}, {"[y", "T92002"},         {"kombi #2", "T92003"},
    };
    auto& w = Open();
    auto& d = OpenFind();
    for (const auto& c : cases) {
        SearchFor(QString::fromUtf8(c.typed));
        EXPECT_EQ(CurrentSipNo(), QString::fromUtf8(c.sipNo)) << c.typed;
        EXPECT_FALSE(BulShown()) << c.typed;
    }
    // Every form of I finds the others.
    QStringList found;
    SearchFor(QStringLiteral("istanbul"));
    for (int guard = 0; guard < 10 && !Status().contains(QStringLiteral("Başka")); ++guard) {
        found << CurrentSipNo();
        Press(1);
    }
    found.sort();
    EXPECT_EQ(found, (QStringList{QStringLiteral("T90001"), QStringLiteral("T90002"), QStringLiteral("T90003")}));
    EXPECT_EQ(d.FindCriteria.text(), QStringLiteral("CariAdi Like '?stanbul*'"));
    // Taken literally, "#" is no digit and "[" opens no list: as patterns
    // these would match every order number.
    w.DataSiparis.setAbsolutePosition(5);
    for (const char* typed : {"#4", "[!a]", "[0-9]"}) {
        SearchFor(QString::fromUtf8(typed));
        EXPECT_TRUE(BulShown()) << typed;
        EXPECT_EQ(Status(), QString::fromUtf8(typed) + kNotFound);
        EXPECT_EQ(w.DataSiparis.AbsolutePosition(), 5);
    }
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(FindDialogTest, KeysEnterF3AndEscape)
{
    AddLine({.sipNo = QStringLiteral("T93001"), .customer = QStringLiteral("Kuzey Soğutma")});
    AddLine({.sipNo = QStringLiteral("T93002"), .customer = QStringLiteral("Kuzey Soğutma")});
    auto& w = Open();
    auto& d = OpenFind();
    // F3 before a successful search does nothing.
    QTest::keyClick(Box(), Qt::Key_F3);
    EXPECT_TRUE(Status().isEmpty());

    Box()->setFocus();
    QTest::keyClicks(Box(), QStringLiteral("kuzey"));
    EXPECT_EQ(Box()->currentText(), QStringLiteral("kuzey"));
    QTest::keyClick(Box(), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(CurrentSipNo(), QStringLiteral("T93002")); // the list runs by number, downwards
    EXPECT_FALSE(BulShown());

    // F3 steps on, in the dialog and in the order list the search moved.
    QTest::keyClick(&d, Qt::Key_F3);
    EXPECT_EQ(CurrentSipNo(), QStringLiteral("T93001"));
    QTest::keyClick(w.StokDataGrid, Qt::Key_F3);
    EXPECT_EQ(CurrentSipNo(), QStringLiteral("T93001"));
    EXPECT_EQ(Status(), QStringLiteral("Başka kuzey") + kNotFound);
    // Nothing more to step on to: F3 rests until the next search.
    QTest::keyClick(&d, Qt::Key_F3);
    EXPECT_EQ(prompt.beeps, 2);

    QTest::keyClick(Box(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(dialog.isNull());
}

TEST_F(FindDialogTest, TheStatusLineBlinksUntilTheBoxIsEnteredOrChanged)
{
    OpenFind();
    auto* check = Control<QCheckBox>("GenelChk");
    auto* timer = Control<QTimer>("Timer1");
    auto* status = Control<QLabel>("Label2");
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 500);
    EXPECT_TRUE(timer->isActive());
    timer->stop(); // driven by hand from here
    SearchFor(QStringLiteral("yok böyle bir şey"));
    ASSERT_FALSE(status->isHidden());
    const QRect place = status->geometry();
    for (bool hidden : {true, false, true}) {
        QMetaObject::invokeMethod(timer, "timeout");
        EXPECT_EQ(status->isHidden(), hidden);
        EXPECT_EQ(status->geometry(), place); // the controls around it hold still
    }
    ASSERT_FALSE(Status().isEmpty());
    Box()->setEditText(QStringLiteral("yok böyle"));
    EXPECT_TRUE(Status().isEmpty());

    SearchFor(QStringLiteral("yok böyle bir şey"));
    check->setChecked(true); // ticking empties the status line too
    EXPECT_TRUE(Status().isEmpty());
    check->setChecked(false);

    SearchFor(QStringLiteral("24"));
    ASSERT_FALSE(BulShown());
    Box()->setEditText(QStringLiteral("240"));
    EXPECT_TRUE(BulShown());

    SearchFor(QStringLiteral("240"));
    ASSERT_FALSE(BulShown());
    dialog->activateWindow();
    QApplication::processEvents();
    check->setFocus();
    Box()->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(BulShown());
}

} // namespace
