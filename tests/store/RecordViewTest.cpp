#include "store/Connection.h"
#include "store/BatchCounter.h"
#include "store/Layouts.h"
#include "store/RecordView.h"
#include "store/RowCache.h"
#include "store/Sql.h"
#include "store/StoreError.h"

#include "StoredRows.h"
#include "TestSupport.h"

#include <QDateTime>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

using store::Connection;
using store::FieldType;
using store::RecordView;
using store::StoreError;
using storetest::findFirst;
using storetest::write;

namespace {

// A small order store: text columns with the Turkish collation, numbers as
// DOUBLE, Yes/No as YESNO (1/0), dates as DATETIME text.
class RecordViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("Siparis.Mdb"));
        Connection::Create(path)->ExecuteNative(QStringLiteral(
            "CREATE TABLE Siparisler (CariKod TEXT COLLATE TURKISH, SipTur TEXT COLLATE TURKISH, "
            "SipTarih DATETIME, TesTarih DATETIME, SipNo TEXT COLLATE TURKISH, KalAdet DOUBLE DEFAULT 0, "
            "CariAdi TEXT COLLATE TURKISH, Montaj YESNO DEFAULT 0, \"Görev\" TEXT COLLATE TURKISH DEFAULT '', "
            "\"Not\" TEXT COLLATE TURKISH DEFAULT '');"
            "CREATE INDEX SiparislerSipNo ON Siparisler(SipNo);"
            "CREATE TABLE Montaj (Eleman TEXT COLLATE TURKISH, \"Görev\" TEXT COLLATE TURKISH, Adet DOUBLE, "
            "Tamam YESNO);"
            // Rowids run opposite to SipNo order, so table order and view order differ.
            "INSERT INTO Siparisler (CariKod, SipNo, CariAdi, KalAdet, \"Görev\") VALUES "
            "('C1', 'S005', 'Zeynep Yapı', 3, 'Montaj'), ('C2', 'S004', 'Çiçek Ltd', 0, ''), "
            "('C3', 'S003', 'Cem Ticaret', 2, 'Kesif'), ('C4', 'S002', 'ışık Cam', 5, 'Montaj'), "
            "('C5', 'S001', 'İnci Ev', 1, 'Montaj');"
            "UPDATE Siparisler SET SipTarih='2026-12-07 00:00:00', Montaj=1;"
            "INSERT INTO Montaj VALUES ('Ali', 'Montaj', 2, 0), ('Ali', 'Servis', 1, 1), ('Veli', 'Montaj', 4, 0)"));
    }

    std::unique_ptr<RecordView> view(const QString& source) { return testsupport::OpenView(path, source); }
    std::unique_ptr<RecordView> view(const char* source) { return view(QString::fromUtf8(source)); }

    static QString at(RecordView& v, const char* f = "SipNo") { return v.Field(QString::fromUtf8(f)).toString(); }

    QStringList column(RecordView& v, const char* field)
    {
        QStringList out;
        const int p = v.FieldIndex(QString::fromUtf8(field));
        for (int r = 0; r < v.RecordCount(); ++r)
            out << v.ValueAt(r, p).toString();
        return out;
    }

    // The fields of an order line as they are on disk, past every view and cache.
    QString stored(const char* fields, const char* sipNo = "S002")
    {
        return storetest::Stored(path, QStringLiteral("SELECT %1 FROM Siparisler WHERE SipNo='%2'")
                                           .arg(QString::fromUtf8(fields), QString::fromUtf8(sipNo)));
    }

    QTemporaryDir dir;
    QString path;
};

