#include "BoardFixture.h"

#include "app/SingleInstance.h"
#include "store/RecordView.h"
#include "ui/DataCombo.h"
#include "ui/DataGrid.h"
#include "ui/DatePicker.h"

#include <QAbstractEventDispatcher>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QMap>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTest>

#include <sqlite3.h>

namespace {

struct OrderLine {
    QString sipNo, gorev, stokKod, sec;
    QDate sipTarih;
    double kalAdet = 0, tesAdet = 0;
    bool montaj = false;
};

// Every order line of the store, read whole: the board's lists are checked
// against this, not against the board's own queries.
std::vector<OrderLine> AllOrderLines(const QString& path)
{
    const auto all = testsupport::OpenView(path, QStringLiteral("Siparisler"));
    std::vector<OrderLine> lines;
    for (; !all->EOF(); all->MoveNext()) {
        OrderLine l;
        l.sipNo = all->Field(QStringLiteral("SipNo")).toString();
        l.gorev = all->Field(QStringLiteral("Görev")).toString();
        l.stokKod = all->Field(QStringLiteral("StokKod")).toString();
        l.sec = all->Field(QStringLiteral("Sec")).toString();
        l.sipTarih = all->Field(QStringLiteral("SipTarih")).toDateTime().date();
        l.kalAdet = all->Field(QStringLiteral("KalAdet")).toDouble();
        l.tesAdet = all->Field(QStringLiteral("TesAdet")).toDouble();
        l.montaj = all->Field(QStringLiteral("Montaj")).toBool();
        lines.push_back(l);
    }
    return lines;
}

bool Offered(const OrderLine& l, const QString& kind)
{
    const bool product = !l.stokKod.isEmpty();
    if (kind == QStringLiteral("Montaj"))
        return l.gorev != QStringLiteral("Kesif") && l.kalAdet > 0 && product;
    if (kind == QStringLiteral("Servis"))
        return l.gorev != QStringLiteral("Kesif") && l.gorev != QStringLiteral("Paket") && product
            && l.montaj && l.tesAdet > 0;
    if (kind == QStringLiteral("Kesif"))
        return l.gorev == QStringLiteral("Kesif");
    return l.gorev != QStringLiteral("Servis") && l.gorev != QStringLiteral("Kesif")
        && l.gorev != QStringLiteral("Montaj") && l.kalAdet > 0 && product;
}

QStringList ViewColumn(store::RecordView& v, const QString& field)
{
    QStringList out;
    const int pos = v.FieldIndex(field);
    for (int r = 0; r < v.RecordCount(); ++r)
        out << v.ValueAt(r, pos).toString();
    return out;
}

int MarkedLines(store::Connection& orders)
{
    return orders.Scalar(QStringLiteral("Select Count(*) From Siparisler Where Sec='X'")).toInt();
}

// Moves the board back day by day to one where at least two staff members work.
bool GoToADayWithTwoInstallers(board::MainWindow& w)
{
    for (int back = 0; back < 21; ++back) {
        w.DTPicker1->setDate(testsupport::DemoToday().addDays(-back));
        if (w.DataSipEleman.RecordCount() >= 2)
            return true;
    }
    return false;
}

} // namespace

TEST_F(BoardTest, FirstActivationBuildsTheBoardForTodayAndInstallation)
{
    auto& w = Open();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("  Kervoda Velmora"));
    EXPECT_EQ(w.CurrentKind, QStringLiteral("Montaj"));
    EXPECT_TRUE(Find<QRadioButton>(QStringLiteral("Option1(0)"))->isChecked());
    EXPECT_EQ(Find<ui::DatePicker>(QStringLiteral("DTPicker1"))->date(), Today());
    EXPECT_EQ(Find<ui::DatePicker>(QStringLiteral("DTPicker2"))->date(), Today());
    EXPECT_EQ(w.BoardDateText, QStringLiteral("#12/07/2026#"));
    EXPECT_TRUE(Find<QPushButton>(QStringLiteral("Command1(0)"))->isEnabled());
    EXPECT_TRUE(Find<QPushButton>(QStringLiteral("Command1(1)"))->isEnabled());
    EXPECT_FALSE(Find<QPushButton>(QStringLiteral("Command1(2)"))->isEnabled());
    EXPECT_EQ(w.pos(), QPoint(0, 0));
    for (const char* frame : {"DetayFrm", "MrFrame", "Frame1"})
        EXPECT_FALSE(Find<QGroupBox>(QString::fromUtf8(frame))->isVisible()) << frame;

    // The staff picker shows the first staff member working today, or the
    // first staff card when nobody does.
    const QString picked = Find<ui::DataCombo>(QStringLiteral("DBCombo1"))->Text();
    if (w.DataSipEleman.RecordCount() > 0) {
        w.DataSipEleman.MoveFirst();
        EXPECT_EQ(picked, w.DataSipEleman.Field(QStringLiteral("Eleman")).toString());
    } else {
        w.DataElaman.MoveFirst();
        EXPECT_EQ(picked, w.DataElaman.Field(QStringLiteral("Unvan")).toString());
    }
    EXPECT_GT(w.DataSiparis.RecordCount(), 0);
    EXPECT_GT(w.LastRecNo, 0);
}

