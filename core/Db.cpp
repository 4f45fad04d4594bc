#include "Db.h"
#include "Globals.h"

namespace Db {

std::unique_ptr<Connection> Open(const Timeouts& limits, bool readCommitted)
{
    auto connection = std::make_unique<Connection>();
    connection->Open(ConnectionString, limits, readCommitted);
    return connection;
}

Recordset Query(const QString& statement) { return Open()->Query(statement); }

long long Execute(const QString& statement) { return Open()->Execute(statement); }

bool IsLockConflict(const VbError& error)
{
    return error.nativeError() == ServerErrors::Deadlock || error.nativeError() == ServerErrors::LockWaitTimeout;
}

Written FindOut(const std::function<bool(Connection&)>& lookUp)
{
    bool written = false;
    try {
        Transaction([&](Connection& db) { written = lookUp(db); });
    } catch (const VbError& e) {
        return IsLockConflict(e) ? Written::Held : Written::Unknown;
    }
    return written ? Written::Yes : Written::No;
}

QString UntoldReason(Written outcome, const QString& held)
{
    return outcome == Written::Held ? "yet: another transaction still holds " + held
                                    : QString("while the database does not answer");
}

void Transaction(const std::function<void(Connection&)>& work, bool readCommitted)
{
    for (int attempt = 1;; ++attempt) {
        auto connection = Open(StandardTimeouts, readCommitted);
        connection->BeginTrans();
        try {
            work(*connection);
        } catch (const VbError& e) {
            connection->RollbackTrans();
            if (attempt == 1 && IsLockConflict(e))
                continue;
            throw NotWritten(e);
        } catch (...) {
            connection->RollbackTrans();
            throw;
        }
        try {
            connection->CommitTrans();
        } catch (const VbError& e) {
            throw CommitUnconfirmed(e);
        }
        return;
    }
}

}
