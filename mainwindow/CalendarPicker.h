#pragma once

#include <QWidget>
#include <functional>

class CalendarControl;
class QComboBox;
class QLabel;

// A calendar with its month and year lists and its date caption; the calendar's Tag holds the
// chosen date as "yyyy-mm-dd", which every query on that date reads.
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
    QComboBox* cmd_CalendarMonth;
    QComboBox* cmd_CalendarYear;
    QLabel* lbl_DateLabel;

    // What a new date reloads, and the list that takes the focus afterwards.
    std::function<void()> Reload;
    QWidget* FocusAfterReload = nullptr;
    // Whether the window's start-up is over; until then a month chosen reloads nothing.
    std::function<bool()> StartupOver;

    // Shows the date with its lists, caption and Tag, reloading nothing.
    void SetDate(const QDate& date);

    void Calendar_DateSelected();
    void cmd_CalendarMonth_Click();
    void cmd_CalendarYear_Click();

private:
    void writeTag();
    void showLists();
    void writeCaption();
    void reload();
};
