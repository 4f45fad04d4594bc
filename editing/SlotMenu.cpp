#include "SlotMenu.h"
#include "PlayerCountChange.h"
#include "SlotClipboard.h"
#include "TimingCommands.h"
#include "WaitListPanel.h"
#include "frm_AskNPlayer.h"

#include "Courts.h"
#include "SlotChanges.h"
#include "SlotGrid.h"

#include "CartPanel.h"
#include "Invoice.h"
#include "RateClass.h"
#include "SalesHost.h"

#include "ErrorDisplay.h"
#include "Globals.h"
#include "SpecialGroups.h"

#include <QTreeWidget>

SlotMenu::SlotMenu(SlotGrid& grid, QWidget* parent) : QMenu("mousemenu", parent), m_grid(grid)
{
    setObjectName("mnu_Mouse");
    mnu_Copy = item(this, "mnu_Copy", "Copy Slot");
    mnu_ChangePlayerCount = item(this, "mnu_ChangePlayerCount", "Change Player Count");
    mnu_Paste = item(this, "mnu_Paste", "Paste Slot");
    mnu_Delete = item(this, "mnu_Delete", "Delete Slot");
    mnu_Pay = item(this, "mnu_Pay", "Pay Slot");
    mnu_PrintInvoice = item(this, "mnu_PrintInvoice", "Print Invoice");
    mnu_bar1 = separator("mnu_bar1");
    mnu_setStudent = item(this, "mnu_setStudent", "Set this slot as 'student' slot");
    mnu_SetMember = item(this, "mnu_SetMember", "Set this slot as 'member' slot");
    mnu_SetNormal = item(this, "mnu_SetNormal", "Set this slot as 'normal' slot");
    mnu_SetSpecialGroup.push_back(item(this, "mnu_SetSpecialGroup", "Set this slot as 'special group 1' slot"));
    mnu_SetSpecialGroup[0]->setVisible(false);
    mnu_ba5 = separator("mnu_ba5");
    mnu_ba5->setVisible(false);
    mnu_Move = item(this, "mnu_Move", "Move To");
    mnu_Move->setVisible(false);
    mnu_bar2 = separator("mnu_bar2");
    mnu_ExtraTime = submenu("mnu_ExtraTime", "Extra Time");
    mnu_Add15 = item(mnu_ExtraTime, "mnu_Add15", "Add 15 minutes extra time");
    mnu_Add30 = item(mnu_ExtraTime, "mnu_Add30", "Add 30 minutes extra time");
    mnu_Add45 = item(mnu_ExtraTime, "mnu_Add45", "Add 45 minutes extra time");
    mnu_ClearAddition = item(mnu_ExtraTime, "mnu_ClearAddition", "Clear extra time");
    mnu_bar4 = separator("mnu_bar4");
    mnu_Delay = submenu("mnu_Delay", "Delay Bookings");
    mnu_Delay15 = item(mnu_Delay, "mnu_Delay15", "Delay for 15 minutes");
    mnu_Delay30 = item(mnu_Delay, "mnu_Delay30", "Delay for 30 minutes");
    mnu_Delay45 = item(mnu_Delay, "mnu_Delay45", "Delay for 45 minutes");
    mnu_DelayClear = item(mnu_Delay, "mnu_DelayClear", "Start at beginning of the slot");
    mnu_bar5 = separator("mnu_bar5");
    mnu_Duration = submenu("mnu_Duration", "Shorten Bookings");
    mnu_Duration15 = item(mnu_Duration, "mnu_Duration15", "Set Duration for 15 minutes");
    mnu_Duration30 = item(mnu_Duration, "mnu_Duration30", "Set Duration for 30 minutes");
    mnu_Duration45 = item(mnu_Duration, "mnu_Duration45", "Set Duration for 45 minutes");
    mnu_DurationDefault = item(mnu_Duration, "mnu_DurationDefault", "Clear custom duration");
    mnu_bar3 = separator("mnu_bar3");
    mnu_BlockBook1 = item(this, "mnu_BlockBook1", "Block Booking for 1 month");
    mnu_BlockBook2 = item(this, "mnu_BlockBook2", "Block Booking for 2 month");

    connect(mnu_Copy, &QAction::triggered, this, &SlotMenu::mnu_Copy_Click);
    connect(mnu_ChangePlayerCount, &QAction::triggered, this, &SlotMenu::mnu_ChangePlayerCount_Click);
    connect(mnu_Paste, &QAction::triggered, this, &SlotMenu::mnu_Paste_Click);
    connect(mnu_setStudent, &QAction::triggered, this, &SlotMenu::mnu_setStudent_Click);
    connect(mnu_SetMember, &QAction::triggered, this, &SlotMenu::mnu_SetMember_Click);
    connect(mnu_SetNormal, &QAction::triggered, this, &SlotMenu::mnu_SetNormal_Click);
    connect(mnu_Add15, &QAction::triggered, this, &SlotMenu::mnu_Add15_Click);
    connect(mnu_Add30, &QAction::triggered, this, &SlotMenu::mnu_Add30_Click);
    connect(mnu_Add45, &QAction::triggered, this, &SlotMenu::mnu_Add45_Click);
    connect(mnu_ClearAddition, &QAction::triggered, this, &SlotMenu::mnu_ClearAddition_Click);
    connect(mnu_Delay15, &QAction::triggered, this, &SlotMenu::mnu_Delay15_Click);
    connect(mnu_Delay30, &QAction::triggered, this, &SlotMenu::mnu_Delay30_Click);
    connect(mnu_Delay45, &QAction::triggered, this, &SlotMenu::mnu_Delay45_Click);
    connect(mnu_DelayClear, &QAction::triggered, this, &SlotMenu::mnu_DelayClear_Click);
    connect(mnu_Duration15, &QAction::triggered, this, &SlotMenu::mnu_Duration15_Click);
    connect(mnu_Duration30, &QAction::triggered, this, &SlotMenu::mnu_Duration30_Click);
    connect(mnu_Duration45, &QAction::triggered, this, &SlotMenu::mnu_Duration45_Click);
    connect(mnu_DurationDefault, &QAction::triggered, this, &SlotMenu::mnu_DurationDefault_Click);
    connect(mnu_BlockBook1, &QAction::triggered, this, &SlotMenu::mnu_BlockBook1_Click);
    connect(mnu_BlockBook2, &QAction::triggered, this, &SlotMenu::mnu_BlockBook2_Click);
}

