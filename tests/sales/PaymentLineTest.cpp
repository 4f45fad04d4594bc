#include "SalesFixture.h"

#include "Cart.h"
#include "Rates.h"
#include "SalesFormat.h"
#include "SlotPayment.h"

#include "Db.h"
#include "Globals.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

class PaymentLine : public SalesTest {};

TEST_F(PaymentLine, RateBandsHoldBothEndsOnTheirWeekdayAndMidnightIsHourZero)
{
    Db::Execute("DELETE FROM tbl_rate");
    Db::Execute("INSERT INTO tbl_rate (r_day, r_field, r_special, r_timestart, r_timestop, r_rate) VALUES "
                "('Tuesday', 3, '', 8, 12, 30), ('Tuesday', 3, '', 13, 17, 45.5), ('Wednesday', 3, '', 8, 12, 99), "
                "('Tuesday', 3, '', 0, 6, 25), ('Tuesday', 3, 'specialgroup2', 8, 12, 10)");
    EXPECT_EQ(WeekdayName(QDate(2026, 12, 8)), "Tuesday");
    // A station whose regional settings are German names the day as its centre's table does.
    const QLocale stationLanguage;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString tuesday = WeekdayName(QDate(2026, 12, 8));
    QLocale::setDefault(stationLanguage);
    EXPECT_EQ(tuesday, "Dienstag");
    auto rate = [](int hour, const QString& day = "Tuesday", const QString& rateClass = {}) {
        int16_t h = static_cast<int16_t>(hour);
        const auto r = CalcFieldRate(3, h, day, rateClass);
        return r ? r->Format() : QString("none");
    };
    EXPECT_EQ(rate(8), "30.00");
    EXPECT_EQ(rate(12), "30.00");
    EXPECT_EQ(rate(13), "45.50");
    EXPECT_EQ(rate(18), "none");
    EXPECT_EQ(rate(12, "Wednesday"), "99.00");
    EXPECT_EQ(rate(9, "Tuesday", "specialgroup2"), "10.00");
    EXPECT_EQ(rate(9, "Tuesday", "specialgroup1"), "none") << "a class without rows is not the normal rate";
    EXPECT_EQ(rate(9, "Tuesday\" OR \"1\"=\"1"), "none");
    int16_t midnight = 24;
    EXPECT_EQ(CalcFieldRate(3, midnight, "Tuesday", {})->Format(), "25.00");
    EXPECT_EQ(midnight, 0);
}

TEST_F(PaymentLine, SlotsArePricedByLengthExtraTimeAndPlayersAndKeepTheirSlot)
{
    book("16:00", "b_bookername='A', b_playlength=90");
    book("17:00", "b_bookername='B', b_playlength=45");
    book("18:00", "b_bookername='C', b_extratime=30");
    book("24:00", "b_bookername='D', b_specialrate='specialgroup1'");
    grid.RefreshView();
    grid.Select({"16:00", "17:00", "18:00", "24:00"});
    Cart cart;
    EXPECT_EQ(PaySelectedSlots(grid, "Court 4", cart), 4);
    ASSERT_EQ(cart.Lines().size(), 4u);
    const CartLine& first = cart.Lines()[0];
    EXPECT_EQ(first.text, "Court 4 08/12/2026 16:00");
    EXPECT_EQ(first.court, 3);
    EXPECT_EQ(first.slotTime, "16:00");
    EXPECT_EQ(first.unitPrice.Format() + " " + first.quantity + " " + first.amount.Format(), "40.00 1.5 60.00");
    EXPECT_EQ(cart.Lines()[1].quantity + " " + cart.Lines()[1].amount.Format(), "0.75 30.00");
    EXPECT_EQ(cart.Lines()[2].quantity + " " + cart.Lines()[2].amount.Format(), "1.5 60.00");
    EXPECT_EQ(cart.Lines()[3].text + " " + cart.Lines()[3].amount.Format(), "Court 4 08/12/2026 24:00 20.00");
    EXPECT_EQ(cart.TotalText(), "170.00");
    EXPECT_EQ(prompter.prompts(), (QStringList{"The customer got custom playtime", "The customer got custom playtime",
                                               "The customer got extra time", "The customer got Schools rate"}));

    prompter.clear();
    grid.Select({"16:00"});
    EXPECT_EQ(PaySelectedSlots(grid, "Court 4", cart), 0);
    EXPECT_EQ(prompter.prompts().last(), "Already in the payment list");
    cart.Remove(0);
    cart.Remove(0);
    cart.Remove(0);
    cart.Remove(0);
    EXPECT_EQ(cart.TotalText(), "0.00") << "a cart emptied line by line still shows its total";
    cart.Reset();
    EXPECT_EQ(cart.TotalText(), "");
}

TEST_F(PaymentLine, ARefusedRowEndsTheWalkAndKeepsTheLinesBeforeIt)
{
    book("16:00", "b_bookername='A'");
    book("17:00", "b_bookername='B', b_paid=40");
    book("18:00", "b_bookername='C'");
    book("19:00", "b_bookername='D', b_person=0");
    grid.RefreshView();
    grid.Select({"16:00", "17:00", "18:00"});
    Cart cart;
    EXPECT_EQ(PaySelectedSlots(grid, "Court 4", cart), 1);
    EXPECT_EQ(prompter.prompts(), QStringList{"The slot already paid"});

    // Block bookings leave slots without players: sold per person they would cost nothing and
    // stay unpaid.
    PerPersonChargingOn = 1;
    grid.Select({"19:00"});
    EXPECT_EQ(PaySelectedSlots(grid, "Court 4", cart), 0);
    EXPECT_EQ(prompter.prompts().last(), "The slot has no players: set its player count before paying for it");

    grid.Select({"20:00"});
    EXPECT_EQ(PaySelectedSlots(grid, "Court 4", cart), 0);
    EXPECT_EQ(prompter.prompts().last(), "You cannot pay empty slot");
    EXPECT_EQ(cart.Lines().size(), 1u);
}

TEST(SalesFormat, AmountsPricesAndQuantitiesAreWrittenAndReadAsTheCounterShowsThem)
{
    EXPECT_EQ(GroupedAmount(Money::FromCents(500000)), "5,000.00");
    EXPECT_EQ(GroupedAmount(Money::FromCents(-123456789)), "-1,234,567.89");
    EXPECT_EQ(TillAmount(Money::FromCents(50)), ".50");
    EXPECT_EQ(TillAmount(Money::FromCents(123450)), "1234.50");
    EXPECT_EQ(TillAmount(Money::FromCents(-4500)), "-45.00");
    EXPECT_EQ(TillAmount(Money()), ".00");
    EXPECT_EQ(PlainNumber("1.50"), "1.5");
    EXPECT_EQ(PlainNumber("3.00"), "3");
    EXPECT_EQ(ParsePrice("12.5"), Money::FromCents(1250));
    for (const char* bad : {"abc", "1e308", "12,50", "1.234", "", "99999999999"})
        EXPECT_FALSE(ParsePrice(bad)) << bad;
    EXPECT_EQ(ParseQuantity("007"), 7);
    EXPECT_FALSE(ParseQuantity("32768"));
    EXPECT_FALSE(ParseQuantity("1.5"));
}

}
