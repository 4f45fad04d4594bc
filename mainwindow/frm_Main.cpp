#include "frm_Main.h"

#include "AdministrationPage.h"
#include "BookingsPage.h"
#include "CalendarPicker.h"
#include "ClickLabel.h"
#include "FloorPlan.h"
#include "KeyTable.h"
#include "LightingPage.h"
#include "SupportPage.h"
#include "WaitingListPage.h"
#include "clsToolTip.h"
#include "CctvPanel.h"

#include "SlotMenu.h"
#include "WaitListPanel.h"

#include "CartPanel.h"
#include "StorePanel.h"
#include "ShiftClose.h"

#include "frm_Summary.h"

#include "RegisterForm.h"

#include "Booking.h"
#include "ComingHourAlerts.h"
#include "SlotChanges.h"

#include "Clock.h"
#include "Db.h"
#include "EndProgram.h"
#include "ErrorDisplay.h"
#include "Globals.h"
#include "LoginStatus.h"
#include "OptionSettings.h"
#include "Settings.h"
#include "SpecialGroups.h"
#include "StaffLog.h"
#include "StationRow.h"

#include "CalendarControl.h"
#include "Profile.h"
#include "Vb.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWindow>

namespace {

frm_Main* instance = nullptr;

constexpr int ClockInterval = 1000;
constexpr int TwipsPerPixel = 15;
constexpr int MarkerMargin = 30;
const QString AlertTag = QStringLiteral("Alert");

QString setting(const QString& section, const QString& key) { return ReadIni(section, key, "1", IniFile); }
int twips(const QString& section, const QString& key) { return static_cast<int>(Vb::Val(setting(section, key))); }
QString programFile(const QString& name) { return QCoreApplication::applicationDirPath() + "/" + name; }

// What cannot be drawn of the plans and pictures: each part is left out, the rest goes on, and the
// failures are shown together once.
class LayoutFailures {
public:
    template <class F>
    void Try(const QString& what, F&& step)
    {
        try {
            step();
        } catch (const VbError& e) {
            if (!m_first)
                m_first = e.number();
            m_lines << what + ": " + e.description();
        }
    }
    void Show() const
    {
        if (m_first)
            ShowErrorDisplay(VbError(*m_first, "Pallowin",
                                     "These parts of the window are left out; the rest works:\r\n" +
                                         m_lines.join("\r\n")));
    }

private:
    std::optional<long> m_first;
    QStringList m_lines;
};

} // namespace

frm_Main& frm_Main::Default()
{
    if (!instance)
        instance = new frm_Main;
    return *instance;
}

bool frm_Main::IsLoaded() { return instance != nullptr; }

bool frm_Main::StaffAtWork() { return instance && !instance->m_loggedOut; }

void frm_Main::Unload()
{
    delete instance;
    instance = nullptr;
}

frm_Main::frm_Main()
{
    // Whichever way the program ends, the cameras' files are finished first.
    SetBeforeEndProgram([this] { StopVideoRecording(); });
    SetDatabaseLossEndsProgram(false);
    setObjectName("frm_Main");
    setWindowTitle(AppTitle);
    resize(1380, 900);
    layOut();
    Form_Load();
    Clock = new QTimer(this);
    connect(Clock, &QTimer::timeout, this, &frm_Main::Clock_Timer);
    Clock->start(ClockInterval);
    showClock();
    qApp->installEventFilter(this);
}

frm_Main::~frm_Main()
{
    SetBeforeEndProgram(nullptr);
    SetDatabaseLossEndsProgram(true);
}

