#include "Connection.h"
#include "VbError.h"

#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

#include <QRegularExpression>

#include <vector>

namespace {

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "the driver manager must speak UTF-16");

const SQLWCHAR* wide(const QString& s) { return reinterpret_cast<const SQLWCHAR*>(s.utf16()); }

QString diagnostics(SQLSMALLINT type, SQLHANDLE handle, int* firstNative = nullptr)
{
    QStringList texts;
    for (SQLSMALLINT i = 1;; ++i) {
        SQLWCHAR state[6];
        SQLINTEGER native = 0;
        SQLWCHAR message[2048];
        SQLSMALLINT length = 0;
        SQLRETURN rc = SQLGetDiagRecW(type, handle, i, state, &native, message,
                                      static_cast<SQLSMALLINT>(std::size(message)), &length);
        if (!SQL_SUCCEEDED(rc))
            break;
        if (firstNative && i == 1)
            *firstNative = static_cast<int>(native);
        texts << QString::fromUtf16(reinterpret_cast<const char16_t*>(message),
                                    std::min<qsizetype>(length, std::size(message) - 1));
    }
    return texts.isEmpty() ? QString("Unspecified error") : texts.join("; ");
}

[[noreturn]] void fail(SQLSMALLINT type, SQLHANDLE handle)
{
    int native = 0;
    QString text = diagnostics(type, handle, &native);
    throw VbError(VbErrors::Database, "Microsoft OLE DB Provider for ODBC Drivers", text, native);
}

[[noreturn]] void failWith(const QString& text)
{
    throw VbError(VbErrors::Database, "Microsoft OLE DB Provider for ODBC Drivers", text);
}

SQLHENV environment()
{
    static SQLHENV env = [] {
        SQLHENV h = SQL_NULL_HENV;
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &h)))
            return static_cast<SQLHENV>(SQL_NULL_HENV);
        SQLSetEnvAttr(h, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        return h;
    }();
    if (env == SQL_NULL_HENV)
        failWith("The ODBC driver manager could not be initialised");
    return env;
}

// Frees the statement handle however the statement ends.
struct Statement {
    SQLHSTMT handle = SQL_NULL_HSTMT;
    explicit Statement(SQLHDBC dbc)
    {
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &handle)))
            fail(SQL_HANDLE_DBC, dbc);
    }
    ~Statement() { SQLFreeHandle(SQL_HANDLE_STMT, handle); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void run(const QString& text)
    {
        SQLRETURN rc = SQLExecDirectW(handle, const_cast<SQLWCHAR*>(wide(text)), SQL_NTS);
        if (rc != SQL_NO_DATA && !SQL_SUCCEEDED(rc))
            fail(SQL_HANDLE_STMT, handle);
    }
};

bool isText(SQLSMALLINT type)
{
    switch (type) {
    case SQL_CHAR:
    case SQL_VARCHAR:
    case SQL_LONGVARCHAR:
    case SQL_WCHAR:
    case SQL_WVARCHAR:
    case SQL_WLONGVARCHAR:
        return true;
    default:
        return false;
    }
}

// Reads one value in pieces. Texts come as the connection's UTF-8 bytes, so that a NUL inside a
// text survives; everything else comes as the driver's own text of the value.
template <typename Unit, SQLSMALLINT CType>
std::optional<std::basic_string<Unit>> readPieces(SQLHSTMT stmt, SQLUSMALLINT column)
{
    std::basic_string<Unit> value;
    Unit chunk[4096];
    const size_t terminator = CType == SQL_C_BINARY ? 0 : 1;
    for (;;) {
        SQLLEN indicator = 0;
        SQLRETURN rc = SQLGetData(stmt, column, CType, chunk, sizeof chunk, &indicator);
        if (rc == SQL_NO_DATA)
            break;
        if (!SQL_SUCCEEDED(rc))
            fail(SQL_HANDLE_STMT, stmt);
        if (indicator == SQL_NULL_DATA)
            return std::nullopt;
        const size_t room = std::size(chunk) - terminator;
        const size_t units = static_cast<size_t>(indicator) / sizeof(Unit);
        value.append(chunk, (indicator == SQL_NO_TOTAL || units > room) ? room : units);
        if (rc == SQL_SUCCESS)
            break;
    }
    return value;
}

