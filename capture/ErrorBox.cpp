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

namespace {

std::string Format(const char* format, va_list args) {
  char text[2048];
  std::vsnprintf(text, sizeof text, format, args);
  return text;
}

}  // namespace

std::string ErrorText(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = Format(format, args);
  va_end(args);
  return text;
}

void ShowError(const char* format, ...) {
  va_list args;
  va_start(args, format);
  const std::string text = Format(format, args);
  va_end(args);
  (unloading ? WriteToStandardError : errorSink.load())(text.c_str());
}

}  // namespace corvane
