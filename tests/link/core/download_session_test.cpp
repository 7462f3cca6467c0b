// The download session over a scripted port and window: start checks, the receive queue, the
// lines of a tick, the end by "/", and every way a download fails back to idle with one message.
#include "link/core/download_session.h"
#include "link/core/link_status.h"
#include "link/core/memory_grid.h"
#include "link/core/record_decoder.h"
#include "tests/link/core/link_test_support.h"
#include "tests/link/core/scripted_link_port.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using linktest::flags;
using linktest::makeState;
using linktest::messages;

namespace {

using ScriptedPort = linktest::ScriptedLinkPort;
using linktest::ScriptedView;

struct Download
{
    explicit Download(OptionFlags f = flags(0, 0, 0))
        : state(makeState(0, UiVariant::English, f)), decoder(*state, grid),
          session(*state, grid, decoder, view, port)
    {
        state->presenter = &presenter;
        state->ports.gSerialNos[1] = QStringLiteral("0099999");
        state->ports.gPortNames[1] = QStringLiteral("/dev/ttyUSB7");
        state->ports.gSerialNos[2] = QStringLiteral("0012345");
        state->ports.gPortNames[2] = QStringLiteral(" /dev/pts/9 ");
        view.folder = dir.path();
        decoder.smChangeTitle(QStringLiteral("Type"));
        session.setClock([] { return QDateTime(QDate(2024, 5, 6), QTime(7, 8)); });
    }
    int tickUntilIdle(int limit = 1000)
    {
        int n = 0;
        while (session.tmrGetData()->isActive() && n < limit) {
            session.tmrGetData_Timer();
            ++n;
        }
        return n;
    }
    QStringList savedLines()
    {
        bool crlf = false;
        QStringList lines = linktest::readCrLfLines(dir.path() + "/run.CSV", &crlf);
        EXPECT_TRUE(crlf);
        return lines;
    }

    QTemporaryDir dir;
    std::unique_ptr<LinkState> state;
    MemoryGrid grid;
    RecordDecoder decoder;
    ScriptedPort port;
    ScriptedView view;
    venttest::RecordingPresenter presenter;
    DownloadSession session;
};

const QByteArray kDumpCrLf = "AH\r\n"
                             "001;  120;  340;mm;  VEL\r\n"
                             "01;12.5;23.4\r\n"
                             "02;12.7;23.5\r\n"
                             "AH again\r\n"
                             "002;  130;  350;mm;  VEL\r\n"
                             "01;3.0;23.6\r\n"
                             "03;9.9;20.0/\r\n";

} // namespace

// A failed close at the end is reported, the one before the probe is not.
TEST(DownloadSession, DumpFillsGridAndSavesTheFileAndAFailedCloseIsReported)
{
    Download d;
    d.port.closeResult = linkstatus::kCloseError;
    d.session.cmdMeasuring_Click();
    EXPECT_TRUE(messages(d.presenter).isEmpty());
    EXPECT_EQ(d.port.probedPorts, QStringList{"/dev/pts/9"}); // resolved by serial text, trimmed
    EXPECT_EQ(d.view.status, "Read Data");

    d.port.send(kDumpCrLf.left(30));
    d.port.send(kDumpCrLf.mid(30));
    EXPECT_EQ(d.session.queue().size(), 6u); // two "AH" lines dropped
    d.session.tmrGetData_Timer(); // one tick moves every queued line
    EXPECT_EQ(d.tickUntilIdle(), 0);

    EXPECT_EQ(d.view.status, "Display ");
    EXPECT_EQ(messages(d.presenter), QStringList{"Rs232c close error !"});
    // the "/" line is shown, but after the file was written (the writer's lines: CsvWriter)
    ASSERT_EQ(d.grid.rowCount(), 4);
    EXPECT_EQ(d.grid.rowText(4), "||||03|9.9|20.0/");
    EXPECT_EQ(d.savedLines().size(), 4 + 3);
}

