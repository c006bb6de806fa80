#include "import/AccessFile.h"

#include "import/JetValues.h"
#include "store/StoreError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <mdbtools.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace import {

namespace {

// Jet 4 page layout: the row count of a data page and its table of row
// starts; the top bits of a row start are flags.
constexpr int kRowCountOffset = 0x0c;
constexpr std::uint16_t kOffsetMask = 0x1fff;
constexpr std::uint16_t kDeletedRow = 0x8000;  // also set on the far half of a moved row
constexpr std::uint16_t kOverflowRow = 0x4000; // the row moved; here is a pointer to it
constexpr int kDataPage = 0x01;
constexpr std::size_t kLongValueHeader = 12;
constexpr int kMaxOverflowHops = 8;
constexpr unsigned long kCatalogPage = 2; // the definition of MSysObjects

QString shown(const QString& path) { return QDir::toNativeSeparators(path); }

// libmdb writes what it finds odd to stderr in English ("offset 8192 is
// beyond EOF"); the user gets one Turkish message instead, so its own lines
// are kept off the terminal while it works.
class QuietLibrary {
public:
    QuietLibrary()
    {
#ifdef Q_OS_UNIX
        std::fflush(stderr);
        saved_ = ::dup(STDERR_FILENO);
        const int null = ::open("/dev/null", O_WRONLY);
        if (saved_ >= 0 && null >= 0)
            ::dup2(null, STDERR_FILENO);
        if (null >= 0)
            ::close(null);
#endif
    }
    ~QuietLibrary()
    {
#ifdef Q_OS_UNIX
        std::fflush(stderr);
        if (saved_ >= 0) {
            ::dup2(saved_, STDERR_FILENO);
            ::close(saved_);
        }
#endif
    }
    QuietLibrary(const QuietLibrary&) = delete;
    QuietLibrary& operator=(const QuietLibrary&) = delete;

private:
    int saved_ = -1;
};

AccessType typeOf(int mdbType)
{
    switch (mdbType) {
    case MDB_BOOL: return AccessType::YesNo;
    case MDB_BYTE: return AccessType::Byte;
    case MDB_INT: return AccessType::Integer;
    case MDB_LONGINT: return AccessType::Long;
    case MDB_MONEY: return AccessType::Currency;
    case MDB_FLOAT: return AccessType::Single;
    case MDB_DOUBLE: return AccessType::Double;
    case MDB_DATETIME: return AccessType::DateTime;
    case MDB_BINARY: return AccessType::Binary;
    case MDB_TEXT: return AccessType::Text;
    case MDB_OLE: return AccessType::Ole;
    case MDB_MEMO: return AccessType::Memo;
    case MDB_REPID: return AccessType::ReplicationId;
    case MDB_NUMERIC: return AccessType::Decimal;
    case MDB_COMPLEX: return AccessType::Complex;
    default: return AccessType::Other;
    }
}

// Bytes a fixed-length value of the type takes in a row; 0 for types whose
// length the column definition gives.
std::size_t fixedSize(AccessType type)
{
    switch (type) {
    case AccessType::Byte: return 1;
    case AccessType::Integer: return 2;
    case AccessType::Long:
    case AccessType::Single:
    case AccessType::Complex: return 4;
    case AccessType::Currency:
    case AccessType::Double:
    case AccessType::DateTime: return 8;
    case AccessType::ReplicationId: return 16;
    case AccessType::Decimal: return 17;
    default: return 0;
    }
}

// libmdb walks a table's data pages through its usage map and takes the
// map's first byte unchecked; a damaged definition can leave it without one.
bool hasUsageMap(const MdbTableDef* def) { return def->usage_map && def->map_sz > 0; }

// Whether the table whose definition starts on `page` can be walked. The
// catalog is read by libmdb itself, so its definition is looked at first.
bool walkable(MdbHandle* mdb, unsigned long page)
{
    MdbCatalogEntry entry{};
    entry.mdb = mdb;
    entry.object_type = MDB_TABLE;
    entry.table_pg = page;
    MdbTableDef* def = mdb_read_table(&entry);
    const bool ok = def && hasUsageMap(def);
    mdb_free_tabledef(def);
    return ok;
}

// Row `row` of a page in `page`: its bytes and flags, or false when the
// page's row table does not hold it.
bool findRow(const unsigned char* page, int pageSize, int row, std::size_t& start, std::size_t& size,
             std::uint16_t& flags)
{
    const int rows = ReadU16(page + kRowCountOffset);
    if (row < 0 || row >= rows || kRowCountOffset + 2 + 2 * (row + 1) > pageSize)
        return false;
    const std::uint16_t raw = ReadU16(page + kRowCountOffset + 2 + 2 * row);
    const int begin = raw & kOffsetMask;
    const int end = row == 0 ? pageSize : ReadU16(page + kRowCountOffset + 2 * row) & kOffsetMask;
    if (begin >= pageSize || end > pageSize || begin > end)
        return false;
    start = std::size_t(begin);
    size = std::size_t(end - begin);
    flags = raw & ~kOffsetMask;
    return true;
}

} // namespace

