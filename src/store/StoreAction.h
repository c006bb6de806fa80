#pragma once

#include "store/Connection.h"

#include <QStringList>

#include <memory>
#include <vector>

namespace store {

// One action that writes several store files: all of it is stored or none,
// also when the program is killed or the power fails half-way.
//
//     store::StoreAction action({jobsPath, ordersPath});
//     ... record views, Connection::Execute, TakeBatchNumber on those stores ...
//     action.Commit();   // leaving without it rolls everything back
//
// The stores are opened through one SQLite handle (the data set's, see
// Connection::JoinStores; the action declares one when none of its stores is
// open yet), with every store other than the first attached. Everything done
// on them while the action is open — through any record view, statement or
// nested Transaction of those stores — is part of it. SQLite commits the
// files together through a super-journal (rollback-journal mode), so a crash
// leaves either every file changed or none.
//
// The constructor takes the write lock of each store named; a locked or
// missing store raises StoreError before anything is written. Stores that
// are already open on handles of their own cannot take part: StoreError.
class StoreAction {
public:
    explicit StoreAction(const QStringList& storePaths);
    // Rolls back unless Commit succeeded.
    ~StoreAction();
    StoreAction(const StoreAction&) = delete;
    StoreAction& operator=(const StoreAction&) = delete;

    // Stores every change of the action in one commit; raises StoreError
    // when it fails, and then nothing of the action is stored.
    void Commit();

    // The connection of one of the action's stores (in the order given).
    Connection& store(int index) const { return *stores_.at(size_t(index)); }

private:
    std::vector<std::shared_ptr<Connection>> stores_;
    int levels_ = 0; // transaction levels opened and not yet closed
};

} // namespace store
