#include "../board/BoardFixture.h"

#include "app/Refresh.h"
#include "app/SharedState.h"
#include "survey/EntryDialog.h"
#include "ui/DataList.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRadioButton>

namespace {

struct Customer {
    QString name, address, city, work, home, mobile, note;
};

// The demo data's counters: "RecSay" holds 1305, the year 2026 has given
// numbers up to "2619".
constexpr double kDemoRecSay = 1305;
const QString kAyse = QStringLiteral("Ayşe Kaya"), kAyseCode = QStringLiteral("120.01.0013");

// The survey and service entry on the real board: opened by Command3 in its
// green mode, driven by its controls, checked against what the stores hold.
class EntryDialogTest : public BoardTest {
protected:
    void SetUp() override
    {
        BoardTest::SetUp();
        app::LastCustomerCode.clear();
    }

    survey::EntryDialog& OpenEntry()
    {
        if (!window)
            Open();
        if (window->CurrentKind != QStringLiteral("Kesif"))
            window->ChooseKind(2);
        QTest::mouseClick(window->Command3, Qt::LeftButton);
        QApplication::processEvents();
        dialog = window->findChild<survey::EntryDialog*>(QStringLiteral("KayıtFrm"));
        EXPECT_NE(dialog, nullptr);
        return *dialog;
    }

    template <typename T> T* Control(const QString& name) const { return dialog->findChild<T*>(name); }
    QLineEdit* Box(int i) const { return Control<QLineEdit>(QStringLiteral("CariTxt(%1)").arg(i)); }
    QPlainTextEdit* Note() const { return Control<QPlainTextEdit>(QStringLiteral("CariTxt(6)")); }
    QPushButton* Cmd(int i) const { return Control<QPushButton>(QStringLiteral("KesifCmd(%1)").arg(i)); }
    QRadioButton* Option(int i) const { return Control<QRadioButton>(QStringLiteral("Option1(%1)").arg(i)); }
    QString Heading() const { return Control<QLabel>(QStringLiteral("Label1"))->text(); }
    QLineEdit* Number() const { return Control<QLineEdit>(QStringLiteral("Text1")); }
    QLineEdit* Fee() const { return Control<QLineEdit>(QStringLiteral("CariText")); }
    ui::DataList* List() const { return Control<ui::DataList>(QStringLiteral("dbListe1")); }
    QWidget* Focused() const { return QApplication::focusWidget(); }

