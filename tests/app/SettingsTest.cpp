#include "app/Settings.h"

#include "TestSupport.h"

#include <QFileInfo>
#include <QStringDecoder>
#include <gtest/gtest.h>

using app::GetRegString;
using app::RootKey;
using app::SaveRegString;
using testsupport::ScopedSettingsFile;

namespace {

QString Get(const QString& name, const QString& key = app::kSettingsKey)
{
    return GetRegString(RootKey::CurrentUser, key, name);
}

void Save(const QString& name, const QString& value)
{
    SaveRegString(RootKey::CurrentUser, app::kSettingsKey, name, value);
}

const QByteArray kHeader = "Windows Registry Editor Version 5.00\r\n\r\n";

} // namespace

// What a value reads as, by how the file gives it.
struct ReadCase {
    const char* line;
    QString expected;
    const char* key = "[HKEY_CURRENT_USER\\Kapivar\\Properties1]";
};

class SettingsReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(SettingsReadTest, ReadsOnlyTextValues)
{
    ScopedSettingsFile file;
    file.write(kHeader + GetParam().key + "\r\n" + GetParam().line + "\r\n");
    EXPECT_EQ(Get(QStringLiteral("Firma")), GetParam().expected) << GetParam().line;
    EXPECT_TRUE(app::SettingsFile::LastProblem().isEmpty()) << qPrintable(app::SettingsFile::LastProblem());
}

INSTANTIATE_TEST_SUITE_P(
    Types, SettingsReadTest,
    ::testing::Values(
        ReadCase{"\"Firma\"=\"ABC\\\\\"", QStringLiteral("ABC\\")},
        ReadCase{"\"Firma\"=\"say \\\"hi\\\"\"", QStringLiteral("say \"hi\"")},
        ReadCase{"\"Firma\"=\"Şirket Ğİ\"", QStringLiteral("Şirket Ğİ")},
        ReadCase{"\"Firma\"=dword:00000001", QString()},
        ReadCase{"\"Firma\"=hex:41,42", QString()},
        ReadCase{"\"Firma\"=hex(2):41,00,42,00,00,00", QString()},
        ReadCase{"\"Firma\"=hex(7):41,00,00,00,00,00", QString()},
        // REG_SZ as bytes: read whole without a NUL, cut at the first NUL.
        ReadCase{"\"Firma\"=hex(1):41,00,42,00", QStringLiteral("AB")},
        ReadCase{"\"Firma\"=hex(1):41,00,00,00,42,00", QStringLiteral("A")},
        ReadCase{"\"Firma\"=hex(1):41,00,42,00,00,00", QStringLiteral("AB")},
        ReadCase{"\"Firma\"=hex(1):", QString()},
        ReadCase{"\"Firma\"=hex(1):41,00,\\\r\n  42,00", QStringLiteral("AB")},
        ReadCase{"\"Firma\"=\"\"", QString()},
        ReadCase{"\"FİRMA\"=\"x\"", QString()},        // another name: İ is not I
        ReadCase{"\"firma\"=\"lower\"", QStringLiteral("lower")}, // names ignore case
        ReadCase{"\"Firma\"=\"old\"\r\n\"Firma\"=-", QString()},
        // Key names ignore case and take the root's short name; a deleted key hides its values.
        ReadCase{"\"Firma\"=\"E\"", QStringLiteral("E"), "[hkey_current_user\\KAPIVAR\\properties1]"},
        ReadCase{"\"Firma\"=\"F\"", QStringLiteral("F"), "[HKCU\\Kapivar\\Properties1]"},
        ReadCase{"\"Firma\"=\"A\"\r\n\r\n[-HKEY_CURRENT_USER\\Kapivar]", QString()}));

TEST(SettingsTest, MissingFileKeyOrValueReadsEmpty)
{
    ScopedSettingsFile file;
    EXPECT_EQ(Get(QStringLiteral("Firma")), QString());
    EXPECT_TRUE(app::SettingsFile::TakeProblem().isEmpty());

    file.write(kHeader + "[HKEY_CURRENT_USER\\Kapivar\\Other]\r\n\"Firma\"=\"X\"\r\n");
    EXPECT_EQ(Get(QStringLiteral("Firma")), QString());
    EXPECT_EQ(Get(QStringLiteral("Firma"), QStringLiteral("Kapivar\\Other")), QStringLiteral("X"));
    EXPECT_EQ(Get(QStringLiteral("Diski"), QStringLiteral("Kapivar\\Other")), QString());
}

