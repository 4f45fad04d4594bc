#pragma once

#include <QString>
#include <gtest/gtest.h>

// The project's private MariaDB server, started by tools/test (or tools/db start).
namespace PrivateDatabase {

// The port the private server listens on.
int Port();
// The connection string of the private server, or of what stands in for it on another port.
QString ConnectionString(int port = Port());
// Drops posdb and loads db/schema.sql afresh, and db/demo.sql when asked.
void Reload(bool withDemo = false);
// Adds the demo's bookings of tonight (db/demo_bookings.sql) to the demo.
void LoadDemoBookings();
// Runs SQL through the server's own client, for setting up what the program's statements cannot.
void RunClient(const QString& sql);
// The server's file of a table of posdb, for damaging it (the table closed with FLUSH TABLES).
QString TableFile(const QString& fileName);

// Stops the private server's process (SIGSTOP) while it lives, so that it keeps its connections
// but answers nothing, and lets it go on (SIGCONT) when it goes, however the test ends. Only a
// test that holds the server to itself may do this.
class Frozen {
public:
    Frozen();
    ~Frozen();
    Frozen(const Frozen&) = delete;
    Frozen& operator=(const Frozen&) = delete;

private:
    long long m_pid;
    qint64 m_backstop = 0;
};

}

// A test on a freshly loaded posdb, with the globals pointing at it for station 1.
class DatabaseTest : public testing::Test {
protected:
    void SetUp() override;
    virtual bool withDemo() const { return false; }

    // The first column of the first row, "" when there is no row.
    static QString scalar(const QString& query);
    static long long count(const QString& tableAndCondition);
};

class DemoDatabaseTest : public DatabaseTest {
protected:
    bool withDemo() const override { return true; }
};
