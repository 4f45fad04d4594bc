// Previews drawn into real windows of a private X server, as the counter program's camera panel has them.

#include "CaptureTestSupport.h"

#include <xcb/xcb.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

extern char** environ;

namespace capture_test {
namespace {

using namespace std::chrono_literals;

class PreviewTest : public CaptureTest {
 protected:
  void SetUp() override {
    CaptureTest::SetUp();
    int pipe[2];
    ASSERT_EQ(::pipe(pipe), 0);
    const std::string fd = std::to_string(pipe[1]);
    const char* argv[] = {"Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0", "800x600x24", nullptr};
    ASSERT_EQ(posix_spawnp(&server_, "Xvfb", nullptr, nullptr, const_cast<char**>(argv), environ), 0);
    close(pipe[1]);
    // The server writes its display number and a line feed once it takes connections.
    std::string number;
    for (char digit = 0; ::read(pipe[0], &digit, 1) == 1 && digit != '\n';) number += digit;
    close(pipe[0]);
    ASSERT_FALSE(number.empty());
    setenv("DISPLAY", (":" + number).c_str(), 1);
    display_ = xcb_connect(nullptr, nullptr);
    ASSERT_FALSE(xcb_connection_has_error(display_)) << "DISPLAY=:" << number;
  }

  void TearDown() override {
    CaptureTest::TearDown();
    if (display_) xcb_disconnect(display_);
    if (server_) {
      kill(server_, SIGTERM);
      waitpid(server_, nullptr, 0);
    }
    unsetenv("DISPLAY");
  }

  std::uintptr_t NewWindow() {
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(display_)).data;
    const xcb_window_t window = xcb_generate_id(display_);
    xcb_create_window(display_, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 320, 240, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
    xcb_map_window(display_, window);
    Sync();
    return window;
  }

  void Destroy(std::uintptr_t window) {
    xcb_destroy_window(display_, static_cast<xcb_window_t>(window));
    Sync();
  }

  void Sync() { std::free(xcb_get_input_focus_reply(display_, xcb_get_input_focus(display_), nullptr)); }

  pid_t server_ = 0;
  xcb_connection_t* display_ = nullptr;
};

// The camera runs on for a moment after a stop, waiting for the next start; the panel may close its
// window meanwhile. A renderer that drew into the closed window would end the whole program.
TEST_F(PreviewTest, TheCallerMayCloseItsWindowAsSoonAsTheStopReturns) {
  const std::filesystem::path first = folder_ / "first.wmv", second = folder_ / "second.wmv";
  for (const auto& file : {first, second}) {
    const std::uintptr_t window = NewWindow();
    ASSERT_EQ(StartRecording(0, file.string(), CORVANE_PROFILE, window), 1);
    std::this_thread::sleep_for(500ms);
    corvane_.fnDoStopVideoCapture(0);
    Destroy(window);
  }
  std::this_thread::sleep_for(1500ms);

  for (const auto& file : {first, second}) {
    ASSERT_TRUE(WaitUntilClosed(file));
    EXPECT_TRUE(Discover(file)) << file;
  }
  EXPECT_TRUE(ShownErrors().empty());
}

}  // namespace
}  // namespace capture_test
