#pragma once

#include "store/Connection.h"
#include "store/RecordView.h"

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

// One stored edit of the current row, or with add, one new row.
inline void write(store::RecordView& v, std::initializer_list<std::pair<const char*, QVariant>> fields,
                  bool add = false)
{
    add ? v.AddNew() : v.Edit();
    for (const auto& [field, value] : fields)
        v.setField(QString::fromUtf8(field), value);
    v.Update();
}

// Where a FindFirst leaves the view, -1 when nothing matched.
inline int findFirst(store::RecordView& v, const QString& criteria)
{
    v.FindFirst(criteria);
    return v.NoMatch() ? -1 : v.AbsolutePosition();
}

} // namespace storetest
