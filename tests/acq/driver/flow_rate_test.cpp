// Unit factors and the sample text of the driver.
#include "acq/driver/flow_rate.h"

#include <gtest/gtest.h>

namespace {

TEST(FlowRate, FlowThroughOneSquareUnitOfEachDuctUnit)
{
    struct Case { double mps; double area; int duct; int flow; double expected; };
    const double ft2 = 0.3048 * 0.3048;
    const double ft3 = ft2 * 0.3048;
    const Case cases[] = {
        // 1 m/s through 1 m2 (10^6 mm2) is 3600 m3/h, 60 m3/min.
        {1.0, 1e6, 0, 0, 3600.0},
        {1.0, 1e6, 0, 2, 60.0},
        // 1 m/s through 1 ft2 (144 in2 or 1 ft2): ft3/min = FPM x ft2.
        {1.0, 144.0, 1, 3, 1.0 / 0.00508},
        {1.0, 1.0, 2, 3, 1.0 / 0.00508},
        {1.0, 1.0, 2, 1, 60.0 / 0.00508},
        // The same in metric units: 1 m/s x 1 ft2.
        {1.0, 1.0, 2, 0, ft2 * 3600.0},
        {2.0, 10000.0, 0, 1, 2.0 * 0.01 / ft3 * 3600.0},
    };
    for (const Case &c : cases)
        EXPECT_NEAR(FlowRate::flowIn(c.mps, c.area, c.duct, c.flow), c.expected,
                    1e-9 * c.expected)
            << c.duct << " -> " << c.flow;
}

TEST(FlowRate, SampleTextDecimalsByUnit)
{
    // 3.25 m/s through a 100 x 200 mm duct (0.02 m2): 0.065 m3/s.
    EXPECT_EQ(FlowRate::sampleText(3.25, 20000, 0, 0, 0, 10132, 1), "3.25,234.00,10132,1");
    EXPECT_EQ(FlowRate::sampleText(3.25, 20000, 0, 2, 0, 10132, 1), "3.25,3.900,10132,1");
    EXPECT_EQ(FlowRate::sampleText(3.25, 20000, 0, 1, 0, 10132, 2), "3.25,8263.6,10132,2");
    EXPECT_EQ(FlowRate::sampleText(3.25, 20000, 1, 3, 0, 10132, 3), "639.76,137.73,10132,3");
    EXPECT_EQ(FlowRate::sampleText(0, 20000, 0, 0, 0, 0, 0), "0.00,0.00,0,0");
}

} // namespace
