#include "TestSupport.h"

#include "store/Connection.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace {

struct ToolRun {
    int exitCode = -1;
    QProcess::ExitStatus exitStatus = QProcess::CrashExit;
    QString out;
    QString err;
};

ToolRun Sql(const QString& store, const QString& statement)
{
    QProcess p;
    p.start(testsupport::BinDir() + QStringLiteral("/velmora-sql"), {store, statement});
    ToolRun r;
    if (!p.waitForFinished(30000))
        return r;
    r.exitCode = p.exitCode();
    r.exitStatus = p.exitStatus();
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

} // namespace

TEST(SqlToolTest, SelectPrintsHeaderAndTabSeparatedRows)
{
    testsupport::TestDataDir data(testsupport::TestDataDir::Content::EmptyStores);
    auto jobs = data.Open(data.jobs());
    jobs->ExecuteNative(QStringLiteral("INSERT INTO Montaj (Eleman, \"Görev\", Tarih, SipNo, Tamam, Adet, Kalan, \"Not\") "
                                       "VALUES ('Ali', 'Montaj', '2026-12-07 00:00:00', '240001', 1, 5, 2.5, NULL)"));
    const ToolRun r = Sql(data.jobs(), QStringLiteral("Select Eleman, Tarih, Tamam, Iptal, Adet, Kalan, [Not] "
                                                  "From Montaj Where Tarih=#12/07/2026#"));
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
    EXPECT_EQ(r.out, QStringLiteral("Eleman\tTarih\tTamam\tIptal\tAdet\tKalan\tNot\n"
                                    "Ali\t2026-12-07 00:00:00\tTrue\tFalse\t5\t2.5\t\n"));
}

TEST(SqlToolTest, OtherStatementsPrintRowsChanged)
{
    testsupport::TestDataDir data;
    ASSERT_TRUE(data.ok());
    const double marked = data.Number(data.orders(), QStringLiteral("Select Count(*) From Siparisler Where Sec='X'"));
    ASSERT_GT(marked, 0);
    const ToolRun r = Sql(data.orders(), QStringLiteral("UPDATE Siparisler SET Sec='' WHERE Sec='X'"));
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
    EXPECT_EQ(r.out, QString::number(marked) + QLatin1Char('\n'));
    EXPECT_EQ(data.Number(data.orders(), QStringLiteral("Select Count(*) From Siparisler Where Sec='X'")), 0.0);
}

TEST(SqlToolTest, QuotesAndTurkishTextSurvive)
{
    testsupport::TestDataDir data;
    const ToolRun r = Sql(data.accounts(), QStringLiteral("Select Unvan From CariKartlar Where Unvan='AHMET''İN YERİ'"));
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
    EXPECT_EQ(r.out, QStringLiteral("Unvan\nAhmet'in Yeri\n"));
}

TEST(SqlToolTest, FailuresGoToStderrWithExitCodeOne)
{
    testsupport::TestDataDir data(testsupport::TestDataDir::Content::EmptyStores);
    const ToolRun bad = Sql(data.jobs(), QStringLiteral("Select * Fromm Montaj"));
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_TRUE(bad.out.isEmpty());
    EXPECT_FALSE(bad.err.trimmed().isEmpty());

    const ToolRun noTable = Sql(data.jobs(), QStringLiteral("Select * From Yok"));
    EXPECT_EQ(noTable.exitCode, 1);
    EXPECT_TRUE(noTable.err.contains(QStringLiteral("Yok"))) << qPrintable(noTable.err);

    const ToolRun missing = Sql(data.dataRoot() + QStringLiteral("Yok.mdb"), QStringLiteral("Select * From RecSay"));
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("Yok.mdb"))) << qPrintable(missing.err);
    EXPECT_TRUE(missing.out.isEmpty());

    const ToolRun usage = Sql(data.jobs(), QString());
    EXPECT_EQ(usage.exitCode, 1);

    // Thousands of nested parentheses are refused in words, not by a crash.
    const ToolRun deep = Sql(data.jobs(), QStringLiteral("Select * From Montaj Where ") + QString(15000, QLatin1Char('('))
                                              + QStringLiteral("Tamam") + QString(15000, QLatin1Char(')')));
    EXPECT_EQ(deep.exitCode, 1);
    EXPECT_EQ(deep.exitStatus, QProcess::NormalExit);
    EXPECT_TRUE(deep.err.contains(QStringLiteral("parantez çok derin"))) << qPrintable(deep.err.left(200));
}
