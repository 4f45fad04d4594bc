#include "Db.h"
#include "ErrorDisplay.h"
#include "Globals.h"
#include "Settings.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    try {
        LoadSettings();
        CurrentTask = "connecting to the database";
        Db::Open();
    } catch (const VbError& e) {
        ShowErrorDisplay(e);
        return 1;
    }
    return 0;
}
