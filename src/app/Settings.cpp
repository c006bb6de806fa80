#include "app/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QtEndian>

#include <optional>
#include <vector>

// The hive file is kept as the user (or regedit) wrote it: every line is held
// as it was read, and a write replaces or appends only the one value it sets.
// So comments, other keys, other roots and values of every type survive a
// save byte for byte.
namespace app {

namespace {

constexpr int kRegNone = 0;
constexpr int kRegSz = 1;
constexpr int kRegDword = 4;
constexpr int kRegBinary = 3;

const QString kRootName = QStringLiteral("HKEY_CURRENT_USER");

enum class Encoding { Utf8, Utf8Bom, Utf16LeBom, Utf16Le };

// One value as it reads: its type, and for REG_SZ the text.
struct RegValue {
    int type = kRegNone;
    QString text;
    bool deleted = false;
};

// One logical line of the file (a hex value may run over several physical
// lines; `raw` then holds them joined with the file's line end).
struct Line {
    enum Kind { Other, Section, Value } kind = Other;
    QString raw;
    QString key;     // Section: the normalised key; Value: the key it belongs to
    bool deletesKey = false;
    QString name;    // Value: the value's name ("" for the default value @)
    RegValue value;  // Value
};

struct Document {
    std::vector<Line> lines;
    QString eol = QStringLiteral("\n");
    bool endsWithEol = true;
    Encoding encoding = Encoding::Utf8;
    bool hasHeader = false;
};

struct ParseResult {
    Document doc;
    QString problem; // empty when the file was understood
};

QString fold(const QString& s) { return s.toCaseFolded(); }

// "HKCU\Kapivar\\Properties1\" -> "HKEY_CURRENT_USER\Kapivar\Properties1", folded.
QString normaliseKey(QString key)
{
    key = key.trimmed();
    while (key.endsWith(QLatin1Char('\\')))
        key.chop(1);
    if (key.compare(QLatin1String("HKCU"), Qt::CaseInsensitive) == 0
        || key.startsWith(QLatin1String("HKCU\\"), Qt::CaseInsensitive))
        key = kRootName + key.mid(4);
    QStringList parts = key.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    return fold(parts.join(QLatin1Char('\\')));
}

QString fullKey(const QString& subKey) { return normaliseKey(kRootName + QLatin1Char('\\') + subKey); }

bool isUnder(const QString& key, const QString& parent)
{
    return key == parent || key.startsWith(parent + QLatin1Char('\\'));
}

// Reads a .reg quoted text starting at s[pos] == '"'. \\ and \" are the
// escapes regedit writes; any other escaped character stands for itself.
std::optional<QString> readQuoted(const QString& s, int& pos)
{
    QString out;
    for (++pos; pos < s.size(); ++pos) {
        const QChar c = s[pos];
        if (c == QLatin1Char('"')) {
            ++pos;
            return out;
        }
        if (c == QLatin1Char('\\')) {
            if (++pos >= s.size())
                return std::nullopt;
            out += s[pos];
        } else {
            out += c;
        }
    }
    return std::nullopt;
}

QString escapeQuoted(const QString& s)
{
    QString out;
    out.reserve(s.size() + 2);
    out += QLatin1Char('"');
    for (QChar c : s) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('"'))
            out += QLatin1Char('\\');
        out += c;
    }
    out += QLatin1Char('"');
    return out;
}

std::optional<QByteArray> readHexBytes(const QString& text)
{
    QByteArray bytes;
    const QStringList parts = text.split(QLatin1Char(','));
    for (const QString& p : parts) {
        const QString t = p.trimmed();
        if (t.isEmpty()) {
            if (parts.size() == 1)
                break; // "hex:" with no bytes
            return std::nullopt;
        }
        bool ok = false;
        const uint b = t.toUInt(&ok, 16);
        if (!ok || t.size() > 2 || b > 0xff)
            return std::nullopt;
        bytes.append(char(b));
    }
    return bytes;
}

