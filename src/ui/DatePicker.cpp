#include "ui/DatePicker.h"

#include "app/Clock.h"

#include <QCalendarWidget>

namespace ui {

DatePicker::DatePicker(QWidget* parent)
    : QDateEdit(parent)
{
    setCalendarPopup(true);
    setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    setDate(app::Clock::Today());
    // Wide enough for every weekday heading ("Pzt", "Çar") in the window's font.
    QCalendarWidget* calendar = calendarWidget();
    calendar->setHorizontalHeaderFormat(QCalendarWidget::ShortDayNames);
    const QFontMetrics fm(calendar->font());
    calendar->setMinimumWidth(8 * (fm.horizontalAdvance(QStringLiteral("Pzt")) + 14));
}

bool DatePicker::focusNextPrevChild(bool next)
{
    // QDateEdit would step through its sections first.
    return QWidget::focusNextPrevChild(next);
}

} // namespace ui
