#include "SupportRequest.h"

#include "ErrorReport.h"
#include "Prompter.h"
#include "SupportMail.h"

SupportRequest::SupportRequest(QString address, QString message, bool attachSettings, QString settingsText)
    : m_address(std::move(address)), m_message(std::move(message)), m_attach(attachSettings),
      m_settings(std::move(settingsText))
{
}

QString SupportRequest::MailText() const
{
    return m_attach ? m_message + SupportAppendix(m_settings) : m_message;
}

void SupportRequest::Send(QObject* context, std::function<void(bool sent)> done) const
{
    StartSupportMail(m_address, MailText(), context, [done](const QString& failure) {
        if (!failure.isEmpty()) {
            MsgBox("Your email could not be sent.\n" + failure + "\nPlease check your address and try again.",
                   Msg::Critical);
            done(false);
            return;
        }
        MsgBox("Your email has been sent to " + SupportConfirmationAddress +
                   "\nYou will be contacted by our technical support via your given email",
               Msg::Information);
        done(true);
    });
}
