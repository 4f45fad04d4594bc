#include "frm_Main.h"

#include "Booking.h"
#include "Courts.h"
#include "GridRefresh.h"
#include "SlotAudit.h"
#include "SlotChanges.h"
#include "SlotInfo.h"
#include "SlotTiming.h"
#include "frm_Booker.h"

#include "Clock.h"
#include "Db.h"
#include "ErrorDisplay.h"
#include "Globals.h"
#include "OptionSettings.h"
#include "Prompter.h"
#include "Verification.h"

#include "Vb.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>


namespace {

frm_Main* instance = nullptr;

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

QLabel* playList(const QString& name, const QString& heading, QVBoxLayout* side, QWidget* parent)
{
    side->addWidget(new QLabel("<b>" + heading + "</b>", parent));
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    l->setMinimumHeight(60);
    side->addWidget(l);
    return l;
}

// Shows the grid's slot menu on a release of the right button; other buttons do nothing.
class RightButtonMenu : public QObject {
public:
    RightButtonMenu(QWidget* viewport, QMenu* menu) : QObject(viewport), m_menu(menu) { viewport->installEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonRelease) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::RightButton) {
                m_menu->popup(mouse->globalPosition().toPoint());
                return true;
            }
        }
        return false;
    }

private:
    QMenu* m_menu;
};

} // namespace

frm_Main& frm_Main::Default()
{
    if (!instance)
        instance = new frm_Main;
    return *instance;
}

bool frm_Main::IsLoaded() { return instance != nullptr; }

void frm_Main::Unload()
{
    delete instance;
    instance = nullptr;
}

frm_Main::frm_Main()
{
    ReadOptionSettings();
    setWindowTitle(AppTitle);
    resize(1024, 740);
    buildBookingPage();
    buildSlotMenu();

    ImageList1.PrepareImageClips();
    m_barIcons.push_back(QIcon());
    for (int i = 1; i <= ImageList1.Count(); ++i)
        m_barIcons.push_back(QIcon(QPixmap::fromImage(ImageList1.Picture(i))));

    m_clock = new QTimer(this);
    connect(m_clock, &QTimer::timeout, this, &frm_Main::clockTick);
    m_clock->start(1000);
    clockTick();

    Calendar->setDate(Now().date());
    txtInfo_FieldSelect->setText(QString::number(SelectedCourt));
    RefreshViewInit();
    RefreshView();
    connect(Calendar, &QDateEdit::dateChanged, this, &frm_Main::RefreshView);
    connect(txtInfo_FieldSelect, &QLineEdit::editingFinished, this, &frm_Main::RefreshView);
}

