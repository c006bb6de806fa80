#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Reading a Jet 4 (Access 2000 and later) file through libmdb.
// A TableReader must not outlive the AccessFile that opened it.
//
// libmdb opens the file, reads the catalog, the columns, the indexes and
// walks the data pages of a table. The rows themselves are taken apart here:
// libmdb's row helpers report an empty text as NULL and lose dates before
// 1899-12-30, and they trust every length in the row. Here each row is
// checked against its page before a byte of it is read, so a damaged file
// ends in a StoreError naming the file, the table and the row, not in a crash.
struct S_MdbTableDef;

namespace import {

enum class AccessType {
    YesNo,
    Byte,
    Integer,
    Long,
    Currency,
    Single,
    Double,
    DateTime,
    Binary,
    Text,
    Ole,
    Memo,
    ReplicationId,
    Decimal,
    Complex,
    Other,
};

// The name Access gives a type ("Text", "Long Integer", ...).
QString AccessTypeName(AccessType type);

struct AccessColumn {
    QString name;
    AccessType type = AccessType::Other;
    int size = 0;        // as defined: characters for a text column, bytes otherwise
    int bytes = 0;       // as stored
    int number = 0;      // its bit in a row's null mask
    int varIndex = 0;    // its place among the variable-length columns
    int fixedOffset = 0; // where a fixed-length value starts in a row's fixed part
    bool fixed = false;
    int scale = 0;       // Decimal
};

struct AccessIndex {
    QString name;
    QStringList fields;
    bool unique = false;
    bool primary = false;
};

struct AccessTable {
    QString name;
    std::int64_t rowCount = 0; // as the table definition records it
    std::vector<AccessColumn> columns;
    std::vector<AccessIndex> indexes;
};

// One value of a row, in the form SQLite keeps it: Yes/No, Byte, Integer and
// Long as whole numbers; Currency, Single, Double and Decimal as reals (the
// double nearest the stored decimal); text, memo, dates and replication IDs
// as UTF-8 text; binary and OLE as bytes.
struct Cell {
    enum class Kind { Null, Integer, Real, Text, Blob };
    Kind kind = Kind::Null;
    std::int64_t integer = 0;
    double real = 0;
    std::string bytes; // Text (UTF-8) and Blob
};

class AccessFile;

// The rows of one table, in the order they stand in the file.
class TableReader {
public:
    ~TableReader();
    TableReader(const TableReader&) = delete;
    TableReader& operator=(const TableReader&) = delete;

    const AccessTable& table() const { return table_; }
    // The next row, one cell per column of table(); false after the last.
    // Raises StoreError on a row that does not fit its page, and at the end
    // when the rows read are not the rows the table definition counts.
    bool Next(std::vector<Cell>& row);
    std::int64_t RowsRead() const { return rowsRead_; }

private:
    friend class AccessFile;
    TableReader(AccessFile& file, S_MdbTableDef* def, AccessTable table);

    struct Span {
        const unsigned char* data;
        std::size_t size;
    };
    bool nextRowOnPages(Span& row);
    void crack(Span row, std::vector<Cell>& out);
    void readLongValue(const AccessColumn& column, Span field, Cell& cell);
    [[noreturn]] void damaged(const QString& what) const;

    AccessFile& file_;
    S_MdbTableDef* def_;
    AccessTable table_;
    bool hasVarColumns_ = false;
    bool started_ = false;
    bool finished_ = false;
    int rowsOnPage_ = 0;
    int nextRow_ = 0;
    std::int64_t rowsRead_ = 0;
    std::vector<std::size_t> offsets_;
    std::vector<unsigned char> overflowCopy_;
    std::vector<unsigned char> longValue_;
};

class AccessFile {
public:
    // Opens the file; raises StoreError (naming the file) when it is missing,
    // unreadable, not an Access file or an Access 97 (Jet 3) file.
    explicit AccessFile(const QString& path);
    ~AccessFile();
    AccessFile(const AccessFile&) = delete;
    AccessFile& operator=(const AccessFile&) = delete;

    const QString& path() const { return path_; }
    QString fileName() const;

    // The user tables, in catalog order (system and linked tables left out).
    QStringList TableNames() const { return tables_; }

    // Reads a table's definition and opens it for reading. Only one table is
    // read at a time: the reader shares the file's page buffers.
    std::unique_ptr<TableReader> Open(const QString& table);

private:
    friend class TableReader;
    // The page and row that a 32-bit page/row pointer names, from a page read
    // into the handle's second buffer (the current data page stays put).
    bool readPointedRow(std::uint32_t pageRow, const unsigned char*& data, std::size_t& size,
                        bool& overflow);

    struct Handle; // libmdb's handle; its type cannot be named ahead of its header
    QString path_;
    std::unique_ptr<Handle> handle_;
    QStringList tables_;
};

} // namespace import
