#include "DurationBars.h"
#include "Globals.h"
#include "GridRefresh.h"

#include <gtest/gtest.h>

namespace {

class Grid : public testing::Test {
protected:
    void SetUp() override
    {
        HourStart = 8;
        HourEnd = 2;
    }
    static BookRow slot(int delay, int playLength)
    {
        return {"Booker", "", Money(), 0, static_cast<int16_t>(delay), static_cast<int16_t>(playLength)};
    }
};

TEST_F(Grid, RowsRunFromOpeningThroughMidnightToClosing)
{
    const auto rows = BusinessDayRows();
    ASSERT_EQ(rows.size(), 19u);
    EXPECT_EQ(rows[0].span, "08:00 to 09:00");
    EXPECT_EQ(rows[0].slot, "08:00 AM");
    EXPECT_EQ(rows[4].slot, "12:00 PM");
    EXPECT_EQ(rows[15].span, "23:00 to 24:00");
    EXPECT_EQ(rows[15].slot, "11:00 PM");
    EXPECT_EQ(rows[16].span, "24:00 to 01:00");
    EXPECT_EQ(rows[16].slot, "12:00 AM");
    EXPECT_EQ(rows[18].span, "02:00 to 03:00");
    EXPECT_EQ(rows[18].slot, "02:00 AM");

    EXPECT_EQ(GridRowOfHour(24, 19), 17);
    EXPECT_EQ(GridRowOfHour(2, 19), 19);
    EXPECT_EQ(GridRowOfHour(3, 19), 0);
    EXPECT_EQ(GridRowOfHour(7, 19), 0);
    EXPECT_EQ(GridRowOfHour(0, 19), 0);

    HourEnd = 0;
    EXPECT_EQ(BusinessDayRows().back().span, "24:00 to 01:00");
}

TEST_F(Grid, BarsShowCarryInAndOwnSlot)
{
    BookRows rows(8);
    rows[3] = slot(0, 90);  // runs 30 into free row 4, nothing into row 5
    rows[6] = slot(30, 60); // runs 30 into row 7, whose own slot starts at 30
    rows[7] = slot(30, 30);
    const auto bars = DurationBarsOf(rows);
    EXPECT_EQ(bars[3], (DurationBar{0, 0, 60}));
    EXPECT_EQ(bars[4], (DurationBar{30, 60, 60}));
    EXPECT_FALSE(bars[5].has_value());
    EXPECT_FALSE(bars[1].has_value());
    EXPECT_EQ(bars[7], (DurationBar{30, 30, 60}));

    BookRows shortSlot(3);
    shortSlot[1] = slot(15, 30);
    EXPECT_EQ(DurationBarsOf(shortSlot)[1], (DurationBar{0, 15, 45}));
    EXPECT_FALSE(DurationBarsOf(shortSlot)[2].has_value());

    BookRows longSlot(4);
    longSlot[1] = slot(0, 150);
    EXPECT_EQ(DurationBarsOf(longSlot)[2], (DurationBar{60, 60, 60})) << "a carry of 90 shows as the whole hour";
    EXPECT_FALSE(DurationBarsOf(longSlot)[3].has_value());

    EXPECT_EQ(BarPattern(2), "AB");
    EXPECT_EQ(BarPattern(3), "BA");
}

TEST_F(Grid, ClockHourMarksThreeRows)
{
    EXPECT_EQ(HourMarksAt(14, 19), (HourMarks{6, 7, 8}));
    EXPECT_EQ(HourMarksAt(7, 19), (HourMarks{0, 0, 1}));
    EXPECT_EQ(HourMarksAt(8, 19), (HourMarks{0, 1, 2}));
    EXPECT_EQ(HourMarksAt(23, 19), (HourMarks{15, 16, 17}));
    EXPECT_EQ(HourMarksAt(0, 19), (HourMarks{16, 17, 18}));
    EXPECT_EQ(HourMarksAt(2, 19), (HourMarks{18, 19, 0}));
    EXPECT_EQ(HourMarksAt(5, 19), (HourMarks{}));
    // Days of 24 hours: the night's last hour is also the hour before opening.
    HourEnd = 7;
    EXPECT_EQ(HourMarksAt(7, 24), (HourMarks{23, 24, 1}));
    HourStart = 1;
    HourEnd = 0;
    EXPECT_EQ(HourMarksAt(0, 24), (HourMarks{23, 24, 1}));
}

TEST_F(Grid, PlayListsFollowTheClockAroundMidnight)
{
    const PlayHours half = PlayHoursAt(0);
    EXPECT_EQ(half.previous, 23);
    EXPECT_EQ(half.current, 24);
    EXPECT_EQ(half.next, 1);
    EXPECT_EQ(PlayHoursAt(1).previous, 24);
    EXPECT_EQ(PlayHoursAt(23).next, 24);
    EXPECT_EQ(PlayHoursAt(14).previous, 13);
}

TEST(DurationBarPictures, OnePicturePerRasterCombinationAndPattern)
{
    DurationBars bars;
    bars.PrepareImageClips();
    ASSERT_EQ(bars.Count(), 140);
    EXPECT_EQ(bars.Tag(70), "AB 60/60-60/60");
    EXPECT_EQ(bars.Tag(71), "BA 0/0-0/0");
    EXPECT_EQ(bars.GetImageClips("BA", 0, 0, 0, 0), 71);
    EXPECT_EQ(bars.GetImageClips("AB", 0, 0, 0, 60), bars.GetImageClips("BA", 0, 0, 0, 60) - 70);
    EXPECT_EQ(bars.GetImageClips("AB", 0, 0, 10, 60), 0);
    EXPECT_EQ(bars.GetImageClips("CD", 0, 0, 0, 60), 0);
}

TEST(DurationBarPictures, MinuteMLiesAtPixelM)
{
    DurationBars bars;
    bars.PrepareImageClips();
    const QImage own = bars.Picture(bars.GetImageClips("AB", 0, 0, 15, 45));
    EXPECT_EQ(own.pixelColor(14, 5), ColourOf(0xFFFFFF));
    EXPECT_EQ(own.pixelColor(15, 5), ColourOf(0x800000));
    EXPECT_EQ(own.pixelColor(44, 5), ColourOf(0x800000));
    EXPECT_EQ(own.pixelColor(45, 5), ColourOf(0xFFFFFF));

    const QImage carried = bars.Picture(bars.GetImageClips("BA", 0, 30, 60, 60));
    EXPECT_EQ(carried.pixelColor(29, 5), ColourOf(0x800000));
    EXPECT_EQ(carried.pixelColor(30, 5), ColourOf(0xFFFFFF));
    EXPECT_EQ(carried.pixelColor(59, 5), ColourOf(0xFFFFFF));
    EXPECT_EQ(ColourOf(0x800000), QColor(0, 0, 128));
}

} // namespace
