#pragma once

#include "app/StorePaths.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

// SQLite's locks are only as good as the file system's: on a network file
// system (NFS, SMB/CIFS, SSHFS and other FUSE mounts, ...) two seats writing
// the same store can corrupt it. Before the stores are opened, the folders
// that hold them are looked at; on a network folder the user is told why
// several seats there are unsafe and may go on for one seat only. That answer
// is remembered per folder, under a key of Velmora's own in the settings.
namespace app {

// The settings key of the folders a user has accepted for a single seat; each
// value is named by the folder's path.
inline const QString kSingleSeatFoldersKey = QStringLiteral("Kapivar\\Velmora\\TekKoltuk");

// The name of the network file system a statfs f_type stands for ("NFS",
// "SMB/CIFS", ...), or nothing for a local one.
std::optional<QString> NetworkFileSystemName(unsigned long fileSystemType);

// The f_type of the file system holding path (the nearest existing folder
// above it, when it does not exist yet); nothing when it cannot be told.
std::optional<unsigned long> FileSystemTypeOf(const QString& localPath);

// Tests fake the file system of every folder (nullptr: the real statfs again).
void SetFileSystemTypeForTesting(std::function<std::optional<unsigned long>(const QString&)> probe);

// The folders of the five stores, in this system's form, each once.
QStringList StoreFolders(const StorePaths& paths);

// True when the program may go on: no store folder is on a network file
// system, the user accepted each such folder earlier, or accepts it now (Yes
// remembers the folder). No leaves the settings and the stores untouched.
bool ConfirmStoreFolders(QWidget* parent, const StorePaths& paths);

} // namespace app
