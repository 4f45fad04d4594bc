#include "Sale.h"

#include "SlotAudit.h"

#include "Clock.h"
#include "Db.h"
#include "Globals.h"
#include "Numbering.h"
#include "SqlQuote.h"

#include <QStringList>

#include <map>
#include <optional>

int32_t CurrentTransaction = 0;
int32_t CurrentReceipt = 0;

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

// The sale's slots as they stand now, locked until the sale ends, read in one statement.
std::vector<std::optional<CheckedSlot>> checkSlots(Connection& db, const std::vector<CartLine>& lines)
{
    std::vector<std::optional<CheckedSlot>> checked(lines.size());
    QStringList conditions;
    for (const CartLine& line : lines)
        if (line.IsSlot())
            conditions << slotCondition(line);
    if (conditions.isEmpty())
        return checked;
    struct Found {
        SlotBooking booking;
        QString rateClass;
        Money paid;
    };
    std::map<std::pair<QString, int>, Found> found;
    for (Recordset rs = db.Query("SELECT b_datetime, b_field, b_bookername, b_bookertel, b_delaytime, b_playlength, "
                                 "b_specialrate, b_paid FROM tbl_booking WHERE " + conditions.join(" OR ") +
                                 " FOR UPDATE");
         !rs.EOF_(); rs.MoveNext())
        found[{rs["b_datetime"].Value(), static_cast<int>(rs["b_field"].Integer())}] = {
            {rs["b_bookername"].Value(), rs["b_bookertel"].Value(), static_cast<int>(rs["b_delaytime"].Integer()),
             static_cast<int>(rs["b_playlength"].Integer())},
            rs["b_specialrate"].Value(),
            Money::Parse(rs["b_paid"].Value())};
    for (size_t i = 0; i < lines.size(); ++i) {
        const CartLine& line = lines[i];
        if (!line.IsSlot())
            continue;
        const auto slot = found.find({line.slotDate + " " + line.slotTime + ":00", line.court});
        const QString booker = slot == found.end() ? QString() : slot->second.booking.name;
        if (booker.isEmpty() || booker == SharedBookingMark || booker == PartiallySharedMark)
            throw SaleRefused("The slot " + line.text +
                              " is no longer booked (another station cancelled it); nothing was recorded.");
        const SlotBooking& now = slot->second.booking;
        // Cancelled and booked again meanwhile: the money in hand is not the new booker's.
        if (now.name != line.booking.name || now.telephone != line.booking.telephone)
            throw SaleRefused("The slot " + line.text + " was booked again by " + now.name +
                              " since it was put in the cart. Remove the line and pay the slot again; nothing was "
                              "recorded.");
        if (now != line.booking)
            throw SaleRefused("The play time of the slot " + line.text +
                              " was changed since it was put in the cart, so its price may differ. Remove the line "
                              "and pay the slot again; nothing was recorded.");
        if (slot->second.paid > Money())
            throw SaleRefused("The slot " + line.text + " has already been paid; nothing was recorded.");
        checked[i] = CheckedSlot{slot->second.rateClass, booker};
    }
    return checked;
}

// The shop items of the sale are still sold, and stay so until the sale ends.
void checkItems(Connection& db, const std::vector<CartLine>& lines)
{
    QStringList names;
    for (const CartLine& line : lines)
        if (line.kind == CartLine::Kind::ShopItem)
            names << "'" + SqlQuote(line.text) + "'";
    if (names.isEmpty())
        return;
    QStringList found;
    for (Recordset rs = db.Query("SELECT i_name FROM tbl_item WHERE i_name IN (" + names.join(',') + ") FOR UPDATE");
         !rs.EOF_(); rs.MoveNext())
        found << rs["i_name"].Value();
    for (const CartLine& line : lines)
        if (line.kind == CartLine::Kind::ShopItem && !found.contains(line.text, Qt::CaseInsensitive))
            throw SaleRefused("The item " + line.text + " is no longer in the shop; nothing was recorded.");
}

// The register table and booker whose row gains the hours of a court line, none for the normal rate.
std::optional<std::pair<QString, QString>> hourRegister(Connection& db, const CheckedSlot& slot)
{
    if (slot.rateClass == "member")
        return std::pair{QString("tbl_member SET m_hour=m_hour+%1 WHERE m_name='"), slot.booker};
    if (slot.rateClass == "student")
        return std::pair{QString("tbl_student SET st_hour=st_hour+%1 WHERE st_name='"), slot.booker};
    for (int k = 1; k <= SpecialGroupCount; ++k) {
        const QString table = "tbl_specialgroup" + QString::number(k);
        if (slot.rateClass == "specialgroup" + QString::number(k) &&
            !db.Query("SHOW TABLES LIKE '" + table + "'").EOF_())
            return std::pair{table + " SET m_hour=m_hour+%1 WHERE m_name='", slot.booker};
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
    int32_t transaction = 0;
    try {
        Db::Transaction([&](Connection& db) {
        const auto checked = checkSlots(db, lines);
        checkItems(db, lines);
        transaction = GetMaxTransaction(db) + 1;

        QStringList rows, paidConditions, paidCases;
        std::map<std::pair<QString, QString>, int> hours;
        std::map<QString, long long> sold;
        for (size_t i = 0; i < lines.size(); ++i) {
            const CartLine& line = lines[i];
            rows << journalValues(line, transaction, checked[i] ? checked[i]->rateClass : QString(), staff);
            if (line.IsSlot()) {
                paidConditions << slotCondition(line);
                paidCases << "WHEN " + slotCondition(line) + " THEN " + line.amount.Sql();
                if (const auto reg = hourRegister(db, *checked[i]))
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
        for (const auto& [name, quantity] : sold)
            db.Execute("UPDATE tbl_item SET i_currentstock=i_currentstock-" + QString::number(quantity) +
                       " WHERE i_name='" + SqlQuote(name) + "'");
        });
    } catch (const Db::CommitUnconfirmed& lost) {
        throw SaleUnconfirmed(lost, transaction);
    }
    CurrentTransaction = transaction;
    return transaction;
}

SaleOutcome FindSale(int32_t transaction)
{
    bool recorded = false;
    try {
        Db::Transaction([&](Connection& db) {
            // Locking reads wait for the lost transaction, should the server still run it, and
            // then see what it left. Only this station numbers its journal, so rows under the
            // number are the sale's.
            GetMaxTransaction(db);
            recorded = !db.Query("SELECT c_transaction FROM " + journal() + " WHERE c_transaction=" +
                                 QString::number(transaction) + " LIMIT 1 FOR UPDATE")
                            .EOF_();
        });
    } catch (const VbError&) {
        return SaleOutcome::Unknown;
    }
    return recorded ? SaleOutcome::Recorded : SaleOutcome::NotRecorded;
}

bool HasTransaction(int32_t transaction)
{
    return !Db::Query("SELECT c_receipt FROM " + journal() + " where c_transaction=" + QString::number(transaction) +
                      " LIMIT 1")
                .EOF_();
}

int32_t ReceiptOfTransaction(int32_t transaction)
{
    int32_t receipt = 0;
    Db::Transaction([&](Connection& db) {
        Recordset rs = db.Query("SELECT c_receipt FROM " + journal() + " where c_transaction=" +
                                QString::number(transaction) + " LIMIT 1 FOR UPDATE");
        receipt = rs.EOF_() ? 0 : static_cast<int32_t>(rs.Fields(0).Integer());
        if (receipt == 0)
            receipt = AssignReceiptNumber(db, transaction);
    });
    return receipt;
}
