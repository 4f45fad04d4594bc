// Previews drawn into real windows of a private X server, as the counter program's camera panel has them.

#include "CaptureTestSupport.h"

#include <xcb/xcb.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <thread>
#include <utility>
#include <vector>

extern char** environ;

namespace capture_test {
namespace {

using namespace std::chrono_literals;

class PreviewTest : public CaptureTest {
 protected:
  explicit PreviewTest(std::vector<const char*> server = {"-screen", "0", "800x600x24"}) : serverOptions_(server) {}

  void SetUp() override {
    CaptureTest::SetUp();
    int pipe[2];
    ASSERT_EQ(::pipe(pipe), 0);
    const std::string fd = std::to_string(pipe[1]);
    std::vector<const char*> argv = {"Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp"};
    argv.insert(argv.end(), serverOptions_.begin(), serverOptions_.end());
    argv.push_back(nullptr);
    ASSERT_EQ(posix_spawnp(&server_, "Xvfb", nullptr, nullptr, const_cast<char**>(argv.data()), environ), 0);
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
    // A stopped camera runs on for a moment; its full-screen window goes with it.
    if (display_) {
      EXPECT_TRUE(Eventually([&] { return LibraryWindows().empty(); }));
      xcb_disconnect(display_);
    }
    if (server_) {
      kill(server_, SIGTERM);
      waitpid(server_, nullptr, 0);
    }
    unsetenv("DISPLAY");
  }

  xcb_screen_t* Screen() { return xcb_setup_roots_iterator(xcb_get_setup(display_)).data; }

  // Black where nothing is drawn: a window uncovered keeps no stale picture of what lay over it.
  std::uintptr_t NewWindow() {
    xcb_screen_t* screen = Screen();
    const xcb_window_t window = xcb_generate_id(display_);
    xcb_create_window(display_, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 320, 240, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL, &screen->black_pixel);
    xcb_map_window(display_, window);
    Sync();
    return window;
  }

  void Destroy(std::uintptr_t window) {
    xcb_destroy_window(display_, static_cast<xcb_window_t>(window));
    Sync();
  }

  void Sync() { std::free(xcb_get_input_focus_reply(display_, xcb_get_input_focus(display_), nullptr)); }

  // The top-level windows this test did not make.
  std::vector<xcb_window_t> LibraryWindows() {
    const xcb_setup_t* setup = xcb_get_setup(display_);
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(display_, xcb_query_tree(display_, Screen()->root), nullptr);
    std::vector<xcb_window_t> windows;
    for (int child = 0; tree && child < tree->children_len; ++child) {
      const xcb_window_t window = xcb_query_tree_children(tree)[child];
      if ((window & ~setup->resource_id_mask) != setup->resource_id_base) windows.push_back(window);
    }
    std::free(tree);
    return windows;
  }

  std::vector<xcb_window_t> FullScreenWindows() {
    std::vector<xcb_window_t> windows;
    for (xcb_window_t window : LibraryWindows()) {
      xcb_get_window_attributes_reply_t* attributes =
          xcb_get_window_attributes_reply(display_, xcb_get_window_attributes(display_, window), nullptr);
      xcb_get_geometry_reply_t* geometry =
          xcb_get_geometry_reply(display_, xcb_get_geometry(display_, window), nullptr);
      if (attributes && geometry && attributes->map_state == XCB_MAP_STATE_VIEWABLE &&
          geometry->width == Screen()->width_in_pixels && geometry->height == Screen()->height_in_pixels)
        windows.push_back(window);
      std::free(attributes);
      std::free(geometry);
    }
    return windows;
  }

  using Colour = std::array<int, 3>;

  // The middle of each of the seven colour bars of test camera 0 halfway down, wherever the picture is
  // scaled to fill the window; empty when the window cannot be read.
  std::vector<Colour> Bars(std::uintptr_t window) {
    xcb_get_geometry_reply_t* geometry =
        xcb_get_geometry_reply(display_, xcb_get_geometry(display_, static_cast<xcb_window_t>(window)), nullptr);
    if (!geometry) return {};
    const int width = geometry->width, height = geometry->height, depth = geometry->depth;
    std::free(geometry);
    xcb_get_image_reply_t* image = xcb_get_image_reply(
        display_, xcb_get_image(display_, XCB_IMAGE_FORMAT_Z_PIXMAP, static_cast<xcb_window_t>(window), 0, 0,
                                static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height), ~0u),
        nullptr);
    if (!image) return {};
    const std::uint8_t* pixels = xcb_get_image_data(image);
    const int bytesPerPixel = xcb_get_image_data_length(image) / (width * height);
    std::vector<Colour> bars;
    for (int bar = 0; bar < 7; ++bar) {
      const std::uint8_t* pixel = pixels + ((height / 2) * width + (2 * bar + 1) * width / 14) * bytesPerPixel;
      if (depth == 30) {
        // Ten bits a colour, red highest, in a little-endian word: their top eight.
        const std::uint32_t word = pixel[0] | pixel[1] << 8 | pixel[2] << 16 | std::uint32_t{pixel[3]} << 24;
        bars.push_back({static_cast<int>(word >> 22 & 0xff), static_cast<int>(word >> 12 & 0xff),
                        static_cast<int>(word >> 2 & 0xff)});
      } else {
        bars.push_back({pixel[2], pixel[1], pixel[0]});
      }
    }
    std::free(image);
    return bars;
  }

