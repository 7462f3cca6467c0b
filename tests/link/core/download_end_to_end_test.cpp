// Whole downloads against the virtual instrument on a pseudo-terminal: the real serial link, the
// instrument discovery, the download session, the record decoding and the CSV writer. The saved
// files are compared line by line with hand-written files (the date line by its pattern).
#include "link/core/download_session.h"
#include "link/core/link_status.h"
#include "link/core/memory_grid.h"
#include "link/core/record_decoder.h"
#include "link/core/serial_link_port.h"
#include "tests/link/core/link_test_support.h"
#include "tests/support/test_support.h"
#include "tools/ventsim/virtual_instrument.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using linktest::flags;
using linktest::makeState;
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
        session.setTickInterval(2);
        session.setWatchdogInterval(800);
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
    void download(int timeoutMs = 8000)
    {
        session.cmdMeasuring_Click();
        QTRY_VERIFY_WITH_TIMEOUT(state->idle == 1, timeoutMs);
    }

    QStringList saved(const QString &name = QStringLiteral("run"))
    {
        bool crlf = false;
        QStringList lines = linktest::readCrLfLines(dir.path() + "/" + name + ".CSV", &crlf);
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
    linktest::RecordingPresenter presenter;
    SerialLinkPort port;
    MemoryGrid grid;
    RecordDecoder decoder;
    linktest::ScriptedView view;
    DownloadSession session;
    std::unique_ptr<VirtualInstrument> instrument;
};

// The saved file against its hand-written expectation; the date line by pattern.
void expectFile(const QStringList &lines, const char *expected)
{
    QStringList want = linktest::readExpected(QLatin1String(expected));
    ASSERT_EQ(lines.size(), want.size()) << lines.join("\n").toStdString();
    EXPECT_TRUE(QRegularExpression("^Date,\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}$").match(lines[1]).hasMatch())
        << lines[1].toStdString();
    for (int i = 0; i < lines.size(); ++i) {
        if (i != 1) {
            EXPECT_EQ(lines[i], want[i]) << "line " << i + 1;
        }
    }
}

struct DumpCase
{
    bool atm;
    LineEnd lineEnd;
    int ahLines;
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
    }));
    e.download();
    EXPECT_TRUE(e.presenter.messages.isEmpty()) << e.presenter.messages.join("; ").toStdString();
    EXPECT_EQ(e.answeredCommands(), QStringList({"P", "U", "H"}));
    expectFile(e.saved(), c.expected);
    // the grid holds what the file holds (the "/" line adds nothing)
    EXPECT_EQ(e.grid.rowCount(), 5);
    EXPECT_FALSE(e.port.link().isOpen());
    EXPECT_FALSE(e.view.downloading);
}

INSTANTIATE_TEST_SUITE_P(
    AtmFormsAndLineEnds, Dump,
    ::testing::Values(DumpCase{true, LineEnd::CrLf, 2, "dump_atm_on.csv"},
                      DumpCase{true, LineEnd::Cr, 1, "dump_atm_on.csv"},
                      DumpCase{false, LineEnd::CrLf, 0, "dump_atm_off.csv"},
                      DumpCase{false, LineEnd::Cr, 2, "dump_atm_off.csv"}));

TEST(DownloadEndToEnd, EmptyMemorySavesHeadingsAndSaysNoData)
{
    EndToEnd e;
    ASSERT_TRUE(e.start([](InstrumentOptions &o) { o.records = dataFile("empty_records.txt"); }));
    e.download();
    EXPECT_EQ(e.presenter.messages, QStringList{"No Data!"});
    const QStringList lines = e.saved();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], "Ventolux PC-LINK Software");
    EXPECT_EQ(lines[3], "No,X,Y,inch/mm,No,Type,Temp( deg.C ),ATM(hPa),ATM F,");
    EXPECT_EQ(e.grid.rowCount(), 1);
}

