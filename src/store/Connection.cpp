#include "store/Connection.h"

#include "store/JetDialect.h"
#include "store/Layouts.h"
#include "store/StoreError.h"
#include "store/ValueShape.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <mutex>
#include <vector>

namespace store {

namespace {

// ---------------------------------------------------------------------------
// Turkish ordering
//
// Every character gets a weight: 8 * key + accent. Characters that are not
// letters keep their code point as key, so spaces, punctuation and digits
// come before every letter, in ordinary text order. Letters get the key
// 0x1000 + rank in the Turkish alphabet (q, w and x, which appear in foreign
// names, stand where they would in the Latin alphabet); an upper-case letter
// and its lower-case pair share one weight, which makes the order
// case-insensitive. Accented letters outside the alphabet (â, î, û, é ...)
// share their base letter's key with an accent of their own: "ala" < "âla"
// < "alb", as the accent only decides between otherwise equal texts.

constexpr int kLetterBase = 0x1000;
constexpr int kOtherBase = 0x100000; // any other character: after all letters

// The alphabet in order; each entry lists the lower-case letter and its
// upper-case pair (Turkish pairs: ı/I and i/İ).
struct AlphabetLetter {
    char32_t lower;
    char32_t upper;
};
constexpr AlphabetLetter kAlphabet[] = {
    {U'a', U'A'}, {U'b', U'B'}, {U'c', U'C'}, {U'ç', U'Ç'}, {U'd', U'D'}, {U'e', U'E'},
    {U'f', U'F'}, {U'g', U'G'}, {U'ğ', U'Ğ'}, {U'h', U'H'}, {U'ı', U'I'}, {U'i', U'İ'},
    {U'j', U'J'}, {U'k', U'K'}, {U'l', U'L'}, {U'm', U'M'}, {U'n', U'N'}, {U'o', U'O'},
    {U'ö', U'Ö'}, {U'p', U'P'}, {U'q', U'Q'}, {U'r', U'R'}, {U's', U'S'}, {U'ş', U'Ş'},
    {U't', U'T'}, {U'u', U'U'}, {U'ü', U'Ü'}, {U'v', U'V'}, {U'w', U'W'}, {U'x', U'X'},
    {U'y', U'Y'}, {U'z', U'Z'},
};

// Accented letters outside the alphabet: (lower, upper, base letter).
struct AccentLetter {
    char32_t lower;
    char32_t upper;
    char32_t base;
};
constexpr AccentLetter kAccents[] = {
    {U'à', U'À', U'a'}, {U'á', U'Á', U'a'}, {U'â', U'Â', U'a'}, {U'ã', U'Ã', U'a'},
    {U'ä', U'Ä', U'a'}, {U'å', U'Å', U'a'}, {U'è', U'È', U'e'}, {U'é', U'É', U'e'},
    {U'ê', U'Ê', U'e'}, {U'ë', U'Ë', U'e'}, {U'ì', U'Ì', U'i'}, {U'í', U'Í', U'i'},
    {U'î', U'Î', U'i'}, {U'ï', U'Ï', U'i'}, {U'ñ', U'Ñ', U'n'}, {U'ò', U'Ò', U'o'},
    {U'ó', U'Ó', U'o'}, {U'ô', U'Ô', U'o'}, {U'õ', U'Õ', U'o'}, {U'ù', U'Ù', U'u'},
    {U'ú', U'Ú', U'u'}, {U'û', U'Û', U'u'}, {U'ý', U'Ý', U'y'}, {U'ÿ', U'Ÿ', U'y'},
};

// Weights and lower-case folds for code points below kTableSize; above it a
// character weighs kOtherBase + its code point and folds through QChar.
constexpr char32_t kTableSize = 0x250;

struct Tables {
    std::array<int, kTableSize> weight{};
    std::array<char32_t, kTableSize> fold{};

    Tables()
    {
        for (char32_t c = 0; c < kTableSize; ++c) {
            weight[c] = 8 * (c < 0x80 ? int(c) : kOtherBase + int(c));
            fold[c] = c;
        }
        // Latin-1 letters with no place below fold through Qt's own tables.
        for (char32_t c = 0xC0; c < kTableSize; ++c)
            fold[c] = QChar::toLower(c);
        int rank = 0;
        for (const AlphabetLetter& l : kAlphabet) {
            weight[l.lower] = weight[l.upper] = 8 * (kLetterBase + rank++);
            fold[l.lower] = fold[l.upper] = l.lower;
        }
        int sub = 1;
        char32_t lastBase = 0;
        for (const AccentLetter& a : kAccents) {
            sub = a.base == lastBase ? sub + 1 : 1;
            lastBase = a.base;
            weight[a.lower] = weight[a.upper] = weight[a.base] + sub;
            fold[a.lower] = fold[a.upper] = a.lower;
        }
    }
};

const Tables& tables()
{
    static const Tables t;
    return t;
}

inline int weightOf(char32_t c)
{
    return c < kTableSize ? tables().weight[c] : 8 * (kOtherBase + int(c));
}

// Lower case with the Turkish pairs (I -> ı, İ -> i).
inline char32_t foldOf(char32_t c)
{
    if (c < kTableSize)
        return tables().fold[c];
    return QChar::toLower(c);
}

// Next code point of a UTF-8 text; malformed bytes are taken one by one.
inline char32_t nextCodePoint(const unsigned char* s, int n, int& i)
{
    unsigned char b = s[i];
    if (b < 0x80) {
        ++i;
        return b;
    }
    int len = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    if (len == 1 || i + len > n) {
        ++i;
        return b;
    }
    char32_t c = b & (0x3F >> (len - 1));
    for (int k = 1; k < len; ++k) {
        unsigned char cont = s[i + k];
        if ((cont & 0xC0) != 0x80) {
            ++i;
            return b;
        }
        c = (c << 6) | (cont & 0x3F);
    }
    i += len;
    return c;
}

int turkishCollation(void*, int na, const void* a, int nb, const void* b)
{
    return CompareTurkish(static_cast<const char*>(a), na, static_cast<const char*>(b), nb);
}

// ---------------------------------------------------------------------------
// Like

// A Like pattern compiled once: a sequence of pieces matched against the
// folded code points of the text.
struct LikePattern {
    enum class Kind { Any, One, Digit, Char, Set };
    struct Piece {
        Kind kind;
        char32_t ch = 0;                                 // Char (folded)
        bool negated = false;                            // Set
        std::vector<char32_t> chars;                     // Set: single characters (folded)
        std::vector<std::pair<int, int>> ranges;         // Set: weight ranges
    };
    std::vector<Piece> pieces;

