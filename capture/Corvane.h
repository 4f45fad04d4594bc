// The exported C interface of the capture library, as hosts bind it by name.
#pragma once

#include <cstdint>

#define CORVANE_API __attribute__((visibility("default")))

extern "C" {

// Receives every "Error %x: ..." text of the library; the host shows it (a message box where it shows windows).
using CorvaneErrorSink = void (*)(const char* text);

// A null sink restores the default, standard error.
CORVANE_API void fnSetErrorSink(CorvaneErrorSink sink);

CORVANE_API int fnGetDevicesNum();

CORVANE_API int fnSetVideoName(int camera, const char* path);
CORVANE_API int fnSetWMProfile(int camera, const char* path);
// window: the X11 window that hosts the preview, 0 for none.
CORVANE_API int fnDoStartVideoCapture(int camera, std::uintptr_t window);
CORVANE_API int fnDoStopVideoCapture(int camera);
// Finalises the current file and records on into the video name set last; 0 when the camera was not recording.
CORVANE_API int fnDoStopRestartVideoCapture(int camera);

CORVANE_API int fnSetOutputSize(int width, int height);
CORVANE_API int fnSetOutputVideoSize(int width, int height);
CORVANE_API int fnSetOutputImageQuality(int quality);
// Also the document root of the request handler.
CORVANE_API int fnSetWebDirectory(const char* path);

// The latest preview frame of a running camera as JPEG; release *jpeg with fnFreeMemory.
CORVANE_API int GetCameraJpeg(int camera, unsigned char** jpeg, std::uint32_t* length);

CORVANE_API int fnIsRequestComplete(const char* request, std::uint32_t length);
// Answers one HTTP/1.0 request; release *response with fnFreeMemory.
CORVANE_API int fnHandleHttpRequest(const char* request, std::uint32_t length, char** response,
                                    std::uint32_t* responseLength, int* keepAlive);

CORVANE_API void fnFreeMemory(void* block);
}
