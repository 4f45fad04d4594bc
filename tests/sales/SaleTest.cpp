#include "SalesFixture.h"

#include "Cart.h"
#include "JournalLimits.h"
#include "Sale.h"
#include "SlotPayment.h"

#include "Db.h"
#include "Globals.h"
#include "Numbering.h"

#include <gtest/gtest.h>

#include <atomic>
#include <barrier>
#include <thread>

namespace {

class SaleTest : public SalesTest {
protected:
    // The cart of the counter's usual sale: a member's 90-minute hour at 19:00, a per-person hour
    // of six players at 20:00, three waters and a misc line.
    Cart usualCart()
    {
        book("19:00", "b_bookername='Anna Lindqvist', b_specialrate='member', b_playlength=90");
        book("20:00", "b_bookername='Bo', b_person=6");
        Cart cart;
        grid.RefreshView();
        grid.Select({"19:00"});
        EXPECT_EQ(PaySelectedSlots(grid, host.FieldInfo(), cart), 1);
        PerPersonChargingOn = 1;
        grid.Select({"20:00"});
        EXPECT_EQ(PaySelectedSlots(grid, host.FieldInfo(), cart), 1);
        PerPersonChargingOn = 0;
        cart.Add(shopLine("Mineral Water", "Drink", 150, 3));
        CartLine misc;
        misc.text = "%";
        misc.unitPrice = misc.amount = Money::FromCents(250);
        misc.quantity = "1";
        cart.Add(misc);
        return cart;
    }

    QStringList journal()
    {
        QStringList rows;
        for (Recordset rs = Db::Query("SELECT * FROM tbl_counter1"); !rs.EOF_(); rs.MoveNext())
            rows << QStringList{rs["c_item"].Value(),        rs["c_itemprice"].Value(), rs["c_itemquantity"].Value(),
                                rs["c_itemtype"].Value(),    rs["c_itemtotal"].Value(), rs["c_transaction"].Value(),
                                rs["c_special"].Value(),     rs["c_receipt"].Value(),   rs["c_staffid"].Value()}
                        .join('|');
        return rows;
    }