std::optional<QString> readValue(SQLHSTMT stmt, SQLUSMALLINT column, bool text)
{
    if (text) {
        auto bytes = readPieces<char, SQL_C_BINARY>(stmt, column);
        if (!bytes)
            return std::nullopt;
        return QString::fromUtf8(bytes->data(), static_cast<qsizetype>(bytes->size()));
    }
    auto units = readPieces<char16_t, SQL_C_WCHAR>(stmt, column);
    if (!units)
        return std::nullopt;
    return QString::fromUtf16(units->data(), static_cast<qsizetype>(units->size()));
}

// Bit 2048 of the driver's OPTION asks for the compressed protocol, which the settings have always
// set. Between a counter and its server on one local network it only costs: every packet is
// deflated on one side and inflated on the other, which doubled the time of a sale.
constexpr long CompressedProtocol = 2048;

// The driver's own options, added to whatever the settings built (a later OPTION overrides an
// earlier one): the connection string itself stays the station's.
QString withDriverOptions(const QString& connectionString, const Timeouts& limits)
{
    QString options = QString("CONN_TIMEOUT=%1;READ_TIMEOUT=%2;WRITE_TIMEOUT=%3")
                          .arg(limits.connectSeconds)
                          .arg(limits.readSeconds)
                          .arg(limits.writeSeconds);
    static const QRegularExpression optionKey("(?:^|;)\\s*OPTION\\s*=\\s*(\\d+)\\s*(?:;|$)",
                                              QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch option = optionKey.match(connectionString);
    if (option.hasMatch()) {
        const long flags = option.captured(1).toLong();
        if (flags & CompressedProtocol)
            options += ";OPTION=" + QString::number(flags & ~CompressedProtocol);
    }
    const QString separator = connectionString.endsWith(';') ? "" : ";";
    return connectionString + separator + options;
}

} // namespace

struct Connection::Handles {
    SQLHDBC dbc = SQL_NULL_HDBC;
    bool connected = false;
    bool inTransaction = false;
    // Autocommit stays off after a transaction until another statement runs, so that a connection
    // closed right after its transaction, as most are, spends no round trip on turning it back on.
    bool autocommitOff = false;
};

Connection::Connection() : m_handles(std::make_unique<Handles>()) {}

Connection::~Connection() { Close(); }

bool Connection::IsOpen() const { return m_handles->connected; }

void Connection::Open(const QString& connectionString, const Timeouts& limits, bool readCommitted)
{
    Close();
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, environment(), &m_handles->dbc)))
        fail(SQL_HANDLE_ENV, environment());
    SQLSetConnectAttr(m_handles->dbc, SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(limits.connectSeconds), 0);
    const QString bounded = withDriverOptions(connectionString, limits);
    SQLSMALLINT outLength = 0;
    SQLRETURN rc = SQLDriverConnectW(m_handles->dbc, nullptr, const_cast<SQLWCHAR*>(wide(bounded)), SQL_NTS,
                                     nullptr, 0, &outLength, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(rc)) {
        QString text = diagnostics(SQL_HANDLE_DBC, m_handles->dbc);
        SQLFreeHandle(SQL_HANDLE_DBC, m_handles->dbc);
        m_handles->dbc = SQL_NULL_HDBC;
        failWith(text);
    }
    m_handles->connected = true;
    m_handles->autocommitOff = false;
    // No strict mode: the statements write '' into numeric columns and double-quote their texts.
    // A statement waiting for rows that another station holds gives up within seconds, before the
    // read timeout, instead of after the server's default of nearly a minute; a transaction left
    // idle is ended by the server. One statement sets the whole session: each one more is a round trip
    // of every connection.
    Execute(QString("SET sql_mode='NO_ENGINE_SUBSTITUTION', innodb_lock_wait_timeout=%1, idle_transaction_timeout=%2")
                .arg(LockWaitSeconds)
                .arg(limits.idleTransactionSeconds) +
            (readCommitted ? ", tx_isolation='READ-COMMITTED'" : ""));
}

