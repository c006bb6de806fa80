#pragma once

#include "app/StorePaths.h"

namespace app {

// Opens the stores of the data set at start, before any action can run: the
// five stores become one set on one handle (store::Connection::JoinStores),
// so an action over several of them is committed at once; each required store
// must be there, and every table and field the program reads or writes must
// stand by name and position as in store/Layouts. Raises store::StoreError
// with one Turkish message naming everything missing or out of place.
void OpenDataSet(const StorePaths& paths);

} // namespace app
