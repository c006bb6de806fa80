#pragma once

#include <QDate>
#include <QString>
#include <QTime>

// The one way values enter the program's SQL text. Every query piece that
// carries a value is built with these, never by hand.
namespace store {

// 'text' with every single quote doubled: "Ahmet'in Yeri" -> 'Ahmet''in Yeri'.
QString SqlText(const QString& value);

// What a user typed, as the start of a Like pattern: "*" and "?" keep their
// wildcard meaning, while "[" and "#" stand for themselves ("[[]", "[#]")
// instead of opening a character list or matching any digit. The result is
// still a value: it goes into SQL through SqlText.
QString LikeTypedText(const QString& typed);

// A field name as it stands in the program's SQL: bracketed when it is also a
// word of the language ("Not") or is not a plain name, as is otherwise.
QString FieldName(const QString& name);

// #mm/dd/yyyy#
QString DateLiteral(const QDate& day);
// #mm/dd/yyyy hh:nn:ss#
QString DateTimeLiteral(const QDate& day, const QTime& time);
// The two ends of a whole-day range: 00:00:00 and 23:59:59.
QString DayStartLiteral(const QDate& day);
QString DayEndLiteral(const QDate& day);

// How date/time values are kept in the stores: "YYYY-MM-DD HH:MM:SS".
QString StoredDateTime(const QDateTime& value);
QString StoredDate(const QDate& day); // the day at 00:00:00
QDateTime ParseStoredDateTime(const QString& text); // invalid on bad text

} // namespace store