TEST_F(RecordViewTest, RefreshFollowsTurkishOrderAndStartsOnTheFirstRow)
{
    auto v = view("Select * From Siparisler Order By CariAdi Asc");
    EXPECT_EQ(v->RecordCount(), 5);
    EXPECT_EQ(v->AbsolutePosition(), 0);
    EXPECT_FALSE(v->BOF());
    EXPECT_FALSE(v->EOF());
    EXPECT_FALSE(v->ReadOnly());
    EXPECT_EQ(column(*v, "CariAdi"), (QStringList{"Cem Ticaret", "Çiçek Ltd", "ışık Cam", "İnci Ev", "Zeynep Yapı"}));
    EXPECT_EQ(at(*v, "CariAdi"), QStringLiteral("Cem Ticaret"));
    // A table name alone is the whole table, in table order.
    EXPECT_EQ(column(*view("Siparisler"), "SipNo"), (QStringList{"S005", "S004", "S003", "S002", "S001"}));
}

TEST_F(RecordViewTest, EmptyResultIsBothBofAndEofAndWritesNeedEdit)
{
    auto v = view("Select * From Siparisler Where SipNo='YOK'");
    EXPECT_EQ(v->RecordCount(), 0);
    EXPECT_TRUE(v->BOF() && v->EOF());
    EXPECT_THROW(v->Field(QStringLiteral("SipNo")), StoreError);
    EXPECT_THROW(v->Edit(), StoreError);
    EXPECT_THROW(v->Delete(), StoreError);
    v->MoveNext();
    v->MoveLast();
    EXPECT_TRUE(v->BOF() && v->EOF());
    // The fields are known even without rows.
    EXPECT_EQ(v->FieldCount(), 10);
    EXPECT_EQ(v->FieldIndex(QStringLiteral("SipNo")), 4);

    // With rows, an update or assignment without Edit is refused.
    v = view("Siparisler");
    EXPECT_THROW(v->Update(), StoreError);
    EXPECT_THROW(v->setField(QStringLiteral("Not"), QStringLiteral("x")), StoreError);
    v->Edit();
    EXPECT_THROW(v->setField(QStringLiteral("KalAdet"), QStringLiteral("beş")), StoreError);
    EXPECT_THROW(v->setField(QStringLiteral("SipTarih"), QStringLiteral("yarın")), StoreError);
    v->Update(); // nothing assigned: nothing written, no fault
    EXPECT_THROW(v->Update(), StoreError);
}

TEST_F(RecordViewTest, MovesStopOnePastEitherEnd)
{
    auto v = view("Select * From Siparisler Order By SipNo Asc");
    // sipNo nullptr: no current row.
    const struct { void (RecordView::*move)(); int position; const char* sipNo; } steps[] = {
        {&RecordView::MoveLast, 4, "S005"},     {&RecordView::MoveNext, 5, nullptr},
        {&RecordView::MoveNext, 5, nullptr},    {&RecordView::MovePrevious, 4, "S005"},
        {&RecordView::MoveFirst, 0, "S001"},    {&RecordView::MovePrevious, -1, nullptr},
        {&RecordView::MovePrevious, -1, nullptr}, {&RecordView::MoveNext, 0, "S001"},
    };
    for (size_t k = 0; k < std::size(steps); ++k) {
        const auto& s = steps[k];
        (v.get()->*s.move)();
        EXPECT_EQ(v->AbsolutePosition(), s.position) << "step " << k;
        EXPECT_EQ(v->BOF(), s.position < 0) << "step " << k;
        EXPECT_EQ(v->EOF(), s.position > 4) << "step " << k;
        if (s.sipNo)
            EXPECT_EQ(at(*v), QString::fromUtf8(s.sipNo)) << "step " << k;
        else
            EXPECT_THROW(v->Field(0), StoreError) << "step " << k;
    }
    v->setAbsolutePosition(2);
    EXPECT_EQ(at(*v), QStringLiteral("S003"));
}

