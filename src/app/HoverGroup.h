#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <initializer_list>
#include <vector>

namespace app {

// The hovered button of a window shows a bold caption, and the click sound
// plays when a button becomes bold. Each button has its own list of buttons
// that lose their bold when it is hovered; a button left out of every list
// keeps its bold once hovered.
class HoverGroup : public QObject {
public:
    explicit HoverGroup(QObject* parent = nullptr);

    // When `button` is hovered, the buttons of `losesBold` lose their bold
    // caption (`button` itself may be among them).
    void add(QWidget* button, std::initializer_list<QWidget*> losesBold);
    // Every button of `buttons` takes the bold from all the others.
    void addMutual(std::initializer_list<QWidget*> buttons);

    // The reaction to the mouse over `button`: nothing when its caption is
    // already bold; otherwise its list loses bold, it becomes bold and the
    // sound plays. True when it became bold.
    bool Hover(QWidget* button);

    static bool IsBold(const QWidget* w);
    static void SetBold(QWidget* w, bool bold);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    struct Rule {
        QPointer<QWidget> button;
        std::vector<QPointer<QWidget>> losesBold;
    };
    const Rule* find(const QObject* button) const;

    std::vector<Rule> rules_;
};

} // namespace app