TEST_F(BoardTest, ASecondActivationChangesNothing)
{
    auto& w = Open();
    Find<ui::DatePicker>(QStringLiteral("DTPicker1"))->setDate(Today().addDays(-3));
    w.ChooseKind(1);
    const QString source = w.DataSiparis.RecordSource();
    const QPoint where(40, 30);
    w.move(where);

    w.Activate();

    EXPECT_EQ(w.CurrentKind, QStringLiteral("Servis"));
    EXPECT_EQ(Find<ui::DatePicker>(QStringLiteral("DTPicker1"))->date(), Today().addDays(-3));
    EXPECT_EQ(w.DataSiparis.RecordSource(), source);
    EXPECT_EQ(w.pos(), where);
}

TEST_F(BoardTest, EachKindOffersExactlyTheLinesOfItsRule)
{
    auto& w = Open();
    const auto lines = AllOrderLines(Store("Siparis.Mdb"));
    const char* kinds[] = {"Montaj", "Servis", "Kesif", "Paket"};
    for (int i = 0; i < 4; ++i) {
        w.ChooseKind(i);
        ASSERT_EQ(w.CurrentKind, QString::fromUtf8(kinds[i]));
        QStringList expected;
        for (const OrderLine& l : lines)
            if (l.sipTarih <= Today() && Offered(l, w.CurrentKind))
                expected << l.sipNo;
        QStringList shown = ViewColumn(w.DataSiparis, QStringLiteral("SipNo"));
        EXPECT_FALSE(expected.isEmpty()) << "the demo data should offer lines for " << kinds[i];
        // Newest order number first.
        QStringList sorted = shown;
        std::sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
            return QString::compare(a, b, Qt::CaseInsensitive) > 0;
        });
        EXPECT_EQ(shown, sorted) << kinds[i];
        std::sort(expected.begin(), expected.end());
        std::sort(shown.begin(), shown.end());
        EXPECT_EQ(shown, expected) << kinds[i];
    }
}

// The accounting package writes a new line with its kind Null, not ''.
TEST_F(BoardTest, ALineWithoutAKindIsOfferedForInstallationAndDeliveryOnly)
{
    AddLine({.sipNo = QStringLiteral("N-0001")});
    AddLine({.sipNo = QStringLiteral("N-0002"), .installed = true});
    Orders()->Execute(QStringLiteral("UPDATE Siparisler SET Görev=Null, Eleman=Null WHERE SipNo Like 'N-*'"));
    auto& w = Open();
    const struct {
        int kind;
        QStringList offered;
    } cases[] = {
        {0, {QStringLiteral("N-0001"), QStringLiteral("N-0002")}},
        {1, {}}, // no service before anything was delivered (TesAdet 0)
        {2, {}},
        {3, {QStringLiteral("N-0001"), QStringLiteral("N-0002")}},
    };
    for (const auto& c : cases) {
        w.ChooseKind(c.kind);
        QStringList shown = ViewColumn(w.DataSiparis, QStringLiteral("SipNo")).filter(QStringLiteral("N-"));
        shown.sort();
        EXPECT_EQ(shown, c.offered) << w.CurrentKind.toStdString();
    }
    // Delivered and installed: now a service can be made from it.
    Orders()->Execute(QStringLiteral("UPDATE Siparisler SET TesAdet=2 WHERE SipNo='N-0002'"));
    w.ChooseKind(1);
    EXPECT_EQ(ViewColumn(w.DataSiparis, QStringLiteral("SipNo")).filter(QStringLiteral("N-")),
              QStringList{QStringLiteral("N-0002")});
}

