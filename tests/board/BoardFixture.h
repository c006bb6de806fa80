#pragma once

#include "TestSupport.h"

#include "app/Pause.h"
#include "app/Prompt.h"
#include "app/Sound.h"
#include "board/MainWindow.h"
#include "store/Connection.h"
#include "store/RecordView.h"
#include "store/Sql.h"
#include "ui/DataCombo.h"
#include "ui/DataGrid.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

// Each board test gets a fresh copy of the demo data, its own settings file,
// a fixed "today", silent sounds, instant pauses and a fresh window.
// Public, so that table-driven cases can act through the fixture.
class BoardTest : public ::testing::Test {
public:
    explicit BoardTest(testsupport::TestDataDir::Content content = testsupport::TestDataDir::Content::Demo)
        : data(content)
    {
    }

    static QDate Today() { return testsupport::DemoToday(); }

    void SetUp() override
    {
        ASSERT_TRUE(data.ok());
        app::SetPausesForTesting(false);
        app::Sound::RecordForTesting(&played);
    }

    void TearDown() override
    {
        window.reset();
        app::Sound::RecordForTesting(nullptr);
    }

    // Loads and activates a fresh main window on the demo data.
    board::MainWindow& Open()
    {
        window = std::make_unique<board::MainWindow>();
        EXPECT_TRUE(window->Load());
        window->show();
        window->Activate();
        return *window;
    }

    QString Store(const char* file) const { return data.dataRoot() + QString::fromUtf8(file); }
    std::shared_ptr<store::Connection> Orders() const { return data.Open(data.orders()); }
    std::shared_ptr<store::Connection> Jobs() const { return data.Open(data.jobs()); }
    double OrdersNumber(const QString& jet) const { return data.Number(data.orders(), jet); }
    double JobsNumber(const QString& jet) const { return data.Number(data.jobs(), jet); }

    static QString SipNoIs(const QString& sipNo) { return QStringLiteral("SipNo=") + store::SqlText(sipNo); }
    // One field of an order line, read straight from the store.
    QString LineText(const QString& sipNo, const char* field) const
    {
        return Orders()
            ->Scalar(QStringLiteral("Select ") + QString::fromUtf8(field) + QStringLiteral(" From Siparisler Where ")
                     + SipNoIs(sipNo))
            .toString();
    }
    // Day-staff rows of a kind for a staff member on the board day.
    double DayRows(const char* kind, const QString& staff) const
    {
        return OrdersNumber(QStringLiteral("Select Count(*) From ") + QString::fromUtf8(kind)
                            + QStringLiteral(" Where Eleman=") + store::SqlText(staff)
                            + QStringLiteral(" And Tarih=") + store::DateLiteral(Today()));
    }
    // The demo data has marked lines of its own; tests that count jobs start without them.
    void ClearDemoMarks() const
    {
        Orders()->Execute(QStringLiteral("UPDATE Siparisler SET Sec='' WHERE Sec='X'"));
    }

    template <typename T> T* Find(const QString& name) const { return window->findChild<T*>(name); }

    // Moves the grid's view to the row matching the criteria; false when none.
    static bool GoTo(store::RecordView& view, const QString& criteria)
    {
        view.FindFirst(criteria);
        return !view.NoMatch();
    }

