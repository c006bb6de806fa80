#include "app/StorePaths.h"

#include "app/Settings.h"

namespace app {

StorePaths StorePaths::FromSettings()
{
    return From(GetRegString(RootKey::CurrentUser, kSettingsKey, QStringLiteral("Diski")),
                GetRegString(RootKey::CurrentUser, kSettingsKey, QStringLiteral("Firma")));
}

StorePaths StorePaths::From(const QString& diski, const QString& firma)
{
    // Joined with nothing in between: "E:\" + "MuhasebeData\"; a "Diski"
    // without its closing separator gives "E:MuhasebeData\", as it always has.
    return StorePaths{diski + QStringLiteral("MuhasebeData\\"), firma};
}

QString StorePaths::jobs() const { return dataRoot + QStringLiteral("Montaj.mdb"); }
QString StorePaths::reports() const { return dataRoot + QStringLiteral("Rapor.mdb"); }
QString StorePaths::accounts() const { return dataRoot + companyCode + QStringLiteral("Cari.Mdb"); }
QString StorePaths::orders() const { return dataRoot + companyCode + QStringLiteral("Siparis.Mdb"); }
QString StorePaths::index() const { return dataRoot + companyCode + QStringLiteral("Index.Mdb"); }

QString StorePaths::gridLayout(const QString& gridName) const
{
    return dataRoot + gridName + QStringLiteral(".Dat");
}

QString StorePaths::Local(const QString& windowsPath)
{
    QString local = windowsPath;
    local.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return local;
}

} // namespace app
