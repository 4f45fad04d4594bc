#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

class QSerialPort;

// The serial control of a window that opens the cash drawer: a numbered port, a settings text such
// as "9600,n,8,1" (the control's own until others are set), and bytes written to it. Port n is the device /dev/ttyS(n-1), or the device of
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
    // baud,parity,data bits,stop bits; any other text, an empty one too, is refused as an invalid
    // property value.
    void SetSettings(const QString& settings);

    bool PortOpen() const;
    void SetPortOpen(bool open);
    // Writes the bytes as they stand; nothing for none.
    void Output(const QByteArray& bytes);

    // The device behind port n.
    static QString DevicePath(int port);

private:
    void apply();

    std::unique_ptr<QSerialPort> m_serial;
    int m_port = 1;
    QString m_settings = QStringLiteral("9600,n,8,1");
};

namespace CommErrors {
// This station's user may not open the port's device (on Debian: not in the group dialout).
constexpr long PermissionDenied = 70;
constexpr long InvalidPropertyValue = 380;
constexpr long InvalidPortNumber = 8002;
constexpr long PortAlreadyOpen = 8005;
constexpr long PortNotOpen = 8018;
constexpr long WriteFailed = 8020;
}
