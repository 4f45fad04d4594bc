// Recordings of the test cameras, read back with gst-discoverer-1.0.

#include "CaptureTestSupport.h"

#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <set>
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

// The small profile at another size and time per frame.
std::string ProfileOfSize(const std::filesystem::path& folder, int width, int height, const std::string& timePerFrame) {
  std::string text = kSmallProfile;
  text.replace(text.find("160"), 3, std::to_string(width)).replace(text.find("120"), 3, std::to_string(height));
  text.replace(text.find("666666"), 6, timePerFrame);
  const std::filesystem::path profile =
      folder / (std::to_string(width) + "x" + std::to_string(height) + "-" + timePerFrame + ".prx");
  WriteUtf16Profile(profile, text);
  return profile.string();
}

// Its time per frame in whole 100 ns, as profiles write it.
std::string ProfileOfSize(const std::filesystem::path& folder, int width, int height, double framesPerSecond = 15) {
  return ProfileOfSize(folder, width, height, std::to_string(std::llround(10'000'000 / framesPerSecond)));
}

// The frames of a file that no frame of its own stands for: recorded, or dropped and told, they fill its
// time from its first frame on. Answers how many it was told to lack.
int ExpectEveryFrameAccountedFor(const std::filesystem::path& file, int framesPerSecond) {
  SCOPED_TRACE(file.string());
  const std::optional<FrameTimes> times = ReadFrameTimes(file);
  if (!times) {
    ADD_FAILURE() << "cannot be read back";
    return 0;
  }
  const std::string told = "Error 80004005: \"" + file.string() + "\" lacks ";
  int dropped = 0, total = 0;
  for (const std::string& text : ShownErrors()) {
    if (text.starts_with(told)) {
      EXPECT_EQ(std::sscanf(text.c_str() + told.size(), "%d of its %d", &dropped, &total), 2);
    }
  }
  const int slots = static_cast<int>(std::lround(static_cast<double>(times->last - times->first) * framesPerSecond / 1e9)) + 1;
  std::cout << file.filename().string() << ": " << times->frames << " frames recorded, " << dropped
            << " dropped and told, " << slots << " from the first to the last\n";
  if (dropped > 0) {
    EXPECT_EQ(total, times->frames + dropped);
  }
  // Frames dropped after the last one recorded are told too.
  EXPECT_GE(times->frames + dropped, slots);
  return dropped;
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
  // Reading the first file back takes its time too, on a busy machine.
  const auto secondStarted = std::chrono::steady_clock::now();
  ExpectPlayable(first, 1.0);
  std::this_thread::sleep_until(secondStarted + 1s);
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

// A profile is recorded as it asks, whatever the machine: frames it cannot scale and encode in time are
// dropped, and each file tells how many it lacks. A size that no camera delivers is refused; a rate
// beyond what is recorded is recorded at the nearest and told, and so is one that no rate names. Each
// file lasts as long as its camera recorded, however long the other starts took.
TEST_F(RecordingTest, TheProfileSetsWhatIsRecordedAnUnreadableOneKeepsTheShippedSizeAndOneBeyond4096IsRefused) {
  setenv("CORVANE_TEST_DEVICES", "4", 1);
  const std::filesystem::path small = folder_ / "small.prx", ascii = folder_ / "ascii.prx";
  WriteUtf16Profile(small, kSmallProfile);
  std::ofstream(ascii) << kSmallProfile;

  const std::filesystem::path fromSmall = folder_ / "small.wmv", fromAscii = folder_ / "ascii.wmv";
  const std::filesystem::path sharp = folder_ / "2560x1440.wmv", overloaded = folder_ / "4096x4096.wmv";
  const std::filesystem::path fractional = folder_ / "7.5.wmv";
  std::chrono::steady_clock::time_point started[4];
  const auto start = [&](int camera, const std::filesystem::path& file, const std::string& profile) {
    ASSERT_EQ(StartRecording(camera, file.string(), profile), 1);
    started[camera] = std::chrono::steady_clock::now();
  };
  const auto stop = [&](int camera) {
    corvane_.fnDoStopVideoCapture(camera);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - started[camera]).count();
  };
  start(3, fractional, ProfileOfSize(folder_, 160, 120, 7.5));
  start(0, fromSmall, small.string());
  start(1, fromAscii, ascii.string());
  start(2, sharp, ProfileOfSize(folder_, 2560, 1440, 30));
  std::vector<std::string> refusals;
  for (const auto& [width, height] : {std::pair{7680, 4320}, {4097, 100}}) {
    const std::string profile = ProfileOfSize(folder_, width, height);
    EXPECT_EQ(StartRecording(0, (folder_ / "large.wmv").string(), profile), 0) << width << "x" << height;
    refusals.push_back("Error 80070057: Cannot record " + std::to_string(width) + "x" + std::to_string(height) +
                       " as the profile \"" + profile + "\" asks: each side runs from 1 to 4096 pixels");
  }
  EXPECT_EQ(ShownErrors(), refusals);
  EXPECT_FALSE(std::filesystem::exists(folder_ / "large.wmv"));
  std::this_thread::sleep_for(2s);
  double ran[4];
  for (int camera = 0; camera < 4; ++camera) ran[camera] = stop(camera);
  ExpectPlayable(fromSmall, ran[0], 160, 120, 15);
  ExpectPlayable(fromAscii, ran[1], 320, 240);
  ExpectPlayable(sharp, ran[2], 2560, 1440, 30);
  ExpectPlayable(fractional, ran[3], 160, 120, 7.5);
  const int sharpDropped = ExpectEveryFrameAccountedFor(sharp, 30);
  EXPECT_LT(sharpDropped, 30) << "most of its frames are recorded";

  // No machine scales and encodes as much in time: it plays for as long as it was recorded all the same.
  const std::string fastest = ProfileOfSize(folder_, 4096, 4096, 240);
  ASSERT_EQ(StartRecording(3, overloaded.string(), fastest), 1);
  const std::vector<std::string> told = ShownErrors();
  ASSERT_FALSE(told.empty());
  EXPECT_EQ(told.back(), "Error 80070057: Cannot record 240 frames per second as the profile \"" + fastest +
                             "\" asks: it records 120, as rates run from 1 to 120");
  std::this_thread::sleep_for(2s);
  corvane_.fnDoStopVideoCapture(3);
  ExpectPlayable(overloaded, 2.0, 4096, 4096, 120);
  EXPECT_GT(ExpectEveryFrameAccountedFor(overloaded, 120), 0);

  // A day per frame is told as the rate it names; a time per frame that names none records 30 frames per second.
  const std::string daily = ProfileOfSize(folder_, 160, 120, "864000000000");
  start(0, folder_ / "daily.wmv", daily);
  EXPECT_EQ(ShownErrors().back(), "Error 80070057: Cannot record 0.0000115741 frames per second as the profile \"" +
                                      daily + "\" asks: it records 1, as rates run from 1 to 120");
  for (const std::string timePerFrame : {"0", "-666666", "NaN", "1e-2", "9223372036854775808"}) {
    const std::string profile = ProfileOfSize(folder_, 160, 120, timePerFrame);
    start(0, folder_ / ("unnamed " + timePerFrame + ".wmv"), profile);
    EXPECT_EQ(ShownErrors().back(), "Error 80070057: Cannot record a time per frame of \"" + timePerFrame +
                                        "\" as the profile \"" + profile + "\" asks: it records 30 frames per second, as a "
                                        "time per frame is a whole number of 100 ns, from 1 to 9223372036854775807");
  }
  std::this_thread::sleep_for(1s);
  ExpectPlayable(folder_ / "unnamed 9223372036854775808.wmv", stop(0), 160, 120, 30);
}

