#pragma once

#include <QWidget>

class QAction;
class QMenu;
class QPushButton;
class QTreeWidget;
class WaitListHost;

// The waiting list of the date and court type chosen on the waiting-list tab, with the commands to
// add an entry, clear one, and cut one for pasting into the grid.
class WaitListPanel : public QWidget {
    Q_OBJECT

public:
    explicit WaitListPanel(WaitListHost& host, QWidget* parent = nullptr);

    // Columns "No", "Name", "Tel" and "Hour"; a row's text is the entry's number.
    QTreeWidget* ListView_Wait;
    QPushButton* btn_AddEntry;
    QPushButton* btn_ClearEntry;
    // The list's pop-up menu; the window connects "Cut Slot" to the slot clipboard.
    QMenu* mnu_WaitList;
    QAction* mnu_Cut;

    // Rebuilds the list from the database; always 1. A failure is shown in the error window and
    // leaves the list empty.
    int RefreshWaitList();

public slots:
    void btn_AddEntry_Click();
    void btn_ClearEntry_Click();

private:
    WaitListHost& m_host;
};
