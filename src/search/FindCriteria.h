#pragma once

#include <QString>

class QFontMetrics;

namespace store { class RecordView; }

namespace search {

// The search text as the user is shown it: every form of the letter i ("i",
// "ı", "İ", "I") becomes "?", the one-character wildcard, so that each form
// matches the others whatever the store holds.
QString DisplayPattern(const QString& typed);

// The condition of the last search: the field it tried last and its Like
// pattern. Empty until a search has been made.
struct Criteria {
    QString field;   // "SipNo", "CariAdi" or "StokAdi"
    QString pattern; // a Like pattern, ending in "*"

    // SipNo Like '<pattern>*' for a typed text. "[" and "#" are taken
    // literally; "*" and "?" keep their wildcard meaning, and a text that
    // already ends in "*" gets no second one.
    static Criteria ForText(const QString& typed);
    bool isEmpty() const { return field.isEmpty(); }
    // The condition in the program's dialect, the pattern quoted.
    QString text() const;
};

// Finds the first row of the view whose order number, else customer name,
// else product name meets the criteria's pattern. The criteria keep the field
// tried last. False when no row matched.
bool FindByNumberNameOrProduct(store::RecordView& view, Criteria& criteria);

// The text cut from its end until before + text + after is at most maxTwips
// wide in the font.
QString FitToWidth(QString text, const QString& before, const QString& after, const QFontMetrics& metrics,
                   double maxTwips);

} // namespace search
