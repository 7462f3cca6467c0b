// Duct sizes: range check, unit conversion, area, and the base sizes of the parameter dialog.
#include "acq/core/duct_base_sizes.h"
#include "acq/core/duct_units.h"
#include "common/core/number_format.h"
#include "common/core/status_codes.h"
#include "tests/acq/core/acq_test_support.h"

#include <gtest/gtest.h>

namespace {

TEST(DuctUnits, CheckRangeBounds)
{
    struct Case { const char *text; qint16 expected; };
    // Not greater than the minimum, the maximum itself, "." the only separator.
    const Case cases[] = {
        {"0", status::kFailure},         {"-1", status::kFailure},  {"0.001", status::kSuccess},
        {"1000000", status::kSuccess},   {"1000000.5", status::kFailure}, {"abc", status::kFailure},
        {"", status::kFailure},          {" 12.5 ", status::kSuccess}, {"1e3", status::kSuccess},
        {"12,5", status::kFailure},
    };
    for (const Case &c : cases) {
        float value = -7;
        EXPECT_EQ(fCheckRange(&value, c.text, 0, 1000000), c.expected) << c.text;
    }
    float value = 0;
    fCheckRange(&value, "12.5", 0, 100);
    EXPECT_EQ(value, 12.5f);
}

TEST(DuctUnits, ConversionTable)
{
    struct Case { int from; int to; float value; const char *text; };
    const Case cases[] = {
        {0, 0, 100, "100.000"}, {0, 1, 100, "3.937"},  {0, 2, 100, "0.328"},
        {1, 0, 2, "50.800"},    {1, 1, 2, "2.000"},    {1, 2, 18, "1.500"},
        {2, 0, 1, "304.800"},   {2, 1, 1.5, "18.000"}, {2, 2, 1.5, "1.500"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(DuctUnits::sizeText(DuctUnits::convert(c.value, c.from, c.to)), c.text)
            << c.from << " -> " << c.to;
}

TEST(DuctUnits, StoreReadsTheFieldTexts)
{
    auto state = acqtest::makeState();
    DuctUnits::store(*state, DuctUnits::Rectangle, DuctUnits::Inch, "3.937", "7.874", "1.000");
    EXPECT_EQ(std::tuple(state->ductShape, state->ductUnit, state->ductWidth), std::tuple(0, 1, 3.937));
    EXPECT_DOUBLE_EQ(state->ductArea, 7.874 * 3.937);
    EXPECT_DOUBLE_EQ(state->ductDiameter, 10.0) << "a rectangle leaves the diameter";
    DuctUnits::store(*state, DuctUnits::Circle, DuctUnits::Mm, "1", "1", "200.000");
    EXPECT_EQ(std::tuple(state->ductShape, state->ductDiameter, state->ductWidth), std::tuple(1, 200.0, 3.937));
    EXPECT_EQ(NumberFormat::plain(state->ductArea), "31400");
}

TEST(DuctBaseSizes, AValidEntryInAnotherUnitRebasesTheOtherSizes)
{
    // Base in mm; inch on display; the width is typed in inches.
    DuctBaseSizes sizes;
    sizes.load(DuctUnits::Mm, 100, 254, 304.8f);
    const auto shown = sizes.textsIn(DuctUnits::Inch);
    EXPECT_EQ(shown[1], "10.000");
    const DuctBaseSizes::Entry e = sizes.leaveField(DuctBaseSizes::Width, "4", DuctUnits::Inch);
    EXPECT_EQ(std::tuple(e.valid, e.text, sizes.baseUnit()), std::tuple(true, QString("4.000"), DuctUnits::Inch));
    // All three are now inches: back in mm they read as entered and as loaded.
    EXPECT_EQ(sizes.textsIn(DuctUnits::Mm),
              (std::array<QString, 3>{"101.600", "254.000", "304.800"}));
    EXPECT_EQ(sizes.textsIn(DuctUnits::Feet),
              (std::array<QString, 3>{"0.333", "0.833", "1.000"}));
}

TEST(DuctBaseSizes, AnInvalidEntryRestoresTheBaseInTheUnitOnDisplay)
{
    DuctBaseSizes sizes;
    sizes.load(DuctUnits::Mm, 100, 200, 300);
    for (const char *text : {"abc", "0", "-5", "1000000.5", ""}) {
        const DuctBaseSizes::Entry e = sizes.leaveField(DuctBaseSizes::Height, text, DuctUnits::Inch);
        EXPECT_EQ(std::pair(e.valid, e.text), std::pair(false, QString("7.874"))) << text;
    }
    EXPECT_EQ(sizes.baseUnit(), DuctUnits::Mm) << "a refused entry changes nothing";
    EXPECT_EQ(sizes.base(DuctBaseSizes::Height), 200.0f);
    // The largest accepted size.
    EXPECT_TRUE(sizes.leaveField(DuctBaseSizes::Height, "1000000", DuctUnits::Mm).valid);
}

TEST(DuctBaseSizes, TheRewrittenTextIsTheBase)
{
    DuctBaseSizes sizes;
    sizes.load(DuctUnits::Mm, 10, 10, 10);
    const DuctBaseSizes::Entry e = sizes.leaveField(DuctBaseSizes::Diameter, "12.34567", DuctUnits::Mm);
    EXPECT_EQ(e.text, "12.346");
    EXPECT_EQ(sizes.base(DuctBaseSizes::Diameter), 12.346f);
}

} // namespace