QAction* SlotMenu::item(QMenu* menu, const char* name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
}

QAction* SlotMenu::separator(const char* name)
{
    QAction* action = addSeparator();
    action->setObjectName(name);
    return action;
}

QMenu* SlotMenu::submenu(const char* name, const QString& caption)
{
    QMenu* menu = addMenu(caption);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    return menu;
}

void SlotMenu::LoadItems(const std::vector<int>& groups)
{
    mnu_ChangePlayerCount->setVisible(PerPersonChargingOn == 1);
    for (int k : groups) {
        auto* action = new QAction("Set this slot as '" + GetSpecialGroupName(k) + " ' slot", this);
        action->setObjectName("mnu_SetSpecialGroup");
        insertAction(mnu_ba5, action);
        mnu_SetSpecialGroup.resize(static_cast<size_t>(k) + 1, nullptr);
        mnu_SetSpecialGroup[static_cast<size_t>(k)] = action;
        connect(action, &QAction::triggered, this, [this, k] { mnu_SetSpecialGroup_Click(k); });
    }
}

void SlotMenu::ConnectWaitList(WaitListPanel& panel)
{
    m_waitList = &panel;
    connect(panel.mnu_Cut, &QAction::triggered, this, &SlotMenu::mnu_Cut_Click);
}

void SlotMenu::ConnectSales(CartPanel& cart, const SalesHost& host)
{
    m_cart = &cart;
    m_sales = &host;
    connect(mnu_Pay, &QAction::triggered, this, &SlotMenu::mnu_Pay_Click);
    connect(mnu_PrintInvoice, &QAction::triggered, this, &SlotMenu::mnu_PrintInvoice_Click);
}