void Connection::Close()
{
    if (m_handles->inTransaction)
        RollbackTrans();
    if (m_handles->connected)
        SQLDisconnect(m_handles->dbc);
    if (m_handles->dbc != SQL_NULL_HDBC)
        SQLFreeHandle(SQL_HANDLE_DBC, m_handles->dbc);
    m_handles->dbc = SQL_NULL_HDBC;
    m_handles->connected = false;
}

void Connection::beforeStatement()
{
    if (!m_handles->connected)
        failWith("Operation is not allowed when the object is closed.");
    if (m_handles->autocommitOff && !m_handles->inTransaction) {
        if (!SQL_SUCCEEDED(SQLSetConnectAttr(m_handles->dbc, SQL_ATTR_AUTOCOMMIT,
                                             reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0)))
            fail(SQL_HANDLE_DBC, m_handles->dbc);
        m_handles->autocommitOff = false;
    }
}

long long Connection::Execute(const QString& statement)
{
    beforeStatement();
    Statement stmt(m_handles->dbc);
    stmt.run(statement);
    SQLLEN rows = 0;
    SQLRowCount(stmt.handle, &rows);
    return rows;
}

Recordset Connection::Query(const QString& statement)
{
    beforeStatement();
    Statement stmt(m_handles->dbc);
    stmt.run(statement);
    SQLSMALLINT columnCount = 0;
    if (!SQL_SUCCEEDED(SQLNumResultCols(stmt.handle, &columnCount)))
        fail(SQL_HANDLE_STMT, stmt.handle);
    QStringList columns;
    std::vector<bool> textColumns;
    for (SQLUSMALLINT c = 1; c <= columnCount; ++c) {
        SQLWCHAR name[256];
        SQLSMALLINT nameLength = 0;
        SQLSMALLINT type = 0;
        if (!SQL_SUCCEEDED(SQLDescribeColW(stmt.handle, c, name, static_cast<SQLSMALLINT>(std::size(name)), &nameLength,
                                           &type, nullptr, nullptr, nullptr)))
            fail(SQL_HANDLE_STMT, stmt.handle);
        columns << QString::fromUtf16(reinterpret_cast<const char16_t*>(name),
                                      std::min<qsizetype>(nameLength, std::size(name) - 1));
        textColumns.push_back(isText(type));
    }
    std::vector<std::vector<std::optional<QString>>> rows;
    while (columnCount > 0) {
        SQLRETURN rc = SQLFetch(stmt.handle);
        if (rc == SQL_NO_DATA)
            break;
        if (!SQL_SUCCEEDED(rc))
            fail(SQL_HANDLE_STMT, stmt.handle);
        std::vector<std::optional<QString>> row;
        row.reserve(static_cast<size_t>(columnCount));
        for (SQLUSMALLINT c = 1; c <= columnCount; ++c)
            row.push_back(readValue(stmt.handle, c, textColumns[c - 1]));
        rows.push_back(std::move(row));
    }
    return Recordset(std::move(columns), std::move(rows));
}

void Connection::BeginTrans()
{
    if (!m_handles->connected)
        failWith("Operation is not allowed when the object is closed.");
    if (m_handles->inTransaction)
        failWith("Transaction already started on this connection.");
    if (!m_handles->autocommitOff &&
        !SQL_SUCCEEDED(SQLSetConnectAttr(m_handles->dbc, SQL_ATTR_AUTOCOMMIT,
                                         reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0)))
        fail(SQL_HANDLE_DBC, m_handles->dbc);
    m_handles->autocommitOff = true;
    m_handles->inTransaction = true;
}

void Connection::endTransaction(bool commit)
{
    if (!m_handles->inTransaction)
        failWith("No transaction is active on this connection.");
    m_handles->inTransaction = false;
    if (!SQL_SUCCEEDED(SQLEndTran(SQL_HANDLE_DBC, m_handles->dbc, commit ? SQL_COMMIT : SQL_ROLLBACK)))
        fail(SQL_HANDLE_DBC, m_handles->dbc);
}

void Connection::CommitTrans() { endTransaction(true); }

void Connection::RollbackTrans()
{
    // A rollback runs while another failure is on its way up; its own failure (a connection
    // already gone) must not replace that one, and the server rolls back a lost session itself.
    try {
        endTransaction(false);
    } catch (const VbError&) {
    }
}

bool Connection::InTransaction() const { return m_handles->inTransaction; }