// Text of a REG_SZ given as bytes: UTF-16LE, read whole when it holds no NUL,
// cut at the first NUL otherwise.
QString textFromUtf16(const QByteArray& bytes)
{
    QString s;
    const int n = int(bytes.size()) / 2;
    s.reserve(n);
    for (int i = 0; i < n; ++i) {
        const char16_t u = qFromLittleEndian<quint16>(bytes.constData() + 2 * i);
        if (u == 0)
            break;
        s += QChar(u);
    }
    return s;
}

// Parses the data part of a value line ("...", dword:..., hex(..):..., -).
std::optional<RegValue> readData(const QString& data, QString& why)
{
    RegValue v;
    const QString d = data.trimmed();
    if (d == QLatin1String("-")) {
        v.deleted = true;
        return v;
    }
    if (d.startsWith(QLatin1Char('"'))) {
        int pos = 0;
        auto text = readQuoted(d, pos);
        if (!text || !d.mid(pos).trimmed().isEmpty()) {
            why = QStringLiteral("tırnak içindeki değer düzgün kapanmıyor");
            return std::nullopt;
        }
        v.type = kRegSz;
        v.text = *text;
        const int nul = v.text.indexOf(QChar(0));
        if (nul >= 0)
            v.text.truncate(nul);
        return v;
    }
    if (d.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
        const QString digits = d.mid(6).trimmed();
        bool ok = false;
        digits.toUInt(&ok, 16);
        if (!ok || digits.size() > 8) {
            why = QStringLiteral("dword değeri sekiz onaltılık rakam olmalı");
            return std::nullopt;
        }
        v.type = kRegDword;
        return v;
    }
    if (d.startsWith(QLatin1String("hex"), Qt::CaseInsensitive)) {
        const int colon = d.indexOf(QLatin1Char(':'));
        if (colon < 0) {
            why = QStringLiteral("hex değerinde ':' yok");
            return std::nullopt;
        }
        const QString head = d.left(colon).trimmed();
        int type = kRegBinary;
        if (head.size() > 3) {
            if (!head.startsWith(QLatin1String("hex("), Qt::CaseInsensitive) || !head.endsWith(QLatin1Char(')'))) {
                why = QStringLiteral("değer türü anlaşılmadı");
                return std::nullopt;
            }
            bool ok = false;
            type = head.mid(4, head.size() - 5).toInt(&ok, 16);
            if (!ok || type < 0) {
                why = QStringLiteral("değer türü anlaşılmadı");
                return std::nullopt;
            }
        }
        auto bytes = readHexBytes(d.mid(colon + 1));
        if (!bytes) {
            why = QStringLiteral("onaltılık baytlar okunamadı");
            return std::nullopt;
        }
        v.type = type;
        if (type == kRegSz)
            v.text = textFromUtf16(*bytes);
        return v;
    }
    why = QStringLiteral("değer türü anlaşılmadı");
    return std::nullopt;
}

