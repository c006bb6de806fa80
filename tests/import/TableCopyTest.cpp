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

// name:declared type of every field, in order.
QStringList fieldsOf(store::Connection& conn, const QString& table)
{
    return SqlRows(conn.handle(), QStringLiteral("SELECT name, type FROM pragma_table_info(%1)").arg(store::SqlText(table)),
                   QLatin1Char(':'));
}

QStringList indexesOf(store::Connection& conn)
{
    return SqlRows(conn.handle(), QStringLiteral("SELECT name FROM sqlite_master WHERE type='index' ORDER BY name"));
}

} // namespace

TEST(TableCopy, ATableTheLayoutsDoNotKnowComesOverWithTheNearestTypesAndItsIndexes)
{
    QTemporaryDir dir;
    auto conn = store::Connection::Create(dir.filePath(QStringLiteral("Ek.mdb")));
    import::AccessFile file(ForeignDir() + QStringLiteral("/testV2000.mdb"));
    Recorder notes;
    auto reader = file.Open(QStringLiteral("Table1"));
    const import::CopiedTable copied = import::CopyTable(*reader, file.fileName(), nullptr, *conn, notes);
    EXPECT_EQ(copied.name, QStringLiteral("Table1"));
    EXPECT_EQ(copied.rows, 2);
    ASSERT_EQ(notes.notes.size(), 1);
    EXPECT_TRUE(notes.notes.first().contains(QStringLiteral("Table1")));

    // Text, Text, Integer, Long, Long, Double, Date/Time, Decimal, Yes/No
    EXPECT_EQ(fieldsOf(*conn, QStringLiteral("Table1")),
              QStringLiteral("A:TEXT B:TEXT C:DOUBLE D:DOUBLE E:DOUBLE F:DOUBLE G:DATETIME H:DOUBLE I:YESNO").split(' '));
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
    Recorder notes;
    auto reader = file.Open(QStringLiteral("Rapor"));
    EXPECT_EQ(import::CopyTable(*reader, file.fileName(), &layout, *conn, notes).rows, 17);

    EXPECT_EQ(fieldsOf(*conn, QStringLiteral("Rapor")),
              QStringLiteral("eleman:TEXT Puan:DOUBLE GÖREV:TEXT Onay:YESNO Yapilan:DOUBLE Unvan:TEXT Not:TEXT").split(' '));
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
