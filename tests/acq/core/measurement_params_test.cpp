// The measurement parameter rules: range checks of the sampling time and number, and how the
// dialog's choices reach the application state.
#include "acq/core/measurement_params.h"
#include "common/core/status_codes.h"
#include "tests/acq/core/acq_test_support.h"

#include <gtest/gtest.h>

namespace {

TEST(MeasurementParams, StrToSngIncludesBothEnds)
{
    struct Case { const char *text; float min; float max; qint16 expected; };
    const Case cases[] = {
        {"1", 1, 9999, status::kSuccess},      {"9999", 1, 9999, status::kSuccess},
        {"10000", 1, 9999, status::kFailure},  {"0.5", 1, 9999, status::kFailure},
        {"0.99", 1, 9999, status::kFailure},   {"-3", 1, 9999, status::kFailure},
        {"65500", 1, 65500, status::kSuccess}, {"65501", 1, 65500, status::kFailure},
        {" 2.26 ", 1, 9999, status::kSuccess}, {"1e3", 1, 9999, status::kSuccess},
        {"abc", 1, 9999, status::kFailure},    {"", 1, 9999, status::kFailure},
        {"2,5", 1, 9999, status::kFailure},
    };
    for (const Case &c : cases) {
        float value = -7;
        EXPECT_EQ(MeasurementParams::fmStrToSng(&value, c.text, c.min, c.max), c.expected) << c.text;
    }
    float value = 42;
    MeasurementParams::fmStrToSng(&value, "abc", 1, 9999);
    EXPECT_EQ(value, 42.0f); // a text that is not a number leaves the value alone
    MeasurementParams::fmStrToSng(&value, "10000", 1, 9999);
    EXPECT_EQ(value, 10000.0f);
}

class SetMeasurParam : public ::testing::Test
{
protected:
    void SetUp() override
    {
        state = acqtest::makeState();
        state->portNumber = 4;
        state->portPath = "/dev/ttyUSB3";
        state->usbSerialText = "OLD";
        choice.instrument = QStringLiteral("SN200");
        choice.widthText = "100.000";
        choice.heightText = "200.000";
        choice.diameterText = "100.000";
    }
    bool set()
    {
        return MeasurementParams::smSetMeasurParam(*state, choice, [](const QString &serial) {
            return serial == "SN200" ? QStringLiteral("/dev/ttyUSB7") : QString();
        });
    }
    std::unique_ptr<AppState> state;
    MeasurementParams::Choice choice;
};

TEST_F(SetMeasurParam, MissingInstrumentChangesNothing)
{
    state->sampleTime = 5;
    choice.sampleTimeText = "2.26";
    choice.ductShape = 1;
    for (const std::optional<QString> &instrument : {std::optional<QString>(), std::optional<QString>("GONE")}) {
        choice.instrument = instrument;
        EXPECT_FALSE(set());
        EXPECT_EQ(std::tuple(state->portNumber, state->portPath, state->usbSerialText,
                             state->sampleTime, state->ductShape),
                  std::tuple(4, "/dev/ttyUSB3", "OLD", 5.0f, 0));
    }
    // In simulation mode no instrument is needed and the port stays as it was; a chosen
    // instrument that has gone is still refused.
    state->simulation = 1;
    choice.instrument.reset();
    EXPECT_TRUE(set());
    EXPECT_EQ(std::tuple(state->portNumber, state->portPath, state->sampleTime),
              std::tuple(4, "/dev/ttyUSB3", 2.3f));
    choice.instrument = QStringLiteral("GONE");
    EXPECT_FALSE(set());
}

TEST_F(SetMeasurParam, SamplingValues)
{
    struct Case { std::optional<QString> time; std::optional<QString> count; float stored; float time_; qint32 count_; };
    const Case cases[] = {
        {QString("2.26"), QString("100"), 1, 2.3f, 100},
        {QString("2.25"), QString("65500"), 1, 2.3f, 65500},  // halves away from zero
        {QString("9999"), QString("1"), 1, 9999.0f, 1},
        {std::nullopt, std::nullopt, 0.5f, 0.5f, 300},       // untouched: the stored values stay
        {std::nullopt, std::nullopt, 0.04f, 0.04f, 300},
        {QString("abc"), QString("abc"), 3, 3.0f, 300},      // never converted
    };
    for (const Case &c : cases) {
        state->sampleTime = c.stored;
        state->sampleCount = 300;
        choice.sampleTimeText = c.time;
        choice.sampleCountText = c.count;
        ASSERT_TRUE(set());
        EXPECT_EQ(state->sampleTime, c.time_) << c.time.value_or("-").toStdString();
        EXPECT_EQ(state->sampleCount, c.count_);
    }
}

// A changed velocity unit resets the graph ranges; a kept one (FPM twice) leaves what the user
// set in the meantime.
TEST_F(SetMeasurParam, VelocityUnitChangeResetsTheGraphRanges)
{
    struct Case { qint16 unit; double yMaxBefore; qint32 rangeBefore; double yMax; qint32 range; };
    const Case cases[] = {
        {1, 50, 300, 18000, 20000}, {1, 5000, 777, 5000, 777}, {0, 5000, 777, 60, 100}};
    for (const Case &c : cases) {
        state->velYMax = c.yMaxBefore;
        state->flowXRange = c.rangeBefore;
        choice.velocityUnit = c.unit;
        ASSERT_TRUE(set());
        EXPECT_EQ(std::tuple(state->velocityUnit, state->velYMax, state->flowXRange),
                  std::tuple(c.unit, c.yMax, c.range)) << c.unit << " " << c.yMaxBefore;
    }
}

TEST_F(SetMeasurParam, UnitsShapeAndArea)
{
    choice.flowUnit = 3;
    choice.ductUnit = 0;
    choice.ductShape = 1;
    choice.sampleType = 0;
    ASSERT_TRUE(set());
    EXPECT_EQ(std::tuple(state->flowUnit, state->sampleType, state->ductShape, state->ductDiameter),
              std::tuple(3, 0, 1, 100.0));
    EXPECT_DOUBLE_EQ(state->ductArea, 7850);

    choice.ductShape = 0;
    choice.ductUnit = 1;
    ASSERT_TRUE(set());
    EXPECT_EQ(state->ductUnit, 1);
    EXPECT_DOUBLE_EQ(state->ductArea, 20000);
}

} // namespace
