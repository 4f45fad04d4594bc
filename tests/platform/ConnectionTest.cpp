#include "Connection.h"
#include "Db.h"
#include "Globals.h"
#include "PrivateDatabase.h"
#include "Settings.h"
#include "SqlQuote.h"
#include "VbError.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

class ConnectionTest : public DatabaseTest {};

TEST_F(ConnectionTest, AMidnightSlotIsStoredAsHour24AndFoundByItsBusinessDate)
{
    Db::Execute("INSERT INTO tbl_booking SET b_datetime='2026-12-08 24:00:00', b_field=3, b_bookername='Late'");
    Db::Execute("INSERT INTO tbl_booking SET b_datetime='2026-12-08 01:00:00', b_field=3, b_bookername='After'");
    Db::Execute("INSERT INTO tbl_booking SET b_datetime='2026-12-09 08:00:00', b_field=3, b_bookername='Next'");
    Recordset rs = Db::Query("SELECT * FROM tbl_booking WHERE b_datetime LIKE '2026-12-08%' AND b_field=3 "
                             "ORDER BY b_datetime");
    ASSERT_EQ(rs.RecordCount(), 2);
    EXPECT_EQ(rs["b_datetime"].Value(), "2026-12-08 01:00:00");
    rs.MoveNext();
    EXPECT_EQ(rs["B_DATETIME"].Value(), "2026-12-08 24:00:00");
    EXPECT_EQ(rs["b_bookername"].Value(), "Late");
    rs.MoveNext();
    EXPECT_TRUE(rs.EOF_());
}

TEST_F(ConnectionTest, TheSettingsCompressedProtocolIsLeftOffAndTheirOtherOptionsKept)
{
    ASSERT_TRUE(::ConnectionString.contains("OPTION=18475"));
    auto db = Db::Open();
    EXPECT_EQ(db->Query("SHOW SESSION STATUS LIKE 'Compression'").Fields(1).Value(), "OFF");
    // Found rows, not changed ones, are counted: an update that changes nothing still finds its row.
    db->Execute("INSERT INTO tbl_counter1 SET c_item='Water'");
    EXPECT_EQ(db->Execute("UPDATE tbl_counter1 SET c_item='Water'"), 1);
}

TEST_F(ConnectionTest, AStatementAfterATransactionIsCommittedByItself)
{
    auto db = Db::Open();
    db->BeginTrans();
    db->Execute("INSERT INTO tbl_counter1 SET c_item='in the transaction'");
    db->CommitTrans();
    db->Execute("INSERT INTO tbl_counter1 SET c_item='after it'");
    EXPECT_EQ(count("tbl_counter1"), 2) << "another connection sees both";
    db->BeginTrans();
    db->Execute("INSERT INTO tbl_counter1 SET c_item='rolled back'");
    db->RollbackTrans();
    EXPECT_EQ(count("tbl_counter1"), 2);
}

TEST_F(ConnectionTest, FieldsReadByNameAndPositionWithNullAsEmpty)
{
    Db::Execute("INSERT INTO tbl_counter1 SET c_item='Water', c_itemtotal=4.5, c_transaction=7");
    Recordset rs = Db::Query("SELECT c_item, c_receipt, c_itemtotal FROM tbl_counter1");
    ASSERT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs.Fields(0).Value(), "Water");
    EXPECT_TRUE(rs.Fields(1).IsNull());
    EXPECT_EQ(rs["c_receipt"].Value(), "");
    EXPECT_EQ(rs.Fields(2).Value(), "4.50");
    EXPECT_DOUBLE_EQ(rs["c_itemtotal"].Number(), 4.5);
    try {
        rs["no_such_column"];
        FAIL() << "an unknown field was read";
    } catch (const VbError& e) {
        EXPECT_EQ(e.number(), VbErrors::ItemNotFound);
    }
}

TEST_F(ConnectionTest, QuotedTextsSurviveTheRoundTripIntact)
{
    const QString texts[] = {"O'Brien", "\\", "\\'", "%", QString(QChar(0)) + "after nul", QString(300, 'z'),
                             "C:\\temp\\new", "say \"hi\"", "Zoë Ødegård ⚽"};
    int court = 0;
    for (const QString& text : texts) {
        Db::Execute("INSERT INTO tbl_remark SET m_datetime='2026-12-08 10:00:00', m_field=" + QString::number(court) +
                    ", m_remark='" + SqlQuote(text) + "', m_staff=\"" + SqlQuote(text.left(64)) + "\"");
        Recordset rs = Db::Query("SELECT m_remark, m_staff FROM tbl_remark WHERE m_field=" + QString::number(court) +
                                 " AND m_remark='" + SqlQuote(text) + "'");
        ASSERT_EQ(rs.RecordCount(), 1) << text.toStdString();
        EXPECT_EQ(rs["m_remark"].Value(), text);
        EXPECT_EQ(rs["m_staff"].Value(), text.left(64));
        ++court;
    }
    EXPECT_EQ(count("tbl_remark"), std::size(texts));
}

