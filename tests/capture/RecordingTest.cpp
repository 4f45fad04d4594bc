// Recordings of the test cameras, read back with gst-discoverer-1.0.

#include "CaptureTestSupport.h"

#include <chrono>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iostream>
#include <thread>

namespace capture_test {
namespace {

using namespace std::chrono_literals;
using RecordingTest = CaptureTest;

void ExpectPlayable(const std::filesystem::path& file, double seconds, int width = 320, int height = 240,
                    double framesPerSecond = 30) {
  SCOPED_TRACE(file.string());
  ASSERT_TRUE(WaitUntilClosed(file));
  const std::optional<MediaInfo> info = Discover(file);
  ASSERT_TRUE(info);
  EXPECT_NEAR(info->seconds, seconds, 0.4);
  EXPECT_EQ(info->width, width);
  EXPECT_EQ(info->height, height);
  EXPECT_NEAR(info->framesPerSecond, framesPerSecond, 0.01);
}

std::size_t OpenFiles() {
  const std::filesystem::directory_iterator fds("/proc/self/fd");
  return static_cast<std::size_t>(std::distance(begin(fds), end(fds)));
}

long ResidentKilobytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.starts_with("VmRSS:")) return std::stol(line.substr(6));
  return -1;
}

// 160x120 at 15 frames per second.
constexpr const char* kSmallProfile =
    "<profile version=\"589824\"><streamconfig majortype=\"{73646976-0000-0010-8000-00AA00389B71}\">"
    "<wmmediatype><videoinfoheader dwbitrate=\"100000\" avgtimeperframe=\"666666\">"
    "<bitmapinfoheader biwidth=\"160\" biheight=\"120\"/></videoinfoheader></wmmediatype></streamconfig></profile>";

void WriteUtf16Profile(const std::filesystem::path& file, const std::string& ascii) {
  std::ofstream out(file, std::ios::binary);
  out.put('\xFF').put('\xFE');
  for (char c : ascii) out.put(c).put('\0');
}

TEST_F(RecordingTest, ThreeSecondsGiveAPlayableFileOfThreeSeconds) {
  const std::filesystem::path file = folder_ / "Device 0-2026-3-5--09-05-07.WMV";
  ASSERT_EQ(StartRecording(0, file.string()), 1);
  std::this_thread::sleep_for(3s);
  EXPECT_EQ(corvane_.fnDoStopVideoCapture(0), 1);
  ExpectPlayable(file, 3.0);
  EXPECT_TRUE(ShownErrors().empty());
}

TEST_F(RecordingTest, StopAndStartEachIntervalGiveOnePlayableFilePerRound) {
  std::vector<std::filesystem::path> files;
  for (int round = 0; round < 3; ++round) {
    files.push_back(folder_ / ("round " + std::to_string(round) + ".wmv"));
    ASSERT_EQ(StartRecording(1, files.back().string()), 1);
    std::this_thread::sleep_for(1s);
    EXPECT_EQ(corvane_.fnDoStopVideoCapture(1), 1);
  }
  for (const auto& file : files) ExpectPlayable(file, 1.0);
  EXPECT_TRUE(ShownErrors().empty());
}

TEST_F(RecordingTest, TwoCamerasRecordAtOnce) {
  const std::filesystem::path first = folder_ / "camera 0.wmv", second = folder_ / "camera 1.wmv";
  ASSERT_EQ(StartRecording(0, first.string()), 1);
  ASSERT_EQ(StartRecording(1, second.string()), 1);
  std::this_thread::sleep_for(2s);
  corvane_.fnDoStopVideoCapture(0);
  corvane_.fnDoStopVideoCapture(1);
  ExpectPlayable(first, 2.0);
  ExpectPlayable(second, 2.0);
}

TEST_F(RecordingTest, ASecondStartFinalisesTheFirstFile) {
  const std::filesystem::path first = folder_ / "first.wmv", second = folder_ / "second.wmv";
  ASSERT_EQ(StartRecording(0, first.string()), 1);
  std::this_thread::sleep_for(1s);
  ASSERT_EQ(StartRecording(0, second.string()), 1);
  ExpectPlayable(first, 1.0);
  std::this_thread::sleep_for(1s);
  corvane_.fnDoStopVideoCapture(0);
  ExpectPlayable(second, 1.0);
}

TEST_F(RecordingTest, RestartFinalisesTheFileAndRecordsIntoTheNameSetLast) {
  const std::filesystem::path first = folder_ / "before.wmv", second = folder_ / "after.wmv";
  ASSERT_EQ(StartRecording(0, first.string()), 1);
  std::this_thread::sleep_for(1s);
  corvane_.fnSetVideoName(0, second.c_str());
  EXPECT_EQ(corvane_.fnDoStopRestartVideoCapture(0), 1);
  std::this_thread::sleep_for(1s);
  corvane_.fnDoStopVideoCapture(0);
  ExpectPlayable(first, 1.0);
  ExpectPlayable(second, 1.0);
}

