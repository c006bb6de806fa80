#include "print/PageLayout.h"

#include "app/Prompt.h"

#include <QApplication>
#include <QLocale>

#include <cmath>

namespace print {

namespace {

QLocale PaperLocale()
{
    return QLocale(QLocale::Turkish, QLocale::Turkey);
}

} // namespace

QString ShortenToWidth(const Surface& s, QString text, double width)
{
    while (!text.isEmpty() && s.TextWidth(text) > width)
        text.chop(1);
    return text;
}

NotePieces BreakNote(const Surface& s, QString note, double restWidth, const QString& pad, double pieceWidth)
{
    NotePieces out;
    while (!note.isEmpty() && s.TextWidth(note) > restWidth) {
        qsizetype n = 0;
        while (n < note.size() && s.TextWidth(note.left(n) + pad) < pieceWidth)
            ++n;
        n = qMax<qsizetype>(n, 1); // a column too narrow for one character still moves on
        out.pieces << note.left(n);
        note.remove(0, n);
    }
    out.rest = note;
    return out;
}

void WaitCursor::On()
{
    if (on_)
        return;
    on_ = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void WaitCursor::Off()
{
    if (!on_)
        return;
    on_ = false;
    QApplication::restoreOverrideCursor();
}

PageBreakAnswer AskPageBreak(QWidget* owner, WaitCursor& cursor)
{
    cursor.Off();
    const app::Answer answer =
        app::Prompt::AskYesNoCancel(owner, QStringLiteral("Yazmaya Devam Et"), QStringLiteral("Yazıcı"));
    cursor.On();
    switch (answer) {
    case app::Answer::Yes: return PageBreakAnswer::Continue;
    case app::Answer::No: return PageBreakAnswer::Finish;
    default: return PageBreakAnswer::Cancel;
    }
}

void PrintCentred(Surface& s, const QString& text)
{
    s.setCurrentX((s.ScaleWidth() - s.TextWidth(text)) / 2);
    s.Print(text);
}

void RuledTable::Rule(Surface& s) const
{
    const double y = s.CurrentY();
    s.Line(left, y, left + width, y);
}

void RuledTable::Close(Surface& s) const
{
    Rule(s);
    const double y = s.CurrentY();
    for (double x : borders)
        s.Line(x, top, x, y);
}

QString DateText(const QDate& day, const QString& pattern)
{
    return PaperLocale().toString(day, pattern);
}

QString LongDate(const QDate& day)
{
    return DateText(day, QStringLiteral("dd MMMM yyyy dddd"));
}

QString GroupedCountText(double count)
{
    if (!std::isfinite(count))
        return QLatin1Char(' ') + QString::number(count);
    // Half a unit rounds away from zero, as the format does on paper.
    return QLatin1Char(' ') + PaperLocale().toString(qlonglong(std::round(count)));
}

QString MoneyText(double amount)
{
    return PaperLocale().toString(amount, 'f', 2);
}

QString CountText(double count)
{
    if (!std::isfinite(count))
        return QString::number(count);
    if (count == 0)
        return QStringLiteral("0");
    QLocale locale = PaperLocale();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(count, 'g', 15);
}

} // namespace print
