// One station's busy day: every action goes through the program's own rule functions on a grid
// without widgets, as the bookings page would call them, and every question is answered by the seed.

#include "Soak.h"

#include "Booking.h"
#include "SlotAudit.h"
#include "SlotChanges.h"
#include "SlotOffers.h"
#include "TestGrid.h"

#include "PlayerCountChange.h"
#include "SlotClipboard.h"
#include "TimingCommands.h"
#include "WaitList.h"

#include "Cart.h"
#include "Invoice.h"
#include "PrinterChoice.h"
#include "RateClass.h"
#include "Sale.h"
#include "ShiftClose.h"
#include "SlotPayment.h"

#include "DatabaseSetup.h"
#include "Db.h"
#include "ErrorDisplay.h"
#include "Globals.h"
#include "Numbering.h"
#include "OptionSettings.h"
#include "Prompter.h"
#include "Settings.h"
#include "SpecialGroups.h"
#include "StaffLog.h"
#include "StationRow.h"
#include "Verification.h"

#include "Vb.h"

#include <QApplication>
#include <QDateTime>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QWidget>

#include <algorithm>
#include <functional>
#include <random>

namespace {

// Nothing may wait for an answer nobody gives: a window that opens ends the station loudly.
class NoWindows : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            if (auto* w = qobject_cast<QWidget*>(watched); w && w->isWindow())
                qFatal("station %d: a window opened: %s %s", CounterNumber, w->metaObject()->className(),
                       qPrintable(w->windowTitle()));
        return false;
    }
};

// Invoices print into PDF files of a folder that goes with the station.
class PdfInvoices : public PrinterChoice {
public:
    std::unique_ptr<QPrinter> Choose(QWidget*) override
    {
        auto printer = std::make_unique<QPrinter>(QPrinter::ScreenResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(m_dir.filePath("invoice" + QString::number(++m_count) + ".pdf"));
        return printer;
    }

private:
    QTemporaryDir m_dir;
    int m_count = 0;
};

// The hours where the stations meet most, and the courts: the master court 0 with its dependents 1
// and 2, and court 3.
const QStringList HotTimes{"18:00", "19:00", "20:00", "24:00", "01:00"};
const std::vector<int> HotCourts{0, 1, 2, 0, 1, 2, 3, 3};

struct ShopItem {
    QString name, type;
    Money price;
};

// A text as the tally keeps it: numbers made alike, so that the same message counts as one.
QString shownKey(const QString& text)
{
    static const QRegularExpression digits("\\d+");
    return QString(text).replace(digits, "#").replace("\r\n", " ").left(72);
}

class Day : public Prompter {
public:
    Day(uint32_t seed, bool yes) : m_rng(seed), m_yes(yes)
    {
        SetPrompter(this);
        SetPrinterChoice(&m_printer);
        for (Recordset rs = Db::Query("SELECT i_name, i_type, i_price FROM tbl_item WHERE i_show AND i_type<>'Misc'");
             !rs.EOF_(); rs.MoveNext())
            m_items.push_back({rs["i_name"].Value(), rs["i_type"].Value(), Money::Parse(rs["i_price"].Value())});
        readRegister("SELECT m_name, m_tel, m_org FROM tbl_member", MemberClass);
        readRegister("SELECT st_name, st_tel, st_org FROM tbl_student", StudentClass);
        for (int group : SpecialGroupsWithTables())
            readRegister("SELECT m_name, m_tel, m_org FROM tbl_specialgroup" + QString::number(group),
                         SpecialGroupClass(group));
    }
    ~Day() override
    {
        SetPrompter(nullptr);
        SetPrinterChoice(nullptr);
    }

    // Questions get Yes, No or Cancel by the seed (or always the first button), messages OK; every
    // text is counted.
    int MsgBox(const QString& prompt, int style, const QString&) override
    {
        ++tally["shown: " + shownKey(prompt)];
        pause();
        if (m_yes)
            return (style & 7) == Msg::YesNoCancel || (style & 7) == Msg::YesNo ? Msg::Yes : Msg::OK;
        switch (style & 7) {
        case Msg::YesNoCancel:
            return pick<int>({Msg::Yes, Msg::No, Msg::Cancel});
        case Msg::YesNo:
            return pick<int>({Msg::Yes, Msg::No});
        case Msg::OKCancel:
            return pick<int>({Msg::OK, Msg::Cancel});
        default:
            return Msg::OK;
        }
    }
    QString InputBox(const QString& prompt, const QString&, const QString&) override
    {
        ++tally["asked: " + shownKey(prompt)];
        pause();
        return chance(m_yes ? 0 : 10) ? QString() : "soak reason " + QString::number(m_rng() % 100);
    }

