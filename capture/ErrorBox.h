// The one place where the library tells its user about a failure.
#pragma once

#include "Corvane.h"

#include <cstdint>
#include <string>

namespace corvane {

// Result codes shown in the messages, in the form the host's users know from other programs.
constexpr std::uint32_t kFail = 0x80004005;
constexpr std::uint32_t kNoPointer = 0x80004003;
constexpr std::uint32_t kTimeout = 0x800705B4;
constexpr std::uint32_t kDiskFull = 0x80070070;
constexpr std::uint32_t kInvalidWindow = 0x80070578;
constexpr std::uint32_t kInvalidArgument = 0x80070057;
constexpr std::uint32_t kNotConnected = 0x8007048F;

void SetErrorSink(CorvaneErrorSink sink);

// printf-style; the text is cut at 2047 characters. Called on whichever thread met the failure; a thread
// that holds one of the library's locks holds the text back (HeldErrors) until it has let go of them, as
// the host's sink may call the exports again.
[[gnu::format(printf, 1, 2)]] void ShowError(const char* format, ...);
// Holds back what this thread tells until its outermost hold ends. Made before a lock is taken, it
// delivers the texts once the lock is let go again.
class HeldErrors {
 public:
  HeldErrors();
  HeldErrors(const HeldErrors&) = delete;
  HeldErrors& operator=(const HeldErrors&) = delete;
  ~HeldErrors();
};

// From now on failures go to standard error: the library is being unloaded, and the host's sink may
// belong to a host that has ended already.
void TellErrorsOnStandardError();

}  // namespace corvane
