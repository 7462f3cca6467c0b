// The virtual instrument over a real pseudo-terminal: pacing, what only these tests check of its
// faults, its registration and link, and the program around it. The bytes of each reply are
// WireFormat's; rates, silence, leading LF, wrong baud and the bytes of an unplug are checked
// through the serial link (SerialLink tests), the unit and live replies by the downloads and runs
// over it (DownloadEndToEnd, LiveRun).
#include "common/core/virtual_bridge_registry.h"
#include "tests/tools/ventsim/port_client.h"
#include "tests/support/test_support.h"
#include "tools/ventsim/paced_writer.h"
#include "tools/ventsim/virtual_instrument.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using venttest::PortClient;
using Fault = InstrumentOptions::Fault;

const QByteArray kPresence = "AP J0012345\r\nVER 1.00\r\n";

InstrumentOptions options(qint32 baud = 19200, Fault fault = Fault::None)
{
    InstrumentOptions o;
    o.baud = baud;
    o.fault = fault;
    o.registerBridge = false;
    return o;
}

class Instrument : public ::testing::Test
{
protected:
    // Starts an instrument and opens the program's end at `clientBaud`.
    void begin(const InstrumentOptions &o, qint32 clientBaud)
    {
        inst = std::make_unique<VirtualInstrument>(o);
        QString error;
        ASSERT_TRUE(inst->start(&error)) << error.toStdString();
        ASSERT_TRUE(client.open(inst->portPath(), clientBaud));
    }

    std::unique_ptr<VirtualInstrument> inst;
    PortClient client;
};

// The writer never gets ahead of the line: after every write, the bytes written so far are at most
// one plus the character times elapsed since the burst began (a bound that load cannot break,
// since it only makes the writer later). Keeping up with the nominal rate is a benchmark's figure.
class Pacing : public ::testing::TestWithParam<qint32>
{
};

TEST_P(Pacing, NeverGetsAheadOfTheCharacterRateAndSendsEverything)
{
    const int cps = GetParam() / 10;
    const QByteArray reply(cps / 4, 'x'); // about a quarter of a second of characters
    QElapsedTimer clock;
    qint64 written = 0;
    int aheadAt = -1;
    int writes = 0;
    PacedWriter writer(
        [&](const char *, qint64 size) {
            written += size;
            if (aheadAt < 0 && written > 1 + clock.nsecsElapsed() * cps / 1000000000LL)
                aheadAt = writes;
            ++writes;
            return size;
        },
        cps);
    QSignalSpy drained(&writer, &PacedWriter::drained);
    clock.start();
    writer.send(reply);
    EXPECT_GE(written, 1) << "the first character goes at once";
    ASSERT_TRUE(drained.wait(10000));
    EXPECT_EQ(written, reply.size());
    EXPECT_EQ(aheadAt, -1) << "ahead of the line at write " << aheadAt;
    EXPECT_GT(writes, 2) << "paced in several writes, not in one";
}

INSTANTIATE_TEST_SUITE_P(FourRates, Pacing, ::testing::Values(38400, 19200, 9600, 4800));

TEST_F(Instrument, GarbageAnswersWithBytesThatAreNoReply)
{
    begin(options(38400, Fault::Garbage), 38400);
    for (const char *c : {"P\r\n", "V\r\n"}) {
        client.send(c);
        const QByteArray got = client.readUntil([](const QByteArray &b) { return b.size() >= 16; }, 5000);
        EXPECT_GE(got.size(), 16) << c;
        EXPECT_FALSE(got.contains('A')) << c;
    }
}

// The bytes before the cable goes: DownloadEndToEnd.UnplugInEachPhaseIsOneCommunicationError.
TEST_F(Instrument, UnplugMidDumpRemovesThePortAndTheRegistration)
{
    QTemporaryDir registry;
    InstrumentOptions o = options(38400, Fault::UnplugMidDump);
    o.faultAfter = 2;
    o.registerBridge = true;
    o.registryFolder = registry.path();
    begin(o, 38400);
    const QString path = inst->portPath();
    const QString registration = inst->registrationFile();
    ASSERT_TRUE(QFileInfo::exists(registration));
    QSignalSpy unplugged(inst.get(), &VirtualInstrument::unplugged);
    client.send("H\r\n");
    EXPECT_TRUE(unplugged.wait(5000));
    EXPECT_FALSE(inst->isRunning());
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_FALSE(QFileInfo::exists(registration));
}

