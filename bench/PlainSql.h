#pragma once

// The plain-SQLite sides of the benchmarks send the program's own statements:
// a board query in the dialect, translated as the program translates it, with
// "SELECT *" turned into "SELECT rowid", as a record view reads its keys.

#include "store/JetDialect.h"

#include <QRegularExpression>
#include <QString>

namespace plainsql {

inline QString RowidQuery(const QString& jet)
{
    QString sql = store::TranslateJet(jet);
    sql.replace(QRegularExpression(QStringLiteral("^\\s*select\\s+\\*\\s+from\\s+"),
                                   QRegularExpression::CaseInsensitiveOption),
                QStringLiteral("SELECT rowid FROM "));
    return sql;
}

} // namespace plainsql
