#include "AdministrationPage.h"

#include "RegisterForm.h"

#include "frm_HandOver.h"
#include "frm_Item.h"
#include "frm_ShiftEnd.h"

#include "ErrorDisplay.h"
#include "Globals.h"
#include "Verification.h"
#include "frm_Options.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int ButtonWidth = 200;
constexpr int ButtonHeight = 32;
constexpr int Gap = 6;
constexpr int FrameMargin = 24;

QPushButton* button(const char* name, const QString& caption, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setMinimumHeight(ButtonHeight);
    return b;
}

} // namespace

AdministrationPage::AdministrationPage(QWidget* parent) : QWidget(parent)
{
    setObjectName("frame_AdministrationTab");
    auto* operations = new QGroupBox("Operations", this);
    operations->setObjectName("frame_Operation");
    btn_Options = button("btn_Options", "Options", operations);
    btn_Item = button("btn_Item", "Items", operations);
    btn_CollectCash = button("btn_CollectCash", "Collect Cash", operations);
    btn_EndMorningShift = button("btn_EndMorningShift", "End of Morning Shift ", operations);
    btn_HandOver = button("btn_HandOver", "Hand Over", operations);
    btn_EndEveningShift = button("btn_EndEveningShift", "End of Evening Shift", operations);
    btn_PrintOldReceipt = button("btn_PrintOldReceipt", "Old Receipt", operations);
    auto* ops = new QGridLayout(operations);
    QPushButton* order[] = {btn_Options,  btn_Item,            btn_CollectCash,    btn_EndMorningShift,
                            btn_HandOver, btn_EndEveningShift, btn_PrintOldReceipt};
    for (int i = 0; i < 7; ++i)
        ops->addWidget(order[i], i / 2, i % 2);
    connect(btn_Options, &QPushButton::clicked, this, &AdministrationPage::btn_Options_Click);
    connect(btn_Item, &QPushButton::clicked, this, &AdministrationPage::btn_Item_Click);
    connect(btn_HandOver, &QPushButton::clicked, this, &AdministrationPage::btn_HandOver_Click);
    connect(btn_EndMorningShift, &QPushButton::clicked, this, &AdministrationPage::btn_EndMorningShift_Click);
    connect(btn_EndEveningShift, &QPushButton::clicked, this, &AdministrationPage::btn_EndEveningShift_Click);

    // The special-group buttons stand at fixed places below the register buttons.
    frame_MemberShip = new QGroupBox("Membership", this);
    frame_MemberShip->setObjectName("frame_MemberShip");
    btn_Membership = button("btn_Membership", "Members", frame_MemberShip);
    btn_Membership->setGeometry(FrameMargin, 2 * FrameMargin, ButtonWidth, ButtonHeight);
    btn_Student = button("btn_Student", "Students", frame_MemberShip);
    btn_Student->setGeometry(FrameMargin + ButtonWidth + Gap, 2 * FrameMargin, ButtonWidth, ButtonHeight);
    auto* first = button("btn_MemberDynamic0", "Special #1", frame_MemberShip);
    first->setGeometry(FrameMargin, btn_Membership->geometry().bottom() + 1 + Gap, ButtonWidth, ButtonHeight);
    first->hide();
    btn_MemberDynamic.assign(SpecialGroupLimit + 1, nullptr);
    btn_MemberDynamic[0] = first;
    connect(btn_Membership, &QPushButton::clicked, this, &AdministrationPage::btn_Membership_Click);
    connect(btn_Student, &QPushButton::clicked, this, &AdministrationPage::btn_Student_Click);
    frame_MemberShip->setMinimumSize(2 * FrameMargin + 2 * ButtonWidth + Gap,
                                     first->y() + SpecialGroupLimit * (ButtonHeight + Gap) + FrameMargin);

    auto* schedule = new QGroupBox("Quorrin Schedule", this);
    schedule->setObjectName("frame_QuorrinSchedule");
    auto* scheduleButtons = new QVBoxLayout(schedule);
    scheduleButtons->addWidget(button("btn_quorrinScheduleAuto", "Start Auto Update", schedule));
    btn_quorrinScheduleForce = button("btn_quorrinScheduleForce", "Force Update", schedule);
    connect(btn_quorrinScheduleForce, &QPushButton::clicked, this, &AdministrationPage::btn_quorrinScheduleForce_Click);
    scheduleButtons->addWidget(btn_quorrinScheduleForce);
    auto* banList = new QGroupBox("Quorrin Ban List", this);
    banList->setObjectName("frame_QuorrinBanList");
    auto* banButtons = new QVBoxLayout(banList);
    banButtons->addWidget(button("btn_quorrinBanListForce", "Force Exchange", banList));
    banButtons->addWidget(button("btn_quorrinBanListAuto", "Start Auto Exchange", banList));

    auto* all = new QGridLayout(this);
    all->addWidget(operations, 0, 0);
    all->addWidget(frame_MemberShip, 0, 1, 2, 1, Qt::AlignTop);
    auto* portal = new QHBoxLayout;
    portal->addWidget(schedule);
    portal->addWidget(banList);
    all->addLayout(portal, 1, 0, Qt::AlignTop);
    all->setRowStretch(2, 1);
    all->setColumnStretch(2, 1);
}

void AdministrationPage::AddSpecialGroupButton(int n, const QString& caption)
{
    const QPushButton* first = btn_MemberDynamic[0];
    auto* b = button(qPrintable("btn_MemberDynamic" + QString::number(n)), caption, frame_MemberShip);
    connect(b, &QPushButton::clicked, this, [this, n] { btn_MemberDynamic_Click(n); });
    b->setGeometry(first->x(), first->y() + (n - 1) * (first->height() + Gap), first->width(), first->height());
    b->show();
    btn_MemberDynamic[static_cast<size_t>(n)] = b;
}

void AdministrationPage::btn_Options_Click()
{
    try {
        CurrentTask = "opening the options";
        ShowVerifyUser(window());
        if (!IsUserAllowed(true))
            return;
        frm_Options options(window());
        options.exec();
    } catch (const VbError& e) {
        ShowErrorDisplay(e);
    }
}

void AdministrationPage::btn_Item_Click()
{
    bool allowed = false;
    Guarded("verifying the user", [&] {
        ShowVerifyUser(window());
        allowed = IsUserAllowed(true);
    });
    if (!allowed)
        return;
    frm_Item items(RefreshStore, window());
    items.exec();
}

void AdministrationPage::btn_HandOver_Click()
{
    Guarded("handing over", [this] { HandOver(Shift); });
}

void AdministrationPage::btn_EndMorningShift_Click() { EndShift(Shift, "morning"); }

void AdministrationPage::btn_EndEveningShift_Click() { EndShift(Shift, "evening"); }

void AdministrationPage::btn_Membership_Click() { frm_Members().Show(window()); }

void AdministrationPage::btn_Student_Click() { frm_Students().Show(window()); }

void AdministrationPage::btn_MemberDynamic_Click(int Index)
{
    frm_Members_Dynamic().TableIndex = Index;
    frm_Members_Dynamic().Show(window());
}

// The portal takes no schedule from this station: the button is there as the counter knows it and
// changes nothing.
void AdministrationPage::btn_quorrinScheduleForce_Click() {}
