// Decoding of the driver's sample texts into the poll's sample table.
#include "acq/core/sample_decoder.h"
#include "acq/core/sample_table.h"
#include "acq/driver/scripted_driver.h"
#include "common/core/status_codes.h"
#include "tests/acq/core/acq_test_support.h"

#include <gtest/gtest.h>

namespace {

struct DecodeCase
{
    const char *text;
    qint16 languageOffset;
    qint16 atmEnable, atmDisplay;
    // expected columns 1, 5, 9, 10, 11
    const char *velocity, *flow, *atmosphere, *pressure, *flag;
};

class DecodeRules : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeRules, FillsTheRowByTheDecodingTable)
{
    const DecodeCase &c = GetParam();
    auto state = acqtest::makeState();
    state->languageOffset = c.languageOffset;
    state->atmEnable = c.atmEnable;
    state->atmDisplay = c.atmDisplay;
    SampleTable table;
    table.reset(1);
    decodeSampleText(*state, QString::fromUtf8(c.text), table, 1);
    EXPECT_EQ(std::tuple(table.cell(1, 1), table.cell(1, 5), table.cell(1, 9), table.cell(1, 10),
                         table.cell(1, 11)),
              std::tuple(c.velocity, c.flow, c.atmosphere, c.pressure, c.flag));
    for (int column : {2, 3, 4, 6, 7, 8})
        EXPECT_EQ(table.cell(1, column), "0.0") << "column " << column;
    EXPECT_EQ(table.cell(0, 1), "") << "row 0 stays empty";
}

INSTANTIATE_TEST_SUITE_P(
    Table, DecodeRules,
    ::testing::Values(
        // The full text, atmosphere shown.
        DecodeCase{"3.25,120.5,10132,1", 0, 1, 1, "3.25", "120.5", "1013.2", "1013.2", "1"},
        DecodeCase{"3.25,120.5,10132,2", 0, 1, 1, "3.25", "120.5", "1013.2", "1013.2", "2"},
        // Two fields: no pressure, flag "0", "N" in English and "-" in the localized block.
        DecodeCase{"3.25,120.5", 0, 1, 1, "3.25", "120.5", "N", "0.0", "0"},
        DecodeCase{"3.25,120.5", 10000, 1, 1, "3.25", "120.5", "-", "0.0", "0"},
        // Three fields are still fewer than four.
        DecodeCase{"3.25,120.5,10132", 0, 1, 1, "3.25", "120.5", "N", "0.0", "0"},
        // Empty text and a single field: velocity and flow "0.0".
        DecodeCase{"", 0, 1, 1, "0.0", "0.0", "N", "0.0", "0"},
        DecodeCase{"3.25", 0, 1, 1, "0.0", "0.0", "N", "0.0", "0"},
        // Blanks around pressure and flag are trimmed; velocity and flow are kept as received.
        DecodeCase{" 3.25 , 120.5 , 10132 , 2 ", 0, 1, 1, " 3.25 ", " 120.5 ", "1013.2", "1013.2", "2"},
        // Sensor error, unknown flag.
        DecodeCase{"3.25,120.5,10132,3", 0, 1, 1, "3.25", "120.5", "Err", "1013.2", "3"},
        DecodeCase{"3.25,120.5,10132,0", 10000, 1, 1, "3.25", "120.5", "-", "1013.2", "0"},
        // A single pressure digit gets no point; extra fields are ignored.
        DecodeCase{"1,2,7,1,9,9", 0, 1, 1, "1", "2", "7", "7", "1"},
        // Non-numeric fields stay text.
        DecodeCase{"abc,x y,ATM,1", 0, 1, 1, "abc", "x y", "AT.M", "AT.M", "1"},
        // Atmosphere not displayed or not enabled: column 9 stays empty.
        DecodeCase{"3.25,120.5,10132,1", 0, 1, 0, "3.25", "120.5", "", "1013.2", "1"},
        DecodeCase{"3.25,120.5,10132,1", 0, 0, 1, "3.25", "120.5", "", "1013.2", "1"}));

TEST(FmGetData, StopsBeforeTheSampleWhoseErrstatIsNotSuccess)
{
    auto state = acqtest::makeState();
    ScriptedDriver::Step step;
    step.samples = QStringList{"1.00,10.0,10130,1", "2.00,20.0,10131,1", "3.00,30.0,10132,1"};
    step.errstat = 4;
    step.errstatAfterReads = 2;
    ScriptedDriver driver({step});
    driver.SampleCnt();
    SampleTable table;
    table.reset(3);
    EXPECT_EQ(fmGetData(*state, driver, table, 3), 4);
    EXPECT_EQ(state->statusCode, 4);
    EXPECT_EQ(std::tuple(table.cell(1, 1), table.cell(2, 1), table.cell(3, 1)),
              std::tuple("1.00", "2.00", ""))
        << "the third row stays as created";
}

} // namespace
