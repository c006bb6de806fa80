#include "store/Sql.h"

#include <QDateTime>

namespace store {

QString SqlText(const QString& value)
{
    QString quoted = value;
    quoted.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
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
