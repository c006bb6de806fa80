#include "store/JetDialect.h"

#include "store/StoreError.h"

#include <QDate>
#include <QRegularExpression>
#include <QSet>

#include <utility>
#include <vector>

namespace store {

namespace {

enum class Kind {
    Space,
    Word,       // identifier or keyword
    Name,       // [bracketed name]
    String,     // already in SQLite form
    Date,       // already in SQLite form
    Number,
    Operator,   // = <> < > <= >= + - * / . &
    Open,
    Close,
    Comma,
    Semicolon,
};

struct Token {
    Kind kind;
    QString text; // as written
    QString out;  // as SQLite gets it
    QString upper;
};

[[noreturn]] void reject(const QString& why, const QString& jet)
{
    throw DialectError(why + QStringLiteral("\nSorgu: ") + jet);
}

// The aggregates the program uses; every other function of the dialect
// (IIf, Nz, Format, Left ...) behaves differently enough in SQLite, or is
// missing there, so it is refused rather than guessed.
const QSet<QString>& allowedFunctions()
{
    static const QSet<QString> s{QStringLiteral("SUM"), QStringLiteral("COUNT"), QStringLiteral("MIN"),
                                 QStringLiteral("MAX"), QStringLiteral("AVG")};
    return s;
}

// Keywords after which "(" opens a group, a list or a subquery, not a call.
const QSet<QString>& keywordsBeforeParen()
{
    static const QSet<QString> s{
        QStringLiteral("SELECT"), QStringLiteral("DISTINCT"), QStringLiteral("FROM"),   QStringLiteral("WHERE"),
        QStringLiteral("AND"),    QStringLiteral("OR"),       QStringLiteral("NOT"),    QStringLiteral("IN"),
        QStringLiteral("EXISTS"), QStringLiteral("ON"),       QStringLiteral("BY"),     QStringLiteral("HAVING"),
        QStringLiteral("VALUES"), QStringLiteral("SET"),      QStringLiteral("JOIN"),   QStringLiteral("UNION"),
        QStringLiteral("ALL"),    QStringLiteral("BETWEEN"),  QStringLiteral("LIKE"),   QStringLiteral("IS"),
        QStringLiteral("ANY"),    QStringLiteral("SOME"),
    };
    return s;
}

// Keywords of lower precedence than "&": they end its operands.
const QSet<QString>& boundaryKeywords()
{
    static const QSet<QString> s{
        QStringLiteral("SELECT"), QStringLiteral("DISTINCT"), QStringLiteral("FROM"),   QStringLiteral("WHERE"),
        QStringLiteral("AND"),    QStringLiteral("OR"),       QStringLiteral("NOT"),    QStringLiteral("IN"),
        QStringLiteral("EXISTS"), QStringLiteral("ON"),       QStringLiteral("AS"),     QStringLiteral("BY"),
        QStringLiteral("ORDER"),  QStringLiteral("GROUP"),    QStringLiteral("HAVING"), QStringLiteral("VALUES"),
        QStringLiteral("SET"),    QStringLiteral("JOIN"),     QStringLiteral("INNER"),  QStringLiteral("LEFT"),
        QStringLiteral("RIGHT"),  QStringLiteral("OUTER"),    QStringLiteral("UNION"),  QStringLiteral("ALL"),
        QStringLiteral("BETWEEN"),QStringLiteral("LIKE"),     QStringLiteral("IS"),     QStringLiteral("ASC"),
        QStringLiteral("DESC"),   QStringLiteral("INTO"),     QStringLiteral("UPDATE"), QStringLiteral("DELETE"),
        QStringLiteral("INSERT"),
    };
    return s;
}

// Words of the dialect that have no faithful SQLite counterpart here.
const QSet<QString>& rejectedWords()
{
    static const QSet<QString> s{
        QStringLiteral("TOP"),       QStringLiteral("DISTINCTROW"), QStringLiteral("PIVOT"),
        QStringLiteral("TRANSFORM"), QStringLiteral("PARAMETERS"),  QStringLiteral("MOD"),
        QStringLiteral("XOR"),       QStringLiteral("EQV"),         QStringLiteral("IMP"),
        QStringLiteral("OWNERACCESS"),
    };
    return s;
}

// SQLite's blanks, and only these: a no-break space or another Unicode space
// is part of a name for SQLite, so the translator must not read it as a gap.
bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\f')
        || c == QLatin1Char('\r');
}

QString trimBlanks(const QString& s)
{
    int b = 0, e = int(s.size());
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return s.mid(b, e - b);
}

// A character the user cannot see is named by its code.
QString shownChar(QChar c)
{
    if (c.isPrint() && !c.isSpace())
        return QString(c);
    return QStringLiteral("U+%1").arg(QString::number(c.unicode(), 16).toUpper(), 4, QLatin1Char('0'));
}

bool isWordStart(QChar c) { return c.isLetter() || c == QLatin1Char('_'); }
bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }
bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// "#m/d/yyyy#" or "#m/d/yyyy h:nn[:ss]#" -> 'yyyy-mm-dd hh:nn:ss'.
QString translateDate(const QString& body, const QString& jet)
{
    static const QRegularExpression re(QStringLiteral(
        R"(^[ \t\n\f\r]*([0-9]{1,2})/([0-9]{1,2})/([0-9]{4})(?:[ \t\n\f\r]+([0-9]{1,2}):([0-9]{2})(?::([0-9]{2}))?)?[ \t\n\f\r]*$)"));
    const QRegularExpressionMatch m = re.match(body);
    const QString shownDate = QLatin1Char('#') + body + QLatin1Char('#');
    if (!m.hasMatch())
        reject(QStringLiteral("Tarih ay/gün/yıl biçiminde olmalı: %1").arg(shownDate), jet);
    const QDate day(m.captured(3).toInt(), m.captured(1).toInt(), m.captured(2).toInt());
    if (!day.isValid())
        reject(QStringLiteral("Geçersiz tarih: %1").arg(shownDate), jet);
    int h = 0, n = 0, s = 0;
    if (m.hasCaptured(4)) {
        h = m.captured(4).toInt();
        n = m.captured(5).toInt();
        s = m.hasCaptured(6) ? m.captured(6).toInt() : 0;
        if (h > 23 || n > 59 || s > 59)
            reject(QStringLiteral("Geçersiz saat: %1").arg(shownDate), jet);
    }
    return QStringLiteral("'%1 %2:%3:%4'")
        .arg(day.toString(QStringLiteral("yyyy-MM-dd")))
        .arg(h, 2, 10, QLatin1Char('0'))
        .arg(n, 2, 10, QLatin1Char('0'))
        .arg(s, 2, 10, QLatin1Char('0'));
}

