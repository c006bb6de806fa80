#include "store/RecordView.h"
#include "store/Values.h"

#include "store/JetDialect.h"
#include "store/RowCache.h"
#include "store/Sql.h"
#include "store/StoreError.h"
#include "store/ValueShape.h"

#include <QByteArray>
#include <QDataStream>
#include <QDateTime>
#include <QHash>
#include <QIODevice>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>

#include <sqlite3.h>

#include <algorithm>
#include <optional>
#include <utility>

namespace store {

namespace {

// A Yes/No written as text, in the words people use; nothing for other text.
std::optional<bool> YesNoText(const QString& text)
{
    const QString s = QLocale(QLocale::Turkish).toLower(text.trimmed());
    if (s == QLatin1String("true") || s == QLatin1String("-1") || s == QLatin1String("1")
        || s == QStringLiteral("evet") || s == QStringLiteral("doğru"))
        return true;
    if (s.isEmpty() || s == QLatin1String("false") || s == QLatin1String("0") || s == QStringLiteral("hayır")
        || s == QStringLiteral("yanlış"))
        return false;
    return std::nullopt;
}

constexpr std::size_t kCachedRows = 512;
constexpr std::size_t kCachedStatements = 8;
// Sources whose statements a view keeps (a panel switched between days).
constexpr std::size_t kKeptPlans = 4;
// Deletions a view keeps track of before its next find renumbers its rows.
constexpr std::size_t kDeletedSlotsKept = 4096;

QString noCurrentRow() { return QStringLiteral("Geçerli kayıt yok."); }

// ---------------------------------------------------------------------------
// Types and values

FieldType typeFromDeclared(const char* declared)
{
    if (!declared)
        return FieldType::Other;
    const QByteArray t = QByteArray(declared).toUpper();
    if (t.contains("YESNO") || t.contains("BOOL") || t == "BIT")
        return FieldType::YesNo;
    if (t.contains("DATE") || t.contains("TIME"))
        return FieldType::DateTime;
    if (t.contains("CHAR") || t.contains("TEXT") || t.contains("CLOB") || t.contains("MEMO"))
        return FieldType::Text;
    if (t.contains("INT") || t.contains("DOUB") || t.contains("REAL") || t.contains("FLOA")
        || t.contains("NUM") || t.contains("DEC") || t.contains("CURRENCY"))
        return FieldType::Number;
    return FieldType::Other;
}

QString columnText(sqlite3_stmt* st, int col)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, col)),
                             sqlite3_column_bytes(st, col));
}

// One stored value as the program sees it: text as QString, numbers as
// double, Yes/No as bool, dates as QDateTime, no value as a null QVariant.
QVariant readValue(sqlite3_stmt* st, int col, FieldType type)
{
    const int storage = sqlite3_column_type(st, col);
    if (storage == SQLITE_NULL)
        return {};
    switch (type) {
    case FieldType::Text:
        return columnText(st, col);
    case FieldType::Number:
        if (storage == SQLITE_TEXT) {
            // Number affinity left it as text: it is not a number.
            return columnText(st, col);
        }
        return sqlite3_column_double(st, col);
    case FieldType::YesNo:
        if (storage == SQLITE_TEXT)
            return YesNoText(columnText(st, col)).value_or(true);
        return sqlite3_column_int64(st, col) != 0;
    case FieldType::DateTime:
        if (storage == SQLITE_TEXT) {
            const char* utf8 = reinterpret_cast<const char*>(sqlite3_column_text(st, col));
            const QDateTime dt = ParseStoredDateTime(utf8, sqlite3_column_bytes(st, col));
            return dt.isValid() ? QVariant(dt) : QVariant(columnText(st, col));
        }
        return sqlite3_column_double(st, col);
    case FieldType::Other:
        break;
    }
    switch (storage) {
    case SQLITE_INTEGER:
        return qlonglong(sqlite3_column_int64(st, col));
    case SQLITE_FLOAT:
        return sqlite3_column_double(st, col);
    case SQLITE_TEXT:
        return columnText(st, col);
    default:
        return QByteArray(static_cast<const char*>(sqlite3_column_blob(st, col)), sqlite3_column_bytes(st, col));
    }
}

[[noreturn]] void typeMismatch(const QString& field, const QVariant& value)
{
    throw StoreError(QStringLiteral("\"%1\" alanına bu değer yazılamaz (tür uyuşmuyor): %2")
                         .arg(field, value.toString()));
}

// A value assigned to a field, in the form the field gives it back; a value
// the field cannot hold raises StoreError at once, as the assignment would.
QVariant normalize(const QVariant& v, FieldType type, const QString& field)
{
    if (!v.isValid() || v.isNull())
        return {};
    const int id = v.typeId();
    switch (type) {
    case FieldType::Text:
        if (id == QMetaType::QDateTime)
            return StoredDateTime(v.toDateTime());
        if (id == QMetaType::QDate)
            return StoredDate(v.toDate());
        if (id == QMetaType::Bool)
            return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
        return v.toString();
    case FieldType::Number: {
        if (id == QMetaType::Bool)
            return v.toBool() ? 1.0 : 0.0;
        if (store::IsNumeric(v))
            return v.toDouble();
        const QString s = v.toString().trimmed();
        if (s.isEmpty())
            return {};
        bool ok = false;
        double d = s.toDouble(&ok);
        if (!ok)
            d = QLocale(QLocale::Turkish, QLocale::Turkey).toDouble(s, &ok);
        if (!ok)
            typeMismatch(field, v);
        return d;
    }
    case FieldType::YesNo: {
        if (id == QMetaType::Bool || store::IsNumeric(v))
            return v.toBool();
        if (const std::optional<bool> b = YesNoText(v.toString()))
            return *b;
        typeMismatch(field, v);
    }
    case FieldType::DateTime: {
        // Whatever zone a given date carries, the field keeps its wall clock.
        if (id == QMetaType::QDateTime) {
            const QDateTime given = v.toDateTime();
            return WallClock(given.date(), given.time());
        }
        if (id == QMetaType::QDate)
            return WallClock(v.toDate());
        const QString s = v.toString().trimmed();
        if (s.isEmpty())
            return {};
        QDateTime dt = ParseStoredDateTime(s);
        for (const char* format : {"dd.MM.yyyy HH:mm:ss", "MM/dd/yyyy HH:mm:ss"}) {
            if (dt.isValid())
                break;
            const int space = int(s.indexOf(QLatin1Char(' ')));
            if (space < 0)
                continue;
            const QString dayFormat = QString::fromLatin1(format).left(10);
            dt = WallClock(QDate::fromString(s.left(space), dayFormat),
                           QTime::fromString(s.mid(space + 1), QStringLiteral("HH:mm:ss")));
        }
        for (const char* format : {"dd.MM.yyyy", "MM/dd/yyyy"}) {
            if (dt.isValid())
                break;
            dt = WallClock(QDate::fromString(s, QLatin1String(format)));
        }
        if (!dt.isValid())
            typeMismatch(field, v);
        return dt;
    }
    case FieldType::Other:
        break;
    }
    return v;
}

