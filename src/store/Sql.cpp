#include "store/Sql.h"

#include <QDateTime>
#include <QStringList>

namespace store {

QString SqlText(const QString& value)
{
    QString quoted = value;
    quoted.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QString LikeTypedText(const QString& typed)
{
    QString out;
    out.reserve(typed.size());
    for (const QChar c : typed) {
        if (c == QLatin1Char('[') || c == QLatin1Char('#'))
            out += QLatin1Char('[') + c + QLatin1Char(']');
        else
            out += c;
    }
    return out;
}

QString FieldName(const QString& name)
{
    static const QStringList words{
        QStringLiteral("NOT"),  QStringLiteral("AND"),   QStringLiteral("OR"),     QStringLiteral("ORDER"),
        QStringLiteral("BY"),   QStringLiteral("ASC"),   QStringLiteral("DESC"),   QStringLiteral("SELECT"),
        QStringLiteral("FROM"), QStringLiteral("WHERE"), QStringLiteral("GROUP"),  QStringLiteral("IN"),
        QStringLiteral("IS"),   QStringLiteral("LIKE"),  QStringLiteral("NULL"),   QStringLiteral("TRUE"),
        QStringLiteral("FALSE"), QStringLiteral("AS"),   QStringLiteral("BETWEEN"), QStringLiteral("ON"),
    };
    bool plain = !name.isEmpty() && !name.at(0).isDigit();
    for (const QChar c : name)
        plain = plain && (c.isLetterOrNumber() || c == QLatin1Char('_'));
    if (plain && !words.contains(name.toUpper()))
        return name;
    return QLatin1Char('[') + name + QLatin1Char(']');
}

QString DateLiteral(const QDate& day)
{
    return QLatin1Char('#') + day.toString(QStringLiteral("MM/dd/yyyy")) + QLatin1Char('#');
}

QString DateTimeLiteral(const QDate& day, const QTime& time)
{
    return QLatin1Char('#') + day.toString(QStringLiteral("MM/dd/yyyy")) + QLatin1Char(' ')
        + time.toString(QStringLiteral("HH:mm:ss")) + QLatin1Char('#');
}

QString DayStartLiteral(const QDate& day) { return DateTimeLiteral(day, QTime(0, 0, 0)); }
QString DayEndLiteral(const QDate& day) { return DateTimeLiteral(day, QTime(23, 59, 59)); }

QString StoredDateTime(const QDateTime& value)
{
    return value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString StoredDate(const QDate& day)
{
    return day.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 00:00:00");
}

QDateTime WallClock(const QDate& day, const QTime& time)
{
    if (!day.isValid() || !time.isValid())
        return {};
    return QDateTime(day, time, Qt::UTC);
}

namespace {

// Dates are read by hand: QDateTime::fromString builds a local time, and
// every local time asks the C library for the zone, which checks the zone
// file each time. A list of 50,000 jobs read that file 450,000 times.
template <typename Char>
int digits(const Char* s, qsizetype at, int count)
{
    int v = 0;
    for (int i = 0; i < count; ++i) {
        const auto c = s[at + i];
        if (c < '0' || c > '9')
            return -1;
        v = v * 10 + int(c - '0');
    }
    return v;
}

// "YYYY-MM-DD" (10 characters) or that with " HH:MM:SS" or "THH:MM:SS" (19).
template <typename Char>
QDateTime parseIso(const Char* s, qsizetype size)
{
    if (size != 10 && size != 19)
        return {};
    if (s[4] != '-' || s[7] != '-')
        return {};
    const QDate day(digits(s, 0, 4), digits(s, 5, 2), digits(s, 8, 2));
    if (size == 10)
        return WallClock(day);
    if ((s[10] != ' ' && s[10] != 'T') || s[13] != ':' || s[16] != ':')
        return {};
    const int h = digits(s, 11, 2), m = digits(s, 14, 2), sec = digits(s, 17, 2);
    if (h < 0 || m < 0 || sec < 0)
        return {};
    return WallClock(day, QTime(h, m, sec));
}

template <typename Char>
QDateTime parseStored(const Char* s, qsizetype size)
{
    if (size == 19)
        if (QDateTime dt = parseIso(s, 19); dt.isValid())
            return dt;
    return size >= 10 ? parseIso(s, 10) : QDateTime();
}

} // namespace

QDateTime ParseIsoDateTime(QStringView text) { return parseIso(text.utf16(), text.size()); }

QDateTime ParseStoredDateTime(const QString& text) { return parseStored(text.utf16(), text.size()); }

QDateTime ParseStoredDateTime(const char* utf8, qsizetype size) { return parseStored(utf8, size); }

} // namespace store