    // One action chosen by its weight; a database failure is counted, and the station goes on.
    void Act()
    {
        using Action = void (Day::*)();
        static const std::vector<std::tuple<QString, int, Action>> actions{
            {"book", 22, &Day::book},          {"cancel", 16, &Day::cancel},
            {"extra time", 9, &Day::extraTime}, {"delay", 7, &Day::delay},
            {"timing command", 6, &Day::timing}, {"copy and paste", 8, &Day::copyPaste},
            {"cut and paste", 5, &Day::cutPaste}, {"waiting-list entry", 3, &Day::addWaiting},
            {"block booking", 2, &Day::blockBook}, {"player count", 3, &Day::players},
            {"rate class", 4, &Day::rateClass},  {"slot payment", 2, &Day::pay},
            {"shop sale", 3, &Day::shopSale},    {"invoice", 3, &Day::invoice}};
        int total = 0;
        for (const auto& a : actions)
            total += std::get<1>(a);
        int roll = static_cast<int>(m_rng() % static_cast<uint32_t>(total));
        for (const auto& [name, weight, action] : actions) {
            if ((roll -= weight) >= 0)
                continue;
            ++tally["action: " + name];
            try {
                (this->*action)();
            } catch (const VbError& e) {
                ++tally["database error: " + shownKey(e.description())];
            }
            return;
        }
    }

    void CloseShift()
    {
        sell(m_cart, true);
        ++tally["action: shift close"];
        RecordShift({Money::FromCents(50000 + m_rng() % 100000), Money::FromCents(20000)});
    }

    // A day that sound rules leave sound, with something of every kind the checks look at: a master
    // court booked with its dependents' markers, two dependents under one marker, one of them delayed,
    // extra time with the next hour starting after it, a cancel, an invoice, a waiting-list entry
    // pasted, a block booking over four weeks, sales with shop items and receipts (one of a member,
    // whose hours go up) and the shift's close.
    void SoundDay()
    {
        const Booker walkIn{"555-0001", "", "Sound Walk-in", NormalClass, 0};
        const Booker anna{"555-0101", "Riverside FC", "Anna Lindqvist", MemberClass, 0};
        const Booker tomas{"555-0201", "City College", "Tomas Novak", StudentClass, 0};
        auto at = [&](int court, std::initializer_list<QString> times) {
            auto g = grid(court);
            g->Select(times);
            return g;
        };
        // Verified once, as the Book action would be, so that every audit row names the station's staff.
        IsUserAllowed(false);
        auto book = [&](int court, const QString& time, const Booker& b, int delay = 0, int length = 60) {
            BookSlots(*at(court, {}), SoakDate, {time}, b, QString::number(court), false, delay, length);
        };
        book(0, "18:00", walkIn);
        book(1, "20:00", anna);
        book(2, "20:00", tomas);
        auto dependent = at(2, {"20:00"});
        DelayGameTime(*dependent, dependent->current, 15, false);
        book(3, "18:00", walkIn);
        doAddExtraTime(*at(3, {"18:00"}), 15);
        book(3, "19:00", walkIn, 15, 45);
        book(3, "21:00", walkIn);
        CancelSlots(*at(3, {}), SoakDate, {"21:00"}, {walkIn.name}, "3", "sound cancel");
        auto invoiced = at(3, {"18:00"});
        PrintInvoice(*invoiced, courtName(*invoiced));
        WaitList::Add({SoakDate, "19:00:00", "0", "Wait sound", "W-sound", "", NormalClass, StaffLogin});
        SlotClipboard::Cut(WaitList::Entries(SoakDate, "0").back().id);
        SlotClipboard::Paste(*at(4, {"19:00"}));
        SlotClipboard::Copy(*at(3, {"18:00"}));
        SlotClipboard::BlockBook(*at(5, {"10:00"}), 3);
        for (const auto& [court, time] : {std::pair<int, QString>{0, "18:00"}, {1, "20:00"}}) {
            auto g = at(court, {time});
            PaySelectedSlots(*g, courtName(*g), m_cart);
            m_cart.Add(itemLine(m_items.front(), 2));
            sell(m_cart, true);
        }
        CloseShift();
    }

