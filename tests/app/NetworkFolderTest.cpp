#include "app/NetworkFolder.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(NetworkFolderTest, TellsNetworkFileSystemsFromLocalOnes)
{
    struct Row {
        unsigned long type;
        const char* network;
    };
    const Row rows[] = {
        {0x6969, "NFS"},
        {0xFF534D42, "SMB/CIFS"},
        {0xFFFFFFFFFF534D42ul, "SMB/CIFS"}, // f_type sign-extended on the way
        {0xFE534D42, "SMB2"},
        {0x517B, "SMB"},
        {0x65735546, "FUSE (SSHFS vb.)"},
        {0x01021997, "9p"},
        {0x00C36400, "Ceph"},
        {0x6B414653, "AFS"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(app::NetworkFileSystemName(r.type), QString::fromUtf8(r.network)) << std::hex << r.type;
    // Local: ext2/3/4, tmpfs (one away from 9p), btrfs, xfs, overlayfs, none.
    for (const unsigned long type : {0xEF53ul, 0x01021994ul, 0x9123683Eul, 0x58465342ul, 0x794C7630ul, 0ul})
        EXPECT_FALSE(app::NetworkFileSystemName(type)) << std::hex << type;
}

TEST(NetworkFolderTest, TheStoreFoldersAreTheDataRootAndTheCompanyFolder)
{
    QTemporaryDir dir;
    const QString root = QDir(dir.path()).canonicalPath();
    const auto folders = app::StoreFolders(app::StorePaths::From(root + QStringLiteral("/"), QStringLiteral("ABC\\")));
    EXPECT_EQ(folders, QStringList({root + QStringLiteral("/MuhasebeData"), root + QStringLiteral("/MuhasebeData/ABC")}));
    // A company prefix keeps every store in the one folder.
    EXPECT_EQ(app::StoreFolders(app::StorePaths::From(root + QStringLiteral("/"), QStringLiteral("ABC"))).size(), 1);
}

TEST(NetworkFolderTest, AFolderNotMadeYetIsJudgedByItsNearestParent)
{
    QTemporaryDir dir;
    QStringList asked;
    app::SetFileSystemTypeForTesting([&](const QString& path) -> std::optional<unsigned long> {
        asked << path;
        return 0x6969;
    });
    EXPECT_EQ(app::FileSystemTypeOf(dir.filePath(QStringLiteral("yok/MuhasebeData"))), 0x6969ul);
    app::SetFileSystemTypeForTesting(nullptr);
    EXPECT_EQ(asked, QStringList({QFileInfo(dir.path()).absoluteFilePath()}));

    // The real probe answers for a folder of this machine.
    EXPECT_TRUE(app::FileSystemTypeOf(dir.path()).has_value());
}

} // namespace
