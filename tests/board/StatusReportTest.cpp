#include "BoardFixture.h"

#include "board/StatusReport.h"

#include <QStatusBar>
#include <functional>


namespace {

const QString usta = QStringLiteral("Usta Bir");
const QString t1 = QStringLiteral("S-0001"), t2 = QStringLiteral("S-0002");

// Every board action leaves one sentence in the status bar; each case acts
// as a user would, then reads the status bar and what the stores hold.
class StatusReportTest : public UnmarkedBoardTest {
public:
    QString Said() const { return window->statusBar()->currentMessage(); }
    double JobsOf(const QString& sipNo) const { return JobCount(SipNoIs(sipNo)); }
    // A job for the first line, current in the job grid.
    void PlanFirst()
    {
        MakeJobs({t1}, usta);
        SelectJob(t1);
    }
    QString DayText() const { return Today().toString(QStringLiteral("dd.MM.yyyy")); }
};

struct Case {
    const char* what;
    std::function<void(StatusReportTest&)> act;
    std::function<QString(StatusReportTest&)> expected;
    std::function<void(StatusReportTest&)> stores; // what the user finds in the files afterwards
};
void PrintTo(const Case& c, std::ostream* os) { *os << c.what; }

// A sentence that does not depend on what the action wrote.
std::function<QString(StatusReportTest&)> Says(const char* text)
{
    return [text](StatusReportTest&) { return QString::fromUtf8(text); };
}

// Each case gets a fresh copy of the data and a fresh window.
class StatusReportCase : public StatusReportTest, public ::testing::WithParamInterface<Case> {};

TEST_P(StatusReportCase, TheStatusBarSaysWhatTheActionDid)
{
    const Case& c = GetParam();
    AddLine({.sipNo = t1});
    AddLine({.sipNo = t2});
    Open();
    c.act(*this);
    EXPECT_EQ(Said().toStdString(), c.expected(*this).toStdString());
    c.stores(*this);
}

// Acts that need a planned job, current in the job grid, first.
std::function<void(StatusReportTest&)> OnPlanned(std::function<void(StatusReportTest&)> then)
{
    return [then](StatusReportTest& t) {
        t.PlanFirst();
        then(t);
    };
}
void Press(StatusReportTest& t, Qt::Key key) { QTest::keyClick(t.JobGrid(), key); }

INSTANTIATE_TEST_SUITE_P(
    BoardActions, StatusReportCase,
    ::testing::Values(
        Case{"jobs created", [](StatusReportTest& t) { t.MakeJobs({t1, t2}, usta); },
             [](StatusReportTest& t) {
                 return QStringLiteral("2 Montaj görevi eklendi: Usta Bir, %1 (parti no %2).")
                     .arg(t.DayText(), QString::number(t.Job(t1, "RecNo"), 'f', 0));
             },
             [](StatusReportTest& t) {
                 EXPECT_EQ(t.JobsOf(t1), 1);
                 EXPECT_EQ(t.JobsOf(t2), 1);
                 EXPECT_EQ(t.Job(t1, "RecNo"), t.Job(t2, "RecNo"));
             }},
        Case{"nothing marked", [](StatusReportTest& t) { t.Create(usta); },
             Says("İşaretli satır yok: görev eklenmedi. Satırları \"Seç\" sütununa çift tıklayarak işaretleyin."),
             [](StatusReportTest& t) { EXPECT_EQ(t.JobsOf(t1), 0); }},
        Case{"line marked", [](StatusReportTest& t) { t.Mark(t1); }, Says("S-0001 işaretlendi."),
             [](StatusReportTest& t) { EXPECT_EQ(t.LineText(t1, "Sec"), QStringLiteral("X")); }},
        Case{"mark refused while a job is planned", OnPlanned([](StatusReportTest& t) { t.Mark(t1); }),
             Says("S-0001 işaretlenemez: planlanmış bir Montaj görevi var."),
             [](StatusReportTest& t) { EXPECT_EQ(t.LineText(t1, "Sec"), QString()); }},
        Case{"job done", OnPlanned([](StatusReportTest& t) { Press(t, Qt::Key_T); }),
             Says("S-0001 (Deneme Müşteri) görevi tamamlandı."),
             [](StatusReportTest& t) { EXPECT_EQ(t.Job(t1, "Tamam"), 1); }},
        Case{"job cancelled", OnPlanned([](StatusReportTest& t) { Press(t, Qt::Key_I); }),
             Says("S-0001 (Deneme Müşteri) görevi iptal edildi."),
             [](StatusReportTest& t) { EXPECT_EQ(t.Job(t1, "Iptal"), 1); }},
        Case{"quantity stored", OnPlanned([](StatusReportTest& t) { t.TypeQuantity(QStringLiteral("3")); }),
             Says("S-0001: yapılan adet 3 olarak kaydedildi."),
             [](StatusReportTest& t) { EXPECT_EQ(t.Job(t1, "Kalan"), 3); }},
        Case{"number refused", OnPlanned([](StatusReportTest& t) { t.TypeQuantity(QStringLiteral("x")); }),
             Says("\"x\" yapılan adet olarak alınmadı: sıfır ya da daha büyük bir sayı yazın."),
             [](StatusReportTest& t) { EXPECT_EQ(t.Job(t1, "Kalan"), 0); }},
        Case{"job deleted", OnPlanned([](StatusReportTest& t) { t.PressDelete(); }),
             Says("S-0001 (Deneme Müşteri) görevi silindi."),
             [](StatusReportTest& t) { EXPECT_EQ(t.JobsOf(t1), 0); }},
        Case{"a done job stays", OnPlanned([](StatusReportTest& t) {
                 Press(t, Qt::Key_T);
                 t.PressDelete();
             }),
             Says("S-0001 silinmedi: tamamlanan ya da iptal edilen görev silinmez."),
             [](StatusReportTest& t) { EXPECT_EQ(t.JobsOf(t1), 1); }},
        Case{"store busy",
             [](StatusReportTest& t) {
                 t.Mark(t1);
                 // Another program holds the job store's write lock.
                 t.WhileHeld(t.Store("Montaj.mdb"), "BEGIN IMMEDIATE", [&] { t.Create(usta); });
             },
             Says("Veri dosyası meşgul: başka bir işlem kullanıyor. İşlem yapılmadı; biraz sonra yeniden deneyin."),
             [](StatusReportTest& t) {
                 EXPECT_EQ(t.JobsOf(t1), 0);
                 EXPECT_EQ(t.LineText(t1, "Sec"), QStringLiteral("X")); // still marked for the next try
             }}),
    [](const ::testing::TestParamInfo<Case>& info) {
        return QString::fromUtf8(info.param.what).replace(QLatin1Char(' '), QLatin1Char('_')).toStdString();
    });

TEST_F(StatusReportTest, F5KeepsTheCurrentLineAndSaysSo)
{
    AddLine({.sipNo = QStringLiteral("S-0001")});
    auto& w = Open();
    ASSERT_TRUE(GoTo(w.DataSiparis, QStringLiteral("SipNo='S-0001'")));
    const int lines = w.DataSiparis.RecordCount();
    OrderGrid()->setFocus();
    QTest::keyClick(OrderGrid(), Qt::Key_F5);
    EXPECT_EQ(w.DataSiparis.Field(QStringLiteral("SipNo")).toString(), QStringLiteral("S-0001"));
    EXPECT_EQ(Said(), QStringLiteral("Sipariş satırları yeniden okundu: %1 satır.").arg(QLocale().toString(lines)));

    // A line gone meanwhile: the row at its place becomes current, not the first.
    const int position = w.DataSiparis.AbsolutePosition();
    Orders()->Execute(QStringLiteral("DELETE FROM Siparisler WHERE SipNo='S-0001'"));
    QTest::keyClick(OrderGrid(), Qt::Key_F5);
    EXPECT_EQ(w.DataSiparis.AbsolutePosition(), qMin(position, w.DataSiparis.RecordCount() - 1));
}

} // namespace
