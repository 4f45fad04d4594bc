#include "EndProgram.h"

#include <cstdlib>

namespace {
std::function<void()> handler;
}

void EndProgram()
{
    if (handler) {
        handler();
        return;
    }
    std::exit(0);
}

void SetEndProgramHandler(std::function<void()> h) { handler = std::move(h); }
