// The exported C interface of the capture library, as hosts bind it by name.
#pragma once

#include <cstdint>

#define CORVANE_API __attribute__((visibility("default")))

extern "C" {

// Receives every "Error %x: ..." text of the library; the host shows it (a message box where it shows windows).
using CorvaneErrorSink = void (*)(const char* text);

// A null sink restores the default, standard error. The sink is called on the thread that met the
// failure, when it meets it: the caller's own inside an export, or a thread of the library for a
// recording that fails while the camera runs or a file finalised in the background. A host that shows
// windows hands the text to its window thread. The sink may end the process (exit) on any of them. While
// the library unloads, failures go to standard error, and a call on a camera (from another thread of a
// host that ends) is answered 0; one under way ends before the cameras do.
CORVANE_API void fnSetErrorSink(CorvaneErrorSink sink);

CORVANE_API int fnGetDevicesNum();

// No export lets an exception out: a failure is shown through the error sink and answered with 0.
// Paths may be written the Windows way: "\" is read as the folder separator.
// The exports may be called from several threads at once; calls on one camera take turns. A text is given
// to the sink once the call that met it has let go of the camera.

CORVANE_API int fnSetVideoName(int camera, const char* path);
CORVANE_API int fnSetWMProfile(int camera, const char* path);

// window: the X11 window that hosts the preview, 0 for none. The library draws the preview into it itself,
// scaled to the window's client area as the start finds it, through an X connection of its own (with
// shared memory where the display is on this machine): it sets no X error handler, touches nothing of
// the host's own (its X error handler, its display connection) and changes no other library, so every X
// error the host makes reaches the host's handler, whenever it was set, and no error of the preview does.
// Nothing that happens to a preview stops its camera's recording: its window destroyed, resized or
// exchanged for another by a start, full screen and back, the X server gone. A window destroyed while the
// camera previews in it, or gone when a start moves the preview into it, ends the preview, which is told
// once ("Error 80070578: Camera n shows no preview: its window is gone"), and so does the X server's end; a window whose colours are not in its pixels (a
// colour map) takes no preview either ("... shows no preview: its window's colours cannot be drawn").
// The camera records on; its next start into another window shows the preview there.
// A camera index with no camera behind it (one unplugged since fnGetDevicesNum counted it) is refused with
// 0 and told ("Error 8007048f: Cannot start camera n: it is not attached (cameras found: m)").
// A recording is never written over: a video name that names an existing file (two starts within a
// second, the hour repeated when the clocks go back) records into the first free name of "name (2).ext",
// "name (3).ext", ..., its stem shortened where the name would be longer than a file name may be;
// fnGetVideoName tells which.
// What a start answered 1 promises: its file is made, and either gets at least one frame, so that it
// plays, or is removed again, which is told with its name ("Error 80004005: No frame of the camera reached
// "...": the file is removed"). A file is removed when its camera ends before a frame reaches it: a camera
// that gives none, a start that builds the camera anew (below) before the first frame, more starts before
// a stop than the camera gives frames in the second it runs on; and when its disk fills before the first
// of its bytes is written.
// A start that follows a stop of the same camera within a second (the rotation to a new file), or that
// comes while the camera records, carries on without a gap: the old file ends with the frames taken
// before the stop or the start, and the new file begins with the next one. Starts that come quicker than
// the camera's frames each take their turn. This holds into another window too, where the preview moves.
// Except: a start with another profile, or with a window where the camera previews in none (or none where
// it previews in one), builds the camera anew. It returns once the old file is complete, which takes as
// long as the recording is behind, and the new file begins with the camera's first frame after that: the
// two files lie about as far apart as the start took (40 to 70 ms for the shipped profile on a machine
// that keeps up, about 1.1 s for 3840x2160 at 60 frames per second on one that is a second behind).
// What is recorded: WMV video (version 8) in an ASF file, the camera's frames scaled to the profile's size
// and converted to its frame rate, whatever the machine. A profile is read only from a regular file of at
// most 64 KB; anything else is taken as a missing profile, which records 320x240 at 30 frames per second.
// The encoder takes even widths only: an odd width is rounded up. A profile whose size is beyond 4096 on
// a side (or has no pixels) is refused with 0 and told, while a recording that runs goes on. A rate is
// recorded as the profile names it, fractions included (7.5, 29.97), from 1 to 120 frames per second; a
// profile that names another is recorded at the nearer of the two, which is told as the camera starts with
// it ("Error 80070057: Cannot record 240 frames per second as the profile "..." asks: it records 120, as
// rates run from 1 to 120"; a time per frame of a day, 864000000000, is told as 0.0000115741). A time per
// frame that names no rate (0, a negative one, one that is no whole number such as "NaN" or "1e-2", or
// one beyond 9223372036854775807) records 30 frames per second, told as the camera starts with it
// ("Error 80070057: Cannot record a time per frame of "0" as the profile "..." asks: it records 30 frames
// per second, as a time per frame is a whole number of 100 ns, from 1 to 9223372036854775807").
// Where the machine cannot scale and encode the frames as fast as they come, the recording falls no more
// than about a second behind in either (the frames waiting for the encoder also take no more than 256 MB
// for each camera, fewer than a second's where they are large) and drops the frames that would wait longer. A file that lost
// frames tells how many, once, when it is complete ("Error 80004005: "..." lacks n of its m frames: the
// computer could not record WxH at r frames per second in time"); it plays for its whole length, each
// frame before a gap standing over it.
// A recording that fails while the camera runs (a disk that fills, a camera that goes) is told at once,
// naming the file and the cause; the camera then records nothing until the next start. A start whose
// file cannot take its first bytes (a full disk) is refused with 0 and told.
CORVANE_API int fnDoStartVideoCapture(int camera, std::uintptr_t window);
// Returns at once: the file ends with the frames taken before the stop and is finalised in the background
// within a moment (a machine that is behind records until the camera ends); files still open when the
// library unloads (the host ends) are finalised then. The camera and its preview run on for a second, for
// a start that carries on into a new file, and then end.
CORVANE_API int fnDoStopVideoCapture(int camera);
// Cuts the current file and records on into the video name set last, as a stop and start would; 0 when
// the camera was not recording or the new file cannot be made (the camera then records on into its
// current file).
CORVANE_API int fnDoStopRestartVideoCapture(int camera);
// The path of the file the camera records into: the length of the path in bytes, 0 when the camera
// records nothing. As much of it as fits into size bytes is copied into name, always ended by a zero byte.
CORVANE_API int fnGetVideoName(int camera, char* name, int size);
// The camera's preview over the whole screen, and back into its window; both answer 0. Key and button
// presses on the full-screen preview are passed on to the camera's window, so the host can end it on a
// key. A camera that does not record or has no window is left as it is; a stop ends the full screen.
CORVANE_API int fnShowFullScreen(int camera);
CORVANE_API int fnHideFullScreen(int camera);

// Sizes run from 1 to 4096 on each side; others are refused with 0 and the old size stays. The output size
// is that of the JPEG snapshots; the video size is kept as set, as the preview fills its window.
CORVANE_API int fnSetOutputSize(int width, int height);
CORVANE_API int fnSetOutputVideoSize(int width, int height);
CORVANE_API int fnSetOutputImageQuality(int quality);
// Also the document root of the request handler.
CORVANE_API int fnSetWebDirectory(const char* path);

// The latest preview frame of a running camera as JPEG; release *jpeg with fnFreeMemory.
CORVANE_API int GetCameraJpeg(int camera, unsigned char** jpeg, std::uint32_t* length);

CORVANE_API int fnIsRequestComplete(const char* request, std::uint32_t length);
// Answers one HTTP/1.0 request; release *response with fnFreeMemory. A missing file is answered
// "404 Not Found", typed "text/html" (the page "/fnf.html" of the root, when there is one, is its body);
// a file larger than 64 MB is refused with "403 Forbidden" and an empty body.
CORVANE_API int fnHandleHttpRequest(const char* request, std::uint32_t length, char** response,
                                    std::uint32_t* responseLength, int* keepAlive);

CORVANE_API void fnFreeMemory(void* block);

// Kept for hosts that declare them; nothing in the library reads the port or nCorvane. A port outside 1 to
// 65535 is refused with 0 and the old one stays; 80 until one is set.
CORVANE_API int fnSetOutputPort(int port);
CORVANE_API int fnCorvane();
CORVANE_API int SomeFunction(int);
extern CORVANE_API int nCorvane;
}

// Kept for hosts that declare it; it holds nothing.
class CORVANE_API CCorvane {
 public:
  CCorvane();
  CCorvane& operator=(const CCorvane&);
};
