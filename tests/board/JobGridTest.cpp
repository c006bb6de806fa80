#include "BoardFixture.h"



using store::SqlText;

// Every test starts from jobs made on the board itself, on lines of its own.
using JobGridTest = UnmarkedBoardTest;

TEST_F(JobGridTest, DoneAndCancelledKeepTheQuantityDoneInStep)
{
    AddLine({.sipNo = QStringLiteral("J-0001"), .quantity = 5, .open = 5});
    Open();
    MakeJobs({QStringLiteral("J-0001")}, QStringLiteral("Usta Bir"));
    const QString s = QStringLiteral("J-0001");

    SelectJob(s);
    DoubleClickCell(JobGrid(), 4); // done with nothing entered: all of it
    EXPECT_EQ(Job(s, "Tamam"), 1);
    EXPECT_EQ(Job(s, "Kalan"), 5);
    EXPECT_TRUE(JobGrid()->Column(7).locked);

    DoubleClickCell(JobGrid(), 4); // undone: nothing done
    EXPECT_EQ(Job(s, "Tamam"), 0);
    EXPECT_EQ(Job(s, "Kalan"), 0);
    EXPECT_FALSE(JobGrid()->Column(7).locked);

    Jobs()->Execute(QStringLiteral("UPDATE Montaj SET Kalan=3 WHERE SipNo='J-0001'"));
    window->DataGörev.Refresh();
    SelectJob(s);
    QTest::keyClick(JobGrid(), Qt::Key_T); // done with 3 entered keeps 3
    EXPECT_EQ(Job(s, "Tamam"), 1);
    EXPECT_EQ(Job(s, "Kalan"), 3);

    QTest::keyClick(JobGrid(), Qt::Key_I); // "I" on a done job does nothing
    EXPECT_EQ(Job(s, "Iptal"), 0);
    DoubleClickCell(JobGrid(), 5);         // nor does a double click on "İptal"
    EXPECT_EQ(Job(s, "Iptal"), 0);

    QTest::keyClick(JobGrid(), Qt::Key_T);
    QTest::keyClick(JobGrid(), Qt::Key_I); // cancelled: nothing done
    EXPECT_EQ(Job(s, "Iptal"), 1);
    EXPECT_EQ(Job(s, "Kalan"), 0);
    QTest::keyClick(JobGrid(), Qt::Key_T); // "T" on a cancelled job does nothing
    EXPECT_EQ(Job(s, "Tamam"), 0);
    EXPECT_TRUE(JobGrid()->Column(7).locked);
}

TEST_F(JobGridTest, TogglesNeedTheLineInTheListAndNoLaterJob)
{
    AddLine({.sipNo = QStringLiteral("J-0002")});
    AddLine({.sipNo = QStringLiteral("J-0003")});
    auto& w = Open();
    MakeJobs({QStringLiteral("J-0002"), QStringLiteral("J-0003")}, QStringLiteral("Usta Bir"));

    // A later job of the same kind for the order.
    Jobs()->Execute(QStringLiteral("INSERT INTO Montaj (Eleman, Görev, Tarih, SipNo, Adet) VALUES "
                                   "('Usta Bir', 'Montaj', ")
                    + store::DateLiteral(Today().addDays(3)) + QStringLiteral(", 'J-0002', 4)"));
    // A line no longer offered for installation.
    Orders()->Execute(QStringLiteral("UPDATE Siparisler SET KalAdet=0 WHERE SipNo='J-0003'"));
    w.ReloadBoardLists();

    for (const char* sipNo : {"J-0002", "J-0003"}) {
        SelectJob(QString::fromUtf8(sipNo));
        QTest::keyClick(JobGrid(), Qt::Key_T);
        DoubleClickCell(JobGrid(), 5);
        EXPECT_EQ(JobCount(QStringLiteral("SipNo='%1' And (Tamam=True Or Iptal=True)").arg(QString::fromUtf8(sipNo))),
                  0) << sipNo;
    }
}

