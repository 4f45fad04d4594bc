#pragma once

#include <QString>
#include <stdexcept>

// A run-time error as the forms' handlers see it: a number, the component that raised it and its text.
// Thrown by the platform layers and by the shared procedures; caught by every handler that can fail.
class VbError : public std::runtime_error {
public:
    // nativeError is the database server's own error number (1062 for a duplicate key), 0 when the
    // error did not come from the server.
    VbError(long number, QString source, QString description, int nativeError = 0);

    long number() const { return m_number; }
    int nativeError() const { return m_nativeError; }
    const QString& source() const { return m_source; }
    const QString& description() const { return m_description; }

private:
    long m_number;
    QString m_source;
    QString m_description;
    int m_nativeError;
};

namespace VbErrors {
// Failed database connections and statements are all reported under this number (80004005 hexadecimal).
constexpr long Database = -2147467259;
constexpr long InvalidArgument = 5;
constexpr long Overflow = 6;
constexpr long TypeMismatch = 13;
constexpr long FileNotFound = 53;
constexpr long PathFileAccess = 75;
constexpr long ItemNotFound = 3265;
}

// The server's own numbers of the errors the program decides on.
namespace ServerErrors {
constexpr int NullColumn = 1048;
constexpr int DuplicateKey = 1062;
constexpr int LockWaitTimeout = 1205;
constexpr int Deadlock = 1213;
}
