#include "EndProgram.h"

#include <QCoreApplication>

namespace {
std::function<void()> handler;
bool ending = false;
}

void EndProgram()
{
    if (handler) {
        handler();
        return;
    }
    ending = true;
    QCoreApplication::exit(0);
}

bool ProgramEnding() { return ending; }

void ClearProgramEnding() { ending = false; }

void SetEndProgramHandler(std::function<void()> h) { handler = std::move(h); }
