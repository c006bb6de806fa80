#include "import/Progress.h"

#include <QFile>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

namespace {

// Runs a few tables through a console progress and gives what it printed.
QString printed(bool terminal, const std::function<void(import::ConsoleProgress&)>& work)
{
    std::FILE* f = std::tmpfile();
    {
        import::ConsoleProgress p(f, terminal, 80);
        work(p);
    }
    std::rewind(f);
    QFile in;
    in.open(f, QIODevice::ReadOnly);
    const QString out = QString::fromUtf8(in.readAll());
    in.close();
    std::fclose(f);
    return out;
}

void twoTables(import::ConsoleProgress& p)
{
    p.TableStarted(QStringLiteral("ABCSiparis.Mdb"), QStringLiteral("Siparisler"), 1000);
    for (int rows = 1; rows <= 1000; ++rows)
        p.RowsDone(rows);
    p.TableDone(1000);
    p.Note(QStringLiteral("ABCIndex.Mdb kaynakta yok; içe aktarılmadı."));
    p.TableStarted(QStringLiteral("Montaj.mdb"), QStringLiteral("RecSay"), 1);
    p.TableDone(1);
}

} // namespace

TEST(ConsoleProgress, PlainLinesWhenTheOutputIsNotATerminal)
{
    EXPECT_EQ(printed(false, twoTables),
              QStringLiteral("ABCSiparis.Mdb / Siparisler: 1.000 satır\n"
                             "  Not: ABCIndex.Mdb kaynakta yok; içe aktarılmadı.\n"
                             "Montaj.mdb / RecSay: 1 satır\n"));
}

TEST(ConsoleProgress, OneBarPerTableRedrawnInPlaceOnATerminal)
{
    const QString out = printed(true, twoTables);
    const QStringList lines = out.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 4); // two bars, the note, and nothing after the last newline
    EXPECT_TRUE(lines.at(0).startsWith(QLatin1Char('\r')));
    EXPECT_TRUE(lines.at(0).endsWith(QStringLiteral("1.000/1.000 satır\x1b[K"))) << lines.at(0).toStdString();
    EXPECT_TRUE(lines.at(2).contains(QStringLiteral("Montaj.mdb / RecSay")));
    // The finished bar is full; a drawn bar fits the terminal's width.
    const QString last = lines.at(0).section(QLatin1Char('\r'), -1);
    EXPECT_FALSE(last.contains(QChar(0x2591)));
    EXPECT_TRUE(last.contains(QChar(0x2588)));
    EXPECT_LT(last.chopped(3).size(), 80);
    // A thousand rows are not a thousand redraws.
    EXPECT_LT(out.count(QLatin1Char('\r')), 100);
}
