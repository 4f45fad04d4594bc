#include "BookingsPage.h"

#include "CalendarPicker.h"
#include "FloorPlan.h"
#include "clsToolTip.h"

#include "Booking.h"
#include "Courts.h"
#include "GridRefresh.h"
#include "SlotAudit.h"
#include "SlotChanges.h"
#include "SlotInfo.h"
#include "SlotOffers.h"
#include "frm_Booker.h"

#include "SlotMenu.h"

#include "Clock.h"
#include "Db.h"
#include "ErrorDisplay.h"
#include "FailureLine.h"
#include "MouseUp.h"
#include "Globals.h"
#include "Prompter.h"
#include "Verification.h"

#include "CalendarControl.h"
#include "Vb.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

enum Column { ColPlayingTime, ColSlot, ColName, ColTel, ColPaid, ColPeriod, ColumnCount };

constexpr long PreviousHourColour = 255;
constexpr long CurrentHourColour = 0xC000;
constexpr long NextHourColour = 0xC0C0;
constexpr long PaidColour = 0xFFF;

QPushButton* button(const QString& name, const QString& caption, const QString& tip, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setToolTip(tip);
    return b;
}

QLabel* playList(const QString& name, const QString& tab, QTabWidget* strip)
{
    auto* l = new QLabel(strip);
    l->setObjectName(name);
    l->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    l->setMargin(4);
    l->setMinimumHeight(90);
    strip->addTab(l, tab);
    return l;
}

} // namespace

