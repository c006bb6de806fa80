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

// One line per row: a tab or line break inside a value would split it.
QString oneLine(QString s)
{
    s.replace(QLatin1Char('\t'), QLatin1Char(' '));
    s.replace(QLatin1Char('\r'), QLatin1Char(' '));
    s.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return s;
}

QString cell(sqlite3_stmt* st, int col)
{
    const int type = sqlite3_column_type(st, col);
    if (type == SQLITE_NULL)
        return {};
    const QByteArray decl = QByteArray(sqlite3_column_decltype(st, col)).toUpper();
    if (decl == "YESNO")
        return sqlite3_column_double(st, col) != 0 ? QStringLiteral("True") : QStringLiteral("False");
    switch (type) {
    case SQLITE_INTEGER:
        return QString::number(sqlite3_column_int64(st, col));
    case SQLITE_FLOAT:
        return formatNumber(sqlite3_column_double(st, col));
    case SQLITE_BLOB: {
        const QByteArray b(static_cast<const char*>(sqlite3_column_blob(st, col)), sqlite3_column_bytes(st, col));
        return QStringLiteral("0x") + QString::fromLatin1(b.toHex());
    }
    default:
        break;
    }
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, col)),
                                           sqlite3_column_bytes(st, col));
    if (decl == "DATETIME") {
        const QDateTime dt = store::ParseStoredDateTime(text);
        if (dt.isValid())
            return store::StoredDateTime(dt);
    }
    return oneLine(text);
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
            QStringList header;
            for (int c = 0; c < columns; ++c)
                header << QString::fromUtf8(sqlite3_column_name(st, c));
            QString text = header.join(QLatin1Char('\t')) + QLatin1Char('\n');
            int rc;
            while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
                QStringList row;
                for (int c = 0; c < columns; ++c)
                    row << cell(st, c);
                text += row.join(QLatin1Char('\t')) + QLatin1Char('\n');
                if (text.size() > 1 << 16) {
                    out(text);
                    text.clear();
                }
            }
            const QString error = rc == SQLITE_DONE ? QString() : QString::fromUtf8(sqlite3_errmsg(conn->handle()));
            sqlite3_finalize(st);
            out(text);
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
