#include "Sale.h"

#include "SlotAudit.h"

#include "Clock.h"
#include "Db.h"
#include "Globals.h"
#include "Numbering.h"
#include "SqlQuote.h"

#include <optional>

int32_t CurrentTransaction = 0;
int16_t CurrentReceipt = 0;

namespace {

QString journal() { return "tbl_counter" + QString::number(CounterNumber); }

QString slotWhere(const CartLine& line)
{
    return " WHERE b_datetime='" + SqlQuote(line.slotDate + " " + line.slotTime + ":00") +
           "' AND b_field=" + QString::number(line.court);
}

struct CheckedSlot {
    QString rateClass;
    QString booker;
};

// The slot as it stands now, locked until the sale ends.
CheckedSlot checkSlot(Connection& db, const CartLine& line)
{
    Recordset rs = db.Query("SELECT b_bookername, b_specialrate, b_paid FROM tbl_booking" + slotWhere(line) +
                            " FOR UPDATE");
    const QString booker = rs.EOF_() ? QString() : rs["b_bookername"].Value();
    if (booker.isEmpty() || booker == SharedBookingMark || booker == PartiallySharedMark)
        throw SaleRefused("The slot " + line.text +
                          " is no longer booked (another station cancelled it); nothing was recorded.");
    if (Money::Parse(rs["b_paid"].Value()) > Money())
        throw SaleRefused("The slot " + line.text + " has already been paid; nothing was recorded.");
    return {rs["b_specialrate"].Value(), booker};
}

void checkItem(Connection& db, const CartLine& line)
{
    if (db.Query("SELECT i_id FROM tbl_item WHERE i_name='" + SqlQuote(line.text) + "' LIMIT 1 FOR UPDATE").EOF_())
        throw SaleRefused("The item " + line.text + " is no longer in the shop; nothing was recorded.");
}

void addHour(Connection& db, const CheckedSlot& slot)
{
    const QString booker = SqlQuote(slot.booker);
    if (slot.rateClass == "member") {
        db.Execute("UPDATE tbl_member SET m_hour=m_hour+1 WHERE m_name='" + booker + "'");
    } else if (slot.rateClass == "student") {
        db.Execute("UPDATE tbl_student SET st_hour=st_hour+1 WHERE st_name='" + booker + "'");
    } else {
        for (int k = 1; k <= SpecialGroupCount; ++k) {
            const QString table = "tbl_specialgroup" + QString::number(k);
            if (slot.rateClass == "specialgroup" + QString::number(k) &&
                !db.Query("SHOW TABLES LIKE '" + table + "'").EOF_())
                db.Execute("UPDATE " + table + " SET m_hour=m_hour+1 WHERE m_name='" + booker + "'");
        }
    }
}

void writeJournalRow(Connection& db, const CartLine& line, int32_t transaction, const QString& rateClass,
                     const QString& staff)
{
    db.Execute("INSERT INTO " + journal() + " SET c_datetime='" + DbDateTime(Now()) + "', c_item='" +
               SqlQuote(line.text) + "', c_itemprice='" + line.unitPrice.Sql() + "', c_itemquantity='" +
               SqlQuote(line.quantity) + "', c_itemtype='" + SqlQuote(line.tag) + "', c_itemtotal='" +
               line.amount.Sql() + "', c_transaction='" + QString::number(transaction) + "', c_special='" +
               SqlQuote(rateClass) + "', c_receipt='0', c_staffid='" + SqlQuote(staff) + "'");
}

} // namespace

int32_t RecordSale(const std::vector<CartLine>& lines, const QString& staff)
{
    if (lines.empty())
        return 0;
    int32_t transaction = 0;
    Db::Transaction([&](Connection& db) {
        std::vector<std::optional<CheckedSlot>> checked;
        for (const CartLine& line : lines) {
            checked.emplace_back();
            if (line.IsSlot())
                checked.back() = checkSlot(db, line);
            else if (line.kind == CartLine::Kind::ShopItem)
                checkItem(db, line);
        }
        transaction = GetMaxTransaction(db) + 1;
        for (size_t i = 0; i < lines.size(); ++i) {
            const CartLine& line = lines[i];
            writeJournalRow(db, line, transaction, checked[i] ? checked[i]->rateClass : QString(), staff);
            if (line.IsSlot()) {
                db.Execute("UPDATE tbl_booking SET b_paid=" + line.amount.Sql() + slotWhere(line));
                addHour(db, *checked[i]);
            } else {
                db.Execute("UPDATE tbl_item SET i_currentstock=i_currentstock-'" + SqlQuote(line.quantity) +
                           "' WHERE i_name='" + SqlQuote(line.text) + "'");
            }
        }
    });
    CurrentTransaction = transaction;
    return transaction;
}

bool HasTransaction(int32_t transaction)
{
    return !Db::Query("SELECT c_receipt FROM " + journal() + " where c_transaction=" + QString::number(transaction) +
                      " LIMIT 1")
                .EOF_();
}

int16_t ReceiptOfTransaction(int32_t transaction)
{
    int16_t receipt = 0;
    Db::Transaction([&](Connection& db) {
        Recordset rs = db.Query("SELECT c_receipt FROM " + journal() + " where c_transaction=" +
                                QString::number(transaction) + " LIMIT 1 FOR UPDATE");
        receipt = rs.EOF_() ? 0 : static_cast<int16_t>(rs.Fields(0).Integer());
        if (receipt == 0)
            receipt = AssignReceiptNumber(db, transaction);
    });
    return receipt;
}
