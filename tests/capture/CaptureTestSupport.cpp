#include "CaptureTestSupport.h"

#include <gst/gst.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <fstream>
#include <mutex>
#include <regex>
#include <thread>

#include <sys/wait.h>

namespace capture_test {

CorvaneLibrary& Library() {
  static CorvaneLibrary library;
  return library;
}

namespace {

std::mutex shownLock;
std::condition_variable shown;
std::vector<std::string> shownErrors;
std::size_t shownTaken = 0;  // by NextShownError

// A stopped camera runs on for a moment, for a start that carries on into a new file. Tests run one
// after another in one program start their cameras afresh all the same.
constexpr auto kCameraEnds = std::chrono::milliseconds(1500);
std::chrono::steady_clock::time_point camerasStopped;
bool camerasStarted = false;

}  // namespace

void CollectShownError(const char* text) {
  {
    std::lock_guard guard(shownLock);
    shownErrors.emplace_back(text);
  }
  shown.notify_all();
}

std::vector<std::string> ShownErrors() {
  std::lock_guard guard(shownLock);
  return shownErrors;
}

std::optional<std::string> NextShownError() {
  std::unique_lock guard(shownLock);
  if (!shown.wait_for(guard, std::chrono::seconds(10), [] { return shownErrors.size() > shownTaken; }))
    return std::nullopt;
  return shownErrors[shownTaken++];
}

std::optional<MediaInfo> Discover(const std::filesystem::path& file) {
  const std::string command = "gst-discoverer-1.0 '" + file.string() + "' 2>&1";
  FILE* output = popen(command.c_str(), "r");
  if (!output) return std::nullopt;
  std::string text;
  char chunk[4096];
  while (size_t read = fread(chunk, 1, sizeof chunk, output)) text.append(chunk, read);
  if (pclose(output) != 0 || text.find("error") != std::string::npos) return std::nullopt;

  std::smatch duration, width, height, rate;
  if (!std::regex_search(text, duration, std::regex(R"(Duration: (\d+):(\d+):(\d+\.\d+))")) ||
      !std::regex_search(text, width, std::regex(R"(Width: (\d+))")) ||
      !std::regex_search(text, height, std::regex(R"(Height: (\d+))")) ||
      !std::regex_search(text, rate, std::regex(R"(Frame rate: (\d+)/(\d+))")))
    return std::nullopt;
  const double seconds = std::stoi(duration[1]) * 3600 + std::stoi(duration[2]) * 60 + std::stod(duration[3]);
  return MediaInfo{seconds, std::stoi(width[1]), std::stoi(height[1]), std::stod(rate[1]) / std::stod(rate[2])};
}

bool WaitUntilClosed(const std::filesystem::path& file) {
  namespace fs = std::filesystem;
  const fs::path wanted = fs::absolute(file);
  for (int attempt = 0; attempt < 500; ++attempt) {
    bool open = false;
    std::error_code error;
    for (const auto& fd : fs::directory_iterator("/proc/self/fd", error))
      open = open || fs::read_symlink(fd.path(), error) == wanted;
    if (!open) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

namespace {

// 100 ns units from 1601 to 1970, as the container counts its dates.
constexpr std::int64_t kUnixEpochInUnits = 116'444'736'000'000'000;

std::optional<std::int64_t> CreationTime(const std::filesystem::path& file) {
  static const unsigned char fileProperties[16] = {0xA1, 0xDC, 0xAB, 0x8C, 0x47, 0xA9, 0xCF, 0x11,
                                                   0x8E, 0xE4, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65};
  std::ifstream in(file, std::ios::binary);
  std::string header(64 * 1024, '\0');
  in.read(header.data(), static_cast<std::streamsize>(header.size()));
  header.resize(static_cast<std::size_t>(in.gcount()));
  const std::size_t at = header.find(std::string(reinterpret_cast<const char*>(fileProperties), 16));
  if (at == std::string::npos || at + 56 > header.size()) return std::nullopt;
  std::int64_t units = 0;
  for (int byte = 7; byte >= 0; --byte) units = units << 8 | static_cast<unsigned char>(header[at + 48 + byte]);
  return (units - kUnixEpochInUnits) * 100;
}

GstPadProbeReturn CollectTime(GstPad*, GstPadProbeInfo* info, gpointer times) {
  const GstClockTime pts = GST_BUFFER_PTS(GST_PAD_PROBE_INFO_BUFFER(info));
  auto* collected = static_cast<std::vector<GstClockTime>*>(times);
  if (GST_CLOCK_TIME_IS_VALID(pts)) collected->push_back(pts);
  return GST_PAD_PROBE_OK;
}

}  // namespace

std::optional<FrameTimes> ReadFrameTimes(const std::filesystem::path& file) {
  gst_init(nullptr, nullptr);
  const std::optional<std::int64_t> created = CreationTime(file);
  if (!created) return std::nullopt;
  GError* error = nullptr;
  gchar* location = g_strescape(file.c_str(), nullptr);
  const std::string description =
      std::string("filesrc location=\"") + location + "\" ! asfdemux ! video/x-wmv ! fakesink name=frames";
  g_free(location);
  GstElement* pipeline = gst_parse_launch(description.c_str(), &error);
  g_clear_error(&error);
  if (!pipeline) return std::nullopt;
  std::vector<GstClockTime> times;
  GstElement* sink = gst_bin_get_by_name(GST_BIN(pipeline), "frames");
  GstPad* pad = gst_element_get_static_pad(sink, "sink");
  gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_BUFFER, CollectTime, &times, nullptr);
  gst_object_unref(pad);
  gst_object_unref(sink);
  gst_element_set_state(pipeline, GST_STATE_PLAYING);
  GstBus* bus = gst_element_get_bus(pipeline);
  GstMessage* end = gst_bus_timed_pop_filtered(bus, 10 * GST_SECOND,
                                               static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
  const bool complete = end && GST_MESSAGE_TYPE(end) == GST_MESSAGE_EOS;
  if (end) gst_message_unref(end);
  gst_object_unref(bus);
  gst_element_set_state(pipeline, GST_STATE_NULL);
  gst_object_unref(pipeline);
  if (!complete || times.empty()) return std::nullopt;
  const auto [first, last] = std::minmax_element(times.begin(), times.end());
  return FrameTimes{*created + static_cast<std::int64_t>(*first), *created + static_cast<std::int64_t>(*last),
                    static_cast<int>(times.size())};
}

namespace {

struct DecodeError {
  jpeg_error_mgr manager;
  std::jmp_buf exit;
};

void JumpOut(j_common_ptr info) { std::longjmp(reinterpret_cast<DecodeError*>(info->err)->exit, 1); }

bool Decompress(const std::vector<std::uint8_t>& jpeg, Image& image) {
  jpeg_decompress_struct info;
  DecodeError error;
  info.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = JumpOut;
  if (setjmp(error.exit)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  image.width = static_cast<int>(info.output_width);
  image.height = static_cast<int>(info.output_height);
  image.pixels.resize(static_cast<size_t>(image.width) * image.height * 3);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = image.pixels.data() + static_cast<size_t>(info.output_scanline) * image.width * 3;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

}  // namespace

std::optional<Image> DecodeJpeg(const std::vector<std::uint8_t>& jpeg) {
  Image image;
  if (jpeg.empty() || !Decompress(jpeg, image)) return std::nullopt;
  return image;
}

std::optional<std::vector<std::uint8_t>> Snapshot(int camera) {
  unsigned char* bytes = nullptr;
  std::uint32_t length = 0;
  if (!Library().GetCameraJpeg(camera, &bytes, &length)) return std::nullopt;
  std::vector<std::uint8_t> jpeg(bytes, bytes + length);
  Library().fnFreeMemory(bytes);
  return jpeg;
}

HostOutput RunHost(const std::filesystem::path& folder, std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), {"timeout", "20", RECORDING_HOST, CORVANE_PROFILE});
  const std::filesystem::path out = folder / "host.out", err = folder / "host.err";
  std::string command;
  for (const std::string& argument : arguments) command += "'" + argument + "' ";
  const int status = std::system((command + ">'" + out.string() + "' 2>'" + err.string() + "'").c_str());
  const auto read = [](const std::filesystem::path& file) {
    std::ifstream in(file);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  };
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, read(out), read(err)};
}

void CaptureTest::SetUp() {
  std::this_thread::sleep_until(camerasStopped + kCameraEnds);
  setenv("CORVANE_TEST_DEVICES", std::to_string(kTestCameras).c_str(), 1);
  std::string pattern = (std::filesystem::temp_directory_path() / "corvane-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  folder_ = pattern;
  {
    std::lock_guard guard(shownLock);
    shownErrors.clear();
    shownTaken = 0;
  }
  corvane_.fnSetErrorSink(CollectShownError);
}

void CaptureTest::TearDown() {
  for (int camera = 0; camera < 8; ++camera) corvane_.fnDoStopVideoCapture(camera);
  if (camerasStarted) camerasStopped = std::chrono::steady_clock::now();
  camerasStarted = false;
  corvane_.fnSetErrorSink(nullptr);
  std::filesystem::remove_all(folder_);
}

int CaptureTest::StartRecording(int camera, const std::string& file, const std::string& profile,
                                std::uintptr_t window) {
  corvane_.fnSetWMProfile(camera, profile.c_str());
  corvane_.fnSetVideoName(camera, file.c_str());
  camerasStarted = true;
  return corvane_.fnDoStartVideoCapture(camera, window);
}

}  // namespace capture_test
