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
        EXPECT_EQ(state->portNumber, 4);
        EXPECT_EQ(state->portPath, "/dev/ttyUSB3");
        EXPECT_EQ(state->usbSerialText, "OLD");
        EXPECT_EQ(state->sampleTime, 5.0f);
        EXPECT_EQ(state->ductShape, 0);
    }
    // In simulation mode no instrument is needed and the port stays as it was; a chosen
    // instrument that has gone is still refused.
    state->simulation = 1;
    choice.instrument.reset();
    EXPECT_TRUE(set());
    EXPECT_EQ(state->portNumber, 4);
    EXPECT_EQ(state->portPath, "/dev/ttyUSB3");
    EXPECT_EQ(state->sampleTime, 2.3f);
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

TEST_F(SetMeasurParam, VelocityUnitChangeResetsTheGraphRanges)
{
    state->velocityUnit = 0;
    state->velYMax = 50;
    state->flowXRange = 300;
    choice.velocityUnit = 1;
    ASSERT_TRUE(set());
    EXPECT_EQ(state->velocityUnit, 1);
    EXPECT_EQ(state->velYMax, 18000);
    EXPECT_EQ(state->flowXRange, 20000);

    // FPM kept: a maximum the user set in the meantime stays.
    state->velYMax = 5000;
    state->flowXRange = 777;
    ASSERT_TRUE(set());
    EXPECT_EQ(state->velYMax, 5000);
    EXPECT_EQ(state->flowXRange, 777);

    choice.velocityUnit = 0;
    ASSERT_TRUE(set());
    EXPECT_EQ(state->velocityUnit, 0);
    EXPECT_EQ(state->velYMax, 60);
    EXPECT_EQ(state->flowXRange, 100);
}

TEST_F(SetMeasurParam, UnitsShapeAndArea)
{
    choice.flowUnit = 3;
    choice.ductUnit = 0;
    choice.ductShape = 1;
    choice.sampleType = 0;
    ASSERT_TRUE(set());
    EXPECT_EQ(state->flowUnit, 3);
    EXPECT_EQ(state->sampleType, 0);
    EXPECT_EQ(state->ductShape, 1);
    EXPECT_EQ(state->ductDiameter, 100);
    EXPECT_DOUBLE_EQ(state->ductArea, 7850);

    choice.ductShape = 0;
    choice.ductUnit = 1;
    ASSERT_TRUE(set());
    EXPECT_EQ(state->ductUnit, 1);
    EXPECT_DOUBLE_EQ(state->ductArea, 20000);
}

} // namespace
