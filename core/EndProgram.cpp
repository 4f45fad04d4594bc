#include "EndProgram.h"

#include <QCoreApplication>

namespace {
std::function<void()> handler;
std::function<void()> beforeEnd;
bool ending = false;
bool databaseLossEnds = true;
}

void EndProgram()
{
    if (beforeEnd)
        beforeEnd();
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

void SetBeforeEndProgram(std::function<void()> finish) { beforeEnd = std::move(finish); }

void SetDatabaseLossEndsProgram(bool ends) { databaseLossEnds = ends; }

bool DatabaseLossEndsProgram() { return databaseLossEnds; }
