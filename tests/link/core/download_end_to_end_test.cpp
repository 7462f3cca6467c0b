// Whole downloads against the virtual instrument on a pseudo-terminal: the real serial link, the
// instrument discovery, the download session, the record decoding and the CSV writer. The saved
// files are compared line by line with hand-written files.
#include "link/core/download_session.h"
#include "link/core/link_status.h"
#include "link/core/memory_grid.h"
#include "link/core/record_decoder.h"
#include "link/core/serial_link_port.h"
#include "tests/link/core/link_test_support.h"
#include "tests/support/test_support.h"
#include "tools/ventsim/virtual_instrument.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using linktest::flags;
using linktest::makeState;
using linktest::messages;
using Fault = InstrumentOptions::Fault;
using LineEnd = InstrumentOptions::LineEnd;

namespace {

QString dataFile(const char *name)
{
    return venttest::sourcePath(QStringLiteral("tests/link/data/") + QLatin1String(name));
}

struct EndToEnd
{
    explicit EndToEnd(OptionFlags f = flags(1, 1, 1))
        : state(makeState(0, UiVariant::English, f)), port(*state), decoder(*state, grid),
          session(*state, grid, decoder, view, port)
    {
        state->presenter = &presenter;
        view.folder = dir.path();
        decoder.smChangeTitle(QStringLiteral("Type"));
        session.setClock([] { return QDateTime(QDate(2024, 5, 6), QTime(7, 8)); });
        session.setTickInterval(2);
        session.setWatchdogInterval(2500); // far above any gap of a flowing dump
        session.setPortResolver([this](const QString &s) { return port.resolvePort(s); });
    }

    // Starts the instrument (registered like a plugged-in one) and lists it as the window would.
    bool start(const std::function<void(InstrumentOptions &)> &adjust = {})
    {
        InstrumentOptions o;
        o.records = dataFile("dump_records.txt");
        if (adjust)
            adjust(o);
        instrument = std::make_unique<VirtualInstrument>(o);
        QString error;
        if (!instrument->start(&error)) {
            ADD_FAILURE() << error.toStdString();
            return false;
        }
        PortTables tables;
        EXPECT_TRUE(port.scanInstruments(tables));
        EXPECT_EQ(tables.gSerialNos[1], "0012345");
        return true;
    }

    // Presses "Read Data" and waits until the window is idle again.
    void download(int timeoutMs = 30000)
    {
        session.cmdMeasuring_Click();
        QTRY_VERIFY_WITH_TIMEOUT(state->idle == 1, timeoutMs);
    }

    QStringList saved()
    {
        bool crlf = false;
        QStringList lines = linktest::readCrLfLines(dir.path() + "/run.CSV", &crlf);
        EXPECT_TRUE(crlf);
        return lines;
    }

    QStringList answeredCommands() const
    {
        QStringList list;
        for (const auto &c : instrument->commands())
            if (c.answered)
                list << c.command;
        return list;
    }

    QTemporaryDir dir;
    std::unique_ptr<LinkState> state;
    venttest::RecordingPresenter presenter;
    SerialLinkPort port;
    MemoryGrid grid;
    RecordDecoder decoder;
    linktest::ScriptedView view;
    DownloadSession session;
    std::unique_ptr<VirtualInstrument> instrument;
};

struct DumpCase
{
    bool atm;
    LineEnd lineEnd;
    int ahLines;
    const char *records;
    const char *expected;
};

class Dump : public ::testing::TestWithParam<DumpCase>
{
};

} // namespace

TEST_P(Dump, SavesTheMemoryAsTheExpectedFile)
{
    const DumpCase c = GetParam();
    EndToEnd e(c.atm ? flags(1, 1, 1) : flags(0, 0, 0));
    ASSERT_TRUE(e.start([&](InstrumentOptions &o) {
        o.atm = c.atm;
        o.lineEnd = c.lineEnd;
        o.ahLines = c.ahLines;
        o.records = dataFile(c.records);
    }));
    e.download();
    EXPECT_TRUE(messages(e.presenter).isEmpty()) << messages(e.presenter).join("; ").toStdString();
    EXPECT_EQ(e.answeredCommands(), QStringList({"P", "U", "H"}));
    EXPECT_EQ(e.saved(), linktest::readExpected(QLatin1String(c.expected)));
    // the grid holds what the file holds (the "/" line adds nothing)
    EXPECT_EQ(e.grid.rowCount(), e.saved().size() - 4);
    EXPECT_FALSE(e.port.link().isOpen());
    EXPECT_FALSE(e.view.downloading);
}

INSTANTIATE_TEST_SUITE_P(
    AtmFormsAndLineEnds, Dump,
    ::testing::Values(DumpCase{true, LineEnd::CrLf, 2, "dump_records.txt", "dump_atm_on.csv"},
                      DumpCase{true, LineEnd::Cr, 1, "dump_records.txt", "dump_atm_on.csv"},
                      DumpCase{false, LineEnd::CrLf, 0, "dump_records.txt", "dump_atm_off.csv"},
                      DumpCase{false, LineEnd::Cr, 2, "dump_records.txt", "dump_atm_off.csv"},
                      // several quantities: each reading saved with its own
                      DumpCase{false, LineEnd::Cr, 1, "mixed_records.txt", "mixed_atm_off.csv"}),
    [](const ::testing::TestParamInfo<DumpCase> &p) {
        return std::string(p.param.atm ? "AtmOn" : "AtmOff") + (p.param.lineEnd == LineEnd::Cr ? "Cr" : "CrLf")
               + (QByteArray(p.param.records).startsWith("mixed") ? "Mixed" : "");
    });

