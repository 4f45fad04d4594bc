// The one place where the library tells its user about a failure.
#pragma once

#include "Corvane.h"

#include <cstdint>

namespace corvane {

// Result codes shown in the messages, in the form the host's users know from other programs.
constexpr std::uint32_t kFail = 0x80004005;
constexpr std::uint32_t kNoPointer = 0x80004003;
constexpr std::uint32_t kTimeout = 0x800705B4;

void SetErrorSink(CorvaneErrorSink sink);

// printf-style; the text is cut at 2047 characters.
[[gnu::format(printf, 1, 2)]] void ShowError(const char* format, ...);

// From now on, errors of the calling thread wait for the caller's thread: the host's sink may show a
// window, which only its own thread may do.
void HoldErrorsOfThisThread();
// Shows the errors held so far; called by the caller's thread.
void ShowHeldErrors();

}  // namespace corvane
