#include "app/NetworkFolder.h"

#include "app/Prompt.h"
#include "app/Settings.h"

#include <QDir>
#include <QFileInfo>

#ifdef __linux__
#include <sys/vfs.h>
#endif

namespace app {

namespace {

std::function<std::optional<unsigned long>(const QString&)>& probeSlot()
{
    static std::function<std::optional<unsigned long>(const QString&)> probe;
    return probe;
}

// The folder as the user would recognise it, and as the remembered answer is
// keyed: absolute, links resolved where it exists.
QString folderKey(const QString& localFolder)
{
    const QFileInfo info(localFolder);
    const QString canonical = info.canonicalFilePath();
    return QDir::cleanPath(canonical.isEmpty() ? info.absoluteFilePath() : canonical);
}

QString warningText(const QString& folder, const QString& fileSystem)
{
    return QStringLiteral(
               "Veri klasörü bir ağ klasöründe (%1):\n%2\n\n"
               "Velmora'nın veri dosyaları ağ klasörlerinde güvenle kilitlenemez. Birden çok "
               "bilgisayar aynı anda bu dosyalara yazarsa dosyalar bozulabilir, kayıtlar "
               "kaybolabilir.\n\n"
               "Bu klasörle yalnız bu bilgisayar çalışacaksa devam edebilirsiniz; öteki "
               "bilgisayarlarda Velmora bu klasörle açılmamalıdır. Birden çok bilgisayardan "
               "çalışmak için veriler bir PostgreSQL sunucusunda tutulmalıdır (kurulumu "
               "docs/MULTISEAT.md anlatır); o zamana kadar veri klasörünü tek bilgisayarın "
               "kendi diskinde tutun.\n\n"
               "Bu klasörle yalnız bu bilgisayar mı çalışacak?\n"
               "Evet: devam edilir, bu klasör için bir daha sorulmaz.\n"
               "Hayır: program hiçbir şey yazmadan kapanır.")
        .arg(fileSystem, QDir::toNativeSeparators(folder));
}

} // namespace

std::optional<QString> NetworkFileSystemName(unsigned long fileSystemType)
{
    // The magic numbers of linux/magic.h and the file systems' own headers,
    // written out so that the list builds on every system.
    struct Known {
        unsigned long type;
        const char* name;
    };
    static constexpr Known kNetwork[] = {
        {0x6969ul, "NFS"},
        {0x517Bul, "SMB"},
        {0xFF534D42ul, "SMB/CIFS"},
        {0xFE534D42ul, "SMB2"},
        {0x65735546ul, "FUSE (SSHFS vb.)"},
        {0x5346414Ful, "AFS"},
        {0x6B414653ul, "AFS"},
        {0x01021997ul, "9p"},
        {0x00C36400ul, "Ceph"},
        {0x73757245ul, "Coda"},
        {0x564Cul, "NCP"},
        {0x0BD00BD0ul, "Lustre"},
        {0x01161970ul, "GFS2"},
        {0x7461636Ful, "OCFS2"},
        {0x19830326ul, "OrangeFS"},
    };
    for (const Known& k : kNetwork)
        if (k.type == (fileSystemType & 0xFFFFFFFFul))
            return QString::fromUtf8(k.name);
    return std::nullopt;
}

std::optional<unsigned long> FileSystemTypeOf(const QString& localPath)
{
    // A folder not made yet will be made on the file system of its nearest
    // existing parent.
    QString path = QFileInfo(localPath).absoluteFilePath();
    while (!QFileInfo::exists(path)) {
        const QString parent = QFileInfo(path).absolutePath();
        if (parent == path)
            return std::nullopt;
        path = parent;
    }
    if (probeSlot())
        return probeSlot()(path);
#ifdef __linux__
    struct statfs st {};
    if (statfs(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    return static_cast<unsigned long>(st.f_type);
#else
    return std::nullopt;
#endif
}

void SetFileSystemTypeForTesting(std::function<std::optional<unsigned long>(const QString&)> probe)
{
    probeSlot() = std::move(probe);
}

QStringList StoreFolders(const StorePaths& paths)
{
    QStringList folders;
    for (const QString& store : {paths.jobs(), paths.reports(), paths.accounts(), paths.orders(), paths.index()}) {
        const QString folder = folderKey(QFileInfo(StorePaths::Local(store)).absolutePath());
        if (!folders.contains(folder))
            folders.append(folder);
    }
    return folders;
}

bool ConfirmStoreFolders(QWidget* parent, const StorePaths& paths)
{
    for (const QString& folder : StoreFolders(paths)) {
        const std::optional<unsigned long> type = FileSystemTypeOf(folder);
        const std::optional<QString> network = type ? NetworkFileSystemName(*type) : std::nullopt;
        if (!network)
            continue;
        if (GetRegString(RootKey::CurrentUser, kSingleSeatFoldersKey, folder) == QLatin1String("1"))
            continue;
        if (!Prompt::Ask(parent, warningText(folder, *network), QStringLiteral("Ağ Klasörü")))
            return false;
        SaveRegString(RootKey::CurrentUser, kSingleSeatFoldersKey, folder, QStringLiteral("1"));
    }
    return true;
}

} // namespace app
