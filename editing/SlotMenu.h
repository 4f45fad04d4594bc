#pragma once

#include <QMenu>
#include <vector>

class CartPanel;
class QAction;
class SalesHost;
class SlotGrid;
class WaitListPanel;

// The grid's slot menu, shown on a release of the right button over the grid. "Delete Slot" is
// connected by the bookings page, whose cancel command it runs.
class SlotMenu : public QMenu {
    Q_OBJECT

public:
    SlotMenu(SlotGrid& grid, QWidget* parent);

    // The start-up steps of the menu: "Change Player Count" only under per-person charging, and one
    // "Set this slot as '...' slot" item for each of groups, the special groups whose register exists.
    void LoadItems(const std::vector<int>& groups);
    // "Cut Slot" of the waiting list cuts the panel's chosen entry.
    void ConnectWaitList(WaitListPanel& panel);
    // "Pay Slot" runs the cart's slot payment; "Print Invoice" names the court as host shows it.
    void ConnectSales(CartPanel& cart, const SalesHost& host);

    QAction* mnu_Copy;
    QAction* mnu_ChangePlayerCount;
    QAction* mnu_Paste;
    QAction* mnu_Delete;
    QAction* mnu_Pay;
    QAction* mnu_PrintInvoice;
    QAction* mnu_bar1;
    QAction* mnu_setStudent;
    QAction* mnu_SetMember;
    QAction* mnu_SetNormal;
    // Element 0 is the design item, never shown; element k is special group k, when loaded.
    std::vector<QAction*> mnu_SetSpecialGroup;
    QAction* mnu_ba5;
    QAction* mnu_Move;
    QAction* mnu_bar2;
    QMenu* mnu_ExtraTime;
    QAction* mnu_Add15;
    QAction* mnu_Add30;
    QAction* mnu_Add45;
    QAction* mnu_ClearAddition;
    QAction* mnu_bar4;
    QMenu* mnu_Delay;
    QAction* mnu_Delay15;
    QAction* mnu_Delay30;
    QAction* mnu_Delay45;
    QAction* mnu_DelayClear;
    QAction* mnu_bar5;
    QMenu* mnu_Duration;
    QAction* mnu_Duration15;
    QAction* mnu_Duration30;
    QAction* mnu_Duration45;
    QAction* mnu_DurationDefault;
    QAction* mnu_bar3;
    QAction* mnu_BlockBook1;
    QAction* mnu_BlockBook2;

public slots:
    void mnu_Copy_Click();
    void mnu_Paste_Click();
    void mnu_Cut_Click();
    void mnu_ChangePlayerCount_Click();
    void mnu_Pay_Click();
    void mnu_PrintInvoice_Click();
    void mnu_setStudent_Click();
    void mnu_SetMember_Click();
    void mnu_SetNormal_Click();
    // Index is the special group's number.
    void mnu_SetSpecialGroup_Click(int Index);
    void mnu_Add15_Click();
    void mnu_Add30_Click();
    void mnu_Add45_Click();
    void mnu_ClearAddition_Click();
    void mnu_Delay15_Click();
    void mnu_Delay30_Click();
    void mnu_Delay45_Click();
    void mnu_DelayClear_Click();
    void mnu_Duration15_Click();
    void mnu_Duration30_Click();
    void mnu_Duration45_Click();
    void mnu_DurationDefault_Click();
    void mnu_BlockBook1_Click();
    void mnu_BlockBook2_Click();

private:
    QAction* item(QMenu* menu, const char* name, const QString& caption);
    QAction* separator(const char* name);
    QMenu* submenu(const char* name, const QString& caption);
    // What the handlers of one kind share; they differ only in the class or the minutes.
    void setRateClass(const QString& rateClass);
    void addExtraTime(int minutes);
    void delayTo(int minute);
    void setDuration(int minutes);

    SlotGrid& m_grid;
    WaitListPanel* m_waitList = nullptr;
    CartPanel* m_cart = nullptr;
    const SalesHost* m_sales = nullptr;
};
