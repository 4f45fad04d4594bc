#include "Sale.h"
#include "JournalLimits.h"

#include "SlotAudit.h"
#include "SlotInfo.h"

#include "Clock.h"
#include "Db.h"
#include "Globals.h"
#include "Numbering.h"
#include "Prompter.h"
#include "SpecialGroups.h"
#include "SqlQuote.h"

#include <QStringList>

#include <map>
#include <optional>

int32_t CurrentTransaction = 0;
int32_t CurrentReceipt = 0;

const QString SlotBookingColumns =
    QStringLiteral("b_bookername, b_bookertel, b_delaytime, b_playlength, b_specialrate, b_person, b_extratime");

SlotBooking ReadSlotBooking(const Recordset& rs, int first)
{
    // Read as pricing reads them, so that a slot is sold as long as it would be priced the same.
    return {rs.Fields(first).Value(),
            rs.Fields(first + 1).Value(),
            static_cast<int>(rs.Fields(first + 2).Integer()),
            PricedPlayLength(rs.Fields(first + 3).Value()),
            rs.Fields(first + 4).Value(),
            PricedCount(rs.Fields(first + 5).Value()),
            PricedCount(rs.Fields(first + 6).Value())};
}

namespace {

QString journal() { return "tbl_counter" + QString::number(CounterNumber); }

QString slotCondition(const CartLine& line)
{
    return "(b_datetime='" + SqlQuote(line.slotDate + " " + line.slotTime + ":00") +
           "' AND b_field=" + QString::number(line.court) + ")";
}

struct CheckedSlot {
    QString rateClass;
    QString booker;
};

// What the sale decides on as it stands now, read in one statement and locked until the sale ends,
// always in this order: its slots, its shop items and the journal's last transaction number.
struct LockedRows {
    struct Slot {
        SlotBooking booking;
        Money paid;
    };
    std::map<std::pair<QString, int>, Slot> hours;
    QStringList items;
    int32_t lastTransaction = 0;
};

LockedRows lockSaleRows(Connection& db, const std::vector<CartLine>& lines)
{
    QStringList hours, items;
    for (const CartLine& line : lines) {
        if (line.IsSlot())
            hours << slotCondition(line);
        else if (line.kind == CartLine::Kind::ShopItem)
            items << "'" + SqlQuote(line.text) + "'";
    }
    // Every part gives the same eleven columns: its kind, its key, then the slot's booking.
    QStringList parts;
    if (!hours.isEmpty())
        parts << "(SELECT 's', b_datetime, b_field, " + SlotBookingColumns + ", b_paid FROM tbl_booking WHERE " +
                     hours.join(" OR ") + " FOR UPDATE)";
    if (!items.isEmpty())
        parts << "(SELECT 'i', i_name, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL FROM tbl_item WHERE i_name IN (" +
                     items.join(',') + ") FOR UPDATE)";
    // The station's own row is taken before its journal: two sales of one station then number in turn, where
    // the journal's last number alone would let both hold the gap after it and deadlock as both write into it.
    parts << "(SELECT 'y', sys_counter, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL FROM tbl_system WHERE "
             "sys_counter=" + QString::number(CounterNumber) + " FOR UPDATE)";
    parts << "(" + LockedLastTransactionQuery("'t', c_transaction, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL") + ")";
    LockedRows locked;
    for (Recordset rs = db.Query(parts.join(" UNION ALL ")); !rs.EOF_(); rs.MoveNext()) {
        const QString kind = rs.Fields(0).Value();
        const QString key = rs.Fields(1).Value();
        if (kind == "s")
            locked.hours[{key, static_cast<int>(rs.Fields(2).Integer())}] = {ReadSlotBooking(rs, 3),
                                                                             Money::Parse(rs.Fields(10).Value())};
        else if (kind == "i")
            locked.items << key;
        else if (kind == "t")
            locked.lastTransaction = static_cast<int32_t>(rs.Fields(1).Integer());
    }
    return locked;
}

// Each court line's slot still holds the booking the line was made for, unpaid.
std::vector<std::optional<CheckedSlot>> checkSlots(const LockedRows& locked, const std::vector<CartLine>& lines)
{
    std::vector<std::optional<CheckedSlot>> checked(lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        const CartLine& line = lines[i];
        if (!line.IsSlot())
            continue;
        const auto slot = locked.hours.find({line.slotDate + " " + line.slotTime + ":00", line.court});
        const QString booker = slot == locked.hours.end() ? QString() : slot->second.booking.name;
        if (booker.isEmpty() || HoldsMark(booker, SharedBookingMark) || HoldsMark(booker, PartiallySharedMark))
            throw SaleRefused("The slot " + line.text +
                              " is no longer booked (another station cancelled it); nothing was recorded.");
        const SlotBooking& now = slot->second.booking;
        // Cancelled and booked again meanwhile: the money in hand is not the new booker's.
        if (now.name != line.booking.name || now.telephone != line.booking.telephone)
            throw SaleRefused("The slot " + line.text + " was booked again by " + now.name +
                              " since it was put in the cart. Remove the line and pay the slot again; nothing was "
                              "recorded.");
        if (now != line.booking)
            throw SaleRefused("The play time, rate class or players of the slot " + line.text +
                              " were changed since it was put in the cart, so its price may differ. Remove the line "
                              "and pay the slot again; nothing was recorded.");
        if (slot->second.paid > Money())
            throw SaleRefused("The slot " + line.text + " has already been paid; nothing was recorded.");
        checked[i] = CheckedSlot{now.rateClass, booker};
    }
    return checked;
}

// The shop items of the sale are still sold.
void checkItems(const LockedRows& locked, const std::vector<CartLine>& lines)
{
    for (const CartLine& line : lines)
        if (line.kind == CartLine::Kind::ShopItem && !locked.items.contains(line.text, Qt::CaseInsensitive))
            throw SaleRefused("The item " + line.text + " is no longer in the shop; nothing was recorded.");
}

// The register table and booker whose row gains the hours of a court line, none for the normal rate.
std::optional<std::pair<QString, QString>> hourRegister(const CheckedSlot& slot)
{
    if (slot.rateClass == "member")
        return std::pair{QString("tbl_member SET m_hour=m_hour+%1 WHERE m_name='"), slot.booker};
    if (slot.rateClass == "student")
        return std::pair{QString("tbl_student SET st_hour=st_hour+%1 WHERE st_name='"), slot.booker};
    for (int k = 1; k <= SpecialGroupCount; ++k) {
        if (slot.rateClass == "specialgroup" + QString::number(k) && HasSpecialGroupTable(k))
            return std::pair{"tbl_specialgroup" + QString::number(k) + " SET m_hour=m_hour+%1 WHERE m_name='",
                             slot.booker};
    }
    return std::nullopt;
}

QString journalValues(const CartLine& line, int32_t transaction, const QString& rateClass, const QString& staff)
{
    return "('" + DbDateTime(Now()) + "', '" + SqlQuote(line.text) + "', '" + line.unitPrice.Sql() + "', '" +
           SqlQuote(line.quantity) + "', '" + SqlQuote(line.tag) + "', '" + line.amount.Sql() + "', '" +
           QString::number(transaction) + "', '" + SqlQuote(rateClass) + "', '0', '" + SqlQuote(staff) + "')";
}

} // namespace

