#include "TestSupport.h"

#include "store/Connection.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace {

struct ToolRun { int exitCode = -1; QProcess::ExitStatus exitStatus = QProcess::CrashExit; QString out, err; };

ToolRun Sql(const QString& store, const QString& statement)
{
    QProcess p;
    p.start(testsupport::BinDir() + QStringLiteral("/velmora-sql"), {store, statement});
    if (!p.waitForFinished(30000))
        return {};
    return {p.exitCode(), p.exitStatus(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

TEST(SqlToolTest, SelectPrintsHeaderAndTabSeparatedRowsAndFailuresGoToStderrWithExitCodeOne)
{
    testsupport::TestDataDir data(testsupport::TestDataDir::Content::EmptyStores);
    data.Open(data.jobs())->ExecuteNative(
        QStringLiteral("INSERT INTO Montaj (Eleman, \"Görev\", Tarih, SipNo, Tamam, Adet, Kalan, \"Not\") "
                       "VALUES ('Ali', 'Montaj', '2026-12-07 00:00:00', '240001', 1, 5, 2.5, NULL)"));
    const ToolRun r = Sql(data.jobs(), QStringLiteral("Select Eleman, Tarih, Tamam, Iptal, Adet, Kalan, [Not] "
                                                  "From Montaj Where Tarih=#12/07/2026#"));
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
    EXPECT_EQ(r.out, QStringLiteral("Eleman\tTarih\tTamam\tIptal\tAdet\tKalan\tNot\n"
                                    "Ali\t2026-12-07 00:00:00\tTrue\tFalse\t5\t2.5\t\n"));

    // mentions: a word the error output must hold.
    const struct { QString store; QString statement; const char* mentions; } failures[] = {
        {data.jobs(), QStringLiteral("Select * Fromm Montaj"), ""},
        {data.jobs(), QStringLiteral("Select * From Yok"), "Yok"},
        {data.dataRoot() + QStringLiteral("Yok.mdb"), QStringLiteral("Select * From RecSay"), "Yok.mdb"},
        {data.jobs(), QString(), ""},
        // Thousands of nested parentheses are refused in words, not by a crash.
        {data.jobs(), QStringLiteral("Select * From Montaj Where ") + QString(15000, QLatin1Char('('))
                          + QStringLiteral("Tamam") + QString(15000, QLatin1Char(')')), "parantez çok derin"},
    };
    for (const auto& f : failures) {
        const ToolRun bad = Sql(f.store, f.statement);
        EXPECT_EQ(bad.exitCode, 1) << f.statement.left(40).toStdString();
        EXPECT_EQ(bad.exitStatus, QProcess::NormalExit);
        EXPECT_TRUE(bad.out.isEmpty()) << qPrintable(bad.out);
        EXPECT_FALSE(bad.err.trimmed().isEmpty());
        EXPECT_TRUE(bad.err.contains(QString::fromUtf8(f.mentions))) << qPrintable(bad.err.left(200));
    }
}

TEST(SqlToolTest, OtherStatementsPrintRowsChangedAndQuotesAndTurkishTextSurvive)
{
    testsupport::TestDataDir data;
    ASSERT_TRUE(data.ok());
    const double marked = data.Number(data.orders(), QStringLiteral("Select Count(*) From Siparisler Where Sec='X'"));
    ASSERT_GT(marked, 0);
    const ToolRun r = Sql(data.orders(), QStringLiteral("UPDATE Siparisler SET Sec='' WHERE Sec='X'"));
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
    EXPECT_EQ(r.out, QString::number(marked) + QLatin1Char('\n'));
    EXPECT_EQ(data.Number(data.orders(), QStringLiteral("Select Count(*) From Siparisler Where Sec='X'")), 0.0);

    const ToolRun q =
        Sql(data.accounts(), QStringLiteral("Select Unvan From CariKartlar Where Unvan='AHMET''İN YERİ'"));
    EXPECT_EQ(q.exitCode, 0) << qPrintable(q.err);
    EXPECT_EQ(q.out, QStringLiteral("Unvan\nAhmet'in Yeri\n"));
}