TEST_F(Instrument, ANewCommandReplacesAReplyStillGoingOut)
{
    InstrumentOptions o = options(4800);
    o.records = QStringLiteral("1000");
    begin(o, 4800);
    client.send("H\r\n");
    client.readUntil([](const QByteArray &b) { return !b.isEmpty(); }, 5000);
    EXPECT_GT(inst->pendingBytes(), 1000);
    client.port.write("P\r\n");
    const QByteArray got = client.readUntilEndsWith("VER 1.00\r\n", 10000);
    EXPECT_TRUE(got.endsWith(kPresence));
    EXPECT_LT(got.size(), 5000) << "the whole dump went out first"; // 10 s at 4800 Bd
    EXPECT_EQ(inst->pendingBytes(), 0);
}

TEST(VirtualInstrumentTraces, RegistrationAndLinkLiveAsLongAsTheInstrument)
{
    QTemporaryDir dir;
    const QString registry = dir.filePath("bridges");
    // A stale registration of a process that is gone is cleared on start.
    BridgeInfo stale;
    stale.serialNumber = "J9999999";
    stale.portPath = "/dev/null";
    const QString staleFile = VirtualBridgeRegistry::add(registry, stale, 0x7FFFFFF0);
    ASSERT_FALSE(staleFile.isEmpty());

    InstrumentOptions o;
    o.serial = "C0000042";
    o.registryFolder = registry;
    o.linkPath = dir.filePath("ttyVENT");
    VirtualInstrument inst(o);
    ASSERT_TRUE(inst.start());
    EXPECT_FALSE(QFileInfo::exists(staleFile));
    qint64 pid = 0;
    const auto b = VirtualBridgeRegistry::read(inst.registrationFile(), &pid);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->vendorId, 0x1764);
    EXPECT_EQ(b->productId, 8);
    EXPECT_EQ(b->serialNumber, "C0000042");
    EXPECT_EQ(b->portPath, inst.portPath());
    EXPECT_EQ(pid, QCoreApplication::applicationPid());
    EXPECT_EQ(QFile::symLinkTarget(o.linkPath), inst.portPath());
    const QString file = inst.registrationFile();
    inst.stop();
    EXPECT_FALSE(QFileInfo::exists(file));
    EXPECT_FALSE(QFileInfo(o.linkPath).isSymLink());
}

TEST(VirtualInstrumentTraces, AnOccupiedLinkPathFailsTheStartAndLeavesNothing)
{
    QTemporaryDir dir;
    InstrumentOptions o;
    o.registryFolder = dir.filePath("bridges");
    o.linkPath = dir.filePath("taken");
    ASSERT_TRUE(QFile(o.linkPath).open(QIODevice::WriteOnly));
    VirtualInstrument inst(o);
    QString error;
    EXPECT_FALSE(inst.start(&error));
    EXPECT_TRUE(error.contains("taken"));
    EXPECT_FALSE(inst.isRunning());
    EXPECT_TRUE(QDir(o.registryFolder).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(QFileInfo(o.linkPath).isFile());
}

QString ventsimProgram()
{
    return venttest::binaryPath(QStringLiteral("tools/ventsim/ventsim"));
}

TEST(VentsimProgram, PrintsItsPathRegistersAndCleansUpOnTerminate)
{
    QTemporaryDir dir;
    QProcess p;
    p.start(ventsimProgram(), {"--registry", dir.path(), "--baud", "38400"});
    ASSERT_TRUE(p.waitForStarted(10000));
    ASSERT_TRUE(p.waitForReadyRead(10000));
    const QString path = QString::fromLocal8Bit(p.readLine()).trimmed();
    EXPECT_TRUE(path.startsWith("/dev/pts/")) << path.toStdString();
    const QStringList files = QDir(dir.path()).entryList(QDir::Files);
    ASSERT_EQ(files.size(), 1);
    qint64 pid = 0;
    ASSERT_TRUE(VirtualBridgeRegistry::read(dir.filePath(files.first()), &pid));
    EXPECT_EQ(pid, p.processId());

    PortClient client;
    ASSERT_TRUE(client.open(path, 38400));
    client.send("P\r\n");
    EXPECT_EQ(client.readUntilEndsWith("VER 1.00\r\n"), kPresence);
    client.port.close();

    p.terminate();
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST(VentsimProgram, HelpAndBadOptions)
{
    QProcess help;
    help.start(ventsimProgram(), {"--help"});
    ASSERT_TRUE(help.waitForFinished(10000));
    EXPECT_EQ(help.exitCode(), 0);
    EXPECT_TRUE(help.readAllStandardOutput().startsWith("Usage: ventsim"));
    QProcess bad;
    bad.start(ventsimProgram(), {"--baud", "1200"});
    ASSERT_TRUE(bad.waitForFinished(10000));
    EXPECT_EQ(bad.exitCode(), 2);
    EXPECT_TRUE(bad.readAllStandardError().contains("--baud"));
}

} // namespace
