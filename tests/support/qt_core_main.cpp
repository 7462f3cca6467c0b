// Test main for QtCore-only tests: an event loop for timers and serial ports, no widgets.
#include "tests/support/test_support.h"

#include <QCoreApplication>
#include <gmock/gmock.h>

int main(int argc, char **argv)
{
    venttest::isolateUserFolders();
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