std::optional<QString> decodeFile(const QByteArray& bytes, Encoding& enc)
{
    if (bytes.startsWith("\xFF\xFE")) {
        enc = Encoding::Utf16LeBom;
        QStringDecoder dec(QStringDecoder::Utf16LE, QStringDecoder::Flag::Stateless);
        QString s = dec.decode(bytes.mid(2));
        if (dec.hasError())
            return std::nullopt;
        return s;
    }
    if (bytes.size() >= 2 && bytes.at(0) != 0 && bytes.at(1) == 0) {
        enc = Encoding::Utf16Le;
        QStringDecoder dec(QStringDecoder::Utf16LE, QStringDecoder::Flag::Stateless);
        QString s = dec.decode(bytes);
        if (dec.hasError())
            return std::nullopt;
        return s;
    }
    QByteArray body = bytes;
    enc = Encoding::Utf8;
    if (body.startsWith("\xEF\xBB\xBF")) {
        enc = Encoding::Utf8Bom;
        body = body.mid(3);
    }
    QStringDecoder dec(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString s = dec.decode(body);
    if (dec.hasError())
        return std::nullopt;
    return s;
}

QByteArray encodeFile(const QString& text, Encoding enc)
{
    switch (enc) {
    case Encoding::Utf16LeBom:
    case Encoding::Utf16Le: {
        QStringEncoder e(QStringEncoder::Utf16LE);
        QByteArray out = enc == Encoding::Utf16LeBom ? QByteArray("\xFF\xFE", 2) : QByteArray();
        out += QByteArray(e.encode(text));
        return out;
    }
    case Encoding::Utf8Bom:
        return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    case Encoding::Utf8:
        break;
    }
    return text.toUtf8();
}

ParseResult parse(const QByteArray& bytes)
{
    ParseResult r;
    Document& doc = r.doc;
    auto text = decodeFile(bytes, doc.encoding);
    if (!text) {
        r.problem = QStringLiteral("metin kodlaması çözülemedi (UTF-8 ya da UTF-16 olmalı)");
        return r;
    }
    if (text->contains(QLatin1String("\r\n")))
        doc.eol = QStringLiteral("\r\n");
    doc.endsWithEol = text->isEmpty() || text->endsWith(QLatin1Char('\n'));
    QStringList physical = text->split(QLatin1Char('\n'));
    if (doc.endsWithEol && !physical.isEmpty())
        physical.removeLast();
    for (QString& l : physical)
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);

    bool headerSeen = false;
    QString currentKey;
    bool inSection = false;
    for (int i = 0; i < physical.size(); ++i) {
        const int lineNo = i + 1;
        Line line;
        line.raw = physical[i];
        const QString t = line.raw.trimmed();
        auto fail = [&](const QString& why) {
            r.problem = QStringLiteral("satır %1: %2").arg(lineNo).arg(why);
        };
        if (t.isEmpty() || t.startsWith(QLatin1Char(';'))) {
            doc.lines.push_back(line);
            continue;
        }
        if (!headerSeen) {
            if (t != QLatin1String("Windows Registry Editor Version 5.00") && t != QLatin1String("REGEDIT4")) {
                fail(QStringLiteral("ilk satır \"Windows Registry Editor Version 5.00\" olmalı"));
                return r;
            }
            headerSeen = true;
            doc.hasHeader = true;
            doc.lines.push_back(line);
            continue;
        }
        if (t.startsWith(QLatin1Char('['))) {
            if (!t.endsWith(QLatin1Char(']'))) {
                fail(QStringLiteral("anahtar satırı ']' ile bitmiyor"));
                return r;
            }
            QString name = t.mid(1, t.size() - 2);
            line.kind = Line::Section;
            if (name.startsWith(QLatin1Char('-'))) {
                line.deletesKey = true;
                name = name.mid(1);
            }
            line.key = normaliseKey(name);
            if (line.key.isEmpty()) {
                fail(QStringLiteral("anahtar adı boş"));
                return r;
            }
            currentKey = line.key;
            inSection = !line.deletesKey;
            doc.lines.push_back(line);
            continue;
        }
        if (t.startsWith(QLatin1Char('"')) || t.startsWith(QLatin1Char('@'))) {
            if (!inSection) {
                fail(QStringLiteral("değer bir anahtar satırından önce geliyor"));
                return r;
            }
            // A hex value continues on the next line after a trailing backslash.
            QString logical = t;
            while (logical.endsWith(QLatin1Char('\\')) && i + 1 < physical.size()
                   && logical.contains(QLatin1String("=hex"), Qt::CaseInsensitive)) {
                logical.chop(1);
                ++i;
                logical += physical[i].trimmed();
                line.raw += doc.eol + physical[i];
            }
            int pos = 0;
            if (logical.startsWith(QLatin1Char('@'))) {
                pos = 1;
            } else {
                auto name = readQuoted(logical, pos);
                if (!name) {
                    fail(QStringLiteral("değer adının tırnağı kapanmıyor"));
                    return r;
                }
                line.name = *name;
            }
            while (pos < logical.size() && logical[pos].isSpace())
                ++pos;
            if (pos >= logical.size() || logical[pos] != QLatin1Char('=')) {
                fail(QStringLiteral("değer adından sonra '=' yok"));
                return r;
            }
            QString why;
            auto value = readData(logical.mid(pos + 1), why);
            if (!value) {
                fail(why);
                return r;
            }
            line.kind = Line::Value;
            line.key = currentKey;
            line.value = *value;
            doc.lines.push_back(line);
            continue;
        }
        fail(QStringLiteral("satır anlaşılmadı"));
        return r;
    }
    if (!headerSeen && !physical.isEmpty() && !text->trimmed().isEmpty())
        r.problem = QStringLiteral("ilk satır \"Windows Registry Editor Version 5.00\" olmalı");
    return r;
}