void frm_Main::layOut()
{
    auto* central = new QWidget(this);
    TopImage = new QLabel(central);
    TopImage->setObjectName("TopImage");
    TopImage->setScaledContents(true);
    lbl_Counter = new ClickLabel(central);
    lbl_Counter->setObjectName("lbl_Counter");
    lbl_Counter->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lbl_Counter->setCursor(Qt::PointingHandCursor);
    QFont bold = lbl_Counter->font();
    bold.setBold(true);
    lbl_Counter->setFont(bold);
    connect(lbl_Counter, &ClickLabel::clicked, this, &frm_Main::lbl_Counter_Click);
    Text1 = SelectionBox("Text1", central);

    SSTab1 = new QTabWidget(central);
    SSTab1->setObjectName("SSTab1");
    Bookings = new BookingsPage(SSTab1);
    Payment = new QWidget(SSTab1);
    Payment->setObjectName("frame_PaymentTab");
    Cart = new CartPanel(*this, Payment);
    Store = new StorePanel(*Cart, Payment);
    txt_LastChange = new QLineEdit(Payment);
    txt_LastChange->setObjectName("txt_LastChange");
    txt_LastChange->setReadOnly(true);
    txt_LastChange->setMaximumWidth(160);
    auto* lastChange = new QHBoxLayout;
    lastChange->addStretch();
    lastChange->addWidget(new QLabel("Last Change", Payment));
    lastChange->addWidget(txt_LastChange);
    auto* payment = new QGridLayout(Payment);
    payment->addWidget(Store, 0, 0, 2, 1);
    payment->addWidget(Cart, 0, 1);
    payment->addLayout(lastChange, 1, 1);
    payment->setColumnStretch(0, 1);
    payment->setColumnStretch(1, 1);
    Lighting = new LightingPage(SSTab1);
    Administration = new AdministrationPage(SSTab1);
    WaitingList = new WaitingListPage(SSTab1);
    WaitList = new WaitListPanel(*WaitingList, WaitingList);
    WaitingList->WaitListArea->addWidget(WaitList);
    Cctv = new CctvPanel(SSTab1);
    lbl_NoCamera = Cctv->lbl_NoCamera;
    Support = new SupportPage(SSTab1);
    SSTab1->addTab(Bookings, "Field &Bookings");
    SSTab1->addTab(Payment, "&Payment");
    SSTab1->addTab(Lighting, "&Lighting");
    SSTab1->addTab(Administration, "&Administration");
    SSTab1->addTab(WaitingList, "&Waiting List");
    SSTab1->addTab(Cctv, "CCTV");
    SSTab1->addTab(Support, "Support");
    connect(SSTab1, &QTabWidget::currentChanged, this, &frm_Main::SSTab1_Click);
    SSTab1->tabBar()->installEventFilter(this);

    auto* header = new QHBoxLayout;
    header->addWidget(TopImage);
    header->addStretch();
    header->addWidget(lbl_Counter);
    auto* all = new QVBoxLayout(central);
    all->addLayout(header);
    all->addWidget(SSTab1, 1);
    setCentralWidget(central);

    ToolTip = new clsToolTip;
    ToolTip->setParent(this);
    Bookings->ToolTip = ToolTip;
    Bookings->WaitListChanged = [this] { RefreshWaitList(); };
    connectSales();
    Bookings->mnu_Mouse->ConnectWaitList(*WaitList);
    connect(Bookings->btn_Summary, &QPushButton::clicked, this, &frm_Main::btn_Summary_Click);
    WaitingList->Reload = [this] { RefreshWaitList(); };
    WaitingList->DatePicker->FocusAfterReload = WaitList->ListView_Wait;

    ListView_Book = Bookings->ListView_Book;
    Calendar = Bookings->Calendar;
    Calendar2 = WaitingList->Calendar2;
    txtInfo_FieldSelect = Bookings->txtInfo_FieldSelect;
    txt_WaitingListFieldType = WaitingList->txt_WaitingListFieldType;
    lbl_FieldInfo = Bookings->lbl_FieldInfo;
    txt_Time = Bookings->txt_Time;
}

// The payment, drawer and shift commands of the window, and the cart and court name of the slot menu's
// payment and invoice.
void frm_Main::connectSales()
{
    connect(Bookings->btn_Paid, &QPushButton::clicked, Cart, &CartPanel::btn_Paid_Click);
    Bookings->mnu_Mouse->ConnectSales(*Cart, *this);
    Administration->RefreshStore = [this] { Store->RefreshStore(); };
    connect(Administration->btn_CollectCash, &QPushButton::clicked, Cart, &CartPanel::btn_CollectCash_Click);
    connect(Administration->btn_PrintOldReceipt, &QPushButton::clicked, Cart, &CartPanel::btn_PrintOldReceipt_Click);
    Administration->Shift = {this, [this] { StopVideoRecording(); }, [] { Unload(); }, [] {
                                 if (StartOver)
                                     StartOver();
                             }};
}

