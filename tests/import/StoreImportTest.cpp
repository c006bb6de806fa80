#include "ImportFixture.h"
#include "TestSupport.h"

#include "import/StoreImport.h"
#include "store/Connection.h"
#include "store/Layouts.h"
#include "store/StoreError.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace importfixture;

namespace {

class StoreImportTest : public FixtureTest {
protected:
    QString Source() const { return dir.filePath(QStringLiteral("access")); }
    QString Dest() const { return dir.filePath(QStringLiteral("MuhasebeData")); }

    import::ImportSummary Import(bool replace = false, const QString& company = QStringLiteral("ABC"))
    {
        return import::ImportStores({Source(), Dest(), company, replace}, &progress);
    }
    QString ImportError(bool replace = false)
    {
        return testsupport::StoreErrorOf([&] { Import(replace); });
    }
    // Rows of a table in a store of the destination.
    int Count(const QString& storeName, const char* table) const
    {
        return store::Connection::Open(Dest() + QLatin1Char('/') + storeName)
            ->Scalar(QStringLiteral("Select Count(*) From ") + QLatin1String(table))
            .toInt();
    }

    // The stores the program makes for company ABC.
    static constexpr std::pair<store::StoreKind, const char*> kStores[] = {
        {store::StoreKind::Jobs, "Montaj.mdb"},     {store::StoreKind::Reports, "Rapor.mdb"},
        {store::StoreKind::Accounts, "ABCCari.Mdb"}, {store::StoreKind::Orders, "ABCSiparis.Mdb"},
        {store::StoreKind::Index, "ABCIndex.Mdb"},
    };
    // Those stores, empty, in the destination.
    void MakeEmptyStores() const
    {
        for (const auto& [kind, name] : kStores)
            store::CreateStore(kind, Dest() + QLatin1Char('/') + QLatin1String(name));
    }

    // Source and destination emptied, then the fixture stores copied to the source (see CopyStores).
    bool FreshSource(const QStringList& from = StoreFiles(), const QStringList& as = {}) const
    {
        QDir(Source()).removeRecursively();
        QDir(Dest()).removeRecursively();
        return CopyStores(Source(), from, as);
    }

    Recorder progress;
};

// The Access type of each field of a fixture table, from its column list.
QMap<QString, QString> accessTypes(const QString& store, const QString& table)
{
    QMap<QString, QString> types;
    for (const auto& r : ReadExpected(store, QStringLiteral("_columns")).rows)
        if (*r[0] == table)
            types.insert(*r[2], *r[3]);
    return types;
}

// Schema rows of a store file: type, name, table and statement of every
// table and index, sorted.
QStringList schemaOf(const QString& path)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    QStringList rows = SqlRows(db, QStringLiteral("SELECT type, name, tbl_name, sql FROM sqlite_master"));
    sqlite3_close(db);
    rows.sort();
    return rows;
}

} // namespace