std::vector<Token> tokenize(const QString& jet)
{
    std::vector<Token> out;
    const int n = int(jet.size());
    // SQLite ends a statement at a NUL, and UTF-8 cannot carry half a
    // surrogate pair: either would change the statement on its way.
    for (int k = 0; k < n; ++k) {
        const QChar c = jet[k];
        if (c.isNull())
            reject(QStringLiteral("Sorguda NUL karakteri (U+0000) var; metinler ve adlar bu karakteri taşıyamaz."),
                   jet);
        if (c.isHighSurrogate() && k + 1 < n && jet[k + 1].isLowSurrogate()) {
            ++k;
            continue;
        }
        if (c.isSurrogate())
            reject(QStringLiteral("Sorguda geçersiz karakter var: %1").arg(shownChar(c)), jet);
    }
    int i = 0;
    auto push = [&](Kind k, int from, QString sqlite) {
        Token t{k, jet.mid(from, i - from), std::move(sqlite), {}};
        if (k == Kind::Word)
            t.upper = t.text.toUpper();
        out.push_back(std::move(t));
    };
    while (i < n) {
        const int start = i;
        const QChar c = jet[i];
        if (isBlank(c)) {
            while (i < n && isBlank(jet[i]))
                ++i;
            push(Kind::Space, start, jet.mid(start, i - start));
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // Both quote kinds are text in the dialect; a doubled quote
            // stands for itself. SQLite gets single quotes.
            QString value;
            ++i;
            for (;;) {
                if (i >= n)
                    reject(QStringLiteral("Sorguda kapanmamış metin: %1").arg(jet.mid(start, 40)), jet);
                if (jet[i] == c) {
                    if (i + 1 < n && jet[i + 1] == c) {
                        value += c;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += jet[i++];
            }
            value.replace(QLatin1Char('\''), QLatin1String("''"));
            push(Kind::String, start, QLatin1Char('\'') + value + QLatin1Char('\''));
        } else if (c == QLatin1Char('#')) {
            const int close = int(jet.indexOf(QLatin1Char('#'), i + 1));
            if (close < 0)
                reject(QStringLiteral("Sorguda kapanmamış tarih: %1").arg(jet.mid(start, 40)), jet);
            const QString body = jet.mid(i + 1, close - i - 1);
            i = close + 1;
            push(Kind::Date, start, translateDate(body, jet));
        } else if (c == QLatin1Char('[')) {
            const int close = int(jet.indexOf(QLatin1Char(']'), i + 1));
            if (close < 0)
                reject(QStringLiteral("Sorguda kapanmamış alan adı: %1").arg(jet.mid(start, 40)), jet);
            QString name = jet.mid(i + 1, close - i - 1);
            if (trimBlanks(name).isEmpty())
                reject(QStringLiteral("Sorguda boş alan adı: []"), jet);
            i = close + 1;
            name.replace(QLatin1Char('"'), QLatin1String("\"\""));
            push(Kind::Name, start, QLatin1Char('"') + name + QLatin1Char('"'));
        } else if (isWordStart(c)) {
            while (i < n && isWordChar(jet[i]))
                ++i;
            push(Kind::Word, start, jet.mid(start, i - start));
        } else if (isDigit(c) || (c == QLatin1Char('.') && i + 1 < n && isDigit(jet[i + 1]))) {
            while (i < n && isDigit(jet[i]))
                ++i;
            if (i < n && jet[i] == QLatin1Char('.')) {
                ++i;
                while (i < n && isDigit(jet[i]))
                    ++i;
            }
            if (i < n && (jet[i] == QLatin1Char('e') || jet[i] == QLatin1Char('E'))) {
                int j = i + 1;
                if (j < n && (jet[j] == QLatin1Char('+') || jet[j] == QLatin1Char('-')))
                    ++j;
                if (j < n && isDigit(jet[j])) {
                    i = j;
                    while (i < n && isDigit(jet[i]))
                        ++i;
                }
            }
            if (i < n && isWordStart(jet[i]))
                reject(QStringLiteral("Sorguda anlaşılmayan sayı: %1").arg(jet.mid(start, i - start + 1)), jet);
            push(Kind::Number, start, jet.mid(start, i - start));
        } else if (c == QLatin1Char('(')) {
            ++i;
            push(Kind::Open, start, QStringLiteral("("));
        } else if (c == QLatin1Char(')')) {
            ++i;
            push(Kind::Close, start, QStringLiteral(")"));
        } else if (c == QLatin1Char(',')) {
            ++i;
            push(Kind::Comma, start, QStringLiteral(","));
        } else if (c == QLatin1Char(';')) {
            ++i;
            push(Kind::Semicolon, start, QString());
        } else if (c == QLatin1Char('<') || c == QLatin1Char('>')) {
            ++i;
            if (i < n && (jet[i] == QLatin1Char('=') || (c == QLatin1Char('<') && jet[i] == QLatin1Char('>'))))
                ++i;
            push(Kind::Operator, start, jet.mid(start, i - start));
        } else if (QStringLiteral("=+-*/.&").contains(c)) {
            ++i;
            push(Kind::Operator, start, QString(c));
        } else {
            reject(QStringLiteral("Sorguda beklenmeyen karakter: %1").arg(shownChar(c)), jet);
        }
    }
    return out;
}

bool isOperator(const Token& t, const char* op)
{
    return t.kind == Kind::Operator && t.text == QLatin1String(op);
}

bool isComparison(const Token& t)
{
    return t.kind == Kind::Operator
        && (t.text == QLatin1String("=") || t.text == QLatin1String("<>") || t.text == QLatin1String("<")
            || t.text == QLatin1String(">") || t.text == QLatin1String("<=") || t.text == QLatin1String(">="));
}

// Tokens that bind more loosely than "&" and so end its operands.
bool isBoundary(const Token& t)
{
    switch (t.kind) {
    case Kind::Comma:
    case Kind::Semicolon:
        return true;
    case Kind::Word:
        return boundaryKeywords().contains(t.upper);
    case Kind::Operator:
        return isComparison(t);
    default:
        return false;
    }
}

// SQLite refuses expressions nested deeper than this (its default
// SQLITE_MAX_EXPR_DEPTH); the translator stops at the same depth, so a
// statement of thousands of "(" ends in a message, not in a huge string.
constexpr int kMaxNesting = 1000;

// Writes the SQLite statement without recursion: every parenthesised group is
// rendered once, innermost first (a group closes before the one around it),
// and its text is then taken whole by the group or statement around it.
class Emitter {
public:
    Emitter(const std::vector<Token>& tokens, const QString& jet) : t_(tokens), jet_(jet)
    {
        // Matching parentheses, checked once.
        match_.assign(t_.size(), -1);
        group_.resize(t_.size());
        std::vector<int> stack;
        for (int k = 0; k < int(t_.size()); ++k) {
            if (t_[k].kind == Kind::Open) {
                stack.push_back(k);
                if (int(stack.size()) > kMaxNesting)
                    reject(QStringLiteral("Sorguda iç içe parantez çok derin: en çok %1 düzey olabilir.")
                               .arg(kMaxNesting),
                           jet_);
            } else if (t_[k].kind == Kind::Close) {
                if (stack.empty())
                    reject(QStringLiteral("Sorguda fazladan kapanan parantez var."), jet_);
                match_[stack.back()] = k;
                closing_.push_back(stack.back());
                stack.pop_back();
            }
        }
        if (!stack.empty())
            reject(QStringLiteral("Sorguda kapanmamış parantez var."), jet_);
    }

    QString Statement()
    {
        for (int open : closing_)
            group_[open] = QStringLiteral("(") + render(open + 1, match_[open]) + QStringLiteral(")");
        return render(0, int(t_.size()));
    }

private:
    QString render(int b, int e)
    {
        QString out;
        int segStart = b;
        auto flush = [&](int end) {
            if (segStart < end)
                append(out, segment(segStart, end));
        };
        for (int k = b; k < e; ++k) {
            if (t_[k].kind == Kind::Open) {
                k = match_[k];
                continue;
            }
            if (isBoundary(t_[k])) {
                flush(k);
                append(out, t_[k].out);
                segStart = k + 1;
            }
        }
        flush(e);
        return out;
    }

    // A stretch without boundaries: either plain, or the operands of "&".
    QString segment(int b, int e)
    {
        std::vector<std::pair<int, int>> operands;
        int from = b;
        for (int k = b; k < e; ++k) {
            if (t_[k].kind == Kind::Open) {
                k = match_[k];
            } else if (isOperator(t_[k], "&")) {
                operands.emplace_back(from, k);
                from = k + 1;
            }
        }
        if (operands.empty())
            return plain(b, e);
        operands.emplace_back(from, e);
        // Keep the spacing around the whole expression, not inside the call.
        int lead = b;
        while (lead < e && t_[lead].kind == Kind::Space)
            ++lead;
        int trail = e;
        while (trail > lead && t_[trail - 1].kind == Kind::Space)
            --trail;
        QString out = plain(b, lead) + QStringLiteral("jet_concat(");
        for (size_t i = 0; i < operands.size(); ++i) {
            const QString op = trimBlanks(plain(operands[i].first, operands[i].second));
            if (op.isEmpty())
                reject(QStringLiteral("& işlecinin iki yanında da bir değer olmalı."), jet_);
            if (i)
                out += QStringLiteral(", ");
            out += op;
        }
        return out + QLatin1Char(')') + plain(trail, e);
    }

    // Each group is taken once: the stretches handed here never overlap.
    QString plain(int b, int e)
    {
        QString out;
        for (int k = b; k < e; ++k) {
            if (t_[k].kind == Kind::Open) {
                append(out, std::exchange(group_[k], QString()));
                k = match_[k];
            } else {
                append(out, t_[k].out);
            }
        }
        return out;
    }

    // Keeps two minus signs from becoming a SQLite comment ("--"), and "/"
    // and "*" from opening one.
    static void append(QString& out, const QString& piece)
    {
        if (!out.isEmpty() && !piece.isEmpty()) {
            const QChar last = out.back(), first = piece.front();
            if ((last == QLatin1Char('-') && first == QLatin1Char('-'))
                || (last == QLatin1Char('/') && first == QLatin1Char('*')))
                out += QLatin1Char(' ');
        }
        out += piece;
    }

    const std::vector<Token>& t_;
    const QString& jet_;
    std::vector<int> match_;
    std::vector<int> closing_;   // opening tokens, in the order their groups close
    std::vector<QString> group_; // rendered groups, by opening token
};

} // namespace

QString TranslateJet(const QString& jet)
{
    std::vector<Token> tokens = tokenize(jet);

    // Indexes of the tokens that are not blanks, for looking around.
    std::vector<int> sig;
    for (int k = 0; k < int(tokens.size()); ++k)
        if (tokens[k].kind != Kind::Space)
            sig.push_back(k);

    for (size_t s = 0; s < sig.size(); ++s) {
        Token& t = tokens[sig[s]];
        const Token* prev = s > 0 ? &tokens[sig[s - 1]] : nullptr;
        const Token* next = s + 1 < sig.size() ? &tokens[sig[s + 1]] : nullptr;
        switch (t.kind) {
        case Kind::Semicolon:
            if (next)
                reject(QStringLiteral("Sorguda birden fazla komut var; tek komut çalıştırılabilir."), jet);
            break;
        case Kind::Operator:
            // "+" joins texts in the dialect but adds in SQLite.
            if (t.text == QLatin1String("+")
                && ((prev && prev->kind == Kind::String) || (next && next->kind == Kind::String)))
                reject(QStringLiteral("Metinler + ile birleştirilemez; & kullanın."), jet);
            break;
        case Kind::Word: {
            if (t.upper == QLatin1String("TRUE")) {
                t.out = QStringLiteral("1");
                break;
            }
            if (t.upper == QLatin1String("FALSE")) {
                t.out = QStringLiteral("0");
                break;
            }
            if (rejectedWords().contains(t.upper))
                reject(QStringLiteral("Sorgu dilinde desteklenmeyen sözcük: %1").arg(t.text), jet);
            if (next && next->kind == Kind::Open && !allowedFunctions().contains(t.upper)
                && !keywordsBeforeParen().contains(t.upper)) {
                // "Insert Into Montaj (Eleman, ...)": a table and its field list.
                const bool tableAfterInto =
                    prev && prev->kind == Kind::Word && prev->upper == QLatin1String("INTO");
                if (!tableAfterInto)
                    reject(QStringLiteral("Sorgu dilinde desteklenmeyen işlev: %1()").arg(t.text), jet);
            }
            break;
        }
        default:
            break;
        }
    }

    // "Delete * From T" and "Delete T.* From T": SQLite takes "Delete From T".
    if (!sig.empty() && tokens[sig[0]].kind == Kind::Word && tokens[sig[0]].upper == QLatin1String("DELETE")) {
        size_t s = 1;
        while (s < sig.size() && !(tokens[sig[s]].kind == Kind::Word && tokens[sig[s]].upper == QLatin1String("FROM")))
            ++s;
        if (s < sig.size()) {
            for (size_t k = 1; k < s; ++k) {
                Token& t = tokens[sig[k]];
                const bool star = isOperator(t, "*") || isOperator(t, ".")
                    || (t.kind == Kind::Word || t.kind == Kind::Name);
                if (!star)
                    reject(QStringLiteral("Silme komutu anlaşılamadı."), jet);
                t.out.clear();
            }
        }
    }

    Emitter emitter(tokens, jet);
    return trimBlanks(emitter.Statement());
}

} // namespace store