TEST_F(BoardTest, KindChangeClearsEveryMarkButDayChangeKeepsThem)
{
    auto& w = Open();
    auto orders = Orders();
    // Marks on lines the current list does not even show count too.
    orders->Execute(QStringLiteral("UPDATE Siparisler SET Sec='X' WHERE StokKod=''"));
    orders->Execute(QStringLiteral("UPDATE Siparisler SET Sec='X' WHERE Görev='Kesif'"));
    const int marked = MarkedLines(*orders);
    ASSERT_GT(marked, 5);

    Find<ui::DatePicker>(QStringLiteral("DTPicker1"))->setDate(Today().addDays(-1));
    EXPECT_EQ(MarkedLines(*orders), marked);
    EXPECT_EQ(w.BoardDateText, QStringLiteral("#12/06/2026#"));

    w.ChooseKind(3);
    EXPECT_EQ(MarkedLines(*orders), 0);
}

TEST_F(BoardTest, DeliveryHidesCancelledColumnAndPrintButtons)
{
    auto& w = Open();
    auto* jobs = Find<ui::DataGrid>(QStringLiteral("GörevGrid"));
    auto* printAll = Find<QPushButton>(QStringLiteral("Command1(1)"));
    auto* printOne = Find<QPushButton>(QStringLiteral("Command1(2)"));

    w.ChooseKind(3);
    EXPECT_FALSE(printAll->isEnabled());
    EXPECT_FALSE(printOne->isEnabled());
    EXPECT_FALSE(jobs->Column(5).visible);
    EXPECT_TRUE(jobs->isColumnHidden(5));

    w.ChooseKind(0);
    EXPECT_TRUE(printAll->isEnabled());
    EXPECT_TRUE(printOne->isEnabled());
    EXPECT_TRUE(jobs->Column(5).visible);
    EXPECT_FALSE(jobs->isColumnHidden(5));
}

TEST_F(BoardTest, Command3TurnsGreenForSurveyAndYellowOtherwise)
{
    auto& w = Open();
    auto* c3 = Find<QPushButton>(QStringLiteral("Command3"));
    EXPECT_EQ(c3->text(), QStringLiteral("&Rapor"));
    struct Case { int index; const char* caption; const char* colour; };
    for (const Case& c : {Case{2, "Yeni Kayıt", "rgb(0, 255, 0)"}, Case{1, "Rapor", "rgb(255, 255, 0)"},
                          Case{2, "Yeni Kayıt", "rgb(0, 255, 0)"}, Case{0, "Rapor", "rgb(255, 255, 0)"}}) {
        w.ChooseKind(c.index);
        EXPECT_EQ(c3->text(), QString::fromUtf8(c.caption));
        EXPECT_TRUE(c3->styleSheet().contains(QString::fromUtf8(c.colour))) << c.index;
    }
    EXPECT_EQ(played.count(QStringLiteral("\\Cmd.wav")), 4);
}

TEST_F(BoardTest, KindButtonsDoNothingWhileAReportPanelIsOpen)
{
    for (const char* frame : {"MrFrame", "Frame1"}) {
        auto& w = Open();
        auto orders = Orders();
        orders->Execute(QStringLiteral("UPDATE Siparisler SET Sec='X' WHERE Görev='Kesif'"));
        const int marked = MarkedLines(*orders);
        const QString source = w.DataSiparis.RecordSource();
        Find<QGroupBox>(QString::fromUtf8(frame))->show();

        QTest::mouseClick(Find<QRadioButton>(QStringLiteral("Option1(2)")), Qt::LeftButton);

        EXPECT_EQ(w.CurrentKind, QStringLiteral("Montaj")) << frame;
        EXPECT_EQ(MarkedLines(*orders), marked) << frame;
        EXPECT_EQ(w.DataSiparis.RecordSource(), source) << frame;
        EXPECT_TRUE(Find<QRadioButton>(QStringLiteral("Option1(0)"))->isChecked()) << frame;
    }
}

