#pragma once

#include "store/Connection.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace storetest {

// Every row a statement gives on a handle, its columns joined by tabs; a NULL
// reads "<null>". A statement that does not prepare fails the test.
inline QStringList Rows(sqlite3* db, const QString& sql)
{
    QStringList out;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << sqlite3_errmsg(db) << " in " << sql.toStdString();
        return out;
    }
    while (sqlite3_step(st) == SQLITE_ROW) {
        QStringList row;
        for (int c = 0; c < sqlite3_column_count(st); ++c)
            row << (sqlite3_column_type(st, c) == SQLITE_NULL
                        ? QStringLiteral("<null>")
                        : QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c))));
        out << row.join(QLatin1Char('\t'));
    }
    sqlite3_finalize(st);
    return out;
}

// What is on disk, read on a handle of its own past every connection, view
// and cache the program keeps: only committed work counts.
inline QStringList StoredRows(const QString& file, const QString& sql)
{
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    store::RegisterDialectFunctions(db);
    const QStringList rows = Rows(db, sql);
    sqlite3_close(db);
    return rows;
}

inline QString Stored(const QString& file, const QString& sql)
{
    const QStringList rows = StoredRows(file, sql);
    return rows.isEmpty() ? QStringLiteral("<no row>") : rows.first();
}

} // namespace storetest