void frm_Main::Form_Load()
{
    try {
        CurrentTask = "loading the main window";
        SetLoginStatus("Initialising...");
        FloorPlan* plan1 = Bookings->LayoutPlan1;
        FloorPlan* plan2 = Lighting->LayoutPlan2;
        FloorPlan* plan3 = WaitingList->LayoutPlan3;
        LayoutFailures failures;
        failures.Try("[Layout] Image", [&] { plan1->LoadPicture(programFile(setting("Layout", "Image"))); });
        const int top = twips("Layout", "Top"), left = twips("Layout", "Left");
        const int height = twips("Layout", "Height"), width = twips("Layout", "Width");
        plan1->Place(top, left, height, width);
        ReadOptionSettings();
        failures.Try("[Layout] Image", [&] { plan2->LoadPicture(programFile(setting("Layout", "Image"))); });
        plan2->Place(top, left, height, width);
        failures.Try("[TopHeader] Image", [&] {
            QPixmap header;
            const QString file = programFile(setting("TopHeader", "Image"));
            if (!header.load(file))
                throw VbError(VbErrors::FileNotFound, "Pallowin", "The picture " + file + " cannot be read.");
            TopImage->setPixmap(header);
        });
        TopImage->setContentsMargins(twips("TopHeader", "Left") / TwipsPerPixel, twips("TopHeader", "Top") / TwipsPerPixel,
                                     0, 0);
        TopImage->setFixedSize(twips("TopHeader", "Width") / TwipsPerPixel, twips("TopHeader", "Height") / TwipsPerPixel);
        failures.Try("[WaitingList] Image", [&] { plan3->LoadPicture(programFile(setting("WaitingList", "Image"))); });
        plan3->Place(twips("WaitingList", "Top"), twips("WaitingList", "Left"));

        const std::vector<int> groups = SpecialGroupsWithTables();
        for (int n : groups)
            Administration->AddSpecialGroupButton(n, GetSpecialGroupName(n));
        Bookings->mnu_Mouse->LoadItems(groups);

        for (FloorPlan* plan : {plan1, plan2, plan3})
            plan->HideAll();
        for (int i = 0; i <= LastCourtIndex; ++i) {
            const QString key = "Coord" + QString::number(i);
            plan1->Shape(i).Tag = plan2->Shape(i).Tag = setting("HotSpot", key);
            const QStringList coords = plan1->Shape(i).Tag.split(", ");
            failures.Try("[HotSpot] " + key, [&] {
                PlaceCourtShapeOnPlan1(coords, plan1->Shape(i));
                PlaceCourtShapesOnPlan1(coords, plan1->Marker(i));
                PlaceCourtShapeOnPlan1(coords, plan2->Shape(i));
            });
        }
        for (int t = 0; t <= LastCourtTypeIndex && t < 6; ++t) {
            const QString key = "Coord" + QString::number(t);
            plan3->Shape(t).Tag = setting("HotSpot2", key);
            const QStringList coords = plan3->Shape(t).Tag.split(", ");
            failures.Try("[HotSpot2] " + key, [&] { PlaceCourtShapeOnPlan3(coords, plan3->Shape(t)); });
        }
        plan1->SetLastIndex(LastCourtIndex);
        plan2->SetLastIndex(LastCourtIndex);
        plan3->SetLastIndex(LastCourtTypeIndex);
        failures.Show();

        // After midnight the counter still works on the night of the evening's date.
        const QDate businessDate = BusinessDate(Now());
        Bookings->DatePicker->SetDate(businessDate);
        WaitingList->DatePicker->SetDate(businessDate);

        plan1->show();
        plan2->hide();
        plan3->hide();
        plan1->Shape(0).Visible = true;
        plan2->Shape(0).Visible = false;
        plan3->Shape(0).Visible = false;

        SetCounterStaffShiftStatus(CounterNumber, 0);
        ShiftName = ShiftNameAt(Now().time().hour(), HourStart);

        lbl_FieldInfo->setText(CourtNames[0]);
        txtInfo_FieldSelect->setText("0");
        SelectedCourt = 0;
        plan1->Shape(0).BorderStyle = 1;
        Lighting->txtInfo_LightSelect->setText("0");
        SelectedLightCourt = 0;
        Lighting->ResetLightSwitches();
        SelectedWaitCourt = 0;
        WaitingList->txtInfo_WaitSelect->setText("0");
        txt_WaitingListFieldType->setText("0");

        Bookings->PrepareImageClips();
        Bookings->RefreshViewInit();
        Bookings->RefreshView();
        Store->RefreshStore();
        RefreshWaitList();

        lbl_Counter->setText("Counter  " + QString::number(CounterNumber) + "\r\n" + GetCounterStaff(CounterNumber));

        ToolTip->Create(this);
        ToolTip->SetMaxTipWidth(240);
        ToolTip->SetDelayTime(clsToolTip::AutoPop, 20000);
        ToolTip->AddTool(ListView_Book);
        ToolTip->SetToolText(ListView_Book, {});

        Bookings->SSTab2->setCurrentIndex(1);
        Support->Fill(Profile::PathOf(IniFile));
    } catch (const VbError& e) {
        ShowErrorDisplay(e);
    }
    // The cameras come last and cost only their own panel when the capture library fails.
    Cctv->Prepare();
}

