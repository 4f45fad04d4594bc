#include "WaitingListPage.h"

#include "CalendarPicker.h"
#include "FloorPlan.h"

#include "Globals.h"

#include "CalendarControl.h"
#include "Vb.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

QLineEdit* hiddenBox(const char* name, QWidget* parent)
{
    auto* box = new QLineEdit(name, parent);
    box->setObjectName(name);
    box->hide();
    return box;
}

} // namespace

WaitingListPage::WaitingListPage(QWidget* parent) : QWidget(parent)
{
    setObjectName("frame_WaitingListTab");
    auto* planArea = new QWidget(this);
    LayoutPlan3 = new FloorPlan("LayoutPlan3", 6, 0, planArea);
    txtInfo_WaitCursor = hiddenBox("txtInfo_WaitCursor", this);
    txtInfo_WaitSelect = hiddenBox("txtInfo_WaitSelect", this);
    txt_WaitingListFieldType = hiddenBox("txt_WaitingListFieldType", this);
    LayoutPlan3->SetCursorBox(txtInfo_WaitCursor);
    connect(LayoutPlan3, &FloorPlan::Click, this, &WaitingListPage::LayoutPlan3_Click);

    DatePicker = new CalendarPicker(
        {"Calendar2", "cmd_CalendarMonthWaitList", "cmd_CalendarYearWaitList", "lbl_DateLabelWaitList"}, this);
    Calendar2 = DatePicker->Calendar;
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

void WaitingListPage::LayoutPlan3_Click()
{
    if (txtInfo_WaitCursor->text().startsWith('X'))
        return;
    SelectedWaitCourt = static_cast<int>(Vb::Val(txtInfo_WaitSelect->text()));
    txtInfo_WaitSelect->setText(txtInfo_WaitCursor->text());
    // Compared as a number: court type 10 is not below 2.
    const int type = static_cast<int>(Vb::Val(txtInfo_WaitSelect->text()));
    if (type < 0 || type > LastCourtTypeIndex)
        return;
    LayoutPlan3->MoveHighlight(SelectedWaitCourt, type);
    txt_WaitingListFieldType->setText(QString::number(type));
    if (Reload)
        Reload();
}
