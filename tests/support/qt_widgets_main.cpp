// Test main for widget tests: a QApplication on the offscreen platform unless told otherwise.
#include "tests/support/test_support.h"

#include <QApplication>
#include <gmock/gmock.h>

int main(int argc, char **argv)
{
    venttest::isolateUserFolders();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
