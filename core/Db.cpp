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

}