void frm_Main::buildBookingPage()
{
    auto* page = new QWidget(this);
    page->setObjectName("frame_Booking");
    auto* top = new QHBoxLayout;
    Calendar = new QDateEdit(page);
    Calendar->setObjectName("Calendar");
    Calendar->setCalendarPopup(true);
    Calendar->setDisplayFormat("yyyy-MM-dd");
    txtInfo_FieldSelect = new QLineEdit(page);
    txtInfo_FieldSelect->setObjectName("txtInfo_FieldSelect");
    txtInfo_FieldSelect->setMaximumWidth(40);
    txt_Time = new QLabel(page);
    txt_Time->setObjectName("txt_Time");
    top->addWidget(new QLabel("Date", page));
    top->addWidget(Calendar);
    top->addWidget(new QLabel("Court", page));
    top->addWidget(txtInfo_FieldSelect);
    top->addStretch();
    top->addWidget(txt_Time);

    lbl_RefreshFailure = new QLabel(page);
    lbl_RefreshFailure->setObjectName("lbl_RefreshFailure");
    lbl_RefreshFailure->setStyleSheet("color: #c00000; font-weight: bold");
    lbl_RefreshFailure->setWordWrap(true);
    lbl_RefreshFailure->hide();

    ListView_Book = new QTreeWidget(page);
    ListView_Book->setObjectName("ListView_Book");
    ListView_Book->setRootIsDecorated(false);
    ListView_Book->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListView_Book->setFont(QFont("Verdana"));
    ListView_Book->setIconSize(QSize(DurationBars::Width, DurationBars::Height));
    ListView_Book->setHeaderLabels({"Playing time1", "Slot", "Name", "Tel", "Paid", "Period"});
    const int twips[] = {1440, 3100, 2440, 700, 1000};
    for (int c = 0; c < ColPeriod; ++c)
        ListView_Book->setColumnWidth(c, twips[c] / 15);
    // A telephone number does not fit the design's narrow column; it is what staff call back on.
    const QFontMetrics metrics(ListView_Book->font());
    ListView_Book->setColumnWidth(ColTel, std::max(ListView_Book->columnWidth(ColTel),
                                                   metrics.horizontalAdvance("+00 00 0000 0000") + 12));
    ListView_Book->setColumnWidth(ColPeriod, DurationBars::Width + 16);
    connect(ListView_Book, &QTreeWidget::itemClicked, this, &frm_Main::ListView_Book_Click);
    connect(ListView_Book, &QTreeWidget::itemDoubleClicked, this, &frm_Main::ListView_Book_DblClick);

    btn_Book = button("btn_Book", "B&ook Slot", "Book slot", page);
    btn_Clear = button("btn_Clear", "Clear Slot", "Delete booked slot", page);
    Command1 = button("Command1", "Command1", {}, page);
    connect(btn_Book, &QPushButton::clicked, this, &frm_Main::btn_Book_Click);
    connect(btn_Clear, &QPushButton::clicked, this, &frm_Main::btn_Clear_Click);
    connect(Command1, &QPushButton::clicked, this, &frm_Main::Command1_Click);

    auto* side = new QVBoxLayout;
    side->addWidget(btn_Book);
    side->addWidget(btn_Clear);
    side->addWidget(Command1);
    PreviousPlayList = playList("PreviousPlayList", "Previous hour", side, page);
    CurrentPlayList = playList("CurrentPlayList", "Current hour", side, page);
    NextPlayList = playList("NextPlayList", "Next hour", side, page);
    side->addStretch();

    auto* body = new QHBoxLayout;
    body->addWidget(ListView_Book, 1);
    body->addLayout(side);
    auto* all = new QVBoxLayout(page);
    all->addLayout(top);
    all->addWidget(lbl_RefreshFailure);
    all->addLayout(body);
    setCentralWidget(page);
}

void frm_Main::buildSlotMenu()
{
    mnu_Mouse = new QMenu(this);
    mnu_Mouse->setObjectName("mnu_Mouse");
    for (int minutes : {15, 30, 45}) {
        QAction* a = mnu_Mouse->addAction("Add " + QString::number(minutes) + " minutes extra time");
        a->setObjectName("mnu_AddExtraTime" + QString::number(minutes));
        connect(a, &QAction::triggered, this, [this, minutes] { doAddExtraTime(minutes); });
    }
    for (int minutes : {15, 30, 45}) {
        QAction* a = mnu_Mouse->addAction("Delay for " + QString::number(minutes) + " minutes");
        a->setObjectName("mnu_Delay" + QString::number(minutes));
        connect(a, &QAction::triggered, this, [this, minutes] { doDelay(minutes); });
    }
    mnu_Mouse->addSeparator();
    mnu_Delete = mnu_Mouse->addAction("Delete Slot");
    mnu_Delete->setObjectName("mnu_Delete");
    connect(mnu_Delete, &QAction::triggered, this, &frm_Main::mnu_Delete_Click);
    new RightButtonMenu(ListView_Book->viewport(), mnu_Mouse);
}

void frm_Main::clockTick() { txt_Time->setText(Now().toString("d MMM hh:mm:ss AP")); }

template <class F>
void frm_Main::guarded(const QString& task, F&& handler)
{
    try {
        CurrentTask = task;
        handler();
    } catch (const VbError& e) {
        ShowErrorDisplay(e);
    }
}

// ---- the grid

