#pragma once

#include <QString>

#include <functional>

class QObject;

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
    // Mails the request without waiting for the mailer, and once it has ended tells the user how it
    // went and calls done: sent only when the mailer ended well, so that the page enables its button
    // again for another try otherwise. Nothing is told when context is gone by then.
    void Send(QObject* context, std::function<void(bool sent)> done) const;

private:
    QString m_address;
    QString m_message;
    bool m_attach;
    QString m_settings;
};

// The address the confirmation names.
inline const QString SupportConfirmationAddress = QStringLiteral("support@zentrel-booking.example");
