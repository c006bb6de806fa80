#include "store/BatchCounter.h"
#include "store/Connection.h"
#include "store/Layouts.h"
#include "store/RecordView.h"
#include "store/StoreAction.h"
#include "store/StoreError.h"

#include "StoredRows.h"
#include "TestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>
#include <stdexcept>

using namespace store;

namespace {

// A job store and an order store, both with a table "Montaj" of their own.
class StoreActionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        CreateStore(StoreKind::Jobs, jobs());
        CreateStore(StoreKind::Orders, orders());
    }

    QString jobs() const { return dir.path() + QStringLiteral("/Montaj.mdb"); }
    QString orders() const { return dir.path() + QStringLiteral("/Siparis.Mdb"); }

    // A stored number, -1 when there is no row.
    static int Stored(const QString& file, const char* sql)
    {
        const QString value = storetest::Stored(file, QString::fromUtf8(sql));
        return value == QStringLiteral("<no row>") ? -1 : int(value.toDouble());
    }

    // Adds a job, a day row in the order store's own "Montaj", and takes a number.
    void Work(StoreAction& action)
    {
        TakeBatchNumber(jobs());
        action.store(0).Execute(QStringLiteral("Insert Into Montaj (Eleman, SipNo) Values ('Can', 'A1')"));
        const auto day = testsupport::OpenView(orders(), QStringLiteral("Select * From Montaj"));
        storetest::write(*day, {{"SipNo", QStringLiteral("A1")}, {"Eleman", QStringLiteral("Can")}}, true);
        EXPECT_EQ(day->RecordCount(), 1);
    }

    QTemporaryDir dir;
};

// An action left or thrown out of stores nothing and uses no number: the one
// committed after them stores every file, each table in its own, with number 1.
TEST_F(StoreActionTest, OnlyACommittedActionStoresAndUsesANumber)
{
    enum { Left, Thrown, Committed };
    for (const int end : {Left, Thrown, Committed}) {
        try {
            StoreAction action({jobs(), orders()});
            Work(action);
            if (end == Thrown)
                throw std::runtime_error("yarıda");
            if (end == Committed)
                action.Commit();
        } catch (const std::runtime_error&) {
        }
        const int kept = end == Committed ? 1 : 0;
        EXPECT_EQ(Stored(jobs(), "SELECT count(*) FROM Montaj WHERE Eleman='Can'"), kept) << end;
        EXPECT_EQ(Stored(jobs(), "SELECT RecNo FROM RecSay"), kept) << end;
        EXPECT_EQ(Stored(orders(), "SELECT count(*) FROM Montaj WHERE Eleman='Can'"), kept) << end;
    }
}

TEST_F(StoreActionTest, AFailingStepRollsBackTheStepsBefore)
{
    StoreAction action({jobs(), orders()});
    action.store(1).Execute(QStringLiteral("Insert Into Montaj (Eleman) Values ('Can')"));
    EXPECT_THROW(action.store(0).Execute(QStringLiteral("Insert Into Yok (A) Values (1)")), StoreError);
    {
        // A nested transaction that gives up spoils the whole action.
        Transaction inner(action.store(0));
    }
    EXPECT_THROW(action.Commit(), StoreError);
    EXPECT_EQ(Stored(orders(), "SELECT count(*) FROM Montaj"), 0);
}