// Two starts within a second ask for one name, and so does the hour repeated when the clocks go back.
TEST_F(RecordingTest, ANameThatExistsRecordsIntoAFreshOneAndNothingIsWrittenOver) {
  const std::filesystem::path asked = folder_ / "Device 0-2026-10-25--02-30-00.WMV";
  const auto recordingInto = [&](int camera) {
    char name[4096] = "untouched";
    const int length = corvane_.fnGetVideoName(camera, name, sizeof name);
    EXPECT_EQ(length, static_cast<int>(std::strlen(name)));
    return std::filesystem::path(name);
  };
  ASSERT_EQ(StartRecording(0, asked.string()), 1);
  EXPECT_EQ(recordingInto(0), asked);
  std::this_thread::sleep_for(1s);
  corvane_.fnDoStopVideoCapture(0);
  EXPECT_EQ(recordingInto(0), "");
  ASSERT_EQ(StartRecording(0, asked.string()), 1);
  EXPECT_EQ(recordingInto(0), folder_ / "Device 0-2026-10-25--02-30-00 (2).WMV");
  ASSERT_EQ(StartRecording(1, asked.string()), 1);
  EXPECT_EQ(recordingInto(1), folder_ / "Device 0-2026-10-25--02-30-00 (3).WMV");
  std::this_thread::sleep_for(1s);
  corvane_.fnDoStopVideoCapture(0);
  corvane_.fnDoStopVideoCapture(1);
  ExpectPlayable(asked, 1.0);
  ExpectPlayable(folder_ / "Device 0-2026-10-25--02-30-00 (2).WMV", 1.0);
  ExpectPlayable(folder_ / "Device 0-2026-10-25--02-30-00 (3).WMV", 1.0);
  EXPECT_TRUE(ShownErrors().empty());

  const std::string fourth = (folder_ / "Device 0-2026-10-25--02-30-00 (4).WMV").string();
  char cut[8];
  ASSERT_EQ(StartRecording(0, asked.string()), 1);
  EXPECT_EQ(corvane_.fnGetVideoName(0, cut, sizeof cut), static_cast<int>(fourth.size()));
  EXPECT_EQ(std::string(cut), fourth.substr(0, 7));

  // A name of 255 bytes leaves no room for " (2)": the stem is cut, and the "é" cut in two left out whole.
  const std::string stem = std::string(246, 'a');
  std::ofstream(folder_ / (stem + "\u00e9\u00e9b.WMV")) << "kept";
  ASSERT_EQ(StartRecording(1, (folder_ / (stem + "\u00e9\u00e9b.WMV")).string()), 1);
  EXPECT_EQ(recordingInto(1), folder_ / (stem + " (2).WMV"));
  EXPECT_EQ(std::filesystem::file_size(folder_ / (stem + "\u00e9\u00e9b.WMV")), 4u);
}

