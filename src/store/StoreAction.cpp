#include "store/StoreAction.h"

#include "store/StoreError.h"

#include <QFileInfo>

namespace store {

StoreAction::StoreAction(const QStringList& storePaths)
{
    if (storePaths.isEmpty())
        throw StoreError(QStringLiteral("Kaydedilecek veri dosyası belirtilmemiş."));
    // Stores not open yet become one data set here; those of an open set
    // are on its handle already.
    bool anyOpen = false;
    for (const QString& p : storePaths) {
        stores_.push_back(Connection::Open(p));
        anyOpen = anyOpen || stores_.back().use_count() > 1;
    }
    if (!anyOpen && storePaths.size() > 1) {
        stores_.clear();
        Connection::JoinStores(storePaths);
        for (const QString& p : storePaths)
            stores_.push_back(Connection::Open(p));
    }
    for (const auto& s : stores_)
        if (!s->SharesHandleWith(*stores_.front()))
            throw StoreError(QStringLiteral("\"%1\" ve \"%2\" veri dosyaları tek işlemde kaydedilemiyor: "
                                            "ayrı ayrı açılmışlar. Programı yeniden başlatın.")
                                 .arg(QFileInfo(stores_.front()->path()).fileName(),
                                      QFileInfo(s->path()).fileName()));
    // One level per store: each takes its own write lock; the levels nest
    // into one transaction of the shared handle.
    try {
        for (const auto& s : stores_) {
            s->Begin();
            ++levels_;
        }
    } catch (...) {
        while (levels_ > 0)
            stores_[size_t(--levels_)]->Rollback();
        throw;
    }
}

StoreAction::~StoreAction()
{
    while (levels_ > 0) {
        try {
            stores_[size_t(--levels_)]->Rollback();
        } catch (...) {
        }
    }
}

void StoreAction::Commit()
{
    // The inner levels only close; the last Commit writes every file.
    while (levels_ > 0)
        stores_[size_t(--levels_)]->Commit();
}

} // namespace store
