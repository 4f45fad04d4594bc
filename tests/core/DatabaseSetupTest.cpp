#include "DatabaseSetup.h"
#include "Db.h"
#include "EndProgram.h"
#include "ErrorDisplay.h"
#include "Globals.h"
#include "PrivateDatabase.h"
#include "ScriptedPrompter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <future>
#include <gtest/gtest.h>

namespace {

class DatabaseSetup : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        SetErrorDisplayHandler([this](const VbError& e) { failedTasks << CurrentTask + " " + e.description(); });
    }
    void TearDown() override { SetErrorDisplayHandler(nullptr); }

    static QString definition(const QString& table)
    {
        return Db::Query("SHOW CREATE TABLE " + table)["Create Table"].Value();
    }

    // Every station from 1 to count has its three tables, each made as station 1's is, and one
    // active, open tbl_system row; no other station has any.
    void expectStations(int stations)
    {
        for (const QString kind : {"tbl_counter", "tbl_shift", "tbl_booking_clipboard"}) {
            const QString first = definition(kind + "1");
            for (int n = 2; n <= stations; ++n)
                EXPECT_EQ(definition(kind + QString::number(n)),
                          QString(first).replace(kind + "1", kind + QString::number(n)));
            EXPECT_EQ(count("information_schema.tables WHERE table_schema='posdb' AND table_name REGEXP '^" + kind +
                            "[0-9]+$'"),
                      stations);
        }
        QStringList rows;
        for (Recordset rs = Db::Query("SELECT * FROM tbl_system ORDER BY sys_counter"); !rs.EOF_(); rs.MoveNext())
            rows << rs["sys_counter"].Value() + ":" + rs["sys_counteractive"].Value() + ":" + rs["sys_doclose"].Value();
        QStringList expected;
        for (int n = 1; n <= stations; ++n)
            expected << QString::number(n) + ":1:0";
        EXPECT_EQ(rows, expected);
    }

    ScriptedPrompter prompter;
    QStringList failedTasks;
};

TEST_F(DatabaseSetup, ProvisionsTwoThenTenStationsAndDropsNothingWhenTheCountFalls)
{
    InitDatabase(2);
    expectStations(2);
    InitDatabase(10);
    expectStations(10);
    InitDatabase(10);
    expectStations(10);
    InitDatabase(3);
    expectStations(10);
    EXPECT_TRUE(failedTasks.isEmpty()) << failedTasks.join("\n").toStdString();
    EXPECT_TRUE(prompter.asked().empty());
}

TEST_F(DatabaseSetup, TwoStationsProvisioningTwentyAtOnceBothSucceed)
{
    for (int round = 0; round < 3; ++round) {
        if (round > 0)
            PrivateDatabase::Reload();
        QProcess first, second;
        for (QProcess* station : {&first, &second})
            station->start(PROVISION_STATION, {PrivateDatabase::ConnectionString(), "20"});
        for (QProcess* station : {&first, &second}) {
            ASSERT_TRUE(station->waitForFinished(60000));
            EXPECT_EQ(station->exitCode(), 0) << station->readAllStandardError().toStdString();
        }
        expectStations(20);
    }
}

TEST_F(DatabaseSetup, FillsGapsAndMissingStationRowsWithoutTouchingWhatIsThere)
{
    InitDatabase(3);
    PrivateDatabase::RunClient("USE posdb; DROP TABLE tbl_counter2; DELETE FROM tbl_system WHERE sys_counter=3;"
                               "UPDATE tbl_system SET sys_counterstaff='admin', sys_doclose=1 WHERE sys_counter=1;"
                               "INSERT INTO tbl_counter3 SET c_item='kept';");
    InitDatabase(3);
    EXPECT_TRUE(failedTasks.isEmpty()) << failedTasks.join("\n").toStdString();
    EXPECT_EQ(count("tbl_counter2"), 0);
    EXPECT_EQ(count("tbl_counter3 WHERE c_item='kept'"), 1);
    EXPECT_EQ(count("tbl_system WHERE sys_counter=3 AND sys_counteractive=1 AND sys_doclose=0"), 1);
    EXPECT_EQ(count("tbl_system WHERE sys_counter=1 AND sys_counterstaff='admin' AND sys_doclose=1"), 1);
    EXPECT_EQ(count("tbl_system"), 3);
}