BookingsPage::BookingsPage(QWidget* parent) : QWidget(parent)
{
    setObjectName("frame_Booking");
    auto* planArea = new QWidget(this);
    LayoutPlan1 = new FloorPlan("LayoutPlan1", MaxCourts, MaxCourts, planArea);
    txt_CurrentSelected = SelectionBox("txt_CurrentSelected", this);
    LayoutPlan1->SetCursorBox(txt_CurrentSelected);
    connect(LayoutPlan1, &FloorPlan::MouseMoved, this, &BookingsPage::LayoutPlan1_MouseMove);
    connect(LayoutPlan1, &FloorPlan::Click, this, &BookingsPage::LayoutPlan1_Click);
    // Holds its design text until the start-up picks the first court.
    txtInfo_FieldSelect = SelectionBox("txtInfo_FieldSelect", this);
    lbl_FieldInfo = new QLabel(this);
    lbl_FieldInfo->setObjectName("lbl_FieldInfo");
    QFont big = lbl_FieldInfo->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.4);
    lbl_FieldInfo->setFont(big);
    txt_Time = new QLabel(this);
    txt_Time->setObjectName("txt_Time");

    DatePicker = new CalendarPicker({"Calendar", "cmd_CalendarMonth", "cmd_CalendarYear", "lbl_DateLabel"}, this);
    Calendar = DatePicker->Calendar;
    cmd_CalendarMonth = DatePicker->MonthList;
    cmd_CalendarYear = DatePicker->YearList;
    lbl_DateLabel = DatePicker->DateLabel;
    connect(Calendar, &CalendarControl::DateSelected, this, &BookingsPage::Calendar_DateSelected);
    connect(cmd_CalendarMonth, &QComboBox::activated, this, &BookingsPage::cmd_CalendarMonth_Click);
    connect(cmd_CalendarMonth->lineEdit(), &QLineEdit::textEdited, this, &BookingsPage::cmd_CalendarMonth_Change);
    connect(cmd_CalendarYear, &QComboBox::activated, this, &BookingsPage::cmd_CalendarYear_Click);
    DatePicker->Reload = [this] { RefreshView(); };
    DatePicker->StartupOver = [this] { return txtInfo_FieldSelect->text() != "txtInfo_FieldSelect"; };

    ListView_Book = new QTreeWidget(this);
    ListView_Book->setObjectName("ListView_Book");
    ListView_Book->setRootIsDecorated(false);
    ListView_Book->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListView_Book->setFont(QFont("Verdana"));
    ListView_Book->setIconSize(QSize(DurationBars::Width, DurationBars::Height));
    ListView_Book->setHeaderLabels({"Playing time1", "Slot", "Name", "Tel", "Paid", "Period"});
    const int twips[] = {1440, 3100, 2440, 700, 1000};
    for (int c = 0; c < ColPeriod; ++c)
        ListView_Book->setColumnWidth(c, twips[c] / 15);
    ListView_Book->setColumnWidth(ColPeriod, DurationBars::Width + 16);
    connect(ListView_Book, &QTreeWidget::itemClicked, this, &BookingsPage::ListView_Book_Click);
    connect(ListView_Book, &QTreeWidget::itemDoubleClicked, this, &BookingsPage::ListView_Book_DblClick);
    DatePicker->FocusAfterReload = ListView_Book;

    btn_Book = button("btn_Book", "B&ook Slot", "Book slot", this);
    btn_Clear = button("btn_Clear", "Clear Slot", "Delete booked slot", this);
    btn_Paid = button("btn_Paid", "Sl&ot Payment", "Pay for selected slot", this);
    btn_Summary = button("btn_Summary", "Booking &Summary", {}, this);
    Command1 = button("Command1", "Command1", {}, this);
    connect(btn_Book, &QPushButton::clicked, this, &BookingsPage::btn_Book_Click);
    connect(btn_Clear, &QPushButton::clicked, this, &BookingsPage::btn_Clear_Click);
    connect(Command1, &QPushButton::clicked, this, &BookingsPage::Command1_Click);

    SSTab2 = new QTabWidget(this);
    SSTab2->setObjectName("SSTab2");
    PreviousPlayList = playList("PreviousPlayList", "Previous", SSTab2);
    CurrentPlayList = playList("CurrentPlayList", "Current", SSTab2);
    NextPlayList = playList("NextPlayList", "Next", SSTab2);

    auto* left = new QVBoxLayout;
    left->addWidget(planArea);
    left->addWidget(lbl_FieldInfo);
    left->addWidget(SSTab2);
    left->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btn_Book);
    buttons->addWidget(btn_Clear);
    buttons->addWidget(btn_Paid);
    buttons->addWidget(btn_Summary);
    buttons->addWidget(Command1);
    buttons->addStretch();
    buttons->addWidget(txt_Time);
    auto* right = new QVBoxLayout;
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(DatePicker);
    dateRow->addStretch();
    right->addLayout(dateRow);
    lbl_RefreshFailure = FailureLine("lbl_RefreshFailure", this);
    right->addWidget(lbl_RefreshFailure);
    right->addWidget(ListView_Book, 1);
    right->addLayout(buttons);
    auto* all = new QHBoxLayout(this);
    all->addLayout(left);
    all->addLayout(right, 1);
    buildSlotMenu();
}

void BookingsPage::buildSlotMenu()
{
    mnu_Mouse = new SlotMenu(*this, this);
    connect(mnu_Mouse->mnu_Delete, &QAction::triggered, this, &BookingsPage::mnu_Delete_Click);
    OnMouseUp(ListView_Book->viewport(), [this](Qt::MouseButton button, Qt::KeyboardModifiers shift,
                                               const QPoint& at) { ListView_Book_MouseUp(button, shift, at); });
}

void BookingsPage::PrepareImageClips()
{
    ImageList1.PrepareImageClips();
    m_barIcons.assign(1, QIcon());
    for (int i = 1; i <= ImageList1.Count(); ++i)
        m_barIcons.push_back(QIcon(QPixmap::fromImage(ImageList1.Picture(i))));
}

// ---- the grid

void BookingsPage::RefreshViewInit()
{
    for (const HourRow& row : BusinessDayRows()) {
        auto* item = new QTreeWidgetItem(ListView_Book, QStringList{row.span, row.slot, {}, {}, {}, {}});
        // Free rows are as high as the rows that show a bar, so the hours line up evenly.
        item->setSizeHint(ColPeriod, QSize(DurationBars::Width, DurationBars::Height + 2));
    }
}

