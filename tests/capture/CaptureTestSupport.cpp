#include "CaptureTestSupport.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <regex>

namespace capture_test {

CorvaneLibrary& Library() {
  static CorvaneLibrary library;
  return library;
}

std::vector<std::string>& ShownErrors() {
  static std::vector<std::string> errors;
  return errors;
}

std::optional<MediaInfo> Discover(const std::filesystem::path& file) {
  const std::string command = "gst-discoverer-1.0 '" + file.string() + "' 2>&1";
  FILE* output = popen(command.c_str(), "r");
  if (!output) return std::nullopt;
  std::string text;
  char chunk[4096];
  while (size_t read = fread(chunk, 1, sizeof chunk, output)) text.append(chunk, read);
  if (pclose(output) != 0 || text.find("error") != std::string::npos) return std::nullopt;

  std::smatch duration, width, height;
  if (!std::regex_search(text, duration, std::regex(R"(Duration: (\d+):(\d+):(\d+\.\d+))")) ||
      !std::regex_search(text, width, std::regex(R"(Width: (\d+))")) ||
      !std::regex_search(text, height, std::regex(R"(Height: (\d+))")))
    return std::nullopt;
  const double seconds = std::stoi(duration[1]) * 3600 + std::stoi(duration[2]) * 60 + std::stod(duration[3]);
  return MediaInfo{seconds, std::stoi(width[1]), std::stoi(height[1])};
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

void CaptureTest::SetUp() {
  setenv("CORVANE_TEST_DEVICES", std::to_string(kTestCameras).c_str(), 1);
  std::string pattern = (std::filesystem::temp_directory_path() / "corvane-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  folder_ = pattern;
  ShownErrors().clear();
  corvane_.fnSetErrorSink([](const char* text) { ShownErrors().emplace_back(text); });
}

void CaptureTest::TearDown() {
  for (int camera = 0; camera < 8; ++camera) corvane_.fnDoStopVideoCapture(camera);
  corvane_.fnSetErrorSink(nullptr);
  std::filesystem::remove_all(folder_);
}

int CaptureTest::StartRecording(int camera, const std::string& file, const std::string& profile) {
  corvane_.fnSetWMProfile(camera, profile.c_str());
  corvane_.fnSetVideoName(camera, file.c_str());
  return corvane_.fnDoStartVideoCapture(camera, 0);
}

}  // namespace capture_test
