#include "CalendarControl.h"

CalendarControl::CalendarControl(QWidget* parent) : QCalendarWidget(parent)
{
    setNavigationBarVisible(false);
    setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    connect(this, &QCalendarWidget::clicked, this, &CalendarControl::DateSelected);
    connect(this, &QCalendarWidget::activated, this, &CalendarControl::DateSelected);
}

int CalendarControl::Month() const { return selectedDate().month(); }
int CalendarControl::Year() const { return selectedDate().year(); }
int CalendarControl::Day() const { return selectedDate().day(); }

void CalendarControl::SetMonth(int month) { moveTo(Year(), month); }
void CalendarControl::SetYear(int year) { moveTo(year, Month()); }

void CalendarControl::SetValue(const QDate& date)
{
    const QSignalBlocker quiet(this);
    setSelectedDate(date);
    setCurrentPage(date.year(), date.month());
}

void CalendarControl::moveTo(int year, int month)
{
    const QDate first(year, month, 1);
    if (!first.isValid())
        return;
    SetValue(QDate(year, month, std::min(Day(), first.daysInMonth())));
}
