#include "store/Connection.h"
#include "store/JetDialect.h"
#include "store/Layouts.h"
#include "store/StoreError.h"

#include "StoredRows.h"
#include "TestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

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

// Positions the program addresses by number.
TEST(LayoutsTest, FieldsStandAtThePositionsTheProgramAddresses)
{
    constexpr auto O = StoreKind::Orders, J = StoreKind::Jobs, A = StoreKind::Accounts;
    constexpr auto T = FieldType::Text, D = FieldType::DateTime, N = FieldType::Number, Y = FieldType::YesNo;
    const struct { StoreKind kind; const char* table; int position; const char* field; FieldType type; } cases[] = {
        {O, "Siparisler", 0, "CariKod", T},   {O, "Siparisler", 1, "SipTur", T},   {O, "Siparisler", 2, "SipTarih", D},
        {O, "Siparisler", 4, "SipNo", T},     {O, "Siparisler", 5, "TesAdet", N},  {O, "Siparisler", 6, "KalAdet", N},
        {O, "Siparisler", 10, "CariAdi", T},  {O, "Siparisler", 11, "StokAdi", T}, {O, "Siparisler", 14, "Miktar", N},
        {O, "Siparisler", 15, "Tutar", N},    {O, "Siparisler", 24, "Sec", T},     {O, "Siparisler", 25, "Görev", T},
        {O, "Siparisler", 26, "Eleman", T},   {O, "Siparisler", 27, "Montaj", Y},  {O, "Siparisler", 28, "Servis", Y},
        {O, "Siparisler", 29, "Kesif", Y},    {O, "Siparisler", 30, "Paket", Y},   {O, "Siparisler", 31, "Not", T},
        {O, "Montaj", 0, "SipNo", T},         {O, "Servis", 1, "Eleman", T},       {O, "Kesif", 2, "Tarih", D},
        {O, "Paket", 4, "RecNo", N},          {O, "Paket", 5, "Iptal", Y},         {J, "Montaj", 0, "Eleman", T},
        {J, "Montaj", 1, "Görev", T},         {J, "Montaj", 2, "Tarih", D},        {J, "Montaj", 3, "SipNo", T},
        {J, "Montaj", 4, "Tamam", Y},         {J, "Montaj", 5, "Adet", N},         {J, "Montaj", 6, "RecNo", N},
        {J, "Montaj", 7, "CariKod", T},       {J, "Montaj", 8, "Unvan", T},        {J, "Montaj", 9, "Iptal", Y},
        {J, "Montaj", 10, "Stok", T},         {J, "Montaj", 11, "Kalan", N},       {J, "Montaj", 12, "Not", T},
        {J, "RecSay", 0, "RecNo", N},         {A, "CariKartlar", 0, "CariKod", T}, {A, "CariKartlar", 1, "Unvan", T},
        {A, "CariKartlar", 2, "Tel", T},      {A, "CariKartlar", 3, "Adres", T},   {A, "CariKartlar", 4, "Sehir", T},
        {A, "CariKartlar", 20, "Gsm", T},     {A, "CariKartlar", 24, "TelEv", T},  {A, "CariKartlar", 25, "Not", T},
        {A, "CariKartlar", 26, "Gurup", T},   {A, "CariKartlar", 27, "HesKullan", Y},
        {A, "CariKartlar", 30, "Bakiye", N},  {A, "CariKartlar", 31, "Hesap", T},
        {StoreKind::Reports, "Rapor", 0, "Eleman", T},  {StoreKind::Reports, "Rapor", 1, "Görev", T},
        {StoreKind::Reports, "Rapor", 2, "Yapilan", N}, {StoreKind::Reports, "Rapor", 3, "Unvan", T},
        {StoreKind::Index, "Mdbindex", 2, "Indexi", T}, {StoreKind::Index, "Tarih", 0, "Tarih", T},
    };
    for (const auto& c : cases) {
        const TableDef& t = Table(c.kind, c.table);
        ASSERT_LT(c.position, int(t.fields.size())) << c.table << " " << c.position;
        EXPECT_STREQ(t.fields[size_t(c.position)].name, c.field) << c.table << " " << c.position;
        EXPECT_EQ(t.fields[size_t(c.position)].type, c.type) << c.table << " " << c.position;
    }
}

TEST(LayoutsTest, TablesOfEachStoreWithQuotedColumnNames)
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
    // Column names are quoted.
    const QString sql = CreateTableSql(Table(StoreKind::Jobs, "Montaj"));
    for (const char* column :
         {"\"Not\" TEXT COLLATE TURKISH", "\"Tamam\" YESNO", "\"Tarih\" DATETIME", "\"Adet\" DOUBLE"})
        EXPECT_TRUE(sql.contains(QString::fromUtf8(column))) << column << " in " << qPrintable(sql);
}

