// The virtual instrument over a real pseudo-terminal: rates, replies, pacing, every fault, its
// registration and link, and the program around it. The bytes of each reply: WireFormat.
#include "common/core/virtual_bridge_registry.h"
#include "tests/tools/ventsim/port_client.h"
#include "tests/tools/ventsim/small_dump.h"
#include "tests/support/test_support.h"
#include "tools/ventsim/line_noise.h"
#include "tools/ventsim/paced_writer.h"
#include "tools/ventsim/virtual_instrument.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

namespace {

using venttest::PortClient;
using Fault = InstrumentOptions::Fault;

const QByteArray kPresence = "AP J0012345\r\nVER 1.00\r\n";
const QByteArray &kSmallDump = ventsimtest::kSmallDumpAtmCrLf;

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

    QByteArray ask(const QByteArray &command, const QByteArray &tail)
    {
        client.send(command);
        return client.readUntilEndsWith(tail);
    }

    std::unique_ptr<VirtualInstrument> inst;
    PortClient client;
};

TEST_F(Instrument, AnswersOnlyAtItsOwnRate)
{
    begin(options(9600), 38400);
    client.send("P\r\n");
    EXPECT_TRUE(client.readFor(300).isEmpty());
    client.port.close();
    ASSERT_TRUE(client.open(inst->portPath(), 9600));
    EXPECT_EQ(ask("P\r\n", "VER 1.00\r\n"), kPresence);
    ASSERT_EQ(inst->commands().size(), 2);
    EXPECT_EQ(inst->commands().at(0).lineBaud, 38400);
    EXPECT_FALSE(inst->commands().at(0).answered);
    EXPECT_EQ(inst->commands().at(1).lineBaud, 9600);
    EXPECT_TRUE(inst->commands().at(1).answered);
}

TEST_F(Instrument, UnitAndLiveReplies)
{
    begin(options(38400), 38400);
    EXPECT_EQ(ask("U\r\n", "C\r\n"), QByteArray("AU\r\nm/s;m3/h;Pa;C\r\n"));
    // the values come from the waveform (its range: LiveWaveform)
    const QRegularExpression live(QStringLiteral("^AV;\\d+\\.\\d\\d;-?\\d+\\.\\d;\\d+;1\r\n$"));
    for (int i = 0; i < 2; ++i) {
        const QString reply = QString::fromLatin1(ask("V\r\n", "\r\n"));
        EXPECT_TRUE(live.match(reply).hasMatch()) << reply.toStdString();
    }
    EXPECT_EQ(inst->liveReadingsSent(), 2);
}

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

TEST_F(Instrument, LeadingLfBeginsEveryReply)
{
    begin(options(38400, Fault::LeadingLf), 38400);
    EXPECT_EQ(ask("P\r\n", "VER 1.00\r\n"), "\n" + kPresence);
    EXPECT_TRUE(ask("V\r\n", "\r\n").startsWith("\nAV;"));
}

TEST_F(Instrument, UnplugMidDumpClosesThePortAndRemovesTheRegistration)
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
    QList<QSerialPort::SerialPortError> errors;
    QObject::connect(&client.port, &QSerialPort::errorOccurred, [&](QSerialPort::SerialPortError e) {
        if (e == QSerialPort::ReadError || e == QSerialPort::ResourceError) {
            errors.append(e);
            client.port.close();
        }
    });
    client.send("H\r\n");
    client.readUntil([&](const QByteArray &) { return !errors.isEmpty(); }, 5000);
    EXPECT_EQ(client.received.toStdString(),
              "AH\r\n001;300;200;mm;VEL;10132;1\r\n001;3.25;21.5\r\n002;3.4");
    EXPECT_EQ(errors.size(), 1);
    EXPECT_EQ(unplugged.count(), 1);
    EXPECT_FALSE(inst->isRunning());
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_FALSE(QFileInfo::exists(registration));
}

TEST_F(Instrument, UnplugInsteadOfALiveReading)
{
    InstrumentOptions o = options(38400, Fault::UnplugMidDump);
    o.faultAfter = 2;
    begin(o, 38400);
    QSignalSpy unplugged(inst.get(), &VirtualInstrument::unplugged);
    QObject::connect(&client.port, &QSerialPort::errorOccurred, [&](QSerialPort::SerialPortError e) {
        if (e == QSerialPort::ReadError || e == QSerialPort::ResourceError)
            client.port.close();
    });
    EXPECT_TRUE(ask("V\r\n", "\r\n").startsWith("AV;"));
    EXPECT_TRUE(ask("V\r\n", "\r\n").startsWith("AV;"));
    client.send("V\r\n");
    EXPECT_TRUE(QTest::qWaitFor([&] { return unplugged.count() == 1; }, 5000));
    EXPECT_TRUE(client.received.isEmpty());
    EXPECT_EQ(inst->liveReadingsSent(), 2);
}

TEST_F(Instrument, WrongBaudAnswersAsLineNoiseAtEveryRate)
{
    begin(options(19200, Fault::WrongBaud), 19200);
    for (const qint32 rate : {19200, 4800}) {
        client.port.close();
        ASSERT_TRUE(client.open(inst->portPath(), rate));
        client.send("P\r\n");
        const QByteArray noise = LineNoise::garble(kPresence, 57600, rate);
        EXPECT_EQ(client.readUntil([&](const QByteArray &b) { return b.size() >= noise.size(); }, 5000), noise);
    }
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