TEST_F(RecordViewTest, FindsWalkTheViewsOwnRowsInTheViewsOrder)
{
    // S001 is filtered out of the view, though it matches several criteria.
    auto v = view("Select * From Siparisler Where CariKod<>'C5' Order By SipNo Desc");
    ASSERT_EQ(column(*v, "SipNo"), (QStringList{"S005", "S004", "S003", "S002"}));
    const auto first = &RecordView::FindFirst, next = &RecordView::FindNext, previous = &RecordView::FindPrevious,
               last = &RecordView::FindLast;
    // position: where the view stands after the find.
    using Find = void (RecordView::*)(const QString&);
    const struct { Find find; const char* criteria; bool match; int position; } steps[] = {
        {first, "Görev='Montaj'", true, 0},    {next, "Görev='Montaj'", true, 3},
        {next, "Görev='Montaj'", false, 3},    {previous, "Görev='Montaj'", true, 0},
        {last, "KalAdet>=2", true, 3},         {first, "SipNo='S001'", false, 3},
        // Text comparison is case-insensitive with the Turkish pairs.
        {first, "CariAdi='IŞIK CAM'", true, 3}, {first, "CariAdi Like 'çi*'", true, 1},
    };
    for (const auto& s : steps) {
        (v.get()->*s.find)(QString::fromUtf8(s.criteria));
        EXPECT_EQ(v->NoMatch(), !s.match) << s.criteria;
        EXPECT_EQ(v->AbsolutePosition(), s.position) << s.criteria;
    }
}

TEST_F(RecordViewTest, FindCriteriaSpeakTheDialect)
{
    auto v = view("Select * From Siparisler Order By SipNo Asc");
    // Finds that differ only in their values share one prepared statement;
    // each must still find its own row.
    // position -1: no match.
    const struct { const char* criteria; int position; } cases[] = {
        {"SipNo='S003'", 2}, {"SipNo='S001'", 0}, {"SipNo='s005'", 4}, {"SipNo='S003' Or SipNo='S004'", 2},
        {"SipNo='S004' Or SipNo='S003'", 2},
        {"Montaj=True And SipTarih=#12/07/2026# And KalAdet<3", 0},
        {"Montaj=False", -1}, {"SipTarih<#12/07/2026#", -1}, {"CariAdi=\"Cem Ticaret\"", 2},
        {"CariAdi Like '*i*' And Görev<>''", 0}, {"SipNo='S''003'", -1},
    };
    for (const auto& c : cases) {
        v->setAbsolutePosition(1);
        EXPECT_EQ(findFirst(*v, QString::fromUtf8(c.criteria)), c.position) << c.criteria;
        EXPECT_EQ(v->AbsolutePosition(), c.position < 0 ? 1 : c.position) << c.criteria;
    }
    EXPECT_THROW(v->FindFirst(QStringLiteral("Yok=1")), StoreError);
    EXPECT_TRUE(v->NoMatch());
}

