#include "app/Refresh.h"

#include "store/Connection.h"
#include "store/RecordView.h"

#include <QApplication>
#include <QCursor>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class RefreshTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("Montaj.mdb"));
        auto conn = store::Connection::Create(path);
        conn->ExecuteNative(QStringLiteral(
            "CREATE TABLE Montaj (Eleman TEXT COLLATE TURKISH, SipNo TEXT, Adet DOUBLE)"));
        conn->ExecuteNative(QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2500) "
            "INSERT INTO Montaj SELECT 'Eleman ' || (i % 7), printf('S%05d', i), i FROM n"));
        view.setDatabaseName(path);
    }

    QTemporaryDir dir;
    QString path;
    store::RecordView view{QStringLiteral("DataTest")};
};

TEST_F(RefreshTest, LeavesTheFirstRowCurrentWithACompleteCountOrNoRows)
{
    view.setRecordSource(QStringLiteral("Select * From Montaj Where Adet > 500 Order By SipNo Desc"));
    app::RefreshData(view);
    EXPECT_EQ(view.RecordCount(), 2000);
    EXPECT_EQ(view.AbsolutePosition(), 0);
    EXPECT_EQ(view.Field(QStringLiteral("SipNo")).toString(), QStringLiteral("S02500"));

    // No rows is no error.
    view.setRecordSource(QStringLiteral("Select * From Montaj Where Adet > 9999"));
    EXPECT_NO_THROW(app::RefreshData(view));
    EXPECT_EQ(view.RecordCount(), 0);
    EXPECT_TRUE(view.BOF());
    EXPECT_TRUE(view.EOF());
}

TEST_F(RefreshTest, FailingSourcesLeaveTheViewEmptyWithoutThrowing)
{
    view.setRecordSource(QStringLiteral("Montaj"));
    app::RefreshData(view);
    ASSERT_EQ(view.RecordCount(), 2500);

    const QString bad[] = {
        QStringLiteral("Select * From Yok"),            // no such table
        QStringLiteral("Select * Frm Montaj"),          // not a statement
        QStringLiteral("Select * From Montaj Where Adet = 'x"), // unclosed quote
    };
    for (const QString& source : bad) {
        view.setRecordSource(source);
        EXPECT_NO_THROW(app::RefreshData(view)) << source.toStdString();
        EXPECT_EQ(view.RecordCount(), 0) << source.toStdString();
        EXPECT_TRUE(view.EOF()) << source.toStdString();
    }

    store::RecordView unbound(QStringLiteral("DataNone")); // no store at all
    unbound.setRecordSource(QStringLiteral("Montaj"));
    EXPECT_NO_THROW(app::RefreshData(unbound));
    EXPECT_EQ(unbound.RecordCount(), 0);

    store::RecordView missing(QStringLiteral("DataMissing")); // a store that is not there
    missing.setDatabaseName(dir.filePath(QStringLiteral("Yok.mdb")));
    missing.setRecordSource(QStringLiteral("Montaj"));
    EXPECT_NO_THROW(app::RefreshData(missing));
    EXPECT_EQ(missing.RecordCount(), 0);
}

// Refreshing shows the hourglass and lets pending events run; an action that
// holds the window's painting refreshes several views without letting events
// run between them, and once it lets go, refreshes do again.
TEST_F(RefreshTest, ShowsTheHourglassAndLetsPendingEventsRunUnlessAnActionHoldsThem)
{
    view.setRecordSource(QStringLiteral("Montaj"));
    bool pendingRan = false;
    QTimer::singleShot(0, [&] { pendingRan = true; });
    Qt::CursorShape during = Qt::ArrowCursor;
    QObject::connect(&view, &store::RecordView::refreshed, [&] {
        if (QApplication::overrideCursor())
            during = QApplication::overrideCursor()->shape();
    });
    {
        const app::HoldRefreshEvents hold;
        app::RefreshData(view);
        EXPECT_FALSE(pendingRan);
        EXPECT_EQ(view.RecordCount(), 2500);
    }
    during = Qt::ArrowCursor;
    app::RefreshData(view);
    EXPECT_TRUE(pendingRan);
    EXPECT_EQ(during, Qt::WaitCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
