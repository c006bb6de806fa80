#pragma once

#include <QChar>
#include <QObject>
#include <QString>

#include <optional>

class QLineEdit;
class QPlainTextEdit;

namespace app {

// Capitalises names while they are typed: a letter at the start of the box,
// after a blank, or once the text ends with "." becomes a capital, with the
// Turkish pairs kept (i -> İ, ı -> I). A few Ctrl keys are swallowed.
//
// `text` is the whole text of the box, `cursor` the start of the selection
// (where the character goes). Returns the character to insert instead of
// `typed`, or nothing when the key is swallowed.
std::optional<QChar> TurkishKeyFilter(const QString& text, int cursor, QChar typed);

// Applies TurkishKeyFilter to every key typed into a line edit or a box of
// several lines. It belongs to the edit and goes with it.
class TurkishKeyFilterHook : public QObject {
public:
    static TurkishKeyFilterHook* Install(QLineEdit* edit);
    static TurkishKeyFilterHook* Install(QPlainTextEdit* edit);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    explicit TurkishKeyFilterHook(QWidget* edit);
    QWidget* edit_;
};

} // namespace app
