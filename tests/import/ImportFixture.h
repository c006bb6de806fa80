#pragma once

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <optional>
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
            for (int k = 0; k < raw.size(); ++k) {
                if (raw.at(k) != QLatin1Char('\\') || k + 1 == raw.size()) {
                    v += raw.at(k);
                    continue;
                }
                const QChar e = raw.at(++k);
                v += e == QLatin1Char('t') ? QLatin1Char('\t')
                    : e == QLatin1Char('n') ? QLatin1Char('\n')
                    : e == QLatin1Char('r') ? QLatin1Char('\r')
                                            : e;
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

} // namespace importfixture
