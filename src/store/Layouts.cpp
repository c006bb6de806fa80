#include "store/Layouts.h"

#include "store/Connection.h"
#include "store/StoreError.h"

#include <sqlite3.h>

#include <QDir>
#include <sqlite3.h>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>

namespace store {

namespace {

constexpr FieldType T = FieldType::Text;
constexpr FieldType N = FieldType::Number;
constexpr FieldType B = FieldType::YesNo;
constexpr FieldType D = FieldType::DateTime;

// The job-store table "Montaj": job creation fills the first thirteen fields
// by position.
TableDef jobsTable()
{
    return {"Montaj",
            {{"Eleman", T}, {"Görev", T}, {"Tarih", D}, {"SipNo", T}, {"Tamam", B}, {"Adet", N},
             {"RecNo", N}, {"CariKod", T}, {"Unvan", T}, {"Iptal", B}, {"Stok", T}, {"Kalan", N},
             {"Not", T}},
            {"SipNo", "Tarih", "Görev", "Eleman", "CariKod", "Unvan", "RecNo"},
            {// the kind's jobs in order number order (the board's job list)
             {"Görev_SipNo", {"Görev", "SipNo"}},
             // the day's jobs of a kind by staff member
             {"Tarih_Görev_Eleman", {"Tarih", "Görev", "Eleman"}},
             // the work report's sums: open units of a kind, a staff member's done units in a period
             {"Görev_Tarih", {"Görev", "Tarih"}},
             {"Eleman_Görev_Tarih", {"Eleman", "Görev", "Tarih"}}}};
}

// One day-staff table of the order store, named like the job kind.
TableDef dayStaffTable(const char* kind)
{
    return {kind,
            {{"SipNo", T}, {"Eleman", T}, {"Tarih", D}, {"Not", T}, {"RecNo", N}, {"Iptal", B}},
            {"SipNo", "Tarih", "Eleman", "RecNo"},
            {// the day's staff rows in order number order
             {"Tarih_SipNo", {"Tarih", "SipNo"}}}};
}

// Sales-order lines of the accounting package. Positions 0, 4, 14 and 24 to
// 31 are addressed by number; 17 to 23 are accounting fields the program
// never reads.
TableDef orderLines()
{
    return {"Siparisler",
            {{"CariKod", T},  {"SipTur", T},   {"SipTarih", D}, {"TesTarih", D}, {"SipNo", T},
             {"TesAdet", N},  {"KalAdet", N},  {"StokKod", T},  {"Birim", T},    {"Depo", T},
             {"CariAdi", T},  {"StokAdi", T},  {"Fiyat", N},    {"Kdv", N},      {"Miktar", N},
             {"Tutar", N},    {"Aciklama", T}, {"Iskonto", N},  {"KdvTutar", N}, {"Doviz", T},
             {"Kur", N},      {"Plasiyer", T}, {"FisNo", T},    {"Kaydeden", T}, {"Sec", T},
             {"Görev", T},    {"Eleman", T},   {"Montaj", B},   {"Servis", B},   {"Kesif", B},
             {"Paket", B},    {"Not", T}},
            {"SipNo", "SipTarih", "TesTarih", "Görev", "Eleman", "CariKod", "CariAdi", "StokAdi",
             "Sec"},
            // The order lists of the kinds. Of 200,000 lines only a few
            // thousand are open; without these the list walks every line in
            // order number order to find them.
            {{"open_SipNo", {"SipNo"}, "KalAdet>0 AND StokKod<>''"},
             {"service_SipNo", {"SipNo"}, "StokKod<>'' AND Montaj AND TesAdet>0"},
             {"Görev_SipNo", {"Görev", "SipNo"}}}};
}

// Customer and staff cards. Positions 2, 3, 4, 20, 24, 25 and 30 are read and
// written by number; 5 to 19 and 21 to 23 belong to the accounting package.
TableDef cards()
{
    return {"CariKartlar",
            {{"CariKod", T},     {"Unvan", T},      {"Tel", T},         {"Adres", T},
             {"Sehir", T},       {"Ilce", T},       {"PostaKod", T},    {"Ulke", T},
             {"VergiDairesi", T}, {"VergiNo", T},   {"Fax", T},         {"EPosta", T},
             {"Yetkili", T},     {"OzelKod", T},    {"Vade", N},        {"Iskonto", N},
             {"RiskLimit", N},   {"AcilisTarih", D}, {"Doviz", T},      {"Bolge", T},
             {"Gsm", T},         {"Plasiyer", T},   {"KayitTarih", D},  {"Tip", T},
             {"TelEv", T},       {"Not", T},        {"Gurup", T},       {"HesKullan", B},
             {"Borc", N},        {"Alacak", N},     {"Bakiye", N},      {"Hesap", T}},
            {"CariKod", "Unvan", "Gurup"}};
}

TableDef transactions()
{
    return {"CariHareket",
            {{"CariHarKod", T}, {"Tarih", D}, {"Aciklama", T}, {"Borc", N}, {"Alacak", N},
             {"Carisi", T}, {"DigerId", T}, {"Unvan", T}, {"Nerde", T}},
            {"CariHarKod", "Tarih", "Unvan"}};
}

std::vector<TableDef> buildTables(StoreKind kind)
{
    switch (kind) {
    case StoreKind::Jobs:
        return {jobsTable(), TableDef{"RecSay", {{"RecNo", N}}, {}}};
    case StoreKind::Reports:
        return {TableDef{"Rapor",
                         {{"Eleman", T}, {"Görev", T}, {"Yapilan", N}, {"Unvan", T}, {"Not", T}},
                         {"Eleman", "Görev"}}};
    case StoreKind::Accounts:
        return {cards(), transactions()};
    case StoreKind::Orders:
        return {orderLines(), dayStaffTable("Montaj"), dayStaffTable("Servis"),
                dayStaffTable("Kesif"), dayStaffTable("Paket")};
    case StoreKind::Index:
        return {TableDef{"Mdbindex", {{"Tarih", T}, {"SeriNo", T}, {"Indexi", T}}, {"Tarih"}},
                TableDef{"Tarih", {{"Tarih", T}}, {"Tarih"}}};
    }
    return {};
}

QString quoted(const char* name) { return QuotedName(QString::fromUtf8(name)); }

QString columnSql(const FieldDef& f)
{
    // Defaults are what the program's inserts rely on: a new job keeps Tamam,
    // Iptal and Kalan at their defaults, a survey line leaves StokKod, KalAdet
    // and the kind flags unset, and the list filters compare with '' and 0.
    switch (f.type) {
    case FieldType::Text:
        return quoted(f.name) + QStringLiteral(" TEXT COLLATE TURKISH DEFAULT ''");
    case FieldType::Number:
        return quoted(f.name) + QStringLiteral(" DOUBLE DEFAULT 0");
    case FieldType::YesNo:
        return quoted(f.name) + QStringLiteral(" YESNO NOT NULL DEFAULT 0");
    case FieldType::DateTime:
        return quoted(f.name) + QStringLiteral(" DATETIME");
    case FieldType::Other:
        break;
    }
    return quoted(f.name);
}

} // namespace

const std::vector<TableDef>& TablesOf(StoreKind kind)
{
    static const std::vector<TableDef> jobs = buildTables(StoreKind::Jobs);
    static const std::vector<TableDef> reports = buildTables(StoreKind::Reports);
    static const std::vector<TableDef> accounts = buildTables(StoreKind::Accounts);
    static const std::vector<TableDef> orders = buildTables(StoreKind::Orders);
    static const std::vector<TableDef> index = buildTables(StoreKind::Index);
    switch (kind) {
    case StoreKind::Jobs: return jobs;
    case StoreKind::Reports: return reports;
    case StoreKind::Accounts: return accounts;
    case StoreKind::Orders: return orders;
    case StoreKind::Index: return index;
    }
    return jobs;
}

QString QuotedName(const QString& name)
{
    QString inner = name;
    inner.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}

namespace {

// The indexed columns of fields of a table; text fields in the Turkish order.
QString indexColumns(const TableDef& table, const QStringList& fields)
{
    QStringList columns;
    for (const QString& field : fields) {
        const FieldDef* def = nullptr;
        for (const FieldDef& f : table.fields)
            if (QString::fromUtf8(f.name) == field)
                def = &f;
        columns << QuotedName(field)
                + (def && def->type == FieldType::Text ? QStringLiteral(" COLLATE TURKISH") : QString());
    }
    return columns.join(QStringLiteral(", "));
}

QString queryIndexName(const TableDef& table, const QueryIndex& index)
{
    return QStringLiteral("ix_") + QString::fromUtf8(table.name) + QLatin1Char('_') + QString::fromUtf8(index.name);
}

} // namespace

QString CreateIndexSql(const TableDef& table, const QStringList& fields)
{
    const QString name = QStringLiteral("ix_") + QString::fromUtf8(table.name) + QLatin1Char('_')
        + fields.join(QLatin1Char('_'));
    return QStringLiteral("CREATE INDEX %1 ON %2(%3)")
        .arg(QuotedName(name), quoted(table.name), indexColumns(table, fields));
}

QString CreateQueryIndexSql(const TableDef& table, const QueryIndex& index, const QString& schemaSql)
{
    QStringList fields;
    for (const char* f : index.fields)
        fields << QString::fromUtf8(f);
    const QString name = (schemaSql.isEmpty() ? QString() : schemaSql + QLatin1Char('.'))
        + QuotedName(queryIndexName(table, index));
    QString sql = QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2(%3)")
                      .arg(name, quoted(table.name), indexColumns(table, fields));
    if (index.where)
        sql += QStringLiteral(" WHERE ") + QString::fromUtf8(index.where);
    return sql;
}

void AddQueryIndexes(Connection& conn)
{
    sqlite3* db = conn.handle();
    // The store may be attached to another store's handle under a schema name.
    const QString schema = conn.schemaSql();
    const QByteArray schemaName = schema.mid(1, schema.size() - 2).toUtf8(); // unquoted
    QStringList tables, indexes;
    {
        sqlite3_stmt* st = nullptr;
        const QByteArray sql = (QStringLiteral("SELECT type, name FROM ") + schema
                                + QStringLiteral(".sqlite_schema WHERE type IN ('table', 'index')"))
                                   .toUtf8();
        if (sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr) != SQLITE_OK)
            return;
        while (sqlite3_step(st) == SQLITE_ROW) {
            const QString name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
            (qstrcmp(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)), "table") == 0 ? tables : indexes)
                << name.toCaseFolded();
        }
        sqlite3_finalize(st);
    }
    const auto fieldsOf = [db, &schemaName](const char* table) {
        QStringList fields;
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT name FROM pragma_table_info(?1, ?2)", -1, &st, nullptr) == SQLITE_OK) {
            sqlite3_bind_text(st, 1, table, -1, SQLITE_STATIC);
            sqlite3_bind_text(st, 2, schemaName.constData(), int(schemaName.size()), SQLITE_STATIC);
            while (sqlite3_step(st) == SQLITE_ROW)
                fields << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))).toCaseFolded();
        }
        sqlite3_finalize(st);
        return fields;
    };
    for (StoreKind kind : {StoreKind::Jobs, StoreKind::Reports, StoreKind::Accounts, StoreKind::Orders,
                           StoreKind::Index}) {
        // A kind is known by all of its tables: the order store has a
        // "Montaj" table too, but not the job store's "RecSay".
        const std::vector<TableDef>& layout = TablesOf(kind);
        const bool isKind = std::all_of(layout.begin(), layout.end(), [&tables](const TableDef& t) {
            return tables.contains(QString::fromUtf8(t.name).toCaseFolded());
        });
        if (!isKind)
            continue;
        QStringList missing;
        for (const TableDef& table : layout) {
            QStringList fields;
            for (const QueryIndex& index : table.queryIndexes) {
                if (indexes.contains(queryIndexName(table, index).toCaseFolded()))
                    continue;
                // SQLite would take a missing quoted field for a text.
                if (fields.isEmpty())
                    fields = fieldsOf(table.name);
                if (std::all_of(index.fields.begin(), index.fields.end(), [&fields](const char* f) {
                        return fields.contains(QString::fromUtf8(f).toCaseFolded());
                    }))
                    missing << CreateQueryIndexSql(table, index, schema);
            }
        }
        if (missing.isEmpty())
            return;
        if (sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
            return;
        for (const QString& sql : missing)
            sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr); // a failed one is only missing
        if (sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        return;
    }
}