    void expectNothingWritten()
    {
        EXPECT_EQ(count("tbl_counter1"), 0);
        EXPECT_EQ(count("tbl_booking WHERE b_paid > 0"), 0);
        EXPECT_EQ(scalar("SELECT m_hour FROM tbl_member WHERE m_name='Anna Lindqvist'"), "12.00");
        EXPECT_EQ(scalar("SELECT SUM(i_currentstock) FROM tbl_item"), "295.00");
    }
};

TEST_F(SaleTest, OneSaleWritesItsLinesPaidMarksHoursAndStockUnderOneNumber)
{
    const Cart cart = usualCart();
    EXPECT_EQ(cart.Total(), Money::FromCents(6000 + 24000 + 450 + 250));
    StaffLogin = "o'hara";
    EXPECT_EQ(RecordSale(cart.Lines(), StaffLogin), 1);

    EXPECT_EQ(journal(), (QStringList{"Court 4 08/12/2026 19:00|40.00|1.50|pitch|60.00|1|member|0|o'hara",
                                      "Court 4 08/12/2026 20:00|40.00|6.00|pitch|240.00|1||0|o'hara",
                                      "Mineral Water|1.50|3.00|Drink|4.50|1||0|o'hara",
                                      "%|2.50|1.00||2.50|1||0|o'hara"}));
    EXPECT_EQ(scalar("SELECT GROUP_CONCAT(b_paid ORDER BY b_datetime) FROM tbl_booking"), "60.00,240.00");
    EXPECT_EQ(scalar("SELECT m_hour FROM tbl_member WHERE m_name='Anna Lindqvist'"), "13.00");
    // The misc line "%" matches no item: only the sold water is lowered.
    EXPECT_EQ(scalar("SELECT GROUP_CONCAT(i_currentstock ORDER BY i_id) FROM tbl_item"),
              "117.00,80.00,60.00,25.00,10.00,0.00");

    // Each line takes its quantity off every item its name answers to, whatever the case, and an item
    // on two lines loses both quantities.
    EXPECT_EQ(RecordSale({shopLine("Energy Bar", "Food", 220, 1), shopLine("ENERGY BAR", "Food", 220, 2),
                          shopLine("Energy Bar", "Food", 220, 4)},
                         StaffLogin),
              2);
    EXPECT_EQ(scalar("SELECT i_currentstock FROM tbl_item WHERE i_name='Energy Bar'"), "53.00");
    EXPECT_EQ(RecordSale({}, StaffLogin), 0) << "an emptied cart records nothing";
}

TEST_F(SaleTest, AStatementFailingInTheMiddleLeavesNothingAndTheSaleCanThenBeRecordedOnce)
{
    const Cart cart = usualCart();
    PrivateDatabase::RunClient("USE posdb; CREATE TRIGGER refuse_hours BEFORE UPDATE ON tbl_member FOR EACH ROW "
                               "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT='register locked';");
    EXPECT_THROW(RecordSale(cart.Lines(), StaffLogin), VbError);
    expectNothingWritten();

    PrivateDatabase::RunClient("USE posdb; DROP TRIGGER refuse_hours;");
    EXPECT_EQ(RecordSale(cart.Lines(), StaffLogin), 1);
    EXPECT_THROW(RecordSale(cart.Lines(), StaffLogin), SaleRefused) << "the same slots cannot be sold twice";
    EXPECT_EQ(count("tbl_counter1"), 4);
}

TEST_F(SaleTest, ASlotCancelledOrAnItemRemovedByAnotherStationRefusesTheWholeSale)
{
    const Cart cart = usualCart();
    // Lines or a total beyond the journal's columns would be stored cut down or rounded.
    auto refusal = [&](std::initializer_list<CartLine> added) {
        std::vector<CartLine> lines = cart.Lines();
        lines.insert(lines.end(), added);
        try {
            RecordSale(lines, StaffLogin);
        } catch (const SaleRefused& e) {
            return e.Message();
        }
        return QString("recorded");
    };
    EXPECT_EQ(refusal({shopLine("Grip Tape", "Gear", 50000000, 32767)}),
              "The line Grip Tape (price 500000.00, quantity 32767, amount 16383500000.00) does not fit the sales "
              "journal, which records prices, quantities and amounts of at most 9,999,999,999.99 with at most two "
              "decimals. Nothing was recorded: remove the line or lower its quantity.");
    CartLine eighth = shopLine("Grip Tape", "Gear", 600, 1);
    eighth.quantity = "0.125";
    EXPECT_TRUE(refusal({eighth}).startsWith("The line Grip Tape (price 6.00, quantity 0.125,"));
    std::vector<CartLine> twentyMinutes = cart.Lines();
    const auto slot = std::find_if(twentyMinutes.begin(), twentyMinutes.end(), [](auto& l) { return l.IsSlot(); });
    ASSERT_NE(slot, twentyMinutes.end());
    slot->quantity = "0.333333333333333";
    EXPECT_EQ(Journal::RefusalOf(twentyMinutes), "") << "a court hour's length in hours is kept rounded";
    const CartLine half = shopLine("Grip Tape", "Gear", 50000000, 10000);
    EXPECT_TRUE(refusal({half, half}).startsWith("The total of this sale, 10000000307.00, does not fit"));
    expectNothingWritten();

    Db::Execute("DELETE FROM tbl_booking WHERE b_datetime='2026-12-08 20:00:00'");
    try {
        RecordSale(cart.Lines(), StaffLogin);
        FAIL() << "a cancelled slot was sold";
    } catch (const SaleRefused& e) {
        EXPECT_TRUE(e.Message().startsWith("The slot Court 4 08/12/2026 20:00 is no longer booked")) << e.Message().toStdString();
    }
    expectNothingWritten();

    book("20:00", "b_bookername='Bo', b_person=6");
    Db::Execute("DELETE FROM tbl_item WHERE i_name='Mineral Water'");
    EXPECT_THROW(RecordSale(cart.Lines(), StaffLogin), SaleRefused);
    EXPECT_EQ(count("tbl_counter1"), 0);
    EXPECT_EQ(count("tbl_booking WHERE b_paid > 0"), 0);
}

// The cashier holds Anna's money for her hour at 19:00 while another station cancels it and books
// it for someone else, or moves her play: the sale must not mark that booking paid.
TEST_F(SaleTest, ASlotBookedAgainOrChangedSinceItWasPutInTheCartIsNotSold)
{
    const Cart cart = usualCart();
    const QString slot = "b_datetime='2026-12-08 19:00:00'";
    auto rebook = [&](const QString& columns) {
        Db::Execute("DELETE FROM tbl_booking WHERE " + slot);
        book("19:00", "b_specialrate='member', " + columns);
    };
    auto refusal = [&] {
        try {
            RecordSale(cart.Lines(), StaffLogin);
        } catch (const SaleRefused& e) {
            return e.Message();
        }
        return QString("sold");
    };
    rebook("b_bookername='Carl Berg'");
    EXPECT_EQ(refusal(), "The slot Court 4 08/12/2026 19:00 was booked again by Carl Berg since it was put in the "
                         "cart. Remove the line and pay the slot again; nothing was recorded.");
    rebook("b_bookername='Anna Lindqvist', b_bookertel='555-0199', b_playlength=90");
    EXPECT_TRUE(refusal().contains("was booked again by Anna Lindqvist")) << "another Anna, by her telephone";
    const QString changed = "The play time, rate class or players of the slot Court 4 08/12/2026 19:00 were "
                            "changed since it was put in the cart, so its price may differ. Remove the line and pay "
                            "the slot again; nothing was recorded.";
    rebook("b_bookername='Anna Lindqvist', b_playlength=120");
    EXPECT_EQ(refusal(), changed);
    rebook("b_bookername='Anna Lindqvist', b_playlength=90, b_extratime=15");
    EXPECT_EQ(refusal(), changed) << "extra time is priced too";
    rebook("b_bookername='Anna Lindqvist', b_playlength=90");
    Db::Execute("UPDATE tbl_booking SET b_specialrate='student' WHERE " + slot);
    EXPECT_EQ(refusal(), changed) << "the member's price is not the student's";
    expectNothingWritten();

    // The grid still shows Anna: the hour is not put into a cart for her either.
    rebook("b_bookername='Carl Berg'");
    Cart another;
    grid.Select({"19:00"});
    EXPECT_EQ(PaySelectedSlots(grid, host.FieldInfo(), another), 0);
    EXPECT_EQ(prompter.prompts().last(), "The slot was changed at another station since it was shown: it now holds "
                                         "Carl Berg. Please look at it again.");

    rebook("b_bookername='Anna Lindqvist', b_playlength=90");
    EXPECT_EQ(RecordSale(cart.Lines(), StaffLogin), 1);

    // An older row's length 0 is the full hour to pricing, and so to the sale.
    book("21:00", "b_bookername='Old Row', b_playlength=0");
    grid.RefreshView();
    grid.Select({"21:00"});
    Cart older;
    ASSERT_EQ(PaySelectedSlots(grid, host.FieldInfo(), older), 1);
    EXPECT_EQ(older.Lines().front().quantity, "1");
    EXPECT_EQ(RecordSale(older.Lines(), StaffLogin), 2);
}

// One hour per court line goes to the booker's row of the register of the slot's rate class, and
// to no other register or group.
TEST_F(SaleTest, APaymentCreditsHoursToTheStudentAndSpecialGroupRegisters)
{
    PrivateDatabase::RunClient("USE posdb; CREATE TABLE tbl_specialgroup3 LIKE tbl_member; "
                               "INSERT INTO tbl_specialgroup3 (m_idno, m_name, m_hour) "
                               "VALUES ('G301', 'North District Schools', 5), ('G302', 'Tomas Novak', 7);");
    book("15:00", "b_bookername='Tomas Novak', b_specialrate='student'");
    book("16:00", "b_bookername='Tomas Novak', b_specialrate='student', b_playlength=120");
    book("18:00", "b_bookername='North District Schools', b_specialrate='specialgroup1'");
    book("19:00", "b_bookername='North District Schools', b_specialrate='specialgroup2'");
    book("20:00", "b_bookername='North District Schools', b_specialrate='specialgroup3'");
    book("21:00", "b_bookername='Mei Chen'");
    grid.RefreshView();
    grid.Select({"15:00", "16:00", "18:00", "19:00", "20:00", "21:00"});
    Cart cart;
    ASSERT_EQ(PaySelectedSlots(grid, host.FieldInfo(), cart), 6);
    RecordSale(cart.Lines(), StaffLogin);
    EXPECT_EQ(scalar("SELECT GROUP_CONCAT(st_name, '=', st_hour ORDER BY st_id) FROM tbl_student"),
              "Tomas Novak=5.00,Mei Chen=1.00") << "two lines, two hours, whatever their length";
    EXPECT_EQ(scalar("SELECT GROUP_CONCAT(m_hour) FROM tbl_specialgroup1"), "21.00");
    EXPECT_EQ(scalar("SELECT GROUP_CONCAT(m_name, '=', m_hour ORDER BY m_id) FROM tbl_specialgroup3"),
              "North District Schools=6.00,Tomas Novak=7.00");
    EXPECT_EQ(scalar("SELECT SUM(m_hour) FROM tbl_member"), "16.00") << "no member hour";
}

TEST_F(SaleTest, ACourtAboveNineWithAnyNameIsMarkedPaid)
{
    book("15:00", "b_bookername='Team 11'", 11);
    TestGrid court11("2026-12-08", 11);
    court11.RefreshView();
    court11.Select({"15:00"});
    Cart cart;
    PaySelectedSlots(court11, "Centre Court", cart);
    ASSERT_EQ(cart.Lines().size(), 1u);
    RecordSale(cart.Lines(), StaffLogin);
    EXPECT_EQ(scalar("SELECT b_paid FROM tbl_booking WHERE b_field=11"), "40.00");
}

// Two stations take the same customer's slot at once: one sale gets it, the other is refused
// and writes nothing; sales of other lines at the same time get their own numbers.
TEST_F(SaleTest, TwoStationsPayingTheSameSlotAtOnceSellItOnce)
{
    const Cart cart = usualCart();
    std::barrier start(3);
    std::atomic<int> sold{0}, refused{0};
    auto station = [&](const std::vector<CartLine>& lines) {
        start.arrive_and_wait();
        try {
            RecordSale(lines, "counter");
            ++sold;
        } catch (const SaleRefused&) {
            ++refused;
        }
    };
    std::thread a(station, cart.Lines()), b(station, cart.Lines());
    std::thread c(station, std::vector<CartLine>{shopLine("Grip Tape", "Gear", 600, 2)});
    a.join();
    b.join();
    c.join();
    EXPECT_EQ(sold.load(), 2);
    EXPECT_EQ(refused.load(), 1);
    EXPECT_EQ(count("tbl_counter1"), 5);
    EXPECT_EQ(scalar("SELECT GROUP_CONCAT(DISTINCT c_transaction ORDER BY c_transaction) FROM tbl_counter1"), "1,2");
    EXPECT_EQ(scalar("SELECT m_hour FROM tbl_member WHERE m_name='Anna Lindqvist'"), "13.00");
}

TEST_F(SaleTest, ReceiptsAreNumberedInTurnAndOnceEvenWhenTwoReprintsRace)
{
    for (int i = 0; i < 3; ++i)
        RecordSale({shopLine("Energy Bar", "Food", 220, 1)}, "counter");
    EXPECT_EQ(AssignReceiptNumber("1"), 1);
    EXPECT_EQ(AssignReceiptNumber("2"), 2);

    std::barrier start(2);
    std::atomic<int> first{0}, second{0};
    auto reprint = [&](std::atomic<int>& got) {
        start.arrive_and_wait();
        got = AssignReceiptNumber("3");
    };
    std::thread a(reprint, std::ref(first)), b(reprint, std::ref(second));
    a.join();
    b.join();
    EXPECT_EQ(first.load(), 3);
    EXPECT_EQ(second.load(), 3);
    EXPECT_EQ(AssignReceiptNumber("1"), 1);
    EXPECT_FALSE(HasTransaction(4));
}

}