TEST(DownloadSession, EmptyLinesNeverEndTheDumpAndSlashOnlySavesHeadingsWithNoDataOnce)
{
    Download d;
    d.session.cmdMeasuring_Click();
    d.port.send("\r\r\n\r/");
    d.tickUntilIdle(10);
    EXPECT_TRUE(d.session.tmrGetData()->isActive()) << "an empty line ended the dump";
    EXPECT_EQ(d.session.queue().lineBuffer(), "/"); // a line counts only once its CR comes
    d.port.send("\r");
    d.tickUntilIdle();
    EXPECT_EQ(messages(d.presenter), QStringList{"No Data!"});
    EXPECT_EQ(d.state->gLinkStatus, linkstatus::kNoData);
    EXPECT_EQ(d.grid.rowCount(), 1);
    EXPECT_EQ(d.grid.rowText(1), "||||||");
    EXPECT_EQ(d.savedLines(), QStringList({"Ventolux PC-LINK Software", "Date,2024-05-06 07:08", "",
                                           "No,X,Y,inch/mm,No,Type,Temp( deg.C ),"}));
}

TEST(DownloadSession, StartRefusalsReturnToIdleWithTheirMessage)
{
    struct Case
    {
        const char *what;
        std::function<void(Download &)> setup;
        QStringList messages;
        bool probed;
        bool started = true; // busy, then idle again
    };
    const std::vector<Case> cases = {
        {"drive cannot be selected", [](Download &d) { d.view.driveOk = false; }, {}, false, false},
        {"blank name", [](Download &d) { d.view.fileName = "   "; }, {"Please Input File Name!"}, false},
        {"forbidden character", [](Download &d) { d.view.fileName = "a*b"; }, {"Please Input File Name!"}, false},
        {"overwrite declined",
         [](Download &d) {
             QFile f(d.dir.path() + "/run.CSV");
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             d.presenter.queueAnswer(status::kAnswerNo);
         },
         {},
         false},
        {"no instrument chosen", [](Download &d) { d.view.instrument.clear(); }, {}, false},
        {"instrument gone", [](Download &d) { d.state->ports.clear(); }, {}, false},
        {"open error", [](Download &d) { d.port.probeResult = 1; }, {"Rs232c open error !"}, true},
        {"no answer", [](Download &d) { d.port.probeResult = 3; }, {"Rs232c  communicate error !"}, true},
        {"unit reply unreadable", [](Download &d) { d.port.reply = "\nm/s;m3/h\r"; }, {"No Data!"}, true},
        {"reopen fails", [](Download &d) { d.port.startReadResult = status::kFailure; }, {}, true},
        {"stopped during the probe (window closed)",
         [](Download &d) { d.port.duringProbe = [&d] { d.session.sStopMeasu(); }; }, {}, true},
    };
    for (const Case &c : cases) {
        Download d;
        // an older error is never shown for a new download
        d.state->gLinkStatus = linkstatus::kReadFile;
        c.setup(d);
        d.session.cmdMeasuring_Click();
        EXPECT_EQ(messages(d.presenter), c.messages) << c.what;
        EXPECT_EQ(d.state->idle, 1) << c.what;
        EXPECT_FALSE(d.view.downloading) << c.what;
        EXPECT_EQ(d.view.transitions, c.started ? QStringList({"busy", "idle"}) : QStringList())
            << c.what;
        EXPECT_FALSE(d.session.tmrGetData()->isActive()) << c.what;
        EXPECT_EQ(!d.port.probedPorts.isEmpty(), c.probed) << c.what;
        EXPECT_FALSE(d.port.open) << c.what;
    }
}

