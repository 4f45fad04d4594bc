// A host of the capture library that ends while its cameras record, for the tests of what the library
// does as it unloads. A program of its own, so that it starts without the threads of earlier tests.
//   recording_host <profile> <file of camera 0> <file of camera 1> [<folder to fill> | window | threads]
// Camera 0 records on to the end. Camera 1, when a folder to fill is given, records 300 ms and then the
// folder's file system is filled just before the host ends; otherwise it records 1 s and is stopped.
// With "threads" instead of a folder, two threads meanwhile start, restart and stop camera 0 at random
// into "<file of camera 0>-<n>.wmv" for a while; the host ends as one is done, while the other calls on.
// Texts the library gives its sink are written to standard output as "sink: ...".
// With "window", eight threads start eight cameras at once, each previewing in a window of its own (those
// past camera 1 record into "<file of camera 1>-<n>.wmv"), and then show cameras 1 to 7 full screen and
// back, one after another, while the host keeps making X errors of its own; the host destroys camera 0's
// window after 300 ms and then asks about it once itself. "host X errors: heard n of m" ends the output:
// the errors that reached the host's handler, of those it made. "late" is "window" with the host's handler
// set only once the previews show, and Xlib's own, which ends the process with 1, set and met at the
// end. "exit" is "window" with a sink that ends the process with 3 when a text comes on a thread of the
// library, and without the full screens.

#include "CorvaneLibrary.h"

#include <X11/Xlib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

void Fill(const std::filesystem::path& folder) {
  std::ofstream filler(folder / "filler", std::ios::binary);
  const std::string block(4096, 'x');
  while (filler.write(block.data(), static_cast<std::streamsize>(block.size())) && filler.flush()) {
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 && argc != 5) return 2;
  const std::string mode = argc == 5 ? argv[4] : "";
  const bool late = mode == "late";
  const bool windows = mode == "window" || mode == "exit" || late;
  const int cameras = windows ? 8 : 2;
  setenv("CORVANE_TEST_DEVICES", std::to_string(cameras).c_str(), 1);
  static int hostErrors = 0;
  int errorsMade = 0;
  static const std::thread::id hostThread = std::this_thread::get_id();
  Display* display = windows ? XOpenDisplay(nullptr) : nullptr;
  std::vector<Window> previews(static_cast<std::size_t>(cameras), 0);
  Window missing = 0;
  const auto countErrors = [] { XSetErrorHandler([](Display*, XErrorEvent*) { return ++hostErrors, 0; }); };
  if (display) {
    if (!late) countErrors();
    for (Window& window : previews) {
      window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 320, 240, 0, 0, 0);
      XMapWindow(display, window);
    }
    missing = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    XDestroyWindow(display, missing);
    XSync(display, False);
  }
  // One error per call, heard before the call returns.
  const auto makeErrorsUntil = [&](auto&& done) {
    for (XWindowAttributes attributes; !done(); ++errorsMade) XGetWindowAttributes(display, missing, &attributes);
  };
  CorvaneLibrary corvane;
  static const bool exitFromSink = mode == "exit";
  corvane.fnSetErrorSink([](const char* text) {
    std::printf("sink: %s\n", text);
    if (exitFromSink && std::this_thread::get_id() != hostThread) std::exit(3);
  });
  std::atomic<int> started = 0;
  const auto start = [&](int camera) {
    const std::string file = camera < 2 ? argv[2 + camera] : std::string(argv[3]) + "-" + std::to_string(camera) + ".wmv";
    corvane.fnSetWMProfile(camera, argv[1]);
    corvane.fnSetVideoName(camera, file.c_str());
    // Previews that start together set up together.
    for (++started; started < cameras;) std::this_thread::yield();
    return corvane.fnDoStartVideoCapture(camera, previews[static_cast<std::size_t>(camera)]) == 1;
  };
  std::vector<std::future<bool>> others;
  for (int camera = 1; camera < cameras; ++camera) others.push_back(std::async(std::launch::async, start, camera));
  bool all = start(0);
  const auto ready = [](const auto& work) {
    return work.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
  };
  if (mode == "window") makeErrorsUntil([&] { return std::all_of(others.begin(), others.end(), ready); });
  for (auto& other : others) all = other.get() && all;
  if (!all) return 1;
  if (late) countErrors();
  if (mode == "window" || late) {
    const std::future<void> sizes = std::async(std::launch::async, [&] {
      for (int camera = 1; camera < cameras; ++camera) {
        corvane.fnShowFullScreen(camera);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        corvane.fnHideFullScreen(camera);
      }
    });
    makeErrorsUntil([&] { return ready(sizes); });
  }
  if (display) {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    XDestroyWindow(display, previews[0]);
    XWindowAttributes gone;
    XGetWindowAttributes(display, previews[0], &gone);
    ++errorsMade;
  }
  if (mode == "exit") {
    // The sink ends the process; a host that is still here then has hung.
    std::this_thread::sleep_for(std::chrono::seconds(30));
  } else if (mode == "threads") {
    std::atomic<int> files = 0;
    const auto calls = [&](unsigned seed) {
      std::mt19937 pick(seed);
      for (int call = 0; call < 100; ++call) {
        corvane.fnSetWMProfile(0, argv[1]);
        corvane.fnSetVideoName(0, (std::string(argv[2]) + "-" + std::to_string(files++) + ".wmv").c_str());
        const unsigned kind = pick() % 4;
        kind < 2 ? corvane.fnDoStartVideoCapture(0, 0)
                 : kind == 2 ? corvane.fnDoStopRestartVideoCapture(0) : corvane.fnDoStopVideoCapture(0);
        std::this_thread::sleep_for(std::chrono::milliseconds(pick() % 20));
      }
    };
    std::thread other(calls, 1);
    calls(2);
    std::exit(0);
  } else if (argc == 5 && !display) {
    // The writer holds the first frames back until its first packet is full: the disk fills before it goes out.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    Fill(argv[4]);
  } else {
    std::this_thread::sleep_for(std::chrono::seconds(1));
    corvane.fnDoStopVideoCapture(1);
  }
  if (display) std::printf("host X errors: heard %d of %d\n", hostErrors, errorsMade);
  std::fflush(stdout);
  if (late) {
    XSetErrorHandler(nullptr);
    makeErrorsUntil([] { return false; });
  }
  return 0;
}
