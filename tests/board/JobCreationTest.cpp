#include "BoardFixture.h"


#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QSignalSpy>

using store::SqlText;

using JobCreationTest = UnmarkedBoardTest;

// A planned job blocking a mark is a status-report case.
TEST_F(JobCreationTest, MarkingIsAllowedAfterCancelAndASecondDoubleClickUnmarks)
{
    const QString s = QStringLiteral("T-0001");
    AddLine({.sipNo = s});
    Open();
    MakeJobs({s}, QStringLiteral("Test Usta"));
    ASSERT_EQ(JobCount(SipNoIs(s)), 1);
    SetJobs(s, QStringLiteral("Iptal=True"));
    Mark(s);
    EXPECT_EQ(LineText(s, "Sec"), QStringLiteral("X"));
    Mark(s);
    EXPECT_EQ(LineText(s, "Sec"), QString()) << "a second double click unmarks";
}

TEST_F(JobCreationTest, ASecondJobTakesWhatIsLeftAndKeepsTheLineUntilItIsDone)
{
    struct Case {
        const char* sipNo;
        double quantity, firstDone, secondQuantity; // < 0: the line cannot come back
    };
    const Case cases[] = {
        {"T-0002", 5, 5, -1}, // done in full
        {"T-0008", 5, 2, 3},
        {"T-0009", 4, 6, 0}, // more done than the line had, as older data may hold: nothing left, not -2
    };
    for (const Case& c : cases)
        AddLine({.sipNo = QString::fromUtf8(c.sipNo), .quantity = c.quantity, .open = c.quantity});
    Open();
    for (const Case& c : cases) {
        const QString sipNo = QString::fromUtf8(c.sipNo);
        MakeJobs({sipNo}, QStringLiteral("Test Usta"));
        EXPECT_EQ(Job(sipNo, "Adet"), c.quantity) << c.sipNo;
        SetJobs(sipNo, QStringLiteral("Tamam=True, Kalan=%1").arg(c.firstDone));
        Mark(sipNo);
        if (c.secondQuantity < 0) {
            EXPECT_EQ(LineText(sipNo, "Sec"), QString()) << c.sipNo;
            continue;
        }
        ASSERT_EQ(LineText(sipNo, "Sec"), QStringLiteral("X")) << c.sipNo;
        Create(QStringLiteral("Test Usta"));
        ASSERT_EQ(JobCount(SipNoIs(sipNo)), 2) << c.sipNo;
        EXPECT_EQ(JobsNumber(QStringLiteral("Select Adet From Montaj Where Tamam=False And ") + SipNoIs(sipNo)),
                  c.secondQuantity)
            << c.sipNo;

        // The first job allows a mark; the second, still planned, does not.
        Mark(sipNo);
        EXPECT_EQ(LineText(sipNo, "Sec"), QString()) << c.sipNo;
    }
}

// The done units come from the line's first job of the same kind, in the
// order jobs were added: neither a later job nor a job of another kind.
TEST_F(JobCreationTest, TheFirstJobOfTheKindGivesTheDoneUnits)
{
    const QString s = QStringLiteral("T-0020"), open = QStringLiteral(" And Tamam=False And Iptal=False");
    AddLine({.sipNo = s, .quantity = 10, .open = 10});
    Jobs()->Execute(QStringLiteral("INSERT INTO Montaj (Eleman, Görev, SipNo, Tamam, Adet, Kalan) "
                                   "VALUES ('Servisçi', 'Servis', 'T-0020', True, 7, 7)"));
    Open();
    MakeJobs({s}, QStringLiteral("Test Usta"));
    EXPECT_EQ(Job(s, "Adet"), 10);

    SetJobs(s, QStringLiteral("Tamam=True, Kalan=4"), QStringLiteral("Görev='Montaj'"));
    MakeJobs({s}, QStringLiteral("Test Usta"));
    ASSERT_EQ(JobCount(SipNoIs(s) + QStringLiteral(" And Görev='Montaj'")), 2);
    EXPECT_EQ(JobsNumber(QStringLiteral("Select Adet From Montaj Where ") + SipNoIs(s) + open), 6);

    // The second job is cancelled after a unit was done; the next one still
    // counts the first job's four.
    SetJobs(s, QStringLiteral("Iptal=True, Kalan=1"), QStringLiteral("Tamam=False"));
    MakeJobs({s}, QStringLiteral("Test Usta"));
    ASSERT_EQ(JobCount(SipNoIs(s) + QStringLiteral(" And Görev='Montaj'")), 3);
    EXPECT_EQ(JobsNumber(QStringLiteral("Select Adet From Montaj Where ") + SipNoIs(s) + open), 6);
}

