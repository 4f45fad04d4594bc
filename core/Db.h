#pragma once

#include "Connection.h"

// Each database operation opens its own connection with the station's connection string and
// closes it when done.
namespace Db {

// An open connection on ConnectionString.
std::unique_ptr<Connection> Open();

Recordset Query(const QString& statement);
long long Execute(const QString& statement);

}