// The lighting plan lies where the booking plan lies, so its outlines are placed on the booking plan's
// position too.
void frm_Main::PlaceCourtShapeOnPlan1(const QStringList& Coords, Outline& Shape)
{
    Bookings->LayoutPlan1->PlaceOutline(Shape, Coords);
}

void frm_Main::PlaceCourtShapeOnPlan3(const QStringList& Coords, Outline& Shape)
{
    WaitingList->LayoutPlan3->PlaceOutline(Shape, Coords);
}

// An alert marker stands around its court's outline.
void frm_Main::PlaceCourtShapesOnPlan1(const QStringList& Coords, Outline& Shape)
{
    Bookings->LayoutPlan1->PlaceOutline(Shape, Coords, MarkerMargin);
}

// Nothing is asked or saved when the window closes: the program ends with it, and the capture
// library finishes the cameras' files as it unloads with the program.
void frm_Main::Form_Unload() {}

void frm_Main::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    QMainWindow::closeEvent(event);
}

SlotGrid& frm_Main::Grid() { return *Bookings; }

QString frm_Main::FieldInfo() const { return lbl_FieldInfo->text(); }

void frm_Main::ShowPaymentTab() { ShowTab(PaymentTab); }

// The strip tells only a change of tab: a tab chosen again from code runs its steps all the same.
void frm_Main::ShowTab(int tab)
{
    if (SSTab1->currentIndex() == tab)
        SSTab1_Click();
    else
        SSTab1->setCurrentIndex(tab);
}

void frm_Main::SetLastChange(const QString& change) { txt_LastChange->setText(change); }

// ---- operations other windows call

int frm_Main::RefreshView() { return Bookings->RefreshView(); }
void frm_Main::RefreshList() { Bookings->RefreshList(); }

void frm_Main::RefreshWaitList() { WaitList->RefreshWaitList(); }

void frm_Main::StopVideoRecording() { Cctv->StopVideoRecording(); }

void frm_Main::ShowMembersForm() { frm_Members().Show(this); }

void frm_Main::RefreshAlert()
{
    auto db = Db::Open();
    const std::vector<bool> marks = ComingHourAlerts(*db, Now(), LastCourtIndex);
    for (int i = 0; i <= LastCourtIndex; ++i)
        Bookings->LayoutPlan1->Marker(i).Tag = marks[static_cast<size_t>(i)] ? AlertTag : QString();
}

bool frm_Main::doBooking(const QString& BDate, const QString& BTime, const QString& BTel, const QString& BOrg,
                         const QString& BName, const QString& BField, const QString& BSpecialRate, bool BWaitlist,
                         int Delay, int PlayLength, int BPerson)
{
    return ::doBooking(*Bookings, BDate, BTime, BTel, BOrg, BName, BField, BSpecialRate, BWaitlist, Delay, PlayLength,
                       BPerson);
}

