#include "ImportFixture.h"
#include "TestSupport.h"

#include "import/AccessFile.h"
#include "store/StoreError.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace import;
using namespace importfixture;

namespace {

QString cellText(const Cell& c)
{
    switch (c.kind) {
    case Cell::Kind::Null: return QStringLiteral("<NULL>");
    case Cell::Kind::Integer: return QString::number(c.integer);
    case Cell::Kind::Real: return QString::number(c.real, 'g', 17);
    case Cell::Kind::Text: return QString::fromStdString(c.bytes);
    case Cell::Kind::Blob: return QStringLiteral("<%1 bytes>").arg(c.bytes.size());
    }
    return {};
}

// Every row of every table, as text; raises what the reader raises.
QList<QStringList> readAll(const QString& path)
{
    AccessFile file(path);
    QList<QStringList> rows;
    for (const QString& name : file.TableNames()) {
        auto reader = file.Open(name);
        std::vector<Cell> row;
        while (reader->Next(row)) {
            QStringList cells{name};
            for (const Cell& c : row)
                cells << cellText(c);
            rows << cells;
        }
    }
    return rows;
}

} // namespace

TEST(AccessFile, FixtureTablesHaveTheFieldsTypesAndIndexesOfTheirColumnList)
{
    ASSERT_TRUE(QFileInfo(AccessDir()).isDir()) << "fixtures missing: " << AccessDir().toStdString();
    for (const QString& store : StoreFiles()) {
        SCOPED_TRACE(store.toStdString());
        AccessFile file(AccessDir() + QLatin1Char('/') + store);
        // table, position, field, access_type, size, indexed
        const ExpectedTable columns = ReadExpected(store, QStringLiteral("_columns"));
        ASSERT_FALSE(columns.rows.empty());
        QStringList tables;
        for (const auto& r : columns.rows)
            if (!tables.contains(*r[0]))
                tables << *r[0];
        EXPECT_EQ(file.TableNames(), tables);
        for (const QString& table : tables) {
            const AccessTable t = file.Open(table)->table();
            EXPECT_EQ(t.rowCount, qint64(ReadExpected(store, table).rows.size())) << table.toStdString();
            size_t position = 0;
            for (const auto& r : columns.rows) {
                if (*r[0] != table)
                    continue;
                ASSERT_LT(position, t.columns.size());
                const AccessColumn& c = t.columns[position++];
                EXPECT_EQ(c.name, *r[2]);
                EXPECT_EQ(AccessTypeName(c.type), *r[3]) << c.name.toStdString();
                if (!r[4]->isEmpty()) {
                    EXPECT_EQ(c.size, r[4]->toInt()) << c.name.toStdString();
                }
                const bool indexed = std::any_of(t.indexes.begin(), t.indexes.end(), [&](const AccessIndex& x) {
                    return x.fields == QStringList{c.name};
                });
                EXPECT_EQ(indexed, *r[5] == QLatin1String("1")) << c.name.toStdString();
            }
            EXPECT_EQ(position, t.columns.size());
        }
    }
}

TEST(AccessFile, ForeignFilesAreReadWholeWithTheirOwnTypes)
{
    const QList<QStringList> unicode = readAll(ForeignDir() + QStringLiteral("/testUnicodeCompV2003.mdb"));
    ASSERT_EQ(unicode.size(), 8);
    // Greek with oxia (U+1F79, U+1F7B, not their tonos twins) and a few
    // control characters, exactly as stored.
    const QStringList expected{QStringLiteral("only ascii chars"), QStringLiteral("ääkkösiä"),
                               QStringLiteral("Мир"), QStringLiteral(u"ϰαὶ τ\u1F79τ' ἐγὼ Κ\u1F7Bϰλωπα"),
                               QStringLiteral("漢字仮名交じり文"), QStringLiteral(u"3L9\u001D52\u0002_AB(¥\u0005!!V"),
                               QStringLiteral("ümlaut")};
    for (int i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(unicode.at(i).at(1), QString::number(i + 1));
        EXPECT_EQ(unicode.at(i).at(2), expected.at(i));
    }
    // Every Latin-1 character from the blank on, in order.
    QString latin1;
    for (char16_t c = 0x20; c <= 0xff; ++c)
        latin1 += QChar(c);
    EXPECT_TRUE(unicode.at(7).at(2).contains(latin1)) << unicode.at(7).at(2).toStdString();

    const QList<QStringList> v2000 = readAll(ForeignDir() + QStringLiteral("/testV2000.mdb"));
    ASSERT_GE(v2000.size(), 2);
    // Text, Text, Integer, Long, Long, Double, Date/Time, Decimal(15,2), Yes/No
    EXPECT_EQ(v2000.at(0), QStringLiteral("Table1|abcdefg|hijklmnop|2|222|333333333|%1|1974-09-21 00:00:00|3.5|1")
                               .arg(444.555, 0, 'g', 17).split(QLatin1Char('|')));
    EXPECT_EQ(v2000.at(1), QStringLiteral("Table1|a|b|0|0|0|0|1981-12-12 00:00:00|0|0").split(QLatin1Char('|')));
}