TEST_F(JobCreationTest, ServiceAndDeliveryJobsSetTheirOwnFlagAndQuantity)
{
    AddLine({.sipNo = QStringLiteral("T-0003"), .delivered = 2, .kind = QStringLiteral("Montaj"), .installed = true});
    AddLine({.sipNo = QStringLiteral("T-0007")});
    auto& w = Open();
    const struct {
        const char* sipNo;
        int kind;
        const char *staff, *flag;
        double quantity;
        const char* installFlag;
    } cases[] = {
        {"T-0003", 1, "Servisçi", "Servis", 0, "1"}, // a first service job gets no quantity
        {"T-0007", 3, "Paket Teslim", "Paket", 4, "0"},
    };
    for (const auto& c : cases) {
        const QString s = QString::fromUtf8(c.sipNo);
        w.ChooseKind(c.kind);
        MakeJobs({s}, QString::fromUtf8(c.staff));
        EXPECT_EQ(JobCount(SipNoIs(s)), 1) << c.sipNo;
        EXPECT_EQ(Job(s, "Adet", w.CurrentKind), c.quantity) << c.sipNo;
        ExpectLine(s, {{c.flag, QStringLiteral("1")}, {"Görev", w.CurrentKind}, {"Montaj", QString::fromUtf8(c.installFlag)}});
    }
}

TEST_F(JobCreationTest, OneBatchNumberAnActionAndOneDayRowForANewStaffMember)
{
    for (const char* s : {"T-0005", "T-0004", "T-0006"})
        AddLine({.sipNo = QString::fromUtf8(s)});
    auto& w = Open();
    const auto counter = [&] { return JobsNumber(QStringLiteral("Select RecNo From RecSay")); };
    const double before = counter();
    MakeJobs({QStringLiteral("T-0005"), QStringLiteral("T-0004")}, QStringLiteral("Test Usta"));

    EXPECT_EQ(counter(), before + 1);
    EXPECT_EQ(w.LastRecNo, before + 1);
    EXPECT_EQ(JobCount(QStringLiteral("RecNo=%1 And Eleman='Test Usta'").arg(before + 1)), 2);
    // Exactly one day row, carrying the first line in order-number order.
    EXPECT_EQ(DayRows("Montaj", QStringLiteral("Test Usta")), 1);
    EXPECT_EQ(Orders()->Scalar(QStringLiteral("Select SipNo From Montaj Where Eleman='Test Usta'")).toString(),
              QStringLiteral("T-0004"));
    EXPECT_EQ(OrdersNumber(QStringLiteral("Select RecNo From Montaj Where Eleman='Test Usta'")), before + 1);
    for (const char* sipNo : {"T-0004", "T-0005"})
        ExpectLine(QString::fromUtf8(sipNo), {{"Sec", QString()}, {"Görev", QStringLiteral("Montaj")},
                                              {"Eleman", QStringLiteral("Test Usta")}, {"Montaj", QStringLiteral("1")}});
    // The staff member now works today: the next action adds no day row.
    MakeJobs({QStringLiteral("T-0006")}, QStringLiteral("Test Usta"));
    EXPECT_EQ(DayRows("Montaj", QStringLiteral("Test Usta")), 1);
    EXPECT_EQ(JobCount(QStringLiteral("SipNo='T-0006' And RecNo=%1").arg(before + 2)), 1);

    // Nothing marked: only the number advances.
    const double jobs = JobCount(QStringLiteral("1=1"));
    Create(QStringLiteral("Test Usta"));
    EXPECT_EQ(counter(), before + 3);
    EXPECT_EQ(JobCount(QStringLiteral("1=1")), jobs);
    EXPECT_EQ(played.count(QStringLiteral("\\Cmd.wav")), 3);
    // The job grid shows the day's jobs with the new ones.
    EXPECT_TRUE(GoTo(w.DataGörev, QStringLiteral("SipNo='T-0006'")));
}

