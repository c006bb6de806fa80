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
// A stored date read back: "YYYY-MM-DD HH:MM:SS", or the day at midnight when
// only its first ten characters are a date; invalid on other text.
QDateTime ParseStoredDateTime(const QString& text);
QDateTime ParseStoredDateTime(const char* utf8, qsizetype size);

// "YYYY-MM-DD", "YYYY-MM-DD HH:MM:SS" or "YYYY-MM-DDTHH:MM:SS" exactly; invalid
// on anything else.
QDateTime ParseIsoDateTime(QStringView text);

// A wall-clock date and time as the stores keep it: no time zone applies, so
// building, reading and comparing one never looks up the local zone's rules
// (which costs a check of the zone file on every value). Every date the store
// layer hands out is of this kind.
QDateTime WallClock(const QDate& day, const QTime& time = QTime(0, 0));

} // namespace store
