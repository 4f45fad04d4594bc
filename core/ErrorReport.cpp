#include "ErrorReport.h"
#include "Clock.h"
#include "Globals.h"

#include "Profile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {
const QString CrLf = QStringLiteral("\r\n");
}

QString ErrorReport(const VbError& error)
{
    return error.description() + CrLf + "Error Number :" + QString::number(error.number()) + CrLf + CrLf +
           "Source : " + error.source() + CrLf + CrLf;
}

ErrorTip TipFor(long errorNumber)
{
    switch (errorNumber) {
    case VbErrors::Database:
        return {"Please check your network connections, IP address of the server stated in the configuration file. "
                "Also please check if the database server is running.",
                true};
    case 70:
        return {"The user of this station may not use the communication port of the cash drawer. Please ask the "
                "administrator to give the user the serial ports (sudo adduser <user> dialout), then log out and "
                "log in again. Please check your communication port in configuration file as well.",
                false};
    case 8002:
        return {"Please check your communication port in configuration file. Make sure that communication port is "
                "available. Please check that your cash drawer power in turned on, check the connectivity as well. " +
                    CrLf + CrLf +
                    "If you are using a USB-SerialComm device, please check if the communication port has been "
                    "changed accidentally.",
                false};
    case 8005:
        return {"Because of the software are trying to access an open port (should be closed port), you need to "
                "restart your computer. Please check your communication port in configuration file. Make sure that "
                "communication port is available. Please check that your cash drawer power in turned on, check the "
                "connectivity as well.",
                false};
    default:
        return {NoTip, false};
    }
}

QString KeepErrorReport(const QString& report)
{
    const QString path = Profile::PathOf(ErrorReportFile);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return {};
    const QByteArray entry = (DbDateTime(Now()) + CrLf + report + CrLf).toUtf8();
    if (file.write(entry) != entry.size() || !file.flush())
        return {};
    return QFileInfo(path).absoluteFilePath();
}

QString MaskDatabasePassword(const QString& settingsText)
{
    static const QRegularExpression passwordLine(R"(^([ \t]*database_password[ \t]*=[ \t]*)\S[^\r\n]*)",
                                                 QRegularExpression::MultilineOption |
                                                     QRegularExpression::CaseInsensitiveOption);
    return QString(settingsText).replace(passwordLine, "\\1********");
}

QString SupportAppendix() { return SupportAppendix(Profile::Text(IniFile)); }

QString SupportAppendix(const QString& settingsText)
{
    const QString separator(47, '-');
    return CrLf + CrLf + separator + CrLf + CrLf + MaskDatabasePassword(settingsText) + CrLf + CrLf + separator;
}