TEST_F(BoardTest, AReportPanelStaysWithinASmallWindowAndTakesItsFullSizeInALargeOne)
{
    auto& w = Open();
    struct Case {
        QSize window;
        QSize panel;
    };
    for (const Case c : {Case{{820, 600}, {}}, Case{{1280, 900}, {1000, 560}}}) {
        w.resize(c.window);
        for (const char* name : {"MrFrame", "Frame1"}) {
            auto* frame = Find<QGroupBox>(QString::fromUtf8(name));
            frame->show();
            const QRect room = w.centralWidget()->rect();
            EXPECT_TRUE(room.contains(frame->geometry())) << name << " in " << c.window.width();
            if (!c.panel.isEmpty()) {
                EXPECT_EQ(frame->size(), c.panel) << name;
            }
            // Its buttons are inside it, where the user can reach them.
            for (auto* button : frame->findChildren<QPushButton*>())
                EXPECT_TRUE(frame->rect().contains(button->geometry())) << qPrintable(button->objectName());
            frame->hide();
        }
    }
}

TEST_F(BoardTest, StaffListPicksTheStaffMemberOnlyWithFocusAndRows)
{
    auto& w = Open();
    auto* staffList = Find<ui::DataGrid>(QStringLiteral("DBGrid2"));
    auto* picker = Find<ui::DataCombo>(QStringLiteral("DBCombo1"));

    ASSERT_TRUE(GoToADayWithTwoInstallers(w)) << "the demo data should have a day with two installers";

    picker->setText(QStringLiteral("Kimse"));
    w.DataSipEleman.setAbsolutePosition(1); // moves without focus: no pick
    EXPECT_EQ(picker->Text(), QStringLiteral("Kimse"));

    staffList->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(staffList->Highlight());
    w.DataSipEleman.MoveFirst();
    QTest::keyClick(staffList, Qt::Key_Down);
    EXPECT_EQ(w.DataSipEleman.AbsolutePosition(), 1);
    EXPECT_EQ(picker->Text(), w.DataSipEleman.Field(QStringLiteral("Eleman")).toString());

    // A day nobody works: the list has no rows and never changes the picker.
    auto* day = Find<ui::DatePicker>(QStringLiteral("DTPicker1"));
    day->setFocus(); // the user goes to the day picker to change the day
    QApplication::processEvents();
    EXPECT_FALSE(staffList->Highlight());
    day->setDate(QDate(2020, 1, 1));
    ASSERT_EQ(w.DataSipEleman.RecordCount(), 0);
    picker->setText(QStringLiteral("Kimse"));
    staffList->setFocus();
    QApplication::processEvents();
    EXPECT_FALSE(staffList->Highlight());
    QTest::keyClick(staffList, Qt::Key_Down);
    EXPECT_EQ(picker->Text(), QStringLiteral("Kimse"));
}