  // Every bar is bright in at least one colour; a black window is not.
  static bool IsPicture(const std::vector<Colour>& bars) {
    return bars.size() == 7 && std::all_of(bars.begin(), bars.end(), [](const Colour& bar) {
             return *std::max_element(bar.begin(), bar.end()) > 128;
           });
  }

  static bool SamePicture(const std::vector<Colour>& bars, const std::vector<Colour>& expected) {
    return std::equal(bars.begin(), bars.end(), expected.begin(), expected.end(), [](const Colour& a, const Colour& b) {
      return std::abs(a[0] - b[0]) <= 24 && std::abs(a[1] - b[1]) <= 24 && std::abs(a[2] - b[2]) <= 24;
    });
  }

  // Frames take a moment to reach a window.
  template <typename Check>
  static bool Eventually(Check check) {
    for (const auto deadline = std::chrono::steady_clock::now() + 5s; std::chrono::steady_clock::now() < deadline;) {
      if (check()) return true;
      std::this_thread::sleep_for(20ms);
    }
    return false;
  }

  // The owner's picture once the camera draws into it.
  std::vector<Colour> FirstPicture(std::uintptr_t window) {
    std::vector<Colour> bars;
    EXPECT_TRUE(Eventually([&] { return IsPicture(bars = Bars(window)); }));
    return bars;
  }

  bool KeyPressArrived(std::uintptr_t window, xcb_keycode_t key) {
    bool arrived = false;
    while (xcb_generic_event_t* event = xcb_poll_for_event(display_)) {
      const auto* press = reinterpret_cast<const xcb_key_press_event_t*>(event);
      arrived = arrived ||
                ((event->response_type & 0x7f) == XCB_KEY_PRESS && press->event == window && press->detail == key);
      std::free(event);
    }
    return arrived;
  }

