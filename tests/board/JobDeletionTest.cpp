#include "BoardFixture.h"


using store::SqlText;

namespace {

class JobDeletionTest : public UnmarkedBoardTest {
protected:
    // What the deletion may touch, read from the stores: the line's jobs of
    // every day, the board day's installation registrations, the line itself.
    struct Snapshot {
        std::vector<Row> jobs, dayRows, line;
    };
    static void ExpectUnchanged(const Snapshot& now, const Snapshot& before)
    {
        EXPECT_EQ(now.jobs, before.jobs);
        EXPECT_EQ(now.dayRows, before.dayRows);
        EXPECT_EQ(now.line, before.line);
    }
    Snapshot Take(const QString& sipNo, const char* kind = "Montaj") const
    {
        return {Rows(data.jobs(), QStringLiteral("Select * From Montaj Where SipNo=") + SqlText(sipNo)
                                      + QStringLiteral(" Order By RecNo")),
                Rows(data.orders(), QStringLiteral("Select * From ") + QString::fromUtf8(kind)
                                        + QStringLiteral(" Where Tarih=") + store::DateLiteral(Today())
                                        + QStringLiteral(" Order By Eleman, SipNo")),
                Rows(data.orders(), QStringLiteral("Select * From Siparisler Where SipNo=") + SqlText(sipNo))};
    }
    static std::vector<Row> Without(std::vector<Row> rows, const char* field, const std::string& value)
    {
        std::erase_if(rows, [&](const Row& r) { return r.at(field) == value; });
        return rows;
    }
    int Recycled() const { return int(played.count(QStringLiteral("\\Recycle.wav"))); }
};

// Two jobs of one order line on the board day: an earlier one that is done or
// cancelled, and a planned one made after it.
struct SameLineCase {
    const char* name;
    bool firstCancelled;
    const char* firstStaff;
    const char* secondStaff;
};

void PrintTo(const SameLineCase& c, std::ostream* os) { *os << c.name; }

class SameLineJobs : public JobDeletionTest, public ::testing::WithParamInterface<SameLineCase> {};

TEST_P(SameLineJobs, DeleteActsOnTheChosenJobAndTheLineKeepsTheOtherOne)
{
    const SameLineCase& c = GetParam();
    const QString sipNo = QStringLiteral("D-0001");
    const QString first = QString::fromUtf8(c.firstStaff), second = QString::fromUtf8(c.secondStaff);
    AddLine({.sipNo = sipNo, .quantity = 5, .open = 5});
    Open();
    MakeJobs({sipNo}, first);
    SetJobs(sipNo, c.firstCancelled ? QStringLiteral("Iptal=True") : QStringLiteral("Tamam=True, Kalan=2"));
    MakeJobs({sipNo}, second);
    ASSERT_EQ(Job(sipNo, "Count(*)"), 2);
    const QString closed = c.firstCancelled ? QStringLiteral("Iptal=True") : QStringLiteral("Tamam=True");

    // Delete on the done or cancelled job: refused, every row as it was.
    const Snapshot before = Take(sipNo);
    SelectJobWhere(QStringLiteral("SipNo='D-0001' And ") + closed);
    PressDelete();
    ExpectUnchanged(Take(sipNo), before);
    EXPECT_EQ(Recycled(), 0);

    // Delete on the planned job: that job goes, the other stays untouched,
    // and the line is the other job's again.
    SelectJobWhere(QStringLiteral("SipNo='D-0001' And Tamam=False And Iptal=False"));
    PressDelete();
    const Snapshot after = Take(sipNo);
    ASSERT_EQ(before.jobs.size(), 2u);
    EXPECT_EQ(after.jobs, std::vector<Row>{before.jobs[0]}) << "the earlier job, as it was";
    EXPECT_EQ(after.jobs[0].at("Eleman"), c.firstStaff);
    // A staff member keeps the day's registration while a job of theirs is left that day.
    EXPECT_EQ(after.dayRows, first == second ? before.dayRows : Without(before.dayRows, "Eleman", c.secondStaff));
    Row line = before.line.at(0);
    line["Eleman"] = c.firstStaff;
    EXPECT_EQ(after.line, std::vector<Row>{line});
    EXPECT_EQ(line.at("Görev"), "Montaj");
    EXPECT_EQ(line.at("Montaj"), "true");
    EXPECT_EQ(Recycled(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Board, SameLineJobs,
    ::testing::Values(SameLineCase{"DoneThenPlanned", false, "Usta Bir", "Usta İki"},
                      SameLineCase{"CancelledThenPlanned", true, "Usta Bir", "Usta İki"},
                      SameLineCase{"CancelledThenPlannedSameStaff", true, "Usta Bir", "Usta Bir"}),
    [](const ::testing::TestParamInfo<SameLineCase>& info) { return std::string(info.param.name); });

TEST_F(JobDeletionTest, TheLastJobPutsTheLineBackAndTheRegistrationGoesWhicheverBatchMadeIt)
{
    const struct {
        const char* staff;
        QStringList sipNos;
        bool oneBatch; // else two actions, two batches: the registration carries the first
    } cases[] = {
        {"Usta İki", {QStringLiteral("D-0006"), QStringLiteral("D-0007")}, true},
        {"Usta Üç", {QStringLiteral("D-0010"), QStringLiteral("D-0011")}, false},
    };
    for (const auto& c : cases)
        for (const QString& s : c.sipNos)
            AddLine({.sipNo = s});
    auto& w = Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.staff);
        const QString staff = QString::fromUtf8(c.staff);
        if (c.oneBatch)
            MakeJobs(c.sipNos, staff);
        else
            for (const QString& s : c.sipNos)
                MakeJobs({s}, staff);
        ASSERT_EQ(Job(c.sipNos[0], "RecNo") == Job(c.sipNos[1], "RecNo"), c.oneBatch);
        ASSERT_EQ(DayRows("Montaj", staff), 1);

        SelectJob(c.sipNos[0]);
        PressDelete();
        EXPECT_EQ(Job(c.sipNos[0], "Count(*)"), 0);
        EXPECT_EQ(DayRows("Montaj", staff), 1) << "a job of theirs is left today";
        SelectJob(c.sipNos[1]);
        PressDelete();
        EXPECT_EQ(Job(c.sipNos[1], "Count(*)"), 0);
        EXPECT_EQ(DayRows("Montaj", staff), 0);
        EXPECT_FALSE(GoTo(w.DataSipEleman, QStringLiteral("Eleman=") + SqlText(staff)));
        for (const QString& s : c.sipNos) {
            ExpectLine(s, {{"Görev", QString()}, {"Eleman", QString()}, {"Montaj", QStringLiteral("0")}});
            EXPECT_TRUE(GoTo(w.DataSiparis, SipNoIs(s))) << "the line can be scheduled again";
        }
    }
    EXPECT_EQ(Recycled(), 4);
}

TEST_F(JobDeletionTest, AFailureMidWayChangesNothingAndSoundsNothing)
{
    // Each deletion fails on the table it writes last; the store files must
    // come out of it as they went in.
    struct Case {
        const char* name;
        int kind;
        const char* sipNo;
        const char* lineKind;
        const char* dayTable;
        const char* failing; // the statement that fails, as a trigger
        bool fromOrderList;
    };
    const Case cases[] = {
        {"installation job", 0, "D-0020", "", "Montaj", "BEFORE UPDATE ON Siparisler", false},
        {"survey line", 2, "XD-0021", "Kesif", "Kesif", "BEFORE DELETE ON Kesif", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString sipNo = QString::fromUtf8(c.sipNo);
        AddLine({.sipNo = sipNo, .kind = QString::fromUtf8(c.lineKind)});
        auto& w = Open();
        w.ChooseKind(c.kind);
        MakeJobs({sipNo}, QStringLiteral("Usta Dört"));
        const Snapshot before = Take(sipNo, c.dayTable);
        ASSERT_EQ(before.jobs.size(), 1u);
        ASSERT_FALSE(before.dayRows.empty());
        Orders()->ExecuteNative(QStringLiteral("CREATE TRIGGER KayitKilidi %1 BEGIN "
                                               "SELECT RAISE(ABORT, 'kayıt kilitli'); END")
                                    .arg(QString::fromUtf8(c.failing)));
        played.clear();
        prompt.shown.clear();
        const auto remove = [&] {
            if (c.fromOrderList) {
                DeleteFromOrderList(sipNo);
            } else {
                SelectJob(sipNo);
                PressDelete();
            }
        };

        remove();
        ExpectUnchanged(Take(sipNo, c.dayTable), before);
        EXPECT_EQ(Recycled(), 0);
        ASSERT_EQ(prompt.shown.size(), 1u);
        EXPECT_TRUE(prompt.shown[0].text.contains(QStringLiteral("kayıtlar değişmedi")))
            << prompt.shown[0].text.toStdString();

        // With the store writable again the same deletion goes through.
        Orders()->ExecuteNative(QStringLiteral("DROP TRIGGER KayitKilidi"));
        remove();
        EXPECT_EQ(Job(sipNo, "Count(*)", w.CurrentKind), 0);
        EXPECT_EQ(DayRows(c.dayTable, QStringLiteral("Usta Dört")), 0) << "their last job of the day went";
        EXPECT_EQ(LineCount(sipNo), c.fromOrderList ? 0 : 1);
        EXPECT_EQ(Recycled(), 1);
    }
}

TEST_F(JobDeletionTest, SatirSilLooksAtTheSurveyJobOfTheLineBeingDeleted)
{
    AddLine({.sipNo = QStringLiteral("XD-0030"), .kind = QStringLiteral("Kesif")});
    AddLine({.sipNo = QStringLiteral("XD-0031"), .kind = QStringLiteral("Kesif")});
    auto& w = Open();
    w.ChooseKind(2);
    MakeJobs({QStringLiteral("XD-0030"), QStringLiteral("XD-0031")}, QStringLiteral("Keşifçi"));
    SelectJob(QStringLiteral("XD-0030"));
    QTest::keyClick(JobGrid(), Qt::Key_T);
    ASSERT_EQ(Job(QStringLiteral("XD-0030"), "Tamam", QStringLiteral("Kesif")), 1);

    // The job grid shows the other line's planned job; the line deleted is the done one's.
    for (const char* sipNo : {"XD-0030", "XD-0031"}) {
        SelectJob(QStringLiteral("XD-0031"));
        DeleteFromOrderList(QString::fromUtf8(sipNo));
    }
    EXPECT_EQ(LineCount(QStringLiteral("XD-0030")), 1) << "its survey is done: the line stays";
    EXPECT_EQ(Job(QStringLiteral("XD-0030"), "Count(*)", QStringLiteral("Kesif")), 1);
    EXPECT_EQ(LineCount(QStringLiteral("XD-0031")), 0);
    EXPECT_EQ(Job(QStringLiteral("XD-0031"), "Count(*)", QStringLiteral("Kesif")), 0);
    EXPECT_EQ(DayRows("Kesif", QStringLiteral("Keşifçi")), 1) << "the done survey is still theirs today";
    EXPECT_EQ(Recycled(), 1);
}

} // namespace
