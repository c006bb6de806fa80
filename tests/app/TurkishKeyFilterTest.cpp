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
    const char* result; // UTF-8; nullptr: swallowed
};

QChar Ch(const char* utf8)
{
    return QString::fromUtf8(utf8).at(0);
}

const KeyCase kCases[] = {
    // Each Turkish letter at the start of an empty box.
    {"ğ at start", "", 0, "ğ", "Ğ"},
    {"ü at start", "", 0, "ü", "Ü"},
    {"ş at start", "", 0, "ş", "Ş"},
    {"i at start", "", 0, "i", "İ"},
    {"ı at start", "", 0, "ı", "I"},
    {"ö at start", "", 0, "ö", "Ö"},
    {"ç at start", "", 0, "ç", "Ç"},
    // ... after a blank, after a control character, with the text ending in ".".
    {"ğ after blank", "Ali ", 4, "ğ", "Ğ"},
    {"ü after blank", "Ali ", 4, "ü", "Ü"},
    {"ş after blank", "Ali ", 4, "ş", "Ş"},
    {"i after blank", "Ali ", 4, "i", "İ"},
    {"ı after blank", "Ali ", 4, "ı", "I"},
    {"ö after blank", "Ali ", 4, "ö", "Ö"},
    {"ç after blank", "Ali ", 4, "ç", "Ç"},
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
    {"at sign stays", "", 0, "@", "@"},
    {"capital stays", "ab", 2, "B", "B"},
    {"digit stays", "", 0, "7", "7"},
    {"brace stays", "", 0, "{", "{"},
    {"capital Turkish stays", "ab", 2, "Ş", "Ş"},
    {"blank stays", "", 0, " ", " "},
    // The swallowed control codes, and one that is not.
    {"Ctrl+A", "abc", 1, "\x01", nullptr},
    {"Ctrl+G", "abc", 1, "\x07", nullptr},
    {"Ctrl+N", "abc", 1, "\x0e", nullptr},
    {"Ctrl+P", "abc", 1, "\x10", nullptr},
    {"Ctrl+S", "abc", 1, "\x13", nullptr},
    {"Ctrl+T", "abc", 1, "\x14", nullptr},
    {"Ctrl+C passes", "abc", 1, "\x03", "\x03"},
};

} // namespace

TEST(TurkishKeyFilter, Table)
{
    for (const KeyCase& c : kCases) {
        SCOPED_TRACE(c.name);
        const std::optional<QChar> got =
            TurkishKeyFilter(QString::fromUtf8(c.text), c.cursor, Ch(c.typed));
        if (!c.result) {
            EXPECT_FALSE(got.has_value());
        } else {
            ASSERT_TRUE(got.has_value());
            EXPECT_EQ(QString(*got), QString::fromUtf8(c.result));
        }
    }
}

TEST(TurkishKeyFilter, CapitalsAreTheTurkishLetters)
{
    // Not the code-page neighbours: İ is U+0130, Ş U+015E, Ğ U+011E.
    EXPECT_EQ(TurkishKeyFilter({}, 0, QChar(u'i'))->unicode(), 0x0130);
    EXPECT_EQ(TurkishKeyFilter({}, 0, QChar(u'ş'))->unicode(), 0x015E);
    EXPECT_EQ(TurkishKeyFilter({}, 0, QChar(u'ğ'))->unicode(), 0x011E);
    EXPECT_EQ(TurkishKeyFilter({}, 0, QChar(u'ı'))->unicode(), u'I');
}

namespace {

QLineEdit* Edit(QWidget& parent)
{
    auto* e = new QLineEdit(&parent);
    e->setObjectName(QStringLiteral("Name"));
    app::TurkishKeyFilterHook::Install(e);
    return e;
}

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

} // namespace

TEST(TurkishKeyFilterHook, TypingANameCapitalisesEachWord)
{
    QWidget w;
    QLineEdit* e = Edit(w);
    Type(e, QStringLiteral("ilker şahin ltd.şti ığdır"));
    EXPECT_EQ(e->text(), QStringLiteral("İlker Şahin Ltd.Şti Iğdır"));
}

TEST(TurkishKeyFilterHook, ControlKeysAreSwallowedOthersPass)
{
    QWidget w;
    QLineEdit* e = Edit(w);
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
}

TEST(TurkishKeyFilterHook, TypedCapitalReplacesSelection)
{
    QWidget w;
    QLineEdit* e = Edit(w);
    e->setText(QStringLiteral("ali veli"));
    e->setSelection(4, 4); // "veli"; the character before it is a blank
    Type(e, QStringLiteral("ö"));
    EXPECT_EQ(e->text(), QStringLiteral("ali Ö"));
}
