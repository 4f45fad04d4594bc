#pragma once

#include "Recordset.h"

#include <QString>
#include <memory>

// How long a connection waits for the server: to connect, and for each read and each write; and
// how long the server waits for the connection in the middle of a transaction before it ends the
// connection and undoes the transaction.
struct Timeouts {
    long connectSeconds;
    long readSeconds;
    long writeSeconds;
    // The program's transactions never wait on a person, so a transaction that nobody drives for
    // this long belongs to a station that froze or lost its network: it must not keep its courts or
    // items locked for the hours the server would keep its connection. Shorter than a change waits
    // for a lock (twice LockWaitSeconds), so the station behind it goes through.
    long idleTransactionSeconds = 5;
};

// How long a statement waits for rows another transaction holds, before it gives up.
inline constexpr long LockWaitSeconds = 5;

// A server that accepts but stops answering, or a link that dies mid-statement, gives an error
// within seconds, never a station that hangs. The read limit still leaves the extended table check
// of a five-year centre (under two seconds) several times its time.
inline constexpr Timeouts StandardTimeouts{5, 10, 10};

// One database connection through the ODBC driver manager, opened with a full connection string.
// Every failure, of the open or of a statement, throws a VbError numbered VbErrors::Database
// that carries the driver's own text.
class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // With readCommitted, every read of the session sees what others committed up to that moment, and a
    // row that is not there locks nothing.
    void Open(const QString& connectionString, const Timeouts& limits = StandardTimeouts, bool readCommitted = false);
    void Close();
    bool IsOpen() const;

    // Runs a statement that returns no rows; the number of affected rows is returned for those who want it.
    long long Execute(const QString& statement);

    // Runs a query and reads every row at once into a static, read-only recordset.
    Recordset Query(const QString& statement);

    // Statements between BeginTrans and CommitTrans take effect together or not at all. Closing
    // the connection (or destroying it) with a transaction still open rolls it back.
    void BeginTrans();
    void CommitTrans();
    // Never throws: it is called while another failure is being handled.
    void RollbackTrans();
    bool InTransaction() const;

private:
    void beforeStatement();
    void endTransaction(bool commit);

    struct Handles;
    std::unique_ptr<Handles> m_handles;
};
