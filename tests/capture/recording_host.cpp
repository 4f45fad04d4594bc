// A host of the capture library that ends while its cameras record, for the tests of what the library
// does as it unloads. A program of its own, so that it starts without the threads of earlier tests.
//   recording_host <profile> <file of camera 0> <file of camera 1> [<folder to fill>]
// Camera 0 records on to the end. Camera 1, when a folder to fill is given, records 300 ms and then the
// folder's file system is filled just before the host ends; otherwise it records 1 s and is stopped.
// With "threads" instead of a folder, two threads meanwhile start, restart and stop camera 0 at random
// into "<file of camera 0>-<n>.wmv" for a while, and the host ends while it may be recording.
// Texts the library gives its sink are written to standard output as "sink: ...".

#include "CorvaneLibrary.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>

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
  setenv("CORVANE_TEST_DEVICES", "2", 1);
  CorvaneLibrary corvane;
  corvane.fnSetErrorSink([](const char* text) { std::printf("sink: %s\n", text); });
  for (int camera = 0; camera < 2; ++camera) {
    corvane.fnSetWMProfile(camera, argv[1]);
    corvane.fnSetVideoName(camera, argv[2 + camera]);
    if (corvane.fnDoStartVideoCapture(camera, 0) != 1) return 1;
  }
  if (argc == 5 && std::string(argv[4]) == "threads") {
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
    std::thread other(calls, 2);
    calls(1);
    other.join();
  } else if (argc == 5) {
    // The writer holds the first frames back in a buffer of its own: the disk fills before they go out.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    Fill(argv[4]);
  } else {
    std::this_thread::sleep_for(std::chrono::seconds(1));
    corvane.fnDoStopVideoCapture(1);
  }
  std::fflush(stdout);
  return 0;
}