void frm_Main::RefreshViewInit()
{
    for (const HourRow& row : BusinessDayRows()) {
        auto* item = new QTreeWidgetItem(ListView_Book, QStringList{row.span, row.slot, {}, {}, {}, {}});
        // Free rows are as high as the rows that show a bar, so the hours line up evenly.
        item->setSizeHint(ColPeriod, QSize(DurationBars::Width, DurationBars::Height + 2));
    }
}

void frm_Main::RefreshView()
{
    m_reading = ReadGrid(GridDate(), CourtText(), RowCount(), Now().time().hour(), m_reading);
    m_bookRows = m_reading.rows;
    GridCourt = static_cast<int16_t>(Vb::Val(CourtText()));
    showRows();
    PreviousPlayList->setText(m_reading.lists.previous);
    CurrentPlayList->setText(m_reading.lists.current);
    NextPlayList->setText(m_reading.lists.next);
    lbl_RefreshFailure->setText(m_reading.failure);
    lbl_RefreshFailure->setVisible(!m_reading.failure.isEmpty());
    ListView_Book->setToolTip({});
    colourHours();
}

void frm_Main::showRows()
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

void frm_Main::colourHours()
{
    const HourMarks marks = HourMarksAt(Now().time().hour(), RowCount());
    const std::pair<int, long> colours[] = {
        {marks.previous, PreviousHourColour}, {marks.current, CurrentHourColour}, {marks.next, NextHourColour}};
    for (const auto& [row, colour] : colours)
        if (row != 0)
            ListView_Book->topLevelItem(row - 1)->setForeground(ColSlot, ColourOf(colour));
}

QString frm_Main::GridDate() const { return Calendar->date().toString("yyyy-MM-dd"); }
QString frm_Main::CourtText() const { return txtInfo_FieldSelect->text(); }
int frm_Main::RowCount() const { return ListView_Book->topLevelItemCount(); }

QString frm_Main::RowText(int row) const
{
    const QTreeWidgetItem* item = ListView_Book->topLevelItem(row - 1);
    return item ? item->text(ColPlayingTime) : QString();
}

QString frm_Main::NameCell(int row) const
{
    const QTreeWidgetItem* item = ListView_Book->topLevelItem(row - 1);
    return item ? item->text(ColName) : QString();
}

QString frm_Main::PaidCell(int row) const
{
    const QTreeWidgetItem* item = ListView_Book->topLevelItem(row - 1);
    return item ? item->text(ColPaid) : QString();
}

bool frm_Main::IsSelected(int row) const
{
    const QTreeWidgetItem* item = ListView_Book->topLevelItem(row - 1);
    return item && item->isSelected();
}

int frm_Main::CurrentRow() const
{
    QTreeWidgetItem* item = ListView_Book->currentItem();
    return item ? ListView_Book->indexOfTopLevelItem(item) + 1 : 0;
}

QString frm_Main::ActionTime() const { return txt_Time->text(); }

// ---- operations other windows call

bool frm_Main::doBooking(const QString& BDate, const QString& BTime, const QString& BTel, const QString& BOrg,
                         const QString& BName, const QString& BField, const QString& BSpecialRate, bool BWaitlist,
                         int Delay, int PlayLength, int BPerson)
{
    return ::doBooking(*this, BDate, BTime, BTel, BOrg, BName, BField, BSpecialRate, BWaitlist, Delay, PlayLength,
                       BPerson);
}

bool frm_Main::doCancel(const QString& BDate, const QString& BTime, const QString& BName, const QString& BField,
                        const QString& Reason)
{
    return ::doCancel(*this, BDate, BTime, BName, BField, Reason);
}

void frm_Main::AddExtraTime(int ExtraTime, int Method, bool requireAuthorization)
{
    ::AddExtraTime(*this, CurrentRow(), ExtraTime, static_cast<LengthMethod>(Method), requireAuthorization);
}

void frm_Main::Block_Booking(const QString& StartDate) { ::Block_Booking(*this, StartDate); }

void frm_Main::DelayGameTime(int IndexNumber, int DelayTime, bool requireAuthorization)
{
    ::DelayGameTime(*this, IndexNumber, DelayTime, requireAuthorization);
}

void frm_Main::doDelay(int value)
{
    guarded("delaying the slot", [&] { ::doDelay(*this, value); });
}