TEST_F(RecordViewTest, FieldsByNameAndPositionAreTheSameFieldsWithTheirTypes)
{
    auto v = view("Select * From Siparisler Where SipNo='S003'");
    EXPECT_EQ(v->FieldIndex(QStringLiteral("Yok")), -1);
    EXPECT_THROW(v->Field(QStringLiteral("Yok")), StoreError);
    EXPECT_THROW(v->Field(10), StoreError);
    constexpr auto T = FieldType::Text;
    // Names in any case; each field read by name and by position alike.
    const struct { const char* field; int position; FieldType type; QVariant value; } cases[] = {
        {"CariKod", 0, T, QStringLiteral("C3")}, {"sipno", 4, T, QStringLiteral("S003")},
        {"GÖREV", 8, T, QStringLiteral("Kesif")}, {"NOT", 9, T, QStringLiteral("")},
        {"CariAdi", 6, T, QStringLiteral("Cem Ticaret")}, {"KalAdet", 5, FieldType::Number, 2.0},
        {"Montaj", 7, FieldType::YesNo, true},
        {"SipTarih", 2, FieldType::DateTime, store::WallClock(QDate(2026, 12, 7))},
        {"TesTarih", 3, FieldType::DateTime, QVariant()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(v->FieldIndex(QString::fromUtf8(c.field)), c.position) << c.field;
        EXPECT_EQ(v->TypeOf(c.position), c.type) << c.field;
        const QVariant got = v->Field(c.position);
        EXPECT_EQ(v->Field(QString::fromUtf8(c.field)), got) << c.field;
        EXPECT_EQ(got.isNull(), c.value.isNull()) << c.field;
        if (!c.value.isNull()) {
            EXPECT_EQ(got.typeId(), c.value.typeId()) << c.field;
            EXPECT_EQ(got, c.value) << c.field;
        }
    }
}

TEST_F(RecordViewTest, EditByNameAndPositionIsStoredWhenUpdateReturns)
{
    auto v = view("Select * From Siparisler Order By SipNo Asc");
    QSignalSpy changed(v.get(), &RecordView::rowChanged);
    v->setAbsolutePosition(1); // S002
    v->Edit();
    v->setField(QStringLiteral("Not"), QStringLiteral("Ahmet'in Yeri"));
    v->setField(5, 7); // KalAdet
    v->setField(QStringLiteral("montaj"), false);
    v->setField(QStringLiteral("TesTarih"), QDate(2026, 12, 24));
    // Pending values read back in the field's own form.
    EXPECT_EQ(v->Field(5).typeId(), QMetaType::Double);
    EXPECT_EQ(stored("\"Not\""), QString());
    v->Update();
    EXPECT_FALSE(v->Editing());
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toInt(), 1);
    EXPECT_EQ(stored("\"Not\", KalAdet, Montaj, TesTarih"),
              QStringLiteral("Ahmet'in Yeri\t7.0\t0\t2026-12-24 00:00:00"));
    EXPECT_EQ(at(*v, "Not"), QStringLiteral("Ahmet'in Yeri"));
    EXPECT_EQ(v->Field(QStringLiteral("Montaj")), QVariant(false));

    // A null text is stored as an empty text, never as no value; Turkish
    // letters are stored as typed.
    write(*v, {{"Görev", QString()}, {"CariAdi", QStringLiteral("Şükrü Çağlar İnşaat")}});
    EXPECT_EQ(stored("\"Görev\", CariAdi"), QStringLiteral("\tŞükrü Çağlar İnşaat"));

    // A value with a quote is found with the quoting helper.
    v->MoveFirst();
    EXPECT_EQ(findFirst(*v, QStringLiteral("[Not]=") + store::SqlText(QStringLiteral("Ahmet'in Yeri"))), 1);

    // Moving away forgets an edit that was not stored.
    v->Edit();
    v->setField(QStringLiteral("Not"), QStringLiteral("unutulur"));
    v->MoveNext();
    EXPECT_FALSE(v->Editing());
    EXPECT_EQ(stored("\"Not\""), QStringLiteral("Ahmet'in Yeri"));
    v->Edit();
    v->setField(QStringLiteral("Not"), QStringLiteral("vazgeçildi"));
    v->CancelUpdate();
    EXPECT_NE(at(*v, "Not"), QStringLiteral("vazgeçildi"));
}

