#include "BoardFixture.h"

#include "app/SingleInstance.h"
#include "ui/DatePicker.h"

#include <QAbstractEventDispatcher>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QMap>
#include <QProcess>
#include <QRadioButton>


namespace {

// Whether a stored order line belongs in the list of a kind, read against
// the store's rows rather than the board's own queries.
bool Offered(const BoardTest::Row& line, const QString& kind)
{
    const QString gorev = QString::fromStdString(line.at("Görev"));
    const bool product = !line.at("StokKod").empty();
    const bool open = QString::fromStdString(line.at("KalAdet")).toDouble() > 0;
    if (kind == QStringLiteral("Montaj"))
        return gorev != QStringLiteral("Kesif") && open && product;
    if (kind == QStringLiteral("Servis"))
        return gorev != QStringLiteral("Kesif") && gorev != QStringLiteral("Paket") && product
            && line.at("Montaj") == "true" && QString::fromStdString(line.at("TesAdet")).toDouble() > 0;
    if (kind == QStringLiteral("Kesif"))
        return gorev == QStringLiteral("Kesif");
    return gorev != QStringLiteral("Servis") && gorev != QStringLiteral("Kesif") && gorev != QStringLiteral("Montaj")
        && open && product;
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
    const auto lines = Rows(data.orders(), QStringLiteral("Select * From Siparisler"));
    const char* kinds[] = {"Montaj", "Servis", "Kesif", "Paket"};
    for (int i = 0; i < 4; ++i) {
        w.ChooseKind(i);
        ASSERT_EQ(w.CurrentKind, QString::fromUtf8(kinds[i]));
        QStringList expected;
        for (const Row& l : lines)
            if (QDate::fromString(QString::fromStdString(l.at("SipTarih")).left(10), Qt::ISODate) <= Today()
                && Offered(l, w.CurrentKind))
                expected << QString::fromStdString(l.at("SipNo"));
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
    orders->Execute(QStringLiteral("UPDATE Siparisler SET Sec='X' WHERE StokKod='' Or Görev='Kesif'"));
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
    for (const auto& [kind, shown] : {std::pair{3, false}, std::pair{0, true}}) {
        w.ChooseKind(kind);
        EXPECT_EQ(Find<QPushButton>(QStringLiteral("Command1(1)"))->isEnabled(), shown) << kind;
        EXPECT_EQ(Find<QPushButton>(QStringLiteral("Command1(2)"))->isEnabled(), shown) << kind;
        EXPECT_EQ(JobGrid()->Column(5).visible, shown) << kind;
        EXPECT_EQ(JobGrid()->isColumnHidden(5), !shown) << kind;
    }
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
    AddLine({.sipNo = QStringLiteral("Z-0001")});
    EXPECT_EQ(w.DataSiparis.RecordCount(), before);

    JobGrid()->setFocus();
    QTest::keyClick(JobGrid(), Qt::Key_F5);
    EXPECT_EQ(w.DataSiparis.RecordCount(), before + 1);

    // An empty result refreshes without complaint.
    w.DataSiparis.setRecordSource(QStringLiteral("Select * From Siparisler Where SipNo='yok'"));
    QTest::keyClick(Find<QCheckBox>(QStringLiteral("Check1")), Qt::Key_F5);
    EXPECT_EQ(w.DataSiparis.RecordCount(), 0);
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(BoardTest, AnEmptyCounterTableOrAMissingStoreIsNamedAndTheProgramEnds)
{
    Jobs()->Execute(QStringLiteral("DELETE FROM RecSay"));
    for (const char* named : {"RecSay", "Siparis.Mdb"}) {
        if (named == std::string("Siparis.Mdb")) { // a missing store is named before the counter
            ASSERT_TRUE(QFile::remove(Store(named)));
        }
        prompt.shown.clear();
        board::MainWindow w;
        EXPECT_FALSE(w.Load()) << named;
        ASSERT_EQ(prompt.shown.size(), 1u) << named;
        EXPECT_TRUE(prompt.shown[0].text.contains(QString::fromUtf8(named))) << prompt.shown[0].text.toStdString();
    }
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

// A kind change refused (a report panel open, the order store locked) keeps
// the old kind, its button, its list and every mark.
TEST_F(BoardTest, ARefusedKindChangeKeepsTheOldKindItsButtonAndTheMarks)
{
    for (const char* blocker : {"MrFrame", "Frame1", "locked store"}) {
        SCOPED_TRACE(blocker);
        auto& w = Open();
        auto orders = Orders();
        orders->Execute(QStringLiteral("UPDATE Siparisler SET Sec='X' WHERE Görev='Kesif'"));
        const int marked = MarkedLines(*orders);
        const QString source = w.DataSiparis.RecordSource();
        auto* survey = Find<QRadioButton>(QStringLiteral("Option1(2)"));
        const bool locked = blocker == std::string("locked store");
        prompt.shown.clear();
        if (locked) {
            // Another program holds the order store; the program's handle
            // gives up at once instead of waiting for it.
            sqlite3_busy_timeout(orders->handle(), 0);
            WhileHeld(data.orders(), "BEGIN EXCLUSIVE", [&] { QTest::mouseClick(survey, Qt::LeftButton); });
            ASSERT_EQ(prompt.shown.size(), 1u);
            EXPECT_TRUE(prompt.shown[0].text.contains(QStringLiteral("kilitli"))) << prompt.shown[0].text.toStdString();
        } else {
            Find<QGroupBox>(QString::fromUtf8(blocker))->show();
            QTest::mouseClick(survey, Qt::LeftButton);
        }
        EXPECT_EQ(w.CurrentKind, QStringLiteral("Montaj"));
        EXPECT_TRUE(Find<QRadioButton>(QStringLiteral("Option1(0)"))->isChecked());
        EXPECT_FALSE(survey->isChecked());
        EXPECT_EQ(MarkedLines(*orders), marked);
        EXPECT_EQ(w.DataSiparis.RecordSource(), source);
    }
    // Free again: the same click changes the kind.
    QTest::mouseClick(Find<QRadioButton>(QStringLiteral("Option1(2)")), Qt::LeftButton);
    EXPECT_EQ(window->CurrentKind, QStringLiteral("Kesif"));
    EXPECT_TRUE(Find<QRadioButton>(QStringLiteral("Option1(2)"))->isChecked());
    EXPECT_EQ(MarkedLines(*Orders()), 0);
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
    ClearDemoMarks();
    AddLine({.sipNo = QStringLiteral("M-0001")});
    auto& w = Open();
    w.activateWindow();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), &w);
    Mark(QStringLiteral("M-0001"));
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
    EXPECT_EQ(JobCount(QStringLiteral("SipNo='M-0001' And Eleman='Usta Kısayol' And Görev='Montaj'")), 1);
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
