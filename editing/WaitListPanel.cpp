#include "WaitListPanel.h"
#include "WaitList.h"
#include "WaitListHost.h"
#include "frm_WaitingList.h"

#include "ErrorDisplay.h"
#include "Globals.h"
#include "Prompter.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

WaitListPanel::WaitListPanel(WaitListHost& host, QWidget* parent) : QWidget(parent), m_host(host)
{
    setObjectName("frame_WaitList");
    ListView_Wait = new QTreeWidget(this);
    ListView_Wait->setObjectName("ListView_Wait");
    ListView_Wait->setRootIsDecorated(false);
    ListView_Wait->setHeaderLabels({"No", "Name", "Tel", "Hour"});
    ListView_Wait->setColumnWidth(0, 50);
    ListView_Wait->setColumnWidth(1, 200);
    ListView_Wait->setColumnWidth(2, 140);
    ListView_Wait->setContextMenuPolicy(Qt::CustomContextMenu);

    mnu_WaitList = new QMenu("waitinglistmenu", this);
    mnu_WaitList->setObjectName("mnu_WaitList");
    mnu_Cut = mnu_WaitList->addAction("Cut Slot");
    mnu_Cut->setObjectName("mnu_Cut");
    // No row needs to be chosen for the menu to open; the cut itself refuses an empty list.
    connect(ListView_Wait, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { mnu_WaitList->popup(ListView_Wait->viewport()->mapToGlobal(at)); });

    btn_AddEntry = new QPushButton("Add Record", this);
    btn_AddEntry->setObjectName("btn_AddEntry");
    btn_ClearEntry = new QPushButton("Clear Record", this);
    btn_ClearEntry->setObjectName("btn_ClearEntry");
    connect(btn_AddEntry, &QPushButton::clicked, this, &WaitListPanel::btn_AddEntry_Click);
    connect(btn_ClearEntry, &QPushButton::clicked, this, &WaitListPanel::btn_ClearEntry_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btn_AddEntry);
    buttons->addWidget(btn_ClearEntry);
    buttons->addStretch();
    auto* all = new QVBoxLayout(this);
    all->setContentsMargins(0, 0, 0, 0);
    all->addWidget(ListView_Wait);
    all->addLayout(buttons);
}

int WaitListPanel::RefreshWaitList()
{
    ListView_Wait->clear();
    try {
        CurrentTask = "loading the waiting list";
        for (const WaitListEntry& entry : WaitList::Entries(m_host.WaitListDate(), m_host.WaitListFieldType()))
            new QTreeWidgetItem(ListView_Wait, {entry.id, entry.name, entry.tel, entry.hour});
    } catch (const VbError& e) {
        ShowErrorDisplay(e);
    }
    // As in the list views staff know, the first row is the chosen one until another is clicked.
    if (ListView_Wait->topLevelItemCount() > 0)
        ListView_Wait->setCurrentItem(ListView_Wait->topLevelItem(0));
    return 1;
}

void WaitListPanel::btn_AddEntry_Click()
{
    frm_WaitingList dialog(m_host, *this);
    dialog.exec();
}

void WaitListPanel::btn_ClearEntry_Click()
{
    if (ListView_Wait->topLevelItemCount() == 0)
        return;
    if (MsgBox("Confirm delete?", Msg::YesNo, "Important") == Msg::Yes && ListView_Wait->currentItem()) {
        try {
            CurrentTask = "deleting the waiting-list entry";
            WaitList::Remove(ListView_Wait->currentItem()->text(0));
        } catch (const VbError& e) {
            ShowErrorDisplay(e);
        }
    }
    RefreshWaitList();
}
