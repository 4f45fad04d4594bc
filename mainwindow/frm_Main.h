#pragma once

#include "DurationBars.h"
#include "GridRefresh.h"
#include "SlotGrid.h"

#include <QIcon>
#include <QMainWindow>
#include <cstdint>
#include <vector>

class QAction;
class QDateEdit;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimer;
class QTreeWidget;

// The counter's main window. One default instance, made on first use and made afresh after it
// was unloaded (a hand-over unloads it and starts over at the login).
class frm_Main : public QMainWindow, public SlotGrid {
    Q_OBJECT

public:
    static frm_Main& Default();
    static bool IsLoaded();
    // Closes and destroys the default instance.
    static void Unload();

    // The hourly grid of the court in txtInfo_FieldSelect on the date of Calendar.
    QTreeWidget* ListView_Book;
    QDateEdit* Calendar;
    QLineEdit* txtInfo_FieldSelect;
    QPushButton* btn_Book;
    QPushButton* btn_Clear;
    QPushButton* Command1;
    QLabel* PreviousPlayList;
    QLabel* CurrentPlayList;
    QLabel* NextPlayList;
    QLabel* txt_Time;
    // Over the grid while the last refresh could not read the database.
    QLabel* lbl_RefreshFailure;
    QMenu* mnu_Mouse;
    QAction* mnu_Delete;

    // The court of the last refresh.
    int16_t GridCourt = 0;
    DurationBars ImageList1;

    void RefreshViewInit();
    void RefreshView() override;

    bool doBooking(const QString& BDate, const QString& BTime, const QString& BTel, const QString& BOrg,
                   const QString& BName, const QString& BField, const QString& BSpecialRate, bool BWaitlist,
                   int Delay, int PlayLength, int BPerson);
    bool doCancel(const QString& BDate, const QString& BTime, const QString& BName, const QString& BField,
                  const QString& Reason);
    void AddExtraTime(int ExtraTime, int Method, bool requireAuthorization = true);
    void Block_Booking(const QString& StartDate);
    void DelayGameTime(int IndexNumber, int DelayTime, bool requireAuthorization);
    void doDelay(int value);
    void doAddExtraTime(int value);

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
    QWidget* Owner() override { return this; }

public slots:
    void btn_Book_Click();
    void btn_Clear_Click();
    void mnu_Delete_Click();
    void Command1_Click();
    void ListView_Book_Click();
    void ListView_Book_DblClick();

private:
    frm_Main();
    void buildBookingPage();
    void buildSlotMenu();
    void showRows();
    void colourHours();
    void clockTick();
    // Runs a handler, showing any failure in the error window.
    template <class F>
    void guarded(const QString& task, F&& handler);

    GridReading m_reading;
    BookRows m_bookRows;
    std::vector<QIcon> m_barIcons;
    QTimer* m_clock;
};