TEST_F(BoardTest, F5ReReadsTheOrderLinesFromAnyControl)
{
    auto& w = Open();
    const int before = w.DataSiparis.RecordCount();
    Orders()->Execute(QStringLiteral(
        "INSERT INTO Siparisler (CariKod, SipNo, SipTarih, KalAdet, StokKod, CariAdi, StokAdi, Miktar) "
        "VALUES ('120.001', 'Z-0001', #12/01/2026#, 2, 'K100', 'Yeni Müşteri', 'Klima', 2)"));
    EXPECT_EQ(w.DataSiparis.RecordCount(), before);

    auto* jobs = Find<ui::DataGrid>(QStringLiteral("GörevGrid"));
    jobs->setFocus();
    QTest::keyClick(jobs, Qt::Key_F5);
    EXPECT_EQ(w.DataSiparis.RecordCount(), before + 1);

    // An empty result refreshes without complaint.
    w.DataSiparis.setRecordSource(QStringLiteral("Select * From Siparisler Where SipNo='yok'"));
    QTest::keyClick(Find<QCheckBox>(QStringLiteral("Check1")), Qt::Key_F5);
    EXPECT_EQ(w.DataSiparis.RecordCount(), 0);
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(BoardTest, AMissingStoreIsNamedAndTheProgramEnds)
{
    ASSERT_TRUE(QFile::remove(Store("Siparis.Mdb")));
    board::MainWindow w;
    EXPECT_FALSE(w.Load());
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_TRUE(prompt.shown[0].text.contains(QStringLiteral("Siparis.Mdb"))) << prompt.shown[0].text.toStdString();
}

TEST_F(BoardTest, ACounterTableWithoutRowsIsNamed)
{
    Jobs()->Execute(QStringLiteral("DELETE FROM RecSay"));
    board::MainWindow w;
    EXPECT_FALSE(w.Load());
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_TRUE(prompt.shown[0].text.contains(QStringLiteral("RecSay")));
}

TEST_F(BoardTest, ASecondInstanceRaisesTheFirstAndEndsWithoutAWindow)
{
    app::SingleInstance first;
    ASSERT_TRUE(first.IsFirst());
    int asked = 0;
    ASSERT_TRUE(first.ListenForLaterStarts([&] { ++asked; }));
    QProcess second;
    second.setWorkingDirectory(data.path());
    second.start(QStringLiteral(VELMORA_BIN_DIR "/velmora"), {});
    const bool ended = second.waitForFinished(10000);
    if (!ended)
        second.kill();
    ASSERT_TRUE(ended);
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(second.readAllStandardOutput().isEmpty());
    // It asked the running program to come to the front before it ended.
    EXPECT_TRUE(QTest::qWaitFor([&] { return asked == 1; }, 5000));
}

TEST_F(BoardTest, TheFirstActivationRunsOnceEvenWhenActivatedAgainInside)
{
    // Showing queues an activation; the direct one below processes events
    // while it refreshes, so the queued one arrives in the middle of it.
    window = std::make_unique<board::MainWindow>();
    ASSERT_TRUE(window->Load());
    int orderReads = 0;
    QObject::connect(&window->DataSiparis, &store::RecordView::refreshed, [&] { ++orderReads; });
    window->show();
    window->Activate();
    QApplication::processEvents();
    EXPECT_EQ(orderReads, 1);
}

TEST_F(BoardTest, AKindChangeOnALockedOrderStoreKeepsTheOldKindAndItsButton)
{
    auto& w = Open();
    auto orders = Orders();
    orders->Execute(QStringLiteral("UPDATE Siparisler SET Sec='X' WHERE Görev='Kesif'"));
    const int marked = MarkedLines(*orders);
    auto* installation = Find<QRadioButton>(QStringLiteral("Option1(0)"));
    auto* survey = Find<QRadioButton>(QStringLiteral("Option1(2)"));

    // Another program holds the order store; the program's handle gives up at
    // once instead of waiting for it.
    sqlite3_busy_timeout(orders->handle(), 0);
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(data.orders().toUtf8().constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    QTest::mouseClick(survey, Qt::LeftButton);
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);

    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_TRUE(prompt.shown[0].text.contains(QStringLiteral("kilitli"))) << prompt.shown[0].text.toStdString();
    EXPECT_EQ(w.CurrentKind, QStringLiteral("Montaj"));
    EXPECT_TRUE(installation->isChecked());
    EXPECT_FALSE(survey->isChecked());
    EXPECT_EQ(MarkedLines(*orders), marked);

    // Free again: the same click changes the kind.
    QTest::mouseClick(survey, Qt::LeftButton);
    EXPECT_EQ(w.CurrentKind, QStringLiteral("Kesif"));
    EXPECT_TRUE(survey->isChecked());
    EXPECT_EQ(MarkedLines(*orders), 0);
}

TEST_F(BoardTest, EveryAccessKeyOfTheWindowBelongsToOneControl)
{
    Open();
    QMap<QKeySequence, QStringList> owners;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        QString caption;
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            caption = b->text();
        else if (auto* l = qobject_cast<QLabel*>(w); l && l->buddy())
            caption = l->text();
        else if (auto* g = qobject_cast<QGroupBox*>(w))
            caption = g->title();
        const QKeySequence key = QKeySequence::mnemonic(caption);
        if (!key.isEmpty())
            owners[key] << caption;
    }
    for (auto it = owners.cbegin(); it != owners.cend(); ++it)
        EXPECT_EQ(it.value().size(), 1) << it.key().toString().toStdString() << ": "
                                         << it.value().join(QStringLiteral(", ")).toStdString();
    // The captions of the board keep their own keys.
    const struct { const char* name; const char* key; } kept[] = {
        {"Option1(0)", "Alt+M"}, {"Option1(1)", "Alt+S"}, {"Option1(2)", "Alt+K"}, {"Option1(3)", "Alt+P"},
        {"Check1", "Alt+F"},     {"Command2", "Alt+G"},   {"Command1(0)", "Alt+Ç"}, {"Command1(1)", "Alt+T"},
        {"Command1(2)", "Alt+Y"}, {"Command3", "Alt+R"},
    };
    for (const auto& k : kept)
        EXPECT_EQ(QKeySequence::mnemonic(Find<QAbstractButton>(QString::fromUtf8(k.name))->text()),
                  QKeySequence(QString::fromUtf8(k.key)))
            << k.name;
}

