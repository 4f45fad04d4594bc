#include "Db.h"
#include "Globals.h"

namespace Db {

std::unique_ptr<Connection> Open()
{
    auto connection = std::make_unique<Connection>();
    connection->Open(ConnectionString);
    return connection;
}

Recordset Query(const QString& statement) { return Open()->Query(statement); }

long long Execute(const QString& statement) { return Open()->Execute(statement); }

bool IsLockConflict(const VbError& error)
{
    return error.nativeError() == ServerErrors::Deadlock || error.nativeError() == ServerErrors::LockWaitTimeout;
}

void Transaction(const std::function<void(Connection&)>& work)
{
    for (int attempt = 1;; ++attempt) {
        auto connection = Open();
        // A station waiting for another's rows gives up within seconds instead of the server's
        // default of nearly a minute.
        connection->Execute("SET SESSION innodb_lock_wait_timeout=5");
        connection->BeginTrans();
        try {
            work(*connection);
        } catch (const VbError& e) {
            connection->RollbackTrans();
            if (attempt == 1 && IsLockConflict(e))
                continue;
            throw;
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