  std::vector<const char*> serverOptions_;
  pid_t server_ = 0;
  xcb_connection_t* display_ = nullptr;
};

// A display of 256 colours in a colour map, where no frame can be drawn as it is.
class ColourMapPreviewTest : public PreviewTest {
 protected:
  ColourMapPreviewTest() : PreviewTest({"-screen", "0", "800x600x8"}) {}
};

// A display of 30 colour bits a pixel, ten a colour.
class DeepColourPreviewTest : public PreviewTest {
 protected:
  DeepColourPreviewTest() : PreviewTest({"-screen", "0", "800x600x30"}) {}
};

// A display that shares no memory with the library (one on another machine) and takes requests of 4 MB
// at most: a frame goes by the connection, the full screen's cut into strips.
class PlainPreviewTest : public PreviewTest {
 protected:
  PlainPreviewTest() : PreviewTest({"-screen", "0", "2048x1536x24", "-extension", "MIT-SHM", "-maxbigreqsize", "1"}) {}
};

// The camera runs on for a moment after a stop, waiting for the next start; the panel may close its
// window meanwhile, which is no window gone from a preview.
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

// A host may destroy the window while the camera previews in it: the preview stops and is told once, the
// camera records on, the host's own X errors reach its own handler and no other, and the host ends. Its
// threads start eight previews at once, while it makes X errors of its own; it sets its handler before
// the previews, or once they show, and then Xlib's, which ends the process at the host's next error.
TEST_F(PreviewTest, AWindowTheHostDestroysStopsThePreviewAndTheRecordingGoesOn) {
  for (const auto& [mode, exitCode] : {std::pair{"window", 0}, {"late", 1}}) {
    SCOPED_TRACE(mode);
    const std::filesystem::path previewed = folder_ / (std::string(mode) + ".wmv"), other = folder_ / "other.wmv";
    const auto started = std::chrono::steady_clock::now();
    const HostOutput host = RunHost(folder_, {previewed.string(), other.string(), mode});
    std::cout << "the host ended after " << std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count() << " s\n";
    EXPECT_EQ(host.exitCode, exitCode) << host.err;
    int heard = 0, made = 0;
    EXPECT_EQ(std::sscanf(host.out.c_str(), "sink: Error 80070578: Camera 0 shows no preview: its window is gone\n"
                                            "host X errors: heard %d of %d\n", &heard, &made), 2) << host.out;
    EXPECT_GT(made, 1);
    EXPECT_EQ(heard, made);
    for (const auto& file : {previewed, other}) EXPECT_GT(Discover(file).value_or(MediaInfo{}).seconds, 1.0) << file;
    std::filesystem::remove(other);
  }
}

// The text comes on a thread of the library, whose end as the process ends must not wait for itself.
TEST_F(PreviewTest, AHostMayEndTheProcessFromItsSinkOnAThreadOfTheLibrary) {
  const std::filesystem::path previewed = folder_ / "previewed.wmv", other = folder_ / "other.wmv";
  const HostOutput host = RunHost(folder_, {previewed.string(), other.string(), "exit"});
  EXPECT_EQ(host.exitCode, 3) << "124: the host hung as it ended\n" << host.out << host.err;
  EXPECT_EQ(host.out, "sink: Error 80070578: Camera 0 shows no preview: its window is gone\n");
  for (const auto& file : {previewed, other}) EXPECT_GT(Discover(file).value_or(MediaInfo{}).seconds, 0.2) << file;
}

TEST_F(ColourMapPreviewTest, AWindowOfAColourMapShowsNoPreviewWhichIsToldAndTheCameraRecords) {
  const std::filesystem::path file = folder_ / "colour map.wmv";
  ASSERT_EQ(StartRecording(0, file.string(), CORVANE_PROFILE, NewWindow()), 1);
  EXPECT_EQ(NextShownError(), "Error 80070578: Camera 0 shows no preview: its window's colours cannot be drawn");
  std::this_thread::sleep_for(1s);
  corvane_.fnDoStopVideoCapture(0);
  ASSERT_TRUE(WaitUntilClosed(file));
  EXPECT_NEAR(Discover(file).value_or(MediaInfo{}).seconds, 1.0, 0.4);
  EXPECT_EQ(ShownErrors().size(), 1u);
}

TEST_F(DeepColourPreviewTest, AWindowOfTenBitsAColourShowsThePictureInItsColours) {
  const std::uintptr_t owner = NewWindow();
  ASSERT_EQ(StartRecording(0, (folder_ / "deep.wmv").string(), CORVANE_PROFILE, owner), 1);
  // The test camera's bars: white, yellow, cyan, green, magenta, red, blue.
  const std::vector<Colour> bars{{255, 255, 255}, {255, 255, 0}, {0, 255, 255}, {0, 255, 0},
                                 {255, 0, 255},   {255, 0, 0},   {0, 0, 255}};
  EXPECT_TRUE(SamePicture(FirstPicture(owner), bars));
  EXPECT_TRUE(ShownErrors().empty());
}

TEST_F(PlainPreviewTest, FullScreenFillsTheScreenWithThePictureAndPassesKeysToTheWindow) {
  ASSERT_EQ(StartRecording(1, (folder_ / "no window.wmv").string()), 1);
  EXPECT_EQ(corvane_.fnShowFullScreen(0), 0);
  EXPECT_EQ(corvane_.fnShowFullScreen(1), 0);
  EXPECT_TRUE(FullScreenWindows().empty());

  const std::uintptr_t owner = NewWindow();
  const std::uint32_t keys = XCB_EVENT_MASK_KEY_PRESS;
  xcb_change_window_attributes(display_, static_cast<xcb_window_t>(owner), XCB_CW_EVENT_MASK, &keys);
  ASSERT_EQ(StartRecording(0, (folder_ / "full.wmv").string(), CORVANE_PROFILE, owner), 1);
  const std::vector<Colour> picture = FirstPicture(owner);

  EXPECT_EQ(corvane_.fnShowFullScreen(0), 0);
  const std::vector<xcb_window_t> full = FullScreenWindows();
  ASSERT_EQ(full.size(), 1u);
  EXPECT_TRUE(Eventually([&] { return SamePicture(Bars(full[0]), picture); }));
  EXPECT_EQ(corvane_.fnShowFullScreen(0), 0);
  EXPECT_EQ(FullScreenWindows(), full);

  constexpr xcb_keycode_t kEscape = 9;
  xcb_key_press_event_t press{};
  press.response_type = XCB_KEY_PRESS;
  press.detail = kEscape;
  press.root = Screen()->root;
  press.event = full[0];
  press.same_screen = 1;
  xcb_send_event(display_, 0, full[0], XCB_EVENT_MASK_KEY_PRESS, reinterpret_cast<const char*>(&press));
  xcb_flush(display_);
  EXPECT_TRUE(Eventually([&] { return KeyPressArrived(owner, kEscape); }));

  EXPECT_EQ(corvane_.fnHideFullScreen(0), 0);
  EXPECT_TRUE(FullScreenWindows().empty());
  EXPECT_TRUE(Eventually([&] { return SamePicture(Bars(owner), picture); }));
  EXPECT_TRUE(ShownErrors().empty());
}

// The next start draws into its window again, and may preview in another one: the camera carries on into
// the new file frame by frame, also when the preview moves again and again into a window just resized,
// where it fills the window's new size, into one that is gone, and into another when the X server went.
TEST_F(PreviewTest, AStopEndsTheFullScreenAndTheNextStartDrawsIntoItsWindow) {
  const std::uintptr_t owner = NewWindow();
  const std::filesystem::path first = folder_ / "first.wmv", second = folder_ / "second.wmv";
  ASSERT_EQ(StartRecording(0, (folder_ / "full.wmv").string(), CORVANE_PROFILE, owner), 1);
  const std::vector<Colour> picture = FirstPicture(owner);
  corvane_.fnShowFullScreen(0);
  const std::vector<xcb_window_t> full = FullScreenWindows();
  ASSERT_EQ(full.size(), 1u);
  ASSERT_TRUE(Eventually([&] { return SamePicture(Bars(full[0]), picture); }));

  corvane_.fnDoStopVideoCapture(0);
  EXPECT_TRUE(FullScreenWindows().empty());
  ASSERT_EQ(StartRecording(0, first.string(), CORVANE_PROFILE, owner), 1);
  EXPECT_TRUE(Eventually([&] { return SamePicture(Bars(owner), picture); }));
  corvane_.fnDoStopVideoCapture(0);
  const std::uintptr_t other = NewWindow();
  ASSERT_EQ(StartRecording(0, second.string(), CORVANE_PROFILE, other), 1);
  EXPECT_TRUE(Eventually([&] { return SamePicture(Bars(other), picture); }));
  std::vector<std::filesystem::path> files = {first, second};
  for (std::uint32_t move = 0; move < 8; ++move) {
    const std::uintptr_t window = move % 2 ? other : owner;
    // Raised too, as the picture is read from the screen.
    const std::uint32_t change[] = {200 + 50 * move, 150 + 30 * move, XCB_STACK_MODE_ABOVE};
    xcb_configure_window(display_, static_cast<xcb_window_t>(window),
                         XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT | XCB_CONFIG_WINDOW_STACK_MODE, change);
    Sync();
    files.push_back(folder_ / ("move " + std::to_string(move) + ".wmv"));
    ASSERT_EQ(StartRecording(0, files.back().string(), CORVANE_PROFILE, window), 1);
    EXPECT_TRUE(Eventually([&] { return SamePicture(Bars(window), picture); })) << move;
  }
  Destroy(owner);
  for (const char* gone : {"gone.wmv", "gone again.wmv"})
    ASSERT_EQ(StartRecording(0, files.emplace_back(folder_ / gone).string(), CORVANE_PROFILE, owner), 1);
  kill(server_, SIGKILL);
  waitpid(std::exchange(server_, 0), nullptr, 0);
  files.push_back(folder_ / "no server.wmv");
  ASSERT_EQ(StartRecording(0, files.back().string(), CORVANE_PROFILE, other), 1);
  EXPECT_EQ(NextShownError(), "Error 80070578: Camera 0 shows no preview: its window is gone");
  corvane_.fnDoStopVideoCapture(0);
  for (std::size_t file = 1; file < files.size(); ++file) {
    const std::optional<FrameTimes> before = WaitUntilClosed(files[file - 1]) ? ReadFrameTimes(files[file - 1]) : std::nullopt;
    const std::optional<FrameTimes> after = WaitUntilClosed(files[file]) ? ReadFrameTimes(files[file]) : std::nullopt;
    ASSERT_TRUE(before && after) << files[file];
    // One frame apart, to the container's whole milliseconds.
    EXPECT_NEAR(static_cast<double>(after->first - before->last), 1e9 / 30, 1.5e6) << files[file];
  }
  EXPECT_EQ(ShownErrors().size(), 2u);
}

}  // namespace
}  // namespace capture_test
