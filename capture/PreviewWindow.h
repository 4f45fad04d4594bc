// The caller's preview window, looked at without touching the caller's own display connection.
#pragma once

#include <cstdint>
#include <optional>

namespace corvane {

struct WindowSize {
  int width;
  int height;
};

// The client size of an X11 window; empty when there is no display or no such window.
std::optional<WindowSize> ClientSize(std::uintptr_t window);

}  // namespace corvane
