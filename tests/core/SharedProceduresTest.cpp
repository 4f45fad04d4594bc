#include "Clock.h"
#include "Db.h"
#include "ErrorDisplay.h"
#include "Globals.h"
#include "Numbering.h"
#include "PrivateDatabase.h"
#include "SpecialGroups.h"
#include "StaffLog.h"
#include "StationRow.h"
#include "TempWindowsDir.h"

#include <gtest/gtest.h>

namespace {

class SharedProcedures : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        SetNow(QDateTime(QDate(2026, 12, 8), QTime(14, 5, 9)));
        SetErrorDisplayHandler([this](const VbError& e) {
            shown.push_back({CurrentTask, e.number(), e.description()});
        });
    }
    void TearDown() override
    {
        SetErrorDisplayHandler(nullptr);
        ResetNow();
    }

    static void sale(int transaction, const QString& total, const QString& receipt = "''")
    {
        Db::Execute("INSERT INTO tbl_counter1 SET c_datetime='2026-12-08 10:00:00', c_item='x', c_itemtotal='" + total +
                    "', c_transaction='" + QString::number(transaction) + "', c_receipt=" + receipt);
    }

    struct Shown {
        QString task;
        long number;
        QString description;
    };
    std::vector<Shown> shown;
};

TEST_F(SharedProcedures, NumberingStartsFromAnEmptyJournal)
{
    EXPECT_EQ(GetMaxTransaction(), 0);
    EXPECT_EQ(GetMaxReceipt(), 0);
    sale(1, "2.00");
    EXPECT_EQ(GetMaxTransaction(), 1);
    EXPECT_EQ(GetMaxReceipt(), 0) << "lines written with an empty receipt have none";
}

TEST_F(SharedProcedures, OneReceiptNumberForEveryLineOfATransaction)
{
    sale(1, "10.50");
    sale(1, "4.50");
    sale(1, "1.00");
    sale(2, "7.00");
    EXPECT_EQ(AssignReceiptNumber("1"), 1);
    EXPECT_EQ(count("tbl_counter1 WHERE c_receipt=1"), 3);
    EXPECT_EQ(GetReceiptTotal(1).Format(), "16.00");
    EXPECT_EQ(AssignReceiptNumber("2 "), 2);
    EXPECT_EQ(GetReceiptTotal(2).Format(), "7.00");
    EXPECT_EQ(GetReceiptTotal(9).Format(), "0.00");
}

TEST_F(SharedProcedures, ReceiptNumbersAboveNineOrderAsNumbers)
{
    sale(1, "1.00", "9");
    sale(2, "1.00", "10");
    sale(3, "1.00");
    EXPECT_EQ(GetMaxReceipt(), 10);
    EXPECT_EQ(AssignReceiptNumber("3"), 11);
}

TEST_F(SharedProcedures, ATransactionThatIsNotANumberChangesNothing)
{
    sale(1, "1.00");
    EXPECT_EQ(AssignReceiptNumber("abc"), 1);
    EXPECT_EQ(count("tbl_counter1 WHERE c_receipt>0"), 0);
}

// A station that gives 50 receipts a day reaches receipt 32767 in about two years.
TEST_F(SharedProcedures, ReceiptsGoAsFarAsTheJournalsColumnHoldsThemAndNoFurther)
{
    sale(1, "1.00", "32767");
    sale(2, "1.00");
    sale(3, "1.00");
    EXPECT_EQ(AssignReceiptNumber("2"), 32768);

    const auto stopsAt = [](const QString& transaction, const QString& limit) {
        try {
            AssignReceiptNumber(transaction);
            ADD_FAILURE() << "a receipt beyond " << limit.toStdString() << " was numbered";
        } catch (const VbError& e) {
            EXPECT_EQ(e.description(), "Receipt number " + limit +
                                           " has been reached at this station; no further receipt can be numbered.");
        }
    };
    // A journal whose receipt column is a 16-bit number stops there with a clear text.
    Db::Execute("UPDATE tbl_counter1 SET c_receipt=32767 WHERE c_transaction=2");
    Db::Execute("ALTER TABLE tbl_counter1 MODIFY c_receipt SMALLINT NULL");
    stopsAt("3", "32767");
    EXPECT_EQ(scalar("SELECT c_receipt FROM tbl_counter1 WHERE c_transaction=3"), "0");

    // A narrower column stops at its own limit, before a number cut down to it is given twice.
    Db::Execute("ALTER TABLE tbl_counter1 MODIFY c_receipt TINYINT NULL");
    Db::Execute("UPDATE tbl_counter1 SET c_receipt=126 WHERE c_receipt=127");
    EXPECT_EQ(AssignReceiptNumber("3"), 127);
    sale(4, "1.00");
    stopsAt("4", "127");
    Db::Execute("ALTER TABLE tbl_counter1 MODIFY c_receipt DECIMAL(3,0) NULL");
    Db::Execute("UPDATE tbl_counter1 SET c_receipt=999 WHERE c_transaction=3");
    stopsAt("4", "999");
    EXPECT_EQ(scalar("SELECT c_receipt FROM tbl_counter1 WHERE c_transaction=4"), "0");
}