// The encoder takes even widths only; such a profile records at the next even width.
TEST_F(RecordingTest, AnOddWidthIsRoundedUpToWhatTheEncoderTakes) {
  int camera = 0;
  for (const auto& [width, height] : {std::pair{1, 1}, {321, 241}}) {
    const std::string file = (folder_ / ("odd " + std::to_string(camera) + ".wmv")).string();
    ASSERT_EQ(StartRecording(camera++, file, ProfileOfSize(folder_, width, height)), 1) << width << "x" << height;
  }
  std::this_thread::sleep_for(1s);
  corvane_.fnDoStopVideoCapture(0);
  corvane_.fnDoStopVideoCapture(1);
  ExpectPlayable(folder_ / "odd 0.wmv", 1.0, 2, 1, 15);
  ExpectPlayable(folder_ / "odd 1.wmv", 1.0, 322, 241, 15);
  EXPECT_TRUE(ShownErrors().empty());
}

// A small file system of its own, which the test fills; mounting it needs root.
class SmallDisk {
 public:
  explicit SmallDisk(std::filesystem::path folder, const char* size = "size=64k") : folder_(std::move(folder)) {
    std::filesystem::create_directories(folder_);
    mounted_ = geteuid() == 0 && mount("tmpfs", folder_.c_str(), "tmpfs", 0, size) == 0;
  }
  ~SmallDisk() {
    if (mounted_) umount2(folder_.c_str(), MNT_DETACH);
  }
  bool Mounted() const { return mounted_; }
  const std::filesystem::path& Folder() const { return folder_; }
  bool Full() const {
    struct statvfs space {};
    return statvfs(folder_.c_str(), &space) == 0 && space.f_bavail == 0;
  }
  // Takes what room is left.
  void Fill() const {
    std::ofstream filler(folder_ / "filler", std::ios::binary);
    while (filler.write(std::string(4096, 'x').data(), 4096) && filler.flush()) {
    }
  }

 private:
  std::filesystem::path folder_;
  bool mounted_ = false;
};

