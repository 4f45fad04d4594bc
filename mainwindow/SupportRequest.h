#pragma once

#include <QString>

// A request to technical support from the Support page, mailed through the outside mailer.
class SupportRequest {
public:
    // address: the user's own address (the sender); message: the request as typed; settingsText: the
    // settings file as the page shows it, attached when attachSettings is set.
    SupportRequest(QString address, QString message, bool attachSettings, QString settingsText);

    // The text mailed: the message, and with the settings attached, the settings text between two
    // separator lines, its database password masked (the Support page shows it masked as well,
    // through MaskDatabasePassword).
    QString MailText() const;
    // Mails the request and tells the user how it went; true only when the mailer ended well, so that
    // the page leaves its button enabled for another try otherwise.
    bool Send() const;

private:
    QString m_address;
    QString m_message;
    bool m_attach;
    QString m_settings;
};

// The address the confirmation names.
inline const QString SupportConfirmationAddress = QStringLiteral("support@zentrel-booking.example");
