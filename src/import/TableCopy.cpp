#include "import/TableCopy.h"

#include "store/Connection.h"
#include "store/StoreError.h"

#include <QDir>
#include <QStringList>

#include <sqlite3.h>

#include <deque>

namespace import {

namespace {

// Rows between two progress reports.
constexpr std::int64_t kReportEvery = 256;

bool sameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// How one Access table becomes one store table: the store's definition and,
// for each Access column, its place in the store's table.
struct TableMap {
    store::TableDef def;
    std::deque<QByteArray> names; // keeps the names def points at
    std::vector<int> targetOf;     // per Access column
    QList<QStringList> indexes;
    QStringList missing;           // layout fields the Access table lacks
};

TableMap mapTable(const AccessTable& source, const store::TableDef* layout)
{
    TableMap m;
    const auto keep = [&m](const QString& name) {
        m.names.push_back(name.toUtf8());
        return m.names.back().constData();
    };
    m.def.name = keep(layout ? QString::fromUtf8(layout->name) : source.name);
    if (layout) {
        m.def.fields = layout->fields;
        m.def.queryIndexes = layout->queryIndexes;
        for (const char* field : layout->indexed)
            m.indexes << QStringList{QString::fromUtf8(field)};
    }
    for (const AccessColumn& c : source.columns) {
        int at = -1;
        for (size_t i = 0; layout && i < layout->fields.size() && at < 0; ++i)
            if (sameName(QString::fromUtf8(layout->fields[i].name), c.name))
                at = int(i);
        if (at < 0) {
            at = int(m.def.fields.size());
            m.def.fields.push_back(store::FieldDef{keep(c.name), NearestType(c.type)});
        }
        m.targetOf.push_back(at);
    }
    for (size_t i = 0; layout && i < layout->fields.size(); ++i)
        if (std::find(m.targetOf.begin(), m.targetOf.end(), int(i)) == m.targetOf.end())
            m.missing << QString::fromUtf8(layout->fields[i].name);
    // Plain indexes only: a unique one could refuse a row that Access took,
    // as SQLite compares texts by rules of its own.
    for (const AccessIndex& x : source.indexes) {
        QStringList fields;
        for (const QString& f : x.fields)
            for (size_t i = 0; i < source.columns.size(); ++i)
                if (source.columns[i].name == f)
                    fields << QString::fromUtf8(m.def.fields[size_t(m.targetOf[i])].name);
        if (!fields.isEmpty() && !m.indexes.contains(fields))
            m.indexes << fields;
    }
    return m;
}

// Binds one cell to a parameter of the insert. A Yes/No field never holds
// NULL: a value from an Access column of another type that has none is No.
int bindCell(sqlite3_stmt* st, int param, const Cell& cell, store::FieldType target)
{
    switch (cell.kind) {
    case Cell::Kind::Null:
        if (target == store::FieldType::YesNo)
            return sqlite3_bind_int(st, param, 0);
        return sqlite3_bind_null(st, param);
    case Cell::Kind::Integer:
        return sqlite3_bind_int64(st, param, cell.integer);
    case Cell::Kind::Real:
        return sqlite3_bind_double(st, param, cell.real);
    case Cell::Kind::Text:
        return sqlite3_bind_text(st, param, cell.bytes.data(), int(cell.bytes.size()), SQLITE_STATIC);
    case Cell::Kind::Blob:
        return sqlite3_bind_blob(st, param, cell.bytes.data(), int(cell.bytes.size()), SQLITE_STATIC);
    }
    return SQLITE_MISUSE;
}

class Statement {
public:
    Statement(store::Connection& conn, const QString& sql) : conn_(conn)
    {
        if (sqlite3_prepare_v2(conn.handle(), sql.toUtf8().constData(), -1, &st_, nullptr) != SQLITE_OK)
            conn.Fail(sql);
    }
    ~Statement() { sqlite3_finalize(st_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    sqlite3_stmt* get() const { return st_; }

private:
    store::Connection& conn_;
    sqlite3_stmt* st_ = nullptr;
};

} // namespace

store::FieldType NearestType(AccessType type)
{
    switch (type) {
    case AccessType::YesNo:
        return store::FieldType::YesNo;
    case AccessType::Byte:
    case AccessType::Integer:
    case AccessType::Long:
    case AccessType::Currency:
    case AccessType::Single:
    case AccessType::Double:
    case AccessType::Decimal:
    case AccessType::Complex:
        return store::FieldType::Number;
    case AccessType::DateTime:
        return store::FieldType::DateTime;
    case AccessType::Text:
    case AccessType::Memo:
    case AccessType::ReplicationId:
        return store::FieldType::Text;
    case AccessType::Binary:
    case AccessType::Ole:
    case AccessType::Other:
        break;
    }
    return store::FieldType::Other;
}

CopiedTable CopyTable(TableReader& reader, const QString& fileName, const store::TableDef* layout,
                      store::Connection& conn, ImportProgress& progress)
{
    const AccessTable& source = reader.table();
    const TableMap map = mapTable(source, layout);
    const QString table = QString::fromUtf8(map.def.name);
    if (!layout)
        progress.Note(QStringLiteral("%1 / %2: Velmora'nın bilmediği tablo; olduğu gibi aktarıldı.")
                          .arg(fileName, table));
    for (const QString& field : map.missing)
        progress.Note(QStringLiteral("%1 / %2: \"%3\" alanı Access dosyasında yok; boş olarak oluşturuldu.")
                          .arg(fileName, table, field));

    conn.ExecuteNative(store::CreateTableSql(map.def));
    QStringList columns, params;
    std::vector<store::FieldType> types;
    for (int at : map.targetOf) {
        columns << store::QuotedName(QString::fromUtf8(map.def.fields[size_t(at)].name));
        params << QStringLiteral("?");
        types.push_back(map.def.fields[size_t(at)].type);
    }
    Statement insert(conn, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                               .arg(store::QuotedName(table), columns.join(QStringLiteral(", ")),
                                    params.join(QStringLiteral(", "))));

    progress.TableStarted(fileName, table, source.rowCount);
    std::vector<Cell> row;
    std::int64_t rows = 0;
    sqlite3_stmt* st = insert.get();
    while (reader.Next(row)) {
        for (size_t i = 0; i < row.size(); ++i)
            if (bindCell(st, int(i) + 1, row[i], types[i]) != SQLITE_OK)
                conn.Fail(table);
        const int rc = sqlite3_step(st);
        sqlite3_reset(st);
        if (rc != SQLITE_DONE)
            conn.Fail(table);
        if (++rows % kReportEvery == 0)
            progress.RowsDone(rows);
    }
    Statement count(conn, QStringLiteral("SELECT count(*) FROM ") + store::QuotedName(table));
    if (sqlite3_step(count.get()) != SQLITE_ROW || sqlite3_column_int64(count.get(), 0) != rows)
        throw store::StoreError(QStringLiteral("\"%1\" tablosu yazıldıktan sonra satır sayısı tutmadı (%2).")
                                    .arg(table, QDir::toNativeSeparators(conn.path())));
    // Indexes after the rows: one sort instead of a tree grown row by row.
    for (const QStringList& fields : map.indexes)
        conn.ExecuteNative(store::CreateIndexSql(map.def, fields));
    for (const store::QueryIndex& index : map.def.queryIndexes)
        conn.ExecuteNative(store::CreateQueryIndexSql(map.def, index));
    progress.TableDone(rows);
    return {table, rows};
}

} // namespace import
