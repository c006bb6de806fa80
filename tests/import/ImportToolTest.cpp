#include "ImportFixture.h"
#include "TestSupport.h"

#include "app/SingleInstance.h"
#include "store/Connection.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace importfixture;

namespace {

struct ToolRun {
    bool finished = false;   // ended on its own, not by a signal
    int exitCode = -1;
    QString out;
    QString err;
};

// The runtime folder (which holds Velmora's lock) under a settings folder, made.
QString RunDir(const QString& configHome)
{
    const QString run = configHome + QStringLiteral("/run");
    QDir().mkpath(run);
    QFile::setPermissions(run, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return run;
}

// Runs velmora-import with settings and runtime folders of its own.
ToolRun Import(const QStringList& args, const QString& configHome)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), RunDir(configHome));
    p.setProcessEnvironment(env);
    p.start(testsupport::BinDir() + QStringLiteral("/velmora-import"), args);
    ToolRun r;
    if (!p.waitForFinished(120000))
        return r;
    r.finished = p.exitStatus() == QProcess::NormalExit;
    r.exitCode = p.exitCode();
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

class ImportToolTest : public FixtureTest {
protected:
    QString Path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    QString Config() const { return Path("config"); }

    void WriteSettings(const QString& diski, const QString& firma) const
    {
        const auto escaped = [](QString s) { return s.replace(QLatin1Char('\\'), QStringLiteral("\\\\")); };
        ASSERT_TRUE(testsupport::WriteFile(
            Config() + QStringLiteral("/velmora/HKEY_CURRENT_USER.reg"),
            QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n"
                           "[HKEY_CURRENT_USER\\Kapivar\\Properties1]\r\n\"Diski\"=\"%1\"\r\n\"Firma\"=\"%2\"\r\n")
                .arg(escaped(diski), escaped(firma))
                .toUtf8()));
    }
};

} // namespace

TEST_F(ImportToolTest, ImportsIntoTheDataFolderOfTheSettingsWithPlainLinesAndASummary)
{
    WriteSettings(dir.path() + QLatin1Char('/'), QStringLiteral("ABC"));
    const ToolRun r = Import({AccessDir()}, Config());
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("ABCSiparis.Mdb / Siparisler: 300 satır\n"))) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("Bitti: 5 veri dosyası, 12 tablo, 611 satır"))) << r.out.toStdString();
    EXPECT_FALSE(r.out.contains(QLatin1Char('\r'))); // no bars when the output is not a terminal
    EXPECT_EQ(store::Connection::Open(Path("MuhasebeData/ABCCari.Mdb"))
                  ->Scalar(QStringLiteral("Select Count(*) From CariKartlar"))
                  .toInt(),
              51);

    // Again, into the same place: refused without --replace, kept as .bak with it.
    const ToolRun again = Import({AccessDir()}, Config());
    EXPECT_TRUE(again.finished);
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(again.err.contains(QStringLiteral("--replace"))) << again.err.toStdString();
    const ToolRun replaced = Import({AccessDir(), QStringLiteral("--replace")}, Config());
    EXPECT_EQ(replaced.exitCode, 0) << replaced.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(Path("MuhasebeData/ABCCari.Mdb.bak")));
    EXPECT_TRUE(replaced.out.contains(QStringLiteral("saklandı:"))) << replaced.out.toStdString();
}

TEST_F(ImportToolTest, ForeignAndBrokenFilesEndWithACleanExitAndATurkishMessage)
{
    struct Case {
        const char* file;     // copied in as Montaj.mdb
        QByteArray replaceBy; // or these bytes
        const char* says;
    };
    const Case cases[] = {
        {"foreign/testV2000.mdb", {}, "\"Montaj\" tablosu yok"},
        {"foreign/testUnicodeCompV2003.mdb", {}, "\"Montaj\" tablosu yok"},
        {nullptr, QByteArray("\x00\x01\x00\x00Standard Jet DB", 19) + QByteArray(9000, '\x5a'), "Montaj.mdb"},
        {nullptr, QByteArray("Montaj bilgileri\n"), "Access veritabanı değil"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.says);
        const QString source = Path("kaynak");
        QDir(source).removeRecursively();
        const QByteArray bytes = c.file ? testsupport::ReadFile(AccessDir() + QLatin1Char('/') + QLatin1String(c.file))
                                        : c.replaceBy;
        ASSERT_TRUE(!bytes.isEmpty() && testsupport::WriteFile(source + QStringLiteral("/Montaj.mdb"), bytes));
        const ToolRun r = Import({source, Path("hedef")}, Config());
        ASSERT_TRUE(r.finished) << "ended by a signal";
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("velmora-import: "))) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.says))) << r.err.toStdString();
        EXPECT_FALSE(r.err.contains(QStringLiteral("Sanitizer"))) << r.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(Path("hedef")));
    }
}

TEST_F(ImportToolTest, AWrongCommandLineShowsHowToUseIt)
{
    struct Case {
        const char* args;
        int exitCode;
    };
    for (const Case& c : {Case{"", 2}, Case{"a b c", 2}, Case{"a --force", 2}, Case{"a --company", 2}, Case{"--help", 0}}) {
        const ToolRun r = Import(QString::fromUtf8(c.args).split(QLatin1Char(' '), Qt::SkipEmptyParts), Config());
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args;
        EXPECT_TRUE((r.out + r.err).contains(QStringLiteral("Kullanım: velmora-import")));
    }
}

TEST_F(ImportToolTest, RefusesWhileVelmoraRuns)
{
    const QByteArray previous = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", RunDir(Config()).toUtf8());
    const QStringList args{AccessDir(), Path("hedef"), QStringLiteral("--company"), QStringLiteral("ABC")};
    {
        app::SingleInstance velmora;
        ASSERT_TRUE(velmora.IsFirst());
        const ToolRun r = Import(args, Config());
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains(QStringLiteral("Velmora'yı kapatın"))) << r.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(Path("hedef")));
    }
    if (previous.isNull())
        qunsetenv("XDG_RUNTIME_DIR");
    else
        qputenv("XDG_RUNTIME_DIR", previous);
    EXPECT_EQ(Import(args, Config()).exitCode, 0);
}
