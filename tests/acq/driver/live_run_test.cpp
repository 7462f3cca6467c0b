// A whole live run end to end: the run control over the serial probe and our driver, against the
// virtual instrument on a pseudo-terminal; the data file checked line by line.
#include "acq/core/app_state.h"
#include "acq/core/run_controller.h"
#include "acq/core/serial_link_probe.h"
#include "acq/driver/instrument_driver.h"
#include "common/core/date_days.h"
#include "common/core/status_codes.h"
#include "tests/support/acq_fakes.h"
#include "tests/support/recording_presenter.h"
#include "tests/support/test_support.h"
#include "tools/ventsim/virtual_instrument.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// ventacq's state, link, probe and run control around one virtual instrument.
class LiveRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(strings.loadFile(venttest::sourcePath("resources/ventacq_strings.tsv")));
        state.texts = Texts(&strings, UiVariant::English);
        ASSERT_EQ(fLoadCommonStrings(state), status::kSuccess);
        state.presenter = &presenter;
        state.lastDataPath = dir.path() + "/VL4402Data.VXD";
        state.usbEnable = 1; // only 19200 is tried
        state.simulation = 0;
        state.sampleTime = 0.1f;
        state.sampleCount = 20;
        state.sampleType = 0;
        link.bind(SerialLinkProbe::fieldsOf(state));
    }

    void start(InstrumentOptions options)
    {
        options.registerBridge = false;
        instrument = std::make_unique<VirtualInstrument>(options);
        QString error;
        ASSERT_TRUE(instrument->start(&error)) << error.toStdString();
        state.portPath = instrument->portPath();
        run.sStartMeasu();
    }

    QByteArray dataFile() const
    {
        QFile file(state.lastDataPath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    StringTable strings;
    AppState state;
    venttest::RecordingPresenter presenter;
    QTemporaryDir dir;
    SerialLink link{LinkSettings::ventacq()};
    SerialLinkProbe probe{link};
    venttest::RecordingDisplay display;
    RunController run{state, display, display, [] { return std::make_unique<InstrumentDriver>(); }, &probe};
    std::unique_ptr<VirtualInstrument> instrument;
};

TEST_F(LiveRun, TwentySamplesFromTheVirtualInstrument)
{
    state.baudRate = 4800;
    state.ductShape = 0;
    state.ductWidth = 100;
    state.ductHeight = 200;
    state.ductArea = 20000;
    InstrumentOptions options;
    options.baud = 19200;
    start(options);
    ASSERT_TRUE(state.measuring) << presenter.lastText().toStdString();
    EXPECT_EQ(state.baudRate, 19200);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !state.measuring; }, 8000));
    EXPECT_EQ(presenter.lastText(), "The measurement ended. ");
    EXPECT_EQ(state.receivedCount, 20);
    EXPECT_EQ(display.velocityCells.size(), 20);

    QStringList commands;
    for (const auto &c : instrument->commands())
        commands << c.command;
    EXPECT_EQ(commands.mid(0, 2), (QStringList{"P", "U"}));
    EXPECT_EQ(commands.mid(2), QStringList(20, "V")) << "one reading per sample";

    const QByteArray bytes = dataFile();
    ASSERT_TRUE(bytes.endsWith("\r\n"));
    const QStringList lines = QString::fromUtf8(bytes).split("\r\n");
    ASSERT_EQ(lines.size(), 9 + 20 + 1); // the header (its form: DataFileTest), the samples
    EXPECT_EQ(lines.mid(2, 2), (QStringList{"Interval Time :0.1Sec", "Sampling Number:20"}));
    // Sample g was taken 0.1 x (g - 1) s after the start: whole seconds, then ":" tenths "00".
    const QDateTime begin = DateDays::toDateTime(state.startTime);
    EXPECT_EQ(begin.time().msec(), 0) << "the run starts on a whole second";
    const QRegularExpression form(R"(^ (.{19}):(\d)00 ,(\d+\.\d\d),(\d+\.\d\d),(\d{4}),1$)");
    for (int g = 1; g <= 20; ++g) {
        const QString &line = lines.at(8 + g);
        const QRegularExpressionMatch m = form.match(line);
        ASSERT_TRUE(m.hasMatch()) << line.toStdString();
        const QDateTime stamp = begin.addSecs((g - 1) / 10);
        EXPECT_EQ(m.captured(1), stamp.toString("yyyy-MM-dd HH:mm:ss")) << g;
        EXPECT_EQ(m.captured(2).toInt(), (g - 1) % 10) << g;
        // The flow is the driver's (LiveDriver.UnitsAndDuctAreaShapeTheSample) for the duct the
        // run control hands over (RunControllerTest.StartHandsTheDriverItsThirteenArguments).
        EXPECT_EQ(m.captured(4), QString::number(m.captured(3).toDouble() * 72.0, 'f', 2)) << line.toStdString();
    }
    EXPECT_EQ(lines.last(), "");
}

TEST_F(LiveRun, UnpluggedMidRunStopsWithEverySampleTakenBeforeInTheFile)
{
    InstrumentOptions options;
    options.fault = InstrumentOptions::Fault::UnplugMidDump;
    options.faultAfter = 8; // eight readings, then the cable goes
    options.lineEnd = InstrumentOptions::LineEnd::Cr;
    start(options);
    ASSERT_TRUE(state.measuring);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !state.measuring; }, 8000));
    EXPECT_EQ(presenter.lastText(), "RS232c communication error.");
    EXPECT_EQ(presenter.count(), 1);
    EXPECT_EQ(state.receivedCount, 8);
    EXPECT_EQ(dataFile().count("\r\n"), 9 + 8) << "every sample taken before is in the file";
}

} // namespace
