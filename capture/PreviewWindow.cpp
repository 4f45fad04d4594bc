#include "PreviewWindow.h"

#include <cstdlib>

// A connection of our own reports a bad window as a reply error; through Xlib the same mistake would
// run the process's X error handler, which by default ends the program.

namespace corvane {
namespace {

// Null when there is no display.
xcb_connection_t* Connect() {
  if (!std::getenv("DISPLAY")) return nullptr;
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  if (!xcb_connection_has_error(connection)) return connection;
  xcb_disconnect(connection);
  return nullptr;
}

const xcb_screen_t* FirstScreen(xcb_connection_t* connection) {
  return xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
}

// Returns once the server has done every request sent so far: a window made here exists before another
// connection, the drawer's, is told about it, and one destroyed here is gone when the caller goes on.
void Sync(xcb_connection_t* connection) {
  std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

}  // namespace

std::optional<WindowSize> ClientSize(std::uintptr_t window) {
  if (window == 0 || window > UINT32_MAX) return std::nullopt;
  xcb_connection_t* connection = Connect();
  if (!connection) return std::nullopt;
  std::optional<WindowSize> size;
  xcb_generic_error_t* error = nullptr;
  xcb_get_geometry_reply_t* geometry =
      xcb_get_geometry_reply(connection, xcb_get_geometry(connection, static_cast<xcb_drawable_t>(window)), &error);
  if (geometry && geometry->width > 0 && geometry->height > 0) size = WindowSize{geometry->width, geometry->height};
  std::free(geometry);
  std::free(error);
  xcb_disconnect(connection);
  return size;
}

FullScreenWindow::FullScreenWindow(std::uintptr_t owner)
    : connection_(Connect()), owner_(static_cast<std::uint32_t>(owner)) {
  if (!connection_) return;
  // Started before the window is shown, so that a thread that cannot be had leaves nothing on the screen.
  try {
    reader_ = std::thread(&FullScreenWindow::PassOnPresses, this);
  } catch (...) {
    xcb_disconnect(connection_);
    throw;
  }
  const xcb_screen_t* screen = FirstScreen(connection_);
  window_ = xcb_generate_id(connection_);
  // Black until the first frame; placed by nobody but us, as no window manager may be running.
  const std::uint32_t values[] = {screen->black_pixel, 1, XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_BUTTON_PRESS};
  xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window_, screen->root, 0, 0,
                    screen->width_in_pixels, screen->height_in_pixels, 0,
                    XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                    XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
  xcb_map_window(connection_, window_);
  Sync(connection_);
}

FullScreenWindow::~FullScreenWindow() {
  if (!connection_) return;
  // An event sent with no mask goes to the window's creator, which wakes the reader.
  closing_ = true;
  xcb_client_message_event_t wake{};
  wake.response_type = XCB_CLIENT_MESSAGE;
  wake.format = 32;
  wake.window = window_;
  xcb_send_event(connection_, 0, window_, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&wake));
  xcb_flush(connection_);
  reader_.join();
  xcb_destroy_window(connection_, window_);
  Sync(connection_);
  xcb_disconnect(connection_);
}

// Errors of a send to an owner that is gone come here as events too, and are passed over.
void FullScreenWindow::PassOnPresses() {
  while (xcb_generic_event_t* event = xcb_wait_for_event(connection_)) {
    const std::uint8_t type = event->response_type & 0x7f;
    if (type == XCB_KEY_PRESS || type == XCB_BUTTON_PRESS) {
      // A button press is laid out as a key press.
      auto* press = reinterpret_cast<xcb_key_press_event_t*>(event);
      press->response_type = type;
      press->event = owner_;
      press->child = XCB_NONE;
      xcb_send_event(connection_, 0, owner_,
                     type == XCB_KEY_PRESS ? XCB_EVENT_MASK_KEY_PRESS : XCB_EVENT_MASK_BUTTON_PRESS,
                     reinterpret_cast<const char*>(press));
      xcb_flush(connection_);
    }
    std::free(event);
    if (closing_) return;
  }
}

}  // namespace corvane
