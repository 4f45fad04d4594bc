#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // No test may write the settings of the account that runs it.
    QTemporaryDir windows;
    if (qEnvironmentVariableIsEmpty("WINDIR"))
        qputenv("WINDIR", windows.path().toLocal8Bit());
    // The tests' rate rows name the weekdays in English: regional names are the C locale's, whatever
    // the account's.
    qputenv("LC_ALL", "C.UTF-8");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