TEST_F(RecordViewTest, AddNewJoinsTheEndAndKeepsTheCurrentRow)
{
    auto v = view("Select * From Siparisler Where KalAdet>0 Order By SipNo Asc");
    ASSERT_EQ(v->RecordCount(), 4);
    QSignalSpy inserted(v.get(), &RecordView::rowInserted);
    v->setAbsolutePosition(1);
    v->AddNew();
    EXPECT_TRUE(v->Field(QStringLiteral("SipNo")).isNull());
    v->setField(QStringLiteral("SipNo"), QStringLiteral("A000"));
    v->setField(QStringLiteral("CariAdi"), QStringLiteral("Yeni Müşteri"));
    v->Update();
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted.at(0).at(0).toInt(), 4);
    EXPECT_EQ(v->RecordCount(), 5);
    EXPECT_EQ(v->AbsolutePosition(), 1);
    EXPECT_EQ(at(*v), QStringLiteral("S002"));
    // At the end although it sorts first and fails the view's condition.
    EXPECT_EQ(column(*v, "SipNo").last(), QStringLiteral("A000"));
    // Fields not given keep the table's defaults.
    EXPECT_EQ(stored("KalAdet, Montaj, \"Not\"", "A000"), QStringLiteral("0.0\t0\t"));
    EXPECT_EQ(findFirst(*v, QStringLiteral("SipNo='A000'")), 4);

    // Positional writes on a new row.
    v->AddNew();
    v->setField(4, QStringLiteral("B000"));
    v->setField(0, QStringLiteral("C9"));
    v->Update();
    EXPECT_EQ(stored("CariKod", "B000"), QStringLiteral("C9"));

    // An empty view: the new row is reachable, the current position stays.
    auto e = view("Select * From Siparisler Where SipNo='Z'");
    write(*e, {{"SipNo", QStringLiteral("Z")}}, true);
    EXPECT_EQ(e->RecordCount(), 1);
    e->MoveFirst();
    EXPECT_EQ(at(*e), QStringLiteral("Z"));
}

TEST_F(RecordViewTest, DeleteMakesTheNextRowCurrent)
{
    auto v = view("Select * From Siparisler Order By SipNo Asc");
    QSignalSpy removed(v.get(), &RecordView::rowRemoved);
    v->setAbsolutePosition(1);
    v->Delete();
    ASSERT_EQ(removed.count(), 1);
    EXPECT_EQ(removed.at(0).at(0).toInt(), 1);
    EXPECT_EQ(v->RecordCount(), 4);
    EXPECT_EQ(v->AbsolutePosition(), 1);
    EXPECT_EQ(at(*v), QStringLiteral("S003"));
    EXPECT_EQ(stored("count(*)"), QStringLiteral("0"));
    // Finds still land on the right rows after positions shifted.
    EXPECT_EQ(findFirst(*v, QStringLiteral("SipNo='S005'")), 3);
    v->Delete();
    EXPECT_TRUE(v->EOF());
    EXPECT_EQ(v->RecordCount(), 3);
    EXPECT_EQ(findFirst(*v, QStringLiteral("SipNo='S004'")), 2);
    for (int i = 0; i < 3; ++i) {
        v->MoveFirst();
        v->Delete();
    }
    EXPECT_TRUE(v->BOF() && v->EOF());
}

TEST_F(RecordViewTest, ComputedResultsAreReadWholeAndReadOnly)
{
    auto v = view("Select Görev, Sum(Adet) As Toplam From Montaj Group By Görev Order By Görev");
    EXPECT_TRUE(v->ReadOnly());
    ASSERT_EQ(v->RecordCount(), 2);
    EXPECT_EQ(v->FieldNames(), (QStringList{"Görev", "Toplam"}));
    EXPECT_EQ(v->TypeOf(1), FieldType::Number);
    EXPECT_EQ(v->Field(QStringLiteral("toplam")), QVariant(6.0));
    EXPECT_THROW(v->Edit(), StoreError);
    EXPECT_THROW(v->AddNew(), StoreError);
    EXPECT_THROW(v->Delete(), StoreError);

    EXPECT_EQ(findFirst(*v, QStringLiteral("Görev='SERVİS'")), 1);
    EXPECT_EQ(v->Field(1), QVariant(1.0));
    v->FindPrevious(QStringLiteral("Toplam>0"));
    EXPECT_EQ(v->AbsolutePosition(), 0);
    v->FindNext(QStringLiteral("Toplam>0"));
    EXPECT_EQ(v->AbsolutePosition(), 1);
    EXPECT_EQ(findFirst(*v, QStringLiteral("Toplam>100")), -1);
    EXPECT_EQ(v->AbsolutePosition(), 1);

    auto none = view("Select Sum(Adet) From Montaj Where Eleman='Yok'");
    ASSERT_EQ(none->RecordCount(), 1);
    EXPECT_TRUE(none->Field(0).isNull());
}