TEST(LayoutsTest, CreatedStoreHasFieldsInOrderDefaultsAndIndexes)
{
    testsupport::TestDataDir data(testsupport::TestDataDir::Content::EmptyStores);
    ASSERT_TRUE(data.ok());
    auto orders = Connection::Open(data.orders());
    QStringList expected;
    for (const FieldDef& f : Table(StoreKind::Orders, "Siparisler").fields)
        expected << QString::fromUtf8(f.name);
    EXPECT_EQ(storetest::Rows(orders->handle(), QStringLiteral("SELECT name FROM pragma_table_info('Siparisler')")),
              expected);

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
    EXPECT_GE(storetest::Rows(jobs->handle(), QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type='index' "
                                                             "AND tbl_name='Montaj'")).value(0).toInt(), 6);

    // A store is never made over an existing file, whatever the case of its name.
    EXPECT_THROW(CreateStore(StoreKind::Jobs, data.jobs()), StoreError);
    EXPECT_THROW(CreateStore(StoreKind::Jobs, data.dataRoot() + QStringLiteral("MONTAJ.MDB")), StoreError);
}

// The work report's sums find their rows through an index, not a walk over
// every job.
TEST(LayoutsTest, TheReportSumsReadThroughAnIndex)
{
    testsupport::TestDataDir data(testsupport::TestDataDir::Content::EmptyStores);
    auto jobs = Connection::Open(data.jobs());
    const struct { const char* query; const char* index; } sums[] = {
        {"Select Sum(Adet) FROM Montaj Where Tamam=False And Görev='Montaj'", "ix_Montaj_Görev_Tarih"},
        {"Select Sum(Adet) FROM Montaj Where Tamam=False And Görev='Montaj' And Tarih>=#12/01/2026 00:00:00# "
         "And Tarih<=#12/31/2026 23:59:59#",
         "ix_Montaj_Görev_Tarih"},
        {"Select Sum(Kalan) FROM Montaj Where Eleman='Ali Veli' And Tamam=True And Iptal=False And Görev='Montaj' "
         "And Eleman<>'Paket Teslim' And Tarih>=#12/01/2026 00:00:00# And Tarih<=#12/31/2026 23:59:59#",
         "ix_Montaj_Eleman_Görev_Tarih"},
    };
    for (const auto& s : sums) {
        const QString sql = QStringLiteral("EXPLAIN QUERY PLAN ") + TranslateJet(QString::fromUtf8(s.query));
        const QString plan = storetest::Rows(jobs->handle(), sql).join(QLatin1Char('\n'));
        EXPECT_TRUE(plan.contains(QStringLiteral("INDEX ") + QString::fromUtf8(s.index))) << s.query << "\n"
                                                                                           << qPrintable(plan);
    }
}

// A store written before the query indexes existed gets them when it is
// opened, and not a row of it changes.
TEST(LayoutsTest, AnOlderStoreGetsTheQueryIndexesOnOpenWithItsRowsUnchanged)
{
    testsupport::TestDataDir data(testsupport::TestDataDir::Content::Demo);
    const QString orders = data.orders();
    const auto indexes = [&orders] {
        return storetest::StoredRows(orders, QStringLiteral("SELECT name FROM sqlite_schema WHERE type='index' "
                                                            "AND name GLOB 'ix_*' ORDER BY 1"));
    };
    const auto rows = [&orders] {
        return storetest::StoredRows(orders, QStringLiteral("SELECT * FROM Siparisler ORDER BY rowid"));
    };
    const QStringList full = indexes();
    const auto dropQueryIndexes = [&orders] {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open_v2(orders.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
        for (const TableDef& t : TablesOf(StoreKind::Orders))
            for (const QueryIndex& ix : t.queryIndexes)
                ASSERT_EQ(sqlite3_exec(db, QStringLiteral("DROP INDEX \"ix_%1_%2\"").arg(
                                           QString::fromUtf8(t.name), QString::fromUtf8(ix.name)).toUtf8().constData(),
                                       nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    };
    dropQueryIndexes();
    const QStringList oldRows = rows();
    ASSERT_LT(indexes().size(), full.size()) << full.join(QLatin1Char(' ')).toStdString();
    Connection::Open(orders).reset();
    EXPECT_EQ(indexes(), full);
    EXPECT_EQ(rows(), oldRows);
    EXPECT_FALSE(oldRows.isEmpty());

    // Also when the store is attached to the handle of another store of its
    // set: the indexes go into its own file.
    dropQueryIndexes();
    Connection::JoinStores({data.jobs(), orders});
    const auto jobs = Connection::Open(data.jobs());
    const auto attached = Connection::Open(orders);
    ASSERT_TRUE(attached->SharesHandleWith(*jobs));
    EXPECT_EQ(indexes(), full);
}

} // namespace