int32_t RecordSale(const std::vector<CartLine>& lines, const QString& staff)
{
    if (lines.empty())
        return 0;
    if (const QString refusal = Journal::RefusalOf(lines); !refusal.isEmpty())
        throw SaleRefused(refusal);
    int32_t transaction = 0;
    try {
        Db::Transaction([&](Connection& db) {
            const LockedRows locked = lockSaleRows(db, lines);
            const auto checked = checkSlots(locked, lines);
            checkItems(locked, lines);
            transaction = locked.lastTransaction + 1;

            QStringList rows, paidConditions, paidCases;
            std::map<std::pair<QString, QString>, int> hours;
            std::map<QString, long long> sold;
            for (size_t i = 0; i < lines.size(); ++i) {
                const CartLine& line = lines[i];
                rows << journalValues(line, transaction, checked[i] ? checked[i]->rateClass : QString(), staff);
                if (line.IsSlot()) {
                    paidConditions << slotCondition(line);
                    paidCases << "WHEN " + slotCondition(line) + " THEN " + line.amount.Sql();
                    if (const auto reg = hourRegister(*checked[i]))
                        ++hours[*reg];
                } else {
                    sold[line.text] += line.quantity.toLongLong();
                }
            }
            db.Execute("INSERT INTO " + journal() +
                       " (c_datetime, c_item, c_itemprice, c_itemquantity, c_itemtype, c_itemtotal, c_transaction, "
                       "c_special, c_receipt, c_staffid) VALUES " + rows.join(", "));
            if (!paidConditions.isEmpty())
                db.Execute("UPDATE tbl_booking SET b_paid=CASE " + paidCases.join(' ') + " END WHERE " +
                           paidConditions.join(" OR "));
            // One hour per court line, whatever its length, on every register row of the booker's name.
            for (const auto& [reg, count] : hours)
                db.Execute("UPDATE " + reg.first.arg(count) + SqlQuote(reg.second) + "'");
            // Every row takes off the quantity of each name it answers to, as one statement per name would.
            QStringList taken, names;
            for (const auto& [name, quantity] : sold) {
                taken << " - CASE WHEN i_name='" + SqlQuote(name) + "' THEN " + QString::number(quantity) + " ELSE 0 END";
                names << "'" + SqlQuote(name) + "'";
            }
            if (!sold.empty())
                db.Execute("UPDATE tbl_item SET i_currentstock=i_currentstock" + taken.join("") + " WHERE i_name IN (" +
                           names.join(',') + ")");
        });
    } catch (const Db::CommitUnconfirmed& lost) {
        throw SaleUnconfirmed(lost, transaction);
    }
    CurrentTransaction = transaction;
    return transaction;
}