// The values of a key as the file leaves them, applying the lines in order.
struct KeyState {
    bool exists = false;
    std::optional<RegValue> value;
};

KeyState lookup(const Document& doc, const QString& key, const QString& valueName)
{
    KeyState st;
    const QString name = fold(valueName);
    for (const Line& l : doc.lines) {
        if (l.kind == Line::Section) {
            if (l.deletesKey && isUnder(key, l.key)) {
                st = {};
            } else if (!l.deletesKey && l.key == key) {
                st.exists = true;
            }
        } else if (l.kind == Line::Value && l.key == key && fold(l.name) == name) {
            if (l.value.deleted)
                st.value.reset();
            else
                st.value = l.value;
        }
    }
    return st;
}

QString serialise(const Document& doc)
{
    QStringList raws;
    raws.reserve(int(doc.lines.size()));
    for (const Line& l : doc.lines)
        raws << l.raw;
    QString out = raws.join(doc.eol);
    if (doc.endsWithEol && !doc.lines.empty())
        out += doc.eol;
    return out;
}

// The line for a REG_SZ value: the quoted form where it can carry the text,
// hex(1) (UTF-16LE, no terminating NUL) for texts with line breaks or NULs.
QString valueLine(const QString& name, const QString& text, const QString& eol)
{
    const QString head = (name.isEmpty() ? QStringLiteral("@") : escapeQuoted(name)) + QLatin1Char('=');
    const bool plain = !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r'))
        && !text.contains(QChar(0));
    if (plain)
        return head + escapeQuoted(text);
    QString out = head + QStringLiteral("hex(1):");
    int width = int(out.size());
    QStringList bytes;
    for (QChar c : text) {
        bytes << QStringLiteral("%1").arg(c.unicode() & 0xff, 2, 16, QLatin1Char('0'));
        bytes << QStringLiteral("%1").arg(c.unicode() >> 8, 2, 16, QLatin1Char('0'));
    }
    for (int i = 0; i < bytes.size(); ++i) {
        const bool last = i + 1 == bytes.size();
        QString piece = bytes[i] + (last ? QString() : QStringLiteral(","));
        if (width + piece.size() > 77 && !last) {
            out += QLatin1Char('\\') + eol + QStringLiteral("  ");
            width = 2;
        }
        out += piece;
        width += int(piece.size());
    }
    return out;
}