int BookingsPage::RefreshView()
{
    m_reading = ReadGrid(GridDate(), CourtText(), RowCount(), Now().time().hour(), m_reading);
    m_bookRows = m_reading.rows;
    GridCourt = static_cast<int16_t>(Vb::Val(CourtText()));
    showRows();
    ShowFailure(m_reading.failure);
    if (ToolTip)
        ToolTip->SetToolText(ListView_Book, {});
    RefreshList(m_reading.lists);
    return 1;
}

void BookingsPage::RefreshList()
{
    auto db = Db::Open();
    RefreshList(ReadPlayLists(*db, GridDate(), PlayHoursAt(Now().time().hour())));
}

void BookingsPage::RefreshList(const PlayLists& lists)
{
    const HourMarks marks = HourMarksAt(Now().time().hour(), RowCount());
    const std::pair<int, long> colours[] = {
        {marks.previous, PreviousHourColour}, {marks.current, CurrentHourColour}, {marks.next, NextHourColour}};
    for (const auto& [row, colour] : colours)
        if (row != 0)
            ListView_Book->topLevelItem(row - 1)->setForeground(ColSlot, ColourOf(colour));
    PreviousPlayList->setText(lists.previous);
    CurrentPlayList->setText(lists.current);
    NextPlayList->setText(lists.next);
}

void BookingsPage::ShowFailure(const QString& failure)
{
    lbl_RefreshFailure->setText(failure);
    lbl_RefreshFailure->setVisible(!failure.isEmpty());
}

void BookingsPage::showRows()
{
    const auto bars = DurationBarsOf(m_bookRows);
    for (int i = 1; i <= RowCount(); ++i) {
        QTreeWidgetItem* item = ListView_Book->topLevelItem(i - 1);
        const BookRow& row = m_bookRows[static_cast<size_t>(i)];
        const auto& bar = bars[static_cast<size_t>(i)];
        const int picture = bar ? ImageList1.GetImageClips(BarPattern(i), 0, bar->carryIn, bar->start, bar->end) : 0;
        item->setIcon(ColPeriod, m_barIcons[static_cast<size_t>(picture)]);
        item->setText(ColName, row.bookerName);
        item->setText(ColTel, row.telephone);
        if (row.paid > Money()) {
            item->setForeground(ColPaid, ColourOf(PaidColour));
            // Shown as a whole number; an amount that would round to nothing keeps its cents, so it reads as paid.
            const int64_t whole = row.paid.Whole();
            item->setText(ColPaid, whole > 0 ? QString::number(whole) : row.paid.Format());
        } else {
            item->setText(ColPaid, {});
        }
        item->setForeground(ColSlot, ColourOf(0));
    }
}

QString BookingsPage::GridDate() const { return Calendar->Tag(); }
QString BookingsPage::CourtText() const { return txtInfo_FieldSelect->text(); }
int BookingsPage::RowCount() const { return ListView_Book->topLevelItemCount(); }

QString BookingsPage::RowText(int row) const
{
    const QTreeWidgetItem* item = ListView_Book->topLevelItem(row - 1);
    return item ? item->text(ColPlayingTime) : QString();
}

QString BookingsPage::NameCell(int row) const
{
    const QTreeWidgetItem* item = ListView_Book->topLevelItem(row - 1);
    return item ? item->text(ColName) : QString();
}

QString BookingsPage::PaidCell(int row) const
{
    const QTreeWidgetItem* item = ListView_Book->topLevelItem(row - 1);
    return item ? item->text(ColPaid) : QString();
}

bool BookingsPage::IsSelected(int row) const
{
    const QTreeWidgetItem* item = ListView_Book->topLevelItem(row - 1);
    return item && item->isSelected();
}

int BookingsPage::CurrentRow() const
{
    QTreeWidgetItem* item = ListView_Book->currentItem();
    return item ? ListView_Book->indexOfTopLevelItem(item) + 1 : 0;
}