    // Types one key at a time; Turkish letters as keys that carry their text.
    static void Keys(QWidget* w, const QString& text)
    {
        for (const QChar c : text) {
            if (c.unicode() < 128)
                QTest::keyClick(w, char(c.unicode()));
            else
                QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
    // Goes into a control as the user does and types, over its whole text when `over`.
    void Type(QWidget* w, const QString& text, bool over = false)
    {
        w->setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
        if (over)
            static_cast<QLineEdit*>(w)->selectAll();
        Keys(w, text);
        QApplication::processEvents();
    }
    void Enter(QWidget* w)
    {
        QTest::keyClick(w, Qt::Key_Return);
        QApplication::processEvents();
    }
    void Press(int i)
    {
        QTest::mouseClick(Cmd(i), Qt::LeftButton);
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Types a customer into the boxes, each box entered from the one before.
    void TypeCustomer(const Customer& c)
    {
        Type(Box(0), c.name);
        const QString texts[] = {c.address, c.city, c.work, c.home, c.mobile};
        for (int i = 0; i < 5; ++i)
            if (!texts[i].isEmpty())
                Type(Box(i + 1), texts[i]);
        if (!c.note.isEmpty())
            Type(Note(), c.note);
    }
    void SetFee(const QString& fee) { Type(Fee(), fee, true); }
    // A record number typed over the proposed one and taken with Enter.
    void EnterNumber(const QString& number)
    {
        Type(Number(), number, true);
        Enter(Number());
    }
    // Types the customer and the fee (when given) into the open entry, or a
    // new one, and presses Tamam: true when the entry closed.
    bool Save(const Customer& c, const QString& fee = QString())
    {
        if (!dialog)
            OpenEntry();
        TypeCustomer(c);
        if (!fee.isNull())
            SetFee(fee);
        Press(1);
        return dialog.isNull();
    }

    double Accounts(const QString& jet) const { return data.Number(data.accounts(), jet); }
    double CardCount() const { return Accounts(QStringLiteral("Select Count(*) From CariKartlar")); }
    double RecSay() const { return JobsNumber(QStringLiteral("Select RecNo From RecSay")); }

    // Every field of the one row a query gives, by position; empty when it gives none or several.
    static std::vector<QVariant> Fields(const QString& storePath, const QString& jetSql)
    {
        const auto v = testsupport::OpenView(storePath, jetSql);
        std::vector<QVariant> fields;
        if (v->RecordCount() == 1)
            for (int i = 0; i < v->FieldCount(); ++i)
                fields.push_back(v->Field(i));
        return fields;
    }
    // The fields at these positions of a row read by Fields() (32 fields), as text.
    static void ExpectFields(const std::vector<QVariant>& row, std::initializer_list<std::pair<int, QString>> want)
    {
        ASSERT_EQ(row.size(), 32u);
        for (const auto& [position, text] : want)
            EXPECT_EQ(row[size_t(position)].toString(), text) << "position " << position;
    }
    std::vector<QVariant> Card(const QString& code) const
    {
        return Fields(data.accounts(),
                      QStringLiteral("Select * From CariKartlar Where CariKod=") + store::SqlText(code));
    }
    std::vector<Row> Transactions(const QString& code) const
    {
        return Rows(data.accounts(),
                    QStringLiteral("Select * From CariHareket Where CariHarKod=") + store::SqlText(code));
    }
    std::vector<QVariant> OrderLine(const QString& sipNo) const
    {
        return Fields(data.orders(), QStringLiteral("Select * From Siparisler Where SipNo=") + store::SqlText(sipNo));
    }
    QString YearCounter(const char* field) const
    {
        return data.Open(data.index())
            ->Scalar(QStringLiteral("Select ") + QString::fromUtf8(field) + QStringLiteral(" From Mdbindex Where Tarih='2026'"))
            .toString();
    }

    // The stores' files as they are on disk; the job store left out where the
    // record number taken with Enter has changed it.
    std::map<QString, QByteArray> StoreFiles(bool withJobs = true) const
    {
        std::map<QString, QByteArray> files;
        for (const QString& p : {data.accounts(), data.orders(), data.index(), data.jobs()})
            if (withJobs || p != data.jobs())
                files[p] = testsupport::ReadFile(p);
        return files;
    }

    QPointer<survey::EntryDialog> dialog;
};

const Customer kNew{"Yeni Bahçe Kafe", "Liman Cad. No: 4", "Urla", "02327001122", "", "05321112233",
                    "Bahçe Kapısından Girilecek"};

TEST_F(EntryDialogTest, OpensFromTheGreenButtonWithTheNextRecordNumber)
{
    Open();
    // In the yellow mode the button opens the work report, not the entry.
    QTest::mouseClick(window->Command3, Qt::LeftButton);
    EXPECT_EQ(window->findChild<survey::EntryDialog*>(), nullptr);
    EXPECT_TRUE(window->Frame1->isVisible());
    // The kinds stay as they are while a report panel is open.
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("RapCmd(0)")), Qt::LeftButton);

    auto& d = OpenEntry();
    EXPECT_EQ(window->Command3->text(), QStringLiteral("Yeni Kayıt"));
    EXPECT_TRUE(d.isVisible());
    EXPECT_TRUE(d.isModal());
    EXPECT_EQ(d.parentWidget(), window.get());
    EXPECT_EQ(d.windowTitle(), QStringLiteral(" Keşif / Servis"));
    EXPECT_EQ(Heading(), QStringLiteral("> > > KEŞİF < < <"));
    EXPECT_TRUE(Option(0)->isChecked());
    EXPECT_EQ(Number()->text(), QStringLiteral("1306"));
    EXPECT_EQ(d.NextRecordNo, kDemoRecSay + 1);
    EXPECT_EQ(Fee()->text(), QStringLiteral("0"));
    EXPECT_EQ(Cmd(1)->text(), QStringLiteral("Tamam"));
    EXPECT_EQ(Cmd(0)->text(), QStringLiteral("Vazgeç"));
    EXPECT_FALSE(Cmd(1)->isEnabled()); // no name yet
    EXPECT_TRUE(List()->isHidden());
    EXPECT_EQ(Focused(), Box(0));

    const char* captions[] = {" Müşteri Adı", " Adres", " Şehir", " Telefon İş", " Telefon Ev", " GSM", "  Not"};
    const int lengths[] = {50, 50, 50, 11, 11, 11};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(Control<QLabel>(QStringLiteral("lblLabels(%1)").arg(i))->text(), QString::fromUtf8(captions[i]));
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(Box(i)->maxLength(), lengths[i]) << i;
    EXPECT_EQ(Number()->maxLength(), 11);
    EXPECT_EQ(Fee()->maxLength(), 11);

    // The tab order: boxes 0 to 5, the fee, the note, Tamam, Vazgeç, the kinds, the record number.
    Type(Box(0), QStringLiteral("X"));
    const QWidget* expected[] = {Box(1), Box(2), Box(3), Box(4), Box(5), Fee(), Note(), Cmd(1), Cmd(0), Option(0)};
    for (const QWidget* w : expected) {
        QTest::keyClick(Focused(), Qt::Key_Tab);
        EXPECT_EQ(Focused(), w) << w->objectName().toStdString();
    }
    EXPECT_EQ(Focused()->nextInFocusChain(), Option(1));
    EXPECT_EQ(Focused()->nextInFocusChain()->nextInFocusChain(), Number());

    // The service option names itself in the heading.
    QTest::mouseClick(Option(1), Qt::LeftButton);
    EXPECT_EQ(Heading(), QStringLiteral("> > > SERVİS < < <"));
}

TEST_F(EntryDialogTest, NewCustomerWithFeesTwiceInOneYear)
{
    // A year without fees yet: the first number is "261".
    data.Open(data.index())->Execute(QStringLiteral("DELETE FROM Mdbindex"));
    data.Open(data.index())->Execute(QStringLiteral("DELETE FROM Tarih"));
    const double cards = CardCount();
    ASSERT_TRUE(Save(kNew, QStringLiteral("150"))) << "closed after saving";
    EXPECT_TRUE(prompt.shown.empty());

    // The card, by position: HesKullan False (in use: the picker offers it
    // next time), then Borc, Alacak, Bakiye, Hesap.
    EXPECT_EQ(CardCount(), cards + 1);
    ExpectFields(Card(kNew.name), {{0, kNew.name}, {1, kNew.name}, {2, kNew.work}, {3, kNew.address},
                                   {4, kNew.city}, {20, kNew.mobile}, {24, ""}, {25, kNew.note}, {27, "false"},
                                   {28, "150"}, {29, "0"}, {30, "150"}, {31, "Borç"}});
    // The survey line.
    const auto line = OrderLine(QStringLiteral("X1306"));
    ExpectFields(line, {{0, kNew.name}, {10, kNew.name}, {11, "KEŞİF"}, {14, "1"}, {25, "Kesif"}, {31, kNew.note}});
    EXPECT_EQ(line.at(2).toDateTime(), store::WallClock(Today()));

    // The fee's transaction and the year's counter. A stored date is a
    // wall-clock value, kept without a zone (its text is the UTC form).
    auto moves = Transactions(kNew.name);
    ASSERT_EQ(moves.size(), 1u);
    const Row move = {{"Tarih", "2026-12-07T00:00:00.000Z"}, {"Aciklama", "Keşif Bedeli"}, {"Borc", "150"},
                      {"Alacak", "0"}, {"Carisi", ""}, {"DigerId", "M261"}, {"Unvan", kNew.name.toStdString()},
                      {"Nerde", "C"}};
    for (const auto& [field, text] : move)
        EXPECT_EQ(moves[0][field], text) << field;
    EXPECT_EQ(Accounts(QStringLiteral("Select Count(*) From CariHareket Where Carisi Is Null And CariHarKod=")
                       + store::SqlText(kNew.name)),
              1);
    EXPECT_EQ(YearCounter("Indexi"), QStringLiteral("261"));
    EXPECT_EQ(YearCounter("SeriNo"), QStringLiteral("261"));
    EXPECT_EQ(data.Number(data.index(), QStringLiteral("Select Count(*) From Tarih Where Tarih='2026'")), 1);
    EXPECT_EQ(RecSay(), 1306);
    EXPECT_EQ(app::LastCustomerCode, kNew.name);

    // The board's survey list shows the new line, current; its cards know the new one.
    QApplication::processEvents();
    EXPECT_EQ(window->DataSiparis.Field(QStringLiteral("CariKod")).toString(), kNew.name);
    EXPECT_EQ(window->DataSiparis.Field(QStringLiteral("SipNo")).toString(), QStringLiteral("X1306"));
    EXPECT_EQ(window->StokDataGrid->currentIndex().row(), window->DataSiparis.AbsolutePosition());
    window->DataCari.FindFirst(QStringLiteral("CariKod=") + store::SqlText(kNew.name));
    EXPECT_FALSE(window->DataCari.NoMatch());
    EXPECT_FALSE(app::SuppressListSync);

    // The same customer again, now a card: the next number, the series kept.
    ASSERT_TRUE(Save({kNew.name}, QStringLiteral("40")));
    moves = Transactions(kNew.name);
    ASSERT_EQ(moves.size(), 2u);
    EXPECT_EQ(moves[1]["DigerId"], "M262");
    EXPECT_EQ(YearCounter("Indexi"), QStringLiteral("262"));
    EXPECT_EQ(YearCounter("SeriNo"), QStringLiteral("261"));
    EXPECT_EQ(Card(kNew.name)[28].toDouble(), 190);
    EXPECT_EQ(CardCount(), cards + 1);
    EXPECT_EQ(RecSay(), 1307);
    EXPECT_FALSE(OrderLine(QStringLiteral("X1307")).empty());
}

TEST_F(EntryDialogTest, ExistingCustomerUpdatedWithoutItsNameChangingAndAZeroFeePostsNothing)
{
    const auto before = Card(kAyseCode);
    const double cards = CardCount(), moves = Accounts(QStringLiteral("Select Count(*) From CariHareket"));
    OpenEntry();
    EnterNumber(QStringLiteral("500"));
    // The card is found by its name and the boxes filled from it.
    Type(Box(0), QStringLiteral("ayşe kaya"));
    Box(1)->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(Box(0)->text(), kAyse);
    EXPECT_EQ(Box(3)->text(), QStringLiteral("0232 273 35 55")); // longer than the box takes when typed
    EXPECT_EQ(Box(4)->text(), QStringLiteral("0232 675 13 32"));
    Type(Box(1), QStringLiteral("Yeni Adres Sok. 9"), true);
    Box(5)->clear(); // an existing customer is updated with empty boxes too
    // An emptied fee box holds "0".
    Fee()->setFocus();
    Fee()->selectAll();
    QTest::keyClick(Fee(), Qt::Key_Backspace);
    EXPECT_EQ(Fee()->text(), QStringLiteral("0"));
    Press(1);
    EXPECT_TRUE(dialog.isNull());

    // Only the address, the GSM and the note (its box was empty) change: the
    // balance fields too stay as they were.
    const auto after = Card(kAyseCode);
    ExpectFields(after, {{3, "Yeni Adres Sok. 9"}, {20, ""}, {25, ""}});
    for (size_t i = 0; i < after.size(); ++i)
        EXPECT_TRUE(i == 3 || i == 20 || i == 25 || after[i] == before[i]) << "position " << i;
    EXPECT_EQ(CardCount(), cards);
    EXPECT_EQ(Accounts(QStringLiteral("Select Count(*) From CariHareket")), moves);
    EXPECT_EQ(YearCounter("Indexi"), QStringLiteral("2619"));
    EXPECT_EQ(app::LastCustomerCode, kAyseCode);
    // The line is named by the record number taken with Enter.
    EXPECT_EQ(OrderLine(QStringLiteral("X500"))[0].toString(), kAyseCode);
    EXPECT_TRUE(OrderLine(QStringLiteral("X1306")).empty());
    EXPECT_EQ(RecSay(), 500);
}

TEST_F(EntryDialogTest, SurveyAndServiceLinesDiffer)
{
    // The line's SipTur, Görev, Montaj, StokAdi and TesAdet, and the fee's text.
    const struct {
        int option;
        const char *sipTur, *kind, *montaj, *stokAdi, *tesAdet, *aciklama;
    } cases[] = {
        {0, "", "Kesif", "false", "KEŞİF", "0", "Keşif Bedeli"},
        {1, "SERVİS", "Servis", "true", "SERVİS", "1", "Servis Bedeli"},
    };
    double number = kDemoRecSay;
    for (const auto& c : cases) {
        OpenEntry();
        QTest::mouseClick(Option(c.option), Qt::LeftButton);
        ASSERT_TRUE(Save({QStringLiteral("Kemal Acar")}, QStringLiteral("75")));
        SCOPED_TRACE(c.kind);
        ExpectFields(OrderLine(QStringLiteral("X%1").arg(++number)),
                     {{0, "120.01.0031"}, {1, c.sipTur}, {5, c.tesAdet}, {11, c.stokAdi}, {25, c.kind}, {27, c.montaj}});
        EXPECT_EQ(Accounts(QStringLiteral("Select Count(*) From CariHareket Where Aciklama=")
                           + store::SqlText(QString::fromUtf8(c.aciklama))
                           + QStringLiteral(" And Tarih=#12/07/2026# And Borc=75")),
                  1);
    }
}

TEST_F(EntryDialogTest, FeeKeepsBakiyeNonNegativeAndNamesTheLargerSide)
{
    // The card's Borc, Bakiye and Hesap after the fee; Alacak stays 250.
    const struct {
        const char *fee, *borc, *bakiye, *hesap;
    } cases[] = {{"100", "200", "50", "Alacak"}, {"150", "250", "0", "Borç"}, {"200", "300", "50", "Borç"}};
    for (const auto& c : cases) {
        data.Open(data.accounts())
            ->Execute(QStringLiteral("UPDATE CariKartlar SET Borc=100, Alacak=250 WHERE CariKod='120.01.0013'"));
        ASSERT_TRUE(Save({kAyse}, QString::fromUtf8(c.fee)));
        SCOPED_TRACE(c.fee);
        ExpectFields(Card(kAyseCode), {{28, c.borc}, {29, "250"}, {30, c.bakiye}, {31, c.hesap}});
    }
}

TEST_F(EntryDialogTest, BadNumbersAreRefusedAndACancelledEntryStoresOnlyItsRecordNumber)
{
    OpenEntry();
    const auto before = StoreFiles(false);
    // A record number that is not a number: refused at Enter.
    EnterNumber(QStringLiteral("12a"));
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_TRUE(prompt.shown[0].text.contains(QStringLiteral("Kayıt No bir sayı olmalıdır")));
    EXPECT_EQ(dialog->NextRecordNo, kDemoRecSay + 1);
    EXPECT_EQ(Number()->text(), QStringLiteral("1306"));
    EXPECT_EQ(RecSay(), kDemoRecSay);

    // A record number whose order number exists: stored at Enter, refused at Tamam, naming it.
    EnterNumber(QStringLiteral("1278"));
    EXPECT_EQ(RecSay(), 1278);
    EXPECT_EQ(dialog->NextRecordNo, 1278);
    ASSERT_FALSE(Save(kNew, QStringLiteral("10")));
    ASSERT_EQ(prompt.shown.size(), 2u);
    EXPECT_TRUE(prompt.shown[1].text.contains(QStringLiteral("X1278"))) << prompt.shown[1].text.toStdString();

    // A pasted fee that is not a number: refused at Tamam.
    EnterNumber(QStringLiteral("500"));
    Fee()->setText(QStringLiteral("12,5"));
    Press(1);
    ASSERT_FALSE(dialog.isNull());
    ASSERT_EQ(prompt.shown.size(), 3u);
    EXPECT_TRUE(prompt.shown[2].text.contains(QStringLiteral("Bedel bir sayı olmalıdır")));
    EXPECT_EQ(Focused(), Fee());
    EXPECT_EQ(Box(0)->text(), kNew.name);

    // Vazgeç: only the record number stored by Enter has changed.
    Press(0);
    EXPECT_TRUE(dialog.isNull());
    EXPECT_EQ(RecSay(), 500);
    EXPECT_TRUE(StoreFiles(false) == before);
    EXPECT_TRUE(app::LastCustomerCode.isEmpty());
}

TEST_F(EntryDialogTest, NewCustomerNeedsNameAddressAndATelephone)
{
    const struct {
        Customer customer;
        int focused; // the box the focus goes to
    } cases[] = {
        {{"", "Adres", "", "123"}, 0},
        {{"Yeni Müşteri", "", "", "123"}, 1},
        {{"Yeni Müşteri", "Adres", "Urla", "", "", "", "Not"}, 3},
    };
    OpenEntry();
    const auto before = StoreFiles();
    for (const auto& c : cases) {
        for (int i = 0; i < 6; ++i)
            Box(i)->clear();
        TypeCustomer(c.customer);
        SetFee(QStringLiteral("100"));
        // "Tamam" is enabled only with a name: the empty name is checked when pressed anyway.
        dialog->CommandClicked(1);
        QApplication::processEvents();
        ASSERT_FALSE(dialog.isNull()) << c.focused;
        EXPECT_EQ(Focused(), Box(c.focused)) << c.focused;
        EXPECT_TRUE(Cmd(1)->isVisible());
    }
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_TRUE(StoreFiles() == before);
    EXPECT_FALSE(app::SuppressListSync);
}

TEST_F(EntryDialogTest, NewCustomerCodesStayUniqueWithinTwentyCharactersAndTakeQuotes)
{
    // Three customers whose names share their first 20 characters, and a quote in a name.
    const struct {
        const char *name, *code;
    } cases[] = {{"Ege Klima Servis Ltd Şti A", "Ege Klima Servis Ltd"},
                 {"Ege Klima Servis Ltd Şti B", "Ege Klima Servis L-2"},
                 {"Ege Klima Servis Ltd Şti C", "Ege Klima Servis L-3"},
                 {"Kemal'in Yeri", "Kemal'in Yeri"}};
    for (const auto& c : cases) {
        ASSERT_TRUE(Save({c.name, "Adres", "", "123"}, QStringLiteral("10"))) << c.name;
        const auto card = Card(c.code);
        ASSERT_FALSE(card.empty()) << c.code;
        EXPECT_EQ(card[1].toString(), QString::fromUtf8(c.name));
        EXPECT_EQ(app::LastCustomerCode, QString::fromUtf8(c.code));
        // The fee is on the card of that code, and the transaction names it.
        EXPECT_EQ(card[28].toDouble(), 10);
        EXPECT_EQ(Transactions(c.code).size(), 1u);
    }
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(EntryDialogTest, PickerListOffersCardsInNameOrder)
{
    OpenEntry();
    Type(Box(0), QStringLiteral("a"));
    EXPECT_FALSE(List()->isHidden());
    EXPECT_EQ(List()->Text(), QStringLiteral("Ahmet'in Yeri"));
    // The list lies under the name box, over the others.
    EXPECT_EQ(List()->geometry().top(), Box(0)->geometry().bottom() + 1);
    Type(Box(0), QStringLiteral("k"));
    EXPECT_EQ(List()->Text(), QStringLiteral("Akdeniz Otel"));
    EXPECT_EQ(dialog->Data1.RecordCount(), 1);
    Type(Box(0), QStringLiteral("deniz Otel"));
    EXPECT_TRUE(List()->isHidden()) << "the first match equals the text";
    // A closed card is not offered; nor is anything for a name no card begins with.
    for (const QString& typed : {QStringLiteral("Kapanan"), QStringLiteral("Zzz")}) {
        Box(0)->clear();
        Type(Box(0), typed);
        EXPECT_TRUE(List()->isHidden()) << typed.toStdString();
        EXPECT_EQ(dialog->Data1.RecordCount(), 0) << typed.toStdString();
    }

    // Clearing the name disables Tamam; one character enables it.
    Box(0)->clear();
    EXPECT_FALSE(Cmd(1)->isEnabled());
    Type(Box(0), QStringLiteral("ş"));
    EXPECT_EQ(Box(0)->text(), QStringLiteral("Ş"));
    EXPECT_TRUE(Cmd(1)->isEnabled());

    // A click on an entry takes it and fills the boxes from the card.
    ASSERT_FALSE(List()->isHidden());
    const QModelIndex second = List()->model()->index(1, 0);
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, List()->visualRect(second).center());
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(Box(0)->text(), QStringLiteral("Şeyma Ağca"));
    EXPECT_EQ(Box(1)->text(), QStringLiteral("Şehitler Cad. No: 106 D: 15"));
    EXPECT_EQ(Box(2)->text(), QStringLiteral("Buca / İzmir"));
    EXPECT_EQ(Box(5)->text(), QStringLiteral("0533 282 54 41"));
    EXPECT_TRUE(List()->isHidden());
    EXPECT_EQ(Focused(), Box(1));
}

TEST_F(EntryDialogTest, LookupByCodeByTurkishCaseAndWithAQuote)
{
    data.Open(data.accounts())
        ->Execute(QStringLiteral("INSERT INTO CariKartlar (CariKod, Unvan, Adres, Sehir, Tel, TelEv, Gsm) VALUES "
                                 "('120.02.0001', 'İNCİ İNŞAAT', 'Liman Cad.', 'İzmir', '1', '2', '3')"));
    const struct {
        const char *typed, *name, *address;
    } cases[] = {
        {"120.01.0013", "Ayşe Kaya", "Kıbrıs Şehitleri Cad. No: 76 D: 3"},
        {"inci inşaat", "İNCİ İNŞAAT", "Liman Cad."},
        {"İnci İnşaat", "İNCİ İNŞAAT", "Liman Cad."},
        {"Ahmet'in Yeri", "Ahmet'in Yeri", "Şehitler Cad. No: 145 D: 6"},
        {"Yepyeni Ad", "Yepyeni Ad", ""},
    };
    OpenEntry();
    for (const auto& c : cases) {
        for (int i = 0; i < 6; ++i)
            Box(i)->clear();
        Box(0)->setText(QString::fromUtf8(c.typed));
        Box(0)->setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
        Enter(Box(0)); // Enter moves on, and leaving the name looks it up
        EXPECT_EQ(Focused(), Box(1)) << c.typed;
        EXPECT_EQ(Box(0)->text(), QString::fromUtf8(c.name)) << c.typed;
        EXPECT_EQ(Box(1)->text(), QString::fromUtf8(c.address)) << c.typed;
    }
    EXPECT_EQ(Box(3)->text(), QString()) << "a new name leaves the typed boxes";
}

TEST_F(EntryDialogTest, NumberBoxesTakeDigitsOnlyAndEnterMovesOn)
{
    OpenEntry();
    // The fee takes digits and Backspace, beeping at anything else.
    Fee()->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(Fee()->selectedText(), QStringLiteral("0"));
    Keys(Fee(), QStringLiteral("12a-,5"));
    EXPECT_EQ(Fee()->text(), QStringLiteral("125"));
    EXPECT_EQ(prompt.beeps, 3);
    QTest::keyClick(Fee(), Qt::Key_Backspace);
    EXPECT_EQ(Fee()->text(), QStringLiteral("12"));
    Enter(Fee());
    EXPECT_EQ(Focused(), Note());

    for (int i : {3, 4, 5}) {
        Type(Box(i), QStringLiteral("05a3 +-2"));
        EXPECT_EQ(Box(i)->text(), QStringLiteral("0532")) << i;
        QTest::keyClick(Box(i), Qt::Key_Backspace);
        EXPECT_EQ(Box(i)->text(), QStringLiteral("0532")) << "Backspace is swallowed too";
        Keys(Box(i), QStringLiteral("123456789"));
        EXPECT_EQ(Box(i)->text(), QStringLiteral("05321234567")) << "eleven digits at most";
    }
    // Names are capitalised as typed.
    Type(Box(2), QStringLiteral("çiğli izmir"));
    EXPECT_EQ(Box(2)->text(), QStringLiteral("Çiğli İzmir"));
    Enter(Box(2));
    EXPECT_EQ(Focused(), Box(3));
    // Enter in the note does nothing.
    Type(Note(), QStringLiteral("kapı"));
    Enter(Note());
    EXPECT_EQ(Note()->toPlainText(), QStringLiteral("Kapı"));
    EXPECT_EQ(Focused(), Note());
    // The note holds 200 characters.
    Note()->selectAll();
    Keys(Note(), QString(210, QLatin1Char('x')));
    EXPECT_EQ(Note()->toPlainText().size(), 200);
}

TEST_F(EntryDialogTest, FilteredOrderListKeepsItsSource)
{
    Open();
    window->ChooseKind(2);
    ASSERT_EQ(window->CurrentKind, QStringLiteral("Kesif"));
    // A list whose source has no kind piece to rewrite.
    const QString filtered = QStringLiteral("Select * From Siparisler Where CariKod='120.01.0013' Order By SipNo Desc");
    window->DataSiparis.setRecordSource(filtered);
    app::RefreshData(window->DataSiparis);
    ASSERT_TRUE(Save({kAyse}));
    EXPECT_EQ(window->DataSiparis.RecordSource(), filtered);
    EXPECT_FALSE(OrderLine(QStringLiteral("X1306")).empty());
    EXPECT_EQ(window->DataSiparis.Field(QStringLiteral("SipNo")).toString(), QStringLiteral("X1306"));
}

TEST_F(EntryDialogTest, FailureInTheLastStoreLeavesAllFourAsTheyWere)
{
    // The record number is the last thing written; the job store refuses it.
    data.Open(data.jobs())->ExecuteNative(
        QStringLiteral("CREATE TRIGGER refuse_recsay BEFORE UPDATE ON RecSay BEGIN "
                       "SELECT RAISE(ABORT, 'deneme: kayıt numarası yazılamadı'); END"));
    OpenEntry();
    const auto files = StoreFiles();
    ASSERT_FALSE(Save(kNew, QStringLiteral("150"))) << "the dialog stays open";
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_TRUE(prompt.shown[0].text.contains(QStringLiteral("hiçbir bilgi kaydedilmedi")));
    EXPECT_TRUE(prompt.shown[0].text.contains(QStringLiteral("deneme: kayıt numarası yazılamadı")));
    EXPECT_TRUE(StoreFiles() == files);
    EXPECT_TRUE(app::LastCustomerCode.isEmpty());
    EXPECT_FALSE(app::SuppressListSync);

    // What the user typed is still there, and Tamam can be pressed again.
    EXPECT_EQ(Box(0)->text(), kNew.name);
    EXPECT_EQ(Box(1)->text(), kNew.address);
    EXPECT_EQ(Note()->toPlainText(), kNew.note);
    EXPECT_EQ(Fee()->text(), QStringLiteral("150"));
    EXPECT_TRUE(Cmd(1)->isVisible());
    data.Open(data.jobs())->ExecuteNative(QStringLiteral("DROP TRIGGER refuse_recsay"));
    Press(1);
    EXPECT_TRUE(dialog.isNull());
    EXPECT_EQ(Card(kNew.name)[28].toDouble(), 150);
    EXPECT_EQ(Transactions(kNew.name).size(), 1u);
    EXPECT_EQ(Accounts(QStringLiteral("Select Count(*) From CariKartlar Where Unvan=") + store::SqlText(kNew.name)), 1);
    EXPECT_EQ(RecSay(), 1306);
}

} // namespace
