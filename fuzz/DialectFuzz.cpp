// Fuzz target for the query dialect translator. Besides crashes and what the
// sanitizers catch, it stops on a translation that SQLite would read as more
// than the one statement the translator meant: a comment or a second
// statement outside quotes, a text that does not come back as it went in.
#include "store/Connection.h"
#include "store/JetDialect.h"
#include "store/Layouts.h"
#include "store/Sql.h"
#include "store/StoreError.h"

#include <QByteArray>
#include <QString>
#include <fuzzer/FuzzedDataProvider.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>

namespace {

sqlite3* g_db = nullptr;

[[noreturn]] void finding(const char* what, const QString& jet, const QString& sql)
{
    std::fprintf(stderr, "%s\njet: %s\nsql: %s\n", what, jet.toUtf8().constData(), sql.toUtf8().constData());
    std::abort();
}

bool isSqliteBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r'; }

// Outside quoted texts and names the translation holds no comment and no
// statement separator, and nowhere a NUL.
void checkShape(const QString& jet, const QString& sql)
{
    const QByteArray s = sql.toUtf8();
    char quote = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '\0')
            finding("NUL in the translation", jet, sql);
        if (quote) {
            if (c == quote)
                quote = 0; // a doubled quote closes and opens again: same state
            continue;
        }
        if (c == '\'' || c == '"') {
            quote = c;
            continue;
        }
        const char next = i + 1 < s.size() ? s[i + 1] : '\0';
        if ((c == '-' && next == '-') || (c == '/' && next == '*'))
            finding("comment outside quotes", jet, sql);
        if (c == ';')
            finding("statement separator outside quotes", jet, sql);
    }
    if (quote)
        finding("unclosed quote in the translation", jet, sql);
}

// When SQLite takes the translation, it takes all of it as one statement.
void checkOneStatement(const QString& jet, const QString& sql)
{
    const QByteArray s = sql.toUtf8();
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(g_db, s.constData(), int(s.size()), &stmt, &tail) != SQLITE_OK) {
        sqlite3_finalize(stmt);
        return; // refused by SQLite: nothing runs
    }
    sqlite3_finalize(stmt);
    for (const char* p = tail; p < s.constData() + s.size(); ++p)
        if (!isSqliteBlank(*p))
            finding("SQLite reads more than one statement", jet, sql);
}

// A text put in through SqlText comes back from SQLite as it was.
void checkTextRoundTrip(const QString& text)
{
    const QString jet = QStringLiteral("Select ") + store::SqlText(text) + QStringLiteral(" & ''");
    QString sql;
    try {
        sql = store::TranslateJet(jet);
    } catch (const store::DialectError&) {
        // Only a NUL or half a surrogate pair may be refused.
        if (!text.contains(QChar(0)))
            finding("a plain text was refused", jet, sql);
        return;
    }
    const QByteArray s = sql.toUtf8();
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(g_db, s.constData(), int(s.size()), &stmt, nullptr) != SQLITE_OK || !stmt)
        finding("SQLite refused a text literal", jet, sql);
    if (sqlite3_step(stmt) != SQLITE_ROW)
        finding("a text literal gave no row", jet, sql);
    const QString back = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)),
                                           sqlite3_column_bytes(stmt, 0));
    sqlite3_finalize(stmt);
    if (back != text)
        finding("a text literal came back changed", jet, sql);
}

// A typed search start matches the text it was typed from.
void checkTypedStart(const QString& typed)
{
    if (typed.contains(QChar(0)))
        return;
    const QString jet = QStringLiteral("Select ") + store::SqlText(typed) + QStringLiteral(" Like ")
        + store::SqlText(store::LikeTypedText(typed) + QLatin1Char('*'));
    const QByteArray s = store::TranslateJet(jet).toUtf8();
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(g_db, s.constData(), int(s.size()), &stmt, nullptr) != SQLITE_OK || !stmt)
        finding("SQLite refused a typed search", jet, QString::fromUtf8(s));
    const bool matched = sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_int(stmt, 0) == 1;
    sqlite3_finalize(stmt);
    if (!matched)
        finding("a typed search start does not match its own text", jet, QString::fromUtf8(s));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (sqlite3_open(":memory:", &g_db) != SQLITE_OK)
        std::abort();
    store::RegisterDialectFunctions(g_db);
    // Every table of every store, so that statements over them prepare; a
    // name two stores share is made once.
    for (store::StoreKind kind : {store::StoreKind::Jobs, store::StoreKind::Reports, store::StoreKind::Accounts,
                                  store::StoreKind::Orders, store::StoreKind::Index})
        for (const store::TableDef& t : store::TablesOf(kind))
            sqlite3_exec(g_db, store::CreateTableSql(t).toUtf8().constData(), nullptr, nullptr, nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0:
        checkTextRoundTrip(QString::fromUtf8(in.ConsumeRemainingBytesAsString()));
        return 0;
    case 1:
        checkTypedStart(QString::fromUtf8(in.ConsumeRemainingBytesAsString()));
        return 0;
    default:
        break;
    }
    // Raw UTF-16 as well as UTF-8, so that NULs and half surrogate pairs reach
    // the translator as a QString can hold them.
    QString jet;
    if (in.ConsumeBool()) {
        const std::string bytes = in.ConsumeRemainingBytesAsString();
        jet = QString(reinterpret_cast<const QChar*>(bytes.data()), qsizetype(bytes.size() / 2));
    } else {
        jet = QString::fromUtf8(in.ConsumeRemainingBytesAsString());
    }
    QString sql;
    try {
        sql = store::TranslateJet(jet);
    } catch (const store::DialectError&) {
        return 0;
    }
    checkShape(jet, sql);
    checkOneStatement(jet, sql);
    return 0;
}