    Tally tally;

private:
    template <class C>
    auto pick(const C& from)
    {
        return from[static_cast<qsizetype>(m_rng() % static_cast<uint32_t>(from.size()))];
    }
    template <class T>
    T pick(std::initializer_list<T> from)
    {
        return from.begin()[m_rng() % from.size()];
    }
    bool chance(int percent) { return static_cast<int>(m_rng() % 100) < percent; }
    // A cashier's moment: between the grid drawn and the command, and before each answer.
    void pause() { QThread::usleep(m_rng() % 5001); }

    void readRegister(const QString& query, const QString& rateClass)
    {
        for (Recordset rs = Db::Query(query); !rs.EOF_(); rs.MoveNext())
            m_people.push_back({rs.Fields(1).Value(), rs.Fields(2).Value(), rs.Fields(0).Value(), rateClass, 0});
    }

    Booker booker()
    {
        if (chance(60))
            return pick(m_people);
        const QString n = QString::number(CounterNumber) + "-" + QString::number(++m_walkIns);
        return {"555-" + n, "", "Walk-in " + n, NormalClass, 0};
    }

    // The grid of a court as the station drew it a moment ago.
    std::unique_ptr<TestGrid> grid(int court)
    {
        auto g = std::make_unique<TestGrid>(SoakDate, court);
        g->RefreshView();
        pause();
        return g;
    }
    // The hour everyone asks for at the moment, the same at every station: it moves over the hot
    // courts and hours every half second, so that the stations work on the same court's neighbouring
    // hours at once.
    std::pair<int, QString> focus() const
    {
        const auto tick = static_cast<size_t>(QDateTime::currentMSecsSinceEpoch() / 500);
        return {HotCourts[tick % HotCourts.size()],
                HotTimes[static_cast<qsizetype>(tick / HotCourts.size()) % HotTimes.size()]};
    }
    std::unique_ptr<TestGrid> hotGrid()
    {
        return grid(chance(60) ? focus().first : chance(95) ? pick(HotCourts) : 4 + chance(50));
    }
    // The rows of the grid around the hour everyone asks for, none on another court.
    std::vector<int> focusRows(const TestGrid& g) const
    {
        const auto [court, time] = focus();
        const int at = g.RowOf(time);
        std::vector<int> rows;
        for (int r = std::max(1, at - 1); court == g.court.toInt() && r <= std::min(g.RowCount(), at + 1); ++r)
            rows.push_back(r);
        return rows;
    }
    // A row of the grid that the test picks: around the hour everyone asks for, else a hot one; 0
    // when none does.
    int rowWhere(const TestGrid& g, const std::function<bool(int)>& test)
    {
        std::vector<int> near, hot, any;
        const std::vector<int> focused = focusRows(g);
        for (int r = 1; r <= g.RowCount(); ++r) {
            if (!test(r))
                continue;
            any.push_back(r);
            if (HotTimes.contains(g.RowTime(r)))
                hot.push_back(r);
            if (std::find(focused.begin(), focused.end(), r) != focused.end())
                near.push_back(r);
        }
        if (!near.empty() && chance(60))
            return pick(near);
        return any.empty() ? 0 : (!hot.empty() && chance(95) ? pick(hot) : pick(any));
    }
    // A row the grid shows free, as a cashier would choose, now and then any row.
    int freeRow(const TestGrid& g)
    {
        const int r = chance(85) ? rowWhere(g, [&](int row) { return g.NameCell(row).isEmpty(); }) : 0;
        return r != 0 ? r : rowWhere(g, [](int) { return true; });
    }
    // A row that shows a booker's slot, mostly an unpaid one; 0 when the grid shows none. A copy leaves
    // waiting-list customers to their own paste: it would book them a second time on purpose.
    int bookedRow(const TestGrid& g, bool toCopy = false)
    {
        auto booker = [&](int r) {
            const QString name = g.NameCell(r);
            return !name.isEmpty() && name != SharedBookingMark && name != PartiallySharedMark &&
                   !(toCopy && name.startsWith("Wait "));
        };
        int r = chance(90) ? rowWhere(g, [&](int row) { return booker(row) && g.PaidCell(row).isEmpty(); }) : 0;
        if (r == 0)
            r = rowWhere(g, booker);
        if (r == 0)
            ++tally["nothing booked to act on"];
        return r;
    }
    void select(TestGrid& g, int first, int count)
    {
        g.selected.clear();
        for (int r = first; r < first + count && r <= g.RowCount(); ++r)
            g.selected.insert(r);
        g.current = first;
    }
    void count(const QString& what, const std::vector<bool>& done)
    {
        tally[what] += std::count(done.begin(), done.end(), true);
    }
    QString courtName(const TestGrid& g) { return CourtDisplayNames[static_cast<size_t>(g.court.toInt())]; }

