#pragma once

#include "DurationBars.h"
#include "GridRefresh.h"
#include "SlotGrid.h"
#include "SlotInfo.h"

#include <QIcon>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <vector>

class CalendarControl;
class CalendarPicker;
class clsToolTip;
class FloorPlan;
class QAction;
class QComboBox;
class QLabel;
class SlotMenu;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;
class QTreeWidget;

// The "Field Bookings" tab: the floor plan the court is picked on, the calendar, and the hourly
// grid of that court and date with its actions and play lists.
class BookingsPage : public QWidget, public SlotGrid {
    Q_OBJECT

public:
    explicit BookingsPage(QWidget* parent);

    FloorPlan* LayoutPlan1;
    QLabel* lbl_FieldInfo;
    QLabel* txt_Time;
    CalendarPicker* DatePicker;
    CalendarControl* Calendar;
    QComboBox* cmd_CalendarMonth;
    QComboBox* cmd_CalendarYear;
    QLabel* lbl_DateLabel;
    // The court picked on the plan, and the court under the mouse.
    QLineEdit* txtInfo_FieldSelect;
    QLineEdit* txt_CurrentSelected;

    // The hourly grid of the court in txtInfo_FieldSelect on the date of Calendar.
    QTreeWidget* ListView_Book;
    QPushButton* btn_Book;
    QPushButton* btn_Clear;
    QPushButton* btn_Paid;
    QPushButton* btn_Summary;
    QPushButton* Command1;
    QTabWidget* SSTab2;
    QLabel* PreviousPlayList;
    QLabel* CurrentPlayList;
    QLabel* NextPlayList;
    // Over the grid while the last refresh could not read the database.
    QLabel* lbl_RefreshFailure;
    SlotMenu* mnu_Mouse;

    // The tip over the grid, made by the window's start-up; null until then.
    clsToolTip* ToolTip = nullptr;
    // Run after a booked waiting-list entry was removed.
    std::function<void()> WaitListChanged;

    // The court of the last refresh.
    int16_t GridCourt = 0;
    DurationBars ImageList1;

    void PrepareImageClips();
    void RefreshViewInit();
    int RefreshView() override;
    // Recolours the hours around the present one and refills the play lists from the database, the
    // step that ends every refresh, without reading the rows again; a database failure is thrown.
    void RefreshList();
    void RefreshWaitList() override;
    // Says over the grid what could not be read, until the next refresh; the empty text says nothing.
    void ShowFailure(const QString& failure);

    void DelayGameTime(int IndexNumber, int DelayTime, bool requireAuthorization);

    // SlotGrid
    QString GridDate() const override;
    QString CourtText() const override;
    int RowCount() const override;
    QString RowText(int row) const override;
    QString NameCell(int row) const override;
    QString PaidCell(int row) const override;
    bool IsSelected(int row) const override;
    int CurrentRow() const override;
    const BookRows& Rows() const override { return m_bookRows; }
    QString ActionTime() const override;
    QWidget* Owner() override { return window(); }

    void Calendar_DateSelected();
    void cmd_CalendarMonth_Click();
    void cmd_CalendarMonth_Change();
    void cmd_CalendarYear_Click();
    // X and Y in twips relative to the plan.
    void LayoutPlan1_MouseMove(int X, int Y);
    void LayoutPlan1_Click();
    void btn_Book_Click();
    void btn_Clear_Click();
    void mnu_Delete_Click();
    void Command1_Click();
    void ListView_Book_Click();
    void ListView_Book_DblClick();
    // A release of the right button pops up the slot menu at the mouse; other buttons do nothing.
    void ListView_Book_MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, const QPoint& at);

private:
    void buildSlotMenu();
    void showRows();
    void RefreshList(const PlayLists& lists);

    GridReading m_reading;
    SlotHistoryTip m_history;
    BookRows m_bookRows;
    std::vector<QIcon> m_barIcons;
};
