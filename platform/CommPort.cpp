#include "CommPort.h"
#include "VbError.h"

#include <QSerialPort>
#include <QStringList>

#include <cerrno>
#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

namespace {

const QString Source = QStringLiteral("MSComm");

struct LineSettings {
    qint32 baud;
    QSerialPort::Parity parity;
    QSerialPort::DataBits dataBits;
    QSerialPort::StopBits stopBits;
};

// The value of a settings field by its text, or the invalid-value error.
template <class T>
T pick(const QString& field, std::initializer_list<std::pair<const char*, T>> choices, const VbError& invalid)
{
    for (const auto& [text, value] : choices)
        if (field.trimmed().compare(QLatin1String(text), Qt::CaseInsensitive) == 0)
            return value;
    throw invalid;
}

LineSettings parse(const QString& text)
{
    const QStringList parts = text.split(',');
    const VbError invalid(CommErrors::InvalidPropertyValue, Source, "Invalid property value: \"" + text + "\"");
    if (parts.size() != 4)
        throw invalid;
    bool ok = false;
    const int baud = parts[0].trimmed().toInt(&ok);
    if (!ok || baud <= 0)
        throw invalid;
    return {baud,
            pick<QSerialPort::Parity>(parts[1],
                                      {{"n", QSerialPort::NoParity}, {"e", QSerialPort::EvenParity},
                                       {"o", QSerialPort::OddParity}, {"m", QSerialPort::MarkParity},
                                       {"s", QSerialPort::SpaceParity}},
                                      invalid),
            pick<QSerialPort::DataBits>(parts[2],
                                        {{"5", QSerialPort::Data5}, {"6", QSerialPort::Data6},
                                         {"7", QSerialPort::Data7}, {"8", QSerialPort::Data8}},
                                        invalid),
            pick<QSerialPort::StopBits>(parts[3],
                                        {{"1", QSerialPort::OneStop}, {"1.5", QSerialPort::OneAndHalfStop},
                                         {"2", QSerialPort::TwoStop}},
                                        invalid)};
}

// Whether this process may open the device for reading and writing, as its open would be judged:
// by the effective user, the groups it logged in with, and its capabilities.
bool userMayOpen(const QString& device)
{
    return ::faccessat(AT_FDCWD, device.toLocal8Bit().constData(), R_OK | W_OK, AT_EACCESS) == 0 || errno != EACCES;
}

QString userName()
{
    const passwd* user = ::getpwuid(::geteuid());
    return user ? QString::fromLocal8Bit(user->pw_name) : QString::number(::geteuid());
}

// A device that would not open, told by its cause: one the user may not open (on Debian a user
// outside the group dialout), which no restart mends; one another program or window holds (its lock,
// or its exclusive use); else a device that is not there or does not answer (no hardware behind
// it), whose port number is to be checked.
VbError openFailure(QSerialPort::SerialPortError error, const QString& device, const QString& why)
{
    if (error == QSerialPort::PermissionError && !userMayOpen(device))
        return VbError(CommErrors::PermissionDenied, Source,
                       "Permission denied: the user " + userName() + " may not open " + device);
    if (error == QSerialPort::PermissionError)
        return VbError(CommErrors::PortAlreadyOpen, Source, "Port already open (" + device + ": " + why + ")");
    return VbError(CommErrors::InvalidPortNumber, Source, "Invalid port number (" + device + ": " + why + ")");
}

} // namespace

CommPort::CommPort() : m_serial(std::make_unique<QSerialPort>()) {}

CommPort::~CommPort() = default;

QString CommPort::DevicePath(int port)
{
    const QString name = "ttyS" + QString::number(port - 1);
    const QString dir = qEnvironmentVariable("PALLOWIN_SERIAL_DIR");
    return (dir.isEmpty() ? QStringLiteral("/dev") : dir) + "/" + name;
}

void CommPort::SetPort(int port)
{
    if (port < 1 || port > 255)
        throw VbError(CommErrors::InvalidPortNumber, Source, "Invalid port number");
    if (PortOpen() && port != m_port)
        throw VbError(CommErrors::PortAlreadyOpen, Source, "Port already open");
    m_port = port;
}

void CommPort::SetSettings(const QString& settings)
{
    parse(settings);
    m_settings = settings;
    if (PortOpen())
        apply();
}

bool CommPort::PortOpen() const { return m_serial->isOpen(); }

void CommPort::apply()
{
    const LineSettings s = parse(m_settings);
    if (!m_serial->setBaudRate(s.baud) || !m_serial->setParity(s.parity) || !m_serial->setDataBits(s.dataBits) ||
        !m_serial->setStopBits(s.stopBits))
        throw VbError(CommErrors::InvalidPropertyValue, Source,
                      "The port does not take the settings \"" + m_settings + "\": " + m_serial->errorString());
}

void CommPort::SetPortOpen(bool open)
{
    if (!open) {
        m_serial->close();
        return;
    }
    if (PortOpen())
        throw VbError(CommErrors::PortAlreadyOpen, Source, "Port already open");
    const QString device = DevicePath(m_port);
    m_serial->setPortName(device);
    if (!m_serial->open(QIODevice::ReadWrite)) {
        const VbError failure = openFailure(m_serial->error(), device, m_serial->errorString());
        m_serial->clearError();
        throw failure;
    }
    try {
        apply();
    } catch (...) {
        m_serial->close();
        throw;
    }
}

void CommPort::Output(const QByteArray& bytes)
{
    if (!PortOpen())
        throw VbError(CommErrors::PortNotOpen, Source, "Operation valid only when the port is open");
    if (bytes.isEmpty())
        return;
    if (m_serial->write(bytes) != bytes.size() || !m_serial->waitForBytesWritten(3000))
        throw VbError(CommErrors::WriteFailed, Source, "The text could not be written to the port: " + m_serial->errorString());
}