void setValue(Document& doc, const QString& key, const QString& keyText, const QString& name,
              const QString& text)
{
    Line line;
    line.kind = Line::Value;
    line.key = key;
    line.name = name;
    line.value.type = kRegSz;
    line.value.text = text;
    line.raw = valueLine(name, text, doc.eol);

    // Replace the value where it stands, so its place among the others stays.
    for (auto it = doc.lines.rbegin(); it != doc.lines.rend(); ++it) {
        if (it->kind == Line::Value && it->key == key && fold(it->name) == fold(name)) {
            *it = line;
            if (lookup(doc, key, name).value && lookup(doc, key, name).value->text == text)
                return;
            break;
        }
    }
    // Otherwise add it to the last section of the key, after its last value.
    int sectionAt = -1;
    for (int i = int(doc.lines.size()) - 1; i >= 0; --i)
        if (doc.lines[i].kind == Line::Section && !doc.lines[i].deletesKey && doc.lines[i].key == key) {
            sectionAt = i;
            break;
        }
    if (sectionAt >= 0) {
        int insertAt = sectionAt + 1;
        for (int i = sectionAt + 1; i < int(doc.lines.size()) && doc.lines[i].kind != Line::Section; ++i)
            if (!doc.lines[i].raw.trimmed().isEmpty())
                insertAt = i + 1;
        doc.lines.insert(doc.lines.begin() + insertAt, line);
        auto st = lookup(doc, key, name);
        if (st.value && st.value->text == text)
            return;
        doc.lines.erase(doc.lines.begin() + insertAt);
    }
    // A new section at the end (also when a later line deletes the key).
    Line blank;
    if (!doc.lines.empty() && !doc.lines.back().raw.trimmed().isEmpty())
        doc.lines.push_back(blank);
    Line section;
    section.kind = Line::Section;
    section.key = key;
    section.raw = QLatin1Char('[') + keyText + QLatin1Char(']');
    doc.lines.push_back(section);
    doc.lines.push_back(line);
    doc.endsWithEol = true;
}

Document newDocument()
{
    Document doc;
    Line header;
    header.raw = QStringLiteral("Windows Registry Editor Version 5.00");
    doc.lines.push_back(header);
    doc.lines.push_back(Line{});
    doc.hasHeader = true;
    return doc;
}

// The cached state of the hive file: re-parsed whenever its bytes change.
struct Hive {
    QMutex mutex;
    QString overridePath;
    QString loadedPath;
    bool loaded = false;
    bool exists = false;
    QByteArray bytes;
    QString readProblem;
    ParseResult parsed;
    QString problem;
    bool problemTaken = false;
};

Hive& hive()
{
    static Hive h;
    return h;
}

QString defaultPath()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/velmora/HKEY_CURRENT_USER.reg");
}

QString currentPath(const Hive& h) { return h.overridePath.isEmpty() ? defaultPath() : h.overridePath; }

// Reads the file again if it changed since the last look; called with the lock held.
void refresh(Hive& h)
{
    const QString path = currentPath(h);
    QFile f(path);
    QByteArray bytes;
    bool exists = f.exists();
    QString readProblem;
    if (exists) {
        if (f.open(QIODevice::ReadOnly))
            bytes = f.readAll();
        else
            readProblem = f.errorString();
    }
    if (h.loaded && h.loadedPath == path && h.exists == exists && h.bytes == bytes
        && h.readProblem == readProblem)
        return;
    h.loaded = true;
    h.loadedPath = path;
    h.exists = exists;
    h.bytes = bytes;
    h.readProblem = readProblem;
    h.parsed = exists && readProblem.isEmpty() ? parse(bytes) : ParseResult{};
    const QString why = !readProblem.isEmpty() ? readProblem : h.parsed.problem;
    h.problem = why.isEmpty()
        ? QString()
        : QStringLiteral("Ayar dosyası okunamadı: %1\n(%2)\nAyarlar boş sayılıyor; dosya değiştirilmeyecek.")
              .arg(QDir::toNativeSeparators(path), why);
    h.problemTaken = false; // a changed file is worth a new report
}

QString textOf(const Document& doc, const QString& subKey, const QString& valueName)
{
    const KeyState st = lookup(doc, fullKey(subKey), valueName);
    if (!st.exists || !st.value || st.value->type != kRegSz)
        return {};
    return st.value->text;
}

// What a read gives for a text set with SaveRegString: REG_SZ ends at a NUL.
QString asStored(const QString& value)
{
    const int nul = int(value.indexOf(QChar(0)));
    return nul < 0 ? value : value.left(nul);
}