// A missing file is made with its folder; an empty one gets its header first.
TEST(SettingsTest, SaveMakesOrFillsTheFileWithHeaderKeyAndValue)
{
    const QString value = QStringLiteral("HP LaserJet \\\\srv\\ofis \"2\"");
    for (const char* start : {static_cast<const char*>(nullptr), "", "\n\n", " \r\n"}) {
        ScopedSettingsFile file;
        if (start)
            file.write(start);
        Save(QStringLiteral("RapPrn"), value);
        EXPECT_EQ(Get(QStringLiteral("RapPrn")), value);
        const QByteArray text = file.read();
        EXPECT_TRUE(text.startsWith("Windows Registry Editor Version 5.00")) << text.constData();
        EXPECT_TRUE(text.contains("[HKEY_CURRENT_USER\\Kapivar\\Properties1]")) << text.constData();
        EXPECT_TRUE(text.contains("\"RapPrn\"=\"HP LaserJet \\\\\\\\srv\\\\ofis \\\"2\\\"\"")) << text.constData();
        EXPECT_TRUE(app::SettingsFile::TakeProblem().isEmpty());
        Save(QStringLiteral("RapPrn"), QStringLiteral("Yazıcı 2"));
        EXPECT_EQ(Get(QStringLiteral("RapPrn")), QStringLiteral("Yazıcı 2"));
    }
}

TEST(SettingsTest, SaveKeepsEverythingElseAsItWas)
{
    ScopedSettingsFile file;
    const QByteArray before = kHeader
        + "; exported from the old office PC\r\n"
          "[HKEY_CURRENT_USER\\Kapivar\\Properties1]\r\n"
          "\"Firma\"=\"ABC\\\\\"\r\n"
          "\"RapSize\"=dword:0000000a\r\n"
          "\"Blob\"=hex:01,02,03,\\\r\n  04\r\n"
          "\"RapPrn\"=\"Old\"\r\n"
          "\r\n"
          "[HKEY_LOCAL_MACHINE\\Software\\Other]\r\n"
          "@=\"default\"\r\n";
    file.write(before);
    Save(QStringLiteral("RapPrn"), QStringLiteral("Yeni Yazıcı"));
    Save(QStringLiteral("RapFont"), QStringLiteral("Arial"));

    QByteArray expected = before;
    expected.replace("\"RapPrn\"=\"Old\"", "\"RapPrn\"=\"Yeni Yazıcı\"\r\n\"RapFont\"=\"Arial\"");
    EXPECT_EQ(file.read(), expected);
    EXPECT_EQ(Get(QStringLiteral("RapSize")), QString()); // still a dword
    EXPECT_EQ(Get(QStringLiteral("Firma")), QStringLiteral("ABC\\"));
}

TEST(SettingsTest, TextWithLineBreakRoundTripsAsHexWithoutNul)
{
    ScopedSettingsFile file;
    const QString value = QStringLiteral("satır 1\nsatır 2 with a long tail to wrap the hex line once");
    Save(QStringLiteral("Not"), value);
    EXPECT_EQ(Get(QStringLiteral("Not")), value);
    const QByteArray text = file.read();
    EXPECT_TRUE(text.contains("\"Not\"=hex(1):73,00")) << text.constData();
    EXPECT_FALSE(text.contains(",00,00\n")) << "no terminating NUL is written";
}

// A name or key the format cannot carry would leave a file the next start
// refuses whole; such a write is dropped and the file stays as it was.
TEST(SettingsTest, AWriteThatWouldNotReadBackLeavesTheFileAlone)
{
    ScopedSettingsFile file;
    const QByteArray before = kHeader + "[HKEY_CURRENT_USER\\Kapivar\\Properties1]\r\n\"Firma\"=\"ABC\"\r\n";
    const struct {
        QString key;
        QString name;
    } cases[] = {
        {app::kSettingsKey, QStringLiteral("Rap\nPrn")},
        {QStringLiteral("Kapivar\\Yeni\nAnahtar"), QStringLiteral("RapPrn")},
        {QStringLiteral("Kapivar\\Yeni\n[HKEY_CURRENT_USER\\Kapivar\\Properties1"), QStringLiteral("Firma")},
    };
    for (const auto& c : cases) {
        file.write(before);
        SaveRegString(RootKey::CurrentUser, c.key, c.name, QStringLiteral("X"));
        EXPECT_EQ(file.read(), before) << c.key.toStdString() << " / " << c.name.toStdString();
        EXPECT_EQ(Get(QStringLiteral("Firma")), QStringLiteral("ABC"));
        EXPECT_TRUE(app::SettingsFile::LastProblem().isEmpty());
    }
    // The same on the bytes alone: a value that can be written reads back.
    const auto written = app::HiveWithRegString(before, app::kSettingsKey, QStringLiteral("RapPrn"),
                                                QStringLiteral("Yazıcı \"1\""));
    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(app::RegStringInHive(*written, app::kSettingsKey, QStringLiteral("rapprn")),
              QStringLiteral("Yazıcı \"1\""));
    EXPECT_FALSE(app::HiveWithRegString(before, app::kSettingsKey, QStringLiteral("a\nb"), QStringLiteral("X")));
}

