#pragma once

#include <QDateTime>
#include <QWidget>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QTreeWidget;
class VbError;
class WaitListHost;

// The waiting list of the date and court type chosen on the waiting-list tab, with the commands to
// add an entry, clear one, and cut one for pasting into the grid.
class WaitListPanel : public QWidget {
    Q_OBJECT

public:
    explicit WaitListPanel(WaitListHost& host, QWidget* parent = nullptr);

    // Columns "No", "Name", "Tel" and "Hour"; a row's text is the entry's number.
    QTreeWidget* ListView_Wait;
    // Over the list while the last reading failed: what failed and what the list shows meanwhile.
    QLabel* lbl_ReadFailure;
    QPushButton* btn_AddEntry;
    QPushButton* btn_ClearEntry;
    // The list's pop-up menu; the window connects "Cut Slot" to the slot clipboard.
    QMenu* mnu_WaitList;
    QAction* mnu_Cut;

    // Rebuilds the list from the database; always 1. A failure is told over the list, not in the error
    // window, so that the tab stays usable: the entries read last of the same date and court type stay
    // shown, those of another are not.
    int RefreshWaitList();

    // Tells a failure of a waiting-list action in a message box, and what the user may do meanwhile;
    // the program goes on and nothing typed is lost.
    static void TellFailure(const QString& what, const VbError& error, const QString& meanwhile);

public slots:
    void btn_AddEntry_Click();
    void btn_ClearEntry_Click();
    // A release of the right button over the list pops its menu up at the mouse (at, on the screen);
    // other buttons do nothing. The shift state plays no part.
    void ListView_Wait_MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, const QPoint& at);

private:
    WaitListHost& m_host;
    // The date and court type of the entries shown, and when they were read; invalid when none are.
    QString m_shownDate;
    QString m_shownType;
    QDateTime m_readAt;
};