// A database made before the courts took turns by date, invoice numbers were counted and sales locked
// their items by name, while a station of that version (ending no idle transaction) is changing court 3.
TEST_F(DatabaseSetup, AnOlderDatabaseGetsTheCourtLocksByDateTheInvoiceCounterAndTheIndexes)
{
    PrivateDatabase::RunClient("USE posdb; DROP TABLE tbl_courtlock; DROP TABLE tbl_invoicecounter;"
                               "CREATE TABLE tbl_courtlock (cl_field INT NOT NULL PRIMARY KEY, "
                               "cl_changes BIGINT NOT NULL DEFAULT 0) ENGINE=InnoDB;"
                               "INSERT INTO tbl_courtlock SET cl_field=3;"
                               "ALTER TABLE tbl_booking DROP INDEX invoice; ALTER TABLE tbl_item DROP INDEX name;");
    const QString change = "INSERT INTO tbl_courtlock SET cl_field=%1 ON DUPLICATE KEY UPDATE cl_changes=1";
    Connection olderStation;
    olderStation.Open(::ConnectionString, Timeouts{5, 10, 10, 60});
    olderStation.BeginTrans();
    olderStation.Execute(change.arg(3));
    auto otherCourt = std::async(std::launch::async, [&] {
        for (int i = 0; i < 500 && scalar("SELECT COUNT(*) FROM information_schema.processlist WHERE "
                                          "state='Waiting for table metadata lock'") == "0"; ++i)
            QThread::msleep(20);
        Db::Execute("SET STATEMENT lock_wait_timeout=4 FOR " + change.arg(4));
    });
    int ended = 0;
    SetEndProgramHandler([&] { ++ended; });
    EXPECT_FALSE(InitDatabase(1));
    SetEndProgramHandler(nullptr);
    EXPECT_NO_THROW(otherCourt.get()) << "held no longer than a few seconds";
    EXPECT_EQ(prompter.prompts(), QStringList{"Another station is in the middle of a change, so the database could not "
                                              "be brought up to date for this version of the program (locking courts "
                                              "by date). The program ends now: please start it again in a moment."});
    EXPECT_EQ(ended, 1) << "no station works on the old locks";
    olderStation.CommitTrans();
    InitDatabase(1);
    EXPECT_TRUE(failedTasks.isEmpty()) << failedTasks.join("\n").toStdString();
    EXPECT_EQ(count("information_schema.tables WHERE table_schema='posdb' AND table_name='tbl_invoicecounter'"), 1);
    EXPECT_EQ(count("tbl_courtlock WHERE cl_date=''"), MaxCourts) << "every court has the older stations' turn";
    EXPECT_EQ(scalar("SELECT GROUP_CONCAT(CONCAT(table_name, '.', index_name, '.', column_name) ORDER BY table_name, "
                     "index_name, seq_in_index) FROM information_schema.statistics WHERE table_schema='posdb' AND "
                     "table_name IN ('tbl_booking', 'tbl_item', 'tbl_courtlock') AND index_name IN ('invoice', 'name', "
                     "'PRIMARY')"),
              "tbl_booking.invoice.b_invoice,tbl_courtlock.PRIMARY.cl_field,tbl_courtlock.PRIMARY.cl_date,"
              "tbl_item.name.i_name,tbl_item.PRIMARY.i_id");
}

TEST_F(DatabaseSetup, AMissingStationOneTableStopsBeforeAnythingIsMade)
{
    PrivateDatabase::RunClient("USE posdb; DROP TABLE tbl_shift1;");
    InitDatabase(2);
    ASSERT_EQ(failedTasks.size(), 1);
    EXPECT_TRUE(failedTasks[0].startsWith("accessing database ")) << failedTasks[0].toStdString();
    EXPECT_EQ(count("tbl_system"), 0);
    EXPECT_EQ(count("information_schema.tables WHERE table_schema='posdb' AND table_name='tbl_counter2'"), 0);
}