TEST_F(RecordViewTest, DataSurvivesClosingAndReopeningAndChangesShowInOpenViews)
{
    {
        auto v = view("Siparisler");
        v->FindFirst(QStringLiteral("SipNo='S004'"));
        write(*v, {{"Görev", QStringLiteral("Paket")}});
        v->Close();
        EXPECT_FALSE(v->IsOpen());
        EXPECT_EQ(v->RecordCount(), 0);
        EXPECT_EQ(v->connection(), nullptr);
    }
    auto again = view("Select * From SIPARISLER Where Görev='paket'");
    ASSERT_EQ(again->RecordCount(), 1);
    EXPECT_EQ(at(*again), QStringLiteral("S004"));
    // The store name is matched without regard to case.
    const auto lower = testsupport::OpenView(dir.filePath(QStringLiteral("siparis.mdb")), QStringLiteral("Siparisler"));
    EXPECT_EQ(lower->RecordCount(), 5);

    // Changes made through the store show in an open view.
    auto v = view("Select * From Siparisler Order By SipNo Asc");
    EXPECT_EQ(at(*v, "Görev"), QStringLiteral("Montaj"));
    v->connection()->ExecuteNative(QStringLiteral("UPDATE Siparisler SET \"Görev\"='Servis' WHERE SipNo='S001'"));
    EXPECT_EQ(at(*v, "Görev"), QStringLiteral("Servis"));
    // A row deleted behind the view's back reads as empty rather than failing.
    v->connection()->ExecuteNative(QStringLiteral("DELETE FROM Siparisler WHERE SipNo='S001'"));
    EXPECT_TRUE(v->Field(QStringLiteral("SipNo")).isNull());
}

TEST_F(RecordViewTest, FailuresLeaveTheViewEmptyWithATurkishMessage)
{
    auto v = view("Siparisler");
    QSignalSpy refreshed(v.get(), &RecordView::refreshed);
    v->setRecordSource(QStringLiteral("Select * From Yok Order By SipNo"));
    const QString message = testsupport::StoreErrorOf([&] { v->Refresh(); });
    EXPECT_TRUE(message.contains(QStringLiteral("Tablo bulunamadı"))) << message.toStdString();
    EXPECT_EQ(refreshed.count(), 1);
    EXPECT_EQ(v->RecordCount(), 0);
    EXPECT_TRUE(v->BOF() && v->EOF());

    RecordView missing;
    missing.setDatabaseName(dir.filePath(QStringLiteral("Yok.mdb")));
    missing.setRecordSource(QStringLiteral("Siparisler"));
    EXPECT_THROW(missing.Refresh(), StoreError);
}

