#include "Db.h"
#include "PrivateDatabase.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <atomic>
#include <barrier>
#include <thread>

namespace {

class TransactionTest : public DatabaseTest {};

TEST_F(TransactionTest, AFailureAfterTheFirstRowLeavesNothingAndTheNextActionCommits)
{
    EXPECT_THROW(Db::Transaction([](Connection& c) {
                     c.Execute("INSERT INTO tbl_log SET log_counter=1, log_staffname='a', log_do='first'");
                     c.Execute("INSERT INTO no_such_table SET x=1");
                 }),
                 VbError);
    EXPECT_EQ(count("tbl_log"), 0);

    Db::Transaction([](Connection& c) {
        c.Execute("INSERT INTO tbl_log SET log_counter=1, log_staffname='a', log_do='one'");
        c.Execute("INSERT INTO tbl_log SET log_counter=1, log_staffname='a', log_do='two'");
    });
    EXPECT_EQ(count("tbl_log"), 2);
}

TEST_F(TransactionTest, ADuplicateKeyCarriesTheServersNumber)
{
    Db::Execute("INSERT INTO tbl_booking SET b_datetime='2026-12-08 10:00:00', b_field=1, b_bookername='A'");
    try {
        Db::Transaction([](Connection& c) {
            c.Execute("INSERT INTO tbl_booking SET b_datetime='2026-12-08 11:00:00', b_field=1, b_bookername='B'");
            c.Execute("INSERT INTO tbl_booking SET b_datetime='2026-12-08 10:00:00', b_field=1, b_bookername='B'");
        });
        FAIL() << "a second booking of one slot was accepted";
    } catch (const VbError& e) {
        EXPECT_EQ(e.number(), VbErrors::Database);
        EXPECT_EQ(e.nativeError(), ServerErrors::DuplicateKey);
    }
    EXPECT_EQ(count("tbl_booking"), 1);
}

// Two stations take the same two rows in opposite order: the server kills one of them as a
// deadlock, and that one runs again and commits, so both changes are in.
TEST_F(TransactionTest, TheLoserOfADeadlockRunsOnceMoreAndBothChangesAreIn)
{
    Db::Execute("INSERT INTO tbl_system SET sys_counter=1, sys_doclose=0");
    Db::Execute("INSERT INTO tbl_system SET sys_counter=2, sys_doclose=0");
    std::barrier bothHoldTheirFirstRow(2);
    std::atomic<int> runs{0};
    auto station = [&](const char* first, const char* second) {
        bool firstRun = true;
        Db::Transaction([&](Connection& c) {
            ++runs;
            c.Execute(QString("UPDATE tbl_system SET sys_doclose=sys_doclose+1 WHERE sys_counter=%1").arg(first));
            if (firstRun) {
                firstRun = false;
                bothHoldTheirFirstRow.arrive_and_wait();
            }
            c.Execute(QString("UPDATE tbl_system SET sys_doclose=sys_doclose+1 WHERE sys_counter=%1").arg(second));
        });
    };
    std::thread one(station, "1", "2");
    std::thread two(station, "2", "1");
    one.join();
    two.join();
    EXPECT_EQ(runs.load(), 3);
    EXPECT_EQ(scalar("SELECT SUM(sys_doclose) FROM tbl_system"), "4");
}

// A station frozen (or cut off) in the middle of a change holds its rows only as long as the server
// waits for an idle transaction: the next station's change goes through, and the frozen one's is undone.
TEST_F(TransactionTest, AStationFrozenInsideATransactionHoldsItsRowsOnlyForTheIdleBound)
{
    Db::Execute("INSERT INTO tbl_system SET sys_counter=1, sys_doclose=0");
    auto frozen = Db::Open({5, 10, 10, 1});
    frozen->BeginTrans();
    frozen->Execute("UPDATE tbl_system SET sys_doclose=7 WHERE sys_counter=1");
    QElapsedTimer waited;
    waited.start();
    Db::Transaction([](Connection& c) { c.Execute("UPDATE tbl_system SET sys_doclose=sys_doclose+1"); });
    EXPECT_LT(waited.elapsed(), LockWaitSeconds * 1000);
    EXPECT_THROW(frozen->CommitTrans(), VbError);
    EXPECT_EQ(scalar("SELECT sys_doclose FROM tbl_system"), "1");
}

}
