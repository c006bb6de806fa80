#include "../board/BoardFixture.h"

#include "app/Refresh.h"
#include "app/SharedState.h"
#include "survey/EntryDialog.h"
#include "ui/DataList.h"

#include <QDir>
#include <QFile>
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
    // Goes into a control as the user does and types.
    void Type(QWidget* w, const QString& text)
    {
        w->setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
        Keys(w, text);
        QApplication::processEvents();
    }
    void Replace(QLineEdit* box, const QString& text)
    {
        box->setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
        box->selectAll();
        Keys(box, text);
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
    void SetFee(const QString& fee) { Replace(Fee(), fee); }
    // A record number typed over the proposed one and taken with Enter.
    void EnterNumber(const QString& number)
    {
        Replace(Number(), number);
        Enter(Number());
    }

    double Accounts(const QString& jet) const { return data.Number(data.accounts(), jet); }
    double IndexNumber(const QString& jet) const { return data.Number(data.index(), jet); }
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
    // The fields at these positions of a row read by Fields(), as text.
    static void ExpectFields(const std::vector<QVariant>& row, std::initializer_list<std::pair<int, QString>> want,
                             size_t size)
    {
        ASSERT_EQ(row.size(), size);
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
    // A year without fees yet: the first number is "261".
    void FreshYear() const
    {
        data.Open(data.index())->Execute(QStringLiteral("DELETE FROM Mdbindex"));
        data.Open(data.index())->Execute(QStringLiteral("DELETE FROM Tarih"));
    }

    // The four stores' files as they are on disk.
    std::map<QString, QByteArray> StoreFiles() const
    {
        std::map<QString, QByteArray> files;
        for (const QString& p : {data.accounts(), data.orders(), data.index(), data.jobs()})
            files[p] = testsupport::ReadFile(p);
        return files;
    }
    // Every row of every table the entry writes, as text.
    std::vector<Row> AllRows() const
    {
        std::vector<Row> all;
        const std::pair<QString, const char*> tables[] = {
            {data.accounts(), "CariKartlar"}, {data.accounts(), "CariHareket"}, {data.orders(), "Siparisler"},
            {data.index(), "Tarih"},          {data.index(), "Mdbindex"},       {data.jobs(), "RecSay"}};
        for (const auto& [store, table] : tables)
            for (Row r : Rows(store, QStringLiteral("Select * From ") + QString::fromUtf8(table))) {
                r["<table>"] = table;
                all.push_back(r);
            }
        return all;
    }

    QPointer<survey::EntryDialog> dialog;
};

const Customer kNew{QStringLiteral("Yeni Bahçe Kafe"), QStringLiteral("Liman Cad. No: 4"),
                                     QStringLiteral("Urla"), QStringLiteral("02327001122"), QString(),
                                     QStringLiteral("05321112233"), QStringLiteral("Bahçe Kapısından Girilecek")};

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
    EXPECT_EQ(Control<QLabel>(QStringLiteral("Label1"))->text(), QStringLiteral("> > > KEŞİF < < <"));
    EXPECT_TRUE(Control<QRadioButton>(QStringLiteral("Option1(0)"))->isChecked());
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
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(Control<QLabel>(QStringLiteral("lblLabels(%1)").arg(i))->text(), QString::fromUtf8(captions[i]));
        if (i < 6) {
            EXPECT_EQ(Box(i)->maxLength(), lengths[i]) << i;
        }
    }
    EXPECT_EQ(Number()->maxLength(), 11);
    EXPECT_EQ(Fee()->maxLength(), 11);

    // The tab order: boxes 0 to 5, the fee, the note, Tamam, Vazgeç, the kinds, the record number.
    Type(Box(0), QStringLiteral("X"));
    const QWidget* expected[] = {Box(1), Box(2), Box(3), Box(4), Box(5), Fee(), Note(), Cmd(1), Cmd(0),
                                 Control<QRadioButton>(QStringLiteral("Option1(0)"))};
    for (const QWidget* w : expected) {
        QTest::keyClick(Focused(), Qt::Key_Tab);
        EXPECT_EQ(Focused(), w) << w->objectName().toStdString();
    }
    EXPECT_EQ(Focused()->nextInFocusChain()->objectName(), QStringLiteral("Option1(1)"));
    EXPECT_EQ(Focused()->nextInFocusChain()->nextInFocusChain(), Number());

    // The service option names itself in the heading.
    QTest::mouseClick(Control<QRadioButton>(QStringLiteral("Option1(1)")), Qt::LeftButton);
    EXPECT_EQ(Control<QLabel>(QStringLiteral("Label1"))->text(), QStringLiteral("> > > SERVİS < < <"));
}

