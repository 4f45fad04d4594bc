#pragma once

#include "Booking.h"
#include "TestGrid.h"

#include "Clock.h"
#include "Db.h"
#include "ErrorDisplay.h"
#include "Globals.h"
#include "PrivateDatabase.h"
#include "ScriptedPrompter.h"
#include "Verification.h"

#include <gtest/gtest.h>

inline const QString Day = QStringLiteral("2026-12-08");

// The test centre at 14:05 on Day, station 1, nothing copied or cut, verification off.
class EditingTest : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        SetNow(QDateTime(QDate(2026, 12, 8), QTime(14, 5, 9)));
        UseTestCentre();
        CounterNumber = 1;
        SpecialGroupCount = 5;
        WaitListCutId.clear();
        SetErrorDisplayHandler([this](const VbError& e) { errors << e.description(); });
        IsUserAllowed(false);
    }
    void TearDown() override
    {
        SetErrorDisplayHandler(nullptr);
        ResetNow();
    }

    static void book(int court, const QString& time, const QString& name = "Anna", int delay = 0, int length = 60,
                     const QString& date = Day)
    {
        TestGrid grid(date, court);
        ASSERT_TRUE(doBooking(grid, date, time, "555-0101", "Riverside FC", name, QString::number(court), "", false,
                              delay, length, 0));
    }
    // The grid of court on Day as just refreshed, with the focus on time.
    static TestGrid gridAt(int court, const QString& time)
    {
        TestGrid grid(Day, court);
        grid.RefreshView();
        grid.Select({time});
        return grid;
    }
    // The columns of the slot joined by "|", "none" when it has no row.
    static QString row(int court, const QString& time, const QString& columns, const QString& date = Day)
    {
        Recordset rs = Db::Query("SELECT " + columns + " FROM tbl_booking WHERE b_datetime='" + date + " " + time +
                                 ":00' AND b_field=" + QString::number(court));
        if (rs.EOF_())
            return "none";
        QStringList values;
        for (int i = 0; i < rs.FieldCount(); ++i)
            values << rs.Fields(i).Value();
        return values.join("|");
    }

    ScriptedPrompter prompter;
    QStringList errors;
};
