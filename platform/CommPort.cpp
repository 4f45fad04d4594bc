#include "CommPort.h"
#include "VbError.h"

#include <QSerialPort>
#include <QStringList>

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
    if (settings.trimmed().isEmpty())
        return;
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
        const auto error = m_serial->error();
        const QString why = m_serial->errorString();
        m_serial->clearError();
        if (error == QSerialPort::DeviceNotFoundError)
            throw VbError(CommErrors::InvalidPortNumber, Source, "Invalid port number (" + device + ": " + why + ")");
        throw VbError(CommErrors::PortAlreadyOpen, Source, "Port already open (" + device + ": " + why + ")");
    }
    try {
        apply();
    } catch (...) {
        m_serial->close();
        throw;
    }
}

void CommPort::Output(const QString& text)
{
    if (!PortOpen())
        throw VbError(CommErrors::PortNotOpen, Source, "Operation valid only when the port is open");
    if (text.isEmpty())
        return;
    const QByteArray bytes = text.toLatin1();
    if (m_serial->write(bytes) != bytes.size() || !m_serial->waitForBytesWritten(3000))
        throw VbError(CommErrors::WriteFailed, Source, "The text could not be written to the port: " + m_serial->errorString());
}
