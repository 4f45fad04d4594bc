#include "ErrorDisplay.h"
#include "Main.h"
#include "frm_ErrorDisplay.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    SetErrorDisplayHandler(&frm_ErrorDisplay::ShowFor);
    return RunProgram();
}
