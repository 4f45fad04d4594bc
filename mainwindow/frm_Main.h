#pragma once

#include <QMainWindow>

// The counter's main window. One default instance, made on first use and made afresh after it
// was unloaded (a hand-over unloads it and starts over at the login).
class frm_Main : public QMainWindow {
    Q_OBJECT

public:
    static frm_Main& Default();
    static bool IsLoaded();
    // Closes and destroys the default instance.
    static void Unload();

private:
    frm_Main();
};
