#include "WaitingListPage.h"

#include "CalendarPicker.h"
#include "FloorPlan.h"

#include "Globals.h"

#include "CalendarControl.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>


WaitingListPage::WaitingListPage(QWidget* parent) : QWidget(parent)
{
    setObjectName("frame_WaitingListTab");
    auto* planArea = new QWidget(this);
    LayoutPlan3 = new FloorPlan("LayoutPlan3", 6, 0, planArea);
    txtInfo_WaitCursor = SelectionBox("txtInfo_WaitCursor", this);
    txtInfo_WaitSelect = SelectionBox("txtInfo_WaitSelect", this);
    txt_WaitingListFieldType = SelectionBox("txt_WaitingListFieldType", this);
    LayoutPlan3->SetCursorBox(txtInfo_WaitCursor);
    connect(LayoutPlan3, &FloorPlan::MouseMoved, this, &WaitingListPage::LayoutPlan3_MouseMove);
    connect(LayoutPlan3, &FloorPlan::Click, this, &WaitingListPage::LayoutPlan3_Click);

    DatePicker = new CalendarPicker(
        {"Calendar2", "cmd_CalendarMonthWaitList", "cmd_CalendarYearWaitList", "lbl_DateLabelWaitList"}, this);
    Calendar2 = DatePicker->Calendar;
    cmd_CalendarMonthWaitList = DatePicker->MonthList;
    cmd_CalendarYearWaitList = DatePicker->YearList;
    lbl_DateLabelWaitList = DatePicker->DateLabel;
    connect(Calendar2, &CalendarControl::DateSelected, this, &WaitingListPage::Calendar2_DateSelected);
    connect(cmd_CalendarMonthWaitList, &QComboBox::activated, this, &WaitingListPage::cmd_CalendarMonthWaitList_Click);
    connect(cmd_CalendarMonthWaitList->lineEdit(), &QLineEdit::textEdited, this,
            &WaitingListPage::cmd_CalendarMonthWaitList_Change);
    connect(cmd_CalendarYearWaitList, &QComboBox::activated, this, &WaitingListPage::cmd_CalendarYearWaitList_Click);
    DatePicker->Reload = [this] {
        if (Reload)
            Reload();
    };
    txt_Time2 = new QLabel(this);
    txt_Time2->setObjectName("txt_Time2");

    WaitListArea = new QVBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(planArea);
    left->addWidget(DatePicker, 0, Qt::AlignLeft);
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addLayout(WaitListArea, 1);
    right->addWidget(txt_Time2, 0, Qt::AlignRight);
    auto* all = new QHBoxLayout(this);
    all->addLayout(left);
    all->addLayout(right, 1);
}

QString WaitingListPage::WaitListDate() const { return Calendar2->Tag(); }
QString WaitingListPage::WaitListFieldType() const { return txt_WaitingListFieldType->text(); }

void WaitingListPage::Calendar2_DateSelected() { DatePicker->DaySelected(); }
void WaitingListPage::cmd_CalendarMonthWaitList_Click() { DatePicker->MonthChosen(); }
void WaitingListPage::cmd_CalendarMonthWaitList_Change() { DatePicker->MonthEdited(); }
void WaitingListPage::cmd_CalendarYearWaitList_Click() { DatePicker->YearChosen(); }

void WaitingListPage::LayoutPlan3_MouseMove(int X, int Y) { LayoutPlan3->MouseMove(X, Y); }

void WaitingListPage::LayoutPlan3_Click()
{
    const int type = LayoutPlan3->Select(txtInfo_WaitSelect);
    if (type < 0)
        return;
    LayoutPlan3->MoveHighlight(SelectedWaitCourt, type);
    SelectedWaitCourt = type;
    txt_WaitingListFieldType->setText(QString::number(type));
    if (Reload)
        Reload();
}