    static LikePattern compile(const std::u32string& p, char32_t escape)
    {
        LikePattern out;
        size_t i = 0;
        while (i < p.size()) {
            char32_t c = p[i];
            Piece piece{Kind::Char};
            if (escape && c == escape && i + 1 < p.size()) {
                piece.ch = foldOf(p[i + 1]);
                i += 2;
            } else if (c == U'*') {
                // Runs of * are one *.
                if (out.pieces.empty() || out.pieces.back().kind != Kind::Any)
                    out.pieces.push_back(Piece{Kind::Any});
                ++i;
                continue;
            } else if (c == U'?') {
                piece.kind = Kind::One;
                ++i;
            } else if (c == U'#') {
                piece.kind = Kind::Digit;
                ++i;
            } else if (c == U'[' && p.find(U']', i + 1) != std::u32string::npos) {
                size_t close = p.find(U']', i + 1);
                // "[]" is an empty list in Jet, which matches nothing; a first
                // "]" right after "[" or "[!" cannot start a list, so take it
                // as a character of the list.
                size_t j = i + 1;
                piece.kind = Kind::Set;
                if (j < close && p[j] == U'!') {
                    piece.negated = true;
                    ++j;
                }
                while (j < close) {
                    char32_t lo = p[j];
                    if (j + 2 < close && p[j + 1] == U'-') {
                        char32_t hi = p[j + 2];
                        piece.ranges.emplace_back(weightOf(foldOf(lo)), weightOf(foldOf(hi)));
                        j += 3;
                    } else {
                        piece.chars.push_back(foldOf(lo));
                        ++j;
                    }
                }
                i = close + 1;
            } else {
                piece.ch = foldOf(c);
                ++i;
            }
            out.pieces.push_back(std::move(piece));
        }
        return out;
    }

    bool pieceMatches(const Piece& piece, char32_t c) const
    {
        switch (piece.kind) {
        case Kind::One:
            return true;
        case Kind::Digit:
            return c >= U'0' && c <= U'9';
        case Kind::Char:
            return piece.ch == c;
        case Kind::Set: {
            bool in = false;
            for (char32_t s : piece.chars)
                if (s == c) {
                    in = true;
                    break;
                }
            if (!in) {
                int w = weightOf(c);
                for (const auto& r : piece.ranges)
                    if (w >= r.first && w <= r.second) {
                        in = true;
                        break;
                    }
            }
            return in != piece.negated;
        }
        case Kind::Any:
            break;
        }
        return false;
    }

    // Text already folded. Classic wildcard matching: on a mismatch go back
    // to the last * and let it swallow one more character.
    bool matches(const std::u32string& text) const
    {
        size_t p = 0, t = 0;
        size_t starP = std::u32string::npos, starT = 0;
        while (t < text.size()) {
            if (p < pieces.size() && pieces[p].kind == Kind::Any) {
                starP = p++;
                starT = t;
            } else if (p < pieces.size() && pieceMatches(pieces[p], text[t])) {
                ++p;
                ++t;
            } else if (starP != std::u32string::npos) {
                p = starP + 1;
                t = ++starT;
            } else {
                return false;
            }
        }
        while (p < pieces.size() && pieces[p].kind == Kind::Any)
            ++p;
        return p == pieces.size();
    }
};

// Folds into a buffer kept per thread: like() runs once per row, and a
// fresh allocation each time would cost more than the match.
const std::u32string& decodeFolded(const unsigned char* s, int n)
{
    thread_local std::u32string out;
    out.clear();
    int i = 0;
    while (i < n)
        out.push_back(foldOf(nextCodePoint(s, n, i)));
    return out;
}

std::u32string decodePlain(const unsigned char* s, int n)
{
    std::u32string out;
    out.reserve(size_t(n));
    int i = 0;
    while (i < n)
        out.push_back(nextCodePoint(s, n, i));
    return out;
}

struct CachedPattern {
    std::string source;
    char32_t escape;
    LikePattern pattern;
};

// like(pattern, text [, escape]): X LIKE Y calls like(Y, X).
void likeFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    for (int k = 0; k < argc; ++k)
        if (sqlite3_value_type(argv[k]) == SQLITE_NULL) {
            sqlite3_result_null(ctx);
            return;
        }
    const auto* pat = sqlite3_value_text(argv[0]);
    int patLen = sqlite3_value_bytes(argv[0]);
    const auto* txt = sqlite3_value_text(argv[1]);
    int txtLen = sqlite3_value_bytes(argv[1]);
    char32_t escape = 0;
    if (argc == 3) {
        std::u32string esc = decodePlain(sqlite3_value_text(argv[2]), sqlite3_value_bytes(argv[2]));
        if (esc.size() != 1) {
            sqlite3_result_error(ctx, "ESCAPE tek bir karakter olmalı", -1);
            return;
        }
        escape = esc[0];
    }
    // The pattern is usually the same for every row: keep it compiled.
    auto* cached = static_cast<CachedPattern*>(sqlite3_get_auxdata(ctx, 0));
    std::string source(reinterpret_cast<const char*>(pat), size_t(patLen));
    if (!cached || cached->source != source || cached->escape != escape) {
        cached = new CachedPattern{source, escape, LikePattern::compile(decodePlain(pat, patLen), escape)};
        sqlite3_set_auxdata(ctx, 0, cached, [](void* p) { delete static_cast<CachedPattern*>(p); });
        // SQLite may drop the aux data at once (pattern not constant); then
        // use it from this call only.
        auto* kept = static_cast<CachedPattern*>(sqlite3_get_auxdata(ctx, 0));
        if (kept != cached) {
            LikePattern local = LikePattern::compile(decodePlain(pat, patLen), escape);
            sqlite3_result_int(ctx, local.matches(decodeFolded(txt, txtLen)) ? 1 : 0);
            return;
        }
    }
    sqlite3_result_int(ctx, cached->pattern.matches(decodeFolded(txt, txtLen)) ? 1 : 0);
}

// jet_concat(a, b, ...): the dialect's & operator. Null counts as empty
// text; only when every operand is Null is the result Null. Whole numbers
// kept as doubles print without ".0", as the dialect shows them.
void jetConcatFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    std::string out;
    bool any = false;
    for (int k = 0; k < argc; ++k) {
        sqlite3_value* v = argv[k];
        switch (sqlite3_value_type(v)) {
        case SQLITE_NULL:
            continue;
        case SQLITE_FLOAT: {
            double d = sqlite3_value_double(v);
            char buf[64];
            // The range first: converting a double beyond long long is undefined.
            if (d > -1e15 && d < 1e15 && d == std::trunc(d))
                std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(d));
            else
                std::snprintf(buf, sizeof buf, "%.15g", d);
            out += buf;
            break;
        }
        default:
            out.append(reinterpret_cast<const char*>(sqlite3_value_text(v)), size_t(sqlite3_value_bytes(v)));
            break;
        }
        any = true;
    }
    if (!any)
        sqlite3_result_null(ctx);
    else
        sqlite3_result_text(ctx, out.data(), int(out.size()), SQLITE_TRANSIENT);
}

