#include "app/TurkishKeyFilter.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace app {

namespace {

// Ctrl+A, Ctrl+G, Ctrl+N, Ctrl+P, Ctrl+S and Ctrl+T: they would only beep or
// select in a name box.
bool Swallowed(char16_t code)
{
    switch (code) {
    case 1: case 7: case 14: case 16: case 19: case 20:
        return true;
    default:
        return false;
    }
}

const QString kTurkishLower = QStringLiteral("ğüşiıöç");
const QString kTurkishUpper = QStringLiteral("ĞÜŞİIÖÇ");

} // namespace

std::optional<QChar> TurkishKeyFilter(const QString& text, int cursor, QChar typed)
{
    const char16_t code = typed.unicode();
    if (Swallowed(code))
        return std::nullopt;

    const bool atStart = cursor <= 0;
    // A blank or a control character before the cursor starts a new word.
    const bool afterBlank = !atStart && cursor <= text.size() && text.at(cursor - 1).unicode() < u'!';
    // The end of the whole text counts, wherever the cursor is.
    const bool endsWithDot = text.endsWith(QLatin1Char('.'));
    const bool endsWithSlash = text.endsWith(QLatin1Char('/'));

    const qsizetype turkish = kTurkishLower.indexOf(typed);
    if (turkish >= 0) {
        if (atStart || afterBlank || endsWithDot)
            return kTurkishUpper.at(turkish);
        return typed;
    }
    // The grave accent and a-z; the grave accent becomes "@", as its code
    // lies 32 above it.
    if (code >= 96 && code <= 122) {
        if (atStart || endsWithDot || endsWithSlash || afterBlank)
            return QChar(char16_t(code - 32));
        return typed;
    }
    return typed;
}

TurkishKeyFilterHook* TurkishKeyFilterHook::Install(QLineEdit* edit)
{
    return new TurkishKeyFilterHook(edit);
}

TurkishKeyFilterHook* TurkishKeyFilterHook::Install(QPlainTextEdit* edit)
{
    return new TurkishKeyFilterHook(edit);
}

TurkishKeyFilterHook::TurkishKeyFilterHook(QWidget* edit)
    : QObject(edit)
    , edit_(edit)
{
    edit->installEventFilter(this);
}

bool TurkishKeyFilterHook::eventFilter(QObject* watched, QEvent* e)
{
    if (watched != edit_ || e->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, e);
    auto* key = static_cast<QKeyEvent*>(e);

    QChar typed;
    const Qt::KeyboardModifiers mods = key->modifiers();
    // Ctrl with a letter is the control code of that letter, whatever text
    // the platform attaches (some give "\x13" for Ctrl+S, some "s"). Ctrl
    // with Alt is AltGr on some keyboards and types ordinary characters.
    if ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier) && key->key() >= Qt::Key_A
        && key->key() <= Qt::Key_Z) {
        typed = QChar(char16_t(key->key() - Qt::Key_A + 1));
    } else if (key->text().size() == 1) {
        typed = key->text().at(0);
    } else {
        return false;
    }

    auto* line = qobject_cast<QLineEdit*>(edit_);
    auto* lines = qobject_cast<QPlainTextEdit*>(edit_);
    std::optional<QChar> result;
    if (line)
        result = TurkishKeyFilter(line->text(),
                                  line->hasSelectedText() ? line->selectionStart() : line->cursorPosition(), typed);
    else if (lines)
        result = TurkishKeyFilter(lines->toPlainText(), lines->textCursor().selectionStart(), typed);
    else
        return false;
    if (!result)
        return true; // swallowed
    if (*result == typed)
        return false; // the edit handles the key itself (shortcuts included)
    // Inserting through the edit keeps its selection, undo, validator and
    // length limit working as for a typed key.
    if (line && !line->isReadOnly())
        line->insert(QString(*result));
    else if (lines && !lines->isReadOnly())
        lines->insertPlainText(QString(*result));
    else
        return false;
    return true;
}

} // namespace app
