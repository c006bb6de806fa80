#include "store/Connection.h"
#include "store/JetDialect.h"
#include "store/Sql.h"
#include "store/StoreError.h"

#include "StoredRows.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>

using namespace store;

namespace {

// A small job table with the collation the record layouts declare, so each
// case runs a dialect piece end to end: translation, collation, like().
class JetDialectTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        conn_ = Connection::Create(dir_.filePath(QStringLiteral("Montaj.mdb")));
        conn_->ExecuteNative(QStringLiteral(
            "CREATE TABLE Montaj (Id INTEGER PRIMARY KEY, Unvan TEXT COLLATE TURKISH, "
            "Görev TEXT COLLATE TURKISH, Tarih TEXT COLLATE TURKISH, Tamam INTEGER, Iptal INTEGER, "
            "Adet REAL, \"Not\" TEXT COLLATE TURKISH);"
            "INSERT INTO Montaj (Id, Unvan, Tarih, Tamam, Adet) VALUES "
            "(1, 'istanbul', '2026-11-01 00:00:00', 1, 5), (2, 'ışık', '2026-11-15 10:30:00', 0, 3), "
            "(3, 'işik', '2026-11-30 23:59:59', 0, 2), (4, 'Çiçek', '2026-12-01 00:00:00', 1, 1), "
            "(5, 'cam', '2026-10-31 23:59:59', 0, 4), (6, 'A12', '2028-02-29 00:00:00', 1, 7), "
            "(7, 'Ahmet''in Yeri', '2026-12-07 00:00:00', 0, 1), (8, '123', '2026-12-07 08:15:00', 1, 2), "
            "(9, 'Ödemiş', '2026-12-06 00:00:00', 0, 6);"
            "UPDATE Montaj SET Görev='Montaj', Iptal=0, \"Not\"=''"));
    }

    // Ids of the rows a WHERE body in the dialect selects, in id order, as "1 2 3".
    QString Ids(const QString& where)
    {
        return storetest::Rows(conn_->handle(),
                               TranslateJet(QStringLiteral("Select Id From Montaj Where ") + where
                                            + QStringLiteral(" Order By Id")))
            .join(QLatin1Char(' '));
    }

    QVariant scalar(const QString& jet) { return conn_->Scalar(jet); }
    QVariant scalar(const char* jet) { return conn_->Scalar(QString::fromUtf8(jet)); }
    auto run(const char* jet) { return conn_->Execute(QString::fromUtf8(jet)); }

    QTemporaryDir dir_;
    std::shared_ptr<Connection> conn_;
};

