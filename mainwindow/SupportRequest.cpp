#include "SupportRequest.h"

#include "Prompter.h"
#include "SupportMail.h"

#include <QRegularExpression>

QString MaskedSettingsText(const QString& settingsText)
{
    static const QRegularExpression password(R"(^(\s*database_password\s*=)[^\r\n]*)",
                                             QRegularExpression::MultilineOption |
                                                 QRegularExpression::CaseInsensitiveOption);
    return QString(settingsText).replace(password, "\\1********");
}

SupportRequest::SupportRequest(QString address, QString message, bool attachSettings, QString settingsText)
    : m_address(std::move(address)), m_message(std::move(message)), m_attach(attachSettings),
      m_settings(std::move(settingsText))
{
}

QString SupportRequest::MailText() const
{
    if (!m_attach)
        return m_message;
    const QString separator(47, '-');
    return m_message + "\r\n\r\n" + separator + "\r\n\r\n" + MaskedSettingsText(m_settings) + "\r\n\r\n" + separator;
}

bool SupportRequest::Send() const
{
    const QString failure = SendSupportMail(m_address, MailText());
    if (!failure.isEmpty()) {
        MsgBox("Your email could not be sent.\n" + failure + "\nPlease check your address and try again.",
               Msg::Critical);
        return false;
    }
    MsgBox("Your email has been sent to " + SupportConfirmationAddress +
               "\nYou will be contacted by our technical support via your given email",
           Msg::Information);
    return true;
}
