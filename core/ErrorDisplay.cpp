#include "ErrorDisplay.h"
#include "Globals.h"
#include "Prompter.h"

namespace {
ErrorDisplayHandler handler;
}

void SetErrorDisplayHandler(ErrorDisplayHandler h) { handler = std::move(h); }

void ShowErrorDisplay(const VbError& error)
{
    if (handler) {
        handler(error);
        return;
    }
    MsgBox("Error while " + CurrentTask + "\n\nError Number: " + QString::number(error.number()) +
               "\nError Source: " + error.source() + "\nError Description: " + error.description(),
           Msg::Critical);
}