TEST_F(StoreImportTest, EveryCellOfTheFiveStoresIsTheExpectedOneInTheProgramsOwnLayouts)
{
    ASSERT_TRUE(CopyStores(Source()));
    const import::ImportSummary summary = Import();
    EXPECT_EQ(summary.stores, 5);
    EXPECT_EQ(summary.tables, 12);
    EXPECT_EQ(summary.rows, 611);
    EXPECT_TRUE(summary.backups.isEmpty());
    EXPECT_EQ(progress.started.first(), QStringLiteral("Montaj.mdb/Montaj:100"));
    EXPECT_EQ(progress.started.last(), QStringLiteral("ABCIndex.Mdb/Tarih:2"));
    EXPECT_EQ(progress.done.size(), size_t(12));
    EXPECT_TRUE(progress.notes.isEmpty()) << progress.notes.join(QLatin1Char('\n')).toStdString();

    int cells = 0;
    for (const QString& storeName : StoreFiles()) {
        const QString path = Dest() + QLatin1Char('/') + storeName;
        ASSERT_TRUE(QFileInfo::exists(path)) << path.toStdString();
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
        store::RegisterDialectFunctions(db);
        for (const QString& table : ExpectedTables(storeName)) {
            SCOPED_TRACE((storeName + QLatin1Char('/') + table).toStdString());
            const ExpectedTable expected = ReadExpected(storeName, table);
            const QMap<QString, QString> types = accessTypes(storeName, table);
            QStringList columns;
            for (const QString& f : expected.fields)
                columns << store::QuotedName(f);
            const QString sql = QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid")
                                    .arg(columns.join(QStringLiteral(", ")), store::QuotedName(table));
            sqlite3_stmt* st = nullptr;
            ASSERT_EQ(sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr), SQLITE_OK)
                << sqlite3_errmsg(db);
            size_t row = 0;
            while (sqlite3_step(st) == SQLITE_ROW) {
                ASSERT_LT(row, expected.rows.size());
                for (int c = 0; c < expected.fields.size(); ++c) {
                    const QString& field = expected.fields.at(c);
                    const std::optional<QString>& want = expected.rows[row][size_t(c)];
                    const int storage = sqlite3_column_type(st, c);
                    const std::string where = QStringLiteral("row %1 %2").arg(row + 1).arg(field).toStdString();
                    ++cells;
                    if (!want) {
                        EXPECT_EQ(storage, SQLITE_NULL) << where;
                        continue;
                    }
                    const QString type = types.value(field);
                    if (type == QLatin1String("Text") || type == QLatin1String("Memo")
                        || type == QLatin1String("Date/Time")) {
                        ASSERT_EQ(storage, SQLITE_TEXT) << where;
                        EXPECT_EQ(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c)),
                                                    sqlite3_column_bytes(st, c)),
                                  *want)
                            << where;
                    } else if (type == QLatin1String("Yes/No")) {
                        ASSERT_EQ(storage, SQLITE_INTEGER) << where;
                        EXPECT_EQ(QString::number(sqlite3_column_int64(st, c)), *want) << where;
                    } else if (type == QLatin1String("Double")) {
                        // The expected text is Java's shortest form: compare as doubles.
                        EXPECT_EQ(sqlite3_column_double(st, c), want->toDouble()) << where;
                    } else {
                        // Currency, Single, Byte, Integer, Long: the very digits, no noise.
                        ASSERT_TRUE(storage == SQLITE_FLOAT || storage == SQLITE_INTEGER) << where;
                        EXPECT_EQ(Shortest(sqlite3_column_double(st, c)), want->toStdString()) << where;
                    }
                }
                ++row;
            }
            sqlite3_finalize(st);
            EXPECT_EQ(row, expected.rows.size());
        }
        sqlite3_close(db);
    }
    EXPECT_GT(cells, 10000);

    // The same schema, statement for statement, as a store the program makes.
    QTemporaryDir made;
    for (const auto& [kind, name] : kStores) {
        const QString file = QString::fromLatin1(name);
        store::CreateStore(kind, made.filePath(file));
        EXPECT_EQ(schemaOf(Dest() + QLatin1Char('/') + file), schemaOf(made.filePath(file))) << name;
    }

    // The program's own queries find what Access had: '' and NULL apart,
    // dates before 1900, the batch counter.
    const ExpectedTable lines = ReadExpected(QStringLiteral("ABCSiparis.Mdb"), QStringLiteral("Siparisler"));
    const size_t code = size_t(lines.fields.indexOf(QStringLiteral("StokKod")));
    int empty = 0, null = 0;
    for (const auto& r : lines.rows) {
        empty += r[code] && r[code]->isEmpty();
        null += !r[code];
    }
    ASSERT_GT(empty, 0);
    ASSERT_GT(null, 0);
    auto orders = store::Connection::Open(Dest() + QStringLiteral("/ABCSiparis.Mdb"));
    EXPECT_EQ(orders->Scalar(QStringLiteral("Select Count(*) From Siparisler Where StokKod=''")).toInt(), empty);
    EXPECT_EQ(orders->Scalar(QStringLiteral("Select Count(*) From Siparisler Where StokKod Is Null")).toInt(), null);
    EXPECT_EQ(orders->Scalar(QStringLiteral("Select Count(*) From Siparisler Where Sec='X'")).toInt(), 4);
    auto cards = store::Connection::Open(Dest() + QStringLiteral("/ABCCari.Mdb"));
    EXPECT_EQ(cards->Scalar(QStringLiteral("Select Count(*) From CariKartlar Where AcilisTarih<#12/30/1899#")).toInt(), 2);
    EXPECT_EQ(cards->Scalar(QStringLiteral("Select Unvan From CariKartlar Where CariKod='120.01.001'")).toString(),
              QStringLiteral("Kemal'in Yeri Mobilya"));
    auto jobs = store::Connection::Open(Dest() + QStringLiteral("/Montaj.mdb"));
    EXPECT_EQ(jobs->Scalar(QStringLiteral("Select RecNo From RecSay")).toDouble(), 87.0);
    EXPECT_EQ(jobs->Scalar(QStringLiteral("Select Count(*) From Montaj Where Tamam=True And Iptal=False")).toInt(), 70);
}