// ---------------------------------------------------------------------------
// Shared connections

std::mutex& registryMutex()
{
    static std::mutex m;
    return m;
}

std::map<QString, std::weak_ptr<Connection>>& registry()
{
    static std::map<QString, std::weak_ptr<Connection>> r;
    return r;
}

QString shown(const QString& path) { return QDir::toNativeSeparators(path); }

enum class FileKind { Empty, Sqlite, Jet, Other };

FileKind kindOf(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return FileKind::Other;
    QByteArray head = f.read(32);
    if (head.isEmpty())
        return FileKind::Empty;
    if (head.startsWith(QByteArray("SQLite format 3\0", 16)))
        return FileKind::Sqlite;
    static const QByteArray jetPrefix("\x00\x01\x00\x00", 4);
    if (head.startsWith(jetPrefix)) {
        QByteArray sig = head.mid(4, 15);
        if (sig == "Standard Jet DB" || sig == "Standard ACE DB")
            return FileKind::Jet;
    }
    return FileKind::Other;
}

// The folder to give velmora-import for a store: the data folder it is in
// (every store path starts with "Diski" + "MuhasebeData"), else its own.
QString dataFolderOf(const QString& path)
{
    const QDir own = QFileInfo(path).absoluteDir();
    for (QDir up = own;;) {
        if (up.dirName().compare(QLatin1String("MuhasebeData"), Qt::CaseInsensitive) == 0)
            return up.absolutePath();
        if (!up.cdUp())
            return own.absolutePath();
    }
}

// Checks that an existing file can be opened as a store; raises the message
// the user sees otherwise.
void checkStoreFile(const QString& path)
{
    QFileInfo fi(path);
    const QString name = fi.fileName();
    if (fi.isDir())
        throw StoreError(QStringLiteral("\"%1\" bir klasör, veri dosyası değil: %2").arg(name, shown(path)));
    if (!fi.isReadable())
        throw StoreError(QStringLiteral("\"%1\" veri dosyası okunamıyor: %2").arg(name, shown(path)));
    switch (kindOf(path)) {
    case FileKind::Empty:
    case FileKind::Sqlite:
        return;
    case FileKind::Jet:
        throw StoreError(QStringLiteral("\"%1\" bir Access (Jet) veritabanı. Velmora bu dosyayı ancak içe "
                                        "aktarıldıktan sonra kullanabilir. Veri klasöründeki Access dosyalarını "
                                        "içe aktarmak için (eskileri .bak olarak saklanır):\n"
                                        "  velmora-import \"%3\" --replace\n(%2)")
                             .arg(name, shown(path), shown(dataFolderOf(path))));
    case FileKind::Other:
        break;
    }
    throw StoreError(QStringLiteral("\"%1\" bir veritabanı dosyası değil: %2").arg(name, shown(path)));
}

void configureHandle(sqlite3* db)
{
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, 5000);
    // A misspelt "name" must be an error, not quietly the text 'name'.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    RegisterDialectFunctions(db);
}

QString sqliteMessage(sqlite3* db)
{
    return QString::fromUtf8(sqlite3_errmsg(db));
}

} // namespace

// ---------------------------------------------------------------------------

int CompareTurkish(const char* a, int na, const char* b, int nb)
{
    const auto* sa = reinterpret_cast<const unsigned char*>(a);
    const auto* sb = reinterpret_cast<const unsigned char*>(b);
    const Tables& t = tables();
    // Sorted neighbours share long prefixes: skip the identical bytes first,
    // back to the start of the character they end in.
    const int common = std::min(na, nb);
    int k = 0;
    while (k < common && sa[k] == sb[k])
        ++k;
    if (k == common)
        return na == nb ? 0 : na < nb ? -1 : 1;
    while (k > 0 && (sa[k] & 0xC0) == 0x80)
        --k;
    int accent = 0; // first difference of accent alone, decides a tie
    int i = k, j = k;
    while (i < na && j < nb) {
        unsigned char ca = sa[i], cb = sb[j];
        if (ca < 0x80 && cb < 0x80) {
            // ASCII fast path: one table look-up per byte, no accents.
            if (ca != cb) {
                int wa = t.weight[ca], wb = t.weight[cb];
                if (wa != wb)
                    return wa < wb ? -1 : 1;
            }
            ++i;
            ++j;
            continue;
        }
        char32_t xa = nextCodePoint(sa, na, i);
        char32_t xb = nextCodePoint(sb, nb, j);
        if (xa != xb) {
            int wa = weightOf(xa), wb = weightOf(xb);
            if (wa != wb) {
                if ((wa >> 3) != (wb >> 3))
                    return wa < wb ? -1 : 1;
                if (!accent)
                    accent = wa < wb ? -1 : 1;
            }
        }
    }
    if (i < na)
        return 1;
    if (j < nb)
        return -1;
    return accent;
}

