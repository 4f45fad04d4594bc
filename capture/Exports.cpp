// The exported functions: eight camera slots and the settings that every slot shares. No exception
// leaves an export: the host that binds them is no C++ program of ours and would end.

#include "CaptureSlot.h"
#include "Corvane.h"
#include "ErrorBox.h"
#include "MediaFramework.h"
#include "VideoDevices.h"
#include "WebServer.h"
#include "Worker.h"

#include <array>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <mutex>
#include <string>

namespace {

using corvane::CCaptureSlot;

constexpr int kSlotCount = 8;

std::atomic<int> jpegWidth{320};
std::atomic<int> jpegHeight{240};
std::atomic<int> jpegQuality{90};
// Kept as the host sets it: the preview fills its window, whatever size is set.
std::atomic<int> previewWidth{320};
std::atomic<int> previewHeight{240};
std::atomic<int> webPort{80};

// Made before the slots and so ended after them: a slot's end hands its last file to the worker.
corvane::Worker worker;
// One host thread at a time works on a camera; another waits for its turn.
std::array<std::mutex, kSlotCount> cameraLocks;
std::array<CCaptureSlot, kSlotCount> slots{{CCaptureSlot(worker), CCaptureSlot(worker), CCaptureSlot(worker),
                                            CCaptureSlot(worker), CCaptureSlot(worker), CCaptureSlot(worker),
                                            CCaptureSlot(worker), CCaptureSlot(worker)}};
std::atomic<bool> unloading{false};

bool IsCamera(int camera) { return camera >= 0 && camera < kSlotCount; }

CCaptureSlot& Slot(int camera) { return slots[static_cast<std::size_t>(camera)]; }

std::vector<std::uint8_t> Snapshot(int camera) {
  if (!IsCamera(camera)) return {};
  return Slot(camera).Snapshot({jpegWidth, jpegHeight, jpegQuality});
}

corvane::CWebServer webServer(Snapshot);

// Made last and so ended first: what the slots and the worker still finish as the library unloads is
// told on standard error, as the host that set the sink may have ended already. A host may end while
// another of its threads works on a camera: that call ends before the cameras do, and later ones are
// refused rather than work on cameras that are gone.
const struct UnloadMark {
  ~UnloadMark() {
    corvane::TellErrorsOnStandardError();
    unloading = true;
    for (std::mutex& turn : cameraLocks) std::lock_guard waitFor(turn);
  }
} unloadMark;

// Runs an export's work; whatever it throws is shown and answered with 0.
template <typename Work>
int Guarded(Work work) noexcept {
  try {
    return work();
  } catch (const std::exception& error) {
    corvane::ShowError("Error %x: %s", corvane::kFail, error.what());
  } catch (...) {
    corvane::ShowError("Error %x: Unexpected failure", corvane::kFail);
  }
  return 0;
}

// Runs an export's work on a camera, refused with 0 for an index that is none. What the work tells reaches
// the host once the camera is free again, so that the host's sink may call the exports.
template <typename Work>
int OnCamera(int camera, Work work) noexcept {
  return Guarded([&] {
    if (!IsCamera(camera)) return 0;
    corvane::HeldErrors held;
    std::lock_guard turn(cameraLocks[static_cast<std::size_t>(camera)]);
    return unloading ? 0 : work(Slot(camera));
  });
}

// Hands a block to the caller, to be released with fnFreeMemory.
template <typename Byte, typename Source>
Byte* HandOver(const Source& bytes) {
  auto* block = static_cast<Byte*>(std::malloc(bytes.size() ? bytes.size() : 1));
  if (block) std::memcpy(block, bytes.data(), bytes.size());
  return block;
}

bool SetSize(std::atomic<int>& width, std::atomic<int>& height, int newWidth, int newHeight) {
  if (!corvane::IsFrameSize(newWidth, newHeight)) return false;
  width = newWidth;
  height = newHeight;
  return true;
}

}  // namespace

