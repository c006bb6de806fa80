#include "app/DataSet.h"

#include "store/Connection.h"
#include "store/Layouts.h"
#include "store/StoreError.h"

#include <QFileInfo>

namespace app {

void OpenDataSet(const StorePaths& paths)
{
    struct Entry {
        QString path;
        store::StoreKind kind;
        bool required;
    };
    const Entry entries[] = {
        {StorePaths::Local(paths.jobs()), store::StoreKind::Jobs, true},
        {StorePaths::Local(paths.reports()), store::StoreKind::Reports, true},
        {StorePaths::Local(paths.accounts()), store::StoreKind::Accounts, true},
        {StorePaths::Local(paths.orders()), store::StoreKind::Orders, true},
        // The index store is written by the survey entry only; the board runs without it.
        {StorePaths::Local(paths.index()), store::StoreKind::Index, false},
    };
    QStringList all;
    for (const Entry& e : entries)
        all << e.path;
    store::Connection::JoinStores(all);

    QStringList problems;
    for (const Entry& e : entries) {
        if (!e.required && !QFileInfo::exists(store::Connection::ResolveCaseInsensitive(e.path)))
            continue;
        const auto conn = store::Connection::Open(e.path);
        problems << store::LayoutProblems(e.kind, *conn);
    }
    if (problems.isEmpty())
        return;
    constexpr int kShown = 12;
    QString text = QStringLiteral("Veri dosyaları programın beklediği yapıda değil:\n");
    for (int i = 0; i < problems.size() && i < kShown; ++i)
        text += QStringLiteral("\n• ") + problems[i];
    if (problems.size() > kShown)
        text += QStringLiteral("\n• … ve %1 sorun daha.").arg(problems.size() - kShown);
    throw store::StoreError(text);
}

} // namespace app
