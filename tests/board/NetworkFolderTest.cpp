// Start-up on a data folder of a network file system, faked through the
// file-system seam; the stores and the settings are read back afterwards.

#include "BoardFixture.h"

#include "app/NetworkFolder.h"
#include "app/Settings.h"


namespace {

class NetworkFolderBoardTest : public BoardTest {
protected:
    void TearDown() override
    {
        app::SetFileSystemTypeForTesting(nullptr);
        BoardTest::TearDown();
    }

    void FakeFileSystem(unsigned long type)
    {
        app::SetFileSystemTypeForTesting([type](const QString&) -> std::optional<unsigned long> { return type; });
    }

    QString Folder() const { return QDir(data.dataRoot()).canonicalPath(); }

    QString Remembered() const
    {
        return app::GetRegString(app::RootKey::CurrentUser, app::kSingleSeatFoldersKey, Folder());
    }
};

TEST_F(NetworkFolderBoardTest, ANetworkFolderIsRefusedWithoutWritingAnything)
{
    for (const auto& [type, name] : {std::pair{0x6969ul, "NFS"}, std::pair{0xFF534D42ul, "SMB/CIFS"}}) {
        SCOPED_TRACE(name);
        FakeFileSystem(type);
        prompt.shown.clear();
        const auto before = testsupport::Snapshot(data.path());
        prompt.answers.push_back(app::Answer::No);
        board::MainWindow w;
        EXPECT_FALSE(w.Load());
        ASSERT_EQ(prompt.shown.size(), 1u);
        const QString text = prompt.shown[0].text;
        EXPECT_TRUE(prompt.shown[0].yesNo);
        EXPECT_TRUE(text.contains(QString::fromUtf8(name))) << text.toStdString();
        EXPECT_TRUE(text.contains(Folder())) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("bozulabilir")));
        EXPECT_TRUE(text.contains(QStringLiteral("docs/MULTISEAT.md")));
        EXPECT_EQ(testsupport::Snapshot(data.path()), before);
        EXPECT_EQ(Remembered(), QString());
    }
}

TEST_F(NetworkFolderBoardTest, GoingOnForOneSeatIsRememberedForThatFolder)
{
    FakeFileSystem(0xFF534D42ul);
    // An answer given for another folder does not count for this one.
    app::SaveRegString(app::RootKey::CurrentUser, app::kSingleSeatFoldersKey, QStringLiteral("/srv/başka"),
                       QStringLiteral("1"));
    prompt.answers.push_back(app::Answer::Yes);
    {
        board::MainWindow w;
        EXPECT_TRUE(w.Load());
    }
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(Remembered(), QStringLiteral("1"));
    EXPECT_TRUE(QFile(data.settingsFile()).open(QIODevice::ReadOnly));

    // The next start goes on without asking.
    prompt.shown.clear();
    auto& w = Open();
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(NetworkFolderBoardTest, ALocalFolderStartsWithoutAWordAndRemembersNothing)
{
    for (unsigned long local : {0xEF53ul, 0x01021994ul, 0x9123683Eul}) {
        FakeFileSystem(local);
        prompt.shown.clear();
        board::MainWindow w;
        EXPECT_TRUE(w.Load());
        EXPECT_TRUE(prompt.shown.empty());
        EXPECT_EQ(Remembered(), QString());
    }
}

} // namespace