TEST_F(StoreActionTest, LockedOrSeparateStoresAreRefusedBeforeAnythingIsWritten)
{
    // Stores open on handles of their own cannot take part.
    {
        auto j = Connection::Open(jobs());
        auto o = Connection::Open(orders());
        ASSERT_FALSE(j->SharesHandleWith(*o));
        EXPECT_THROW(StoreAction({jobs(), orders()}), StoreError);
        EXPECT_FALSE(j->InTransaction());
        EXPECT_FALSE(o->InTransaction());
    }
    Connection::JoinStores({jobs(), orders()});
    auto o = Connection::Open(orders());
    sqlite3_busy_timeout(o->handle(), 0);
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(orders().toUtf8().constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    const QString refused = testsupport::StoreErrorOf([&] { StoreAction action({jobs(), orders()}); });
    EXPECT_TRUE(refused.contains(QStringLiteral("kilitli"))) << refused.toStdString();
    EXPECT_TRUE(refused.contains(QStringLiteral("[database is locked]"))) << refused.toStdString();
    // The job store alone is not held by the failed action nor by the other program.
    EXPECT_NO_THROW({
        StoreAction alone({jobs()});
        alone.store(0).Execute(QStringLiteral("Insert Into Montaj (Eleman) Values ('Ece')"));
        alone.Commit();
    });
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_EQ(Stored(jobs(), "SELECT count(*) FROM Montaj"), 1);
    EXPECT_EQ(Stored(orders(), "SELECT count(*) FROM Montaj"), 0);
}

TEST(QualifyTables, PutsEveryTableInTheSchemaOnce)
{
    const struct { const char* in; const char* out; } cases[] = {
        {"SELECT * FROM Montaj WHERE a=1", "SELECT * FROM \"s1\".Montaj WHERE a=1"},
        {"select * from \"Montaj\" m, Servis s where m.x='from Kesif'",
         "select * from \"s1\".\"Montaj\" m, \"s1\".Servis s where m.x='from Kesif'"},
        {"SELECT * FROM A JOIN B ON A.x=B.x", "SELECT * FROM \"s1\".A JOIN \"s1\".B ON A.x=B.x"},
        {"SELECT * FROM (SELECT a FROM T) WHERE b IN (SELECT b FROM U)",
         "SELECT * FROM (SELECT a FROM \"s1\".T) WHERE b IN (SELECT b FROM \"s1\".U)"},
        {"UPDATE Siparisler SET Sec='' WHERE Sec='X'", "UPDATE \"s1\".Siparisler SET Sec='' WHERE Sec='X'"},
        {"INSERT OR REPLACE INTO Montaj (a) VALUES (1)", "INSERT OR REPLACE INTO \"s1\".Montaj (a) VALUES (1)"},
        {"DELETE FROM \"s1\".\"Montaj\" WHERE rowid=?", "DELETE FROM \"s1\".\"Montaj\" WHERE rowid=?"},
        {"DROP TABLE IF EXISTS Kesif", "DROP TABLE IF EXISTS \"s1\".Kesif"},
        {"SELECT count(*) FROM Montaj -- FROM x\n", "SELECT count(*) FROM \"s1\".Montaj -- FROM x\n"},
        {"SELECT a IS NOT DISTINCT FROM b, c FROM T", "SELECT a IS NOT DISTINCT FROM b, c FROM \"s1\".T"},
        {"SELECT * FROM T ORDER BY a, b", "SELECT * FROM \"s1\".T ORDER BY a, b"},
        {"SELECT 1", "SELECT 1"},
        {"CREATE TRIGGER K BEFORE UPDATE ON T BEGIN UPDATE U SET a=1; END",
         "CREATE TRIGGER \"s1\".K BEFORE UPDATE ON T BEGIN UPDATE U SET a=1; END"},
        {"CREATE INDEX ix ON T(a)", "CREATE INDEX \"s1\".ix ON T(a)"},
    };
    for (const auto& c : cases) {
        const QString once = QualifyTables(QString::fromUtf8(c.in), QStringLiteral("\"s1\""));
        EXPECT_EQ(once.toStdString(), c.out) << c.in;
        EXPECT_EQ(QualifyTables(once, QStringLiteral("\"s1\"")), once) << c.in;
    }
}

TEST(EngineErrors, EveryCommonEngineErrorReadsInTurkishWithTheEngineWordsAfter)
{
    const struct { int code; const char* engine; const char* turkish; } cases[] = {
        {SQLITE_BUSY, "database is locked", "başka bir işlem tarafından kilitli"},
        {SQLITE_LOCKED, "database table is locked", "kilitli"},
        {SQLITE_READONLY, "attempt to write a readonly database", "salt okunur"},
        {SQLITE_FULL, "database or disk is full", "dolu"},
        {SQLITE_CORRUPT, "database disk image is malformed", "bozuk"},
        {SQLITE_NOTADB, "file is not a database", "veri dosyası değil"},
        {SQLITE_ERROR, "no such table: s2.Siparisler", "Tablo bulunamadı: Siparisler"},
        {SQLITE_ERROR, "no such column: Elemn", "Alan bulunamadı: Elemn"},
        {SQLITE_ERROR, "table Montaj has no column named Not2", "Alan bulunamadı: Montaj.Not2"},
        {SQLITE_IOERR_WRITE, "disk I/O error", "yazma hatası"},
    };
    for (const auto& c : cases) {
        const QString text = EngineErrorText(c.code, QString::fromUtf8(c.engine));
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.turkish))) << text.toStdString();
        EXPECT_TRUE(text.endsWith(QStringLiteral(" [") + QString::fromUtf8(c.engine) + QLatin1Char(']')))
            << text.toStdString();
        EXPECT_FALSE(text.startsWith(QString::fromUtf8(c.engine))) << text.toStdString();
    }
}

TEST_F(StoreActionTest, LayoutProblemsNameMissingTablesAndFieldsAndFieldsOutOfPlace)
{
    {
        auto j = Connection::Open(jobs());
        auto o = Connection::Open(orders());
        EXPECT_TRUE(LayoutProblems(StoreKind::Jobs, *j).isEmpty());
        EXPECT_TRUE(LayoutProblems(StoreKind::Orders, *o).isEmpty());
        j->ExecuteNative(QStringLiteral("DROP TABLE RecSay"));
        j->ExecuteNative(QStringLiteral("ALTER TABLE Montaj DROP COLUMN Stok"));
        o->ExecuteNative(QStringLiteral("ALTER TABLE Kesif RENAME COLUMN \"Not\" TO Gecici; "
                                        "ALTER TABLE Kesif RENAME COLUMN Iptal TO \"Not\"; "
                                        "ALTER TABLE Kesif RENAME COLUMN Gecici TO Iptal"));
    }
    // On a data set's handle the order store's "Montaj" is not the job store's.
    Connection::JoinStores({orders(), jobs()});
    auto o = Connection::Open(orders());
    auto j = Connection::Open(jobs());
    ASSERT_TRUE(j->SharesHandleWith(*o));
    EXPECT_EQ(LayoutProblems(StoreKind::Jobs, *j),
              QStringList({QStringLiteral("\"Montaj.mdb\" dosyasında \"Montaj\" tablosunun \"Stok\" alanı yok."),
                           QStringLiteral("\"Montaj.mdb\" dosyasında \"RecSay\" tablosu yok.")}));
    EXPECT_EQ(LayoutProblems(StoreKind::Orders, *o),
              QStringList({QStringLiteral("\"Siparis.Mdb\" dosyasında \"Kesif\" tablosunun \"Not\" alanı 4. sırada "
                                          "olmalı, 6. sırada."),
                           QStringLiteral("\"Siparis.Mdb\" dosyasında \"Kesif\" tablosunun \"Iptal\" alanı 6. sırada "
                                          "olmalı, 4. sırada.")}));
}

} // namespace
