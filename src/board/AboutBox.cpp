#include "board/AboutBox.h"

#include "app/Prompt.h"
#include "app/Settings.h"
#include "app/StorePaths.h"
#include "version/Version.h"
#include "store/Connection.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

namespace board {

namespace {

QString Size(const QString& path)
{
    const QFileInfo file(path);
    if (!file.exists())
        return QStringLiteral("yok");
    return QLocale().formattedDataSize(file.size(), 1, QLocale::DataSizeTraditionalFormat);
}

} // namespace

QString AboutBox::Text(const app::StorePaths& paths)
{
    QString text = QStringLiteral("Velmora %1\n"
                                  "Montaj, servis, keşif ve teslimat görevleri için gün panosu.\n\n"
                                  "Lisans: Tüm hakları saklıdır. Qt 6 (LGPLv3) ve SQLite (kamu malı) ile yapılmıştır.\n\n")
                       .arg(QString::fromLatin1(version::Number()));
    const QString folder = app::StorePaths::Local(paths.dataRoot);
    text += QStringLiteral("Veri klasörü: %1\n").arg(QDir::toNativeSeparators(QFileInfo(folder).absoluteFilePath()));
    text += QStringLiteral("Ayar dosyası: %1\n\n").arg(QDir::toNativeSeparators(app::SettingsFile::Path()));
    text += QStringLiteral("Veri dosyaları:\n");
    for (const QString& file : {paths.jobs(), paths.reports(), paths.accounts(), paths.orders(), paths.index()}) {
        const QString local = store::Connection::ResolveCaseInsensitive(app::StorePaths::Local(file));
        text += QStringLiteral("  %1  %2\n").arg(QFileInfo(local).fileName(), Size(local));
    }
    return text.trimmed();
}

void AboutBox::Show(QWidget* owner, const app::StorePaths& paths)
{
    app::Prompt::Message(owner, Text(paths), QStringLiteral("Velmora Hakkında"), app::MessageIcon::Information);
}

} // namespace board
