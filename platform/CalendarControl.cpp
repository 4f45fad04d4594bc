#include "CalendarControl.h"

#include <QAbstractItemView>
#include <QEvent>

CalendarControl::CalendarControl(QWidget* parent) : QCalendarWidget(parent)
{
    setNavigationBarVisible(false);
    setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    // A day picked with the mouse is told by its click; the activation that a double-click (or, in
    // some styles, a single click) adds is the same pick, so only the one by key is told again.
    auto* days = findChild<QAbstractItemView*>();
    days->installEventFilter(this);
    days->viewport()->installEventFilter(this);
    connect(this, &QCalendarWidget::clicked, this, &CalendarControl::DateSelected);
    connect(this, &QCalendarWidget::activated, this, [this] {
        if (!m_pickedByMouse)
            emit DateSelected();
    });
}

bool CalendarControl::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
        m_pickedByMouse = true;
    else if (event->type() == QEvent::KeyPress)
        m_pickedByMouse = false;
    return QCalendarWidget::eventFilter(watched, event);
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
