#include "Clock.h"
#include "Globals.h"
#include "SlotTiming.h"

#include <gtest/gtest.h>

namespace {

BookRow slot(int delay, int playLength) { return {"Booker", "", Money(), 0, static_cast<int16_t>(delay), static_cast<int16_t>(playLength)}; }

// Five grid rows: element 0 free, rows 1 to 5 as given.
BookRows grid(std::initializer_list<std::pair<int, BookRow>> booked)
{
    BookRows rows(6);
    for (const auto& [row, r] : booked)
        rows[static_cast<size_t>(row)] = r;
    return rows;
}

TEST(DelayConflict, PreviousSlotRunningOverLimitsTheStart)
{
    // 30 + 50 runs 20 minutes into row 3.
    const BookRows rows = grid({{2, slot(30, 50)}});
    EXPECT_TRUE(isDelayConflict(rows, 3, 15));
    EXPECT_FALSE(isDelayConflict(rows, 3, 20));
    EXPECT_TRUE(isDelayConflict(rows, 3, 0));
    EXPECT_TRUE(isDelayConflict(rows, 3, -1));
}

TEST(DelayConflict, NextRowLimitsTheEnd)
{
    // Next row free: a full hour may start at 45 (runs 45 into it), but 120 minutes from 15 would cover it.
    EXPECT_FALSE(isDelayConflict(grid({{2, slot(0, 60)}}), 2, 45));
    EXPECT_TRUE(isDelayConflict(grid({{2, slot(0, 120)}}), 2, 15));
    // Next row booked from minute 0: a full hour cannot move at all.
    EXPECT_TRUE(isDelayConflict(grid({{2, slot(0, 60)}, {3, slot(0, 60)}}), 2, 1));
    EXPECT_FALSE(isDelayConflict(grid({{2, slot(0, 60)}, {3, slot(0, 60)}}), 2, 0));
    // Extra time of 15 against a next slot at minute 10 and at minute 15.
    EXPECT_TRUE(isDelayConflict(grid({{2, slot(0, 60)}, {3, slot(10, 50)}}), 2, 15));
    EXPECT_FALSE(isDelayConflict(grid({{2, slot(0, 60)}, {3, slot(15, 45)}}), 2, 15));
}

TEST(DelayConflict, FirstRowHasOnlyANextRow)
{
    EXPECT_FALSE(isDelayConflict(grid({{1, slot(0, 60)}}), 1, 0));
    EXPECT_FALSE(isDelayConflict(grid({{1, slot(0, 60)}}), 1, 30));
}

TEST(DelayConflict, LastRowMustEndWithinItsHour)
{
    EXPECT_FALSE(isDelayConflict(grid({{5, slot(15, 45)}}), 5, 15));
    EXPECT_TRUE(isDelayConflict(grid({{5, slot(15, 45)}}), 5, 16));
    EXPECT_TRUE(isDelayConflict(grid({{5, slot(0, 75)}}), 5, 0)) << "extra time cannot run past the closing hour";
}

TEST(DelayConflict, LastRowAlsoHonoursThePreviousCarryOver)
{
    const BookRows rows = grid({{4, slot(30, 60)}, {5, slot(0, 30)}});
    EXPECT_TRUE(isDelayConflict(rows, 5, 0));
    EXPECT_TRUE(isDelayConflict(rows, 5, 15));
    EXPECT_FALSE(isDelayConflict(rows, 5, 30));
}

class BusinessDay : public testing::Test {
protected:
    void SetUp() override
    {
        HourStart = 8;
        HourEnd = 2;
    }
    void TearDown() override { ResetNow(); }
};

TEST_F(BusinessDay, HoursAfterMidnightFallOnTheNextDay)
{
    EXPECT_EQ(ExactDate("24:00", "2024-05-31"), QDate(2024, 6, 1));
    EXPECT_EQ(ExactDate("01:00", "2024-05-31"), QDate(2024, 6, 1));
    EXPECT_EQ(ExactDate("02:00", "2024-12-31"), QDate(2025, 1, 1));
    EXPECT_EQ(ExactDate("14:00", "2024-05-31"), QDate(2024, 5, 31));
    EXPECT_EQ(ExactDate("08:00", "2024-05-31"), QDate(2024, 5, 31));
    EXPECT_EQ(ExactDate("05:00", "2024-05-31"), std::nullopt);
    EXPECT_EQ(ExactDate("03:00", "2024-05-31"), std::nullopt);
    EXPECT_EQ(ExactDate("14:00", ""), std::nullopt);
}

TEST_F(BusinessDay, TheCurrentHourIsNotPastTheHourBeforeIs)
{
    SetNow(QDateTime(QDate(2026, 12, 8), QTime(14, 59, 59)));
    EXPECT_FALSE(IsPastSlot("14:00", "2026-12-08"));
    EXPECT_TRUE(IsPastSlot("13:00", "2026-12-08"));
    EXPECT_FALSE(IsPastSlot("24:00", "2026-12-08"));
    EXPECT_FALSE(IsPastSlot("08:00", "2026-12-09"));
    EXPECT_TRUE(IsPastSlot("05:00", "2026-12-08")) << "an hour outside the business day cannot be booked";
}

TEST_F(BusinessDay, MidnightIsTheEndOfTheBusinessDate)
{
    SetNow(QDateTime(QDate(2026, 12, 9), QTime(0, 30)));
    EXPECT_FALSE(IsPastSlot("24:00", "2026-12-08"));
    EXPECT_FALSE(IsPastSlot("01:00", "2026-12-08"));
    EXPECT_TRUE(IsPastSlot("23:00", "2026-12-08"));
    EXPECT_TRUE(IsPastSlot("24:00", "2026-12-07"));
}

} // namespace