TEST_F(EntryDialogTest, NewCustomerWithFeesTwiceInOneYear)
{
    FreshYear();
    const double cards = Accounts(QStringLiteral("Select Count(*) From CariKartlar"));
    OpenEntry();
    TypeCustomer(kNew);
    SetFee(QStringLiteral("150"));
    Press(1);
    EXPECT_TRUE(dialog.isNull()) << "closed after saving";
    EXPECT_TRUE(prompt.shown.empty());

    // The card, by position: HesKullan False (in use: the picker offers it
    // next time), then Borc, Alacak, Bakiye, Hesap.
    EXPECT_EQ(Accounts(QStringLiteral("Select Count(*) From CariKartlar")), cards + 1);
    ExpectFields(Card(kNew.name), {{0, kNew.name}, {1, kNew.name}, {2, kNew.work}, {3, kNew.address},
                                   {4, kNew.city}, {20, kNew.mobile}, {24, ""}, {25, kNew.note}, {27, "false"},
                                   {28, "150"}, {29, "0"}, {30, "150"}, {31, "Borç"}},
                 32);
    // The survey line.
    const auto line = OrderLine(QStringLiteral("X1306"));
    ExpectFields(line, {{0, kNew.name}, {10, kNew.name}, {11, "KEŞİF"}, {14, "1"}, {25, "Kesif"}, {31, kNew.note}},
                 32);
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
    EXPECT_TRUE(data.Open(data.accounts())
                    ->Scalar(QStringLiteral("Select Carisi Is Null From CariHareket Where CariHarKod=")
                             + store::SqlText(kNew.name))
                    .toBool());
    EXPECT_EQ(YearCounter("Indexi"), QStringLiteral("261"));
    EXPECT_EQ(YearCounter("SeriNo"), QStringLiteral("261"));
    EXPECT_EQ(IndexNumber(QStringLiteral("Select Count(*) From Tarih Where Tarih='2026'")), 1);
    EXPECT_EQ(RecSay(), 1306);
    EXPECT_EQ(app::LastCustomerCode, kNew.name);

    // The same customer again, now a card: the next number, the series kept.
    OpenEntry();
    EXPECT_EQ(Number()->text(), QStringLiteral("1307"));
    Type(Box(0), kNew.name);
    SetFee(QStringLiteral("40"));
    Press(1);
    EXPECT_TRUE(dialog.isNull());
    moves = Transactions(kNew.name);
    ASSERT_EQ(moves.size(), 2u);
    EXPECT_EQ(moves[1]["DigerId"], "M262");
    EXPECT_EQ(YearCounter("Indexi"), QStringLiteral("262"));
    EXPECT_EQ(YearCounter("SeriNo"), QStringLiteral("261"));
    EXPECT_EQ(Card(kNew.name)[28].toDouble(), 190);
    EXPECT_EQ(Accounts(QStringLiteral("Select Count(*) From CariKartlar")), cards + 1);
    EXPECT_EQ(RecSay(), 1307);
    EXPECT_FALSE(OrderLine(QStringLiteral("X1307")).empty());
}

