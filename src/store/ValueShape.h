#pragma once

#include <QString>
#include <QStringList>

namespace store {

// Statements that differ only in their quoted values ("Eleman='Ali'",
// "Eleman='Veli'") share one translation and one prepared statement: the
// values are taken out and bound as parameters.

// Skips a quoted run starting at s[i] ('...', "...", `...` with doubled
// closers, or [...]); returns the index after it, the end of s when it is
// left open.
int SkipQuoted(const QString& s, int i);

// "SipNo='A''1'" gives the shape "SipNo='VelmoraP0'" and the value "A'1".
// Double-quoted texts, [names] and #dates# pass whole. False when a quote is
// left open.
bool SplitValues(const QString& jet, QString* shape, QStringList* values);

// Puts ?1..?n for the stand-ins of a translated shape; false (and the text
// unusable) when the translator did not keep each stand-in exactly once.
bool ParametersForStandIns(QString* translated, int count);

} // namespace store