Db::Written FindSale(int32_t transaction)
{
    return Db::FindOut([&](Connection& db) {
        // Only this station numbers its journal, so rows under the number are the sale's.
        GetMaxTransaction(db);
        return !db.Query("SELECT c_transaction FROM " + journal() + " WHERE c_transaction=" +
                         QString::number(transaction) + " LIMIT 1 FOR UPDATE")
                    .EOF_();
    });
}

bool HasTransaction(int32_t transaction)
{
    return !Db::Query("SELECT c_receipt FROM " + journal() + " where c_transaction=" + QString::number(transaction) +
                      " LIMIT 1")
                .EOF_();
}

bool NumberCurrentReceipt(int32_t transaction)
{
    CurrentTransaction = transaction;
    try {
        CurrentReceipt = AssignReceiptNumber(QString::number(transaction));
        return true;
    } catch (const Db::CommitUnconfirmed&) {
        int32_t receipt = 0;
        const Db::Written outcome = FindReceipt(transaction, receipt);
        if (outcome == Db::Written::Yes) {
            CurrentReceipt = receipt;
            return true;
        }
        MsgBox(outcome == Db::Written::No
                   ? QString("The connection to the database was lost while the receipt was being numbered. It was "
                             "not numbered: nothing was written or printed. Please print it again.")
                   : "The connection to the database was lost while the receipt was being numbered, and whether it "
                     "was numbered cannot be told " +
                         Db::UntoldReason(outcome, "the sale's lines") +
                         ". Nothing was printed: print it again once the database can tell, and a receipt numbered "
                         "already prints with its own number.",
               Msg::Critical);
        return false;
    }
}