QString AccessTypeName(AccessType type)
{
    switch (type) {
    case AccessType::YesNo: return QStringLiteral("Yes/No");
    case AccessType::Byte: return QStringLiteral("Byte");
    case AccessType::Integer: return QStringLiteral("Integer");
    case AccessType::Long: return QStringLiteral("Long Integer");
    case AccessType::Currency: return QStringLiteral("Currency");
    case AccessType::Single: return QStringLiteral("Single");
    case AccessType::Double: return QStringLiteral("Double");
    case AccessType::DateTime: return QStringLiteral("Date/Time");
    case AccessType::Binary: return QStringLiteral("Binary");
    case AccessType::Text: return QStringLiteral("Text");
    case AccessType::Ole: return QStringLiteral("OLE Object");
    case AccessType::Memo: return QStringLiteral("Memo");
    case AccessType::ReplicationId: return QStringLiteral("Replication ID");
    case AccessType::Decimal: return QStringLiteral("Decimal");
    case AccessType::Complex: return QStringLiteral("Complex");
    case AccessType::Other: break;
    }
    return QStringLiteral("?");
}

// ---------------------------------------------------------------------------

struct AccessFile::Handle {
    MdbHandle* mdb = nullptr;
    ~Handle()
    {
        if (mdb)
            mdb_close(mdb);
    }
};

AccessFile::AccessFile(const QString& path) : path_(path), handle_(std::make_unique<Handle>())
{
    const QString name = fileName();
    QFile probe(path);
    if (!probe.open(QIODevice::ReadOnly))
        throw store::StoreError(QStringLiteral("\"%1\" okunamadı: %2 (%3)")
                                    .arg(name, probe.errorString(), shown(path)));
    // libmdb takes any file it is given; only a Jet or ACE header is one.
    const QByteArray head = probe.read(0x20);
    probe.close();
    const QByteArray signature = head.mid(4, 15);
    if (!head.startsWith(QByteArray("\x00\x01\x00\x00", 4))
        || (signature != "Standard Jet DB" && signature != "Standard ACE DB"))
        throw store::StoreError(
            QStringLiteral("\"%1\" bir Access veritabanı değil (%2).").arg(name, shown(path)));
    if (head.size() > 0x14 && head.at(0x14) == 0)
        throw store::StoreError(
            QStringLiteral("\"%1\" Access 97 (Jet 3) biçiminde. Velmora Access 2000 ve sonrasının "
                           "dosyalarını içe aktarır: dosyayı Access'te yeni biçime dönüştürüp yeniden "
                           "deneyin (%2).")
                .arg(name, shown(path)));

    QuietLibrary quiet;
    handle_->mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    if (!handle_->mdb)
        throw store::StoreError(QStringLiteral("\"%1\" açılamadı; dosya hasarlı olabilir (%2).")
                                    .arg(name, shown(path)));
    if (!walkable(handle_->mdb, kCatalogPage) || !mdb_read_catalog(handle_->mdb, MDB_TABLE))
        throw store::StoreError(QStringLiteral("\"%1\" dosyasının tablo listesi okunamadı; dosya "
                                               "hasarlı olabilir (%2).")
                                    .arg(name, shown(path)));
    for (unsigned i = 0; i < handle_->mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(handle_->mdb->catalog, i));
        if (mdb_is_user_table(entry))
            tables_ << QString::fromUtf8(entry->object_name);
    }
}

