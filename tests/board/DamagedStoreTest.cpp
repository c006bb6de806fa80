#include "BoardFixture.h"

#include "ui/Painting.h"

#include <QCryptographicHash>
#include <QFile>
#include <unistd.h>

namespace {

// Stores damaged the ways a user's data can be: each is named in Turkish and
// leaves every store file as it was.
class DamagedStoreTest : public BoardTest {
protected:
    // Every store file's bytes, as a fingerprint.
    QByteArray Files() const
    {
        QCryptographicHash hash(QCryptographicHash::Sha256);
        for (const QString& f : {data.jobs(), data.reports(), data.accounts(), data.orders(), data.index()})
            hash.addData(testsupport::ReadFile(f));
        return hash.result();
    }
    // Changes a store on a handle of its own, before the program starts.
    static void Damage(const QString& file, const char* sql)
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(file.toUtf8().constData(), &db), SQLITE_OK);
        store::RegisterDialectFunctions(db);
        char* error = nullptr;
        EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
        sqlite3_free(error);
        sqlite3_close(db);
    }
    // Marks lines of no kind yet in the store, before the board opens.
    void MarkLines(int count) const
    {
        Orders()->ExecuteNative(QStringLiteral("UPDATE Siparisler SET Sec='X' WHERE rowid IN (SELECT rowid FROM "
                                         "Siparisler WHERE Görev='' ORDER BY rowid LIMIT %1)")
                              .arg(count));
    }
    void PressCreate() const { QTest::mouseClick(Find<QPushButton>(QStringLiteral("Command2")), Qt::LeftButton); }
    // The one message of a failed action: the Turkish text, the engine's words, nothing changed.
    void ExpectRefused(const char* turkish, const char* engine)
    {
        ASSERT_EQ(prompt.shown.size(), 1u);
        const QString text = prompt.shown[0].text;
        EXPECT_TRUE(text.contains(QString::fromUtf8(turkish))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("[") + QString::fromUtf8(engine))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("kayıtlar değişmedi"))) << text.toStdString();
        EXPECT_FALSE(played.contains(QStringLiteral("\\Cmd.wav")));
    }
};

struct StartCase {
    const char* name;
    const char* file;
    const char* damage;
    const char* message;
};

void PrintTo(const StartCase& c, std::ostream* os) { *os << c.name; }

class DamagedAtStart : public DamagedStoreTest, public ::testing::WithParamInterface<StartCase> {};

TEST_P(DamagedAtStart, IsNamedBeforeAnyActionAndTheProgramEnds)
{
    const StartCase& c = GetParam();
    Damage(Store(c.file), c.damage);
    const QByteArray before = Files();
    board::MainWindow w;
    EXPECT_FALSE(w.Load());
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_TRUE(prompt.shown[0].text.contains(QString::fromUtf8(c.message))) << prompt.shown[0].text.toStdString();
    EXPECT_TRUE(prompt.shown[0].text.contains(QStringLiteral("Program kapanacak")));
    EXPECT_EQ(Files(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Stores, DamagedAtStart,
    ::testing::Values(
        StartCase{"MissingOrderLines", "Siparis.Mdb", "DROP TABLE Siparisler",
                  "\"Siparis.Mdb\" dosyasında \"Siparisler\" tablosu yok."},
        StartCase{"MissingCounter", "Montaj.mdb", "DROP TABLE RecSay",
                  "\"Montaj.mdb\" dosyasında \"RecSay\" tablosu yok."},
        StartCase{"MissingField", "Montaj.mdb", "ALTER TABLE Montaj DROP COLUMN Stok",
                  "\"Montaj.mdb\" dosyasında \"Montaj\" tablosunun \"Stok\" alanı yok."},
        StartCase{"FieldOutOfPlace", "Siparis.Mdb",
                  "ALTER TABLE Siparisler RENAME COLUMN Birim TO Gecici; "
                  "ALTER TABLE Siparisler RENAME COLUMN Depo TO Birim; "
                  "ALTER TABLE Siparisler RENAME COLUMN Gecici TO Depo",
                  "\"Siparis.Mdb\" dosyasında \"Siparisler\" tablosunun \"Birim\" alanı 9. sırada olmalı, 10. "
                  "sırada."},
        StartCase{"MissingDayTableOfAKind", "Siparis.Mdb", "DROP TABLE Kesif",
                  "\"Siparis.Mdb\" dosyasında \"Kesif\" tablosu yok."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DamagedStoreTest, ALockedOrderStoreRefusesJobCreationWithNothingChanged)
{
    MarkLines(3);
    board::MainWindow& w = Open();
    // The board is drawn behind the message as it stands.
    std::vector<bool> held;
    prompt.whenShown = [&] { held.push_back(ui::PaintOnce::Held(&w)); };
    // Another program holds the order store; the program gives up at once.
    sqlite3_busy_timeout(Orders()->handle(), 0);
    QByteArray before;
    WhileHeld(data.orders(), "BEGIN EXCLUSIVE", [&] {
        before = Files();
        PressCreate();
    });
    ExpectRefused("kilitli", "database is locked");
    EXPECT_EQ(Files(), before);
    EXPECT_EQ(held, std::vector<bool>{false});
    prompt.whenShown = nullptr;
}

TEST_F(DamagedStoreTest, AFullJobStoreRefusesJobCreationWithNothingChanged)
{
    MarkLines(60);
    Open();
    // No page more than the job store has now.
    auto jobs = Jobs();
    const QString schema = jobs->schemaSql();
    sqlite3_stmt* st = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(jobs->handle(), ("PRAGMA " + schema.toUtf8() + ".page_count").constData(), -1, &st,
                                 nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    const qlonglong pages = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    jobs->ExecuteNative(QStringLiteral("PRAGMA ") + schema + QStringLiteral(".max_page_count = ")
                        + QString::number(pages));
    const QByteArray before = Files();
    PressCreate();
    ExpectRefused("dolu", "database or disk is full");
    EXPECT_EQ(Files(), before);
}

TEST_F(DamagedStoreTest, AReadOnlyDataFolderRefusesJobCreationWithNothingChanged)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "the superuser writes into read-only folders";
    MarkLines(3);
    const QByteArray before = Files();
    const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    for (const QString& f : {data.jobs(), data.reports(), data.accounts(), data.orders(), data.index()})
        QFile::setPermissions(f, readOnly);
    QFile::setPermissions(data.dataRoot(), readOnly | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
    Open();
    PressCreate();
    QFile::setPermissions(data.dataRoot(), readOnly | QFile::WriteOwner | QFile::ExeOwner);
    ExpectRefused("salt okunur", "attempt to write a readonly database");
    EXPECT_EQ(Files(), before);
}

} // namespace
