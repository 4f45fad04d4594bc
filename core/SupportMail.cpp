#include "SupportMail.h"

#include "OutsideProgram.h"

QString SendSupportMail(const QString& sender, const QString& message)
{
    // The mailer gives up on an unreachable server after about a minute of its own.
    constexpr int Patience = 90000;
    const OutsideProgram::Outcome outcome = OutsideProgram::Run(
        "sendemail",
        {"-f", sender, "-t", SupportMailbox, "-u", "REQUEST SUPPORT", "-s", SupportMailServer, "-m", message},
        Patience);
    return outcome.succeeded ? QString() : outcome.failure;
}
