#include "store/Connection.h"
#include "store/JetDialect.h"
#include "store/Layouts.h"
#include "store/StoreError.h"

#include "TestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <map>
#include <string>

using namespace store;

namespace {

const TableDef& Table(StoreKind kind, const char* name)
{
    for (const TableDef& t : TablesOf(kind))
        if (qstrcmp(t.name, name) == 0)
            return t;
    throw std::runtime_error(std::string("no table ") + name);
}

// The field names of a table as the created store has them, in order.
QStringList StoredFields(Connection& c, const char* table)
{
    sqlite3_stmt* st = nullptr;
    const QByteArray sql = QStringLiteral("SELECT * FROM \"%1\"").arg(QString::fromUtf8(table)).toUtf8();
    EXPECT_EQ(sqlite3_prepare_v2(c.handle(), sql.constData(), -1, &st, nullptr), SQLITE_OK);
    QStringList names;
    for (int i = 0; i < sqlite3_column_count(st); ++i)
        names << QString::fromUtf8(sqlite3_column_name(st, i));
    sqlite3_finalize(st);
    return names;
}

} // namespace

// Positions the program addresses by number.
struct PositionCase {
    StoreKind kind;
    const char* table;
    int position;
    const char* field;
    FieldType type;
};

class LayoutPositionTest : public ::testing::TestWithParam<PositionCase> {};

TEST_P(LayoutPositionTest, FieldStandsAtItsPosition)
{
    const PositionCase& p = GetParam();
    const TableDef& t = Table(p.kind, p.table);
    ASSERT_LT(p.position, int(t.fields.size()));
    EXPECT_STREQ(t.fields[size_t(p.position)].name, p.field) << p.table << " " << p.position;
    EXPECT_EQ(t.fields[size_t(p.position)].type, p.type) << p.table << " " << p.position;
}

