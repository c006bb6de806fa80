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

QDateTime ParseStoredDateTime(const QString& text)
{
    QDateTime dt = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!dt.isValid())
        dt = QDateTime(QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd")), QTime(0, 0));
    return dt;
}

} // namespace store