TEST_F(JobCreationTest, FilterNarrowsByTheCurrentColumnOnly)
{
    AddLine({.sipNo = QStringLiteral("T-0010"), .customer = QStringLiteral("Ahmet'in Yeri"),
             .product = QStringLiteral("Kombi Özel")});
    AddLine({.sipNo = QStringLiteral("T-0011"), .customer = QStringLiteral("Ahmet'in Yeri")});
    auto& w = Open();
    auto* filter = Find<QCheckBox>(QStringLiteral("Check1"));
    const QString boardSource = w.DataSiparis.RecordSource();
    // A filtered list takes no action that would read the board's list.
    const auto expectActions = [&](bool enabled) {
        for (const char* name : {"Command2", "Command3", "Command4", "Option1(0)", "Option1(3)"})
            EXPECT_EQ(Find<QWidget>(QString::fromUtf8(name))->isEnabled(), enabled) << name;
    };

    struct Case { int column; const char* field; bool filters; };
    const Case cases[] = {{0, "Sec", false},       {1, "SipTarih", true}, {2, "TesTarih", true},
                          {3, "SipNo", false},     {4, "Miktar", false},  {5, "KalAdet", false},
                          {6, "CariAdi", true},    {7, "StokAdi", true},  {8, "Görev", false},
                          {9, "Eleman", true},     {10, "Not", false}};
    for (const Case& c : cases) {
        ASSERT_TRUE(GoTo(w.DataSiparis, QStringLiteral("SipNo='T-0010'")));
        ClickCell(OrderGrid(), c.column);
        ASSERT_EQ(OrderGrid()->Col(), c.column);
        const QVariant value = w.DataSiparis.Field(QString::fromUtf8(c.field));
        filter->setChecked(true);
        EXPECT_EQ(filter->isChecked(), c.filters) << c.column;
        if (c.filters) {
            EXPECT_EQ(Find<QLabel>(QStringLiteral("SourceLbl"))->text(), boardSource);
            if (c.column != 2) { // the delivery-date filter also wants lines of the kind
                EXPECT_GT(w.DataSiparis.RecordCount(), 0) << c.column;
            }
            for (w.DataSiparis.MoveFirst(); !w.DataSiparis.EOF(); w.DataSiparis.MoveNext())
                EXPECT_EQ(w.DataSiparis.Field(QString::fromUtf8(c.field)), value) << c.column;
            expectActions(false);
            filter->setChecked(false);
        }
        EXPECT_EQ(w.DataSiparis.RecordSource(), boardSource) << c.column;
        expectActions(true);
    }
    // The filter's tooltip names the column clicked last.
    EXPECT_EQ(filter->toolTip(), QStringLiteral(" Not "));
}

TEST_F(JobCreationTest, OnlyLinesEnteredHereCanBeDeletedWithTheDeleteKey)
{
    AddLine({.sipNo = QStringLiteral("XT-0001"), .kind = QStringLiteral("Kesif")});
    AddLine({.sipNo = QStringLiteral("T-0020"), .kind = QStringLiteral("Kesif")});
    auto& w = Open();
    w.ChooseKind(2);
    auto* grid = OrderGrid();

    ASSERT_TRUE(GoTo(w.DataSiparis, QStringLiteral("SipNo='T-0020'")));
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_EQ(LineCount(QStringLiteral("T-0020")), 1);
    EXPECT_FALSE(played.contains(QStringLiteral("\\Recycle.wav")));

    ASSERT_TRUE(GoTo(w.DataSiparis, QStringLiteral("SipNo='XT-0001'")));
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_EQ(LineCount(QStringLiteral("XT-0001")), 0);
    EXPECT_TRUE(played.contains(QStringLiteral("\\Recycle.wav")));
    EXPECT_TRUE(grid->Highlight());
}