INSTANTIATE_TEST_SUITE_P(
    Positions, LayoutPositionTest,
    ::testing::Values(
        PositionCase{StoreKind::Orders, "Siparisler", 0, "CariKod", FieldType::Text},
        PositionCase{StoreKind::Orders, "Siparisler", 1, "SipTur", FieldType::Text},
        PositionCase{StoreKind::Orders, "Siparisler", 2, "SipTarih", FieldType::DateTime},
        PositionCase{StoreKind::Orders, "Siparisler", 4, "SipNo", FieldType::Text},
        PositionCase{StoreKind::Orders, "Siparisler", 5, "TesAdet", FieldType::Number},
        PositionCase{StoreKind::Orders, "Siparisler", 6, "KalAdet", FieldType::Number},
        PositionCase{StoreKind::Orders, "Siparisler", 10, "CariAdi", FieldType::Text},
        PositionCase{StoreKind::Orders, "Siparisler", 11, "StokAdi", FieldType::Text},
        PositionCase{StoreKind::Orders, "Siparisler", 14, "Miktar", FieldType::Number},
        PositionCase{StoreKind::Orders, "Siparisler", 15, "Tutar", FieldType::Number},
        PositionCase{StoreKind::Orders, "Siparisler", 24, "Sec", FieldType::Text},
        PositionCase{StoreKind::Orders, "Siparisler", 25, "Görev", FieldType::Text},
        PositionCase{StoreKind::Orders, "Siparisler", 26, "Eleman", FieldType::Text},
        PositionCase{StoreKind::Orders, "Siparisler", 27, "Montaj", FieldType::YesNo},
        PositionCase{StoreKind::Orders, "Siparisler", 28, "Servis", FieldType::YesNo},
        PositionCase{StoreKind::Orders, "Siparisler", 29, "Kesif", FieldType::YesNo},
        PositionCase{StoreKind::Orders, "Siparisler", 30, "Paket", FieldType::YesNo},
        PositionCase{StoreKind::Orders, "Siparisler", 31, "Not", FieldType::Text},
        PositionCase{StoreKind::Orders, "Montaj", 0, "SipNo", FieldType::Text},
        PositionCase{StoreKind::Orders, "Servis", 1, "Eleman", FieldType::Text},
        PositionCase{StoreKind::Orders, "Kesif", 2, "Tarih", FieldType::DateTime},
        PositionCase{StoreKind::Orders, "Paket", 4, "RecNo", FieldType::Number},
        PositionCase{StoreKind::Orders, "Paket", 5, "Iptal", FieldType::YesNo},
        PositionCase{StoreKind::Jobs, "Montaj", 0, "Eleman", FieldType::Text},
        PositionCase{StoreKind::Jobs, "Montaj", 1, "Görev", FieldType::Text},
        PositionCase{StoreKind::Jobs, "Montaj", 2, "Tarih", FieldType::DateTime},
        PositionCase{StoreKind::Jobs, "Montaj", 3, "SipNo", FieldType::Text},
        PositionCase{StoreKind::Jobs, "Montaj", 4, "Tamam", FieldType::YesNo},
        PositionCase{StoreKind::Jobs, "Montaj", 5, "Adet", FieldType::Number},
        PositionCase{StoreKind::Jobs, "Montaj", 6, "RecNo", FieldType::Number},
        PositionCase{StoreKind::Jobs, "Montaj", 7, "CariKod", FieldType::Text},
        PositionCase{StoreKind::Jobs, "Montaj", 8, "Unvan", FieldType::Text},
        PositionCase{StoreKind::Jobs, "Montaj", 9, "Iptal", FieldType::YesNo},
        PositionCase{StoreKind::Jobs, "Montaj", 10, "Stok", FieldType::Text},
        PositionCase{StoreKind::Jobs, "Montaj", 11, "Kalan", FieldType::Number},
        PositionCase{StoreKind::Jobs, "Montaj", 12, "Not", FieldType::Text},
        PositionCase{StoreKind::Jobs, "RecSay", 0, "RecNo", FieldType::Number},
        PositionCase{StoreKind::Accounts, "CariKartlar", 0, "CariKod", FieldType::Text},
        PositionCase{StoreKind::Accounts, "CariKartlar", 1, "Unvan", FieldType::Text},
        PositionCase{StoreKind::Accounts, "CariKartlar", 2, "Tel", FieldType::Text},
        PositionCase{StoreKind::Accounts, "CariKartlar", 3, "Adres", FieldType::Text},
        PositionCase{StoreKind::Accounts, "CariKartlar", 4, "Sehir", FieldType::Text},
        PositionCase{StoreKind::Accounts, "CariKartlar", 20, "Gsm", FieldType::Text},
        PositionCase{StoreKind::Accounts, "CariKartlar", 24, "TelEv", FieldType::Text},
        PositionCase{StoreKind::Accounts, "CariKartlar", 25, "Not", FieldType::Text},
        PositionCase{StoreKind::Accounts, "CariKartlar", 26, "Gurup", FieldType::Text},
        PositionCase{StoreKind::Accounts, "CariKartlar", 27, "HesKullan", FieldType::YesNo},
        PositionCase{StoreKind::Accounts, "CariKartlar", 30, "Bakiye", FieldType::Number},
        PositionCase{StoreKind::Accounts, "CariKartlar", 31, "Hesap", FieldType::Text},
        PositionCase{StoreKind::Reports, "Rapor", 0, "Eleman", FieldType::Text},
        PositionCase{StoreKind::Reports, "Rapor", 1, "Görev", FieldType::Text},
        PositionCase{StoreKind::Reports, "Rapor", 2, "Yapilan", FieldType::Number},
        PositionCase{StoreKind::Reports, "Rapor", 3, "Unvan", FieldType::Text},
        PositionCase{StoreKind::Index, "Mdbindex", 2, "Indexi", FieldType::Text},
        PositionCase{StoreKind::Index, "Tarih", 0, "Tarih", FieldType::Text}));

TEST(LayoutsTest, TablesOfEachStore)
{
    auto names = [](StoreKind k) {
        QStringList n;
        for (const TableDef& t : TablesOf(k))
            n << QString::fromUtf8(t.name);
        return n;
    };
    EXPECT_EQ(names(StoreKind::Jobs), (QStringList{"Montaj", "RecSay"}));
    EXPECT_EQ(names(StoreKind::Reports), (QStringList{"Rapor"}));
    EXPECT_EQ(names(StoreKind::Accounts), (QStringList{"CariKartlar", "CariHareket"}));
    EXPECT_EQ(names(StoreKind::Orders), (QStringList{"Siparisler", "Montaj", "Servis", "Kesif", "Paket"}));
    EXPECT_EQ(names(StoreKind::Index), (QStringList{"Mdbindex", "Tarih"}));
    EXPECT_EQ(Table(StoreKind::Orders, "Siparisler").fields.size(), 32u);
    EXPECT_EQ(Table(StoreKind::Accounts, "CariKartlar").fields.size(), 32u);
}