TEST_F(JobGridTest, TheQuantityDoneTakesNumbersUpToTheJobsQuantity)
{
    AddLine({.sipNo = QStringLiteral("J-0004"), .quantity = 4, .open = 4});
    AddLine({.sipNo = QStringLiteral("J-0011"), .delivered = 2, .kind = QStringLiteral("Montaj"), .installed = true});
    auto& w = Open();
    MakeJobs({QStringLiteral("J-0004")}, QStringLiteral("Usta Bir"));
    w.ChooseKind(1);
    MakeJobs({QStringLiteral("J-0011")}, QStringLiteral("Servisçi")); // a first service job: Adet 0

    // Typed into the unlocked cell of a planned job; what is stored and shown.
    struct Case { int kind; const char* sipNo; const char* typed; double stored; };
    const Case cases[] = {
        {0, "J-0004", "3", 3},  // within the job's quantity
        {0, "J-0004", "7", 4},  // above it: the job's quantity
        {0, "J-0004", "x", 4},  // not a number: the previous value, no message
        {0, "J-0004", "-2", 4}, // below zero: the same
        {1, "J-0011", "2", 2},  // a service job's quantity counts earlier work, it caps nothing
    };
    for (const Case& c : cases) {
        w.ChooseKind(c.kind);
        const QString sipNo = QString::fromUtf8(c.sipNo);
        const QString kind = c.kind == 0 ? QStringLiteral("Montaj") : QStringLiteral("Servis");
        SelectJob(sipNo);
        TypeQuantity(QString::fromUtf8(c.typed));
        EXPECT_EQ(Job(sipNo, "Kalan", kind), c.stored) << c.typed;
        EXPECT_EQ(JobGrid()->CellText(7), QString::number(c.stored)) << c.typed;
    }
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(JobGridTest, ALockedQuantityIsCappedAtTheJobsQuantityInInstallation)
{
    AddLine({.sipNo = QStringLiteral("J-0005"), .quantity = 4, .open = 4});
    Open();
    MakeJobs({QStringLiteral("J-0005")}, QStringLiteral("Usta Bir"));
    Jobs()->Execute(QStringLiteral("UPDATE Montaj SET Kalan=9 WHERE SipNo='J-0005'"));
    window->DataGörev.Refresh();
    SelectJob(QStringLiteral("J-0005"));
    bool cancel = false;

    emit JobGrid()->beforeUpdate(&cancel); // unlocked: left as it is
    EXPECT_EQ(Job(QStringLiteral("J-0005"), "Kalan"), 9);

    QTest::keyClick(JobGrid(), Qt::Key_T); // done: the cell locks
    ASSERT_TRUE(JobGrid()->Column(7).locked);
    emit JobGrid()->beforeUpdate(&cancel);
    EXPECT_EQ(Job(QStringLiteral("J-0005"), "Kalan"), 4);
}

TEST_F(JobGridTest, AnInstallationWithAServiceThatDayWaitsForTheServiceToGo)
{
    AddLine({.sipNo = QStringLiteral("J-0009"), .delivered = 2});
    auto& w = Open();
    MakeJobs({QStringLiteral("J-0009")}, QStringLiteral("Montajcı"));
    w.ChooseKind(1);
    MakeJobs({QStringLiteral("J-0009")}, QStringLiteral("Servisçi"));
    ASSERT_EQ(Job(QStringLiteral("J-0009"), "Count(*)", QStringLiteral("Servis")), 1);

    w.ChooseKind(0);
    SelectJob(QStringLiteral("J-0009"));
    PressDelete();
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, QStringLiteral("Önce Servisini Silin...."));
    EXPECT_EQ(Job(QStringLiteral("J-0009"), "Count(*)"), 1);
    EXPECT_EQ(Job(QStringLiteral("J-0009"), "Count(*)", QStringLiteral("Servis")), 1);

    // The service goes first; the line goes back to its installer.
    w.ChooseKind(1);
    SelectJob(QStringLiteral("J-0009"));
    PressDelete();
    EXPECT_EQ(Job(QStringLiteral("J-0009"), "Count(*)", QStringLiteral("Servis")), 0);
    ExpectLine(QStringLiteral("J-0009"), {{"Görev", QStringLiteral("Montaj")},
                                          {"Eleman", QStringLiteral("Montajcı")}, {"Servis", QStringLiteral("0")}});
    EXPECT_EQ(DayRows("Servis", QStringLiteral("Servisçi")), 0);

    w.ChooseKind(0);
    SelectJob(QStringLiteral("J-0009"));
    PressDelete();
    EXPECT_EQ(Job(QStringLiteral("J-0009"), "Count(*)"), 0);
}

TEST_F(JobGridTest, NotesAreCutTo200AndCancellingKeepsThem)
{
    AddLine({.sipNo = QStringLiteral("J-0010"), .note = QStringLiteral("eski not")});
    auto& w = Open();
    MakeJobs({QStringLiteral("J-0010")}, QStringLiteral("Usta Bir"));
    w.DataDetay.Refresh(); // the detail list holds the installation jobs
    ASSERT_TRUE(GoTo(w.DataSiparis, QStringLiteral("SipNo='J-0010'")));
    auto* note = Find<QAction>(QStringLiteral("Notu"));

    prompt.inputs.push_back(std::nullopt); // cancelled
    note->trigger();
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, QStringLiteral("Not Girin"));
    EXPECT_EQ(prompt.shown[0].title, QStringLiteral("Not Girişi"));
    EXPECT_EQ(LineText(QStringLiteral("J-0010"), "[Not]"), QStringLiteral("eski not"));

    const QString longNote = QString(250, QLatin1Char('n')).replace(0, 3, QStringLiteral("İş'"));
    prompt.inputs.push_back(longNote);
    note->trigger();
    EXPECT_EQ(LineText(QStringLiteral("J-0010"), "[Not]"), longNote.left(200));
    EXPECT_EQ(Jobs()->Scalar(QStringLiteral("Select [Not] From Montaj Where SipNo='J-0010'")).toString(),
              longNote.left(200));

    prompt.inputs.push_back(QString()); // emptied on purpose
    note->trigger();
    EXPECT_EQ(LineText(QStringLiteral("J-0010"), "[Not]"), QString());
}

TEST_F(JobGridTest, TheWholeRoadOfAJobOnTheDemoData)
{
    AddLine({.sipNo = QStringLiteral("J-0100"), .customer = QStringLiteral("Yol Testi A.Ş."), .quantity = 3,
             .open = 3});
    auto& w = Open();
    const QString staff = w.DataElaman.ValueAt(0, w.DataElaman.FieldIndex(QStringLiteral("Unvan"))).toString();
    const auto done = [&] {
        return JobsNumber(QStringLiteral("Select Sum(Kalan) From Montaj Where Eleman=") + SqlText(staff)
                          + QStringLiteral(" And Tamam=True And Iptal=False"));
    };
    const double doneBefore = done();
    MakeJobs({QStringLiteral("J-0100")}, staff);
    SelectJob(QStringLiteral("J-0100"));
    DoubleClickCell(JobGrid(), 4);
    EXPECT_EQ(done(), doneBefore + 3);
    EXPECT_EQ(JobCount(QStringLiteral("SipNo='J-0100' And Tamam=True And Tarih=#12/07/2026# And "
                                      "Unvan='Yol Testi A.Ş.'")),
              1);
    EXPECT_TRUE(Find<QPushButton>(QStringLiteral("Command1(2)"))->isEnabled());
}