TEST_F(JobCreationTest, UnmarkingASurveyLineClearsItsProductName)
{
    AddLine({.sipNo = QStringLiteral("XT-0002"), .product = QStringLiteral("Keşif: salon"),
             .kind = QStringLiteral("Kesif")});
    auto& w = Open();
    w.ChooseKind(2);
    Mark(QStringLiteral("XT-0002"));
    EXPECT_EQ(LineText(QStringLiteral("XT-0002"), "StokAdi"), QStringLiteral("Keşif: salon"));
    Mark(QStringLiteral("XT-0002"));
    ExpectLine(QStringLiteral("XT-0002"), {{"Sec", QString()}, {"StokAdi", QString()}});
}

TEST_F(JobCreationTest, CtrlAltDoubleClickResetsTheMarkedLines)
{
    AddLine({.sipNo = QStringLiteral("T-0030")});
    AddLine({.sipNo = QStringLiteral("T-0031")});
    auto& w = Open();
    Mark(QStringLiteral("T-0030"));
    Mark(QStringLiteral("T-0031"));
    Orders()->Execute(QStringLiteral("UPDATE Siparisler SET Görev='Montaj', Eleman='Eski' WHERE SipNo='T-0031'"));
    ASSERT_TRUE(GoTo(w.DataSiparis, QStringLiteral("SipNo='T-0030'")));
    DoubleClickCell(OrderGrid(), 3, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(OrdersNumber(QStringLiteral("Select Count(*) From Siparisler Where Sec='X'")), 0);
    ExpectLine(QStringLiteral("T-0031"), {{"Görev", QString()}, {"Eleman", QString()}});
}

TEST_F(JobCreationTest, CtrlClickCopiesTheCell)
{
    AddLine({.sipNo = QStringLiteral("T-0040"), .customer = QStringLiteral("Şükrü Işık")});
    auto& w = Open();
    ASSERT_TRUE(GoTo(w.DataSiparis, QStringLiteral("SipNo='T-0040'")));
    QApplication::clipboard()->setText(QStringLiteral("önceki"));
    ClickCell(OrderGrid(), 6, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("Şükrü Işık"));
}

TEST_F(JobCreationTest, NamesWithASingleQuoteWorkInEveryPath)
{
    AddLine({.sipNo = QStringLiteral("T-0050"), .customer = QStringLiteral("Ahmet'in Yeri"),
             .note = QStringLiteral("Kapı kodu '12'")});
    AddLine({.sipNo = QStringLiteral("T-0051"), .customer = QStringLiteral("Ahmet'in Yeri")});
    auto& w = Open();
    const QString staff = QStringLiteral("O'Brien Usta");
    MakeJobs({QStringLiteral("T-0050")}, staff);
    EXPECT_EQ(Jobs()->Scalar(QStringLiteral("Select Unvan From Montaj Where SipNo='T-0050'")).toString(),
              QStringLiteral("Ahmet'in Yeri"));
    EXPECT_EQ(Jobs()->Scalar(QStringLiteral("Select [Not] From Montaj Where SipNo='T-0050'")).toString(),
              QStringLiteral("Kapı kodu '12'"));
    MakeJobs({QStringLiteral("T-0051")}, staff);
    EXPECT_EQ(DayRows("Montaj", staff), 1) << "the staff member was found again by name";
    EXPECT_TRUE(prompt.shown.empty());

    // The first-letter search and the filter on the customer column.
    ASSERT_TRUE(GoTo(w.DataSiparis, QStringLiteral("SipNo='T-0050'")));
    ClickCell(OrderGrid(), 6);
    Find<QCheckBox>(QStringLiteral("Check1"))->setChecked(true);
    EXPECT_EQ(w.DataSiparis.RecordCount(),
              OrdersNumber(QStringLiteral("Select Count(*) From Siparisler Where CariAdi=")
                           + SqlText(QStringLiteral("Ahmet'in Yeri"))));
    EXPECT_GE(w.DataSiparis.RecordCount(), 2);
    Find<QCheckBox>(QStringLiteral("Check1"))->setChecked(false);
    w.DataSiparis.MoveFirst();
    QTest::keyClicks(OrderGrid(), QStringLiteral("A"));
    EXPECT_TRUE(w.DataSiparis.Field(QStringLiteral("CariAdi")).toString().startsWith(QLatin1Char('A'), Qt::CaseInsensitive));
}

TEST_F(JobCreationTest, TypingALetterFindsTheNextCustomerOrProductWithIt)
{
    auto& w = Open();
    auto* grid = OrderGrid();
    const int customer = w.DataSiparis.FieldIndex(QStringLiteral("CariAdi"));
    // The next line after `from` whose customer starts with the letter, from the top when none follows.
    auto expected = [&](int from, QChar letter) {
        const int n = w.DataSiparis.RecordCount();
        for (int step = 1; step <= n; ++step) {
            const int row = (from + step) % n;
            if (w.DataSiparis.ValueAt(row, customer).toString().startsWith(letter, Qt::CaseInsensitive))
                return from + step < n ? row : -1 - row; // -1-row: found again from the top
        }
        return -1;
    };
    w.DataSiparis.MoveFirst();
    ClickCell(grid, 6);
    for (int press = 0; press < 3; ++press) {
        const int from = w.DataSiparis.AbsolutePosition();
        int want = expected(from, QLatin1Char('a'));
        ASSERT_NE(want, -1);
        if (want < 0)
            want = -1 - want;
        QTest::keyClick(grid, Qt::Key_A, Qt::NoModifier);
        EXPECT_EQ(w.DataSiparis.AbsolutePosition(), want) << "press " << press;
    }
    // In a column without the search a letter moves nothing.
    grid->setCol(3);
    const int at = w.DataSiparis.AbsolutePosition();
    QTest::keyClicks(grid, QStringLiteral("2a"));
    EXPECT_EQ(w.DataSiparis.AbsolutePosition(), at);
}

// "#" and "[" typed in the customer column are the first letters of a name,
// not a digit pattern or the start of a character list.
TEST_F(JobCreationTest, TypingAPatternCharacterFindsANameThatStartsWithIt)
{
    for (const auto& [sipNo, customer] : {std::pair{"T-0060", "#1 Yapı Market"}, std::pair{"T-0061", "[Depo] Elektrik"},
                                          std::pair{"T-0062", "9 Eylül Mobilya"}})
        AddLine({.sipNo = QString::fromUtf8(sipNo), .customer = QString::fromUtf8(customer)});
    auto& w = Open();
    auto* grid = OrderGrid();
    for (const auto& [typed, customer] : {std::pair{"#", "#1 Yapı Market"}, std::pair{"[", "[Depo] Elektrik"}}) {
        w.DataSiparis.MoveFirst();
        ClickCell(grid, 6);
        QTest::keyClicks(grid, QString::fromUtf8(typed));
        EXPECT_EQ(w.DataSiparis.Field(QStringLiteral("CariAdi")).toString(), QString::fromUtf8(customer)) << typed;
    }
}

// Making jobs of several lines reads each list once and moves the grids once:
// a grid that followed the loop would report every line it passed (and the
// customer detail and buttons wired to it would run for each), and a list
// read twice costs its query twice on a large store.
TEST_F(JobCreationTest, ManyLinesMoveTheGridsOnceAndReadEachListOnce)
{
    QStringList numbers;
    for (int i = 40; i < 52; ++i) {
        numbers << QStringLiteral("T-%1").arg(i, 4, 10, QLatin1Char('0'));
        AddLine({.sipNo = numbers.back()});
    }
    auto& w = Open();
    for (const QString& n : numbers)
        Mark(n);
    QSignalSpy orderRows(OrderGrid(), &ui::DataGrid::rowChanged);
    QSignalSpy jobRows(JobGrid(), &ui::DataGrid::rowChanged);
    QSignalSpy orderReads(&w.DataSiparis, &store::RecordView::refreshed);
    QSignalSpy staffReads(&w.DataSipEleman, &store::RecordView::refreshed);
    Create(QStringLiteral("Test Usta"));

    EXPECT_EQ(JobCount(QStringLiteral("Eleman='Test Usta'")), numbers.size());
    // Once or twice (the job grid also takes the focus), never once per line.
    EXPECT_LE(orderRows.count(), 2);
    EXPECT_LE(jobRows.count(), 2);
    // The marked lines, then the board's list; the day's staff rows once.
    EXPECT_EQ(orderReads.count(), 2);
    EXPECT_EQ(staffReads.count(), 1);
    EXPECT_TRUE(w.updatesEnabled());
    // The job grid stands on the first new job.
    EXPECT_EQ(w.DataGörev.Field(QStringLiteral("SipNo")).toString(), numbers.front());
}
