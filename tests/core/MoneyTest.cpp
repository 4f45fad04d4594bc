#include "Money.h"

#include <gtest/gtest.h>

namespace {

TEST(Money, ParsesDecimalTextsToTheCent)
{
    EXPECT_EQ(Money::Parse("10.50").Cents(), 1050);
    EXPECT_EQ(Money::Parse("4.5").Cents(), 450);
    EXPECT_EQ(Money::Parse(" 12 ").Cents(), 1200);
    EXPECT_EQ(Money::Parse("0.005").Cents(), 1);
    EXPECT_EQ(Money::Parse("-1.25").Cents(), -125);
    EXPECT_EQ(Money::Parse("").Cents(), 0);
    EXPECT_EQ(Money::Parse("abc").Cents(), 0);
    EXPECT_EQ((Money::Parse("0.1") + Money::Parse("0.2")).Cents(), 30);
}

TEST(Money, RoundsToWholeUnitsWithHalvesToTheEvenNeighbour)
{
    EXPECT_EQ(Money::Parse("0.49").Whole(), 0);
    EXPECT_EQ(Money::Parse("0.50").Whole(), 0);
    EXPECT_EQ(Money::Parse("1.50").Whole(), 2);
    EXPECT_EQ(Money::Parse("2.50").Whole(), 2);
    EXPECT_EQ(Money::Parse("2.51").Whole(), 3);
    EXPECT_EQ(Money::Parse("-2.51").Whole(), -3);
    EXPECT_EQ(Money::FromCents(900719925474099350).Whole(), 9007199254740994) << "no precision lost to floating point";
}

TEST(Money, FormatsWithTwoDecimalsAndNoGrouping)
{
    EXPECT_EQ(Money::FromCents(0).Format(), "0.00");
    EXPECT_EQ(Money::FromCents(5).Format(), "0.05");
    EXPECT_EQ(Money::FromCents(123456789).Format(), "1234567.89");
    EXPECT_EQ(Money::FromCents(-50).Format(), "-0.50");
}

}
