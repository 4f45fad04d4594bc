#pragma once

#include "WaitListHost.h"

#include <QWidget>
#include <functional>

class CalendarControl;
class CalendarPicker;
class FloorPlan;
class QComboBox;
class QLabel;
class QLineEdit;
class QVBoxLayout;

// The "Waiting List" tab: the plan of court types, the waiting-list calendar, and the place of the
// list of the chosen date and court type.
class WaitingListPage : public QWidget, public WaitListHost {
    Q_OBJECT

public:
    explicit WaitingListPage(QWidget* parent);

    FloorPlan* LayoutPlan3;
    CalendarPicker* DatePicker;
    CalendarControl* Calendar2;
    QComboBox* cmd_CalendarMonthWaitList;
    QComboBox* cmd_CalendarYearWaitList;
    QLabel* lbl_DateLabelWaitList;
    QLabel* txt_Time2;
    // The court type whose list is shown, as decimal text.
    QLineEdit* txt_WaitingListFieldType;
    QLineEdit* txtInfo_WaitSelect;
    QLineEdit* txtInfo_WaitCursor;
    // Where the waiting list itself stands, beside the calendar.
    QVBoxLayout* WaitListArea;

    // Reloads the list of the chosen date and court type.
    std::function<void()> Reload;

    // The chosen date, "yyyy-mm-dd", and court type.
    QString WaitListDate() const override;
    QString WaitListFieldType() const override;
    QWidget* Owner() override { return window(); }

    void Calendar2_DateSelected();
    void cmd_CalendarMonthWaitList_Click();
    void cmd_CalendarMonthWaitList_Change();
    void cmd_CalendarYearWaitList_Click();
    // X and Y in twips relative to the plan.
    void LayoutPlan3_MouseMove(int X, int Y);
    void LayoutPlan3_Click();
};
