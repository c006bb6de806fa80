#include "import/Progress.h"

#include <QLocale>

#ifdef Q_OS_UNIX
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace import {

namespace {

QString count(std::int64_t n) { return QLocale(QLocale::Turkish, QLocale::Turkey).toString(qlonglong(n)); }

} // namespace

ConsoleProgress::ConsoleProgress(std::FILE* out, bool terminal, int width)
    : out_(out), terminal_(terminal), width_(std::max(width, 40))
{
}

bool ConsoleProgress::IsTerminal(std::FILE* stream)
{
#ifdef Q_OS_UNIX
    return isatty(fileno(stream));
#else
    (void)stream;
    return false;
#endif
}

int ConsoleProgress::TerminalWidth(std::FILE* stream)
{
#ifdef Q_OS_UNIX
    winsize ws{};
    if (ioctl(fileno(stream), TIOCGWINSZ, &ws) == 0 && ws.ws_col > 0)
        return ws.ws_col;
#else
    (void)stream;
#endif
    return 80;
}

void ConsoleProgress::print(const QString& text)
{
    std::fputs(text.toUtf8().constData(), out_);
    std::fflush(out_);
}

void ConsoleProgress::TableStarted(const QString& file, const QString& table, std::int64_t expectedRows)
{
    label_ = file + QStringLiteral(" / ") + table;
    expected_ = expectedRows;
    lastPermille_ = -1;
    if (terminal_)
        drawBar(0, true);
}

void ConsoleProgress::RowsDone(std::int64_t rows)
{
    if (terminal_)
        drawBar(rows, false);
}

void ConsoleProgress::TableDone(std::int64_t rows)
{
    if (terminal_) {
        drawBar(rows, true);
        print(QStringLiteral("\n"));
    } else {
        print(QStringLiteral("%1: %2 satır\n").arg(label_, count(rows)));
    }
}

void ConsoleProgress::Note(const QString& text)
{
    print(QStringLiteral("  Not: ") + text + QLatin1Char('\n'));
}

void ConsoleProgress::drawBar(std::int64_t rows, bool force)
{
    const int permille = expected_ > 0 ? int(std::min<std::int64_t>(1000, rows * 1000 / expected_)) : 1000;
    // Redrawing costs more than copying a row: only when the bar moves, and
    // not more often than a screen can show.
    if (!force && (permille == lastPermille_ || (sinceDraw_.isValid() && sinceDraw_.elapsed() < 50)))
        return;
    lastPermille_ = permille;
    sinceDraw_.start();
    const QString counts = QStringLiteral(" %1/%2 satır").arg(count(rows), count(expected_));
    QString label = label_;
    const int barWidth = std::clamp(width_ - int(counts.size()) - 34, 10, 40);
    const int labelWidth = width_ - barWidth - int(counts.size()) - 4;
    if (label.size() > labelWidth)
        label = label.left(std::max(labelWidth - 1, 1)) + QChar(0x2026);
    const int filled = barWidth * permille / 1000;
    const QString bar = QString(filled, QChar(0x2588)) + QString(barWidth - filled, QChar(0x2591));
    print(QStringLiteral("\r%1 [%2]%3\x1b[K").arg(label.leftJustified(labelWidth), bar, counts));
}

} // namespace import
