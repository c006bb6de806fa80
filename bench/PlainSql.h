#pragma once

// The plain-SQLite sides of the benchmarks send the program's own statements:
// a board query in the dialect, translated as the program translates it, with
// "SELECT *" turned into "SELECT rowid", as a record view reads its keys.

#include "store/JetDialect.h"

#include <QByteArray>
#include <QRegularExpression>
#include <QString>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdlib>
#include <vector>

namespace plainsql {

inline QString RowidQuery(const QString& jet)
{
    QString sql = store::TranslateJet(jet);
    sql.replace(QRegularExpression(QStringLiteral("^\\s*select\\s+\\*\\s+from\\s+"),
                                   QRegularExpression::CaseInsensitiveOption),
                QStringLiteral("SELECT rowid FROM "));
    return sql;
}

inline sqlite3_stmt* Prepare(sqlite3* db, const QString& sql)
{
    sqlite3_stmt* st = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v3(db, utf8.constData(), int(utf8.size()), SQLITE_PREPARE_PERSISTENT, &st, nullptr)
        != SQLITE_OK)
        std::abort();
    return st;
}

// A view's refresh written plainly: its rowids stepped into a vector with a
// kept statement, then the last and the first row read whole, as a refresh
// moves to the last row and back.
struct Keyset {
    sqlite3_stmt* keys = nullptr;
    sqlite3_stmt* row = nullptr;
    std::vector<sqlite3_int64> rowids;

    // keySql is SQLite SQL returning rowids; table names the view's table
    // ("Montaj", "o.Montaj").
    Keyset(sqlite3* db, const QString& keySql, const char* table)
        : keys(Prepare(db, keySql))
        , row(Prepare(db, QStringLiteral("SELECT * FROM %1 WHERE rowid=?").arg(QString::fromUtf8(table))))
    {
    }
    ~Keyset()
    {
        sqlite3_finalize(keys);
        sqlite3_finalize(row);
    }
    Keyset(const Keyset&) = delete;
    Keyset& operator=(const Keyset&) = delete;

    void Refresh()
    {
        rowids.clear();
        while (sqlite3_step(keys) == SQLITE_ROW)
            rowids.push_back(sqlite3_column_int64(keys, 0));
        sqlite3_reset(keys);
        if (rowids.empty())
            return;
        for (const sqlite3_int64 rowid : {rowids.back(), rowids.front()}) {
            sqlite3_bind_int64(row, 1, rowid);
            if (sqlite3_step(row) == SQLITE_ROW)
                for (int c = 0; c < sqlite3_column_count(row); ++c)
                    benchmark::DoNotOptimize(sqlite3_column_text(row, c));
            sqlite3_reset(row);
        }
    }
};

} // namespace plainsql