    // The Book action of the bookings page: the selected rows planned with their questions, the user
    // verified, and the booker dialog's booking of each row with the timing it was given.
    void book()
    {
        auto g = hotGrid();
        select(*g, freeRow(*g), chance(30) ? 2 : 1);
        const std::optional<std::vector<PlannedRow>> plan = PlanSelectedRows(*g, Planning::BookAction);
        if (!plan)
            return;
        ShowVerifyUser(g->Owner());
        if (!IsUserAllowed(false))
            return;
        std::vector<SlotToBook> hours;
        for (const PlannedRow& p : *plan)
            hours.push_back({SoakDate, g->RowTime(p.row), p.delay, p.playLength});
        count("slots booked", BookSlots(*g, hours, booker(), g->court,
                                        PasteFromWaitList ? CutEntry::TakenBySameBooker : CutEntry::Untouched));
    }

    // The Clear action: what the grid shows is refused first, then the reason is asked.
    void cancel()
    {
        auto g = hotGrid();
        const int r = bookedRow(*g);
        if (r == 0)
            return;
        if (!g->PaidCell(r).isEmpty()) {
            ::MsgBox("You cannot delete paid slot", Msg::Critical);
            return;
        }
        ShowVerifyUser(g->Owner());
        if (!IsUserAllowed(false))
            return;
        const QString reason = ::InputBox("Enter reason why the entry need to be cleared");
        if (!reason.isEmpty())
            count("slots cancelled", CancelSlots(*g, SoakDate, {g->RowTime(r)}, {g->NameCell(r)}, g->court, reason));
    }

    void extraTime()
    {
        auto g = hotGrid();
        if (const int r = bookedRow(*g)) {
            select(*g, r, 1);
            doAddExtraTime(*g, pick<int>({15, 30, 45}));
        }
    }

    void delay()
    {
        auto g = hotGrid();
        if (const int r = bookedRow(*g)) {
            select(*g, r, chance(30) ? 2 : 1);
            doDelay(*g, pick<int>({15, 30, 45}));
        }
    }

    void timing()
    {
        auto g = hotGrid();
        const int r = bookedRow(*g);
        if (r == 0)
            return;
        select(*g, r, 1);
        switch (m_rng() % 3) {
        case 0:
            TimingCommands::ClearExtraTime(*g);
            break;
        case 1:
            TimingCommands::StartAtBeginning(*g);
            break;
        default:
            TimingCommands::SetDuration(*g, pick<int>({15, 30, 45, 60}));
        }
    }

    // Copies a booker's slot; tells whether one was there to copy.
    bool copy()
    {
        auto g = hotGrid();
        const int r = bookedRow(*g, true);
        if (r == 0)
            return false;
        select(*g, r, 1);
        SlotClipboard::Copy(*g);
        return true;
    }
    void pasteInto(int rows)
    {
        auto g = hotGrid();
        select(*g, freeRow(*g), rows);
        SlotClipboard::Paste(*g);
    }
    void copyPaste()
    {
        if (copy())
            pasteInto(1 + static_cast<int>(m_rng() % 3));
    }
    void blockBook()
    {
        if (!copy())
            return;
        auto g = hotGrid();
        select(*g, freeRow(*g), chance(30) ? 2 : 1);
        SlotClipboard::BlockBook(*g, chance(50) ? 3 : 7);
    }

    void addWaiting()
    {
        const QString n = QString::number(CounterNumber) + "-" + QString::number(++m_waiting);
        WaitList::Add({SoakDate, pick(WaitList::Hours()), QString::number(m_rng() % 2), "Wait " + n, "W-" + n, "",
                       NormalClass, StaffLogin});
    }
    // Cuts an entry any station put on the list, and pastes it at once.
    void cutPaste()
    {
        const std::vector<WaitListEntry> entries = WaitList::Entries(SoakDate, QString::number(m_rng() % 2));
        if (entries.empty()) {
            ++tally["nothing waiting to cut"];
            return;
        }
        SlotClipboard::Cut(pick(entries).id);
        pasteInto(1);
    }

