#include "ui/DatePicker.h"

#include "app/Clock.h"

namespace ui {

DatePicker::DatePicker(QWidget* parent)
    : QDateEdit(parent)
{
    setCalendarPopup(true);
    setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    setDate(app::Clock::Today());
}

} // namespace ui
