// The texts of the status bar panels and the command states.
#include "acq/core/app_state.h"
#include "acq/core/status_panels.h"
#include "tests/acq/core/acq_test_support.h"

#include <gtest/gtest.h>

namespace {

// The status texts stay English in the Japanese block.
std::unique_ptr<AppState> japanese()
{
    return acqtest::makeState(UiVariant::Japanese, 10000);
}

TEST(StatusPanels, ProgramDataAndTypeTextsStayEnglish)
{
    auto state = japanese();
    const char *program[] = {"Measurement", "Display"};
    for (qint16 idle : {0, 1}) {
        state->idle = idle;
        EXPECT_EQ(StatusPanels::programStatus(*state), QLatin1String(program[idle]));
    }
    state->idle = 7;
    EXPECT_EQ(StatusPanels::programStatus(*state), QString());
    const char *data[] = {" ", " ", "Old Data", "New Data"};
    for (int d = 0; d < 4; ++d) {
        state->dataState = d;
        EXPECT_EQ(StatusPanels::dataStatus(*state), QLatin1String(data[d]));
    }
    const char *type[] = {"Instant", "Average"};
    for (qint16 t : {0, 1}) {
        state->sampleType = t;
        EXPECT_EQ(StatusPanels::sampleType(*state), QLatin1String(type[t]));
    }
}

TEST(StatusPanels, PortAndBaudFollowTheUsbOption)
{
    auto state = japanese();
    state->usbEnable = 0;
    state->portNumber = 1;
    state->baudRate = 19200;
    EXPECT_EQ(std::pair(StatusPanels::port(*state), StatusPanels::baudRate(*state)), std::pair(QString("COM1"), QString("19200bps")));
    state->usbEnable = 1;
    state->usbSerialText = QStringLiteral("0012345");
    EXPECT_EQ(std::pair(StatusPanels::port(*state), StatusPanels::baudRate(*state)), std::pair(QString("0012345"), QString("USB")));
    state->usbSerialText.clear();
    EXPECT_EQ(StatusPanels::port(*state), QString()); // no instrument chosen
}

TEST(StatusPanels, SamplingTimeAndProgress)
{
    auto state = japanese();
    const StatusPanels::Tips tips{QStringLiteral("t1306"), QStringLiteral("t1307"), QStringLiteral("t1317")};
    state->idle = 1;
    state->sampleTime = 0.5f;
    state->sampleCount = 65500;
    StatusPanels::MeasureParam p = StatusPanels::measureParam(*state, 0, tips);
    EXPECT_EQ(std::tuple(p.samplingTime, p.samplingNumber, *p.samplingTimeTip, p.samplingNumberTip),
              std::tuple(QString("0.5Sec"), QString("65500times"), QString("t1306"), QString("t1307")));
    state->sampleTime = 10;
    EXPECT_EQ(StatusPanels::measureParam(*state, 0, tips).samplingTime, QStringLiteral("10.0Sec"));

    // During a run: before the first sample, then a first poll of one sample.
    state->idle = 0;
    state->receivedCount = 0;
    p = StatusPanels::measureParam(*state, 0, tips);
    EXPECT_EQ(std::pair(p.samplingNumber, p.samplingNumberTip), std::pair(QString("65500times"), QString("t1307")));
    EXPECT_FALSE(p.samplingTimeTip.has_value());
    p = StatusPanels::measureParam(*state, 1, tips);
    EXPECT_EQ(std::pair(p.samplingNumber, p.samplingNumberTip), std::pair(QString("1 /65500"), QString("t1317")));
    state->sampleCount = 100;
    state->receivedCount = 22;
    EXPECT_EQ(StatusPanels::measureParam(*state, 3, tips).samplingNumber, QStringLiteral("25 /100"));
}

TEST(CommandStates, TableByProgramAndDataState)
{
    using S = CommandStates::State;
    auto at = [](const CommandStates::Table &t, AcqCommand c) { return t[size_t(c)]; };
    const CommandStates::Table running = CommandStates::forState(0, 0);
    EXPECT_EQ(std::tuple(at(running, AcqCommand::New), at(running, AcqCommand::Exit), at(running, AcqCommand::MeasureStop),
                         at(running, AcqCommand::GraphPEdit), at(running, AcqCommand::About)),
              std::tuple(S::Off, S::Off, S::On, S::On, S::Kept));
    for (int data : {1, 2}) {
        const CommandStates::Table t = CommandStates::forState(1, data);
        EXPECT_EQ(std::tuple(at(t, AcqCommand::Save), at(t, AcqCommand::New), at(t, AcqCommand::MeasureStop), at(t, AcqCommand::About)),
                  std::tuple(S::Off, S::On, S::Off, S::On)) << data;
    }
    EXPECT_EQ(at(CommandStates::forState(1, 3), AcqCommand::Save), S::On);
    // Open: off during a run; an opened run ("Old Data") can be saved again.
    EXPECT_EQ(std::tuple(at(running, AcqCommand::Open), at(CommandStates::forState(1, 1), AcqCommand::Open),
                         at(CommandStates::forState(1, 2, false, true), AcqCommand::Save)),
              std::tuple(S::Off, S::On, S::On));
    for (const CommandStates::Table &t : {CommandStates::forState(1, 0), CommandStates::forState(1, 4),
                                          CommandStates::forState(2, 3)}) {
        for (S s : t)
            EXPECT_EQ(s, S::Kept);
    }
    // While a run is being started nothing but what a run allows is usable.
    EXPECT_EQ(CommandStates::forState(1, 3, true), running);
}

} // namespace