TEST_F(JetDialectTest, WherePiecesSelectTheRowsTheyMean)
{
    const QString deep = QString(80, QLatin1Char('(')) + QStringLiteral("Tamam=True") + QString(80, QLatin1Char(')'));
    const QDate day(2026, 12, 7);
    const struct { QString where; const char* ids; } cases[] = {
        // Dates: a whole month, a day, a leap day, a range within a day.
        {"Tarih>=#11/01/2026 00:00:00# And Tarih<=#11/30/2026 23:59:59#", "1 2 3"},
        {"Tarih>=#11/1/2026 0:00# And Tarih<=#11/30/2026 23:59:59#", "1 2 3"},
        {"Tarih=#12/07/2026#", "7"}, {"Tarih=#02/29/2028#", "6"}, {"Tarih<#11/01/2026#", "5"},
        {"Tarih>=#12/07/2026 00:00:00# And Tarih<=#12/07/2026 23:59:59#", "7 8"},
        // Turkish case pairs: I/ı and İ/i are different letters.
        {"Unvan='İSTANBUL'", "1"}, {"Unvan='IŞIK'", "2"}, {"Unvan='İŞİK'", "3"}, {"Unvan='ÇİÇEK'", "4"},
        {"Unvan='ödemİş'", "9"},
        {"Unvan<>'IŞIK' And Unvan Like '*ş*'", "3 9"},
        {"Unvan In ('ÇİÇEK', 'CAM')", "4 5"},
        {"Unvan>'Ç' And Unvan<'D'", "4"},
        // Like: * ? # [..] with Turkish case.
        {"Unvan Like 'İ*'", "1 3"}, {"Unvan Like 'I*'", "2"}, {"Unvan Like '?şık'", "2"}, {"Unvan Like 'ç*'", "4"},
        {"Unvan Like 'A##'", "6"}, {"Unvan Like '#*'", "8"}, {"Unvan Like '[a-c]*'", "5 6 7"},
        {"Unvan Like '[!a-zç-ü]*'", "8"}, {"Unvan Like '[çö]*'", "4 9"}, {"Unvan Like '*yeri'", "7"},
        {"Unvan Not Like '*i*'", "2 5 6 8"}, {"Unvan Like 'ah' & '*'", "7"},
        // Quotes inside values, both quote kinds.
        {"Unvan=\"Ahmet'in Yeri\"", "7"}, {"Unvan='AHMET''İN YERİ'", "7"},
        // Yes/No: True/False, a field standing alone, Not.
        {"Tamam=True", "1 4 6 8"}, {"Tamam=False And Adet>2", "2 5 9"}, {"Adet>4 And Tamam", "1 6"},
        {"Not Tamam And Adet<3", "3 7"},
        {"Tamam=True And Iptal=False And Görev='MONTAJ' And Adet>=5", "1 6"},
        // Text that only looks like a keyword stays text.
        {"Unvan='True' Or Unvan='false'", ""},
        // Values through the quoting helpers match their row; a quote in a
        // value never ends the text early.
        {QStringLiteral("Unvan=") + SqlText(QStringLiteral("Ahmet'in Yeri")), "7"},
        {QStringLiteral("Unvan Like ") + SqlText(QStringLiteral("ahmet'in*")), "7"},
        {QStringLiteral("Unvan=") + SqlText(QStringLiteral("x' Or '1'='1")), ""},
        {QStringLiteral("Tarih=") + DateLiteral(day), "7"},
        {QStringLiteral("Tarih>=%1 And Tarih<=%2").arg(DayStartLiteral(day), DayEndLiteral(day)), "7 8"},
        // The nesting the translator lets through keeps its meaning, and a
        // blank of SQLite's kind separates words as SQLite sees them.
        {deep, "1 4 6 8"}, {"Tamam=True\fAnd\rAdet>\t2", "1 6"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Ids(c.where), QString::fromUtf8(c.ids)) << c.where.left(60).toStdString();
}

TEST_F(JetDialectTest, OrderByTextFollowsTurkishAlphabetIgnoringCase)
{
    conn_->ExecuteNative(QStringLiteral("CREATE TABLE Ad (Unvan TEXT COLLATE TURKISH)"));
    const QStringList expected = QStringLiteral("1. Cadde|123|ada|Agah|Ağaç|Bahçe|ceviz|Çam|çorba|dere|Gül|Hasan|ılık|"
                                                "Irmak|inci|İpek|Oda|ödev|Ömer|su|Şeker|şişe|Uğur|ümit|Zeytin")
                                     .split(QLatin1Char('|'));
    QStringList shuffled = expected;
    std::reverse(shuffled.begin(), shuffled.end());
    std::swap(shuffled[3], shuffled[17]);
    std::swap(shuffled[0], shuffled[11]);
    for (const QString& name : shuffled)
        conn_->ExecuteNative(QStringLiteral("INSERT INTO Ad VALUES (%1)").arg(SqlText(name)));

    const auto read = [&](const char* jet) {
        return storetest::Rows(conn_->handle(), TranslateJet(QString::fromUtf8(jet)));
    };
    EXPECT_EQ(read("Select * From Ad Order By Unvan ASC"), expected);
    EXPECT_EQ(read("Select Unvan From Ad Order By Unvan Desc"), QStringList(expected.rbegin(), expected.rend()));
}

// Sums asked once per staff member share one prepared statement with their
// values bound: each still gets its own answer, quotes and case included, and
// the statement kept holds no lock that would stop another handle writing.
TEST_F(JetDialectTest, ScalarsThatDifferOnlyInTheirValuesEachGetTheirOwnAnswer)
{
    const struct { const char* unvan; double sum; } cases[] = {
        {"ışık", 3}, {"IŞIK", 3}, {"işik", 2}, {"Ahmet'in Yeri", 1}, {"yok", 0}, {"ışık", 3}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(scalar(QStringLiteral("Select Sum(Adet) FROM Montaj Where Unvan=%1 And Görev='Montaj'")
                                    .arg(SqlText(QString::fromUtf8(c.unvan)))).toDouble(), c.sum) << c.unvan;
    // Like patterns keep the dialect's wildcards when their text is bound.
    EXPECT_EQ(scalar("Select Count(*) From Montaj Where Unvan Like 'i*'").toLongLong(), 2);
    EXPECT_EQ(scalar("Select Count(*) From Montaj Where Unvan Like 'ç*'").toLongLong(), 1);

    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(dir_.filePath(QStringLiteral("Montaj.mdb")).toUtf8().constData(), &other), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE; UPDATE Montaj SET Adet=Adet; COMMIT", nullptr, nullptr, nullptr),
              SQLITE_OK) << sqlite3_errmsg(other);
    sqlite3_close(other);
}

// "&" prints whole numbers without a decimal part only where they fit a
// whole number; huge, tiny and odd values keep their double form.
TEST_F(JetDialectTest, ScalarReadsAggregatesConcatenationsAndNullOverNoRows)
{
    const QVariant sum = scalar("Select Sum(Adet) FROM Montaj Where Tamam=False And Görev='Montaj'");
    EXPECT_EQ(sum.typeId(), QMetaType::Double);
    EXPECT_DOUBLE_EQ(sum.toDouble(), 16.0);
    const QVariant count = scalar("Select Count(*) From Montaj Where Tamam");
    EXPECT_EQ(count.typeId(), QMetaType::LongLong);
    EXPECT_EQ(count.toLongLong(), 4);
    const struct { const char* jet; const char* answer; } cases[] = { // answer nullptr: Null
        {"Select Sum(Adet) FROM Montaj Where Tamam=False And Görev='Servis'", nullptr},
        {"Select Unvan From Montaj Where Unvan='yok'", nullptr},
        {"Select Max(Unvan) From Montaj", "Ödemiş"},
        {"Select Unvan & ' / ' & Adet From Montaj Where Id=7", "Ahmet'in Yeri / 1"},
        // Null counts as empty text in &, unless every operand is Null.
        {"Select Unvan & Null From Montaj Where Id=5", "cam"}, {"Select Null & Null", nullptr},
        // & binds more loosely than arithmetic and more tightly than comparison.
        {"Select 1 + 2 & 3 = '33'", "1"},
        {"Select 'x' & 5.0", "x5"}, {"Select 'x' & -3.0", "x-3"}, {"Select 'x' & 2.5", "x2.5"},
        {"Select 'x' & 1e14", "x100000000000000"}, {"Select 'x' & 1e15", "x1e+15"},
        {"Select 'x' & 1e300", "x1e+300"}, {"Select 'x' & -1e300", "x-1e+300"}, {"Select 'x' & 9.3e18", "x9.3e+18"},
        {"Select 'x' & -9.3e18", "x-9.3e+18"}, {"Select 'x' & 1e-300", "x1e-300"},
    };
    for (const auto& c : cases) {
        const QVariant got = scalar(c.jet);
        EXPECT_EQ(got.isNull(), c.answer == nullptr) << c.jet;
        EXPECT_EQ(got.toString(), QString::fromUtf8(c.answer ? c.answer : "")) << c.jet;
    }
}

TEST_F(JetDialectTest, StatementsChangeRowsThroughTheDialect)
{
    EXPECT_EQ(run("UPDATE Montaj SET [Not]='kontrol' WHERE Tamam=True And Unvan Like 'i*'"), 1);
    EXPECT_EQ(Ids(QStringLiteral("[Not]='KONTROL'")), QStringLiteral("1"));
    run("Insert Into Montaj (Id, Unvan, Tarih, Tamam, Iptal) Values (20, \"Yeni\", #01/02/2027 9:05#, True, False);");
    EXPECT_EQ(scalar("Select Tarih From Montaj Where Id=20").toString(), QStringLiteral("2027-01-02 09:05:00"));
    EXPECT_EQ(Ids(QStringLiteral("Tamam And Unvan='YENİ'")), QStringLiteral("20"));
    // Inside a text a no-break space is kept as it is.
    conn_->ExecuteNative(QStringLiteral("UPDATE Montaj SET Unvan='a\u00A0b' WHERE Id=5"));
    EXPECT_EQ(Ids(QStringLiteral("Unvan='a\u00A0b'")), QStringLiteral("5"));
    EXPECT_EQ(run("Delete * From Montaj Where Tarih>#12/01/2026#"), 5);
    EXPECT_EQ(run("DELETE Montaj.* FROM Montaj WHERE Id=1"), 1);
    EXPECT_EQ(run("DELETE FROM Montaj"), 4);
}

TEST(JetTranslate, KeepsTextAndNamesApart)
{
    const struct { const char* jet; const char* sqlite; } cases[] = {
        {"Select * From Montaj Where Tamam=True And Iptal=false", "Select * From Montaj Where Tamam=1 And Iptal=0"},
        {"Unvan='True' And TrueKod=1 And [True]=0", "Unvan='True' And TrueKod=1 And \"True\"=0"},
        {"Unvan=\"O'Neil \"\"Usta\"\"\"", "Unvan='O''Neil \"Usta\"'"},
        {"[Not]<>'' And Not Tamam", "\"Not\"<>'' And Not Tamam"},
        {"Görev='Keşif' Order By SipNo, Tarih Asc", "Görev='Keşif' Order By SipNo, Tarih Asc"},
        {"Tarih=#12/07/2026#", "Tarih='2026-12-07 00:00:00'"},
        {"Tarih<=#1/5/2026 7:08#", "Tarih<='2026-01-05 07:08:00'"},
        {"Adet--1>0", "Adet- -1>0"},
        {"SipNo In (Select SipNo From Siparisler Where (Sec='X'))",
         "SipNo In (Select SipNo From Siparisler Where (Sec='X'))"},
        {"Unvan & ', ' & Şehir", "jet_concat(Unvan, ', ', Şehir)"},
        {"Select * From Montaj;", "Select * From Montaj"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TranslateJet(QString::fromUtf8(c.jet)), QString::fromUtf8(c.sqlite)) << c.jet;
}

// What SQLite would read differently from the translator, or cannot take at
// all, ends in a Turkish message naming the fault; the rest passes.
TEST(JetTranslate, RefusesWhatItCannotCarryOverFaithfully)
{
    const auto nested = [](int depth) {
        return QStringLiteral("Select ") + QString(depth, QLatin1Char('(')) + QStringLiteral("1")
            + QString(depth, QLatin1Char(')'));
    };
    const QString nul(QChar(0));
    // mentions: what the message names; nullptr when the statement is translated.
    const struct { QString jet; const char* mentions; } cases[] = {
        {"Select Top 5 * From Montaj", "Top"},
        {"Select IIf(Tamam, 'E', 'H') From Montaj", "IIf"},
        {"Select Nz(Adet, 0) From Montaj", "Nz"},
        {"Select Format(Tarih, 'yyyy') From Montaj", "Format"},
        {"Select * From Montaj Where Year (Tarih)=2026", "Year"},
        {"Select * From Montaj Where Unvan='Ahmet", "kapanmamış metin"},
        {"Select * From Montaj Where Tarih=#11/01/2026", "kapanmamış tarih"},
        {"Tarih=#02/30/2026#", "02/30/2026"}, {"Tarih=#02/29/2027#", "02/29/2027"},
        {"Tarih=#13/01/2026#", "13/01/2026"}, {"Tarih=#11/01/2026 24:00:00#", "24:00:00"},
        {"Tarih=#2026-11-01#", "2026-11-01"}, {"Tarih=#11/01/26#", "11/01/26"},
        {"Select * From Montaj; Delete From Montaj", "birden fazla"},
        {"Unvan='a' + 'b'", "&"}, {"Adet Mod 2 = 0", "Mod"}, {"(Adet>1", "parantez"}, {"Adet>1)", "parantez"},
        {"Unvan=?", "?"}, {"[Unvan='x'", "kapanmamış"}, {"Unvan & ", "&"},
        // SQLite's blanks only: a no-break space would be part of a name there.
        {QString::fromUtf8("Select\xC2\xA0* From Montaj"), "U+00A0"},
        {QString::fromUtf8("Unvan='a'\xE2\x80\x83Or Tamam"), "U+2003"},
        {"Unvan='a'\vOr Tamam", "U+000B"},
        {QStringLiteral("Unvan='\u00A0'\t\r\n\fOr Tamam"), nullptr},
        {nested(1000), nullptr}, {nested(1001), "parantez çok derin"}, {nested(15000), "parantez çok derin"},
        {QString(15000, QLatin1Char('(')), "parantez çok derin"},
        {QStringLiteral("Unvan='a") + nul + QStringLiteral("b'"), "NUL"}, {QStringLiteral("Unvan='a'") + nul, "NUL"},
        {QStringLiteral("Unvan=\"a") + nul + QStringLiteral("\""), "NUL"},
        {QStringLiteral("[Un") + nul + QStringLiteral("van]=1"), "NUL"},
        {QStringLiteral("Unvan='a") + QChar(0xD800) + QStringLiteral("'"), "U+D800"},
        {QStringLiteral("Unvan='a") + QChar(0xDC00) + QStringLiteral("'"), "U+DC00"},
        // A pair is one character and stays in the text.
        {QStringLiteral("Unvan='a") + QChar(0xD83D) + QChar(0xDE00) + QStringLiteral("'"), nullptr},
    };
    for (const auto& c : cases) {
        const std::string jet = c.jet.left(60).toStdString();
        try {
            const QString out = TranslateJet(c.jet);
            EXPECT_EQ(c.mentions, nullptr) << jet << " was translated to " << out.left(60).toStdString();
        } catch (const DialectError& e) {
            // The first line says what is wrong; the statement follows it.
            const QString why = e.message().section(QLatin1Char('\n'), 0, 0);
            ASSERT_NE(c.mentions, nullptr) << jet << " -> " << why.toStdString();
            EXPECT_TRUE(why.contains(QString::fromUtf8(c.mentions), Qt::CaseInsensitive))
                << jet << " -> " << why.toStdString();
        }
    }
}

} // namespace