AccessFile::~AccessFile() = default;

QString AccessFile::fileName() const { return QFileInfo(path_).fileName(); }

std::unique_ptr<TableReader> AccessFile::Open(const QString& table)
{
    MdbHandle* mdb = handle_->mdb;
    MdbCatalogEntry* found = nullptr;
    for (unsigned i = 0; i < mdb->num_catalog && !found; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (mdb_is_user_table(entry) && QString::fromUtf8(entry->object_name) == table)
            found = entry;
    }
    QuietLibrary quiet;
    const auto broken = [&] {
        return store::StoreError(QStringLiteral("\"%1\" dosyasının \"%2\" tablosu okunamadı: tablo tanımı "
                                                "bozuk. Dosya hasarlı olabilir (%3).")
                                     .arg(fileName(), table, shown(path_)));
    };
    if (!found)
        throw store::StoreError(QStringLiteral("\"%1\" dosyasında \"%2\" tablosu yok (%3).")
                                    .arg(fileName(), table, shown(path_)));
    MdbTableDef* def = mdb_read_table(found);
    if (!def)
        throw broken();
    if (!hasUsageMap(def)) {
        mdb_free_tabledef(def);
        throw broken();
    }
    if (!mdb_read_columns(def) || def->num_cols == 0 || def->num_cols > MDB_MAX_COLS) {
        mdb_free_tabledef(def);
        throw broken();
    }
    mdb_read_indices(def);

    AccessTable t;
    t.name = table;
    t.rowCount = def->num_rows;
    for (unsigned i = 0; i < def->num_cols; ++i) {
        const auto* col = static_cast<const MdbColumn*>(g_ptr_array_index(def->columns, i));
        AccessColumn c;
        c.name = QString::fromUtf8(col->name);
        c.type = typeOf(col->col_type);
        // Jet 4 keeps a text column's size in bytes, two a character.
        c.size = c.type == AccessType::Text ? col->col_size / 2 : col->col_size;
        c.bytes = col->col_size;
        c.number = col->col_num;
        c.varIndex = int(col->var_col_num);
        c.fixedOffset = col->fixed_offset;
        c.fixed = col->is_fixed;
        c.scale = col->col_scale;
        t.columns.push_back(c);
    }
    if (def->indices) {
        for (unsigned i = 0; i < def->num_idxs && i < def->indices->len; ++i) {
            const auto* idx = static_cast<const MdbIndex*>(g_ptr_array_index(def->indices, i));
            if (idx->index_type == 2) // the far side of a relationship, not an index of its own
                continue;
            AccessIndex x;
            x.name = QString::fromUtf8(idx->name);
            x.unique = idx->flags & MDB_IDX_UNIQUE;
            x.primary = idx->index_type == 1;
            // libmdb gives each key column's place in the column list, one-based.
            for (unsigned k = 0; k < idx->num_keys && k < MDB_MAX_IDX_COLS; ++k) {
                const int at = idx->key_col_num[k] - 1;
                if (at >= 0 && at < int(t.columns.size()))
                    x.fields << t.columns[size_t(at)].name;
            }
            if (!x.fields.isEmpty())
                t.indexes.push_back(x);
        }
    }
    return std::unique_ptr<TableReader>(new TableReader(*this, def, std::move(t)));
}

