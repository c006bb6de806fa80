// libvelmora_turkish.so: the stores' TURKISH collation and the dialect's
// like() as a loadable SQLite extension, built from the store code itself,
// so SQLite's own shell can run the program's queries on a store:
//
//     sqlite3 -cmd '.load build/bin/libvelmora_turkish' Montaj.mdb "SELECT ..."
//
// The shell and this library share the system's libsqlite3, so the store
// code calls SQLite as it always does.

#include "store/Connection.h"

#include <sqlite3.h>

extern "C" __attribute__((visibility("default"))) int sqlite3_velmoraturkish_init(sqlite3* db, char**, const void*)
{
    store::RegisterDialectFunctions(db);
    return SQLITE_OK;
}