TEST_F(StoreImportTest, SourceNamesAreMatchedWithoutRegardToCaseAndTheCompanyFolderIsKept)
{
    struct Case {
        const char *company, *sourceNames, *targetNames;
    };
    const Case cases[] = {
        {"ABC", "MONTAJ.MDB rapor.mdb abccari.mdb AbcSiparis.mdb abcindex.MDB",
         "Montaj.mdb Rapor.mdb ABCCari.Mdb ABCSiparis.Mdb ABCIndex.Mdb"},
        {"ABC\\", "Montaj.mdb Rapor.mdb abc/Cari.mdb abc/Siparis.Mdb abc/INDEX.mdb",
         "Montaj.mdb Rapor.mdb ABC/Cari.Mdb ABC/Siparis.Mdb ABC/Index.Mdb"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.company);
        const QStringList targetNames = QString::fromUtf8(c.targetNames).split(QLatin1Char(' '));
        ASSERT_TRUE(FreshSource(StoreFiles(), QString::fromUtf8(c.sourceNames).split(QLatin1Char(' '))));
        EXPECT_EQ(Import(false, QString::fromUtf8(c.company)).stores, 5);
        for (const QString& name : targetNames) {
            const QString path = Dest() + QLatin1Char('/') + name;
            EXPECT_TRUE(QFileInfo(path).isFile()) << path.toStdString();
        }
        EXPECT_EQ(Count(targetNames.at(3), "Siparisler"), 300);
    }
}

TEST_F(StoreImportTest, ExistingStoresAreKeptAsBakOnlyWithReplace)
{
    ASSERT_TRUE(CopyStores(Source()));
    MakeEmptyStores();
    const auto before = Snapshot(Dest());

    const QString refused = ImportError(false);
    EXPECT_TRUE(refused.contains(QStringLiteral("--replace"))) << refused.toStdString();
    EXPECT_TRUE(refused.contains(QStringLiteral("ABCCari.Mdb"))) << refused.toStdString();
    EXPECT_EQ(Snapshot(Dest()), before);

    const import::ImportSummary first = Import(true);
    ASSERT_EQ(first.backups.size(), 5);
    const auto afterFirst = Snapshot(Dest());
    for (auto it = before.begin(); it != before.end(); ++it)
        EXPECT_EQ(afterFirst.value(it.key() + QStringLiteral(".bak")), it.value()) << it.key().toStdString();
    EXPECT_EQ(Count("Montaj.mdb", "Montaj"), 100);

    // A second run keeps the first backup and numbers the next one.
    const import::ImportSummary second = Import(true);
    EXPECT_EQ(second.backups.first(), Dest() + QStringLiteral("/Montaj.mdb.2.bak"));
    const auto afterSecond = Snapshot(Dest());
    EXPECT_EQ(afterSecond.value(QStringLiteral("Montaj.mdb.bak")), afterFirst.value(QStringLiteral("Montaj.mdb.bak")));
    EXPECT_EQ(afterSecond.value(QStringLiteral("Montaj.mdb.2.bak")), afterFirst.value(QStringLiteral("Montaj.mdb")));
    EXPECT_EQ(Count("Montaj.mdb", "Montaj"), 100);
}

TEST_F(StoreImportTest, AFailureHalfWayLeavesTheDestinationAsItWas)
{
    // ABCSiparis.Mdb comes fourth: three stores are written by the time it fails.
    const QByteArray bytes = testsupport::ReadFile(AccessDir() + QStringLiteral("/ABCSiparis.Mdb"));
    ASSERT_FALSE(bytes.isEmpty());
    QByteArray zeroedPages = bytes;
    for (int page = 30; page < 60; ++page) // data pages in the middle of the order lines
        zeroedPages.replace(page * 4096, 4096, QByteArray(4096, '\0'));
    QByteArray badRow = bytes;
    for (int page = 1; page < bytes.size() / 4096; ++page)
        if (bytes.at(page * 4096) == 0x01) {
            badRow[page * 4096 + 12] = char(0xff); // a row count no page can hold
            badRow[page * 4096 + 13] = char(0x0f);
        }
    struct Case {
        const char* what;
        QByteArray siparis;
        bool destinationExists;
    };
    const Case cases[] = {
        {"cut short", bytes.left(bytes.size() / 2), false},
        {"pages zeroed", zeroedPages, true},
        {"row table broken", badRow, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(FreshSource());
        ASSERT_TRUE(testsupport::WriteFile(Source() + QStringLiteral("/ABCSiparis.Mdb"), c.siparis));
        if (c.destinationExists) {
            MakeEmptyStores();
            ASSERT_TRUE(testsupport::WriteFile(Dest() + QStringLiteral("/Notlar.txt"), "kalsın"));
        }
        const auto before = Snapshot(Dest());
        const QString message = ImportError(true);
        EXPECT_TRUE(message.contains(QStringLiteral("ABCSiparis.Mdb"))) << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral("hiçbir şey değişmedi"))) << message.toStdString();
        EXPECT_EQ(Snapshot(Dest()), before);
        EXPECT_EQ(QFileInfo::exists(Dest()), c.destinationExists);
    }
}

