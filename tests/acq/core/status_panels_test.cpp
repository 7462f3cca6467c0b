#include "acq/core/app_state.h"
#include "acq/core/status_panels.h"
#include "common/core/status_codes.h"

#include <gtest/gtest.h>

namespace {

class StatusPanelsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_table.loadFile(QStringLiteral(":/strings/ventacq_strings.tsv")));
        m_state.texts = Texts(&m_table, UiVariant::Japanese);
        m_state.languageOffset = 10000; // the status texts stay English anyway
        ASSERT_EQ(fLoadCommonStrings(m_state), status::kSuccess);
    }
    StringTable m_table;
    AppState m_state;
    const StatusPanels::Tips m_tips{QStringLiteral("t1306"), QStringLiteral("t1307"), QStringLiteral("t1317")};
};

TEST_F(StatusPanelsTest, ProgramDataAndTypeTextsStayEnglish)
{
    m_state.idle = 1;
    EXPECT_EQ(StatusPanels::programStatus(m_state), QStringLiteral("Display"));
    m_state.idle = 0;
    EXPECT_EQ(StatusPanels::programStatus(m_state), QStringLiteral("Measurement"));
    m_state.idle = 7;
    EXPECT_EQ(StatusPanels::programStatus(m_state), QString());
    const char *data[] = {" ", " ", "Old Data", "New Data"};
    for (int d = 0; d < 4; ++d) {
        m_state.dataState = d;
        EXPECT_EQ(StatusPanels::dataStatus(m_state), QLatin1String(data[d]));
    }
    m_state.sampleType = 0;
    EXPECT_EQ(StatusPanels::sampleType(m_state), QStringLiteral("Instant"));
    m_state.sampleType = 1;
    EXPECT_EQ(StatusPanels::sampleType(m_state), QStringLiteral("Average"));
}

TEST_F(StatusPanelsTest, PortAndBaudFollowTheUsbOption)
{
    m_state.usbEnable = 0;
    m_state.portNumber = 1;
    m_state.baudRate = 19200;
    EXPECT_EQ(StatusPanels::port(m_state), QStringLiteral("COM1"));
    EXPECT_EQ(StatusPanels::baudRate(m_state), QStringLiteral("19200bps"));
    m_state.usbEnable = 1;
    m_state.usbSerialText = QStringLiteral("0012345");
    EXPECT_EQ(StatusPanels::port(m_state), QStringLiteral("0012345"));
    EXPECT_EQ(StatusPanels::baudRate(m_state), QStringLiteral("USB"));
    m_state.usbSerialText.clear();
    EXPECT_EQ(StatusPanels::port(m_state), QString()); // no instrument chosen
}

TEST_F(StatusPanelsTest, SamplingTimeAndProgress)
{
    m_state.idle = 1;
    m_state.sampleTime = 0.5f;
    m_state.sampleCount = 65500;
    StatusPanels::MeasureParam p = StatusPanels::measureParam(m_state, 0, m_tips);
    EXPECT_EQ(p.samplingTime, QStringLiteral("0.5Sec"));
    EXPECT_EQ(p.samplingNumber, QStringLiteral("65500times"));
    EXPECT_EQ(p.samplingTimeTip, QStringLiteral("t1306"));
    EXPECT_EQ(p.samplingNumberTip, QStringLiteral("t1307"));
    m_state.sampleTime = 10;
    EXPECT_EQ(StatusPanels::measureParam(m_state, 0, m_tips).samplingTime, QStringLiteral("10.0Sec"));

    // During a run: before the first sample, then the first poll of 3 samples.
    m_state.idle = 0;
    m_state.receivedCount = 0;
    p = StatusPanels::measureParam(m_state, 0, m_tips);
    EXPECT_EQ(p.samplingNumber, QStringLiteral("65500times"));
    EXPECT_EQ(p.samplingNumberTip, QStringLiteral("t1307"));
    EXPECT_FALSE(p.samplingTimeTip.has_value());
    p = StatusPanels::measureParam(m_state, 3, m_tips);
    EXPECT_EQ(p.samplingNumber, QStringLiteral("3 /65500"));
    EXPECT_EQ(p.samplingNumberTip, QStringLiteral("t1317"));
    m_state.sampleCount = 100;
    m_state.receivedCount = 22;
    EXPECT_EQ(StatusPanels::measureParam(m_state, 3, m_tips).samplingNumber, QStringLiteral("25 /100"));
}

TEST(CommandStates, TableByProgramAndDataState)
{
    using S = CommandStates::State;
    auto at = [](const CommandStates::Table &t, AcqCommand c) { return t[size_t(c)]; };

    const CommandStates::Table running = CommandStates::forState(0, 0);
    EXPECT_EQ(at(running, AcqCommand::New), S::Off);
    EXPECT_EQ(at(running, AcqCommand::Exit), S::Off);
    EXPECT_EQ(at(running, AcqCommand::MeasureStop), S::On);
    EXPECT_EQ(at(running, AcqCommand::GraphPEdit), S::On);
    EXPECT_EQ(at(running, AcqCommand::About), S::Kept);

    for (int data : {1, 2}) {
        const CommandStates::Table t = CommandStates::forState(1, data);
        EXPECT_EQ(at(t, AcqCommand::Save), S::Off) << data;
        EXPECT_EQ(at(t, AcqCommand::New), S::On);
        EXPECT_EQ(at(t, AcqCommand::MeasureStop), S::Off);
        EXPECT_EQ(at(t, AcqCommand::About), S::On);
    }
    EXPECT_EQ(at(CommandStates::forState(1, 3), AcqCommand::Save), S::On);
    for (const CommandStates::Table &t : {CommandStates::forState(1, 0), CommandStates::forState(1, 4),
                                          CommandStates::forState(2, 3)}) {
        for (S s : t)
            EXPECT_EQ(s, S::Kept);
    }
    // While a run is being started nothing but what a run allows is usable.
    EXPECT_EQ(CommandStates::forState(1, 3, true), running);
}

} // namespace
