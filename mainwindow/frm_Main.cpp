#include "frm_Main.h"

#include "Prompter.h"

namespace {
frm_Main* instance = nullptr;
}

frm_Main& frm_Main::Default()
{
    if (!instance)
        instance = new frm_Main;
    return *instance;
}

bool frm_Main::IsLoaded() { return instance != nullptr; }

void frm_Main::Unload()
{
    delete instance;
    instance = nullptr;
}

frm_Main::frm_Main()
{
    setWindowTitle(AppTitle);
    resize(1024, 740);
}
