#include "survey/EntryNumbers.h"

#include "app/Refresh.h"
#include "store/RecordView.h"
#include "store/Sql.h"
#include "store/StoreError.h"

namespace survey {

QString NewCustomerCode(const QString& name, const std::function<bool(const QString&)>& taken)
{
    const QString plain = name.left(kCodeLength);
    if (!taken(plain))
        return plain;
    for (int n = 2;; ++n) {
        const QString suffix = QLatin1Char('-') + QString::number(n);
        const QString code = name.left(kCodeLength - suffix.size()) + suffix;
        if (!taken(code))
            return code;
    }
}

std::optional<QString> FollowingEntryNumber(const QString& last)
{
    const QString rest = last.mid(2);
    bool ok = false;
    const qlonglong n = rest.toLongLong(&ok);
    if (!ok || n < 0 || rest.startsWith(QLatin1Char('+')))
        return std::nullopt;
    return last.left(2) + QString::number(n + 1);
}

QString NextEntryNumber(store::RecordView& primary, store::RecordView& secondary, const QString& key)
{
    const QString criteria = QStringLiteral("Tarih=") + store::SqlText(key);
    primary.FindFirst(criteria);
    if (primary.NoMatch()) {
        primary.AddNew();
        primary.setField(QStringLiteral("Tarih"), key);
        primary.Update();
        app::RefreshData(primary);
        primary.FindFirst(criteria);
    }
    // The year's counters: the rows of "Mdbindex" with the key of the row found.
    secondary.setRecordSource(QStringLiteral("Select * From Mdbindex where Tarih=")
                              + store::SqlText(primary.Field(QStringLiteral("Tarih")).toString()));
    app::RefreshData(secondary);

    if (secondary.RecordCount() > 0) {
        secondary.MoveFirst();
        const QString last = secondary.Field(QStringLiteral("Indexi")).toString();
        const std::optional<QString> next = FollowingEntryNumber(last);
        if (!next)
            throw store::StoreError(
                QStringLiteral("%1 yılının hareket numarası okunamadı (\"Mdbindex\" tablosunda \"%2\").")
                    .arg(key, last));
        secondary.Edit();
        secondary.setField(QStringLiteral("Indexi"), *next);
        secondary.Update();
        return *next;
    }
    const QString first = key.right(2) + QLatin1Char('1');
    secondary.AddNew();
    secondary.setField(QStringLiteral("Indexi"), first);
    secondary.setField(QStringLiteral("SeriNo"), first);
    secondary.setField(QStringLiteral("Tarih"), key);
    secondary.Update();
    return first;
}

std::optional<double> WholeNumber(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 11)
        return std::nullopt;
    for (const QChar c : t)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    return t.toDouble();
}

QString PlainDigits(double number)
{
    return QString::number(number, 'f', 0);
}

} // namespace survey