TEST(DownloadEndToEnd, UnplugMidDumpIsACommunicationError)
{
    EndToEnd e;
    ASSERT_TRUE(e.start([](InstrumentOptions &o) {
        o.fault = Fault::UnplugMidDump;
        o.faultAfter = 4;
    }));
    e.download();
    EXPECT_EQ(e.presenter.messages, QStringList{"Rs232c  communicate error !"});
    EXPECT_EQ(e.state->gLinkStatus, linkstatus::kCommunication);
    EXPECT_FALSE(QFile::exists(e.dir.path() + "/run.CSV"));
    EXPECT_FALSE(e.session.tmrGetData()->isActive());
    EXPECT_FALSE(e.view.downloading);
}

// The cable pulled in each phase before the records flow: at the presence command, at the unit
// command (once "AP" came back), at the dump command. One message, idle again, nothing saved.
TEST(DownloadEndToEnd, UnplugInEachPhaseIsOneCommunicationError)
{
    for (const QString phase : {"P", "U", "H"}) {
        SCOPED_TRACE(phase.toStdString());
        EndToEnd e;
        ASSERT_TRUE(e.start());
        QObject::connect(e.instrument.get(), &VirtualInstrument::commandReceived, e.instrument.get(),
                         [&](const QString &command) {
                             if (command == phase)
                                 e.instrument->unplug();
                         });
        e.download();
        EXPECT_EQ(e.presenter.messages, QStringList{"Rs232c  communicate error !"});
        EXPECT_EQ(e.state->gLinkStatus, linkstatus::kCommunication);
        EXPECT_EQ(e.grid.rowCount(), 1);
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
    EXPECT_EQ(e.presenter.messages, QStringList{"Rs232c  communicate error !"});
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
    EXPECT_EQ(e.presenter.messages, QStringList{"Rs232c  communicate error !"});
    EXPECT_FALSE(e.port.link().isOpen());
}

TEST(DownloadEndToEnd, SilentAndWrongBaudInstrumentsDoNotAnswer)
{
    for (Fault fault : {Fault::Silent, Fault::WrongBaud}) {
        EndToEnd e;
        ASSERT_TRUE(e.start([fault](InstrumentOptions &o) { o.fault = fault; }));
        e.download();
        EXPECT_EQ(e.presenter.messages, QStringList{"Rs232c  communicate error !"})
            << InstrumentOptions::faultName(fault).toStdString();
        EXPECT_FALSE(e.view.downloading);
        EXPECT_FALSE(e.port.link().isOpen());
        EXPECT_TRUE(e.grid.rowCount() == 1);
    }
}

TEST(DownloadEndToEnd, RefusalsBeforeTheInstrumentIsAsked)
{
    struct Case
    {
        const char *what;
        std::function<void(EndToEnd &)> setup;
        QStringList messages;
    };
    const std::vector<Case> cases = {
        {"no instrument chosen", [](EndToEnd &e) { e.view.instrument.clear(); }, {}},
        {"an instrument that is not attached", [](EndToEnd &e) { e.view.instrument = "0099999"; }, {}},
        {"file name empty", [](EndToEnd &e) { e.view.fileName.clear(); }, {"Please Input File Name!"}},
        {"forbidden character", [](EndToEnd &e) { e.view.fileName = "run:1"; }, {"Please Input File Name!"}},
        {"overwrite declined",
         [](EndToEnd &e) {
             QFile f(e.dir.path() + "/run.CSV");
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             f.write("keep");
             e.presenter.answer = status::kAnswerNo;
         },
         {}},
    };
    for (const Case &c : cases) {
        EndToEnd e;
        ASSERT_TRUE(e.start());
        e.state->gLinkStatus = linkstatus::kReadFile; // an older error is never shown
        c.setup(e);
        e.session.cmdMeasuring_Click();
        EXPECT_EQ(e.state->idle, 1) << c.what;
        EXPECT_EQ(e.presenter.messages, c.messages) << c.what;
        QTest::qWait(50);
        EXPECT_TRUE(e.instrument->commands().isEmpty()) << c.what;
        EXPECT_FALSE(e.view.downloading) << c.what;
    }
}

TEST(DownloadEndToEnd, NameWithBlanksIsSavedWithoutThem)
{
    EndToEnd e;
    ASSERT_TRUE(e.start());
    e.view.fileName = "  site 4  ";
    e.download();
    EXPECT_EQ(e.view.fileName, "site 4");
    expectFile(e.saved("site 4"), "dump_atm_on.csv");
}
