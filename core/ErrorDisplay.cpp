#include "ErrorDisplay.h"
#include "Db.h"
#include "Globals.h"
#include "Prompter.h"

namespace {
ErrorDisplayHandler handler;
}

QString ErrorHeading(const VbError& error)
{
    const QString heading = "Error while " + CurrentTask;
    return dynamic_cast<const Db::NotWritten*>(&error) ? heading + ". It was not written: nothing was changed."
                                                       : heading;
}

void SetErrorDisplayHandler(ErrorDisplayHandler h) { handler = std::move(h); }

void ShowErrorDisplay(const VbError& error)
{
    if (handler) {
        handler(error);
        return;
    }
    MsgBox(ErrorHeading(error) + "\n\nError Number: " + QString::number(error.number()) +
               "\nError Source: " + error.source() + "\nError Description: " + error.description(),
           Msg::Critical);
}