// The file's bytes with the value set, or nothing when the result would not
// read back as the value with every other value as it was (a value name
// with a line break, say, cannot be written in the format): the write is
// then dropped rather than leaving a file the next start cannot read.
std::optional<QByteArray> bytesWithValue(Document doc, const QString& subKey, const QString& valueName,
                                         const QString& value)
{
    if (!doc.hasHeader) {
        // An empty file (or one of comments only) gets the header it lacks;
        // without it the next read would refuse the whole file.
        Document fresh = newDocument();
        fresh.lines.insert(fresh.lines.end(), doc.lines.begin(), doc.lines.end());
        fresh.encoding = doc.encoding;
        fresh.eol = doc.eol;
        doc = fresh;
    }
    QString keyText = kRootName;
    for (const QString& part : subKey.split(QLatin1Char('\\'), Qt::SkipEmptyParts))
        keyText += QLatin1Char('\\') + part;
    const QString key = fullKey(subKey);
    const Document before = doc;
    setValue(doc, key, keyText, valueName, value);
    QByteArray bytes = encodeFile(serialise(doc), doc.encoding);

    const ParseResult check = parse(bytes);
    if (!check.problem.isEmpty() || textOf(check.doc, subKey, valueName) != asStored(value))
        return std::nullopt;
    for (const Line& l : before.lines) {
        if (l.kind != Line::Value || (l.key == key && fold(l.name) == fold(valueName)))
            continue;
        const KeyState was = lookup(before, l.key, l.name), now = lookup(check.doc, l.key, l.name);
        if (was.exists != now.exists || was.value.has_value() != now.value.has_value()
            || (was.value && (was.value->type != now.value->type || was.value->text != now.value->text)))
            return std::nullopt;
    }
    return bytes;
}

} // namespace

QString GetRegString(RootKey, const QString& subKey, const QString& valueName)
{
    Hive& h = hive();
    QMutexLocker lock(&h.mutex);
    refresh(h);
    if (!h.exists || !h.problem.isEmpty())
        return {};
    return textOf(h.parsed.doc, subKey, valueName);
}

void SaveRegString(RootKey, const QString& subKey, const QString& valueName, const QString& value)
{
    Hive& h = hive();
    QMutexLocker lock(&h.mutex);
    refresh(h);
    if (!h.problem.isEmpty())
        return; // never overwrite a file we could not understand
    const std::optional<QByteArray> bytes =
        bytesWithValue(h.exists ? h.parsed.doc : newDocument(), subKey, valueName, value);
    if (!bytes)
        return;

    const QString path = currentPath(h);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return; // a failed write leaves the old value
    out.write(*bytes);
    out.commit();
}

QString RegStringInHive(const QByteArray& hiveBytes, const QString& subKey, const QString& valueName,
                        QString* problem)
{
    const ParseResult r = parse(hiveBytes);
    if (problem)
        *problem = r.problem;
    if (!r.problem.isEmpty())
        return {};
    return textOf(r.doc, subKey, valueName);
}

std::optional<QByteArray> HiveWithRegString(const QByteArray& hiveBytes, const QString& subKey,
                                            const QString& valueName, const QString& value)
{
    const ParseResult r = parse(hiveBytes);
    if (!r.problem.isEmpty())
        return std::nullopt;
    return bytesWithValue(r.doc, subKey, valueName, value);
}

QString SettingsFile::Path()
{
    Hive& h = hive();
    QMutexLocker lock(&h.mutex);
    return currentPath(h);
}

void SettingsFile::SetPathForTesting(const QString& path)
{
    Hive& h = hive();
    QMutexLocker lock(&h.mutex);
    h.overridePath = path;
    h.loaded = false;
    h.problem.clear();
    h.problemTaken = false;
}

QString SettingsFile::LastProblem()
{
    Hive& h = hive();
    QMutexLocker lock(&h.mutex);
    refresh(h);
    return h.problem;
}

QString SettingsFile::TakeProblem()
{
    Hive& h = hive();
    QMutexLocker lock(&h.mutex);
    refresh(h);
    if (h.problemTaken)
        return {};
    h.problemTaken = true;
    return h.problem;
}

} // namespace app