TEST(AccessFile, FilesThatCannotBeReadAreRefusedNamingThem)
{
    QTemporaryDir dir;
    const auto write = [&](const QString& name, const QByteArray& bytes) {
        EXPECT_TRUE(testsupport::WriteFile(dir.filePath(name), bytes));
        return dir.filePath(name);
    };
    QByteArray jet4 = QByteArray("\x00\x01\x00\x00", 4) + "Standard Jet DB";
    jet4 += QByteArray(0x14 - jet4.size(), '\0') + QByteArray("\x01", 1);
    QByteArray jet3 = QByteArray("\x00\x01\x00\x00", 4) + "Standard Jet DB";
    jet3 += QByteArray(4096 - jet3.size(), '\0');

    struct Case {
        QString path;
        const char* says;
    };
    const Case cases[] = {
        {dir.filePath(QStringLiteral("Yok.mdb")), "okunamadı"},
        {write(QStringLiteral("Bos.mdb"), {}), "Access veritabanı değil"},
        {write(QStringLiteral("Metin.mdb"), "Bu bir metin dosyası.\n"), "Access veritabanı değil"},
        {write(QStringLiteral("Sqlite.mdb"), QByteArray("SQLite format 3\0", 16) + QByteArray(4096, '\0')),
         "Access veritabanı değil"},
        {write(QStringLiteral("Eski.mdb"), jet3), "Access 97"},
        {write(QStringLiteral("Kisa.mdb"), jet4), "hasarlı"},
        {write(QStringLiteral("Bas.mdb"), jet4 + QByteArray(4096 - jet4.size(), '\0')), "hasarlı"},
    };
    for (const Case& c : cases) {
        const QString message = testsupport::StoreErrorOf([&] { readAll(c.path); });
        EXPECT_TRUE(message.contains(QFileInfo(c.path).fileName())) << message.toStdString();
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.says))) << message.toStdString();
    }
}

namespace {

constexpr int kPage = 4096;

QByteArray fixtureBytes(const QString& store)
{
    return testsupport::ReadFile(AccessDir() + QLatin1Char('/') + store);
}

// Writes a damaged copy of a fixture store and reads it whole: true when it
// is refused (with a message naming it), false when it reads. A crash or a
// read outside the file's pages ends the test process.
bool refused(const QTemporaryDir& dir, const QString& store, const QByteArray& damaged)
{
    const QString path = dir.filePath(store);
    EXPECT_TRUE(testsupport::WriteFile(path, damaged));
    const QString message = testsupport::StoreErrorOf([&] { readAll(path); });
    EXPECT_TRUE(message.isEmpty() || message.contains(store)) << message.toStdString();
    return !message.isEmpty();
}

} // namespace

TEST(AccessFile, DamagedDataPagesEndInAMessageNotACrash)
{
    // Random bytes of the data pages overwritten, file after file: the
    // reader reads them or refuses them, and never reads outside its page.
    QTemporaryDir dir;
    const QByteArray original = fixtureBytes(QStringLiteral("ABCCari.Mdb"));
    std::vector<int> dataPages;
    for (int p = 1; p < original.size() / kPage; ++p)
        if (original.at(p * kPage) == 0x01)
            dataPages.push_back(p);
    ASSERT_FALSE(dataPages.empty());

    QRandomGenerator random(18);
    int refusals = 0;
    for (int round = 0; round < 150; ++round) {
        QByteArray damaged = original;
        const int flips = 1 + int(random.bounded(12));
        for (int k = 0; k < flips; ++k) {
            const int page = dataPages[size_t(random.bounded(int(dataPages.size())))];
            damaged[page * kPage + int(random.bounded(kPage))] = char(random.bounded(256));
        }
        refusals += refused(dir, QStringLiteral("ABCCari.Mdb"), damaged);
    }
    EXPECT_GT(refusals, 0);
}

TEST(AccessFile, DamagedTableDefinitionsEndInAMessageNotACrash)
{
    // The usage map pointer of each table definition (offset 55 of a Jet 4
    // definition page) made to name other rows: libmdb would walk the data
    // pages through whatever map it finds there, or through none.
    QTemporaryDir dir;
    const QByteArray original = fixtureBytes(QStringLiteral("Montaj.mdb"));
    int refusals = 0, rounds = 0;
    for (int page = 1; page < original.size() / kPage; ++page) {
        if (original.at(page * kPage) != 0x02)
            continue;
        for (int row = 0; row < 256; row += 15, ++rounds) {
            QByteArray damaged = original;
            damaged[page * kPage + 55] = char(row);
            refusals += refused(dir, QStringLiteral("Montaj.mdb"), damaged);
        }
    }
    EXPECT_GT(rounds, 30);
    EXPECT_GT(refusals, 0);
}