bool AccessFile::readPointedRow(std::uint32_t pageRow, const unsigned char*& data, std::size_t& size,
                                bool& overflow)
{
    MdbHandle* mdb = handle_->mdb;
    const unsigned long page = pageRow >> 8;
    QuietLibrary quiet;
    if (page == 0 || mdb_read_alt_pg(mdb, page) != mdb->fmt->pg_size)
        return false;
    const unsigned char* buf = mdb->alt_pg_buf;
    if (buf[0] != kDataPage)
        return false;
    std::size_t start = 0;
    std::uint16_t flags = 0;
    if (!findRow(buf, int(mdb->fmt->pg_size), int(pageRow & 0xff), start, size, flags))
        return false;
    data = buf + start;
    overflow = (flags & kOverflowRow) && !(flags & kDeletedRow);
    return true;
}

// ---------------------------------------------------------------------------

TableReader::TableReader(AccessFile& file, S_MdbTableDef* def, AccessTable table)
    : file_(file), def_(def), table_(std::move(table))
{
    for (const AccessColumn& c : table_.columns)
        hasVarColumns_ = hasVarColumns_ || !c.fixed;
    mdb_rewind_table(def_);
}

TableReader::~TableReader() { mdb_free_tabledef(def_); }

void TableReader::damaged(const QString& what) const
{
    throw store::StoreError(QStringLiteral("\"%1\" dosyasının \"%2\" tablosu okunamadı: %3. satır bozuk "
                                           "(%4). Dosya hasarlı olabilir (%5).")
                                .arg(file_.fileName(), table_.name)
                                .arg(rowsRead_ + 1)
                                .arg(what, shown(file_.path())));
}

bool TableReader::nextRowOnPages(Span& row)
{
    MdbHandle* mdb = file_.handle_->mdb;
    const int pageSize = int(mdb->fmt->pg_size);
    while (!finished_) {
        if (!started_ || nextRow_ >= rowsOnPage_) {
            started_ = true;
            QuietLibrary quiet;
            if (!mdb_read_next_dpg(def_)) {
                finished_ = true;
                break;
            }
            rowsOnPage_ = ReadU16(mdb->pg_buf + kRowCountOffset);
            nextRow_ = 0;
            continue;
        }
        std::size_t start = 0, size = 0;
        std::uint16_t flags = 0;
        if (!findRow(mdb->pg_buf, pageSize, nextRow_++, start, size, flags))
            damaged(QStringLiteral("sayfadaki yeri geçersiz"));
        if (size == 0 || (flags & kDeletedRow))
            continue;
        if (!(flags & kOverflowRow)) {
            row = {mdb->pg_buf + start, size};
            return true;
        }
        // The row grew and moved to another page; this one only points at it.
        const unsigned char* data = mdb->pg_buf + start;
        std::size_t length = size;
        bool overflow = true;
        for (int hop = 0; overflow; ++hop) {
            if (length < 4 || hop == kMaxOverflowHops
                || !file_.readPointedRow(ReadU32(data), data, length, overflow))
                damaged(QStringLiteral("taşınan satır bulunamadı"));
        }
        // The far page sits in the buffer that long values are read through.
        overflowCopy_.assign(data, data + length);
        row = {overflowCopy_.data(), overflowCopy_.size()};
        return true;
    }
    return false;
}

bool TableReader::Next(std::vector<Cell>& row)
{
    Span span{nullptr, 0};
    if (!nextRowOnPages(span)) {
        // A page that went missing, or rows the definition does not know of.
        if (rowsRead_ != table_.rowCount)
            throw store::StoreError(
                QStringLiteral("\"%1\" dosyasının \"%2\" tablosu eksik ya da fazla okundu: tablo tanımında "
                               "%3 satır var, okunabilen %4. Dosya hasarlı olabilir; Access'te \"Sıkıştır "
                               "ve Onar\" ile onarıp yeniden deneyin (%5).")
                    .arg(file_.fileName(), table_.name)
                    .arg(table_.rowCount)
                    .arg(rowsRead_)
                    .arg(shown(file_.path())));
        return false;
    }
    crack(span, row);
    ++rowsRead_;
    return true;
}

