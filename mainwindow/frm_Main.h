#pragma once

#include "SalesHost.h"

#include <QMainWindow>
#include <QStringList>
#include <functional>

class AdministrationPage;
class BookingsPage;
class CartPanel;
class CctvPanel;
class CalendarControl;
class ClickLabel;
class clsToolTip;
class LightingPage;
struct Outline;
class QLabel;
class QLineEdit;
class QTabWidget;
class QTimer;
class QTreeWidget;
class SlotGrid;
class StorePanel;
class SupportPage;
class WaitListPanel;
class WaitingListPage;
struct KeyMatch;

// The counter's main window: the tab strip with its pages, the start-up that sets them up, the
// window's keys, the clock, and what other windows call. One default instance, made on first use
// and made afresh after it was unloaded (a hand-over unloads it and starts over at the login).
class frm_Main : public QMainWindow, public SalesHost {
    Q_OBJECT

public:
    static frm_Main& Default();
    static bool IsLoaded();
    // Whether the staff signed in are still at work here: the window is loaded and its exit key has
    // not logged them out yet.
    static bool StaffAtWork();
    // Closes and destroys the default instance.
    static void Unload();

    enum Tab { BookingsTab, PaymentTab, LightingTab, AdministrationTab, WaitingListTab, CctvTab, SupportTab };

    QLabel* TopImage;
    ClickLabel* lbl_Counter;
    QTabWidget* SSTab1;
    BookingsPage* Bookings;
    QWidget* Payment;
    StorePanel* Store;
    CartPanel* Cart;
    QLineEdit* txt_LastChange;
    LightingPage* Lighting;
    AdministrationPage* Administration;
    WaitingListPage* WaitingList;
    WaitListPanel* WaitList;
    CctvPanel* Cctv;
    QLabel* lbl_NoCamera;
    SupportPage* Support;
    // Hidden; the code of the last function key that chose a shop item.
    QLineEdit* Text1;
    clsToolTip* ToolTip;
    QTimer* Clock;

    // The controls other windows read.
    QTreeWidget* ListView_Book;
    CalendarControl* Calendar;
    CalendarControl* Calendar2;
    QLineEdit* txtInfo_FieldSelect;
    QLineEdit* txt_WaitingListFieldType;
    QLabel* lbl_FieldInfo;
    QLabel* txt_Time;

    // SalesHost
    SlotGrid& Grid() override;
    // The start-up again, up to a fresh login window, after a hand-over: installed by the start-up,
    // which the window itself cannot call.
    static inline std::function<void()> StartOver;
    QString FieldInfo() const override;
    void ShowPaymentTab() override;
    void SetLastChange(const QString& change) override;
    QWidget* Window() override { return this; }

    int RefreshView();
    void RefreshWaitList();
    void RefreshAlert();
    void RefreshList();
    void StopVideoRecording();
    // The member register, to browse: no paste back.
    void ShowMembersForm();
    bool doBooking(const QString& BDate, const QString& BTime, const QString& BTel, const QString& BOrg,
                   const QString& BName, const QString& BField, const QString& BSpecialRate, bool BWaitlist,
                   int Delay, int PlayLength, int BPerson);
    bool doCancel(const QString& BDate, const QString& BTime, const QString& BName, const QString& BField,
                  const QString& Reason);
    void AddExtraTime(int ExtraTime, int Method, bool requireAuthorization = true);
    void Block_Booking(const QString& StartDate);
    void DelayGameTime(int IndexNumber, int DelayTime, bool requireAuthorization);

    void Form_Load();
    void Form_Unload();
    void Form_Activate();
    void Form_KeyDown(int KeyCode, int Shift);
    void Form_KeyUp(int KeyCode, int Shift);
    void Clock_Timer();
    void SSTab1_Click();
    void SSTab1_GotFocus();
    void lbl_Counter_Click();
    void btn_Summary_Click();

    // Places an outline from its four coordinates in pixels of the plan picture: on the booking plan
    // (whose position the lighting plan shares), on the waiting-list plan, and as an alert marker on
    // the booking plan.
    void PlaceCourtShapeOnPlan1(const QStringList& Coords, Outline& Shape);
    void PlaceCourtShapeOnPlan3(const QStringList& Coords, Outline& Shape);
    void PlaceCourtShapesOnPlan1(const QStringList& Coords, Outline& Shape);
    // Sets the tab strip's tab and runs its steps, also when it is the tab shown already.
    void ShowTab(int tab);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    frm_Main();
    ~frm_Main() override;
    void runKeys(const std::vector<KeyMatch>& matches);
    static bool typingIntoBox();
    void layOut();
    void showClock();
    QWidget* mainControlOf(int tab) const;
    void connectSales();

    bool m_loggedOut = false;
};
