// Ports as device paths and as numbers.
#include "common/core/port_names.h"

#include <gtest/gtest.h>

namespace {

TEST(PortNames, NumbersAndPaths)
{
    const struct { const char *path; qint16 number; } cases[] = {
        {"/dev/ttyS0", 1},    {"/dev/ttyS3", 4},      {"/dev/ttyUSB0", 0}, {"/dev/ttyUSB12", 12},
        {"/dev/pts/7", 7},    {"/dev/ttyACM2", 2},    {"/tmp/ttyVENT", 0}, {"", 0},
        {"/dev/ttyS32766", 32767}, {"/dev/ttyS32767", 0}, {"/dev/x99999999999", 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(PortNames::numberForPath(c.path), c.number) << c.path;

    EXPECT_EQ(PortNames::pathForNumber(1), "/dev/ttyS0");
    EXPECT_EQ(PortNames::pathForNumber(12), "/dev/ttyS11");
    EXPECT_EQ(PortNames::pathForNumber(0), "");
    EXPECT_EQ(PortNames::pathForNumber(-3), "");
    for (qint16 n : {1, 2, 9, 300})
        EXPECT_EQ(PortNames::numberForPath(PortNames::pathForNumber(n)), n);
}

} // namespace