bool JetLike(const QString& pattern, const QString& text)
{
    QByteArray p = pattern.toUtf8();
    QByteArray s = text.toUtf8();
    LikePattern compiled =
        LikePattern::compile(decodePlain(reinterpret_cast<const unsigned char*>(p.constData()), int(p.size())), 0);
    return compiled.matches(decodeFolded(reinterpret_cast<const unsigned char*>(s.constData()), int(s.size())));
}

void RegisterDialectFunctions(sqlite3* db)
{
    sqlite3_create_collation(db, "TURKISH", SQLITE_UTF8, nullptr, &turkishCollation);
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(db, "like", 2, flags, nullptr, &likeFunction, nullptr, nullptr);
    sqlite3_create_function(db, "like", 3, flags, nullptr, &likeFunction, nullptr, nullptr);
    sqlite3_create_function(db, "jet_concat", -1, flags, nullptr, &jetConcatFunction, nullptr, nullptr);
}

// ---------------------------------------------------------------------------

QString Connection::ResolveCaseInsensitive(const QString& path)
{
    if (path.isEmpty() || QFileInfo::exists(path))
        return path;
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QStringList parts = absolute.split(QLatin1Char('/'));
    if (parts.isEmpty())
        return path;
    // The root: "" on Unix ("/..."), "C:" on Windows.
    QString current = parts.takeFirst() + QLatin1Char('/');
    for (const QString& part : parts) {
        if (part.isEmpty())
            continue;
        QString exact = current + part;
        if (QFileInfo::exists(exact)) {
            current = exact + QLatin1Char('/');
            continue;
        }
        const QStringList entries =
            QDir(current).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                    QDir::Name);
        QString match;
        for (const QString& e : entries)
            if (e.compare(part, Qt::CaseInsensitive) == 0) {
                match = e;
                break;
            }
        if (match.isEmpty())
            return path;
        current += match + QLatin1Char('/');
    }
    current.chop(1);
    return current;
}

// One SQLite handle and the stores on it; the transaction depth belongs to
// the handle, as SQLite's transaction does.
struct Connection::Handle {
    sqlite3* db = nullptr;
    bool shared = false;            // a data set's handle (attached stores)
    int depth = 0;
    bool rollbackOnly = false;
    QStringList writeLocked;        // schemas locked for writing in the open transaction
    int attached = 0;
    std::map<QString, QString> schemaOf; // canonical path -> schema name

    ~Handle()
    {
        if (!db)
            return;
        if (!sqlite3_get_autocommit(db))
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close_v2(db);
    }
};

