#pragma once

#include <QWidget>
#include <functional>

class CalendarControl;
class QComboBox;
class QLabel;

// A calendar with its month and year lists and its date caption; the calendar's Tag holds the
// chosen date as "yyyy-mm-dd", which every query on that date reads. The page that holds it
// connects the controls' events to its own handlers, which run the steps below.
class CalendarPicker : public QWidget {
    Q_OBJECT

public:
    struct Names {
        const char* calendar;
        const char* month;
        const char* year;
        const char* label;
    };
    CalendarPicker(const Names& names, QWidget* parent);

    CalendarControl* Calendar;
    // The month list also takes a month's name typed into it.
    QComboBox* MonthList;
    QComboBox* YearList;
    QLabel* DateLabel;

    // What a new date reloads, and the list that takes the focus afterwards.
    std::function<void()> Reload;
    QWidget* FocusAfterReload = nullptr;
    // Whether the window's start-up is over; until then a month chosen reloads nothing.
    std::function<bool()> StartupOver;

    // Shows the date with its lists, caption and Tag, reloading nothing.
    void SetDate(const QDate& date);

    // A day picked in the calendar.
    void DaySelected();
    // A month chosen in the list.
    void MonthChosen();
    // The month list's text typed; only a month named in full changes the date.
    void MonthEdited();
    // A year chosen in the list.
    void YearChosen();

private:
    void writeTag();
    void showLists();
    void writeCaption();
    void reload();
};
