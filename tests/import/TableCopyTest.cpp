#include "ImportFixture.h"

#include "import/AccessFile.h"
#include "import/TableCopy.h"
#include "store/Connection.h"
#include "store/Sql.h"
#include "store/StoreError.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace importfixture;

namespace {

struct Notes : import::ImportProgress {
    QStringList notes;
    void Note(const QString& text) override { notes << text; }
};

// name:declared type of every field, in order.
QStringList fieldsOf(store::Connection& conn, const QString& table)
{
    QStringList out;
    sqlite3_stmt* st = nullptr;
    const QByteArray sql = (QStringLiteral("PRAGMA table_info(") + store::QuotedName(table) + ')').toUtf8();
    sqlite3_prepare_v2(conn.handle(), sql.constData(), -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW)
        out << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 1))) + QLatin1Char(':')
                + QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 2)));
    sqlite3_finalize(st);
    return out;
}

QStringList indexesOf(store::Connection& conn)
{
    QStringList out;
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(conn.handle(), "SELECT name FROM sqlite_master WHERE type='index' ORDER BY name", -1, &st,
                       nullptr);
    while (sqlite3_step(st) == SQLITE_ROW)
        out << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    return out;
}

} // namespace

TEST(TableCopy, ATableTheLayoutsDoNotKnowComesOverWithTheNearestTypesAndItsIndexes)
{
    QTemporaryDir dir;
    auto conn = store::Connection::Create(dir.filePath(QStringLiteral("Ek.mdb")));
    import::AccessFile file(ForeignDir() + QStringLiteral("/testV2000.mdb"));
    Notes notes;
    auto reader = file.Open(QStringLiteral("Table1"));
    const import::CopiedTable copied = import::CopyTable(*reader, file.fileName(), nullptr, *conn, notes);
    EXPECT_EQ(copied.name, QStringLiteral("Table1"));
    EXPECT_EQ(copied.rows, 2);
    ASSERT_EQ(notes.notes.size(), 1);
    EXPECT_TRUE(notes.notes.first().contains(QStringLiteral("Table1")));

    // Text, Text, Integer, Long, Long, Double, Date/Time, Decimal, Yes/No
    EXPECT_EQ(fieldsOf(*conn, QStringLiteral("Table1")),
              (QStringList{QStringLiteral("A:TEXT"), QStringLiteral("B:TEXT"), QStringLiteral("C:DOUBLE"),
                           QStringLiteral("D:DOUBLE"), QStringLiteral("E:DOUBLE"), QStringLiteral("F:DOUBLE"),
                           QStringLiteral("G:DATETIME"), QStringLiteral("H:DOUBLE"), QStringLiteral("I:YESNO")}));
    // The primary key on A and the index on B, as plain indexes.
    EXPECT_EQ(indexesOf(*conn), (QStringList{QStringLiteral("ix_Table1_A"), QStringLiteral("ix_Table1_B")}));
    // The program's dialect reads it like any store table.
    EXPECT_EQ(conn->Scalar(QStringLiteral("Select H From Table1 Where A='abcdefg' And I=True")).toDouble(), 3.5);
    EXPECT_EQ(conn->Scalar(QStringLiteral("Select Count(*) From Table1 Where G<#01/01/1980#")).toInt(), 1);
}

TEST(TableCopy, FieldsAreMatchedToTheLayoutByNameAndTheRestFollowIt)
{
    // A layout that names two of Rapor's fields in another case, one the
    // Access table lacks, and an index.
    const store::TableDef layout{"Rapor",
                                 {{"eleman", store::FieldType::Text},
                                  {"Puan", store::FieldType::Number},
                                  {"GÖREV", store::FieldType::Text},
                                  {"Onay", store::FieldType::YesNo}},
                                 {"eleman"}};
    QTemporaryDir dir;
    auto conn = store::Connection::Create(dir.filePath(QStringLiteral("Rapor.mdb")));
    import::AccessFile file(AccessDir() + QStringLiteral("/Rapor.mdb"));
    Notes notes;
    auto reader = file.Open(QStringLiteral("Rapor"));
    EXPECT_EQ(import::CopyTable(*reader, file.fileName(), &layout, *conn, notes).rows, 17);

    EXPECT_EQ(fieldsOf(*conn, QStringLiteral("Rapor")),
              (QStringList{QStringLiteral("eleman:TEXT"), QStringLiteral("Puan:DOUBLE"), QStringLiteral("GÖREV:TEXT"),
                           QStringLiteral("Onay:YESNO"), QStringLiteral("Yapilan:DOUBLE"),
                           QStringLiteral("Unvan:TEXT"), QStringLiteral("Not:TEXT")}));
    EXPECT_EQ(notes.notes.size(), 2);
    EXPECT_TRUE(notes.notes.join(QLatin1Char(' ')).contains(QStringLiteral("\"Puan\"")));
    EXPECT_TRUE(notes.notes.join(QLatin1Char(' ')).contains(QStringLiteral("\"Onay\"")));
    // The Access index on Eleman is the layout's; Görev's comes along.
    EXPECT_EQ(indexesOf(*conn), (QStringList{QStringLiteral("ix_Rapor_GÖREV"), QStringLiteral("ix_Rapor_eleman")}));

    // Values landed in their own fields; the missing ones hold the layout's defaults.
    const ExpectedTable expected = ReadExpected(QStringLiteral("Rapor.mdb"), QStringLiteral("Rapor"));
    EXPECT_EQ(conn->Scalar(QStringLiteral("Select Count(*) From Rapor Where Puan=0 And Onay=False")).toInt(), 17);
    for (const auto& row : expected.rows)
        EXPECT_EQ(conn->Scalar(QStringLiteral("Select Count(*) From Rapor Where eleman=%1 And GÖREV=%2 And Yapilan=%3")
                                   .arg(store::SqlText(*row[0]), store::SqlText(*row[1]), *row[2]))
                      .toInt(),
                  1)
            << row[0]->toStdString();
}
