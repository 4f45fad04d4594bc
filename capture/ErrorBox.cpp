#include "ErrorBox.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace corvane {
namespace {

void WriteToStandardError(const char* text) { std::fprintf(stderr, "Corvane: %s\n", text); }

std::atomic<CorvaneErrorSink> errorSink{WriteToStandardError};
std::atomic<bool> unloading{false};

}  // namespace

void SetErrorSink(CorvaneErrorSink sink) { errorSink = sink ? sink : WriteToStandardError; }

void TellErrorsOnStandardError() { unloading = true; }

void ShowError(const char* format, ...) {
  char text[2048];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  (unloading ? WriteToStandardError : errorSink.load())(text);
}

}  // namespace corvane
