// velmora-sql STORE-FILE 'STATEMENT'
//
// Runs one statement of the program's query dialect on a store. A SELECT
// prints a header line of field names and one line per row, tab-separated;
// any other statement prints the number of rows it changed.

#include "store/Connection.h"
#include "store/JetDialect.h"
#include "store/Sql.h"
#include "store/StoreError.h"
#include "version/Version.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QStringList>

#include <sqlite3.h>

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

void out(const QString& s) { std::fputs(s.toUtf8().constData(), stdout); }

int fail(const QString& message)
{
    std::fprintf(stderr, "velmora-sql: %s\n", message.toUtf8().constData());
    return 1;
}

// 5 not 5.0; 2.5 stays; large or tiny values keep their precision.
QString formatNumber(double v)
{
    if (std::isfinite(v) && v == std::floor(v) && std::fabs(v) < 1e15)
        return QString::number(qint64(v));
    return QString::number(v, 'g', 15);
}

// How a column's values are printed, from its declared type: known once per
// statement, not looked up per value.
enum class Shown { Plain, YesNo, DateTime };

Shown shownAs(sqlite3_stmt* st, int col)
{
    const QByteArray decl = QByteArray(sqlite3_column_decltype(st, col)).toUpper();
    if (decl == "YESNO")
        return Shown::YesNo;
    if (decl == "DATETIME")
        return Shown::DateTime;
    return Shown::Plain;
}

// One line per row: a tab or line break inside a value would split it.
void appendOneLine(QByteArray& out, const char* text, int size)
{
    const qsizetype at = out.size();
    out.append(text, size);
    for (qsizetype i = at; i < out.size(); ++i)
        if (out[i] == '\t' || out[i] == '\r' || out[i] == '\n')
            out[i] = ' ';
}

void appendCell(QByteArray& out, sqlite3_stmt* st, int col, Shown shown)
{
    const int type = sqlite3_column_type(st, col);
    if (type == SQLITE_NULL)
        return;
    if (shown == Shown::YesNo) {
        out += sqlite3_column_double(st, col) != 0 ? "True" : "False";
        return;
    }
    switch (type) {
    case SQLITE_INTEGER:
        out += QByteArray::number(sqlite3_column_int64(st, col));
        return;
    case SQLITE_FLOAT:
        out += formatNumber(sqlite3_column_double(st, col)).toUtf8();
        return;
    case SQLITE_BLOB: {
        const QByteArray b(static_cast<const char*>(sqlite3_column_blob(st, col)), sqlite3_column_bytes(st, col));
        out += "0x" + b.toHex();
        return;
    }
    default:
        break;
    }
    const char* text = reinterpret_cast<const char*>(sqlite3_column_text(st, col));
    const int size = sqlite3_column_bytes(st, col);
    if (shown == Shown::DateTime) {
        // A date in the stores' own form prints as it is stored; a date-only
        // text gets its time.
        const QDateTime dt = store::ParseStoredDateTime(text, size);
        if (dt.isValid()) {
            if (size == 19)
                out.append(text, size);
            else
                out += store::StoredDateTime(dt).toUtf8();
            return;
        }
    }
    appendOneLine(out, text, size);
}

} // namespace

int main(int argc, char** argv)
{
    if (version::PrintIfAsked(argc, argv, "velmora-sql"))
        return 0;
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: velmora-sql STORE-FILE 'STATEMENT'\n"
                             "  e.g. velmora-sql demo/MuhasebeData/Montaj.mdb "
                             "\"Select * From Montaj Where Tarih=#03/18/2026#\"\n");
        return 1;
    }
    try {
        auto conn = store::Connection::Open(args[0]);
        const QByteArray sql = store::TranslateJet(args[1]).toUtf8();
        sqlite3_stmt* st = nullptr;
        const char* tail = nullptr;
        if (sqlite3_prepare_v2(conn->handle(), sql.constData(), int(sql.size()), &st, &tail) != SQLITE_OK)
            return fail(QString::fromUtf8(sqlite3_errmsg(conn->handle())));
        if (!st)
            return fail(QStringLiteral("no statement given"));
        if (tail && !QByteArray(tail).trimmed().isEmpty() && QByteArray(tail).trimmed() != ";") {
            sqlite3_finalize(st);
            return fail(QStringLiteral("give one statement at a time"));
        }
        const int columns = sqlite3_column_count(st);
        if (columns > 0) {
            QByteArray text;
            std::vector<Shown> shown;
            for (int c = 0; c < columns; ++c) {
                text += (c ? "\t" : "") + QByteArray(sqlite3_column_name(st, c));
                shown.push_back(shownAs(st, c));
            }
            text += '\n';
            int rc;
            while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
                for (int c = 0; c < columns; ++c) {
                    if (c)
                        text += '\t';
                    appendCell(text, st, c, shown[size_t(c)]);
                }
                text += '\n';
                if (text.size() > 1 << 16) {
                    std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
                    text.clear();
                }
            }
            const QString error = rc == SQLITE_DONE ? QString() : QString::fromUtf8(sqlite3_errmsg(conn->handle()));
            sqlite3_finalize(st);
            std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
            if (!error.isEmpty())
                return fail(error);
        } else {
            const int rc = sqlite3_step(st);
            const QString error = rc == SQLITE_DONE ? QString() : QString::fromUtf8(sqlite3_errmsg(conn->handle()));
            sqlite3_finalize(st);
            if (!error.isEmpty())
                return fail(error);
            out(QString::number(sqlite3_changes(conn->handle())) + QLatin1Char('\n'));
        }
    } catch (const store::StoreError& e) {
        return fail(e.message());
    }
    return 0;
}