void TableReader::crack(Span row, std::vector<Cell>& out)
{
    // A Jet 4 row: the column count, the fixed-length values, the
    // variable-length values, then from the end backwards the null mask, the
    // count of variable-length columns and their offsets (the last offset is
    // the end of the data).
    const unsigned char* p = row.data;
    const std::size_t n = row.size;
    if (n < 3)
        damaged(QStringLiteral("çok kısa"));
    const std::size_t rowColumns = ReadU16(p);
    const std::size_t maskSize = (rowColumns + 7) / 8;
    if (2 + maskSize > n)
        damaged(QStringLiteral("boş değer haritası sığmıyor"));
    const unsigned char* nullMask = p + n - maskSize;

    std::size_t rowVarColumns = 0;
    std::size_t fixedEnd = n - maskSize;
    std::vector<std::size_t>& offsets = offsets_;
    offsets.clear();
    if (hasVarColumns_) {
        if (2 + maskSize + 2 > n)
            damaged(QStringLiteral("değişken uzunluklu alan sayısı sığmıyor"));
        rowVarColumns = ReadU16(p + n - maskSize - 2);
        const std::size_t tableBytes = 2 * (rowVarColumns + 1);
        if (2 + maskSize + 2 + tableBytes > n)
            damaged(QStringLiteral("alan konumları sığmıyor"));
        const std::size_t dataEnd = n - maskSize - 2 - tableBytes;
        for (std::size_t i = 0; i <= rowVarColumns; ++i) {
            const std::size_t at = ReadU16(p + n - maskSize - 4 - 2 * i);
            if (at < 2 || at > dataEnd || (i > 0 && at < offsets.back()))
                damaged(QStringLiteral("alan konumu geçersiz"));
            offsets.push_back(at);
        }
        fixedEnd = offsets.front();
    }

    out.resize(table_.columns.size());
    for (std::size_t i = 0; i < table_.columns.size(); ++i) {
        const AccessColumn& c = table_.columns[i];
        Cell& cell = out[i];
        cell.kind = Cell::Kind::Null;
        const bool inRow = std::size_t(c.number) < rowColumns;
        const bool present = inRow && (nullMask[c.number / 8] & (1 << (c.number % 8)));
        if (c.type == AccessType::YesNo) {
            // A Yes/No value is its bit in the null mask; never NULL.
            cell.kind = Cell::Kind::Integer;
            cell.integer = present ? 1 : 0;
            continue;
        }
        if (!present)
            continue;

        Span field{nullptr, 0};
        if (c.fixed) {
            const std::size_t size = fixedSize(c.type) ? fixedSize(c.type) : std::size_t(std::max(c.bytes, 0));
            const std::size_t start = 2 + std::size_t(std::max(c.fixedOffset, 0));
            if (start + size > fixedEnd)
                damaged(QStringLiteral("\"%1\" alanı satıra sığmıyor").arg(c.name));
            field = {p + start, size};
        } else {
            if (std::size_t(c.varIndex) >= rowVarColumns)
                continue; // the column came after the row was written
            const std::size_t start = offsets[size_t(c.varIndex)];
            field = {p + start, offsets[size_t(c.varIndex) + 1] - start};
        }

        const std::size_t need = fixedSize(c.type);
        if (need && field.size < need)
            damaged(QStringLiteral("\"%1\" alanı eksik").arg(c.name));
        switch (c.type) {
        case AccessType::Byte:
            cell.kind = Cell::Kind::Integer;
            cell.integer = field.data[0];
            break;
        case AccessType::Integer:
            cell.kind = Cell::Kind::Integer;
            cell.integer = std::int16_t(ReadU16(field.data));
            break;
        case AccessType::Long:
        case AccessType::Complex:
            cell.kind = Cell::Kind::Integer;
            cell.integer = std::int32_t(ReadU32(field.data));
            break;
        case AccessType::Currency:
            cell.kind = Cell::Kind::Real;
            cell.real = CurrencyValue(std::int64_t(ReadU64(field.data)));
            break;
        case AccessType::Single: {
            const std::uint32_t bits = ReadU32(field.data);
            float f = 0;
            std::memcpy(&f, &bits, sizeof f);
            if (std::isnan(f))
                damaged(QStringLiteral("\"%1\" alanında sayı olmayan bir değer var").arg(c.name));
            cell.kind = Cell::Kind::Real;
            cell.real = SingleValue(f);
            break;
        }
        case AccessType::Double:
        case AccessType::DateTime: {
            const std::uint64_t bits = ReadU64(field.data);
            double d = 0;
            std::memcpy(&d, &bits, sizeof d);
            if (c.type == AccessType::Double) {
                if (std::isnan(d))
                    damaged(QStringLiteral("\"%1\" alanında sayı olmayan bir değer var").arg(c.name));
                cell.kind = Cell::Kind::Real;
                cell.real = d;
                break;
            }
            if (!DateTimeFromSerial(d, cell.bytes))
                damaged(QStringLiteral("\"%1\" alanındaki tarih geçersiz").arg(c.name));
            cell.kind = Cell::Kind::Text;
            break;
        }
        case AccessType::ReplicationId:
            cell.kind = Cell::Kind::Text;
            cell.bytes = GuidText(field.data);
            break;
        case AccessType::Decimal:
            cell.kind = Cell::Kind::Real;
            cell.real = std::strtod(DecimalText(field.data, c.scale).c_str(), nullptr);
            break;
        case AccessType::Text:
            cell.kind = Cell::Kind::Text;
            TextFromJet(field.data, field.size, cell.bytes);
            break;
        case AccessType::Memo:
        case AccessType::Ole:
            readLongValue(c, field, cell);
            break;
        case AccessType::Binary:
        case AccessType::Other:
        case AccessType::YesNo:
            cell.kind = Cell::Kind::Blob;
            cell.bytes.assign(reinterpret_cast<const char*>(field.data), field.size);
            break;
        }
    }
}

