#include "app/HoverGroup.h"

#include "app/Sound.h"

#include <QEvent>

namespace app {

HoverGroup::HoverGroup(QObject* parent)
    : QObject(parent)
{
}

void HoverGroup::add(QWidget* button, std::initializer_list<QWidget*> losesBold)
{
    Rule rule;
    rule.button = button;
    for (QWidget* w : losesBold)
        rule.losesBold.emplace_back(w);
    rules_.push_back(std::move(rule));
    button->installEventFilter(this);
}

void HoverGroup::addMutual(std::initializer_list<QWidget*> buttons)
{
    for (QWidget* b : buttons)
        add(b, buttons);
}

const HoverGroup::Rule* HoverGroup::find(const QObject* button) const
{
    for (const Rule& r : rules_) {
        if (r.button == button)
            return &r;
    }
    return nullptr;
}

bool HoverGroup::IsBold(const QWidget* w)
{
    return w->font().bold();
}

void HoverGroup::SetBold(QWidget* w, bool bold)
{
    QFont f = w->font();
    if (f.bold() == bold)
        return;
    f.setBold(bold);
    w->setFont(f);
}

bool HoverGroup::Hover(QWidget* button)
{
    const Rule* rule = find(button);
    if (!rule || IsBold(button))
        return false;
    for (const QPointer<QWidget>& w : rule->losesBold) {
        if (w)
            SetBold(w, false);
    }
    SetBold(button, true);
    Sound::PlayHover(QStringLiteral("\\Cmd.wav"));
    return true;
}

bool HoverGroup::eventFilter(QObject* watched, QEvent* e)
{
    // Entering is enough: the bold state cannot change while the mouse stays
    // on one button. A move is taken too, for a button whose bold was taken
    // while the mouse was on it. Disabled buttons do not react.
    if (e->type() == QEvent::Enter || e->type() == QEvent::MouseMove) {
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && w->isEnabled())
            Hover(w);
    }
    return QObject::eventFilter(watched, e);
}

} // namespace app
