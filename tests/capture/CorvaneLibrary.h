// The capture library loaded by name and bound export by export, as the counter program binds it.
#pragma once

#include "Corvane.h"

#include <dlfcn.h>

#include <stdexcept>
#include <string>

class CorvaneLibrary {
 public:
  CorvaneLibrary() : handle_(dlopen("libCorvane.so", RTLD_NOW)) {
    if (!handle_) throw std::runtime_error(dlerror());
  }
  CorvaneLibrary(const CorvaneLibrary&) = delete;
  CorvaneLibrary& operator=(const CorvaneLibrary&) = delete;

 private:
  template <typename Function>
  Function Bind(const char* name) {
    void* address = dlsym(handle_, name);
    if (!address) throw std::runtime_error(std::string("libCorvane.so has no ") + name);
    return reinterpret_cast<Function>(address);
  }

  void* handle_;

 public:
#define CORVANE_BIND(name) decltype(&::name) name = Bind<decltype(&::name)>(#name)
  CORVANE_BIND(fnSetErrorSink);
  CORVANE_BIND(fnGetDevicesNum);
  CORVANE_BIND(fnSetVideoName);
  CORVANE_BIND(fnGetVideoName);
  CORVANE_BIND(fnSetWMProfile);
  CORVANE_BIND(fnDoStartVideoCapture);
  CORVANE_BIND(fnDoStopVideoCapture);
  CORVANE_BIND(fnDoStopRestartVideoCapture);
  CORVANE_BIND(fnShowFullScreen);
  CORVANE_BIND(fnHideFullScreen);
  CORVANE_BIND(fnSetOutputSize);
  CORVANE_BIND(fnSetOutputVideoSize);
  CORVANE_BIND(fnSetOutputImageQuality);
  CORVANE_BIND(fnSetWebDirectory);
  CORVANE_BIND(GetCameraJpeg);
  CORVANE_BIND(fnIsRequestComplete);
  CORVANE_BIND(fnHandleHttpRequest);
  CORVANE_BIND(fnFreeMemory);
  CORVANE_BIND(fnSetOutputPort);
  CORVANE_BIND(fnCorvane);
  CORVANE_BIND(SomeFunction);
  CORVANE_BIND(nCorvane);
#undef CORVANE_BIND
};