TEST(LayoutsTest, CreatedStoreHasFieldsInOrderDefaultsAndIndexes)
{
    testsupport::TestDataDir data(testsupport::TestDataDir::Content::EmptyStores);
    ASSERT_TRUE(data.ok());
    auto orders = Connection::Open(data.orders());
    QStringList expected;
    for (const FieldDef& f : Table(StoreKind::Orders, "Siparisler").fields)
        expected << QString::fromUtf8(f.name);
    EXPECT_EQ(StoredFields(*orders, "Siparisler"), expected);

    // A survey line gives only some fields; the list filters rely on the rest.
    orders->ExecuteNative(QStringLiteral("INSERT INTO Siparisler (SipNo, \"Görev\") VALUES ('X1', 'Kesif')"));
    EXPECT_EQ(orders->Scalar(QStringLiteral("Select Count(*) From Siparisler Where StokKod='' And Sec='' "
                                            "And KalAdet=0 And Montaj=False And [Not]=''")).toInt(), 1);

    // A job keeps Tamam, Iptal and Kalan at their defaults.
    auto jobs = Connection::Open(data.jobs());
    jobs->ExecuteNative(
        QStringLiteral("INSERT INTO Montaj (Eleman, \"Görev\", SipNo, Adet) VALUES ('Ali', 'Montaj', '1', 3)"));
    EXPECT_EQ(jobs->Scalar(QStringLiteral("Select Count(*) From Montaj Where Tamam=False And Iptal=False And Kalan=0"))
                  .toInt(), 1);
    EXPECT_EQ(jobs->Scalar(QStringLiteral("Select RecNo From RecSay")).toDouble(), 0.0);

    // Text columns compare the Turkish way, also through their indexes.
    jobs->ExecuteNative(QStringLiteral("INSERT INTO Montaj (Eleman, SipNo) VALUES ('IŞIK', '2')"));
    EXPECT_EQ(jobs->Scalar(QStringLiteral("Select SipNo From Montaj Where Eleman='ışık'")).toString(),
              QStringLiteral("2"));
    const QString plan = jobs->Scalar(QStringLiteral("Select Count(*) From Montaj")).toString();
    EXPECT_EQ(plan, QStringLiteral("2"));
    sqlite3_stmt* st = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(jobs->handle(),
                                 "SELECT count(*) FROM sqlite_master WHERE type='index' AND tbl_name='Montaj'", -1,
                                 &st, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    EXPECT_GE(sqlite3_column_int(st, 0), 6);
    sqlite3_finalize(st);
}

TEST(LayoutsTest, CreateStoreRefusesAnExistingFile)
{
    testsupport::TestDataDir data(testsupport::TestDataDir::Content::EmptyStores);
    EXPECT_THROW(CreateStore(StoreKind::Jobs, data.jobs()), StoreError);
    // Another spelling of the same name is the same file.
    EXPECT_THROW(CreateStore(StoreKind::Jobs, data.dataRoot() + QStringLiteral("MONTAJ.MDB")), StoreError);
}

TEST(LayoutsTest, ColumnNamesAreQuoted)
{
    const QString sql = CreateTableSql(Table(StoreKind::Jobs, "Montaj"));
    EXPECT_TRUE(sql.contains(QStringLiteral("\"Not\" TEXT COLLATE TURKISH"))) << qPrintable(sql);
    EXPECT_TRUE(sql.contains(QStringLiteral("\"Tamam\" YESNO"))) << qPrintable(sql);
    EXPECT_TRUE(sql.contains(QStringLiteral("\"Tarih\" DATETIME"))) << qPrintable(sql);
    EXPECT_TRUE(sql.contains(QStringLiteral("\"Adet\" DOUBLE"))) << qPrintable(sql);
}

// The work report's sums find their rows through an index, not a walk over
// every job.
TEST(LayoutsTest, TheReportSumsReadThroughAnIndex)
{
    testsupport::TestDataDir data(testsupport::TestDataDir::Content::EmptyStores);
    auto jobs = Connection::Open(data.jobs());
    const struct {
        const char* query;
        const char* index;
    } sums[] = {
        {"Select Sum(Adet) FROM Montaj Where Tamam=False And Görev='Montaj'", "ix_Montaj_Görev_Tarih"},
        {"Select Sum(Adet) FROM Montaj Where Tamam=False And Görev='Montaj' And Tarih>=#12/01/2026 00:00:00# "
         "And Tarih<=#12/31/2026 23:59:59#",
         "ix_Montaj_Görev_Tarih"},
        {"Select Sum(Kalan) FROM Montaj Where Eleman='Ali Veli' And Tamam=True And Iptal=False And Görev='Montaj' "
         "And Eleman<>'Paket Teslim' And Tarih>=#12/01/2026 00:00:00# And Tarih<=#12/31/2026 23:59:59#",
         "ix_Montaj_Eleman_Görev_Tarih"},
    };
    for (const auto& s : sums) {
        const QByteArray sql = (QStringLiteral("EXPLAIN QUERY PLAN ") + TranslateJet(QString::fromUtf8(s.query))).toUtf8();
        sqlite3_stmt* st = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(jobs->handle(), sql.constData(), -1, &st, nullptr), SQLITE_OK) << s.query;
        QString plan;
        while (sqlite3_step(st) == SQLITE_ROW)
            plan += QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 3))) + QLatin1Char('\n');
        sqlite3_finalize(st);
        EXPECT_TRUE(plan.contains(QStringLiteral("INDEX ") + QString::fromUtf8(s.index))) << s.query << "\n"
                                                                                           << qPrintable(plan);
    }
}

