#include "store/ValueShape.h"

namespace store {

int SkipQuoted(const QString& s, int i)
{
    const QChar open = s[i];
    const QChar close = open == QLatin1Char('[') ? QLatin1Char(']') : open;
    ++i;
    while (i < s.size()) {
        if (s[i] == close) {
            if (close != QLatin1Char(']') && i + 1 < s.size() && s[i + 1] == close) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return i;
}

bool SplitValues(const QString& jet, QString* shape, QStringList* values)
{
    shape->clear();
    values->clear();
    const int n = int(jet.size());
    int i = 0;
    while (i < n) {
        const QChar c = jet[i];
        if (c == QLatin1Char('\'')) {
            QString value;
            int j = i + 1;
            bool closed = false;
            while (j < n) {
                if (jet[j] == QLatin1Char('\'')) {
                    if (j + 1 < n && jet[j + 1] == QLatin1Char('\'')) {
                        value += QLatin1Char('\'');
                        j += 2;
                        continue;
                    }
                    closed = true;
                    ++j;
                    break;
                }
                value += jet[j++];
            }
            if (!closed)
                return false;
            *shape += QLatin1String("'VelmoraP") + QString::number(values->size()) + QLatin1Char('\'');
            values->append(value);
            i = j;
            continue;
        }
        if (c == QLatin1Char('"') || c == QLatin1Char('[') || c == QLatin1Char('#')) {
            const int j = SkipQuoted(jet, i);
            *shape += jet.mid(i, j - i);
            i = j;
            continue;
        }
        *shape += c;
        ++i;
    }
    return true;
}

bool ParametersForStandIns(QString* translated, int count)
{
    for (int k = 0; k < count; ++k) {
        const QString standIn = QStringLiteral("'VelmoraP%1'").arg(k);
        if (translated->count(standIn) != 1)
            return false;
        translated->replace(standIn, QStringLiteral("?%1").arg(k + 1));
    }
    return true;
}

} // namespace store
