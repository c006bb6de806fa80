#pragma once

#include "import/AccessFile.h"
#include "import/Progress.h"
#include "store/Layouts.h"

#include <QString>

#include <cstdint>

namespace store {
class Connection;
}

namespace import {

// The store type nearest to an Access type: numbers of every width become
// Number, memo and replication IDs Text, binary and OLE objects stay bytes.
store::FieldType NearestType(AccessType type);

struct CopiedTable {
    QString name;      // the table's name in the store
    std::int64_t rows = 0;
};

// Copies one Access table into a store being written. With a layout the
// table gets the layout's name, fields (in its order, types and defaults) and
// indexes; Access fields are matched to it by name without regard to case,
// and those it does not know follow the layout's fields with the nearest
// types. Without a layout the table is carried over as it is. The Access
// file's own indexes come along where the layout has none on the same fields.
//
// The rows in the store must be the rows read (and the reader checks those
// against the Access table definition); otherwise StoreError names the file
// and the table.
CopiedTable CopyTable(TableReader& reader, const QString& fileName, const store::TableDef* layout,
                      store::Connection& conn, ImportProgress& progress);

} // namespace import
