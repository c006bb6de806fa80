#include "app/Turkish.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace app {

bool UseTurkish(QCoreApplication& app)
{
    const QLocale turkish(QLocale::Turkish, QLocale::Turkey);
    QLocale::setDefault(turkish);

    // Qt's own texts: "qt_tr" gathers the modules' files ("qtbase_tr" ...).
    auto* translator = new QTranslator(&app);
    if (translator->load(turkish, QStringLiteral("qt"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        && QCoreApplication::installTranslator(translator))
        return true;
    delete translator;
    return false;
}

} // namespace app
