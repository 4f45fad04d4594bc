#include "ErrorDisplay.h"
#include "Main.h"
#include "frm_ErrorDisplay.h"

#include <QApplication>

int main(int argc, char** argv)
{
    // The report pages are shown in web views, which must share their drawing with the windows.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    SetErrorDisplayHandler(&frm_ErrorDisplay::ShowFor);
    return RunProgram();
}