TEST_F(EntryDialogTest, ExistingCustomerUpdatedWithoutItsNameChanging)
{
    const QString code = QStringLiteral("120.01.0013");
    const auto before = Card(code);
    const double cards = Accounts(QStringLiteral("Select Count(*) From CariKartlar"));
    OpenEntry();
    // The card is found by its name and the boxes filled from it.
    Type(Box(0), QStringLiteral("ayşe kaya"));
    Box(1)->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(Box(0)->text(), QStringLiteral("Ayşe Kaya"));
    EXPECT_EQ(Box(3)->text(), QStringLiteral("0232 273 35 55")); // longer than the box takes when typed
    EXPECT_EQ(Box(4)->text(), QStringLiteral("0232 675 13 32"));
    Replace(Box(1), QStringLiteral("Yeni Adres Sok. 9"));
    Box(5)->clear(); // an existing customer is updated with empty boxes too
    SetFee(QStringLiteral("0"));
    Press(1);
    EXPECT_TRUE(dialog.isNull());

    const auto after = Card(code);
    ASSERT_EQ(after.size(), 32u);
    EXPECT_EQ(Accounts(QStringLiteral("Select Count(*) From CariKartlar")), cards);
    for (int i = 0; i < 32; ++i) {
        if (i == 3)
            EXPECT_EQ(after[3].toString(), QStringLiteral("Yeni Adres Sok. 9"));
        else if (i == 20)
            EXPECT_EQ(after[20].toString(), QString());
        else if (i == 25)
            EXPECT_EQ(after[25].toString(), QString()); // the note box was empty
        else
            EXPECT_EQ(after[size_t(i)], before[size_t(i)]) << "position " << i;
    }
    EXPECT_EQ(OrderLine(QStringLiteral("X1306"))[0].toString(), code);
    EXPECT_EQ(app::LastCustomerCode, code);
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
        Type(Box(0), QStringLiteral("Kemal Acar"));
        QTest::mouseClick(Control<QRadioButton>(QStringLiteral("Option1(%1)").arg(c.option)), Qt::LeftButton);
        SetFee(QStringLiteral("75"));
        Press(1);
        ASSERT_TRUE(dialog.isNull());
        SCOPED_TRACE(c.kind);
        ExpectFields(OrderLine(QStringLiteral("X%1").arg(++number)),
                     {{0, "120.01.0031"}, {1, c.sipTur}, {5, c.tesAdet}, {11, c.stokAdi}, {25, c.kind}, {27, c.montaj}},
                     32);
        const auto moves = Rows(data.accounts(), QStringLiteral("Select * From CariHareket Where Aciklama=")
                                                     + store::SqlText(QString::fromUtf8(c.aciklama))
                                                     + QStringLiteral(" And Tarih=#12/07/2026# And Borc=75"));
        EXPECT_EQ(moves.size(), 1u);
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
        OpenEntry();
        Type(Box(0), QStringLiteral("Ayşe Kaya"));
        SetFee(QString::fromUtf8(c.fee));
        Press(1);
        ASSERT_TRUE(dialog.isNull());
        SCOPED_TRACE(c.fee);
        ExpectFields(Card(QStringLiteral("120.01.0013")), {{28, c.borc}, {29, "250"}, {30, c.bakiye}, {31, c.hesap}},
                     32);
    }
}

TEST_F(EntryDialogTest, ZeroFeePostsNothing)
{
    const double moves = Accounts(QStringLiteral("Select Count(*) From CariHareket"));
    const auto before = Card(QStringLiteral("120.01.0013"));
    OpenEntry();
    Type(Box(0), QStringLiteral("Ayşe Kaya"));
    // An emptied fee box holds "0".
    Fee()->setFocus();
    Fee()->selectAll();
    QTest::keyClick(Fee(), Qt::Key_Backspace);
    EXPECT_EQ(Fee()->text(), QStringLiteral("0"));
    Press(1);
    ASSERT_TRUE(dialog.isNull());
    EXPECT_EQ(Accounts(QStringLiteral("Select Count(*) From CariHareket")), moves);
    const auto after = Card(QStringLiteral("120.01.0013"));
    for (int i : {28, 29, 30, 31})
        EXPECT_EQ(after[size_t(i)], before[size_t(i)]) << i;
    EXPECT_EQ(YearCounter("Indexi"), QStringLiteral("2619"));
    EXPECT_FALSE(OrderLine(QStringLiteral("X1306")).empty());
    EXPECT_EQ(RecSay(), 1306);
}

TEST_F(EntryDialogTest, RecordNumberStoredAtEnterEvenWhenCancelled)
{
    OpenEntry();
    const auto others = StoreFiles();
    EnterNumber(QStringLiteral("500"));
    EXPECT_EQ(RecSay(), 500);
    EXPECT_EQ(dialog->NextRecordNo, 500);
    TypeCustomer(kNew);
    SetFee(QStringLiteral("90"));
    Press(0);
    EXPECT_TRUE(dialog.isNull());
    EXPECT_EQ(RecSay(), 500);
    // Every other store is as it was.
    const auto now = StoreFiles();
    for (const QString& p : {data.accounts(), data.orders(), data.index()})
        EXPECT_TRUE(now.at(p) == others.at(p)) << p.toStdString();
    EXPECT_TRUE(Card(kNew.name).empty());
    EXPECT_TRUE(app::LastCustomerCode.isEmpty());
}

TEST_F(EntryDialogTest, RecordNumberFromEnterNamesTheLine)
{
    OpenEntry();
    EnterNumber(QStringLiteral("500"));
    Type(Box(0), QStringLiteral("Ayşe Kaya"));
    Press(1);
    ASSERT_TRUE(dialog.isNull());
    EXPECT_FALSE(OrderLine(QStringLiteral("X500")).empty());
    EXPECT_TRUE(OrderLine(QStringLiteral("X1306")).empty());
    EXPECT_EQ(RecSay(), 500);
}