namespace {

struct StoreGroup {
    QStringList members; // canonical paths
    std::weak_ptr<Connection::Handle> handle;
};

std::vector<std::shared_ptr<StoreGroup>>& groups()
{
    static std::vector<std::shared_ptr<StoreGroup>> g;
    return g;
}

std::shared_ptr<StoreGroup> groupOf(const QString& canonical)
{
    for (const auto& g : groups())
        if (g->members.contains(canonical))
            return g;
    return nullptr;
}

// Raises the message for a store the engine cannot read (after open or attach).
[[noreturn]] void failUnreadable(sqlite3* db, const QString& canonical)
{
    const int code = sqlite3_errcode(db) & 0xFF;
    const QString name = QFileInfo(canonical).fileName();
    if (code == SQLITE_NOTADB || code == SQLITE_CORRUPT)
        throw StoreError(QStringLiteral("\"%1\" bir veritabanı dosyası değil ya da bozuk: %2")
                             .arg(name, shown(canonical)));
    throw StoreError(QStringLiteral("\"%1\" veri dosyası açılamadı: %2\n(%3)")
                         .arg(name, EngineErrorText(sqlite3_errcode(db), sqliteMessage(db)), shown(canonical)));
}

std::shared_ptr<Connection::Handle> openHandle(const QString& canonical)
{
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(canonical.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    auto h = std::make_shared<Connection::Handle>();
    h->db = db;
    if (rc != SQLITE_OK)
        failUnreadable(db, canonical); // h closes the handle
    configureHandle(db);
    // The header check lets a damaged file through; reading the schema does not.
    if (sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK)
        failUnreadable(db, canonical);
    h->schemaOf[canonical] = QStringLiteral("main");
    return h;
}

QString quotedSchema(const QString& schema) { return QLatin1Char('"') + schema + QLatin1Char('"'); }

// Attaches a store to a data set's handle under a schema name of its own.
void attachStore(Connection::Handle& h, const QString& canonical)
{
    if (h.depth > 0)
        throw StoreError(QStringLiteral("\"%1\" veri dosyası, başka bir işlem sürerken açılamaz: %2")
                             .arg(QFileInfo(canonical).fileName(), shown(canonical)));
    const QString schema = QStringLiteral("s%1").arg(++h.attached);
    const QByteArray sql = (QStringLiteral("ATTACH DATABASE ?1 AS ") + quotedSchema(schema)).toUtf8();
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(h.db, sql.constData(), -1, &st, nullptr) != SQLITE_OK)
        failUnreadable(h.db, canonical);
    const QByteArray file = canonical.toUtf8();
    sqlite3_bind_text(st, 1, file.constData(), int(file.size()), SQLITE_STATIC);
    const int rc = sqlite3_step(st);
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE)
        failUnreadable(h.db, canonical);
    const QByteArray check = (QStringLiteral("SELECT count(*) FROM ") + quotedSchema(schema)
                              + QStringLiteral(".sqlite_master; PRAGMA ") + quotedSchema(schema)
                              + QStringLiteral(".journal_mode"))
                                 .toUtf8();
    if (sqlite3_exec(h.db, check.constData(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        const int code = sqlite3_errcode(h.db);
        const QString msg = sqliteMessage(h.db);
        sqlite3_exec(h.db, ("DETACH DATABASE " + quotedSchema(schema).toUtf8()).constData(), nullptr, nullptr,
                     nullptr);
        if ((code & 0xFF) == SQLITE_NOTADB || (code & 0xFF) == SQLITE_CORRUPT)
            throw StoreError(QStringLiteral("\"%1\" bir veritabanı dosyası değil ya da bozuk: %2")
                                 .arg(QFileInfo(canonical).fileName(), shown(canonical)));
        throw StoreError(QStringLiteral("\"%1\" veri dosyası açılamadı: %2\n(%3)")
                             .arg(QFileInfo(canonical).fileName(), EngineErrorText(code, msg), shown(canonical)));
    }
    h.schemaOf[canonical] = schema;
}

QString canonicalOf(const QString& path)
{
    const QFileInfo fi(Connection::ResolveCaseInsensitive(path));
    return fi.exists() ? fi.canonicalFilePath() : QString();
}

} // namespace

void Connection::JoinStores(const QStringList& paths)
{
    auto group = std::make_shared<StoreGroup>();
    for (const QString& p : paths) {
        const QString canonical = canonicalOf(p);
        if (!canonical.isEmpty() && !group->members.contains(canonical))
            group->members << canonical;
    }
    std::lock_guard<std::mutex> lock(registryMutex());
    auto& all = groups();
    // A store belongs to one data set: the latest declaration counts.
    for (auto& g : all)
        for (const QString& m : group->members)
            g->members.removeAll(m);
    std::erase_if(all, [](const auto& g) { return g->members.isEmpty(); });
    all.push_back(group);
}

std::shared_ptr<Connection> Connection::Open(const QString& path)
{
    const QString resolved = ResolveCaseInsensitive(path);
    QFileInfo fi(resolved);
    if (!fi.exists())
        throw StoreError(QStringLiteral("\"%1\" veri dosyası bulunamadı: %2")
                             .arg(QFileInfo(path).fileName(), shown(QFileInfo(path).absoluteFilePath())));
    const QString canonical = fi.canonicalFilePath();

    std::lock_guard<std::mutex> lock(registryMutex());
    auto& reg = registry();
    if (auto it = reg.find(canonical); it != reg.end())
        if (auto existing = it->second.lock())
            return existing;

    checkStoreFile(canonical);
    std::shared_ptr<Handle> h;
    const std::shared_ptr<StoreGroup> group = groupOf(canonical);
    if (group)
        h = group->handle.lock();
    if (!h) {
        h = openHandle(canonical);
        if (group) {
            h->shared = true;
            group->handle = h;
            // Every store of the set is attached now: attaching is not
            // possible once a transaction runs. One that cannot be read is
            // left out here and named when it is opened itself.
            for (const QString& m : group->members) {
                if (m == canonical)
                    continue;
                if (auto it = reg.find(m); it != reg.end() && !it->second.expired())
                    continue;
                try {
                    checkStoreFile(m);
                    attachStore(*h, m);
                } catch (const StoreError&) {
                }
            }
        }
    } else if (h->schemaOf.find(canonical) == h->schemaOf.end()) {
        attachStore(*h, canonical);
    }
    std::shared_ptr<Connection> conn(new Connection(h, h->schemaOf.at(canonical), canonical));
    AddQueryIndexes(*conn);
    reg[canonical] = conn;
    return conn;
}

std::shared_ptr<Connection> Connection::Create(const QString& path)
{
    QString resolved = ResolveCaseInsensitive(path);
    if (QFileInfo::exists(resolved))
        return Open(resolved);
    // A new file goes into the folder that is there, whatever its case.
    const QFileInfo given(path);
    resolved = ResolveCaseInsensitive(given.absolutePath()) + QLatin1Char('/') + given.fileName();
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(QFileInfo(resolved).absoluteFilePath().toUtf8().constData(), &db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        QString msg = db ? EngineErrorText(sqlite3_errcode(db), sqliteMessage(db)) : QString();
        sqlite3_close_v2(db);
        throw StoreError(QStringLiteral("\"%1\" veri dosyası oluşturulamadı: %2 (%3)")
                             .arg(QFileInfo(path).fileName(), msg, shown(resolved)));
    }
    // SQLite writes nothing until the first change; write the header now so
    // the file is a store from the start.
    sqlite3_exec(db, "PRAGMA user_version = 0", nullptr, nullptr, nullptr);
    sqlite3_close_v2(db);
    return Open(resolved);
}

Connection::Connection(std::shared_ptr<Handle> handle, QString schema, QString path)
    : h_(std::move(handle)), schema_(std::move(schema)), path_(std::move(path))
{
}

Connection::~Connection()
{
    forgetKeptStatements();
    // The handle goes with the last store on it (rolling back what is open).
    h_.reset();
    std::lock_guard<std::mutex> lock(registryMutex());
    auto& reg = registry();
    if (auto it = reg.find(path_); it != reg.end() && it->second.expired())
        reg.erase(it);
}

sqlite3* Connection::handle() const { return h_->db; }

QString Connection::schemaSql() const { return quotedSchema(schema_); }

bool Connection::InTransaction() const { return h_->depth > 0; }

QString EngineErrorText(int code, const QString& engineMessage)
{
    QString turkish;
    switch (code & 0xFF) {
    case SQLITE_BUSY:
        turkish = QStringLiteral("Veri dosyası başka bir işlem tarafından kilitli; biraz sonra yeniden deneyin");
        break;
    case SQLITE_LOCKED:
        turkish = QStringLiteral("Tablo, süren başka bir işlem tarafından kilitli");
        break;
    case SQLITE_READONLY:
        turkish = QStringLiteral("Veri dosyası salt okunur, değişiklik yazılamıyor");
        break;
    case SQLITE_FULL:
        turkish = QStringLiteral("Disk ya da veri dosyası dolu, değişiklik yazılamıyor");
        break;
    case SQLITE_CORRUPT:
        turkish = QStringLiteral("Veri dosyası bozuk");
        break;
    case SQLITE_NOTADB:
        turkish = QStringLiteral("Dosya bir veri dosyası değil");
        break;
    case SQLITE_CANTOPEN:
        turkish = QStringLiteral("Veri dosyası açılamıyor");
        break;
    case SQLITE_PERM:
    case SQLITE_AUTH:
        turkish = QStringLiteral("Veri dosyasına erişim izni yok");
        break;
    case SQLITE_IOERR:
        turkish = QStringLiteral("Diske okuma ya da yazma hatası");
        break;
    case SQLITE_NOMEM:
        turkish = QStringLiteral("Bellek yetersiz");
        break;
    case SQLITE_CONSTRAINT:
        turkish = QStringLiteral("Kayıt, veri dosyasının kurallarına uymuyor");
        break;
    case SQLITE_MISMATCH:
        turkish = QStringLiteral("Değer, alanın türüne uymuyor");
        break;
    case SQLITE_TOOBIG:
        turkish = QStringLiteral("Değer çok büyük");
        break;
    default: {
        // The engine names a missing table or field in its message.
        static const struct {
            const char* pattern;
            const char* turkish;
        } named[] = {
            {"^no such table: (.*)$", "Tablo bulunamadı: %1"},
            {"^no such column: (.*)$", "Alan bulunamadı: %1"},
            {"^table (\\S+) has no column named (.*)$", "Alan bulunamadı: %1.%2"},
            {"^(\\S+) has no column named (.*)$", "Alan bulunamadı: %1.%2"},
        };
        for (const auto& n : named) {
            const QRegularExpressionMatch m = QRegularExpression(QString::fromLatin1(n.pattern)).match(engineMessage);
            if (!m.hasMatch())
                continue;
            // A store attached to a data set's handle shows as "sN.": the
            // user knows the table by its own name.
            static const QRegularExpression schemaPrefix(QStringLiteral("^(main|s\\d+)\\."));
            QString a = m.captured(1), b = m.captured(2);
            a.remove(schemaPrefix);
            turkish = m.lastCapturedIndex() == 1 ? QString::fromUtf8(n.turkish).arg(a)
                                                  : QString::fromUtf8(n.turkish).arg(a, b);
            break;
        }
        if (turkish.isEmpty())
            turkish = QStringLiteral("Veri dosyası işlemi yapılamadı");
        break;
    }
    }
    if (engineMessage.isEmpty())
        return turkish;
    return turkish + QStringLiteral(" [") + engineMessage + QLatin1Char(']');
}

QString QualifyTables(const QString& sql, const QString& schemaSql)
{
    struct Token {
        int start;
        int end;
        enum Kind { Word, Quoted, Punct, Other } kind;
    };
    // Tokens that matter (comments and blanks left out).
    std::vector<Token> tokens;
    const int n = int(sql.size());
    int i = 0;
    while (i < n) {
        const QChar c = sql.at(i);
        if (c.isSpace()) {
            ++i;
        } else if (c == QLatin1Char('-') && i + 1 < n && sql.at(i + 1) == QLatin1Char('-')) {
            while (i < n && sql.at(i) != QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('/') && i + 1 < n && sql.at(i + 1) == QLatin1Char('*')) {
            const int close = sql.indexOf(QStringLiteral("*/"), i + 2);
            i = close < 0 ? n : close + 2;
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`')
                   || c == QLatin1Char('[')) {
            const QChar close = c == QLatin1Char('[') ? QLatin1Char(']') : c;
            int j = i + 1;
            while (j < n) {
                if (sql.at(j) == close) {
                    if (close != QLatin1Char(']') && j + 1 < n && sql.at(j + 1) == close) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            j = std::min(j + 1, n);
            tokens.push_back({i, j, c == QLatin1Char('\'') ? Token::Other : Token::Quoted});
            i = j;
        } else if (c.isLetter() || c == QLatin1Char('_') || c.unicode() >= 0x80) {
            int j = i + 1;
            while (j < n && (sql.at(j).isLetterOrNumber() || sql.at(j) == QLatin1Char('_')
                             || sql.at(j) == QLatin1Char('$') || sql.at(j).unicode() >= 0x80))
                ++j;
            tokens.push_back({i, j, Token::Word});
            i = j;
        } else if (c.isDigit()) {
            int j = i + 1;
            while (j < n && (sql.at(j).isLetterOrNumber() || sql.at(j) == QLatin1Char('.')))
                ++j;
            tokens.push_back({i, j, Token::Other});
            i = j;
        } else {
            tokens.push_back({i, i + 1, Token::Punct});
            ++i;
        }
    }
    const auto word = [&](size_t k) {
        return k < tokens.size() && tokens[k].kind == Token::Word
            ? sql.mid(tokens[k].start, tokens[k].end - tokens[k].start).toUpper()
            : QString();
    };
    const auto punct = [&](size_t k, char p) {
        return k < tokens.size() && tokens[k].kind == Token::Punct && sql.at(tokens[k].start) == QLatin1Char(p);
    };
    // Words that end a FROM list: after them a comma separates expressions.
    static const QStringList listEnds = {
        QStringLiteral("WHERE"),  QStringLiteral("GROUP"),     QStringLiteral("ORDER"),  QStringLiteral("LIMIT"),
        QStringLiteral("HAVING"), QStringLiteral("WINDOW"),    QStringLiteral("UNION"),  QStringLiteral("EXCEPT"),
        QStringLiteral("INTERSECT"), QStringLiteral("ON"),    QStringLiteral("USING"),  QStringLiteral("SET"),
        QStringLiteral("VALUES"), QStringLiteral("SELECT"),    QStringLiteral("RETURNING"),
    };
    std::vector<int> insertAt;
    std::vector<int> fromDepths; // paren depths at which a FROM list is open
    int depth = 0;
    bool expectTable = false;
    bool functionAllowed = false; // FROM/JOIN: a name followed by "(" is a table-valued function
    bool stopAfterName = false;   // a trigger: nothing after its name is qualified
    for (size_t k = 0; k < tokens.size(); ++k) {
        const QString w = word(k);
        if (expectTable) {
            if (w == QLatin1String("IF") || w == QLatin1String("NOT") || w == QLatin1String("EXISTS")
                || w == QLatin1String("OR") || w == QLatin1String("REPLACE") || w == QLatin1String("ABORT")
                || w == QLatin1String("ROLLBACK") || w == QLatin1String("FAIL") || w == QLatin1String("IGNORE"))
                continue;
            expectTable = false;
            const bool name = tokens[k].kind == Token::Word || tokens[k].kind == Token::Quoted;
            if (name && !punct(k + 1, '.') && !(functionAllowed && punct(k + 1, '(')))
                insertAt.push_back(tokens[k].start);
            if (stopAfterName)
                break;
            if (!name && !punct(k, '('))
                continue;
        }
        if (punct(k, '(')) {
            ++depth;
        } else if (punct(k, ')')) {
            while (!fromDepths.empty() && fromDepths.back() >= depth)
                fromDepths.pop_back();
            --depth;
        } else if (punct(k, ',')) {
            if (!fromDepths.empty() && fromDepths.back() == depth) {
                expectTable = true;
                functionAllowed = true;
            }
        } else if (w == QLatin1String("FROM")) {
            // "IS [NOT] DISTINCT FROM" compares values.
            if (word(k - 1) != QLatin1String("DISTINCT")) {
                expectTable = true;
                functionAllowed = true;
                if (fromDepths.empty() || fromDepths.back() != depth)
                    fromDepths.push_back(depth);
            }
        } else if (w == QLatin1String("JOIN")) {
            expectTable = true;
            functionAllowed = true;
        } else if (w == QLatin1String("TRIGGER") || w == QLatin1String("INDEX")) {
            // The trigger or index takes the schema by its own name; its
            // table ("ON Siparisler") and a trigger's body stay unqualified.
            expectTable = true;
            functionAllowed = false;
            if (w == QLatin1String("TRIGGER"))
                stopAfterName = true;
        } else if (w == QLatin1String("UPDATE") || w == QLatin1String("INTO") || w == QLatin1String("TABLE")) {
            // "ON CONFLICT DO UPDATE SET" and a trigger's "BEFORE UPDATE ON"
            // name no table.
            const QString before = word(k - 1);
            if (!(w == QLatin1String("UPDATE")
                  && (before == QLatin1String("DO") || before == QLatin1String("BEFORE")
                      || before == QLatin1String("AFTER") || before == QLatin1String("OF")))) {
                expectTable = true;
                functionAllowed = false;
            }
        } else if (listEnds.contains(w)) {
            if (!fromDepths.empty() && fromDepths.back() == depth)
                fromDepths.pop_back();
        }
    }
    if (insertAt.empty())
        return sql;
    QString out = sql;
    for (auto it = insertAt.rbegin(); it != insertAt.rend(); ++it)
        out.insert(*it, schemaSql + QLatin1Char('.'));
    return out;
}

QString Connection::Qualified(const QString& sql) const
{
    return schema_ == QLatin1String("main") ? sql : QualifyTables(sql, schemaSql());
}

void Connection::Fail(const QString& what) const
{
    const int code = sqlite3_extended_errcode(h_->db);
    const QString engine = EngineErrorText(code, sqliteMessage(h_->db));
    throw StoreError(QStringLiteral("\"%1\" veri dosyasında hata: %2\n%3")
                         .arg(QFileInfo(path_).fileName(), engine, what),
                     (code & 0xFF) == SQLITE_BUSY || (code & 0xFF) == SQLITE_LOCKED);
}

int Connection::ExecuteNative(const QString& sql)
{
    const QByteArray utf8 = Qualified(sql).toUtf8();
    const char* tail = utf8.constData();
    const char* end = tail + utf8.size();
    int changed = 0;
    while (tail < end) {
        sqlite3_stmt* stmt = nullptr;
        const char* next = nullptr;
        if (sqlite3_prepare_v2(h_->db, tail, int(end - tail), &stmt, &next) != SQLITE_OK)
            Fail(sql);
        tail = next;
        if (!stmt)
            continue; // blanks or a comment
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        }
        if (rc != SQLITE_DONE) {
            sqlite3_finalize(stmt);
            Fail(sql);
        }
        changed = sqlite3_changes(h_->db);
        sqlite3_finalize(stmt);
    }
    return changed;
}

int Connection::Execute(const QString& jetSql)
{
    return ExecuteNative(TranslateJet(jetSql));
}

void Connection::forgetKeptStatements()
{
    for (sqlite3_stmt* st : std::as_const(kept_))
        sqlite3_finalize(st);
    kept_.clear();
}

QVariant Connection::Scalar(const QString& jetSql)
{
    // Sums and counts asked once per staff member or kind differ only in
    // their values: each shape is translated and prepared once, its values
    // bound.
    QString shape;
    QStringList values;
    sqlite3_stmt* kept = nullptr;
    if (SplitValues(jetSql, &shape, &values)) {
        auto it = kept_.constFind(shape);
        if (it == kept_.cend()) {
            QString sql = Qualified(TranslateJet(shape));
            sqlite3_stmt* st = nullptr;
            if (ParametersForStandIns(&sql, int(values.size()))) {
                const QByteArray utf8 = sql.toUtf8();
                if (sqlite3_prepare_v3(h_->db, utf8.constData(), int(utf8.size()), SQLITE_PREPARE_PERSISTENT, &st,
                                       nullptr)
                    != SQLITE_OK)
                    Fail(jetSql);
            }
            if (kept_.size() >= 64)
                forgetKeptStatements();
            it = kept_.insert(shape, st);
        }
        kept = *it;
    }

    sqlite3_stmt* stmt = kept;
    if (kept) {
        for (int k = 0; k < values.size(); ++k) {
            const QByteArray utf8 = values[k].toUtf8();
            sqlite3_bind_text(kept, k + 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        }
    } else {
        const QByteArray utf8 = Qualified(TranslateJet(jetSql)).toUtf8();
        if (sqlite3_prepare_v2(h_->db, utf8.constData(), int(utf8.size()), &stmt, nullptr) != SQLITE_OK)
            Fail(jetSql);
        if (!stmt)
            return {};
    }
    // A kept statement is reset for its next use, so it holds no read lock.
    const auto done = [&] {
        if (kept) {
            sqlite3_reset(kept);
            sqlite3_clear_bindings(kept);
        } else {
            sqlite3_finalize(stmt);
        }
    };
    QVariant result;
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW) {
        switch (sqlite3_column_type(stmt, 0)) {
        case SQLITE_INTEGER:
            result = QVariant(qlonglong(sqlite3_column_int64(stmt, 0)));
            break;
        case SQLITE_FLOAT:
            result = QVariant(sqlite3_column_double(stmt, 0));
            break;
        case SQLITE_TEXT:
            result = QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)),
                                                sqlite3_column_bytes(stmt, 0)));
            break;
        case SQLITE_BLOB:
            result = QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(stmt, 0)),
                                         sqlite3_column_bytes(stmt, 0)));
            break;
        default:
            break;
        }
    } else if (rc != SQLITE_DONE) {
        done();
        Fail(jetSql);
    }
    done();
    return result;
}

ReadSnapshot::ReadSnapshot(const Connection* c)
{
    sqlite3* db = c ? c->handle() : nullptr;
    if (db && sqlite3_get_autocommit(db) && sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK)
        db_ = db;
}

ReadSnapshot::~ReadSnapshot()
{
    // Only reads happened: ending it gives up the read locks and cannot fail
    // in a way that loses anything.
    if (db_ && !sqlite3_get_autocommit(db_))
        sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
}

void Connection::Begin()
{
    Handle& h = *h_;
    if (h.depth == 0) {
        // A store alone takes its write lock with the transaction; on a data
        // set's handle IMMEDIATE would lock every store of the set, so each
        // store taking part locks its own (lockForWriting).
        const char* begin = h.shared ? "BEGIN" : "BEGIN IMMEDIATE";
        if (sqlite3_exec(h.db, begin, nullptr, nullptr, nullptr) != SQLITE_OK)
            Fail(QStringLiteral("İşlem başlatılamadı."));
        h.rollbackOnly = false;
        h.writeLocked.clear();
    }
    ++h.depth;
    if (h.shared) {
        try {
            lockForWriting();
        } catch (...) {
            Rollback();
            throw;
        }
    }
}

void Connection::lockForWriting()
{
    Handle& h = *h_;
    if (h.writeLocked.contains(schema_))
        return;
    // A statement that writes to the store but changes no row takes its
    // write lock (the busy timeout applies) and nothing else.
    const QByteArray find = (QStringLiteral("SELECT name FROM ") + schemaSql()
                             + QStringLiteral(".sqlite_schema WHERE type='table' AND name NOT LIKE 'sqlite^_%' "
                                              "ESCAPE '^' LIMIT 1"))
                                .toUtf8();
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(h.db, find.constData(), -1, &st, nullptr) != SQLITE_OK)
        Fail(QStringLiteral("İşlem başlatılamadı."));
    QString table;
    const int rc = sqlite3_step(st);
    if (rc == SQLITE_ROW)
        table = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        Fail(QStringLiteral("İşlem başlatılamadı."));
    if (!table.isEmpty()) {
        QString quoted = table;
        quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        const QByteArray lockSql = (QStringLiteral("DELETE FROM ") + schemaSql() + QStringLiteral(".\"") + quoted
                                    + QStringLiteral("\" WHERE 0"))
                                       .toUtf8();
        if (sqlite3_exec(h.db, lockSql.constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
            Fail(QStringLiteral("İşlem başlatılamadı."));
    }
    h.writeLocked << schema_;
}

void Connection::Commit()
{
    Handle& h = *h_;
    if (h.depth == 0)
        throw StoreError(QStringLiteral("Onaylanacak açık bir işlem yok (%1).").arg(QFileInfo(path_).fileName()));
    if (--h.depth > 0)
        return;
    if (h.rollbackOnly) {
        h.rollbackOnly = false;
        if (!sqlite3_get_autocommit(h.db))
            sqlite3_exec(h.db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw StoreError(QStringLiteral("\"%1\" veri dosyasındaki değişiklikler kaydedilmedi: işlemin bir bölümü "
                                        "başarısız olduğu için tümü geri alındı.")
                             .arg(QFileInfo(path_).fileName()));
    }
    if (sqlite3_exec(h.db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
        const QString msg = EngineErrorText(sqlite3_extended_errcode(h.db), sqliteMessage(h.db));
        if (!sqlite3_get_autocommit(h.db))
            sqlite3_exec(h.db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw StoreError(QStringLiteral("\"%1\" veri dosyasındaki değişiklikler kaydedilemedi: %2")
                             .arg(QFileInfo(path_).fileName(), msg));
    }
}

void Connection::Rollback()
{
    Handle& h = *h_;
    // Leaving a level that is already closed (a failed Commit) is harmless.
    if (h.depth == 0)
        return;
    if (--h.depth > 0) {
        // An inner level cannot undo its own part alone: the whole action
        // is undone when the outermost level ends.
        h.rollbackOnly = true;
        return;
    }
    h.rollbackOnly = false;
    if (!sqlite3_get_autocommit(h.db))
        sqlite3_exec(h.db, "ROLLBACK", nullptr, nullptr, nullptr);
}

} // namespace store