// The cable pulled in each phase: at the presence command, at the unit command (once "AP" came
// back), at the dump command, in the middle of the records. One message, idle, nothing saved, and
// the lines that came in are kept in the grid.
TEST(DownloadEndToEnd, UnplugInEachPhaseIsOneCommunicationError)
{
    for (const QString phase : {"P", "U", "H", "records"}) {
        SCOPED_TRACE(phase.toStdString());
        EndToEnd e;
        ASSERT_TRUE(e.start([&](InstrumentOptions &o) {
            if (phase == "records") {
                o.fault = Fault::UnplugMidDump;
                o.faultAfter = 4;
            }
        }));
        QObject::connect(e.instrument.get(), &VirtualInstrument::commandReceived, e.instrument.get(),
                         [&](const QString &command) {
                             if (command == phase)
                                 e.instrument->unplug();
                         });
        if (phase == "records")
            e.session.setTickInterval(1000000); // no tick: only the end of the download shows the lines
        e.download();
        EXPECT_EQ(messages(e.presenter), QStringList{"Rs232c  communicate error !"});
        if (phase == "records") { // every line that came in is in the grid
            ASSERT_EQ(e.grid.rowCount(), 3);
            EXPECT_EQ(e.grid.rowText(2), "||||002|3.40|21.6|||");
            EXPECT_EQ(e.grid.rowText(3), "002|12.0|8.0|inch||||1013|1013|2");
        }
        EXPECT_EQ(e.state->gLinkStatus, linkstatus::kCommunication);
        EXPECT_FALSE(QFile::exists(e.dir.path() + "/run.CSV"));
        EXPECT_FALSE(e.port.link().isOpen());
        EXPECT_FALSE(e.session.tmrGetData()->isActive());
        EXPECT_FALSE(e.view.downloading);
    }
}

TEST(DownloadEndToEnd, DumpThatStopsFlowingEndsByTheWatchdog)
{
    EndToEnd e;
    ASSERT_TRUE(e.start([](InstrumentOptions &o) {
        o.fault = Fault::StopMidDump;
        o.faultAfter = 3;
    }));
    e.download();
    EXPECT_EQ(messages(e.presenter), QStringList{"Rs232c  communicate error !"});
    // the whole lines that came are shown, the broken one is not
    EXPECT_EQ(e.grid.rowCount(), 2);
    EXPECT_FALSE(QFile::exists(e.dir.path() + "/run.CSV"));
    EXPECT_FALSE(e.view.downloading);
}

TEST(DownloadEndToEnd, CtsChangeDuringTheDumpIsACommunicationError)
{
    EndToEnd e;
    ASSERT_TRUE(e.start([](InstrumentOptions &o) {
        o.fault = Fault::StopMidDump;
        o.faultAfter = 3;
    }));
    e.session.cmdMeasuring_Click();
    QTRY_VERIFY_WITH_TIMEOUT(e.grid.rowCount() >= 1, 6000);
    // pseudo-terminals have no CTS line: the link's signal stands in for the hardware
    emit e.port.link().ctsChanged(true);
    EXPECT_EQ(e.state->idle, 1);
    EXPECT_EQ(messages(e.presenter), QStringList{"Rs232c  communicate error !"});
    EXPECT_FALSE(e.port.link().isOpen());
}

// Wrong baud, like silence, is the probe's 3 (SerialLink.AWrongBaudInstrumentIsNeverFound).
TEST(DownloadEndToEnd, SilentInstrumentIsACommunicationError)
{
    EndToEnd e;
    ASSERT_TRUE(e.start([](InstrumentOptions &o) { o.fault = Fault::Silent; }));
    e.download();
    EXPECT_EQ(messages(e.presenter), QStringList{"Rs232c  communicate error !"});
    EXPECT_FALSE(e.view.downloading);
    EXPECT_FALSE(e.port.link().isOpen());
    EXPECT_EQ(e.grid.rowCount(), 1);
}

// A 10,000-reading memory of three quantities is saved within a few ticks of its last byte (one
// line a tick would take about 11,000): the tick count is the evidence, not the time.
TEST(DownloadEndToEnd, LongMemoryIsSavedWithinTicksOfTheLastByte)
{
    EndToEnd e;
    ASSERT_TRUE(e.start([](InstrumentOptions &o) { o.records = QStringLiteral("10000"); }));
    const qint64 bytes = e.instrument->wire().dumpLines(e.instrument->records()).join().size();
    qint64 received = 0;
    int ticksAfterLastByte = -1;
    e.port.onReceived = [&, inner = e.port.onReceived](const QByteArray &b) {
        ticksAfterLastByte = (received += b.size()) == bytes ? 0 : -1;
        inner(b);
    };
    QObject::connect(e.session.tmrGetData(), &QTimer::timeout, [&] { ticksAfterLastByte += ticksAfterLastByte >= 0; });
    e.instrument->setCharacterRate(100000); // faster than the line: the test takes seconds
    e.download(60000);
    EXPECT_EQ(received, bytes);
    EXPECT_LT(ticksAfterLastByte, 100);
    EXPECT_TRUE(messages(e.presenter).isEmpty());
    EXPECT_EQ(e.saved().size(), 4 + 10000); // headings, one row a reading (groups start theirs)
}
