#include "store/Connection.h"
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