TEST(SettingsTest, UnparseableFileIsReportedOnceAndNeverOverwritten)
{
    ScopedSettingsFile file;
    const QByteArray junk = "this is not a registry export\n\"Firma\"=\"ABC\"\n";
    file.write(junk);
    EXPECT_EQ(Get(QStringLiteral("Firma")), QString());
    Save(QStringLiteral("RapPrn"), QStringLiteral("X"));
    EXPECT_EQ(file.read(), junk);

    const QString problem = app::SettingsFile::TakeProblem();
    EXPECT_TRUE(problem.contains(QStringLiteral("HKEY_CURRENT_USER.reg"))) << qPrintable(problem);
    EXPECT_TRUE(problem.contains(QStringLiteral("okunamadı"))) << qPrintable(problem);
    EXPECT_TRUE(app::SettingsFile::TakeProblem().isEmpty());
    EXPECT_EQ(app::SettingsFile::LastProblem(), problem);

    // A different broken file is a new problem; a mended file is none.
    file.write(kHeader + "[HKEY_CURRENT_USER\\Kapivar\\Properties1]\r\n\"Firma\"=\"unterminated\r\n");
    EXPECT_TRUE(app::SettingsFile::TakeProblem().contains(QStringLiteral("satır 4")));
    file.write(kHeader + "[HKEY_CURRENT_USER\\Kapivar\\Properties1]\r\n\"Firma\"=\"ok\"\r\n");
    EXPECT_EQ(Get(QStringLiteral("Firma")), QStringLiteral("ok"));
    EXPECT_TRUE(app::SettingsFile::TakeProblem().isEmpty());
}

TEST(SettingsTest, BrokenLinesAreProblems)
{
    ScopedSettingsFile file;
    const char* broken[] = {
        "[HKEY_CURRENT_USER\\Kapivar\\Properties1\r\n",
        "\"Firma\"=\"before any key\"\r\n",
        "[HKEY_CURRENT_USER\\Kapivar\\Properties1]\r\n\"Firma\"=dword:xyz\r\n",
        "[HKEY_CURRENT_USER\\Kapivar\\Properties1]\r\n\"Firma\"=hex(1):4g,00\r\n",
        "[HKEY_CURRENT_USER\\Kapivar\\Properties1]\r\n\"Firma\" \"ABC\"\r\n",
        "[HKEY_CURRENT_USER\\Kapivar\\Properties1]\r\nFirma=ABC\r\n",
    };
    for (const char* body : broken) {
        file.write(kHeader + body);
        EXPECT_EQ(Get(QStringLiteral("Firma")), QString()) << body;
        EXPECT_FALSE(app::SettingsFile::LastProblem().isEmpty()) << body;
    }
}

TEST(SettingsTest, ReadsAndKeepsUtf16FilesAsRegeditWritesThem)
{
    ScopedSettingsFile file;
    const QString text = QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n"
                                        "[HKEY_CURRENT_USER\\Kapivar\\Properties1]\r\n"
                                        "\"Firma\"=\"Öz Ağaç\\\\\"\r\n");
    QStringEncoder toUtf16(QStringEncoder::Utf16LE);
    file.write(QByteArray("\xFF\xFE", 2) + QByteArray(toUtf16.encode(text)));
    EXPECT_EQ(Get(QStringLiteral("Firma")), QStringLiteral("Öz Ağaç\\"));

    Save(QStringLiteral("RapPrn"), QStringLiteral("Yazıcı"));
    const QByteArray after = file.read();
    ASSERT_TRUE(after.startsWith("\xFF\xFE"));
    QStringDecoder dec(QStringDecoder::Utf16LE);
    const QString decoded = dec.decode(after.mid(2));
    EXPECT_TRUE(decoded.contains(QStringLiteral("\"RapPrn\"=\"Yazıcı\"\r\n"))) << qPrintable(decoded);
    EXPECT_EQ(Get(QStringLiteral("Firma")), QStringLiteral("Öz Ağaç\\"));
}

TEST(SettingsTest, PathFollowsXdgConfigHome)
{
    app::SettingsFile::SetPathForTesting(QString());
    const QByteArray old = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/tmp/velmora-xdg");
    EXPECT_EQ(app::SettingsFile::Path(), QStringLiteral("/tmp/velmora-xdg/velmora/HKEY_CURRENT_USER.reg"));
    if (old.isEmpty())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", old);
}