// A store written before the query indexes existed gets them when it is
// opened, and not a row of it changes.
TEST(LayoutsTest, AnOlderStoreGetsTheQueryIndexesOnOpenWithItsRowsUnchanged)
{
    testsupport::TestDataDir data(testsupport::TestDataDir::Content::Demo);
    const auto indexesAndRows = [](const QString& path) {
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
        sqlite3_stmt* st = nullptr;
        QStringList names;
        sqlite3_prepare_v2(db, "SELECT name FROM sqlite_schema WHERE type='index' AND name LIKE 'ix_%' ORDER BY 1",
                           -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW)
            names << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
        // Every row of the order lines, in table order, as text.
        QByteArray rows;
        sqlite3_prepare_v2(db, "SELECT * FROM Siparisler ORDER BY rowid", -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW)
            for (int c = 0; c < sqlite3_column_count(st); ++c)
                rows += QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(st, c))) + '\t';
        sqlite3_finalize(st);
        sqlite3_close(db);
        return std::make_pair(names.join(QLatin1Char(' ')).toStdString(), rows);
    };
    const QString orders = data.orders();
    const auto full = indexesAndRows(orders);
    const auto dropQueryIndexes = [&orders] {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open_v2(orders.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
        for (const TableDef& t : TablesOf(StoreKind::Orders))
            for (const QueryIndex& ix : t.queryIndexes)
                ASSERT_EQ(sqlite3_exec(db,
                                       QStringLiteral("DROP INDEX \"ix_%1_%2\"")
                                           .arg(QString::fromUtf8(t.name), QString::fromUtf8(ix.name))
                                           .toUtf8()
                                           .constData(),
                                       nullptr, nullptr, nullptr),
                          SQLITE_OK);
        sqlite3_close(db);
    };
    dropQueryIndexes();
    const auto old = indexesAndRows(orders);
    ASSERT_LT(old.first.size(), full.first.size()) << full.first;
    Connection::Open(orders).reset();
    const auto opened = indexesAndRows(orders);
    EXPECT_EQ(opened.first, full.first);
    EXPECT_EQ(opened.second, old.second);
    EXPECT_FALSE(opened.second.isEmpty());

    // Also when the store is attached to the handle of another store of its
    // set: the indexes go into its own file.
    dropQueryIndexes();
    Connection::JoinStores({data.jobs(), orders});
    const auto jobs = Connection::Open(data.jobs());
    const auto attached = Connection::Open(orders);
    ASSERT_TRUE(attached->SharesHandleWith(*jobs));
    EXPECT_EQ(indexesAndRows(orders).first, full.first);
}
