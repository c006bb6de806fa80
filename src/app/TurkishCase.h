#pragma once

#include <QString>

// Turkish case forms of a text, as the lookups of names try them: the stores
// hold names in either case, and the dotted and dotless i do not follow the
// default case rules.
namespace app {

// "i" -> "İ", "ı" -> "I", then upper case: "istanbul" -> "İSTANBUL".
QString TurkishUpperForm(const QString& text);
// "İ" -> "i", "I" -> "ı", then lower case: "ISPARTA" -> "ısparta".
QString TurkishLowerForm(const QString& text);

} // namespace app