extern "C" {

void fnSetErrorSink(CorvaneErrorSink sink) { corvane::SetErrorSink(sink); }

int fnGetDevicesNum() {
  return Guarded([] { return corvane::EnsureMediaFramework() ? corvane::CountVideoDevices() : 0; });
}

int fnSetVideoName(int camera, const char* path) {
  return OnCamera(camera, [&](CCaptureSlot& slot) {
    if (!path) return 0;
    slot.SetVideoName(path);
    return 1;
  });
}

int fnSetWMProfile(int camera, const char* path) {
  return OnCamera(camera, [&](CCaptureSlot& slot) {
    if (!path) return 0;
    slot.SetProfilePath(path);
    return 1;
  });
}

int fnDoStartVideoCapture(int camera, std::uintptr_t window) {
  return OnCamera(camera, [&](CCaptureSlot& slot) { return slot.Start(camera, window) ? 1 : 0; });
}

int fnDoStopVideoCapture(int camera) {
  return OnCamera(camera, [](CCaptureSlot& slot) {
    slot.Stop();
    slot.DropNames();
    return 1;
  });
}

int fnDoStopRestartVideoCapture(int camera) {
  return OnCamera(camera, [](CCaptureSlot& slot) { return slot.Restart() ? 1 : 0; });
}

int fnGetVideoName(int camera, char* name, int size) {
  return OnCamera(camera, [&](CCaptureSlot& slot) {
    const std::string path = slot.RecordingInto();
    if (name && size > 0) name[path.copy(name, static_cast<std::size_t>(size - 1))] = '\0';
    return static_cast<int>(path.size());
  });
}

int fnShowFullScreen(int camera) {
  return OnCamera(camera, [](CCaptureSlot& slot) {
    slot.ShowFullScreen();
    return 0;
  });
}

int fnHideFullScreen(int camera) {
  return OnCamera(camera, [](CCaptureSlot& slot) {
    slot.HideFullScreen();
    return 0;
  });
}

int fnSetOutputSize(int width, int height) {
  return SetSize(jpegWidth, jpegHeight, width, height) ? 1 : 0;
}

int fnSetOutputVideoSize(int width, int height) {
  return SetSize(previewWidth, previewHeight, width, height) ? 1 : 0;
}

int fnSetOutputImageQuality(int quality) {
  jpegQuality = quality;
  return 1;
}

int fnSetWebDirectory(const char* path) {
  return Guarded([&] {
    if (!path) return 0;
    webServer.SetDocumentRoot(path);
    return 1;
  });
}

int GetCameraJpeg(int camera, unsigned char** jpeg, std::uint32_t* length) {
  return Guarded([&] {
    if (!jpeg || !length) return 0;
    const std::vector<std::uint8_t> bytes = Snapshot(camera);
    if (bytes.empty() || !(*jpeg = HandOver<unsigned char>(bytes))) return 0;
    *length = static_cast<std::uint32_t>(bytes.size());
    return 1;
  });
}

int fnIsRequestComplete(const char* request, std::uint32_t length) {
  return Guarded([&] { return request && corvane::CWebServer::IsRequestComplete({request, length}) ? 1 : 0; });
}

int fnHandleHttpRequest(const char* request, std::uint32_t length, char** response, std::uint32_t* responseLength,
                        int* keepAlive) {
  return Guarded([&] {
    if (!request || !response || !responseLength || !keepAlive) return 0;
    std::string answer;
    int keep = *keepAlive;
    if (!webServer.HandleRequest({request, length}, answer, keep)) return 0;
    char* block = HandOver<char>(answer);
    if (!block) return 0;
    *response = block;
    *responseLength = static_cast<std::uint32_t>(answer.size());
    *keepAlive = keep;
    return 1;
  });
}

void fnFreeMemory(void* block) { std::free(block); }

int fnSetOutputPort(int port) {
  if (port < 1 || port > 65535) return 0;
  webPort = port;
  return 1;
}

int fnCorvane() { return 42; }

int SomeFunction(int) { return 52; }

int nCorvane = 0;
}

CCorvane::CCorvane() = default;

CCorvane& CCorvane::operator=(const CCorvane&) { return *this; }
