#include "ErrorBox.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <vector>

namespace corvane {
namespace {

void WriteToStandardError(const char* text) { std::fprintf(stderr, "Corvane: %s\n", text); }

std::atomic<CorvaneErrorSink> errorSink{WriteToStandardError};
std::atomic<bool> unloading{false};

thread_local int holds = 0;
thread_local std::vector<std::string> held;

void Deliver(const std::string& text) { (unloading ? WriteToStandardError : errorSink.load())(text.c_str()); }

}  // namespace

HeldErrors::HeldErrors() { ++holds; }

HeldErrors::~HeldErrors() {
  if (--holds > 0) return;
  const std::vector<std::string> texts = std::move(held);
  held.clear();
  for (const std::string& text : texts) Deliver(text);
}

void SetErrorSink(CorvaneErrorSink sink) { errorSink = sink ? sink : WriteToStandardError; }

void TellErrorsOnStandardError() { unloading = true; }

namespace {

std::string Format(const char* format, va_list args) {
  char text[2048];
  std::vsnprintf(text, sizeof text, format, args);
  return text;
}

}  // namespace

void ShowError(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = Format(format, args);
  va_end(args);
  if (holds > 0) held.push_back(std::move(text));
  else Deliver(text);
}

}  // namespace corvane
