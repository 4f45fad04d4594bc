#include "ErrorBox.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

namespace corvane {
namespace {

void WriteToStandardError(const char* text) { std::fprintf(stderr, "Corvane: %s\n", text); }

std::atomic<CorvaneErrorSink> errorSink{WriteToStandardError};

thread_local bool holdsErrors = false;
std::mutex heldLock;
std::vector<std::string> held;

}  // namespace

void HoldErrorsOfThisThread() { holdsErrors = true; }

void ShowHeldErrors() {
  std::vector<std::string> texts;
  {
    std::lock_guard guard(heldLock);
    texts.swap(held);
  }
  for (const std::string& text : texts) errorSink.load()(text.c_str());
}

void SetErrorSink(CorvaneErrorSink sink) { errorSink = sink ? sink : WriteToStandardError; }

void ShowError(const char* format, ...) {
  char text[2048];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  if (holdsErrors) {
    std::lock_guard guard(heldLock);
    held.emplace_back(text);
    return;
  }
  errorSink.load()(text);
}

}  // namespace corvane