bool frm_Main::doCancel(const QString& BDate, const QString& BTime, const QString& BName, const QString& BField,
                        const QString& Reason)
{
    return ::doCancel(*Bookings, BDate, BTime, BName, BField, Reason);
}

void frm_Main::AddExtraTime(int ExtraTime, int Method, bool requireAuthorization)
{
    ::AddExtraTime(*Bookings, Bookings->CurrentRow(), ExtraTime, static_cast<LengthMethod>(Method),
                   requireAuthorization);
}

void frm_Main::Block_Booking(const QString& StartDate) { ::Block_Booking(*Bookings, StartDate); }

void frm_Main::DelayGameTime(int IndexNumber, int DelayTime, bool requireAuthorization)
{
    Bookings->DelayGameTime(IndexNumber, DelayTime, requireAuthorization);
}

// ---- the clock

void frm_Main::showClock()
{
    const QString time = Now().toString("d MMM hh:mm:ss AP");
    Bookings->txt_Time->setText(time);
    WaitingList->txt_Time2->setText(time);
    Lighting->txt_Time3->setText(time);
}

void frm_Main::Clock_Timer()
{
    showClock();
    FloorPlan* plan = Bookings->LayoutPlan1;
    const int minute = Now().time().minute();
    if (minute == 55 && !AlertRefreshDone) {
        // Marked done first: a failure is told once, not every second, and tried again next hour.
        AlertRefreshDone = true;
        try {
            RefreshAlert();
            RefreshView();
        } catch (const VbError& e) {
            // Said over the grid, where the courts blink: a box would hold the clock and the blinking
            // until someone closed it.
            Bookings->ShowFailure("The courts whose players change at the coming hour cannot be read now; they "
                                  "are read again at the next hour. " + e.description());
        }
    }
    if (minute != 55 && minute != 2)
        AlertRefreshDone = false;
    if (minute == 2 && !AlertRefreshDone) {
        for (int i = 0; i <= LastCourtIndex; ++i)
            plan->Marker(i).Tag.clear();
        AlertRefreshDone = true;
    }
    const bool shown = Now().time().second() % 2 == 0;
    for (int i = 0; i <= LastCourtIndex; ++i)
        plan->Marker(i).Visible = plan->Marker(i).Tag == AlertTag && shown;
    plan->update();
}

// ---- tabs

void frm_Main::SSTab1_Click()
{
    FloorPlan* plan1 = Bookings->LayoutPlan1;
    FloorPlan* plan2 = Lighting->LayoutPlan2;
    FloorPlan* plan3 = WaitingList->LayoutPlan3;
    Outline& court = plan1->Shape(static_cast<int>(Vb::Val(txtInfo_FieldSelect->text())));
    Outline& light = plan2->Shape(static_cast<int>(Vb::Val(Lighting->txtInfo_LightSelect->text())));
    Outline& type = plan3->Shape(static_cast<int>(Vb::Val(WaitingList->txtInfo_WaitSelect->text())));
    const int tab = SSTab1->currentIndex();
    switch (tab) {
    case BookingsTab:
        plan3->hide();
        plan2->hide();
        plan1->show();
        court.Visible = true;
        light.Visible = false;
        type.Visible = false;
        break;
    case LightingTab:
        plan2->show();
        plan1->hide();
        court.Visible = false;
        light.Visible = true;
        type.Visible = false;
        break;
    case WaitingListTab:
        plan3->show();
        plan1->hide();
        plan2->hide();
        court.Visible = false;
        light.Visible = false;
        type.Visible = true;
        break;
    default:
        break;
    }
    for (FloorPlan* plan : {plan1, plan2, plan3})
        plan->update();
    if (QWidget* control = mainControlOf(tab))
        control->setFocus();
}

void frm_Main::SSTab1_GotFocus()
{
    if (QWidget* control = mainControlOf(SSTab1->currentIndex()))
        control->setFocus();
}

