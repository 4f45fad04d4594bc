#include "MediaFramework.h"

#include "TimeStampFilter.h"

#include <gst/gst.h>

#include <mutex>

namespace corvane {

bool EnsureMediaFramework() {
  static std::once_flag once;
  static bool ready = false;
  std::call_once(once, [] {
    GError* error = nullptr;
    ready = gst_init_check(nullptr, nullptr, &error) && RegisterTimeStampFilter();
    g_clear_error(&error);
  });
  return ready;
}

}  // namespace corvane
