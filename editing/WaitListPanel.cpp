#include "WaitListPanel.h"
#include "WaitList.h"
#include "WaitListHost.h"
#include "frm_WaitingList.h"

#include "Clock.h"
#include "FailureLine.h"
#include "MouseUp.h"
#include "Prompter.h"
#include "VbError.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <memory>

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
    lbl_ReadFailure = FailureLine("lbl_ReadFailure", this);

    mnu_WaitList = new QMenu("waitinglistmenu", this);
    mnu_WaitList->setObjectName("mnu_WaitList");
    mnu_Cut = mnu_WaitList->addAction("Cut Slot");
    mnu_Cut->setObjectName("mnu_Cut");
    OnMouseUp(ListView_Wait->viewport(), [this](Qt::MouseButton button, Qt::KeyboardModifiers shift,
                                               const QPoint& at) { ListView_Wait_MouseUp(button, shift, at); });

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
    all->addWidget(lbl_ReadFailure);
    all->addWidget(ListView_Wait);
    all->addLayout(buttons);
}

void WaitListPanel::ListView_Wait_MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers, const QPoint& at)
{
    // No row needs to be chosen for the menu to open; the cut itself refuses an empty list.
    if (Button == Qt::RightButton)
        mnu_WaitList->popup(at);
}

int WaitListPanel::RefreshWaitList()
{
    const QString date = m_host.WaitListDate();
    const QString type = m_host.WaitListFieldType();
    try {
        const std::vector<WaitListEntry> entries = WaitList::Entries(date, type);
        ListView_Wait->clear();
        for (const WaitListEntry& entry : entries)
            new QTreeWidgetItem(ListView_Wait, {entry.id, entry.name, entry.tel, entry.hour});
        m_shownDate = date;
        m_shownType = type;
        m_readAt = Now();
        lbl_ReadFailure->hide();
    } catch (const VbError& e) {
        QString shown = "It shows the entries as read at " + m_readAt.toString("hh:mm:ss") + ".";
        if (!m_readAt.isValid() || m_shownDate != date || m_shownType != type) {
            ListView_Wait->clear();
            m_readAt = QDateTime();
            shown = "Its entries are not shown until it can be read: choose the date or court type again once the "
                    "database answers.";
        }
        lbl_ReadFailure->setText("The waiting list could not be read: " + e.description() + "\n" + shown);
        lbl_ReadFailure->show();
    }
    // As in the list views staff know, the first row is the chosen one until another is clicked.
    if (!ListView_Wait->currentItem() && ListView_Wait->topLevelItemCount() > 0)
        ListView_Wait->setCurrentItem(ListView_Wait->topLevelItem(0));
    return 1;
}

void WaitListPanel::TellFailure(const QString& what, const VbError& error, const QString& meanwhile)
{
    MsgBox(what + ": " + error.description() + "\r\n\r\n" + meanwhile, Msg::Exclamation);
}

void WaitListPanel::btn_AddEntry_Click()
{
    // The dialog reads the special groups in use as it opens.
    std::unique_ptr<frm_WaitingList> dialog;
    try {
        dialog = std::make_unique<frm_WaitingList>(m_host, *this);
    } catch (const VbError& e) {
        TellFailure("The waiting-list dialog cannot be opened", e, "Press Add Record again once the database answers.");
        return;
    }
    dialog->exec();
}

void WaitListPanel::btn_ClearEntry_Click()
{
    if (ListView_Wait->topLevelItemCount() == 0)
        return;
    if (MsgBox("Confirm delete?", Msg::YesNo, "Important") == Msg::Yes && ListView_Wait->currentItem()) {
        const QString id = ListView_Wait->currentItem()->text(0);
        try {
            WaitList::Remove(id);
        } catch (const VbError& e) {
            // The list already shows the entry as it stays; reading it again would only wait once more.
            TellFailure("Entry " + id + " could not be deleted", e,
                        "It stays on the waiting list; press Clear Record again once the database answers.");
            return;
        }
    }
    RefreshWaitList();
}
