#pragma once

#include <QString>

namespace store {

// Translates one statement of the program's query dialect (the Jet SQL that
// the windows build) into SQLite SQL with the same meaning:
//   #mm/dd/yyyy# and #mm/dd/yyyy hh:nn:ss#  -> '2026-12-07 00:00:00'
//   True / False                            -> 1 / 0
//   "double-quoted text"                    -> 'single-quoted text'
//   [bracketed name]                        -> "bracketed name"
// Like (with * ? # [..]), case-insensitive Turkish comparison and Turkish
// ordering need no rewriting: the connection supplies them (see Connection).
// Anything it cannot carry over faithfully raises DialectError; it never
// guesses.
QString TranslateJet(const QString& jet);

} // namespace store