TEST_F(DatabaseSetup, AHealthyDatabaseAsksNothing)
{
    CheckDatabase();
    EXPECT_TRUE(prompter.asked().empty());
    EXPECT_TRUE(failedTasks.isEmpty()) << failedTasks.join("\n").toStdString();
}

TEST_F(DatabaseSetup, OnlyLowerCaseErrorRowsOfTheCheckAreOfferedForRepair)
{
    // A view whose table is gone is reported with two "Error" rows and one "error" row.
    PrivateDatabase::RunClient("USE posdb; CREATE TABLE gone (a INT); CREATE VIEW broken AS SELECT a FROM gone;"
                               "DROP TABLE gone; RENAME TABLE broken TO `broken-2025 ``b```;");
    prompter.Answer(Msg::No);
    CheckDatabase();
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(prompter.asked()[0].prompt, "Repair database posdb.broken-2025 `b` ?");
    EXPECT_EQ(prompter.asked()[0].title, "Found Error");
    EXPECT_EQ(prompter.asked()[0].style, Msg::YesNo | Msg::Critical);

    prompter.Answer(Msg::Yes);
    CheckDatabase();
    EXPECT_EQ(prompter.asked().size(), 2u) << "a table left as it was is offered again";
    EXPECT_TRUE(failedTasks.isEmpty()) << "the repair ran: " << failedTasks.join("\n").toStdString();
}

TEST_F(DatabaseSetup, ATableWhoseIndexIsDamagedIsRepairedWhenTheUserSaysYes)
{
    // The server keeps a backup of a table it recovers by itself, which the next test's dropping
    // of posdb would trip over: the table and every file of it go, however this test ends.
    struct RemovedAfterwards {
        ~RemovedAfterwards()
        {
            PrivateDatabase::RunClient("DROP TABLE IF EXISTS posdb.damaged;");
            QDir folder(QFileInfo(PrivateDatabase::TableFile("damaged")).absolutePath());
            for (const QString& file : folder.entryList({"damaged*"}, QDir::Files))
                folder.remove(file);
        }
    } removedAfterwards;
    PrivateDatabase::RunClient("USE posdb; CREATE TABLE damaged (id INT PRIMARY KEY, v VARCHAR(20)) ENGINE=MyISAM;"
                               "INSERT INTO damaged SELECT seq, CONCAT('row ', seq) FROM seq_1_to_500; FLUSH TABLES;");
    QFile index(PrivateDatabase::TableFile("damaged.MYI"));
    ASSERT_TRUE(index.open(QIODevice::ReadWrite));
    const qint64 header = 1024;
    index.seek(header);
    index.write(QByteArray(index.size() - header, '\xff'));
    index.close();

    prompter.Answer(Msg::Yes);
    prompter.Answer(Msg::Yes);
    CheckDatabase();
    // The server reports the damaged index in two error rows, and each is offered.
    EXPECT_EQ(prompter.prompts(), QStringList(2, "Repair database posdb.damaged ?"));
    Recordset check = Db::Query("CHECK TABLE damaged EXTENDED");
    EXPECT_EQ(check.Fields(2).Value() + " " + check.Fields(3).Value(), "status OK");
    EXPECT_EQ(count("damaged"), 500);
    EXPECT_TRUE(failedTasks.isEmpty()) << failedTasks.join("\n").toStdString();
}

TEST_F(DatabaseSetup, AnEmptyDatabaseFailsAtTheStationTablesAndALostServerAtTheCheck)
{
    PrivateDatabase::RunClient("DROP DATABASE posdb; CREATE DATABASE posdb;");
    CheckDatabase();
    EXPECT_TRUE(failedTasks.isEmpty()) << "nothing to check is no failure";
    InitDatabase(1);
    ::ConnectionString.replace("PWD=pallowin", "PWD=wrong");
    CheckDatabase();
    ASSERT_EQ(failedTasks.size(), 2);
    EXPECT_TRUE(failedTasks[0].startsWith("accessing database ")) << failedTasks[0].toStdString();
    EXPECT_TRUE(failedTasks[1].startsWith("checking database ")) << failedTasks[1].toStdString();
    EXPECT_TRUE(prompter.asked().empty());
}

} // namespace