QString BookingsPage::ActionTime() const { return txt_Time->text(); }

// ---- slot changes from the grid

void BookingsPage::DelayGameTime(int IndexNumber, int DelayTime, bool requireAuthorization)
{
    ::DelayGameTime(*this, IndexNumber, DelayTime, requireAuthorization);
}

// ---- handlers

void BookingsPage::btn_Book_Click()
{
    Guarded("booking the slot", [this] {
        if (!ChosenCourt(CourtText()))
            return;
        const std::optional<std::vector<PlannedRow>> plan = PlanSelectedRows(*this, Planning::BookAction);
        if (!plan)
            return;
        ShowVerifyUser(this);
        if (!IsUserAllowed(false))
            return;
        // The delays and shorter lengths the user accepted are booked with the hours themselves.
        frm_Booker booker(*this, this, *plan);
        booker.exec();
    });
}

void BookingsPage::btn_Clear_Click()
{
    Guarded("cancelling the slot", [this] {
        if (!ChosenCourt(CourtText()))
            return;
        const int n = RowCount();
        for (int row = 1; row <= n; ++row) {
            if (!IsSelected(row))
                continue;
            const QString name = NameCell(row);
            QString refusal;
            if (!PaidCell(row).isEmpty())
                refusal = "You cannot delete paid slot";
            else if (name.isEmpty())
                refusal = m_bookRows[static_cast<size_t>(row) - 1].IsBooked() &&
                                  m_bookRows[static_cast<size_t>(row) - 1].Overrun() > 0
                              ? "Use previous slot to delete extra time."
                              : "You cannot delete an empty slot";
            else if (const auto marker = CancelRefusal(name))
                refusal = marker->message;
            if (!refusal.isEmpty()) {
                MsgBox(refusal, Msg::Critical);
                return;
            }
        }
        ShowVerifyUser(this);
        if (!IsUserAllowed(false)) {
            RefreshView();
            return;
        }
        const QString reason = InputBox("Enter reason why the entry need to be cleared");
        if (reason.isEmpty())
            return;
        QStringList times, names;
        for (int row = 1; row <= n; ++row) {
            if (IsSelected(row)) {
                times << RowTime(row);
                names << NameCell(row);
            }
        }
        CancelSlots(*this, GridDate(), times, names, CourtText(), reason);
        RefreshView();
    });
}

void BookingsPage::mnu_Delete_Click() { btn_Clear_Click(); }

void BookingsPage::Command1_Click() { RefreshView(); }

void BookingsPage::ListView_Book_Click()
{
    if (CurrentRow() >= 1 && ToolTip)
        ToolTip->SetToolText(ListView_Book, m_history.Text(*this));
}

void BookingsPage::ListView_Book_DblClick() { btn_Book_Click(); }

void BookingsPage::ListView_Book_MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers, const QPoint& at)
{
    if (Button == Qt::RightButton)
        mnu_Mouse->popup(at);
}

// ---- the calendar

void BookingsPage::Calendar_DateSelected() { DatePicker->DaySelected(); }
void BookingsPage::cmd_CalendarMonth_Click() { DatePicker->MonthChosen(); }
void BookingsPage::cmd_CalendarMonth_Change() { DatePicker->MonthEdited(); }
void BookingsPage::cmd_CalendarYear_Click() { DatePicker->YearChosen(); }

// ---- the floor plan

void BookingsPage::LayoutPlan1_MouseMove(int X, int Y) { LayoutPlan1->MouseMove(X, Y); }

void BookingsPage::LayoutPlan1_Click()
{
    const int court = LayoutPlan1->Select(txtInfo_FieldSelect);
    if (court < 0)
        return;
    LayoutPlan1->MoveHighlight(SelectedCourt, court);
    SelectedCourt = court;
    lbl_FieldInfo->setText(CourtNames[static_cast<size_t>(court)]);
    RefreshView();
}

void BookingsPage::RefreshWaitList()
{
    if (WaitListChanged)
        WaitListChanged();
}
