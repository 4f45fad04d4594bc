#pragma once

#include "Connection.h"
#include "VbError.h"

#include <functional>

// Each database operation opens its own connection with the station's connection string and
// closes it when done.
namespace Db {

// An open connection on ConnectionString (readCommitted: see Connection::Open).
std::unique_ptr<Connection> Open(const Timeouts& limits = StandardTimeouts, bool readCommitted = false);

Recordset Query(const QString& statement);
long long Execute(const QString& statement);

// The connection was lost while the server was asked to commit: it may have committed or not.
class CommitUnconfirmed : public VbError {
public:
    explicit CommitUnconfirmed(const VbError& error) : VbError(error) {}
};

// A failure inside a transaction, before its COMMIT was sent (a statement refused, or the connection
// lost to a server that ended the transaction meanwhile): the transaction was undone, by the server
// itself where the connection was gone, so nothing of it was written.
class NotWritten : public VbError {
public:
    explicit NotWritten(const VbError& error) : VbError(error) {}
};

// Runs a user action that writes more than one row: work gets one connection inside one
// transaction and must read what it decides on through that connection (with FOR UPDATE where
// another station could change it meanwhile). Committed when work returns, rolled back when it
// throws, so nothing is ever half written. A deadlock or lock wait timeout, after which the server
// has undone the transaction, runs work once more on a fresh transaction before it is thrown on.
// A failure of work throws NotWritten; a failure of the commit itself throws CommitUnconfirmed: the
// caller must find out what was written.
// With readCommitted every read sees what other stations committed up to that moment, and a row that
// is not there locks nothing.
void Transaction(const std::function<void(Connection&)>& work, bool readCommitted = false);

// Whether the server gave up on a transaction because another one held the rows it wanted.
bool IsLockConflict(const VbError& error);

// What the look-up after a lost commit found: written or not, or why that cannot be told yet (the
// database does not answer, or another transaction still holds the rows).
enum class Written { Yes, No, Unknown, Held };
// Runs lookUp, which tells whether the work is there, in a transaction of its own: its locking reads
// wait for a transaction of the lost connection that the server still runs, and then see what it left.
Written FindOut(const std::function<bool(Connection&)>& lookUp);
// Why a look-up could not tell (Unknown or Held), as the user reads it after "cannot be told ":
// the database does not answer, or another transaction still holds what is named.
QString UntoldReason(Written outcome, const QString& held);

}
