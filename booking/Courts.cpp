#include "Courts.h"

#include "Globals.h"
#include "Prompter.h"

std::optional<int> ChosenCourt(const QString& text)
{
    const QString typed = text.trimmed();
    bool isNumber = false;
    const int court = typed.toInt(&isNumber);
    if (isNumber && court >= 0 && court <= LastCourtIndex)
        return court;
    MsgBox(typed.isEmpty() ? QString("Please choose a court first.")
                           : "There is no court " + typed + ": the courts are numbered 0 to " +
                                 QString::number(LastCourtIndex) + ".",
           Msg::Critical);
    return std::nullopt;
}
