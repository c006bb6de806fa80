#pragma once

#include "TestSupport.h"

#include "import/Progress.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QString>
#include <QStringList>

#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <array>
#include <charconv>
#include <optional>
#include <string>
#include <vector>

// The Access test stores live beside the checkout (../shared), never in it.
namespace importfixture {

using testsupport::Snapshot;

inline QString AccessDir()
{
    return QDir(QStringLiteral(VELMORA_SOURCE_DIR "/../shared/fixtures/access")).absolutePath();
}
inline QString ExpectedDir() { return AccessDir() + QStringLiteral("/expected"); }
inline QString ForeignDir() { return AccessDir() + QStringLiteral("/foreign"); }

// The five fixture stores, company "ABC".
inline const QStringList& StoreFiles()
{
    static const QStringList files{QStringLiteral("Montaj.mdb"), QStringLiteral("Rapor.mdb"),
                                   QStringLiteral("ABCCari.Mdb"), QStringLiteral("ABCSiparis.Mdb"),
                                   QStringLiteral("ABCIndex.Mdb")};
    return files;
}

// Copies fixture stores into a folder, writable, under the names given
// (the fixture's own names when none are).
inline bool CopyStores(const QString& dir, const QStringList& from = StoreFiles(),
                       const QStringList& as = {})
{
    QDir().mkpath(dir);
    bool ok = true;
    for (int i = 0; i < from.size(); ++i) {
        const QString target = dir + QLatin1Char('/') + (as.isEmpty() ? from.at(i) : as.at(i));
        QDir().mkpath(QFileInfo(target).absolutePath());
        ok = QFile::copy(AccessDir() + QLatin1Char('/') + from.at(i), target) && ok;
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    }
    return ok;
}

// One expected table: field names, then rows of cells (nullopt for NULL),
// unescaped as the fixture's README says (\\ \t \n \r).
struct ExpectedTable {
    QStringList fields;
    std::vector<std::vector<std::optional<QString>>> rows;
};

inline ExpectedTable ReadExpected(const QString& store, const QString& table)
{
    ExpectedTable t;
    QFile f(ExpectedDir() + QLatin1Char('/') + store + QLatin1Char('/') + table + QStringLiteral(".tsv"));
    if (!f.open(QIODevice::ReadOnly))
        return t;
    const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    t.fields = lines.value(0).split(QLatin1Char('\t'));
    for (int i = 1; i < lines.size(); ++i) {
        std::vector<std::optional<QString>> row;
        for (const QString& raw : lines.at(i).split(QLatin1Char('\t'))) {
            if (raw == QLatin1String("\\N")) {
                row.emplace_back(std::nullopt);
                continue;
            }
            QString v;
            for (qsizetype k = 0; k < raw.size(); ++k) {
                QChar c = raw.at(k);
                if (c == QLatin1Char('\\') && k + 1 < raw.size()) {
                    c = raw.at(++k);
                    c = c == u't' ? u'\t' : c == u'n' ? u'\n' : c == u'r' ? u'\r' : c;
                }
                v += c;
            }
            row.emplace_back(v);
        }
        t.rows.push_back(std::move(row));
    }
    return t;
}

// The tables with expected contents of one fixture store.
inline QStringList ExpectedTables(const QString& store)
{
    QStringList names;
    for (const QString& f : QDir(ExpectedDir() + QLatin1Char('/') + store)
                                .entryList({QStringLiteral("*.tsv")}, QDir::Files, QDir::Name))
        if (!f.startsWith(QLatin1Char('_')))
            names << f.chopped(4);
    return names;
}

// The shortest text that reads back as the same double: what a store shows.
inline std::string Shortest(double d)
{
    std::array<char, 64> text{};
    const auto r = std::to_chars(text.data(), text.data() + text.size(), d);
    return std::string(text.data(), r.ptr);
}

// Every row of a query, its columns joined by `sep`.
inline QStringList SqlRows(sqlite3* db, const QString& sql, QChar sep = QLatin1Char('|'))
{
    QStringList rows;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) == SQLITE_OK)
        while (sqlite3_step(st) == SQLITE_ROW) {
            QStringList parts;
            for (int c = 0; c < sqlite3_column_count(st); ++c)
                parts << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c)));
            rows << parts.join(sep);
        }
    sqlite3_finalize(st);
    return rows;
}

// What an import or a table copy told its progress, in order.
struct Recorder : import::ImportProgress {
    QStringList started, notes;
    std::vector<std::int64_t> done;
    void TableStarted(const QString& file, const QString& table, std::int64_t rows) override
    {
        started << QStringLiteral("%1/%2:%3").arg(file, table).arg(rows);
    }
    void TableDone(std::int64_t rows) override { done.push_back(rows); }
    void Note(const QString& text) override { notes << text; }
};

// Tests that import from the fixture stores, in a temporary folder of their own.
class FixtureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QFileInfo(AccessDir()).isDir()) << "fixtures missing: " << AccessDir().toStdString();
        ASSERT_TRUE(dir.isValid());
    }
    QTemporaryDir dir;
};

} // namespace importfixture