TEST_F(RecordingTest, TheProfileSetsTheRecordedSizeAndAnUnreadableOneKeepsTheShippedSize) {
  const std::filesystem::path small = folder_ / "small.prx", ascii = folder_ / "ascii.prx";
  WriteUtf16Profile(small, kSmallProfile);
  std::ofstream(ascii) << kSmallProfile;

  const std::filesystem::path fromSmall = folder_ / "small.wmv", fromAscii = folder_ / "ascii.wmv";
  ASSERT_EQ(StartRecording(0, fromSmall.string(), small.string()), 1);
  ASSERT_EQ(StartRecording(1, fromAscii.string(), ascii.string()), 1);
  std::this_thread::sleep_for(1s);
  corvane_.fnDoStopVideoCapture(0);
  corvane_.fnDoStopVideoCapture(1);
  ExpectPlayable(fromSmall, 1.0, 160, 120, 15);
  ExpectPlayable(fromAscii, 1.0, 320, 240);
}

TEST_F(RecordingTest, ARecordingIsNeverWrittenOver) {
  const std::filesystem::path first = folder_ / "first.wmv", shared = folder_ / "shared.wmv";
  const std::string exists = "Error 80070050: Cannot record into \"" + first.string() + "\": the file exists";
  ASSERT_EQ(StartRecording(0, first.string()), 1);
  std::this_thread::sleep_for(1s);
  EXPECT_EQ(corvane_.fnDoStopRestartVideoCapture(0), 0);
  EXPECT_EQ(StartRecording(0, first.string()), 0);
  EXPECT_EQ(ShownErrors(), (std::vector<std::string>{exists, exists}));
  std::this_thread::sleep_for(1s);
  corvane_.fnDoStopVideoCapture(0);
  ExpectPlayable(first, 2.0);

  ASSERT_EQ(StartRecording(0, first.string()), 0);
  ASSERT_EQ(StartRecording(0, shared.string()), 1);
  EXPECT_EQ(StartRecording(1, shared.string()), 0);
  std::this_thread::sleep_for(1s);
  corvane_.fnDoStopVideoCapture(0);
  ExpectPlayable(first, 2.0);
  ExpectPlayable(shared, 1.0);
  EXPECT_EQ(ShownErrors().size(), 4u);
}

// The host may end right after a stop, or while a camera records: the library finalises both files as it
// unloads. The host is a child process that this test starts before any camera runs here.
TEST_F(RecordingTest, FilesAreFinalisedWhenTheHostEnds) {
  const std::filesystem::path recording = folder_ / "recording.wmv", stopped = folder_ / "stopped.wmv";
  const pid_t host = fork();
  ASSERT_GE(host, 0);
  if (host == 0) {
    const bool started = StartRecording(0, recording.string()) == 1 && StartRecording(1, stopped.string()) == 1;
    std::this_thread::sleep_for(1s);
    corvane_.fnDoStopVideoCapture(1);
    std::exit(started ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(host, &status, 0), host);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  ExpectPlayable(recording, 1.0);
  ExpectPlayable(stopped, 1.0);
}

// The counter program writes its names with "\" between folders.
TEST_F(RecordingTest, BackslashesSeparateFolders) {
  std::filesystem::create_directories(folder_ / "Video");
  std::filesystem::create_directories(folder_ / "Setting");
  WriteUtf16Profile(folder_ / "Setting" / "IsCapture.prx", kSmallProfile);
  const std::filesystem::path home = std::filesystem::current_path();
  std::filesystem::current_path(folder_);
  ASSERT_EQ(StartRecording(0, "Video\\Device 0-2026-3-5--09-05-07.WMV", "Setting\\IsCapture.prx"), 1);
  std::this_thread::sleep_for(1s);
  corvane_.fnDoStopVideoCapture(0);
  std::filesystem::current_path(home);
  ExpectPlayable(folder_ / "Video" / "Device 0-2026-3-5--09-05-07.WMV", 1.0, 160, 120, 15);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), std::filesystem::directory_iterator()), 2);
}

// Each interval of the counter program builds and tears down a whole graph; a day of one-minute files
// must not use up descriptors or memory.
TEST_F(RecordingTest, HundredRotationsKeepOpenFilesAndMemoryFlat) {
  const auto cycle = [&](int round) {
    const std::filesystem::path file = folder_ / ("rotation " + std::to_string(round) + ".wmv");
    ASSERT_EQ(StartRecording(0, file.string()), 1);
    std::this_thread::sleep_for(50ms);
    corvane_.fnDoStopVideoCapture(0);
    if (round % 10 != 9) std::filesystem::remove(file);
  };
  for (int round = 0; round < 10; ++round) cycle(round);
  const std::size_t filesBefore = OpenFiles();
  const long memoryBefore = ResidentKilobytes();
  for (int round = 10; round < 110; ++round) cycle(round);
  ASSERT_TRUE(WaitUntilClosed(folder_ / "rotation 109.wmv"));
  const std::size_t filesAfter = OpenFiles();
  const long memoryAfter = ResidentKilobytes();

  std::cout << "100 rotations: open files " << filesBefore << " -> " << filesAfter << ", resident memory "
            << memoryBefore << " kB -> " << memoryAfter << " kB\n";
  RecordProperty("open_files_before", static_cast<int>(filesBefore));
  RecordProperty("open_files_after", static_cast<int>(filesAfter));
  RecordProperty("resident_kb_before", static_cast<int>(memoryBefore));
  RecordProperty("resident_kb_after", static_cast<int>(memoryAfter));
  EXPECT_LE(filesAfter, filesBefore + 2);
  EXPECT_LT(memoryAfter - memoryBefore, 16 * 1024);
  EXPECT_TRUE(ShownErrors().empty());
  EXPECT_TRUE(Discover(folder_ / "rotation 109.wmv"));
}

}  // namespace
}  // namespace capture_test
