#include "app/Prompt.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace app {

namespace {

const QString kDefaultTitle = QStringLiteral("Velmora");

QString TitleOr(const QString& title)
{
    return title.isEmpty() ? kDefaultTitle : title;
}

QMessageBox::Icon ToQt(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Critical: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

// The real boxes, with Turkish button texts whatever the system's language.
class DialogPrompt final : public PromptHandler {
public:
    Answer message(QWidget* parent, const QString& text, const QString& title, MessageIcon icon,
                   MessageButtons buttons) override
    {
        QMessageBox box(ToQt(icon), TitleOr(title), text, QMessageBox::NoButton, parent);
        if (buttons != MessageButtons::Ok) {
            QPushButton* yes = box.addButton(QStringLiteral("Evet"), QMessageBox::YesRole);
            QPushButton* no = box.addButton(QStringLiteral("Hayır"), QMessageBox::NoRole);
            QPushButton* cancel = buttons == MessageButtons::YesNoCancel
                                      ? box.addButton(QStringLiteral("İptal"), QMessageBox::RejectRole)
                                      : nullptr;
            box.setDefaultButton(yes);
            box.setEscapeButton(cancel ? cancel : no);
            box.exec();
            if (box.clickedButton() == yes)
                return Answer::Yes;
            return box.clickedButton() == no || !cancel ? Answer::No : Answer::Cancel;
        }
        QPushButton* ok = box.addButton(QStringLiteral("Tamam"), QMessageBox::AcceptRole);
        box.setDefaultButton(ok);
        box.setEscapeButton(ok);
        box.exec();
        return Answer::Ok;
    }

    std::optional<QString> input(QWidget* parent, const QString& prompt, const QString& title,
                                 const QString& defaultText) override
    {
        QInputDialog dialog(parent);
        dialog.setInputMode(QInputDialog::TextInput);
        dialog.setWindowTitle(TitleOr(title));
        dialog.setLabelText(prompt);
        dialog.setTextValue(defaultText);
        dialog.setOkButtonText(QStringLiteral("Tamam"));
        dialog.setCancelButtonText(QStringLiteral("İptal"));
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.textValue();
    }

    void beep() override { QApplication::beep(); }
};

DialogPrompt& Dialogs()
{
    static DialogPrompt dialogs;
    return dialogs;
}

PromptHandler* g_handler = nullptr;

PromptHandler& Current()
{
    return g_handler ? *g_handler : Dialogs();
}

} // namespace

namespace Prompt {

void Message(QWidget* parent, const QString& text, const QString& title, MessageIcon icon)
{
    Current().message(parent, text, TitleOr(title), icon, MessageButtons::Ok);
}

bool Ask(QWidget* parent, const QString& text, const QString& title)
{
    return Current().message(parent, text, TitleOr(title), MessageIcon::Question, MessageButtons::YesNo)
           == Answer::Yes;
}

Answer AskYesNoCancel(QWidget* parent, const QString& text, const QString& title)
{
    return Current().message(parent, text, TitleOr(title), MessageIcon::Question,
                             MessageButtons::YesNoCancel);
}

std::optional<QString> Input(QWidget* parent, const QString& prompt, const QString& title,
                             const QString& defaultText)
{
    return Current().input(parent, prompt, TitleOr(title), defaultText);
}

void Beep()
{
    Current().beep();
}

void SetHandler(PromptHandler* handler)
{
    g_handler = handler;
}

PromptHandler* Handler()
{
    return g_handler;
}

} // namespace Prompt

ScriptedPrompt::ScriptedPrompt()
    : previous_(Prompt::Handler())
{
    Prompt::SetHandler(this);
}

ScriptedPrompt::~ScriptedPrompt()
{
    // Only hand back what we took: a later ScriptedPrompt still installed
    // stays in place.
    if (Prompt::Handler() == this)
        Prompt::SetHandler(previous_);
}

Answer ScriptedPrompt::message(QWidget*, const QString& text, const QString& title,
                               MessageIcon icon, MessageButtons buttons)
{
    Shown s;
    s.text = text;
    s.title = title;
    s.icon = icon;
    s.buttons = buttons;
    s.yesNo = buttons != MessageButtons::Ok;
    shown.push_back(s);
    if (whenShown)
        whenShown();
    if (answers.empty())
        return s.yesNo ? Answer::Yes : Answer::Ok;
    const Answer a = answers.front();
    answers.pop_front();
    return a;
}

std::optional<QString> ScriptedPrompt::input(QWidget*, const QString& prompt, const QString& title,
                                             const QString& defaultText)
{
    Shown s;
    s.text = prompt;
    s.title = title;
    s.input = true;
    s.defaultText = defaultText;
    shown.push_back(s);
    if (inputs.empty())
        return std::nullopt;
    const bool answered = inputs.front().has_value();
    const QString text = answered ? *inputs.front() : QString();
    inputs.pop_front();
    if (!answered)
        return std::nullopt;
    return text;
}

} // namespace app