    void players()
    {
        auto g = hotGrid();
        if (const int r = bookedRow(*g)) {
            select(*g, r, 1);
            if (PlayerCountChange::MayChange(*g))
                PlayerCountChange::Write(SoakDate, g->RowTime(r), g->court.toInt(), g->NameCell(r),
                                         1 + static_cast<int>(m_rng() % 12), g->ActionTime());
        }
    }

    void rateClass()
    {
        auto g = hotGrid();
        if (const int r = bookedRow(*g)) {
            select(*g, r, 1);
            SetSlotRateClass(*g, pick<QString>({NormalClass, MemberClass, StudentClass, SpecialGroupClass(1)}));
        }
    }

    CartLine itemLine(const ShopItem& item, int quantity)
    {
        CartLine line;
        line.kind = CartLine::Kind::ShopItem;
        line.text = item.name;
        line.tag = item.type;
        line.unitPrice = item.price;
        line.quantity = QString::number(quantity);
        line.amount = Money::FromCents(item.price.Cents() * quantity);
        return line;
    }
    void addItems(Cart& cart, int most)
    {
        for (int i = static_cast<int>(m_rng() % static_cast<uint32_t>(most + 1)); i > 0; --i)
            cart.Add(itemLine(pick(m_items), 1 + static_cast<int>(m_rng() % 3)));
    }
    // The payment window's OK, and its receipt when one is printed; the cart is emptied either way.
    void sell(Cart& cart, bool receipt)
    {
        if (cart.IsEmpty())
            return;
        pause();
        try {
            const int32_t transaction = RecordSale(cart.Lines(), StaffLogin);
            WriteLog(StaffLogin, "Sales made, drawer open");
            ++tally["sales recorded"];
            if (receipt) {
                WriteLog(StaffLogin,
                         "Receipt Printed " + QString::number(AssignReceiptNumber(QString::number(transaction))));
                ++tally["receipts numbered"];
            }
        } catch (const SaleRefused& refused) {
            ::MsgBox(refused.Message(), Msg::Critical);
        }
        cart.Reset();
    }
    // Slot Payment puts the selected hours into the cart, which is paid at once or stays while the
    // cashier does other things, as the main window's cart does.
    void pay()
    {
        auto g = hotGrid();
        const int r = bookedRow(*g);
        if (r == 0)
            return;
        select(*g, r, chance(20) ? 2 : 1);
        PaySelectedSlots(*g, courtName(*g), m_cart);
        addItems(m_cart, 2);
        if (chance(50))
            sell(m_cart, chance(70));
    }
    void shopSale()
    {
        addItems(m_cart, 3);
        sell(m_cart, chance(70));
    }
    void invoice()
    {
        auto g = hotGrid();
        if (const int r = bookedRow(*g)) {
            select(*g, r, chance(30) ? 2 : 1);
            if (PrintInvoice(*g, courtName(*g)) > 0)
                ++tally["invoices numbered"];
        }
    }

    std::mt19937 m_rng;
    bool m_yes;
    PdfInvoices m_printer;
    Cart m_cart;
    std::vector<ShopItem> m_items;
    std::vector<Booker> m_people;
    int m_walkIns = 0;
    int m_waiting = 0;
};

} // namespace

void LoadStationSettings()
{
    static NoWindows noWindows;
    qApp->installEventFilter(&noWindows);
    SetErrorDisplayHandler([](const VbError& e) {
        qFatal("station %d: error window while %s: %s", CounterNumber, qPrintable(CurrentTask),
               qPrintable(e.description()));
    });
    ReadStationSettings();
    ReadOptionSettings();
    // The centre's own database on the private server, never the tests' posdb.
    ConnectionString.replace("DATABASE=posdb;", "DATABASE=" + ReadIni("System", "soak_database", "", IniFile) + ";");
}

void StartStation()
{
    CheckDatabase();
    InitDatabase(CounterCount);
    StaffLogin = "staff" + QString::number(CounterNumber);
    SetCounterStaff(CounterNumber, StaffLogin);
    WriteLog(StaffLogin, "logging in");
    ShiftName = "evening";
    SetCounterStaffShiftStatus(CounterNumber, 0);
}

Tally RunStationDay(uint32_t seed, int actions, bool yes)
{
    Day day(seed, yes);
    for (int i = 0; i < actions; ++i)
        day.Act();
    day.CloseShift();
    return day.tally;
}

void RunSoundDay() { Day(1, true).SoundDay(); }
