#pragma once

#include <QString>

namespace store {

// Takes the next batch number from the first field of "RecSay" in the job
// store: read, advanced and written back in one transaction, so the board and
// the survey dialog never hand out the same number. Inside an open
// StoreAction it is part of the action: an action that fails uses no number
// up. Raises StoreError when the table has no row.
double TakeBatchNumber(const QString& jobStorePath);

} // namespace store