TEST_F(ConnectionTest, AQuoteTypedAfterABackslashCannotEndTheLiteral)
{
    Db::Execute("INSERT INTO tbl_staff SET st_login='admin', st_password='secret', st_access=1");
    const QString login = "x\\' OR 1=1 #";
    Recordset rs = Db::Query("SELECT * FROM tbl_staff WHERE st_login='" + SqlQuote(login) + "' AND st_password='" +
                             SqlQuote("") + "'");
    EXPECT_EQ(rs.RecordCount(), 0);
}

TEST_F(ConnectionTest, StatementsInTheOldLaxStyleStillRun)
{
    // Empty texts into numeric columns and double-quoted strings are how the counter program writes.
    Db::Execute("INSERT INTO tbl_counter1 SET c_item=\"Ball\", c_receipt='', c_itemquantity='', c_transaction='3'");
    EXPECT_EQ(scalar("SELECT c_transaction FROM tbl_counter1 WHERE c_item=\"Ball\""), "3");
    EXPECT_EQ(scalar("SELECT MAX(c_receipt) FROM tbl_counter1"), "0");
}

TEST_F(ConnectionTest, AFailedStatementRaisesTheDatabaseErrorWithTheDriversText)
{
    try {
        Db::Execute("INSERT INTO tbl_nosuchtable SET x=1");
        FAIL() << "the statement did not fail";
    } catch (const VbError& e) {
        EXPECT_EQ(e.number(), -2147467259);
        EXPECT_TRUE(e.description().contains("tbl_nosuchtable")) << e.description().toStdString();
    }
    try {
        Db::Query("SELEC nothing");
        FAIL() << "the query did not fail";
    } catch (const VbError& e) {
        EXPECT_EQ(e.number(), VbErrors::Database);
        EXPECT_TRUE(e.description().contains("SQL syntax")) << e.description().toStdString();
    }
}

TEST_F(ConnectionTest, AnUnreachableServerRaisesTheDatabaseErrorWithTheDriversText)
{
    Connection connection;
    try {
        connection.Open(BuildConnectionString("127.0.0.1", "1", "pallowin", "pallowin"));
        FAIL() << "connected to a closed port";
    } catch (const VbError& e) {
        EXPECT_EQ(e.number(), VbErrors::Database);
        EXPECT_TRUE(e.description().contains("Can't connect")) << e.description().toStdString();
    }
    EXPECT_FALSE(connection.IsOpen());
}

TEST_F(ConnectionTest, AWrongPasswordIsRefusedAsADatabaseError)
{
    Connection connection;
    try {
        connection.Open(BuildConnectionString("127.0.0.1", qEnvironmentVariable("PALLOWIN_DB_PORT", "3417"), "pallowin",
                                              "wrong;password}"));
        FAIL() << "connected with a wrong password";
    } catch (const VbError& e) {
        EXPECT_EQ(e.number(), VbErrors::Database);
        EXPECT_TRUE(e.description().contains("Access denied")) << e.description().toStdString();
    }
}

// Both the open of a new connection and a query on one that was open before the server went
// silent must give up with the database error, not wait for an answer that never comes. The
// program is a DATABASE test: it holds the posdb lock, so no other test meets the stopped server.
TEST_F(ConnectionTest, AServerThatStopsAnsweringGivesTheDatabaseErrorWithinSeconds)
{
    auto expectFailsSoon = [](const char* what, const std::function<void()>& act) {
        QElapsedTimer clock;
        clock.start();
        try {
            act();
            ADD_FAILURE() << what << " succeeded on a stopped server";
        } catch (const VbError& e) {
            EXPECT_EQ(e.number(), VbErrors::Database) << what;
        }
        EXPECT_LT(clock.elapsed(), 12000) << what;
    };
    auto open = Db::Open();
    {
        PrivateDatabase::Frozen frozen;
        expectFailsSoon("the query", [&] { open->Query("SELECT COUNT(*) FROM tbl_booking"); });
        expectFailsSoon("the open", [] { Db::Open(); });
    }
    EXPECT_EQ(scalar("SELECT 1"), "1") << "the server answers again";
}

}