// The value must stay as it is until the statement has run: texts are bound
// where they lie.
void bindValue(sqlite3_stmt* st, int index, const QVariant& v)
{
    if (!v.isValid() || v.isNull()) {
        sqlite3_bind_null(st, index);
        return;
    }
    switch (v.typeId()) {
    case QMetaType::QString: {
        // A null text is stored as an empty text, never as no value.
        const auto* text = static_cast<const QString*>(v.constData());
        if (text->isEmpty())
            sqlite3_bind_text(st, index, "", 0, SQLITE_STATIC);
        else
            sqlite3_bind_text16(st, index, text->constData(), int(text->size() * 2), SQLITE_STATIC);
        return;
    }
    case QMetaType::Bool:
        sqlite3_bind_int(st, index, v.toBool() ? 1 : 0);
        return;
    case QMetaType::Double:
    case QMetaType::Float:
        sqlite3_bind_double(st, index, v.toDouble());
        return;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
        sqlite3_bind_int64(st, index, v.toLongLong());
        return;
    case QMetaType::QByteArray: {
        const QByteArray b = v.toByteArray();
        sqlite3_bind_blob(st, index, b.constData(), int(b.size()), SQLITE_TRANSIENT);
        return;
    }
    default:
        break;
    }
    QString text;
    if (v.typeId() == QMetaType::QDateTime)
        text = StoredDateTime(v.toDateTime());
    else if (v.typeId() == QMetaType::QDate)
        text = StoredDate(v.toDate());
    else
        text = v.toString();
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(st, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

// Field names are looked up without regard to case, Turkish dotted and
// dotless i included ("IPTAL", "iptal" and "İptal" are one name).
QString foldName(const QString& name)
{
    QString f = name.toCaseFolded();
    f.remove(QChar(0x0307));
    f.replace(QChar(0x0131), QLatin1Char('i'));
    return f;
}

QString quoteName(const QString& name)
{
    QString q = name;
    q.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

// ---------------------------------------------------------------------------
// Reading the shape of a source

bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

// A WHERE / ORDER BY tail that keeps "one row of the result per row of the
// table, in this order": no grouping, compounds, limits or joins at the top
// level, and no ORDER BY term that is a column number (which would count
// the columns of the key query instead).
bool tailKeepsRows(const QString& tail, bool* ordered)
{
    static const QSet<QString> breaking = {
        QStringLiteral("GROUP"), QStringLiteral("HAVING"), QStringLiteral("UNION"), QStringLiteral("EXCEPT"),
        QStringLiteral("INTERSECT"), QStringLiteral("LIMIT"), QStringLiteral("OFFSET"), QStringLiteral("WINDOW"),
        QStringLiteral("JOIN"), QStringLiteral("TOP")};
    int depth = 0;
    bool inOrderBy = false;
    bool termStart = false;
    QString previous;
    int i = 0;
    while (i < tail.size()) {
        const QChar c = tail[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('[')) {
            i = SkipQuoted(tail, i);
            termStart = false;
            continue;
        }
        if (isWordChar(c)) {
            int j = i;
            while (j < tail.size() && isWordChar(tail[j]))
                ++j;
            const QString word = tail.mid(i, j - i).toUpper();
            i = j;
            if (depth > 0)
                continue;
            if (breaking.contains(word))
                return false;
            if (inOrderBy && termStart && word[0].isDigit())
                return false;
            termStart = false;
            if (word == QLatin1String("BY") && previous == QLatin1String("ORDER")) {
                inOrderBy = true;
                termStart = true;
                *ordered = true;
            }
            previous = word;
            continue;
        }
        if (c == QLatin1Char('('))
            ++depth;
        else if (c == QLatin1Char(')'))
            --depth;
        else if (c == QLatin1Char(',') && depth == 0 && inOrderBy)
            termStart = true;
        if (!c.isSpace() && c != QLatin1Char(','))
            termStart = false;
        ++i;
    }
    return true;
}

struct SimpleSelect {
    QString tableRef;  // as written in the statement
    QString tableName; // without quotes
    QString tail;      // "" or "WHERE ..." / "ORDER BY ..."
    bool ordered = false;
};

QString stripSemicolons(QString sql)
{
    sql = sql.trimmed();
    while (sql.endsWith(QLatin1Char(';')))
        sql = sql.left(sql.size() - 1).trimmed();
    return sql;
}

// "SELECT * FROM <table> [WHERE ...] [ORDER BY ...]", the shape a keyset can
// serve.
std::optional<SimpleSelect> parseSimpleSelect(const QString& sqlIn)
{
    static const QRegularExpression head(QStringLiteral("^\\s*SELECT\\s+\\*\\s+FROM\\s+"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QString sql = stripSemicolons(sqlIn);
    const QRegularExpressionMatch m = head.match(sql);
    if (!m.hasMatch())
        return std::nullopt;
    int i = int(m.capturedEnd());
    if (i >= sql.size())
        return std::nullopt;
    SimpleSelect out;
    const QChar first = sql[i];
    if (first == QLatin1Char('"') || first == QLatin1Char('[') || first == QLatin1Char('`')) {
        const int end = SkipQuoted(sql, i);
        out.tableRef = sql.mid(i, end - i);
        out.tableName = out.tableRef.mid(1, out.tableRef.size() - 2);
        if (first != QLatin1Char('['))
            out.tableName.replace(QString(2, first), QString(first));
        i = end;
    } else {
        int j = i;
        while (j < sql.size() && isWordChar(sql[j]))
            ++j;
        if (j == i)
            return std::nullopt;
        out.tableRef = out.tableName = sql.mid(i, j - i);
        i = j;
    }
    if (i < sql.size() && !sql[i].isSpace())
        return std::nullopt;
    out.tail = sql.mid(i).trimmed();
    if (out.tail.isEmpty())
        return out;
    static const QRegularExpression tailHead(QStringLiteral("^(WHERE|ORDER\\s+BY)\\b"),
                                             QRegularExpression::CaseInsensitiveOption
                                                 | QRegularExpression::UseUnicodePropertiesOption);
    if (!tailHead.match(out.tail).hasMatch() || !tailKeepsRows(out.tail, &out.ordered))
        return std::nullopt;
    return out;
}

bool isTableName(const QString& source)
{
    static const QRegularExpression name(QStringLiteral("^\\s*(\\[[^\\]]+\\]|\\w+)\\s*$"),
                                         QRegularExpression::UseUnicodePropertiesOption);
    return name.match(source).hasMatch();
}

// The condition of a find in SQLite SQL ("WHERE (...)"): the criteria go
// through the translator inside a statement of their own.
QString translateCriteria(const QString& criteria)
{
    static const QRegularExpression shape(
        QStringLiteral("^\\s*SELECT\\s+\\*\\s+FROM\\s+[\"\\[`]?VelmoraFind[\"\\]`]?\\s+(WHERE\\b.*)$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption
            | QRegularExpression::UseUnicodePropertiesOption);
    const QString translated =
        stripSemicolons(TranslateJet(QStringLiteral("SELECT * FROM VelmoraFind WHERE (") + criteria + QLatin1Char(')')));
    const QRegularExpressionMatch m = shape.match(translated);
    if (!m.hasMatch())
        throw StoreError(QStringLiteral("Arama ölçütü anlaşılamadı: %1").arg(criteria));
    return m.captured(1);
}

// Resets a kept statement when the scope is left, after an error text has
// been read from the handle.
struct Resetting {
    sqlite3_stmt* st;
    ~Resetting() { sqlite3_reset(st); }
};

// Prepared statement owned for one use.
struct Statement {
    sqlite3_stmt* st = nullptr;
    Statement() = default;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement() { sqlite3_finalize(st); }
};

} // namespace

// ---------------------------------------------------------------------------

// What a refresh of one record source needs besides its rows, kept for the
// next refresh of the same source on the same connection: translating the
// source, looking its table up and preparing its statements cost more than
// reading a day's few hundred keys.
struct RecordView::Plan {
    QString source;
    bool keyset = false;
    QString translated;
    QString planned;
    QString tableSql;
    QStringList names;
    std::vector<FieldType> types;
    QHash<QString, int> byName;
    int columns = 0;
    bool rowidOrder = false;      // keyset without an order of its own
    sqlite3_stmt* rows = nullptr; // the keys (keyset) or the whole result
    sqlite3_stmt* row = nullptr;  // keyset: one row by rowid
    int reprepared = 0;           // the engine's count when the plan was made

    Plan() = default;
    Plan(const Plan&) = delete;
    Plan& operator=(const Plan&) = delete;
    ~Plan()
    {
        sqlite3_finalize(rows);
        sqlite3_finalize(row);
    }

    // The engine prepares a statement again when a store's layout changed;
    // the kept columns may then be wrong, so the plan is made anew.
    bool stale() const { return sqlite3_stmt_status(rows, SQLITE_STMTSTATUS_REPREPARE, 0) != reprepared; }
};

struct RecordView::Impl {
    ~Impl() { forgetStatements(); }

    bool open = false;
    bool keyset = false;
    QString translated;  // the source in SQLite SQL
    QString planned;     // the statement Refresh ran (SQLite SQL)
    QString tableSql;    // quoted base table (keyset views)

    QStringList names;
    std::vector<FieldType> types;
    QHash<QString, int> byName;
    QHash<QString, int> bySpelling; // names as asked for, for FieldIndex
    int columns = 0;

    // Keyset views: rowids in the view's order, rows read on demand.
    std::vector<sqlite3_int64> keys;
    sqlite3_stmt* rowStmt = nullptr; // the current plan's
    RowCache cache{kCachedRows};
    sqlite3_int64 cacheStamp = -1;
    // rowid -> slot, sorted by rowid; built by the first find. A slot is the
    // row's position when the map was built (rows added since get the next
    // ones). Deleting a row does not renumber the map, which would cost a walk
    // over every row per delete: the deleted slots are kept, sorted, and a
    // row's position is its slot less the deleted slots before it.
    std::vector<std::pair<sqlite3_int64, int>> positions;
    std::vector<int> deletedSlots;
    int nextSlot = 0;
    bool positionsValid = false;
    // A view without an order of its own has its keys ascending: a row's
    // position is found in them directly, and no map is needed until a new
    // row's key is not above them all.
    bool keysAscending = false;

    // Other views: every row read at Refresh, row-major.
    std::vector<QVariant> cells;
    int materializedRows = 0;

    // Find statements (SQLite SQL) by the shape of their criteria (see
    // splitValues).
    QHash<QString, QString> findStatements;
    // Insert and update statements (SQLite SQL) by the fields they write: a
    // loop writing the same fields of row after row builds the text once.
    QHash<QByteArray, QString> writeStatements;

    // Statements used again and again (writes, finds), most recent first.
    // They and the plans live as long as the connection they were prepared on.
    std::vector<std::pair<QString, sqlite3_stmt*>> statements;
    std::vector<std::unique_ptr<Plan>> plans; // most recent first

    // Pending Edit/AddNew values.
    std::vector<QVariant> pending;
    std::vector<char> dirty;

    int rowCount() const { return keyset ? int(keys.size()) : materializedRows; }

    void forgetStatements()
    {
        rowStmt = nullptr;
        plans.clear();
        for (auto& s : statements)
            sqlite3_finalize(s.second);
        statements.clear();
    }

    // The kept plan of a source, made the most recent; null when there is none.
    Plan* keptPlan(const QString& source)
    {
        for (size_t k = 0; k < plans.size(); ++k)
            if (plans[k]->source == source) {
                std::rotate(plans.begin(), plans.begin() + long(k), plans.begin() + long(k) + 1);
                return plans.front().get();
            }
        return nullptr;
    }

    void forgetPlan(const QString& source)
    {
        if (keptPlan(source)) {
            if (rowStmt == plans.front()->row)
                rowStmt = nullptr;
            plans.erase(plans.begin());
        }
    }

    Plan& keep(std::unique_ptr<Plan> plan)
    {
        if (plans.size() >= kKeptPlans)
            plans.pop_back();
        plans.insert(plans.begin(), std::move(plan));
        return *plans.front();
    }

    // The view takes the plan's shape; its rows are read next.
    void use(const Plan& plan)
    {
        keyset = plan.keyset;
        translated = plan.translated;
        planned = plan.planned;
        tableSql = plan.tableSql;
        names = plan.names;
        types = plan.types;
        byName = plan.byName;
        columns = plan.columns;
        rowStmt = plan.row;
        keysAscending = plan.rowidOrder;
    }

    // Forgets the rows and the shape of the last result, not the kept
    // statements.
    void reset()
    {
        rowStmt = nullptr;
        open = false;
        keyset = false;
        translated.clear();
        planned.clear();
        tableSql.clear();
        names.clear();
        types.clear();
        byName.clear();
        bySpelling.clear();
        columns = 0;
        keys.clear(); // its room is kept for the next refresh's keys
        keysAscending = false;
        cache.clear();
        cacheStamp = -1;
        positions.clear();
        positions.shrink_to_fit();
        deletedSlots.clear();
        positionsValid = false;
        cells.clear();
        cells.shrink_to_fit();
        materializedRows = 0;
        findStatements.clear();
        writeStatements.clear();
        pending.clear();
        dirty.clear();
    }

    static void setColumns(Plan& plan, sqlite3_stmt* st)
    {
        plan.columns = sqlite3_column_count(st);
        plan.names.clear();
        plan.types.assign(size_t(plan.columns), FieldType::Other);
        plan.byName.clear();
        for (int c = 0; c < plan.columns; ++c) {
            const QString n = QString::fromUtf8(sqlite3_column_name(st, c));
            plan.names << n;
            plan.types[size_t(c)] = typeFromDeclared(sqlite3_column_decltype(st, c));
            const QString key = foldName(n);
            if (!plan.byName.contains(key))
                plan.byName.insert(key, c);
        }
    }

    sqlite3_stmt* statement(Connection& conn, const QString& sql)
    {
        for (size_t k = 0; k < statements.size(); ++k)
            if (statements[k].first == sql) {
                sqlite3_stmt* st = statements[k].second;
                std::rotate(statements.begin(), statements.begin() + long(k), statements.begin() + long(k) + 1);
                sqlite3_reset(st);
                sqlite3_clear_bindings(st);
                return st;
            }
        const QByteArray utf8 = conn.Qualified(sql).toUtf8();
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v3(conn.handle(), utf8.constData(), int(utf8.size()), SQLITE_PREPARE_PERSISTENT, &st,
                               nullptr)
            != SQLITE_OK)
            conn.Fail(sql);
        if (statements.size() >= kCachedStatements) {
            sqlite3_finalize(statements.back().second);
            statements.pop_back();
        }
        statements.insert(statements.begin(), {sql, st});
        return st;
    }

    // A stored row of a keyset view; all Null when it has gone from the
    // table since Refresh.
    const RowCache::Row& fetch(Connection& conn, sqlite3_int64 rowid)
    {
        // Any change made through this store's connection (this view, another
        // view, an UPDATE statement) may have touched cached rows.
        const sqlite3_int64 stamp = sqlite3_total_changes64(conn.handle());
        if (stamp != cacheStamp) {
            cache.clear();
            cacheStamp = stamp;
        }
        if (const RowCache::Row* row = cache.find(rowid))
            return *row;
        RowCache::Row row(static_cast<size_t>(columns));
        sqlite3_bind_int64(rowStmt, 1, rowid);
        const int rc = sqlite3_step(rowStmt);
        if (rc == SQLITE_ROW) {
            for (int c = 0; c < columns; ++c)
                row[size_t(c)] = readValue(rowStmt, c, types[size_t(c)]);
        } else if (rc != SQLITE_DONE) {
            sqlite3_reset(rowStmt);
            conn.Fail(QStringLiteral("Kayıt okunamadı."));
        }
        sqlite3_reset(rowStmt);
        return cache.put(rowid, std::move(row));
    }

    QVariant value(Connection& conn, int row, int column)
    {
        if (keyset)
            return fetch(conn, keys[size_t(row)])[size_t(column)];
        return cells[size_t(row) * size_t(columns) + size_t(column)];
    }

    void ensurePositions()
    {
        if (positionsValid || keysAscending)
            return;
        positions.resize(keys.size());
        for (size_t i = 0; i < keys.size(); ++i)
            positions[i] = {keys[i], int(i)};
        std::sort(positions.begin(), positions.end());
        deletedSlots.clear();
        nextSlot = int(keys.size());
        positionsValid = true;
    }

    int positionOf(sqlite3_int64 rowid) const
    {
        if (keysAscending) {
            const auto at = std::lower_bound(keys.begin(), keys.end(), rowid);
            return at != keys.end() && *at == rowid ? int(at - keys.begin()) : -1;
        }
        auto it = std::lower_bound(positions.begin(), positions.end(), std::make_pair(rowid, -1));
        if (it == positions.end() || it->first != rowid)
            return -1;
        const int slot = it->second;
        const auto before = std::lower_bound(deletedSlots.begin(), deletedSlots.end(), slot);
        if (before != deletedSlots.end() && *before == slot)
            return -1;
        return slot - int(before - deletedSlots.begin());
    }

    // The slot of a position: the smallest slot s whose position (s less the
    // deleted slots up to it) is pos.
    int slotOf(int pos) const
    {
        int slot = pos;
        for (int slotsBefore = 0;;) {
            const int deleted =
                int(std::upper_bound(deletedSlots.begin(), deletedSlots.end(), slot) - deletedSlots.begin());
            if (deleted == slotsBefore)
                return slot;
            slot += deleted - slotsBefore;
            slotsBefore = deleted;
        }
    }

    void removed(int pos)
    {
        const sqlite3_int64 rowid = keys[size_t(pos)];
        keys.erase(keys.begin() + pos);
        cache.erase(rowid);
        if (!positionsValid || keysAscending)
            return;
        // Past a few thousand deletions the next find builds the map anew.
        if (deletedSlots.size() >= kDeletedSlotsKept) {
            positionsValid = false;
            return;
        }
        const int slot = slotOf(pos);
        deletedSlots.insert(std::lower_bound(deletedSlots.begin(), deletedSlots.end(), slot), slot);
    }

    void appended(sqlite3_int64 rowid)
    {
        if (keysAscending && !keys.empty() && rowid <= keys.back()) {
            // The next find builds the map.
            keysAscending = false;
            positionsValid = false;
        }
        keys.push_back(rowid);
        if (!positionsValid || keysAscending)
            return;
        const std::pair<sqlite3_int64, int> entry{rowid, nextSlot++};
        positions.insert(std::lower_bound(positions.begin(), positions.end(), entry), entry);
    }

    // A row of a materialized view as a comparable key.
    QByteArray rowKey(const QVariant* values) const
    {
        QByteArray key;
        QDataStream out(&key, QIODevice::WriteOnly);
        for (int c = 0; c < columns; ++c)
            out << values[c];
        return key;
    }
};

// ---------------------------------------------------------------------------

RecordView::RecordView(const QString& name, QObject* parent)
    : QObject(parent), name_(name), d_(std::make_unique<Impl>())
{
    if (!name.isEmpty())
        setObjectName(name);
}

RecordView::~RecordView()
{
    // Statements go before the connection they were prepared on.
    d_.reset();
}

void RecordView::setDatabaseName(const QString& path)
{
    if (path == databaseName_)
        return;
    databaseName_ = path;
    if (conn_ || d_->open)
        Close();
}

void RecordView::setRecordSource(const QString& source) { recordSource_ = source; }

void RecordView::ensureConnection()
{
    if (conn_)
        return;
    if (databaseName_.trimmed().isEmpty())
        throw StoreError(QStringLiteral("Kayıt görünümü \"%1\" için veri dosyası belirtilmemiş.").arg(name_));
    conn_ = Connection::Open(databaseName_);
}

void RecordView::Refresh()
{
    editMode_ = EditMode::None;
    noMatch_ = false;
    const int oldPos = pos_;
    d_->reset();
    pos_ = -1;
    readOnly_ = false;
    // Whatever happens below, the view is empty until the new result stands,
    // and the grids hear of it either way.
    const auto announce = [this, oldPos] {
        emit refreshed();
        if (pos_ != oldPos)
            emit currentChanged(pos_);
    };
    try {
        load();
    } catch (...) {
        // A source that failed is planned again next time.
        d_->forgetPlan(recordSource_);
        d_->reset();
        readOnly_ = false;
        pos_ = -1;
        announce();
        throw;
    }
    announce();
}

// The statements of a source: translated, its table looked up, prepared.
std::unique_ptr<RecordView::Plan> RecordView::makePlan() const
{
    Connection& conn = *conn_;
    sqlite3* db = conn.handle();
    auto plan = std::make_unique<Plan>();
    plan->source = recordSource_;

    const QString jet = isTableName(recordSource_) ? QStringLiteral("SELECT * FROM ") + recordSource_.trimmed()
                                                   : recordSource_;
    const QString plain = stripSemicolons(TranslateJet(jet));
    plan->translated = conn.Qualified(plain);

    // A keyset serves "SELECT * FROM <table> ..." on an ordinary table.
    std::optional<SimpleSelect> simple = parseSimpleSelect(plain);
    QString canonicalTable;
    if (simple) {
        Statement look;
        // The store's own schema: on a data set's handle the other stores'
        // tables are there too.
        const QByteArray sql = (QStringLiteral("SELECT name, sql FROM ") + conn.schemaSql()
                                + QStringLiteral(".sqlite_schema WHERE type='table' AND name=?1 COLLATE NOCASE"))
                                   .toUtf8();
        if (sqlite3_prepare_v2(db, sql.constData(), -1, &look.st, nullptr) != SQLITE_OK)
            conn.Fail(recordSource_);
        const QByteArray table = simple->tableName.toUtf8();
        sqlite3_bind_text(look.st, 1, table.constData(), int(table.size()), SQLITE_STATIC);
        if (sqlite3_step(look.st) == SQLITE_ROW) {
            const QString create = columnText(look.st, 1).toUpper().simplified();
            if (!create.contains(QLatin1String("WITHOUT ROWID")))
                canonicalTable = columnText(look.st, 0);
        }
    }

    const auto prepare = [&](const QString& sql, sqlite3_stmt** st) {
        const QByteArray utf8 = sql.toUtf8();
        if (sqlite3_prepare_v3(db, utf8.constData(), int(utf8.size()), SQLITE_PREPARE_PERSISTENT, st, nullptr)
            != SQLITE_OK)
            conn.Fail(recordSource_);
    };
    if (!canonicalTable.isEmpty()) {
        plan->keyset = true;
        // Writes name the store's schema, so they reach this store's file.
        plan->tableSql = conn.schemaSql() + QLatin1Char('.') + quoteName(canonicalTable);
        prepare(QStringLiteral("SELECT * FROM ") + plan->tableSql + QStringLiteral(" WHERE rowid=?"), &plan->row);
        Impl::setColumns(*plan, plan->row);

        // Without an order of its own a view keeps the table's order (the
        // order rows were added), not that of whichever index SQLite reads.
        QString keySql = QStringLiteral("SELECT ") + simple->tableRef + QStringLiteral(".rowid FROM ")
            + simple->tableRef + QLatin1Char(' ') + simple->tail;
        if (!simple->ordered) {
            keySql += QStringLiteral(" ORDER BY ") + simple->tableRef + QStringLiteral(".rowid");
            plan->rowidOrder = true;
        }
        plan->planned = conn.Qualified(keySql);
        prepare(plan->planned, &plan->rows);
    } else {
        plan->planned = plan->translated;
        prepare(plan->translated, &plan->rows);
        if (!plan->rows || sqlite3_column_count(plan->rows) == 0)
            throw StoreError(QStringLiteral("Kayıt kaynağı satır döndürmüyor: %1").arg(recordSource_));
        Impl::setColumns(*plan, plan->rows);
    }
    plan->reprepared = sqlite3_stmt_status(plan->rows, SQLITE_STMTSTATUS_REPREPARE, 0);
    return plan;
}

void RecordView::load()
{
    if (recordSource_.trimmed().isEmpty())
        throw StoreError(QStringLiteral("Kayıt görünümü \"%1\" için kayıt kaynağı belirtilmemiş.").arg(name_));
    ensureConnection();
    Connection& conn = *conn_;
    Impl& d = *d_;

    Plan* plan = d.keptPlan(recordSource_);
    const bool kept = plan != nullptr;
    if (!plan)
        plan = &d.keep(makePlan());
    d.use(*plan);
    readOnly_ = !plan->keyset;

    sqlite3_stmt* st = plan->rows;
    {
        const Resetting done{st};
        int rc;
        if (d.keyset) {
            while ((rc = sqlite3_step(st)) == SQLITE_ROW)
                d.keys.push_back(sqlite3_column_int64(st, 0));
        } else {
            while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
                for (int c = 0; c < d.columns; ++c)
                    d.cells.push_back(readValue(st, c, d.types[size_t(c)]));
                ++d.materializedRows;
            }
        }
        if (rc != SQLITE_DONE) {
            d.keys.clear();
            d.cells.clear();
            d.materializedRows = 0;
            conn.Fail(recordSource_);
        }
    }
    if (kept && plan->stale()) {
        // The store's layout changed since the plan was made: made again.
        d.forgetPlan(recordSource_);
        d.reset();
        load();
        return;
    }
    // Room kept from a much larger result is given back; a view that goes
    // back and forth between a day and a whole kind keeps it.
    if (d.keys.capacity() - d.keys.size() > (std::size_t(1) << 18))
        d.keys.shrink_to_fit();

    if (!d.keyset) {
        const int rows = d.materializedRows;
        // Computed columns (Sum(...), expressions) declare no type: take it
        // from the values, numbers as double like every other number.
        for (int c = 0; c < d.columns; ++c) {
            if (d.types[size_t(c)] != FieldType::Other)
                continue;
            FieldType found = FieldType::Other;
            for (int r = 0; r < rows && found == FieldType::Other; ++r) {
                const QVariant& v = d.cells[size_t(r) * size_t(d.columns) + size_t(c)];
                if (store::IsNumeric(v))
                    found = FieldType::Number;
                else if (v.typeId() == QMetaType::QString)
                    found = FieldType::Text;
            }
            d.types[size_t(c)] = found;
            if (found == FieldType::Number)
                for (int r = 0; r < rows; ++r) {
                    QVariant& v = d.cells[size_t(r) * size_t(d.columns) + size_t(c)];
                    if (v.typeId() == QMetaType::LongLong)
                        v = v.toDouble();
                }
        }
    }
    d.open = true;
    pos_ = d.rowCount() > 0 ? 0 : -1;
}

void RecordView::Close()
{
    const bool hadRows = d_->open || pos_ != -1;
    editMode_ = EditMode::None;
    d_->reset();
    d_->keys.shrink_to_fit();
    d_->forgetStatements();
    conn_.reset();
    pos_ = -1;
    noMatch_ = false;
    readOnly_ = false;
    if (hadRows) {
        emit refreshed();
        emit currentChanged(pos_);
    }
}

bool RecordView::IsOpen() const { return d_->open; }

int RecordView::RecordCount() const { return d_->rowCount(); }

bool RecordView::BOF() const { return d_->rowCount() == 0 || pos_ < 0; }

bool RecordView::EOF() const { return d_->rowCount() == 0 || pos_ >= d_->rowCount(); }

void RecordView::setPos(int row)
{
    const int count = d_->rowCount();
    if (count == 0)
        row = -1;
    row = std::clamp(row, -1, count);
    // Moving away from a row forgets what was typed into it, as it always has.
    editMode_ = EditMode::None;
    if (row == pos_)
        return;
    pos_ = row;
    emit currentChanged(pos_);
}

void RecordView::MoveFirst() { setPos(0); }

void RecordView::MoveLast() { setPos(d_->rowCount() - 1); }

void RecordView::MoveNext()
{
    if (pos_ < d_->rowCount())
        setPos(pos_ + 1);
}

void RecordView::MovePrevious()
{
    if (pos_ >= 0)
        setPos(pos_ - 1);
}

void RecordView::setAbsolutePosition(int row) { setPos(row); }

// ---------------------------------------------------------------------------
// Finds

void RecordView::FindFirst(const QString& criteria) { findIn(criteria, 0, +1); }

void RecordView::FindLast(const QString& criteria) { findIn(criteria, d_->rowCount() - 1, -1); }

void RecordView::FindNext(const QString& criteria) { findIn(criteria, pos_ < 0 ? 0 : pos_ + 1, +1); }

void RecordView::FindPrevious(const QString& criteria)
{
    findIn(criteria, pos_ >= d_->rowCount() ? d_->rowCount() - 1 : pos_ - 1, -1);
}

void RecordView::findIn(const QString& criteria, int from, int step)
{
    noMatch_ = true;
    Impl& d = *d_;
    const int count = d.rowCount();
    if (!d.open || count == 0 || from < 0 || from >= count)
        return;
    Connection& conn = *conn_;

    // The statement of a find, over the view's base table or over its
    // computed source.
    const auto findSql = [&d](const QString& where) {
        return d.keyset ? QStringLiteral("SELECT ") + d.tableSql + QStringLiteral(".rowid FROM ") + d.tableSql
                + QLatin1Char(' ') + where
                        : QStringLiteral("SELECT * FROM (") + d.translated + QStringLiteral(") ") + where;
    };
    // Its values become parameters, so it is translated and prepared once per
    // shape; when the translator did not keep the stand-ins as they were, the
    // criteria are translated whole.
    QString shape;
    QStringList values;
    QString sql;
    bool bound = SplitValues(criteria, &shape, &values);
    if (bound) {
        if (auto it = d.findStatements.constFind(shape); it != d.findStatements.cend()) {
            sql = *it;
        } else {
            QString where = translateCriteria(shape);
            bound = ParametersForStandIns(&where, int(values.size()));
            if (bound) {
                sql = findSql(where);
                if (d.findStatements.size() >= 64)
                    d.findStatements.clear();
                d.findStatements.insert(shape, sql);
            }
        }
    }
    if (!bound)
        sql = findSql(translateCriteria(criteria));
    const auto bindValues = [&](sqlite3_stmt* st) {
        if (!bound)
            return;
        for (int k = 0; k < values.size(); ++k) {
            const QByteArray utf8 = values[k].toUtf8();
            sqlite3_bind_text(st, k + 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        }
    };

    int found = -1;
    if (d.keyset) {
        sqlite3_stmt* st = d.statement(conn, sql);
        bindValues(st);
        d.ensurePositions();
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            // Rows of the table outside the view have no position.
            const int p = d.positionOf(sqlite3_column_int64(st, 0));
            if (p < 0)
                continue;
            if (step > 0 ? (p >= from && (found < 0 || p < found)) : (p <= from && p > found))
                found = p;
        }
        sqlite3_reset(st);
        if (rc != SQLITE_DONE)
            conn.Fail(criteria);
    } else {
        // Rows of a computed result have no key: a row matches when the same
        // values come out of the source filtered by the criteria.
        sqlite3_stmt* st = d.statement(conn, sql);
        if (sqlite3_column_count(st) != d.columns)
            throw StoreError(QStringLiteral("Arama ölçütü anlaşılamadı: %1").arg(criteria));
        bindValues(st);
        QSet<QByteArray> matches;
        std::vector<QVariant> row(size_t(d.columns));
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            for (int c = 0; c < d.columns; ++c)
                row[size_t(c)] = readValue(st, c, d.types[size_t(c)]);
            for (int c = 0; c < d.columns; ++c)
                if (d.types[size_t(c)] == FieldType::Number && row[size_t(c)].typeId() == QMetaType::LongLong)
                    row[size_t(c)] = row[size_t(c)].toDouble();
            matches.insert(d.rowKey(row.data()));
        }
        sqlite3_reset(st);
        if (rc != SQLITE_DONE)
            conn.Fail(criteria);
        for (int p = from; !matches.isEmpty() && p >= 0 && p < count; p += step)
            if (matches.contains(d.rowKey(&d.cells[size_t(p) * size_t(d.columns)]))) {
                found = p;
                break;
            }
    }
    if (found < 0)
        return;
    noMatch_ = false;
    setPos(found);
}

// ---------------------------------------------------------------------------
// Fields

int RecordView::FieldCount() const { return d_->columns; }

QStringList RecordView::FieldNames() const { return d_->names; }

int RecordView::FieldIndex(const QString& name) const
{
    // Code asks for the same few names row after row: each spelling is
    // folded once.
    auto& spelled = d_->bySpelling;
    if (const auto it = spelled.constFind(name); it != spelled.cend())
        return *it;
    const int position = d_->byName.value(foldName(name), -1);
    if (spelled.size() < 256)
        spelled.insert(name, position);
    return position;
}

FieldType RecordView::TypeOf(int position) const
{
    if (position < 0 || position >= d_->columns)
        return FieldType::Other;
    return d_->types[size_t(position)];
}

QVariant RecordView::readCurrent(int position) const
{
    if (position < 0 || position >= d_->columns)
        throw StoreError(QStringLiteral("Alan numarası geçersiz: %1").arg(position));
    if (editMode_ != EditMode::None && d_->dirty[size_t(position)])
        return d_->pending[size_t(position)];
    if (editMode_ == EditMode::AddNew)
        return {};
    if (BOF() || EOF())
        throw StoreError(noCurrentRow());
    return d_->value(*conn_, pos_, position);
}

QVariant RecordView::Field(const QString& name) const
{
    const int position = FieldIndex(name);
    if (position < 0)
        throw StoreError(QStringLiteral("Alan bulunamadı: %1").arg(name));
    return readCurrent(position);
}

QVariant RecordView::Field(int position) const { return readCurrent(position); }

void RecordView::setField(const QString& name, const QVariant& value)
{
    const int position = FieldIndex(name);
    if (position < 0)
        throw StoreError(QStringLiteral("Alan bulunamadı: %1").arg(name));
    setField(position, value);
}

void RecordView::setField(int position, const QVariant& value)
{
    if (position < 0 || position >= d_->columns)
        throw StoreError(QStringLiteral("Alan numarası geçersiz: %1").arg(position));
    if (editMode_ == EditMode::None)
        throw StoreError(QStringLiteral("Alan değiştirilemez: önce Edit ya da AddNew gerekir (%1).")
                             .arg(d_->names[position]));
    d_->pending[size_t(position)] = normalize(value, d_->types[size_t(position)], d_->names[position]);
    d_->dirty[size_t(position)] = 1;
}

QVariant RecordView::ValueAt(int row, int position) const
{
    if (!d_->open || row < 0 || row >= d_->rowCount() || position < 0 || position >= d_->columns)
        return {};
    try {
        return d_->value(*conn_, row, position);
    } catch (const StoreError&) {
        // Grids paint what they can; the next Field() read reports the fault.
        return {};
    }
}

// ---------------------------------------------------------------------------
// Writes

static void requireWritable(bool readOnly, const QString& source)
{
    if (readOnly)
        throw StoreError(QStringLiteral("Bu kayıtlar değiştirilemez (salt okunur kaynak): %1").arg(source));
}

void RecordView::Edit()
{
    if (!d_->open)
        throw StoreError(noCurrentRow());
    requireWritable(readOnly_, recordSource_);
    if (BOF() || EOF())
        throw StoreError(noCurrentRow());
    editMode_ = EditMode::Edit;
    d_->pending.assign(size_t(d_->columns), QVariant());
    d_->dirty.assign(size_t(d_->columns), 0);
}

void RecordView::AddNew()
{
    if (!d_->open)
        throw StoreError(QStringLiteral("Kayıt görünümü açık değil: %1").arg(recordSource_));
    requireWritable(readOnly_, recordSource_);
    editMode_ = EditMode::AddNew;
    d_->pending.assign(size_t(d_->columns), QVariant());
    d_->dirty.assign(size_t(d_->columns), 0);
}

void RecordView::CancelUpdate()
{
    editMode_ = EditMode::None;
    d_->pending.clear();
    d_->dirty.clear();
}

void RecordView::Update()
{
    if (editMode_ == EditMode::None)
        throw StoreError(QStringLiteral("Kaydedilecek bir değişiklik yok: önce Edit ya da AddNew gerekir."));
    Impl& d = *d_;
    Connection& conn = *conn_;
    sqlite3* db = conn.handle();

    // The fields written, one bit each, after the kind of write.
    std::vector<int> changed;
    QByteArray written(2 + d.columns / 8, '\0');
    written[0] = editMode_ == EditMode::Edit ? 'E' : 'A';
    for (int c = 0; c < d.columns; ++c)
        if (d.dirty[size_t(c)]) {
            changed.push_back(c);
            written[1 + c / 8] = char(written[1 + c / 8] | (1 << (c % 8)));
        }

    if (editMode_ == EditMode::Edit) {
        if (!changed.empty()) {
            QString& sql = d.writeStatements[written];
            if (sql.isEmpty()) {
                sql = QStringLiteral("UPDATE ") + d.tableSql + QStringLiteral(" SET ");
                for (size_t k = 0; k < changed.size(); ++k)
                    sql += (k ? QStringLiteral(", ") : QString()) + quoteName(d.names[changed[k]])
                        + QStringLiteral("=?");
                sql += QStringLiteral(" WHERE rowid=?");
            }
            sqlite3_stmt* st = d.statement(conn, sql);
            for (size_t k = 0; k < changed.size(); ++k)
                bindValue(st, int(k) + 1, d.pending[size_t(changed[k])]);
            const sqlite3_int64 rowid = d.keys[size_t(pos_)];
            sqlite3_bind_int64(st, int(changed.size()) + 1, rowid);
            const int rc = sqlite3_step(st);
            sqlite3_reset(st);
            if (rc != SQLITE_DONE)
                conn.Fail(QStringLiteral("Kayıt değiştirilemedi."));
            if (sqlite3_changes(db) == 0)
                throw StoreError(QStringLiteral("Kayıt değiştirilemedi: kayıt bu arada silinmiş."));
            d.cache.erase(rowid);
        }
        editMode_ = EditMode::None;
        d.pending.clear();
        d.dirty.clear();
        if (!changed.empty())
            emit rowChanged(pos_);
        return;
    }

    // AddNew: the fields given; the rest keep the table's defaults. After a
    // delete in this session the new row is numbered above every deleted one
    // (SQLite would reuse the highest rowid, which other views may still hold).
    qint64 rowid = 0;
    if (const qint64 floor = conn.RowidFloor(d.tableSql); floor > 0) {
        Statement top;
        const QByteArray maxSql = (QStringLiteral("SELECT max(rowid) FROM ") + d.tableSql).toUtf8();
        if (sqlite3_prepare_v2(db, maxSql.constData(), int(maxSql.size()), &top.st, nullptr) != SQLITE_OK)
            conn.Fail(QStringLiteral("Yeni kayıt eklenemedi."));
        const qint64 highest = sqlite3_step(top.st) == SQLITE_ROW ? sqlite3_column_int64(top.st, 0) : 0;
        rowid = std::max(floor, highest) + 1;
    }
    if (rowid > 0)
        written += 'R';
    QString& sql = d.writeStatements[written];
    if (sql.isEmpty() && changed.empty() && rowid == 0) {
        sql = QStringLiteral("INSERT INTO ") + d.tableSql + QStringLiteral(" DEFAULT VALUES");
    } else if (sql.isEmpty()) {
        QString cols, marks;
        for (size_t k = 0; k < changed.size(); ++k) {
            cols += (k ? QStringLiteral(", ") : QString()) + quoteName(d.names[changed[k]]);
            marks += k ? QStringLiteral(", ?") : QStringLiteral("?");
        }
        if (rowid > 0) {
            cols += (changed.empty() ? QString() : QStringLiteral(", ")) + QStringLiteral("rowid");
            marks += changed.empty() ? QStringLiteral("?") : QStringLiteral(", ?");
        }
        sql = QStringLiteral("INSERT INTO ") + d.tableSql + QStringLiteral(" (") + cols + QStringLiteral(") VALUES (")
            + marks + QLatin1Char(')');
    }
    sqlite3_stmt* st = d.statement(conn, sql);
    for (size_t k = 0; k < changed.size(); ++k)
        bindValue(st, int(k) + 1, d.pending[size_t(changed[k])]);
    if (rowid > 0)
        sqlite3_bind_int64(st, int(changed.size()) + 1, rowid);
    const int rc = sqlite3_step(st);
    sqlite3_reset(st);
    if (rc != SQLITE_DONE)
        conn.Fail(QStringLiteral("Yeni kayıt eklenemedi."));
    const int oldCount = d.rowCount();
    d.appended(sqlite3_last_insert_rowid(db));
    editMode_ = EditMode::None;
    d.pending.clear();
    d.dirty.clear();
    emit rowInserted(oldCount);
    // The current row stays; "past the last" stays past the last.
    if (oldCount > 0 && pos_ >= oldCount) {
        pos_ = d.rowCount();
        emit currentChanged(pos_);
    }
}

QString RecordView::QueryPlan() const
{
    if (!d_->open || d_->planned.isEmpty())
        return {};
    const QByteArray sql = (QStringLiteral("EXPLAIN QUERY PLAN ") + d_->planned).toUtf8();
    Statement plan;
    if (sqlite3_prepare_v2(conn_->handle(), sql.constData(), int(sql.size()), &plan.st, nullptr) != SQLITE_OK)
        conn_->Fail(recordSource_);
    QStringList steps;
    while (sqlite3_step(plan.st) == SQLITE_ROW)
        steps << columnText(plan.st, 3);
    return steps.join(QLatin1Char('\n'));
}

void RecordView::Delete()
{
    if (!d_->open)
        throw StoreError(noCurrentRow());
    requireWritable(readOnly_, recordSource_);
    if (BOF() || EOF())
        throw StoreError(noCurrentRow());
    editMode_ = EditMode::None;
    Impl& d = *d_;
    Connection& conn = *conn_;
    sqlite3_stmt* st = d.statement(conn, QStringLiteral("DELETE FROM ") + d.tableSql + QStringLiteral(" WHERE rowid=?"));
    const qint64 deleted = d.keys[size_t(pos_)];
    sqlite3_bind_int64(st, 1, deleted);
    const int rc = sqlite3_step(st);
    sqlite3_reset(st);
    if (rc != SQLITE_DONE)
        conn.Fail(QStringLiteral("Kayıt silinemedi."));
    conn.NoteDeletedRowid(d.tableSql, deleted);
    const int removedAt = pos_;
    d.removed(removedAt);
    emit rowRemoved(removedAt);
    // The row after it is current now (or past the last).
    if (d.rowCount() == 0)
        pos_ = -1;
    emit currentChanged(pos_);
}

} // namespace store