TEST_F(BoardTest, AltGCreatesTheJobs)
{
    Orders()->Execute(QStringLiteral("UPDATE Siparisler SET Sec='' WHERE Sec='X'"));
    AddLine({.sipNo = QStringLiteral("M-0001")});
    auto& w = Open();
    w.activateWindow();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), &w);
    ASSERT_TRUE(GoTo(w.DataSiparis, QStringLiteral("SipNo='M-0001'")));
    DoubleClickCell(OrderGrid(), 0);
    ASSERT_EQ(LineText(QStringLiteral("M-0001"), "Sec"), QStringLiteral("X"));
    Find<ui::DataCombo>(QStringLiteral("DBCombo1"))->setText(QStringLiteral("Usta Kısayol"));

    auto* create = Find<QPushButton>(QStringLiteral("Command2"));
    QTest::keyClick(OrderGrid(), Qt::Key_G, Qt::AltModifier);
    ASSERT_TRUE(create->isDown()) << "the access key went to another control";
    // The key shows the button pressed for a moment; that moment's timer is
    // run here at once.
    for (const auto& timer : QAbstractEventDispatcher::instance()->registeredTimers(create)) {
        QTimerEvent tick(timer.timerId);
        QApplication::sendEvent(create, &tick);
    }
    EXPECT_EQ(JobsNumber(QStringLiteral("Select Count(*) From Montaj Where SipNo='M-0001' And "
                                        "Eleman='Usta Kısayol' And Görev='Montaj'")),
              1);
    EXPECT_EQ(LineText(QStringLiteral("M-0001"), "Sec"), QString());
}

TEST_F(BoardTest, AClickOnAStaffMemberPicksItAlsoWhenItActivatesTheWindow)
{
    auto& w = Open();
    ASSERT_TRUE(GoToADayWithTwoInstallers(w)) << "the demo data should have a day with two installers";
    auto* staffList = Find<ui::DataGrid>(QStringLiteral("DBGrid2"));
    auto* picker = Find<ui::DataCombo>(QStringLiteral("DBCombo1"));
    picker->setText(QStringLiteral("Kimse"));

    // Another window of the desktop is in front.
    QWidget other;
    other.resize(200, 100);
    other.show();
    other.activateWindow();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), &other);
    ASSERT_FALSE(staffList->hasFocus());

    const QModelIndex second = staffList->model()->index(1, 0);
    QTest::mouseClick(staffList->viewport(), Qt::LeftButton, {}, staffList->visualRect(second).center());
    EXPECT_EQ(w.DataSipEleman.AbsolutePosition(), 1);
    EXPECT_EQ(picker->Text(), w.DataSipEleman.ValueAt(1, w.DataSipEleman.FieldIndex(QStringLiteral("Eleman"))).toString());
}

// The board's lists are read through the indexes made for them: a changed
// query that no longer matches its index would walk whole tables and sort.
TEST_F(BoardTest, EveryListOfTheBoardReadsThroughItsIndex)
{
    auto& w = Open();
    const char* orderIndex[] = {"ix_Siparisler_open_SipNo", "ix_Siparisler_service_SipNo",
                                "ix_Siparisler_Görev_SipNo", "ix_Siparisler_open_SipNo"};
    for (int i = 0; i < 4; ++i) {
        w.ChooseKind(i);
        const struct {
            const store::RecordView& view;
            QString index;
        } lists[] = {
            {w.DataSiparis, QString::fromUtf8(orderIndex[i])},
            {w.DataSipEleman, QStringLiteral("ix_%1_Tarih_SipNo").arg(w.CurrentKind)},
            {w.DataGörev, QStringLiteral("ix_Montaj_Tarih_Görev_Eleman")},
            {w.DataGörevTmp, QStringLiteral("ix_Montaj_Görev_SipNo")},
        };
        for (const auto& list : lists) {
            const QString plan = list.view.QueryPlan();
            SCOPED_TRACE(qPrintable(w.CurrentKind + QLatin1Char(' ') + list.view.name() + QStringLiteral(": ") + plan));
            EXPECT_TRUE(plan.contains(QStringLiteral("INDEX ") + list.index));
            EXPECT_FALSE(plan.contains(QStringLiteral("TEMP B-TREE")));
        }
    }
}
