#include "store/Connection.h"
#include "store/Sql.h"
#include "store/StoreError.h"

#include "StoredRows.h"
#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>
#include <stdexcept>

using namespace store;

namespace {

int Sign(int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

int Compare(const QString& a, const QString& b)
{
    const QByteArray ua = a.toUtf8(), ub = b.toUtf8();
    return Sign(CompareTurkish(ua.constData(), int(ua.size()), ub.constData(), int(ub.size())));
}

TEST(TurkishCollation, ComparesWithTurkishCasePairsAndAlphabet)
{
    const struct { const char* a; const char* b; int sign; } cases[] = {
        {"IŞIK", "ışık", 0},   {"IŞIK", "işik", -1}, {"İSTANBUL", "istanbul", 0}, {"ISTANBUL", "istanbul", -1},
        {"ÇAĞ", "çağ", 0},     {"ÖZÜ", "özü", 0},    {"Montaj", "MONTAJ", 0},     {"c", "ç", -1},
        {"çz", "d", -1},       {"g", "ğ", -1},       {"ğz", "h", -1},             {"h", "ı", -1},
        {"ı", "i", -1},        {"iz", "j", -1},      {"o", "ö", -1},              {"öz", "p", -1},
        {"s", "ş", -1},        {"şz", "t", -1},      {"u", "ü", -1},              {"üz", "v", -1},
        {"Z", "a", 1},         {"9", "a", -1},       {" a", "a", -1},             {"-", "0", -1},
        {"ab", "abc", -1},     {"", "a", -1},        {"", "", 0},                 {"âla", "ala", 1},
        {"âla", "alb", -1},    {"SipNo 10", "SipNo 9", -1},
    };
    for (const auto& c : cases) {
        const QString a = QString::fromUtf8(c.a), b = QString::fromUtf8(c.b);
        EXPECT_EQ(Compare(a, b), c.sign) << c.a << " vs " << c.b;
        EXPECT_EQ(Compare(b, a), -c.sign) << c.b << " vs " << c.a;
    }
}

// typed: the pattern is text as typed (LikeTypedText) followed by "*".
TEST(JetLikeMatch, FollowsTheDialectsWildcardsAndTakesTypedTextAsItself)
{
    const struct { const char* pattern; const char* text; bool match; bool typed; } cases[] = {
        {"abc", "ABC", true},       {"abc", "abcd", false},     {"a*", "a", true},         {"a*", "ba", false},
        {"*c", "abc", true},        {"a*c*e", "aXcYYe", true},  {"a*c*e", "aXcYYf", false}, {"**", "", true},
        {"?", "", false},           {"?", "ş", true},           {"a?c", "abbc", false},    {"#", "7", true},
        {"#", "x", false},          {"##-#", "12-3", true},     {"[abc]x", "Bx", true},    {"[abc]x", "dx", false},
        {"[!abc]x", "dx", true},    {"[!abc]x", "ax", false},   {"[a-c]", "ç", false},     {"[ç-d]", "Ç", true},
        {"[*]", "*", true},         {"[*]", "a", false},        {"a[?]", "a?", true},      {"a[?]", "ab", false},
        {"[#]1", "#1", true},       {"İ*", "istanbul", true},   {"I*", "istanbul", false}, {"ı*", "IŞIK", true},
        {"*ŞIK", "ışık", true},     {"*ŞİK", "ışık", false},    {"ö?", "ÖZ", true},        {"ğ*", "Ğ", true},
        {"[", "[", true},           {"a[b", "a[b", true},       {"50%", "50%", true},      {"a_c", "abc", false},
        // Typed "[" and "#" are the characters typed, never a list or a digit.
        {"[a", "[a kapı", true, true}, {"[a", "a", false, true},  {"[a]", "[a] Ltd", true, true},
        {"[a]", "a Ltd", false, true}, {"#1", "#1 Depo", true, true}, {"#1", "71", false, true},
        {"a[b", "A[B", true, true},    {"]", "]x", true, true},   {"[!a]", "[!a]", true, true},
        // Typed "*" and "?" keep their wildcard meaning.
        {"a*k", "Ahmet Kaya", true, true}, {"a?m", "Ahmet", true, true}, {"?", "x", true, true},
        {"a*", "b", false, true},
    };
    for (const auto& c : cases) {
        const QString pattern = QString::fromUtf8(c.pattern);
        EXPECT_EQ(JetLike(c.typed ? LikeTypedText(pattern) + QLatin1Char('*') : pattern, QString::fromUtf8(c.text)),
                  c.match)
            << c.pattern << " / " << c.text << (c.typed ? " typed" : "");
    }
    EXPECT_EQ(LikeTypedText(QStringLiteral("[#]")), QStringLiteral("[[][#]]"));
}

class ConnectionTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

    QString Path(const QString& name) const { return dir_.filePath(name); }

    // The message Open gives for a file, or "" when it opens.
    QString OpenError(const QString& name)
    {
        return testsupport::StoreErrorOf([&] { Connection::Open(Path(name)); });
    }

    std::shared_ptr<Connection> MakeStore(const QString& name)
    {
        auto c = Connection::Create(Path(name));
        c->ExecuteNative(QStringLiteral("CREATE TABLE Rapor (Eleman TEXT COLLATE TURKISH, Yapilan REAL)"));
        return c;
    }

    static void Add(Connection& c, const char* eleman)
    {
        c.Execute(QStringLiteral("Insert Into Rapor (Eleman, Yapilan) Values (%1, 2)").arg(SqlText(eleman)));
    }

    int CommittedRows(const char* name = "Rapor.mdb")
    {
        return storetest::Stored(Path(QString::fromUtf8(name)), QStringLiteral("SELECT count(*) FROM Rapor")).toInt();
    }

    QTemporaryDir dir_;
};

TEST_F(ConnectionTest, RefusesFilesThatAreNotStoresNamingThem)
{
    const QByteArray jet = QByteArray("\x00\x01\x00\x00Standard Jet DB", 19) + QByteArray(2048, '\0');
    const QByteArray ace = QByteArray("\x00\x01\x00\x00Standard ACE DB", 19) + QByteArray(2048, '\0');
    // No bytes: no file.
    const struct { const char* file; QByteArray bytes; QStringList mentions; } cases[] = {
        {"Yok.mdb", {}, {"bulunamadı"}},
        {"Notlar.mdb", "Bu bir metin dosyasıdır, veritabanı değil.\n", {"veritabanı dosyası değil"}},
        {"Cari.Mdb", jet, {"Access", "içe aktar"}},
        {"Kesif.Mdb", ace, {"Access", "içe aktar"}},
        // It names the command that imports it, with the data folder it is in.
        {"MuhasebeData/ABC/Siparis.Mdb", jet,
         {QStringLiteral("velmora-import \"%1\" --replace")
              .arg(QDir::toNativeSeparators(Path(QStringLiteral("MuhasebeData"))))}},
        // A damaged SQLite file: the right header, garbage behind it.
        {"Rapor.mdb", QByteArray("SQLite format 3\0", 16) + QByteArray(4096, '\x7f'), {}},
    };
    for (const auto& c : cases) {
        const QString file = QString::fromUtf8(c.file);
        ASSERT_TRUE(c.bytes.isEmpty() || testsupport::WriteFile(Path(file), c.bytes));
        const QString message = OpenError(file);
        EXPECT_TRUE(message.contains(file.section(QLatin1Char('/'), -1))) << message.toStdString();
        for (const QString& m : c.mentions)
            EXPECT_TRUE(message.contains(m)) << m.toStdString() << " in " << message.toStdString();
    }
}

TEST_F(ConnectionTest, FindsFilesWhateverTheCaseOfNameAndFolders)
{
    QDir().mkpath(Path(QStringLiteral("MuhasebeData/ABC")));
    auto made = MakeStore(QStringLiteral("MuhasebeData/ABC/ABCSiparis.Mdb"));

    auto same = Connection::Open(Path(QStringLiteral("muhasebedata/abc/abcsiparis.mdb")));
    EXPECT_EQ(same.get(), made.get());
    EXPECT_EQ(Connection::ResolveCaseInsensitive(Path(QStringLiteral("MUHASEBEDATA/Abc/abcSIPARIS.MDB"))),
              made->path());
    // Nothing to find: the path comes back as it was given.
    const QString none = Path(QStringLiteral("muhasebedata/XYZ/Siparis.Mdb"));
    EXPECT_EQ(Connection::ResolveCaseInsensitive(none), none);
    EXPECT_TRUE(OpenError(QStringLiteral("muhasebedata/XYZ/Siparis.Mdb")).contains(QStringLiteral("bulunamadı")));

    // A new store lands in the existing folder, not in a second one.
    auto created = Connection::Create(Path(QStringLiteral("MUHASEBEDATA/abc/ABCIndex.Mdb")));
    EXPECT_EQ(created->path(), QFileInfo(Path(QStringLiteral("MuhasebeData/ABC/ABCIndex.Mdb"))).canonicalFilePath());
}

TEST_F(ConnectionTest, SharesOneConnectionPerFile)
{
    auto a = MakeStore(QStringLiteral("Montaj.mdb"));
    auto b = Connection::Open(Path(QStringLiteral("Montaj.mdb")));
    auto c = Connection::Open(Path(QStringLiteral("./sub/../Montaj.MDB")));
    EXPECT_EQ(a.get(), b.get());
    EXPECT_EQ(a.get(), c.get());
    auto other = MakeStore(QStringLiteral("Rapor.mdb"));
    EXPECT_NE(a.get(), other.get());

    // A transaction begun through one user covers work done through another.
    {
        Transaction t(*a);
        Add(*b, "Ali");
        EXPECT_TRUE(c->InTransaction());
    }
    EXPECT_EQ(CommittedRows("Montaj.mdb"), 0);

    // Once every user lets go, the next Open makes a working connection again.
    a.reset();
    b.reset();
    c.reset();
    auto again = Connection::Open(Path(QStringLiteral("Montaj.mdb")));
    EXPECT_EQ(again->Scalar(QStringLiteral("Select Count(*) From Rapor")).toLongLong(), 0);
}

TEST_F(ConnectionTest, TransactionRollsBackWhenLeftByAnException)
{
    auto c = MakeStore(QStringLiteral("Rapor.mdb"));
    try {
        Transaction t(*c);
        Add(*c, "Ali");
        Add(*c, "Veli");
        throw std::runtime_error("yarıda kaldı");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(c->InTransaction());
    EXPECT_EQ(CommittedRows(), 0);

    {
        Transaction t(*c);
        // From the start, before anything is written, the write lock is
        // ours: nobody else can start writing half-way through the action.
        sqlite3* other = nullptr;
        sqlite3_open_v2(Path(QStringLiteral("Rapor.mdb")).toUtf8().constData(), &other, SQLITE_OPEN_READWRITE,
                        nullptr);
        EXPECT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_BUSY);
        sqlite3_close(other);
        Add(*c, "Ali");
        EXPECT_EQ(CommittedRows(), 0);
        t.Commit();
    }
    EXPECT_EQ(CommittedRows(), 1);

    // A failing statement inside an action undoes the rows before it.
    EXPECT_THROW(
        {
            Transaction t(*c);
            Add(*c, "Veli");
            c->Execute(QStringLiteral("Insert Into Yok (Eleman) Values ('Veli')"));
            t.Commit();
        },
        StoreError);
    EXPECT_EQ(CommittedRows(), 1);
}

TEST_F(ConnectionTest, NestedTransactionsAndReadSnapshotsCommitOnlyAtTheOutermostLevel)
{
    auto c = MakeStore(QStringLiteral("Rapor.mdb"));
    {
        Transaction outer(*c);
        Add(*c, "Ali");
        {
            Transaction inner(*c);
            Add(*c, "Veli");
            inner.Commit();
        }
        EXPECT_TRUE(c->InTransaction());
        EXPECT_EQ(CommittedRows(), 0);
        outer.Commit();
    }
    EXPECT_FALSE(c->InTransaction());
    EXPECT_EQ(CommittedRows(), 2);

    // An inner level given up dooms the whole action: the outer Commit
    // stores nothing and says so.
    {
        Transaction outer(*c);
        Add(*c, "Ayşe");
        {
            Transaction inner(*c);
            Add(*c, "Fatma");
        }
        EXPECT_TRUE(c->InTransaction());
        EXPECT_THROW(outer.Commit(), StoreError);
    }
    EXPECT_FALSE(c->InTransaction());
    EXPECT_EQ(CommittedRows(), 2);

    // The next action starts clean.
    c->Begin();
    Add(*c, "Can");
    c->Commit();
    EXPECT_EQ(CommittedRows(), 3);
    EXPECT_THROW(c->Commit(), StoreError);

    // A snapshot for reading several lists ends its own read transaction and
    // leaves an action's transaction alone: ending that would store half an action.
    {
        const ReadSnapshot reading(c.get());
        EXPECT_FALSE(sqlite3_get_autocommit(c->handle()));
    }
    EXPECT_TRUE(sqlite3_get_autocommit(c->handle()));
    {
        Transaction action(*c);
        Add(*c, "Ali");
        { const ReadSnapshot reading(c.get()); }
        EXPECT_TRUE(c->InTransaction());
    }
    EXPECT_EQ(CommittedRows(), 3);
}

TEST_F(ConnectionTest, EngineErrorsNameTheFileAndTable)
{
    auto c = MakeStore(QStringLiteral("Montaj.mdb"));
    const QString message = testsupport::StoreErrorOf([&] { c->Execute(QStringLiteral("Select * From Siparisler")); });
    EXPECT_TRUE(message.contains(QStringLiteral("Montaj.mdb"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("Tablo bulunamadı: Siparisler"))) << message.toStdString();
    // A misspelt bracketed field is an error, not the text 'Elemn'.
    EXPECT_THROW(c->Scalar(QStringLiteral("Select Count(*) From Rapor Where [Elemn]='x'")), StoreError);
}

} // namespace
