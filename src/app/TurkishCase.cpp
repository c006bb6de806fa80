#include "app/TurkishCase.h"

namespace app {

QString TurkishUpperForm(const QString& text)
{
    QString s = text;
    s.replace(QChar(u'i'), QChar(u'İ'));
    s.replace(QChar(u'ı'), QLatin1Char('I'));
    return s.toUpper();
}

QString TurkishLowerForm(const QString& text)
{
    QString s = text;
    s.replace(QChar(u'İ'), QLatin1Char('i'));
    s.replace(QLatin1Char('I'), QChar(u'ı'));
    return s.toLower();
}

} // namespace app
