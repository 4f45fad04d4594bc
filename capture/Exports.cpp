// The exported functions: eight camera slots and the settings that every slot shares.

#include "CaptureSlot.h"
#include "Corvane.h"
#include "ErrorBox.h"
#include "MediaFramework.h"
#include "VideoDevices.h"
#include "WebServer.h"

#include <array>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using corvane::CCaptureSlot;

constexpr int kSlotCount = 8;

std::atomic<int> jpegWidth{320};
std::atomic<int> jpegHeight{240};
std::atomic<int> jpegQuality{90};
std::atomic<int> previewWidth{320};
std::atomic<int> previewHeight{240};

std::array<CCaptureSlot, kSlotCount> slots;

bool IsCamera(int camera) { return camera >= 0 && camera < kSlotCount; }

corvane::WindowSize PreviewSize() { return {previewWidth, previewHeight}; }

std::vector<std::uint8_t> Snapshot(int camera) {
  if (!IsCamera(camera)) return {};
  return slots[static_cast<std::size_t>(camera)].Snapshot({jpegWidth, jpegHeight, jpegQuality});
}

corvane::CWebServer webServer(Snapshot);

// Hands a block to the caller, to be released with fnFreeMemory.
template <typename Byte, typename Source>
Byte* HandOver(const Source& bytes) {
  auto* block = static_cast<Byte*>(std::malloc(bytes.size() ? bytes.size() : 1));
  if (block) std::memcpy(block, bytes.data(), bytes.size());
  return block;
}

bool SetSize(std::atomic<int>& width, std::atomic<int>& height, int newWidth, int newHeight) {
  if (newWidth <= 0 || newHeight <= 0) return false;
  width = newWidth;
  height = newHeight;
  return true;
}

}  // namespace

extern "C" {

void fnSetErrorSink(CorvaneErrorSink sink) { corvane::SetErrorSink(sink); }

int fnGetDevicesNum() { return corvane::EnsureMediaFramework() ? corvane::CountVideoDevices() : 0; }

int fnSetVideoName(int camera, const char* path) {
  if (!IsCamera(camera) || !path) return 0;
  slots[static_cast<std::size_t>(camera)].SetVideoName(path);
  return 1;
}

int fnSetWMProfile(int camera, const char* path) {
  if (!IsCamera(camera) || !path) return 0;
  slots[static_cast<std::size_t>(camera)].SetProfilePath(path);
  return 1;
}

int fnDoStartVideoCapture(int camera, std::uintptr_t window) {
  if (!IsCamera(camera)) return 0;
  return slots[static_cast<std::size_t>(camera)].Start(camera, window, PreviewSize()) ? 1 : 0;
}

int fnDoStopVideoCapture(int camera) {
  if (!IsCamera(camera)) return 0;
  CCaptureSlot& slot = slots[static_cast<std::size_t>(camera)];
  slot.Stop();
  slot.DropNames();
  return 1;
}

int fnDoStopRestartVideoCapture(int camera) {
  if (!IsCamera(camera)) return 0;
  return slots[static_cast<std::size_t>(camera)].Restart(PreviewSize()) ? 1 : 0;
}

int fnSetOutputSize(int width, int height) { return SetSize(jpegWidth, jpegHeight, width, height) ? 1 : 0; }

int fnSetOutputVideoSize(int width, int height) {
  return SetSize(previewWidth, previewHeight, width, height) ? 1 : 0;
}

int fnSetOutputImageQuality(int quality) {
  jpegQuality = quality;
  return 1;
}

int fnSetWebDirectory(const char* path) {
  if (!path) return 0;
  webServer.SetDocumentRoot(path);
  return 1;
}

int GetCameraJpeg(int camera, unsigned char** jpeg, std::uint32_t* length) {
  if (!jpeg || !length) return 0;
  const std::vector<std::uint8_t> bytes = Snapshot(camera);
  if (bytes.empty() || !(*jpeg = HandOver<unsigned char>(bytes))) return 0;
  *length = static_cast<std::uint32_t>(bytes.size());
  return 1;
}

int fnIsRequestComplete(const char* request, std::uint32_t length) {
  return request && corvane::CWebServer::IsRequestComplete({request, length}) ? 1 : 0;
}

int fnHandleHttpRequest(const char* request, std::uint32_t length, char** response, std::uint32_t* responseLength,
                        int* keepAlive) {
  if (!request || !response || !responseLength || !keepAlive) return 0;
  std::string answer;
  if (!webServer.HandleRequest({request, length}, answer, *keepAlive) || !(*response = HandOver<char>(answer)))
    return 0;
  *responseLength = static_cast<std::uint32_t>(answer.size());
  return 1;
}

void fnFreeMemory(void* block) { std::free(block); }
}