QWidget* frm_Main::mainControlOf(int tab) const
{
    switch (tab) {
    case BookingsTab:
        return ListView_Book;
    case LightingTab:
        return Lighting->btn_LightCommit;
    case PaymentTab:
        return Store->ListView_Store;
    case AdministrationTab:
        return Administration->btn_EndMorningShift;
    case WaitingListTab:
        return WaitList->btn_AddEntry;
    default:
        return nullptr;
    }
}

// ---- the summary page

void frm_Main::btn_Summary_Click() { frm_Summary::Show(this, Calendar->Tag()); }

// ---- the station label

void frm_Main::lbl_Counter_Click()
{
    try {
        CurrentTask = "reading the staff of the counter";
        // The label moves on only once the next station's staff was read: a failed click shows it again.
        const int next = ShownCounter + 1 > CounterCount ? 1 : ShownCounter + 1;
        const QString staff = GetCounterStaff(next);
        ShownCounter = next;
        lbl_Counter->setText("Counter " + QString::number(ShownCounter) + "\r\n" + staff);
        QPalette colours = lbl_Counter->palette();
        colours.setColor(QPalette::WindowText, ShownCounter == CounterNumber ? QColor(255, 0, 0) : QColor(0, 0, 0));
        lbl_Counter->setPalette(colours);
    } catch (const VbError& e) {
        ShowErrorDisplay(e);
    }
}

// ---- keys

// The clock is right before its first tick.
void frm_Main::Form_Activate() { showClock(); }

void frm_Main::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    Form_Activate();
}

void frm_Main::Form_KeyDown(int KeyCode, int Shift) { runKeys(MatchKeys(false, KeyCode, Shift, SSTab1->currentIndex())); }

void frm_Main::Form_KeyUp(int KeyCode, int Shift) { runKeys(MatchKeys(true, KeyCode, Shift, SSTab1->currentIndex())); }

// The focus is on a list that takes typing: a month's name typed into the bookings tab's month list.
bool frm_Main::typingIntoBox()
{
    const auto* list = qobject_cast<QComboBox*>(QApplication::focusWidget());
    return list && list->isEditable();
}

void frm_Main::runKeys(const std::vector<KeyMatch>& matches)
{
    for (const KeyMatch& key : matches) {
        // What is typed into a box stays the box's: its letters pick no court, and Ctrl+C and Ctrl+V
        // copy and paste its text, not slots.
        const bool slotKey = key.action == KeyAction::PickCourt || key.action == KeyAction::CopySlot ||
                             key.action == KeyAction::PasteSlot;
        if (slotKey && typingIntoBox())
            continue;
        switch (key.action) {
        case KeyAction::Exit:
            WriteLog(StaffLogin, "log out");
            m_loggedOut = true;
            StopVideoRecording();
            EndProgram();
            return;
        case KeyAction::PickCourt:
            Bookings->txt_CurrentSelected->setText(QString::number(key.argument));
            if (key.argument <= LastCourtIndex)
                Bookings->LayoutPlan1_Click();
            break;
        case KeyAction::StoreItem:
            ShowTab(PaymentTab);
            if (Store->FunctionKey(key.argument - VkF1 + 1))
                Text1->setText(QString::number(key.argument));
            break;
        case KeyAction::Pay:
            Cart->btn_Pay_Click();
            break;
        case KeyAction::CopySlot:
            Bookings->mnu_Mouse->mnu_Copy_Click();
            break;
        case KeyAction::PasteSlot:
            Bookings->mnu_Mouse->mnu_Paste_Click();
            break;
        }
    }
}

// The window sees its keys before the control that has the focus, and leaves them to it. A key is
// taken once, where the window system hands it to the window: on its way up from the control to the
// window it is the same key again, and the focus that would tell the two apart may have been moved
// meanwhile by a dialog that the key's own command opened.
bool frm_Main::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == SSTab1->tabBar() && event->type() == QEvent::FocusIn) {
        SSTab1_GotFocus();
        return false;
    }
    if ((event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) || watched != windowHandle())
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->isAutoRepeat())
        return false;
    const int code = VirtualKeyOf(*key);
    if (code == 0)
        return false;
    if (event->type() == QEvent::KeyPress)
        Form_KeyDown(code, ShiftStateOf(key->modifiers()));
    else
        Form_KeyUp(code, ShiftStateOf(key->modifiers()));
    return false;
}