// A view keeps the statements of the sources it refreshed last; whatever
// changed in the store between refreshes, the next one reads it.
TEST_F(RecordViewTest, RefreshingAgainReadsTheStoreAsItIsNow)
{
    const char* open = "Select * From Montaj Where Tamam=False Order By Eleman Asc";
    auto v = view(open);
    ASSERT_EQ(v->RecordCount(), 2);
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path.toUtf8().constData(), &other, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    store::RegisterDialectFunctions(other);
    const auto exec = [&](const char* sql) {
        ASSERT_EQ(sqlite3_exec(other, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(other);
    };
    const auto refresh = [&](const char* source) {
        v->setRecordSource(QString::fromUtf8(source));
        v->Refresh();
    };

    // A kept statement holds no lock: another handle can write after a refresh.
    exec("BEGIN EXCLUSIVE; INSERT INTO Montaj VALUES ('Cem', 'Servis', 7, 0); COMMIT");
    v->Refresh();
    EXPECT_EQ(column(*v, "Eleman"), (QStringList{"Ali", "Cem", "Veli"}));

    // More sources than a view keeps, in turn, each read right every time.
    const std::pair<const char*, int> sources[] = {
        {open, 3}, {"Montaj", 4}, {"Select * From Montaj Where Eleman='Ali'", 2},
        {"Select * From Montaj Where Eleman='Veli'", 1}, {"Select * From Montaj Where Adet>3", 2},
        {"Select Görev, Sum(Adet) As Toplam From Montaj Group By Görev", 2},
    };
    for (int round = 0; round < 2; ++round)
        for (const auto& [source, rows] : sources) {
            refresh(source);
            EXPECT_EQ(v->RecordCount(), rows) << source;
        }
    EXPECT_EQ(v->Field(QStringLiteral("Toplam")).toDouble(), 6.0); // Montaj: 2 + 4
    EXPECT_TRUE(v->ReadOnly());

    // A field added to the table behind the view's back is there after the
    // next refresh of the same source, and the view writes it.
    refresh(open);
    ASSERT_EQ(v->FieldIndex(QStringLiteral("Not")), -1);
    exec("ALTER TABLE Montaj ADD COLUMN \"Not\" TEXT DEFAULT ''");
    v->Refresh();
    ASSERT_EQ(v->FieldCount(), 5);
    ASSERT_EQ(v->FieldIndex(QStringLiteral("Not")), 4);
    write(*v, {{"Not", QStringLiteral("kapıda")}});
    EXPECT_EQ(storetest::Stored(path, QStringLiteral("SELECT \"Not\" FROM Montaj WHERE Eleman='Ali' AND Tamam=0")),
              QStringLiteral("kapıda"));

    // A table gone fails the refresh; back again, the view reads it.
    exec("ALTER TABLE Montaj RENAME TO Eski");
    EXPECT_THROW(v->Refresh(), StoreError);
    EXPECT_EQ(v->RecordCount(), 0);
    exec("ALTER TABLE Eski RENAME TO Montaj");
    v->Refresh();
    EXPECT_EQ(v->RecordCount(), 3);
    sqlite3_close(other);
}

TEST_F(RecordViewTest, ARowDeletedInOneViewNeverComesBackAsAnotherRowInTheNext)
{
    auto all = view("Montaj");
    auto other = view("Montaj");
    ASSERT_EQ(all->RecordCount(), 3);
    other->MoveLast(); // the newest row: SQLite would give its key to the next one
    other->Delete();
    write(*other, {{"Eleman", QStringLiteral("Yeni")}}, true);
    // The first view still holds the deleted row's key; it must not read the new row there.
    EXPECT_NE(all->ValueAt(2, 0).toString(), QStringLiteral("Yeni"));
    all->Refresh();
    ASSERT_EQ(all->RecordCount(), 3);
    all->MoveLast();
    EXPECT_EQ(at(*all, "Eleman"), QStringLiteral("Yeni"));
}

TEST_F(RecordViewTest, YesNoTakesTurkishWordsInAnyCase)
{
    auto v = view("Montaj");
    struct Case { const char* text; bool value; };
    for (const Case& c : {Case{"HAYIR", false}, Case{"Hayır", false}, Case{"YANLIŞ", false}, Case{"EVET", true},
                          Case{"Doğru", true}, Case{"True", true}, Case{"0", false}}) {
        write(*v, {{"Tamam", QString::fromUtf8(c.text)}});
        EXPECT_EQ(v->Field(QStringLiteral("Tamam")).toBool(), c.value) << c.text;
    }
    // A Yes/No the accounting package left as text reads by its meaning.
    Connection::Open(path)->ExecuteNative(QStringLiteral("UPDATE Montaj SET Tamam='Hayır' WHERE Eleman='Veli'"));
    v->Refresh();
    ASSERT_EQ(findFirst(*v, QStringLiteral("Eleman='Veli'")), 2);
    EXPECT_FALSE(v->Field(QStringLiteral("Tamam")).toBool());
}

TEST(BatchCounterTest, NumbersAreTakenInTheirOwnTransactionWithNothingElseOpen)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Montaj.mdb"));
    store::CreateStore(store::StoreKind::Jobs, path);
    // No view or connection keeps the store open between the calls.
    EXPECT_EQ(store::TakeBatchNumber(path), 1);
    EXPECT_EQ(store::TakeBatchNumber(path), 2);
    EXPECT_EQ(Connection::Open(path)->Scalar(QStringLiteral("Select RecNo From RecSay")).toDouble(), 2);
    Connection::Open(path)->Execute(QStringLiteral("DELETE FROM RecSay"));
    EXPECT_THROW(store::TakeBatchNumber(path), store::StoreError);
}

TEST(RowCacheTest, KeepsTheMostRecentlyUsedRows)
{
    store::RowCache cache(2);
    cache.put(1, {QVariant(1)});
    cache.put(2, {QVariant(2)});
    ASSERT_NE(cache.find(1), nullptr); // 1 is now the most recent
    cache.put(3, {QVariant(3)});       // drops 2
    EXPECT_EQ(cache.find(2), nullptr);
    ASSERT_NE(cache.find(1), nullptr);
    ASSERT_NE(cache.find(3), nullptr);
    EXPECT_EQ(cache.find(3)->at(0), QVariant(3));
    cache.put(3, {QVariant(33)}); // replacing keeps one entry
    EXPECT_EQ(cache.size(), 2u);
    EXPECT_EQ(cache.find(3)->at(0), QVariant(33));
    cache.erase(1);
    EXPECT_EQ(cache.find(1), nullptr);
    EXPECT_EQ(cache.size(), 1u);
}

// Deletions at scattered places, with rows added between them: after each,
// every find lands on the row a freshly refreshed view has at that place,
// and a deleted row is found nowhere. A view in the table's order places rows
// by its keys; one with an order of its own by a map of them.
TEST(RecordViewDeletes, FindsKeepTheirPlacesThroughManyDeletionsAndAdditions)
{
    for (const char* source : {"Select * From Montaj", "Select * From Montaj Order By SipNo Asc"}) {
        SCOPED_TRACE(source);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Montaj.mdb"));
        Connection::Create(path)->ExecuteNative(QStringLiteral(
            "CREATE TABLE Montaj (SipNo TEXT COLLATE TURKISH);"
            "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 59) "
            "INSERT INTO Montaj SELECT printf('S%03d', i) FROM n"));
        const auto view = testsupport::OpenView(path, QString::fromUtf8(source));
        RecordView& v = *view;
        v.FindFirst(QStringLiteral("SipNo='S000'"));
        QStringList gone;
        const int places[] = {0, 5, 5, 30, 1, 50, 2, 40, 0, 20, 20, 20};
        int added = 0;
        for (size_t k = 0; k < std::size(places); ++k) {
            v.setAbsolutePosition(places[k]);
            gone << v.Field(0).toString();
            v.Delete();
            if (k % 3 == 2)
                write(v, {{"SipNo", QStringLiteral("Y%1").arg(++added)}}, true);
            const auto fresh = testsupport::OpenView(path, QString::fromUtf8(source));
            ASSERT_EQ(v.RecordCount(), fresh->RecordCount());
            for (int row = 0; row < fresh->RecordCount(); row += 3) {
                const QString sipNo = fresh->ValueAt(row, 0).toString();
                EXPECT_EQ(findFirst(v, QStringLiteral("SipNo='%1'").arg(sipNo)), row)
                    << sipNo.toStdString() << " after " << k + 1 << " deletions";
            }
            for (const QString& sipNo : gone)
                EXPECT_EQ(findFirst(v, QStringLiteral("SipNo='%1'").arg(sipNo)), -1) << sipNo.toStdString();
            // Finding backwards walks the same places.
            v.FindLast(QStringLiteral("SipNo Like 'Y*'"));
            if (added > 0) {
                EXPECT_EQ(v.AbsolutePosition(), v.RecordCount() - 1);
            }
        }
    }
}

} // namespace