TEST_F(SharedProcedures, TheStaffLogKeepsQuotesAndBackslashes)
{
    CounterNumber = 1;
    CurrentTask = "printing the receipt";
    WriteLog("o'neil\\", "Cash Collected 12.50 'now'");
    EXPECT_EQ(CurrentTask, "printing the receipt") << "what fails after the log row heads its own failure";
    Recordset rs = Db::Query("SELECT * FROM tbl_log");
    ASSERT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs["log_counter"].Value(), "1");
    EXPECT_EQ(rs["log_staffname"].Value(), "o'neil\\");
    EXPECT_EQ(rs["log_datetime"].Value(), "2026-12-08 14:05:09");
    EXPECT_EQ(rs["log_do"].Value(), "Cash Collected 12.50 'now'");
    EXPECT_TRUE(shown.empty());
}

TEST_F(SharedProcedures, AFailedLogLineIsShownAndTheCallerGoesOn)
{
    CounterNumber = 2;
    CurrentTask = "earlier task";
    PrivateDatabase::RunClient("USE posdb; DROP TABLE tbl_log;");
    WriteLog("admin", "logging in");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].task, "updating log");
    EXPECT_EQ(shown[0].number, VbErrors::Database);

    ConnectionString = PrivateDatabase::ConnectionString().replace("PORT=", "PORT=1");
    CurrentTask = "earlier task";
    WriteLog("admin", "logging in");
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].task, "earlier task") << "a connection that fails keeps the task that was current";
}

TEST_F(SharedProcedures, TheStationRowRecordsStaffAndShift)
{
    EXPECT_EQ(GetCounterStaff(1), "");
    Db::Execute("INSERT INTO tbl_system SET sys_counter=1, sys_counteractive=1, sys_doclose=1, sys_counterstaff=''");
    SetCounterStaff(1, "d'Arcy");
    EXPECT_EQ(GetCounterStaff(1), "d'Arcy");
    SetCounterStaffShiftStatus(1, 0);
    EXPECT_EQ(scalar("SELECT sys_doclose FROM tbl_system WHERE sys_counter=1"), "0");
    EXPECT_EQ(GetCounterStaff(2), "");
}

TEST_F(SharedProcedures, SpecialGroupsExistByTheirTablesAndAreNamedInTheSettings)
{
    TempWindowsDir dir;
    PrivateDatabase::RunClient("USE posdb; CREATE TABLE tbl_specialgroup1 LIKE tbl_member;"
                               "CREATE TABLE tbl_specialgroup2 LIKE tbl_member;");
    EXPECT_TRUE(HasSpecialGroupTable(2));
    EXPECT_FALSE(HasSpecialGroupTable(3));
    PrivateDatabase::RunClient("USE posdb; CREATE TABLE tbl_specialgroup5 LIKE tbl_member;"
                               "CREATE TABLE tbl_specialgroup6 LIKE tbl_member;");
    SpecialGroupCount = 5;
    EXPECT_EQ(SpecialGroupsWithTables(), std::vector<int>({1, 2, 5})) << "group 6 lies beyond the groups in use";
    dir.writeIni("[SpecialGroup]\n1=Schools\n");
    EXPECT_EQ(GetSpecialGroupName(1), "Schools");
    EXPECT_EQ(GetSpecialGroupName(2), "Special Group  2");
    EXPECT_EQ(dir.iniText(), "[SpecialGroup]\n1=Schools\n2=Special Group  2\n");
}

}