    // Clicks (and with `twice`, double-clicks) a cell of the current row, as a user would.
    static void ClickCell(ui::DataGrid* grid, int column, Qt::KeyboardModifiers mods = {}, bool twice = false)
    {
        grid->setFocus();
        QApplication::processEvents();
        const QModelIndex index = grid->model()->index(grid->view()->AbsolutePosition(), column);
        grid->scrollTo(index);
        const QPoint at = grid->visualRect(index).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, mods, at);
        if (twice)
            QTest::mouseDClick(grid->viewport(), Qt::LeftButton, mods, at);
    }
    static void DoubleClickCell(ui::DataGrid* grid, int column, Qt::KeyboardModifiers mods = {})
    {
        ClickCell(grid, column, mods, true);
    }

    ui::DataGrid* OrderGrid() const { return Find<ui::DataGrid>(QStringLiteral("StokDataGrid")); }
    ui::DataGrid* JobGrid() const { return Find<ui::DataGrid>(QStringLiteral("GörevGrid")); }

    // Double-clicks "Seç" on the line, as the user marks (or unmarks) it.
    void Mark(const QString& sipNo)
    {
        ASSERT_TRUE(GoTo(window->DataSiparis, SipNoIs(sipNo))) << sipNo.toStdString();
        DoubleClickCell(OrderGrid(), 0);
    }
    // Picks the staff member and presses "Görev Ekle".
    void Create(const QString& staff)
    {
        Find<ui::DataCombo>(QStringLiteral("DBCombo1"))->setText(staff);
        QTest::mouseClick(Find<QPushButton>(QStringLiteral("Command2")), Qt::LeftButton);
    }
    void MakeJobs(const QStringList& sipNos, const QString& staff)
    {
        for (const QString& s : sipNos)
            Mark(s);
        Create(staff);
    }
    // Puts the job grid on the job matching the criteria (and the order list follows it).
    void SelectJobWhere(const QString& criteria)
    {
        ASSERT_TRUE(GoTo(window->DataGörev, criteria)) << criteria.toStdString();
        JobGrid()->setFocus();
        QApplication::processEvents();
    }
    void SelectJob(const QString& sipNo) { SelectJobWhere(SipNoIs(sipNo)); }
    // One field of the job of this order and kind, read straight from the store.
    double Job(const QString& sipNo, const char* field, const QString& kind = QStringLiteral("Montaj")) const
    {
        return JobsNumber(QStringLiteral("Select ") + QString::fromUtf8(field)
                          + QStringLiteral(" From Montaj Where SipNo=") + store::SqlText(sipNo)
                          + QStringLiteral(" And Görev=") + store::SqlText(kind));
    }
    void PressDelete() { QTest::keyClick(JobGrid(), Qt::Key_Delete); }
    double JobCount(const QString& where) const
    {
        return JobsNumber(QStringLiteral("Select Count(*) From Montaj Where ") + where);
    }
    double LineCount(const QString& sipNo) const
    {
        return OrdersNumber(QStringLiteral("Select Count(*) From Siparisler Where ") + SipNoIs(sipNo));
    }
    // Checks fields of an order line in the store, each named in the failure.
    void ExpectLine(const QString& sipNo, std::initializer_list<std::pair<const char*, QString>> fields) const
    {
        for (const auto& [field, value] : fields)
            EXPECT_EQ(LineText(sipNo, field), value) << sipNo.toStdString() << ' ' << field;
    }
    // Changes the line's jobs behind the board's back, then reloads its lists.
    void SetJobs(const QString& sipNo, const QString& set, const QString& andWhere = QStringLiteral("1=1"))
    {
        Jobs()->Execute(QStringLiteral("UPDATE Montaj SET ") + set + QStringLiteral(" WHERE ") + SipNoIs(sipNo)
                        + QStringLiteral(" And ") + andWhere);
        window->ReloadBoardLists();
    }
    // "Sil" of the order list's menu on the line.
    void DeleteFromOrderList(const QString& sipNo)
    {
        ASSERT_TRUE(GoTo(window->DataSiparis, SipNoIs(sipNo))) << sipNo.toStdString();
        OrderGrid()->setFocus();
        QApplication::processEvents();
        window->findChild<QAction*>(QStringLiteral("Sil"))->trigger();
    }
    // Types into the quantity-done cell of the current job and confirms.
    void TypeQuantity(const QString& typed)
    {
        JobGrid()->setCol(7);
        QTest::keyClicks(JobGrid(), typed);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QApplication::processEvents();
    }
    // Runs `act` while another program holds a store in a transaction begun by `begin`.
    template <typename Act> static void WhileHeld(const QString& file, const char* begin, Act act)
    {
        sqlite3* other = nullptr;
        ASSERT_EQ(sqlite3_open(file.toUtf8().constData(), &other), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(other, begin, nullptr, nullptr, nullptr), SQLITE_OK);
        act();
        sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(other);
    }

    // Every row a query gives, field by field, as a user would find it in the store.
    using Row = std::map<std::string, std::string>;
    std::vector<Row> Rows(const QString& storePath, const QString& jetSql) const
    {
        const auto v = testsupport::OpenView(storePath, jetSql);
        std::vector<Row> rows;
        const QStringList names = v->FieldNames();
        for (; !v->EOF(); v->MoveNext()) {
            Row row;
            for (int i = 0; i < names.size(); ++i)
                row[names[i].toStdString()] = v->Field(i).toString().toStdString();
            rows.push_back(row);
        }
        return rows;
    }

    struct Line {
        QString sipNo;
        QString customer = QStringLiteral("Deneme Müşteri");
        double quantity = 4, open = 4, delivered = 0;
        QString productCode = QStringLiteral("K-100");
        QString product = QStringLiteral("Split Klima 12000");
        QString kind;
        bool installed = false;
        int daysBack = 10;
        QString note;
    };
    // An order line of the test's own, dated before the board day.
    void AddLine(const Line& l) const
    {
        using store::SqlText;
        Orders()->Execute(
            QStringLiteral("INSERT INTO Siparisler (CariKod, SipNo, SipTarih, TesTarih, Miktar, KalAdet, "
                           "TesAdet, StokKod, StokAdi, CariAdi, Görev, Montaj, Sec, Eleman, [Not]) VALUES (")
            + SqlText(QStringLiteral("120.T.") + l.sipNo) + ", " + SqlText(l.sipNo) + ", "
            + store::DateLiteral(Today().addDays(-l.daysBack)) + ", " + store::DateLiteral(Today()) + ", "
            + QString::number(l.quantity) + ", " + QString::number(l.open) + ", "
            + QString::number(l.delivered) + ", " + SqlText(l.productCode) + ", " + SqlText(l.product)
            + ", " + SqlText(l.customer) + ", " + SqlText(l.kind) + ", "
            + (l.installed ? QStringLiteral("True") : QStringLiteral("False")) + ", '', '', "
            + SqlText(l.note) + ")");
    }

    testsupport::TestDataDir data;
    app::ScriptedPrompt prompt;
    QStringList played;
    std::unique_ptr<board::MainWindow> window;
};

// Tests that count jobs they make start without the demo data's marked lines.
class UnmarkedBoardTest : public BoardTest {
public:
    void SetUp() override
    {
        BoardTest::SetUp();
        ClearDemoMarks();
    }
};
