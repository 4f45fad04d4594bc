#pragma once

#include <QString>
#include <memory>

class QSerialPort;

// The serial control of a window that opens the cash drawer: a numbered port, a settings text such
// as "9600,n,8,1", and text written to it. Port n is the device /dev/ttyS(n-1), or the device of
// that name in $PALLOWIN_SERIAL_DIR when it is set. The port stays open until it is closed or the
// control is destroyed. Failures throw a VbError with the serial control's numbers (CommErrors).
class CommPort {
public:
    CommPort();
    ~CommPort();
    CommPort(const CommPort&) = delete;
    CommPort& operator=(const CommPort&) = delete;

    int Port() const { return m_port; }
    void SetPort(int port);
    QString Settings() const { return m_settings; }
    // An empty text keeps the settings the control has (9600,n,8,1 until others are set).
    void SetSettings(const QString& settings);

    bool PortOpen() const;
    void SetPortOpen(bool open);
    // Writes the text as it stands; nothing for an empty text.
    void Output(const QString& text);

    // The device behind port n.
    static QString DevicePath(int port);

private:
    void apply();

    std::unique_ptr<QSerialPort> m_serial;
    int m_port = 1;
    QString m_settings = QStringLiteral("9600,n,8,1");
};

namespace CommErrors {
constexpr long InvalidPropertyValue = 380;
constexpr long InvalidPortNumber = 8002;
constexpr long PortAlreadyOpen = 8005;
constexpr long PortNotOpen = 8018;
constexpr long WriteFailed = 8020;
}