TEST(DownloadSession, LineFaultMidDumpIsCode3OnceEvenWhenTheCloseFails)
{
    Download d;
    d.port.closeResult = linkstatus::kCloseError;
    d.session.cmdMeasuring_Click();
    d.port.send("#001;1;2;mm;  VEL\r#01;1;2\r");
    d.session.tmrGetData_Timer();
    d.port.onLineFault();
    EXPECT_EQ(messages(d.presenter), QStringList{"Rs232c  communicate error !"});
    // a late fault or late bytes change nothing
    d.port.onLineFault();
    d.port.onReceived("#02;1;2\r");
    EXPECT_EQ(d.presenter.count(), 1);
    EXPECT_EQ(d.grid.rowCount(), 1);
}

TEST(DownloadSession, WatchdogEndsASilentDumpOnlyWhenNothingIsQueued)
{
    // The watchdog time is changed between ticks, so no test step waits for it to run out.
    Download d;
    d.session.setTickInterval(1000000); // only the ticks below
    d.session.cmdMeasuring_Click();
    d.port.send("#001;1;2;mm;  VEL\r#01;");
    QElapsedTimer sinceLine; // started after the session's own watchdog clock
    sinceLine.start();
    d.session.setWatchdogInterval(0);
    d.session.tmrGetData_Timer();
    EXPECT_TRUE(d.session.tmrGetData()->isActive()) << "no watchdog while a line waits";
    // bytes keep it alive, even without a complete line
    QTest::qWait(200); // time must pass for the watchdog to tell the old bytes from the new
    d.port.send("1;");
    d.session.setWatchdogInterval(int(sinceLine.elapsed()));
    d.session.tmrGetData_Timer();
    EXPECT_TRUE(d.session.tmrGetData()->isActive()) << "the bytes did not restart the watchdog";
    // silence with an empty queue: code 3, back to idle
    d.session.setWatchdogInterval(0);
    d.session.tmrGetData_Timer();
    EXPECT_EQ(messages(d.presenter), QStringList{"Rs232c  communicate error !"});
}

TEST(DownloadSession, NestedTicksWhileAMessageIsOpenDoNothing)
{
    Download d;
    d.session.cmdMeasuring_Click();
    d.port.send("#001;1;2;mm;  VEL\r");
    // a failure code noticed by a tick; while its message is open more ticks arrive
    class NestingPresenter : public venttest::RecordingPresenter
    {
    public:
        DownloadSession *session = nullptr;
        void notify(Icon i, const QString &c, const QString &t) override
        {
            RecordingPresenter::notify(i, c, t);
            session->tmrGetData_Timer();
            session->tmrGetData_Timer();
        }
    } nesting;
    nesting.session = &d.session;
    d.state->presenter = &nesting;
    d.state->gLinkStatus = linkstatus::kCloseError;
    d.session.tmrGetData_Timer();
    EXPECT_EQ(messages(nesting), QStringList{"Rs232c  communicate error !"});
    EXPECT_EQ(d.grid.rowCount(), 0 + 1); // the queued line was never shown; one empty row
}

TEST(DownloadSession, FailedSaveIsShownOnce)
{
    Download d;
    d.session.cmdMeasuring_Click();
    d.port.send("#001;1;2;mm;  VEL\r#01;1;2\r#/\r");
    const QString folder = d.dir.path();
    d.dir.remove(); // the folder disappears before the end
    d.tickUntilIdle();
    const QStringList shown = messages(d.presenter); // with the file and the reason below
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith("Save File Error!\n" + folder + "/"));
    EXPECT_TRUE(shown[0].endsWith(": no such file or folder")) << shown[0].toStdString();
}

TEST(ReceiveQueue, AcknowledgementLinesAndBytesAbove127)
{
    ReceiveQueue q;
    q.takeBytes("AH1\r\nAH2\rAx\r\nA\rH\r\xb0\r");
    for (const QString line : {"Ax", "\nA", "H", "\u00b0", ""})
        EXPECT_EQ(q.fInputs(), line);
    q.takeBytes("partial");
    q.clear();
    EXPECT_EQ(q.lineBuffer(), "");
}