TEST_F(RecordingTest, ADiskThatFillsIsToldAtOnceAndAnotherFolderRecords) {
  const SmallDisk disk(folder_ / "small");
  if (!disk.Mounted()) GTEST_SKIP() << "a small file system cannot be mounted here";
  const std::filesystem::path full = folder_ / "small" / "full.wmv", after = folder_ / "after.wmv";
  // A host may act on what it is told right away, from its sink.
  corvane_.fnSetErrorSink([](const char* text) {
    Library().fnDoStopVideoCapture(0);
    CollectShownError(text);
  });
  ASSERT_EQ(StartRecording(0, full.string()), 1);
  const auto deadline = std::chrono::steady_clock::now() + 20s;
  while (!disk.Full() && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(5ms);
  ASSERT_TRUE(disk.Full());
  const auto filled = std::chrono::steady_clock::now();
  const std::optional<std::string> told = NextShownError();
  ASSERT_TRUE(told);
  EXPECT_LT(std::chrono::steady_clock::now() - filled, 1s);
  EXPECT_EQ(*told, "Error 80070070: Recording into \"" + full.string() + "\" stopped: No space left on the resource.");
  EXPECT_FALSE(Snapshot(0));
  EXPECT_EQ(corvane_.fnGetVideoName(0, nullptr, 0), 0);
  ASSERT_TRUE(WaitUntilClosed(full));
  const std::optional<MediaInfo> kept = Discover(full);
  ASSERT_TRUE(kept) << "the file plays up to the failure";
  EXPECT_GT(kept->seconds, 1.0);

  ASSERT_EQ(StartRecording(0, after.string()), 1);
  std::this_thread::sleep_for(1s);
  corvane_.fnDoStopVideoCapture(0);
  ExpectPlayable(after, 1.0);
  EXPECT_EQ(ShownErrors().size(), 1u);
}

// Each camera on a disk that fills is told at its own next write; a start onto the full disk is refused.
TEST_F(RecordingTest, EachCameraOnADiskThatFillsIsToldAndAStartOntoItIsRefused) {
  const SmallDisk disk(folder_ / "small", "size=512k");
  if (!disk.Mounted()) GTEST_SKIP() << "a small file system cannot be mounted here";
  // At this size each test camera writes several times a second.
  const std::string profile = ProfileOfSize(folder_, 640, 480);
  const std::filesystem::path refused = disk.Folder() / "refused.wmv";
  const std::filesystem::path files[] = {disk.Folder() / "camera 0.wmv", disk.Folder() / "camera 1.wmv"};
  for (int camera = 0; camera < 2; ++camera) ASSERT_EQ(StartRecording(camera, files[camera], profile), 1);
  std::this_thread::sleep_for(1500ms);
  disk.Fill();
  const auto filled = std::chrono::steady_clock::now();
  std::set<std::string> told;
  for (int camera = 0; camera < 2; ++camera) {
    told.insert(NextShownError().value_or("nothing"));
    const double after = std::chrono::duration<double>(std::chrono::steady_clock::now() - filled).count();
    std::cout << "disk full, the " << camera + 1 << ". camera told after " << after << " s\n";
    EXPECT_LT(after, 1.0);
  }
  for (const auto& file : files) {
    EXPECT_TRUE(told.contains("Error 80070070: Recording into \"" + file.string() + "\" stopped: No space left on the resource."));
    ExpectPlayable(file, 1.5, 640, 480, 15);
  }
  EXPECT_EQ(StartRecording(0, refused, profile), 0);
  EXPECT_EQ(NextShownError(), "Error 80070070: Cannot create video file \"" + refused.string() + "\": No space left on device");
  EXPECT_FALSE(std::filesystem::exists(refused));

  // A disk that fills before the writer's first bytes leaves no empty file behind untold.
  std::filesystem::remove(disk.Folder() / "filler");
  const std::filesystem::path empty = disk.Folder() / "empty.wmv";
  ASSERT_EQ(StartRecording(0, empty, profile), 1);
  disk.Fill();
  EXPECT_EQ(NextShownError(), "Error 80070070: Recording into \"" + empty.string() + "\" stopped: No space left on the resource.");
  EXPECT_EQ(NextShownError(), "Error 80004005: No frame of the camera reached \"" + empty.string() + "\": the file is removed");
  EXPECT_FALSE(std::filesystem::exists(empty));
}

// The host may end right after a stop, or while a camera records: the library finalises both files as it
// unloads.
TEST_F(RecordingTest, FilesAreFinalisedWhenTheHostEnds) {
  const std::filesystem::path recording = folder_ / "recording.wmv", stopped = folder_ / "stopped.wmv";
  const HostOutput host = RunHost(folder_, {recording.string(), stopped.string()});
  EXPECT_EQ(host.exitCode, 0) << host.out << host.err;
  ExpectPlayable(recording, 1.0);
  ExpectPlayable(stopped, 1.0);
}

TEST_F(RecordingTest, TwoHostThreadsCallingTheExportsAtOnceEndAndLeaveOnlyFilesThatPlay) {
  const HostOutput host = RunHost(folder_, {(folder_ / "0").string(), (folder_ / "1.wmv").string(), "threads"});
  EXPECT_EQ(host.exitCode, 0) << host.out << host.err;
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
    if (entry.path().extension() != ".wmv") continue;
    ++files;
    EXPECT_TRUE(Discover(entry.path())) << entry.path();
  }
  EXPECT_GT(files, 20);
}

// A file finished as the host ends fails where no host can hear it any more: on standard error.
TEST_F(RecordingTest, AFinishThatFailsAsTheHostEndsIsToldOnStandardError) {
  const SmallDisk disk(folder_ / "small");
  if (!disk.Mounted()) GTEST_SKIP() << "a small file system cannot be mounted here";
  const std::filesystem::path file = folder_ / "small" / "last.wmv";
  const HostOutput host = RunHost(folder_, {(folder_ / "whole.wmv").string(), file.string(), disk.Folder().string()});
  EXPECT_EQ(host.exitCode, 0);
  EXPECT_EQ(host.out, "");
  EXPECT_NE(host.err.find("Corvane: Error 80070070: Cannot finish video file \"" + file.string() + "\": "),
            std::string::npos)
      << host.err;
  ExpectPlayable(folder_ / "whole.wmv", 0.3);
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
