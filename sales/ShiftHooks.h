#pragma once

#include <QWidget>
#include <functional>

// What a hand-over and the end of a shift ask of the main window that starts them. Each is a copy
// of its own, so that the steps after the main window is gone still have what they call.
struct ShiftHooks {
    // The window the dialogs belong to.
    QWidget* owner = nullptr;
    // Stops every camera that records, without asking anyone, so that each file is finished.
    std::function<void()> stopVideoRecording;
    // Closes and destroys the main window.
    std::function<void()> unloadMain;
    // The start-up again, up to a fresh login window.
    std::function<void()> startOver;
};
