#pragma once

#include <QString>
#include <stdexcept>

// A run-time error as the forms' handlers see it: a number, the component that raised it and its text.
// Thrown by the platform layers and by the shared procedures; caught by every handler that can fail.
class VbError : public std::runtime_error {
public:
    VbError(long number, QString source, QString description);

    long number() const { return m_number; }
    const QString& source() const { return m_source; }
    const QString& description() const { return m_description; }

private:
    long m_number;
    QString m_source;
    QString m_description;
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