QString CreateTableSql(const TableDef& table)
{
    QStringList cols;
    cols.reserve(int(table.fields.size()));
    for (const FieldDef& f : table.fields)
        cols << columnSql(f);
    return QStringLiteral("CREATE TABLE %1 (%2)").arg(quoted(table.name), cols.join(QStringLiteral(", ")));
}

QStringList LayoutProblems(StoreKind kind, Connection& store)
{
    QStringList problems;
    const QString file = QFileInfo(store.path()).fileName();
    for (const TableDef& table : TablesOf(kind)) {
        const QString name = QString::fromUtf8(table.name);
        // The store's own fields in order (a table of that name in another
        // store of the set does not count).
        QStringList fields;
        sqlite3_stmt* st = nullptr;
        const QByteArray sql =
            (QStringLiteral("SELECT name FROM pragma_table_info(?1, ?2) ORDER BY cid")).toUtf8();
        if (sqlite3_prepare_v2(store.handle(), sql.constData(), -1, &st, nullptr) != SQLITE_OK)
            store.Fail(QStringLiteral("Tablo yapısı okunamadı."));
        const QByteArray tableUtf8 = name.toUtf8();
        QString schema = store.schemaSql();
        const QByteArray schemaUtf8 = schema.mid(1, schema.size() - 2).toUtf8();
        sqlite3_bind_text(st, 1, tableUtf8.constData(), int(tableUtf8.size()), SQLITE_STATIC);
        sqlite3_bind_text(st, 2, schemaUtf8.constData(), int(schemaUtf8.size()), SQLITE_STATIC);
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW)
            fields << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
        if (rc != SQLITE_DONE)
            store.Fail(QStringLiteral("Tablo yapısı okunamadı: %1").arg(name));
        if (fields.isEmpty()) {
            problems << QStringLiteral("\"%1\" dosyasında \"%2\" tablosu yok.").arg(file, name);
            continue;
        }
        // A missing field moves every later one; naming the missing one says it all.
        QStringList missing, misplaced;
        for (int pos = 0; pos < int(table.fields.size()); ++pos) {
            const QString field = QString::fromUtf8(table.fields[size_t(pos)].name);
            int found = -1;
            for (int k = 0; k < fields.size() && found < 0; ++k)
                if (fields[k].compare(field, Qt::CaseInsensitive) == 0)
                    found = k;
            if (found < 0)
                missing << QStringLiteral("\"%1\" dosyasında \"%2\" tablosunun \"%3\" alanı yok.")
                               .arg(file, name, field);
            else if (found != pos)
                misplaced << QStringLiteral("\"%1\" dosyasında \"%2\" tablosunun \"%3\" alanı %4. sırada "
                                            "olmalı, %5. sırada.")
                                 .arg(file, name, field)
                                 .arg(pos + 1)
                                 .arg(found + 1);
        }
        problems << (missing.isEmpty() ? misplaced : missing);
    }
    return problems;
}

void CreateStore(StoreKind kind, const QString& path)
{
    if (QFileInfo::exists(Connection::ResolveCaseInsensitive(path)))
        throw StoreError(QStringLiteral("Veri dosyası zaten var, üzerine yazılmadı: %1")
                             .arg(QDir::toNativeSeparators(path)));
    QDir().mkpath(QFileInfo(path).absolutePath());
    auto conn = Connection::Create(path);
    Transaction tx(*conn);
    for (const TableDef& table : TablesOf(kind)) {
        conn->ExecuteNative(CreateTableSql(table));
        for (const char* field : table.indexed)
            conn->ExecuteNative(CreateIndexSql(table, {QString::fromUtf8(field)}));
        for (const QueryIndex& index : table.queryIndexes)
            conn->ExecuteNative(CreateQueryIndexSql(table, index));
    }
    // The batch counter has exactly one row; the program reads it at start.
    if (kind == StoreKind::Jobs)
        conn->ExecuteNative(QStringLiteral("INSERT INTO \"RecSay\" (\"RecNo\") VALUES (0)"));
    tx.Commit();
}

} // namespace store