void frm_Main::doAddExtraTime(int value)
{
    guarded("adding extra time", [&] { ::doAddExtraTime(*this, value); });
}

// ---- handlers

void frm_Main::btn_Book_Click()
{
    guarded("booking the slot", [this] {
        if (!ChosenCourt(CourtText()))
            return;
        enum Mark { None, Yes, No };
        const int n = RowCount();
        const QString date = GridDate();
        std::vector<Mark> delayMark(static_cast<size_t>(n) + 1, None), shortenMark(delayMark);
        std::vector<int> delayBy(static_cast<size_t>(n) + 1), shortenTo(delayBy);
        auto usedByPrevious = [] {
            MsgBox("The time for this slot has been used by previous slot", Msg::OKOnly, "Information");
        };
        auto askShorten = [&](size_t r, int length) {
            const bool yes = MsgBox("Cannot make for complete 1 hour\r\nDo you wish to book for only " +
                                        QString::number(length) + " minutes?",
                                    Msg::YesNoCancel, "Information") == Msg::Yes;
            shortenMark[r] = yes ? Yes : No;
            shortenTo[r] = length;
        };

        for (int row = 1; row <= n; ++row) {
            if (!IsSelected(row))
                continue;
            const auto r = static_cast<size_t>(row);
            if (IsPastSlot(RowTime(row), date)) {
                MsgBox("You cannot book previous entry", Msg::Critical);
                return;
            }
            if (!NameCell(row).isEmpty()) {
                MsgBox("The field already being booked", Msg::Critical);
                return;
            }
            int overrun = 0;
            if (row >= 2) {
                overrun = m_bookRows[r - 1].Overrun();
                // A previous slot that fills this whole hour leaves nothing to book.
                if (m_bookRows[r - 1].IsBooked() && overrun >= 60) {
                    usedByPrevious();
                    return;
                }
                if (overrun > 0) {
                    const bool yes = MsgBox("The slot already occupied for " + QString::number(overrun) +
                                                " minutes by previous slot.\r\n Do you wish to delay the slot too?",
                                            Msg::YesNoCancel, "Information") == Msg::Yes;
                    delayMark[r] = yes ? Yes : No;
                    delayBy[r] = overrun;
                }
            }
            if (row == n && overrun > 0)
                askShorten(r, 60 - overrun);
            if (row > 1 && row < n && m_bookRows[r + 1].IsBooked()) {
                const int nextStart = m_bookRows[r + 1].delay;
                if (overrun > nextStart)
                    askShorten(r, 60 + nextStart - overrun);
            }
            if (delayMark[r] == No)
                return;
            if (delayMark[r - 1] == Yes) {
                delayMark[r] = Yes;
                delayBy[r] = delayBy[r - 1];
            }
        }

        ShowVerifyUser(this);
        if (!IsUserAllowed(false))
            return;
        frm_Booker booker(*this, this);
        if (booker.exec() != QDialog::Accepted)
            return;
        for (int row = n; row >= 1; --row) {
            const auto r = static_cast<size_t>(row);
            if (!booker.Booked(row))
                continue;
            if (delayMark[r] == Yes)
                ::DelayGameTime(*this, row, delayBy[r], false);
            if (shortenMark[r] == Yes)
                ::AddExtraTime(*this, row, shortenTo[r], LengthMethod::Shorten, false);
        }
    });
}

void frm_Main::btn_Clear_Click()
{
    guarded("cancelling the slot", [this] {
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
            else if (name.contains(PartiallySharedMark))
                refusal = "Delete individual slots";
            else if (name.contains(SharedBookingMark))
                refusal = "Please delete main slots";
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

void frm_Main::mnu_Delete_Click() { btn_Clear_Click(); }

void frm_Main::Command1_Click() { RefreshView(); }

void frm_Main::ListView_Book_Click()
{
    guarded("reading the slot history", [this] {
        if (CurrentRow() >= 1)
            ListView_Book->setToolTip(BuildSlotHistory(*this));
    });
}

void frm_Main::ListView_Book_DblClick() { btn_Book_Click(); }