TEST_F(EntryDialogTest, BadNumbersAreRefusedAndNothingIsStored)
{
    OpenEntry();
    const auto before = AllRows();
    // A record number that is not a number: refused at Enter.
    EnterNumber(QStringLiteral("12a"));
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_TRUE(prompt.shown[0].text.contains(QStringLiteral("Kayıt No bir sayı olmalıdır")));
    EXPECT_EQ(dialog->NextRecordNo, kDemoRecSay + 1);
    EXPECT_EQ(Number()->text(), QStringLiteral("1306"));

    // A record number whose order number exists: refused at Tamam, naming it.
    EnterNumber(QStringLiteral("1278"));
    EXPECT_EQ(RecSay(), 1278);
    TypeCustomer(kNew);
    SetFee(QStringLiteral("10"));
    Press(1);
    ASSERT_FALSE(dialog.isNull());
    ASSERT_EQ(prompt.shown.size(), 2u);
    EXPECT_TRUE(prompt.shown[1].text.contains(QStringLiteral("X1278"))) << prompt.shown[1].text.toStdString();
    EXPECT_TRUE(Card(kNew.name).empty());

    // A pasted fee that is not a number: refused at Tamam.
    EnterNumber(QStringLiteral("1306"));
    Fee()->setText(QStringLiteral("12,5"));
    Press(1);
    ASSERT_FALSE(dialog.isNull());
    ASSERT_EQ(prompt.shown.size(), 3u);
    EXPECT_TRUE(prompt.shown[2].text.contains(QStringLiteral("Bedel bir sayı olmalıdır")));
    EXPECT_EQ(Focused(), Fee());

    // Only the record number stored by Enter has changed.
    EXPECT_EQ(RecSay(), 1306);
    data.Open(data.jobs())->Execute(QStringLiteral("UPDATE RecSay SET RecNo=1305"));
    EXPECT_EQ(AllRows(), before);
    EXPECT_EQ(Box(0)->text(), kNew.name);
}

TEST_F(EntryDialogTest, FeeBoxTakesDigitsAndBackspaceOnly)
{
    OpenEntry();
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
}

TEST_F(EntryDialogTest, NewCustomerNeedsNameAddressAndATelephone)
{
    const struct {
        Customer customer;
        int focused; // the box the focus goes to
    } cases[] = {
        {{QString(), QStringLiteral("Adres"), QString(), QStringLiteral("123"), QString(), QString(), QString()}, 0},
        {{QStringLiteral("Yeni Müşteri"), QString(), QString(), QStringLiteral("123"), QString(), QString(), QString()}, 1},
        {{QStringLiteral("Yeni Müşteri"), QStringLiteral("Adres"), QStringLiteral("Urla"), QString(), QString(),
          QString(), QStringLiteral("Not")},
         3},
    };
    OpenEntry();
    const auto before = AllRows();
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
    EXPECT_EQ(AllRows(), before);
    EXPECT_FALSE(app::SuppressListSync);
}

TEST_F(EntryDialogTest, NewCustomerCodesStayUniqueWithinTwentyCharacters)
{
    // Three customers whose names share their first 20 characters.
    const struct {
        const char* name;
        const char* code;
    } cases[] = {{"Ege Klima Servis Ltd Şti A", "Ege Klima Servis Ltd"},
                 {"Ege Klima Servis Ltd Şti B", "Ege Klima Servis L-2"},
                 {"Ege Klima Servis Ltd Şti C", "Ege Klima Servis L-3"}};
    for (const auto& c : cases) {
        OpenEntry();
        TypeCustomer({QString::fromUtf8(c.name), QStringLiteral("Adres"), QString(), QStringLiteral("123"),
                      QString(), QString(), QString()});
        SetFee(QStringLiteral("10"));
        Press(1);
        ASSERT_TRUE(dialog.isNull()) << c.name;
        const auto card = Card(QString::fromUtf8(c.code));
        ASSERT_FALSE(card.empty()) << c.code;
        EXPECT_EQ(card[1].toString(), QString::fromUtf8(c.name));
        EXPECT_EQ(app::LastCustomerCode, QString::fromUtf8(c.code));
        // The fee is on the card of that code, and the transaction names it.
        EXPECT_EQ(card[28].toDouble(), 10);
        EXPECT_EQ(Transactions(QString::fromUtf8(c.code)).size(), 1u);
    }
    // A name of 20 characters or fewer is its code unchanged.
    OpenEntry();
    TypeCustomer({QStringLiteral("Kısa Ad"), QStringLiteral("Adres"), QString(), QString(), QString(),
                  QStringLiteral("0555"), QString()});
    Press(1);
    EXPECT_FALSE(Card(QStringLiteral("Kısa Ad")).empty());
}

