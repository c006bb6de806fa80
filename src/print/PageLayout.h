#pragma once

#include "print/Surface.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <vector>

class QWidget;

// Pieces of page layout that every printout shares: cutting texts to a
// column, breaking a note into pieces, the question at a page break, centred
// lines, ruled tables, and the texts of dates and amounts on paper.
namespace print {

// Cut from the right, one character at a time, until its width is at most `width`.
QString ShortenToWidth(const Surface& s, QString text, double width);

// A note too wide for its column, broken into pieces. While the rest of the
// note is wider than `restWidth`, a piece is taken off its front: it grows by
// one character at a time as long as the piece followed by `pad` is narrower
// than `pieceWidth`, and always holds at least one character. Only that piece
// leaves the note, so words that come again later are printed where they
// stand, and the pieces and the rest together are the whole note.
struct NotePieces {
    QStringList pieces; // each printed on its own line
    QString rest;       // what is left; fits in `restWidth`; may be empty
};
NotePieces BreakNote(const Surface& s, QString note, double restWidth, const QString& pad, double pieceWidth);

// The hourglass while a printout works, put back for the page-break question
// and at the end.
class WaitCursor {
public:
    WaitCursor() = default;
    ~WaitCursor() { Off(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    void On();
    void Off();

private:
    bool on_ = false;
};

// The question at every page break of every printout: "Yazmaya Devam Et",
// title "Yazıcı", Yes, No and Cancel, the question icon; the normal cursor
// while it is asked.
enum class PageBreakAnswer {
    Continue, // Yes: close this page and go on on the next
    Finish,   // No: print no more rows; close the printout as after its last row
    Cancel,   // Cancel: stop at once; this page goes out as it stands
};
PageBreakAnswer AskPageBreak(QWidget* owner, WaitCursor& cursor);

// x = (page width - its width) / 2; prints it and ends the line.
void PrintCentred(Surface& s, const QString& text);

// A table ruled across the page: its left edge, its width, the x of each
// vertical border (left edge and right edge included) and the y its borders
// start at on the current page.
struct RuledTable {
    double left = 0;
    double width = 0;
    std::vector<double> borders;
    double top = 0;

    // A line across the table at the current y.
    void Rule(Surface& s) const;
    // The rule at the current y, then every border from the top down to it.
    void Close(Surface& s) const;
};

// Dates and numbers as the paper shows them, in Turkish whatever the system's
// language: "07 Aralık 2026 Pazartesi"; money "#,##0.00" -> "1.234,50";
// counts without needless decimals or grouping -> "2", "2,5", "1500".
QString LongDate(const QDate& day);
QString MoneyText(double amount);
QString CountText(double count);
// A day in a pattern of QDate::toString with Turkish month and weekday names:
// " MMMM" -> " Aralık".
QString DateText(const QDate& day, const QString& pattern);
// Whole units with Turkish digit grouping after a leading blank (" #,##0"):
// 1234 -> " 1.234", 0 -> " 0".
QString GroupedCountText(double count);

} // namespace print
