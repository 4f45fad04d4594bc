#include "SupportMail.h"

#include "OutsideProgram.h"

namespace {

const QString Mailer = QStringLiteral("sendemail");
// The mailer gives up on an unreachable server after about a minute of its own.
constexpr int Patience = 90000;

QStringList mailArguments(const QString& sender, const QString& message)
{
    return {"-f", sender, "-t", SupportMailbox, "-u", "REQUEST SUPPORT", "-s", SupportMailServer, "-m", message};
}

} // namespace

void StartSupportMail(const QString& sender, const QString& message, QObject* context,
                      std::function<void(const QString& failure)> done)
{
    OutsideProgram::Start(Mailer, mailArguments(sender, message), Patience, context,
                          [done](const OutsideProgram::Outcome& outcome) {
                              done(outcome.succeeded ? QString() : outcome.failure);
                          });
}