TEST_F(EntryDialogTest, QuotedNamesAreFoundCreatedAndPosted)
{
    OpenEntry();
    // An existing card with a quote in its name.
    Type(Box(0), QStringLiteral("Ahmet'in Yeri"));
    Box(1)->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(Box(1)->text(), QStringLiteral("Şehitler Cad. No: 145 D: 6"));
    SetFee(QStringLiteral("10"));
    Press(1);
    ASSERT_TRUE(dialog.isNull());
    EXPECT_EQ(Card(QStringLiteral("120.01.0001"))[28].toDouble(), 176950);

    // A new one.
    OpenEntry();
    TypeCustomer({QStringLiteral("Kemal'in Yeri"), QStringLiteral("Adres"), QString(), QStringLiteral("1"),
                  QString(), QString(), QString()});
    SetFee(QStringLiteral("10"));
    Press(1);
    ASSERT_TRUE(dialog.isNull());
    EXPECT_EQ(Card(QStringLiteral("Kemal'in Yeri"))[28].toDouble(), 10);
    EXPECT_EQ(Transactions(QStringLiteral("Kemal'in Yeri")).size(), 1u);
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
    // A closed card is not offered.
    Box(0)->clear();
    Type(Box(0), QStringLiteral("Kapanan"));
    EXPECT_TRUE(List()->isHidden());
    EXPECT_EQ(dialog->Data1.RecordCount(), 0);
    // A name no card begins with.
    Box(0)->clear();
    Type(Box(0), QStringLiteral("Zzz"));
    EXPECT_TRUE(List()->isHidden());

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

TEST_F(EntryDialogTest, LookupByCodeAndByTurkishCase)
{
    data.Open(data.accounts())
        ->Execute(QStringLiteral("INSERT INTO CariKartlar (CariKod, Unvan, Adres, Sehir, Tel, TelEv, Gsm) VALUES "
                                 "('120.02.0001', 'İNCİ İNŞAAT', 'Liman Cad.', 'İzmir', '1', '2', '3')"));
    const struct {
        const char* typed;
        const char* name;
        const char* address;
    } cases[] = {
        {"120.01.0013", "Ayşe Kaya", "Kıbrıs Şehitleri Cad. No: 76 D: 3"},
        {"inci inşaat", "İNCİ İNŞAAT", "Liman Cad."},
        {"İnci İnşaat", "İNCİ İNŞAAT", "Liman Cad."},
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

TEST_F(EntryDialogTest, TelephoneBoxesTakeDigitsOnlyAndEnterMovesOn)
{
    OpenEntry();
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

TEST_F(EntryDialogTest, BoardListGoesToTheNewCustomer)
{
    OpenEntry();
    TypeCustomer(kNew);
    Press(1);
    ASSERT_TRUE(dialog.isNull());
    QApplication::processEvents();
    // The survey list shows the new line, current.
    EXPECT_EQ(window->DataSiparis.Field(QStringLiteral("CariKod")).toString(), kNew.name);
    EXPECT_EQ(window->DataSiparis.Field(QStringLiteral("SipNo")).toString(), QStringLiteral("X1306"));
    EXPECT_EQ(window->StokDataGrid->currentIndex().row(), window->DataSiparis.AbsolutePosition());
    // The main window's cards know the new one.
    window->DataCari.FindFirst(QStringLiteral("CariKod=") + store::SqlText(kNew.name));
    EXPECT_FALSE(window->DataCari.NoMatch());
    EXPECT_FALSE(app::SuppressListSync);
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
    OpenEntry();
    Type(Box(0), QStringLiteral("Ayşe Kaya"));
    Press(1);
    ASSERT_TRUE(dialog.isNull());
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
    const auto rows = AllRows();
    TypeCustomer(kNew);
    SetFee(QStringLiteral("150"));
    Press(1);

    ASSERT_FALSE(dialog.isNull()) << "the dialog stays open";
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_TRUE(prompt.shown[0].text.contains(QStringLiteral("hiçbir bilgi kaydedilmedi")));
    EXPECT_TRUE(prompt.shown[0].text.contains(QStringLiteral("deneme: kayıt numarası yazılamadı")));
    EXPECT_EQ(AllRows(), rows);
    const auto now = StoreFiles();
    for (const auto& [path, bytes] : files)
        EXPECT_TRUE(now.at(path) == bytes) << path.toStdString();
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
    EXPECT_EQ(Accounts(QStringLiteral("Select Count(*) From CariKartlar Where Unvan=")
                       + store::SqlText(kNew.name)),
              1);
    EXPECT_EQ(RecSay(), 1306);
}

} // namespace