void SlotMenu::mnu_Copy_Click()
{
    Guarded("copying the slot", [this] { SlotClipboard::Copy(m_grid); });
}

void SlotMenu::mnu_Paste_Click()
{
    Guarded("pasting the slot", [this] { SlotClipboard::Paste(m_grid); });
}

void SlotMenu::mnu_Cut_Click()
{
    const QTreeWidgetItem* entry = m_waitList ? m_waitList->ListView_Wait->currentItem() : nullptr;
    Guarded("cutting the waiting-list entry", [&] { SlotClipboard::Cut(entry ? entry->text(0) : QString()); });
}

void SlotMenu::mnu_ChangePlayerCount_Click()
{
    Guarded("changing the player count", [this] {
        const int row = m_grid.CurrentRow();
        const std::optional<int> court = ChosenCourt(m_grid.CourtText());
        if (!court || !PlayerCountChange::MayChange(m_grid))
            return;
        frm_AskNPlayer dialog(m_grid.GridDate(), m_grid.RowTime(row), *court, m_grid.NameCell(row), m_grid.ActionTime(),
                              m_grid.Owner());
        dialog.exec();
    });
}

void SlotMenu::mnu_Pay_Click()
{
    if (m_cart)
        m_cart->btn_Paid_Click();
}

void SlotMenu::mnu_PrintInvoice_Click()
{
    if (m_sales)
        Guarded("printing the invoice", [this] { PrintInvoice(m_grid, m_sales->FieldInfo()); });
}

void SlotMenu::mnu_setStudent_Click() { setRateClass(StudentClass); }

void SlotMenu::mnu_SetMember_Click() { setRateClass(MemberClass); }

void SlotMenu::mnu_SetNormal_Click() { setRateClass(NormalClass); }

void SlotMenu::mnu_SetSpecialGroup_Click(int Index) { setRateClass(SpecialGroupClass(Index)); }

void SlotMenu::setRateClass(const QString& rateClass)
{
    Guarded("changing the rate", [&] { SetSlotRateClass(m_grid, rateClass); });
}

void SlotMenu::mnu_Add15_Click() { addExtraTime(15); }

void SlotMenu::mnu_Add30_Click() { addExtraTime(30); }

void SlotMenu::mnu_Add45_Click() { addExtraTime(45); }

void SlotMenu::addExtraTime(int minutes)
{
    Guarded("adding extra time", [&] { doAddExtraTime(m_grid, minutes); });
}

void SlotMenu::mnu_ClearAddition_Click()
{
    Guarded("clearing the extra time", [this] { TimingCommands::ClearExtraTime(m_grid); });
}

void SlotMenu::mnu_Delay15_Click() { delayTo(15); }

void SlotMenu::mnu_Delay30_Click() { delayTo(30); }

void SlotMenu::mnu_Delay45_Click() { delayTo(45); }

void SlotMenu::delayTo(int minute)
{
    Guarded("delaying the slot", [&] { doDelay(m_grid, minute); });
}

void SlotMenu::mnu_DelayClear_Click()
{
    Guarded("delaying the slot", [this] { TimingCommands::StartAtBeginning(m_grid); });
}

void SlotMenu::mnu_Duration15_Click() { setDuration(15); }

void SlotMenu::mnu_Duration30_Click() { setDuration(30); }

void SlotMenu::mnu_Duration45_Click() { setDuration(45); }

void SlotMenu::mnu_DurationDefault_Click() { setDuration(60); }

void SlotMenu::setDuration(int minutes)
{
    Guarded("setting the duration", [&] { TimingCommands::SetDuration(m_grid, minutes); });
}

void SlotMenu::mnu_BlockBook1_Click()
{
    Guarded("block booking", [this] { SlotClipboard::BlockBook(m_grid, 3); });
}

void SlotMenu::mnu_BlockBook2_Click()
{
    Guarded("block booking", [this] { SlotClipboard::BlockBook(m_grid, 7); });
}
