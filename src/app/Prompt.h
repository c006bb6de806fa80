#pragma once

#include <QString>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

class QWidget;

// The one seam through which the program talks to the user in boxes: message
// boxes, input boxes and beeps. Tests install a ScriptedPrompt and answer in
// advance; nothing ever waits on a real dialog in a test.
namespace app {

enum class MessageIcon { None, Information, Warning, Critical, Question };
enum class Answer { Ok, Cancel, Yes, No };
enum class MessageButtons { Ok, YesNo, YesNoCancel };

class PromptHandler {
public:
    virtual ~PromptHandler() = default;
    virtual Answer message(QWidget* parent, const QString& text, const QString& title,
                           MessageIcon icon, MessageButtons buttons) = 0;
    // std::nullopt when the user cancels.
    virtual std::optional<QString> input(QWidget* parent, const QString& prompt,
                                         const QString& title, const QString& defaultText) = 0;
    virtual void beep() = 0;
};

namespace Prompt {
// An OK box. Title defaults to the program's name.
void Message(QWidget* parent, const QString& text, const QString& title = {},
             MessageIcon icon = MessageIcon::None);
// A Yes/No box; true for Yes.
bool Ask(QWidget* parent, const QString& text, const QString& title = {});
// A Yes/No/Cancel box with the question icon: Yes, No or Cancel (also Esc).
Answer AskYesNoCancel(QWidget* parent, const QString& text, const QString& title = {});
std::optional<QString> Input(QWidget* parent, const QString& prompt, const QString& title,
                             const QString& defaultText = {});
void Beep();

// Replaces the handler (nullptr: the real dialogs again). Not owned.
void SetHandler(PromptHandler* handler);
// The installed handler; nullptr while the real dialogs answer.
PromptHandler* Handler();
} // namespace Prompt

// Answers boxes from a queue and records what was shown.
class ScriptedPrompt : public PromptHandler {
public:
    ScriptedPrompt();  // installs itself
    ~ScriptedPrompt() override; // puts back the handler it replaced
    ScriptedPrompt(const ScriptedPrompt&) = delete;
    ScriptedPrompt& operator=(const ScriptedPrompt&) = delete;

    struct Shown {
        QString text, title;
        bool input = false;
        bool yesNo = false;                      // a Yes/No or Yes/No/Cancel box
        MessageButtons buttons = MessageButtons::Ok;
        MessageIcon icon = MessageIcon::None;
        QString defaultText;                     // input boxes
    };
    std::vector<Shown> shown;
    std::deque<Answer> answers;                    // for message boxes; default Ok/Yes
    std::deque<std::optional<QString>> inputs;     // for input boxes; default cancel
    int beeps = 0;
    // Runs as each message box is shown, to look at the program's state then.
    std::function<void()> whenShown;

    Answer message(QWidget*, const QString& text, const QString& title, MessageIcon,
                   MessageButtons buttons) override;
    std::optional<QString> input(QWidget*, const QString& prompt, const QString& title,
                                 const QString& defaultText) override;
    void beep() override { ++beeps; }

private:
    PromptHandler* previous_ = nullptr;
};

} // namespace app
