#include "app/DataFolder.h"

#include <QCoreApplication>
#include <QDir>

#ifndef VELMORA_DATA_FROM_BIN
#error "VELMORA_DATA_FROM_BIN comes from CMake (GNUInstallDirs)"
#endif

namespace app {

QString DataFolder()
{
    const QString bin =
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    return QDir::cleanPath(QDir(bin).filePath(QStringLiteral(VELMORA_DATA_FROM_BIN)));
}

} // namespace app
