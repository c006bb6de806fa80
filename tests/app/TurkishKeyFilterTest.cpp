#include "app/TurkishKeyFilter.h"

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using app::TurkishKeyFilter;

namespace {

struct KeyCase {
    const char* name;
    const char* text; // UTF-8
    int cursor;
    const char* typed;  // one character, UTF-8
    const char* result; // UTF-8
};

// Types text the way a keyboard does, one key event per character (QTest's
// own typing only knows Latin-1).
void Type(QWidget* w, const QString& text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(w, &release);
    }
}

QChar Ch(const char* utf8)
{
    return QString::fromUtf8(utf8).at(0);
}

const KeyCase kCases[] = {
    // After a blank, after a control character, with the text ending in ".".
    {"i after tab", "Ali\t", 4, "i", "İ"},
    {"ş text ends in dot", "Ltd.", 2, "ş", "Ş"},
    {"ı text ends in dot", "Ltd.", 4, "ı", "I"},
    // ... and left alone inside a word.
    {"ğ inside word", "Da", 2, "ğ", "ğ"},
    {"i inside word", "Al", 2, "i", "i"},
    {"ı inside word", "Kır", 1, "ı", "ı"},
    {"ç inside word", "Ko", 2, "ç", "ç"},
    // A "/" at the end capitalises Latin letters only.
    {"i text ends in slash", "A/", 2, "i", "i"},
    {"ö text ends in slash", "A/", 2, "ö", "ö"},
    // Latin letters and the grave accent.
    {"a at start", "", 0, "a", "A"},
    {"z at start", "", 0, "z", "Z"},
    {"a after x blank", "x ", 2, "a", "A"},
    {"a right after x", "x", 1, "a", "a"},
    {"a text ends in slash", "x/y/", 1, "a", "A"},
    {"a text ends in dot", "Ltd.", 2, "a", "A"},
    {"dot before cursor only", "A.b", 2, "a", "a"},
    {"grave at start", "", 0, "`", "@"},
    {"grave inside word", "ab", 2, "`", "`"},
    {"capital stays", "ab", 2, "B", "B"},
    {"capital Turkish stays", "ab", 2, "Ş", "Ş"},
};

} // namespace

TEST(TurkishKeyFilter, Table)
{
    for (const KeyCase& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TurkishKeyFilter(QString::fromUtf8(c.text), c.cursor, Ch(c.typed)), Ch(c.result));
    }
    // Each Turkish letter at the start of a box and after a blank becomes its own
    // capital (İ is U+0130, not the code-page neighbour); ı becomes I.
    const QString small = QStringLiteral("ğüşiıöç"), capital = QStringLiteral("ĞÜŞİIÖÇ");
    for (int i = 0; i < small.size(); ++i)
        for (const QString& before : {QString(), QStringLiteral("Ali ")})
            EXPECT_EQ(TurkishKeyFilter(before, int(before.size()), small[i]), capital[i]) << int(small[i].unicode());
    // At sign, digit, brace, blank and Ctrl+C pass unchanged even at the start.
    for (const char typed : {'@', '7', '{', ' ', '\x03'})
        EXPECT_EQ(TurkishKeyFilter(QString(), 0, QChar(typed)), QChar(typed)) << int(typed);
    // The swallowed control codes: Ctrl+A, G, N, P, S, T.
    for (const char code : {'\x01', '\x07', '\x0e', '\x10', '\x13', '\x14'})
        EXPECT_FALSE(TurkishKeyFilter(QStringLiteral("abc"), 1, QChar(code))) << int(code);
}


TEST(TurkishKeyFilterHook, TypingCapitalisesWordsSwallowsControlKeysAndReplacesSelection)
{
    QWidget w;
    auto* e = new QLineEdit(&w);
    e->setObjectName(QStringLiteral("Name"));
    app::TurkishKeyFilterHook::Install(e);
    Type(e, QStringLiteral("ilker şahin ltd.şti ığdır"));
    EXPECT_EQ(e->text(), QStringLiteral("İlker Şahin Ltd.Şti Iğdır"));

    // Control keys are swallowed, others pass.
    e->setText(QStringLiteral("abc"));
    e->setCursorPosition(1);
    QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier); // would select all
    EXPECT_FALSE(e->hasSelectedText());
    QTest::keyClick(e, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(e->text(), QStringLiteral("abc"));

    // The platform may give the control code as the key's text.
    QKeyEvent ctrlS(QEvent::KeyPress, Qt::Key_S, Qt::ControlModifier, QStringLiteral("\x13"));
    QCoreApplication::sendEvent(e, &ctrlS);
    EXPECT_EQ(e->text(), QStringLiteral("abc"));

    // Ctrl+Z is not in the list: undo still works.
    Type(e, QStringLiteral("x"));
    EXPECT_EQ(e->text(), QStringLiteral("axbc"));
    QTest::keyClick(e, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(e->text(), QStringLiteral("abc"));

    // A typed capital replaces the selection.
    e->setText(QStringLiteral("ali veli"));
    e->setSelection(4, 4); // "veli"; the character before it is a blank
    Type(e, QStringLiteral("ö"));
    EXPECT_EQ(e->text(), QStringLiteral("ali Ö"));
}