void TableReader::readLongValue(const AccessColumn& column, Span field, Cell& cell)
{
    // A memo or OLE field holds a 12-byte header: the length with two flag
    // bits (in the row, or whole on one other page), then a page/row pointer.
    // Without either flag the value is a chain of rows, each starting with
    // the pointer to the next.
    if (field.size < kLongValueHeader)
        damaged(QStringLiteral("\"%1\" alanı eksik").arg(column.name));
    const std::uint32_t header = ReadU32(field.data);
    const std::size_t length = header & 0x3fffffff;
    longValue_.clear();
    if (header & 0x80000000) {
        if (field.size - kLongValueHeader < length)
            damaged(QStringLiteral("\"%1\" alanı eksik").arg(column.name));
        longValue_.assign(field.data + kLongValueHeader, field.data + kLongValueHeader + length);
    } else {
        std::uint32_t next = ReadU32(field.data + 4);
        const bool single = header & 0x40000000;
        // Every link carries at least one byte, so a chain longer than the
        // value is a loop.
        for (std::size_t links = 0; longValue_.size() < length; ++links) {
            const unsigned char* data = nullptr;
            std::size_t size = 0;
            bool overflow = false;
            if (links > length || !file_.readPointedRow(next, data, size, overflow))
                damaged(QStringLiteral("\"%1\" alanının devamı bulunamadı").arg(column.name));
            if (single) {
                if (size < length)
                    damaged(QStringLiteral("\"%1\" alanı eksik").arg(column.name));
                longValue_.assign(data, data + length);
                break;
            }
            if (size <= 4)
                damaged(QStringLiteral("\"%1\" alanının devamı bozuk").arg(column.name));
            next = ReadU32(data);
            const std::size_t take = std::min(size - 4, length - longValue_.size());
            longValue_.insert(longValue_.end(), data + 4, data + 4 + take);
        }
    }
    if (column.type == AccessType::Memo) {
        cell.kind = Cell::Kind::Text;
        TextFromJet(longValue_.data(), longValue_.size(), cell.bytes);
    } else {
        cell.kind = Cell::Kind::Blob;
        cell.bytes.assign(reinterpret_cast<const char*>(longValue_.data()), longValue_.size());
    }
}

} // namespace import
