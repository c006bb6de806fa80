#pragma once

#include "import/Progress.h"

#include <QString>
#include <QStringList>

#include <cstdint>

// Bringing a business's Access stores into Velmora's SQLite stores.
namespace import {

struct ImportOptions {
    QString sourceDir;   // where the Access files are
    QString destDir;     // where the stores go (the data folder)
    QString companyCode; // "Firma" as the settings hold it: "ABC", or "ABC\" for a folder
    bool replace = false; // an existing store is kept as <name>.bak and replaced
};

struct ImportSummary {
    int stores = 0;
    int tables = 0;
    std::int64_t rows = 0;
    std::int64_t milliseconds = 0;
    QStringList written; // the stores written, as paths
    QStringList backups; // the old stores kept, as paths
};

// Reads every Access store of the five store names found in the source
// folder (names matched without regard to case) and writes the SQLite stores
// of the same names into the destination folder: the tables, field order,
// types and indexes of the record layouts, and every table and field the
// layouts do not know as well, with the nearest types.
//
// All stores are first written to temporary files beside their places and
// checked (row counts against the Access table definitions, SQLite's
// integrity check); only then are they renamed into place. Anything that goes
// wrong before that raises StoreError with a Turkish message naming the file
// (and the table) and leaves the destination folder as it was.
ImportSummary ImportStores(const ImportOptions& options, ImportProgress* progress = nullptr);

} // namespace import
