#include "store/JetDialect.h"

namespace store {

QString TranslateJet(const QString& jet)
{
    return jet;
}

} // namespace store
