#pragma once

#include <QString>

#include <functional>

class QObject;

// Requests to technical support go out through the outside mailer "sendemail".
inline const QString SupportMailbox = QStringLiteral("support@zentrel-booking.example");
inline const QString SupportMailServer = QStringLiteral("mail.zentrel-booking.example");
// The sender of the error reports that a station mails by itself.
inline const QString StationMailSender = QStringLiteral("station@zentrel-booking.example");

// Sends message with the subject "REQUEST SUPPORT" from sender to the support mailbox without
// waiting: the window goes on while the mailer works, and done gets an empty text when it sent the
// mail, else what went wrong, once it has ended (nothing when context is gone by then).
void StartSupportMail(const QString& sender, const QString& message, QObject* context,
                      std::function<void(const QString& failure)> done);