TEST_F(StoreImportTest, ForeignFilesUnderAStoreNameAreRefusedNamingFileAndTable)
{
    for (const char* foreign : {"testV2000.mdb", "testUnicodeCompV2003.mdb"}) {
        SCOPED_TRACE(foreign);
        ASSERT_TRUE(FreshSource());
        QFile::remove(Source() + QStringLiteral("/ABCCari.Mdb"));
        ASSERT_TRUE(QFile::copy(ForeignDir() + QLatin1Char('/') + QLatin1String(foreign),
                                Source() + QStringLiteral("/ABCCari.Mdb")));
        const QString message = ImportError();
        EXPECT_TRUE(message.contains(QStringLiteral("\"ABCCari.Mdb\" dosyasında \"CariKartlar\" tablosu yok")))
            << message.toStdString();
        EXPECT_FALSE(QFileInfo::exists(Dest()));
    }

    // A folder of foreign files holds no store at all.
    const QString none = testsupport::StoreErrorOf(
        [&] { import::ImportStores({ForeignDir(), Dest(), QStringLiteral("ABC"), false}); });
    EXPECT_TRUE(none.contains(QStringLiteral("Access dosyası bulunamadı"))) << none.toStdString();
    EXPECT_TRUE(none.contains(QStringLiteral("ABCCari.Mdb"))) << none.toStdString();
}

TEST_F(StoreImportTest, StoresMissingFromTheSourceAreNamedAndTheRestImported)
{
    ASSERT_TRUE(CopyStores(Source(), {QStringLiteral("Montaj.mdb"), QStringLiteral("ABCCari.Mdb")}));
    const import::ImportSummary summary = Import();
    EXPECT_EQ(summary.stores, 2);
    EXPECT_EQ(summary.written, (QStringList{Dest() + QStringLiteral("/Montaj.mdb"),
                                            Dest() + QStringLiteral("/ABCCari.Mdb")}));
    EXPECT_EQ(progress.notes.size(), 3);
    EXPECT_TRUE(progress.notes.join(QLatin1Char(' ')).contains(QStringLiteral("ABCSiparis.Mdb")));

    // With the wrong company code only the shared stores are found, and the
    // message says what to do when none is.
    ASSERT_TRUE(FreshSource({QStringLiteral("ABCCari.Mdb")}));
    const QString refused = testsupport::StoreErrorOf([&] { Import(false, QStringLiteral("XYZ")); });
    EXPECT_TRUE(refused.contains(QStringLiteral("--company"))) << refused.toStdString();
}

TEST_F(StoreImportTest, AccessFilesInTheDataFolderAreReplacedInPlaceAndKept)
{
    // What Velmora's start-up message proposes: the data folder as source
    // and destination, with --replace.
    ASSERT_TRUE(CopyStores(Dest()));
    const auto access = Snapshot(Dest());
    EXPECT_THROW(store::Connection::Open(Dest() + QStringLiteral("/Montaj.mdb")), store::StoreError);

    const import::ImportSummary summary = import::ImportStores({Dest(), Dest(), QStringLiteral("ABC"), true});
    EXPECT_EQ(summary.stores, 5);
    const auto after = Snapshot(Dest());
    for (auto it = access.begin(); it != access.end(); ++it)
        EXPECT_EQ(after.value(it.key() + QStringLiteral(".bak")), it.value()) << it.key().toStdString();
    EXPECT_EQ(after.size(), 10); // the stores and their Access originals, nothing else
    EXPECT_EQ(Count("Montaj.mdb", "Montaj"), 100);
}
