// The real programs as child processes (offscreen, per-user folders of their own): a kill in the
// middle of a run, a second copy, the lock a killed copy leaves behind, damaged settings files.
#include "common/core/settings_store.h"
#include "tests/faults/program_process.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

using faulttest::lockOwner;
using faulttest::Program;
using faulttest::UserFolders;

namespace {

const QString kAcqTitle = QStringLiteral("Ventolux Data Acquisition Software");
const QString kLinkTitle = QStringLiteral("Ventolux PC-LINK Software");

// A run of instant samples every 0.1 s, long enough never to end during a test.
const QByteArray kFastRun = "[measurement%20Parameter]\r\nSample%20Time=0.1\r\n"
                            "Sample%20Num=65500\r\nSample%20Type=0\r\n";

QString dataFile(const UserFolders &home)
{
    return home.dataFolder(QStringLiteral("ventacq")) + QStringLiteral("/VL4402Data.VXD");
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int lineCount(const QString &path)
{
    return int(readAll(path).count("\r\n"));
}

// ventacq with the test hook that starts a simulated run as soon as its window is shown.
std::unique_ptr<Program> startMeasuring(const UserFolders &home)
{
    auto acq = std::make_unique<Program>(QStringLiteral("ventacq"), home);
    acq->setEnv(QStringLiteral("VENTACQ_TEST_AUTORUN"), QStringLiteral("simulation"));
    EXPECT_TRUE(acq->start());
    return acq;
}

// Waits until the data file holds the header and at least `samples` samples.
bool waitForSamples(const UserFolders &home, int samples, int ms = 15000)
{
    return QTest::qWaitFor([&] { return lineCount(dataFile(home)) >= 9 + samples; }, ms);
}

// The header of the fast run with the other parameters at their defaults (a 10 x 10 mm
// rectangle, m/s, m3/h, ATM saved).
const QStringList kFastRunHeader = {
    QStringLiteral("[Ventolux Measuring Data]"),
    QStringLiteral("The Measuring Parameter"),
    QStringLiteral("Interval Time :0.1Sec"),
    QStringLiteral("Sampling Number:65500"),
    QStringLiteral("Duct size unit :mm"),
    QStringLiteral("Duct Type,Shape ,Width,Height,Diameter,Area "),
    QStringLiteral(" ,Rectangle,10,10,,10"),
    QStringLiteral("Measuring Data"),
    QStringLiteral("Date & Time,Velocity Data(m/s),Flow rate Data(m3/h),Atomosphere(hPa),"
                   "Atomospheric Correction Flag,")};

// Checks that every sample line after the header is whole and that the samples follow each other
// without a gap: sample g is stamped 0.1 x (g - 1) s after the first (whole seconds, then ":",
// the tenths digit and "00"). Returns the number of samples and the time of the last one.
int checkSampleLines(const QStringList &lines, QDateTime *last)
{
    static const QRegularExpression form(
        QStringLiteral(R"(^ (\d{4}-\d\d-\d\d \d\d:\d\d:\d\d):(\d)00 ,(\d+\.\d\d),(\d+\.\d\d),(\d{3,4}),1$)"));
    QDateTime first;
    int g = 0;
    for (int i = 9; i < lines.size(); ++i) {
        const QRegularExpressionMatch m = form.match(lines[i]);
        EXPECT_TRUE(m.hasMatch()) << "line " << i + 1 << ": " << lines[i].toStdString();
        if (!m.hasMatch())
            return g;
        const QDateTime stamp = QDateTime::fromString(m.captured(1), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        if (g == 0)
            first = stamp;
        EXPECT_EQ(stamp, first.addSecs(g / 10)) << "sample " << g + 1;
        EXPECT_EQ(m.captured(2).toInt(), g % 10) << "sample " << g + 1;
        // Flow = velocity x 10 mm2 x 3600 = velocity x 0.036.
        EXPECT_NEAR(m.captured(4).toDouble(), m.captured(3).toDouble() * 0.036, 0.0051)
            << lines[i].toStdString();
        *last = stamp.addMSecs((g % 10) * 100);
        ++g;
    }
    return g;
}

} // namespace

TEST(VentacqKilled, MidRunTheDataFileHoldsEveryProcessedSampleInWholeLines)
{
    UserFolders home;
    ASSERT_TRUE(home.writeSettings(kAcqTitle, kFastRun));
    auto acq = startMeasuring(home);
    ASSERT_TRUE(waitForSamples(home, 12)) << acq->standardError().toStdString();
    QTest::qWait(137); // anywhere between two batches, or in the middle of one
    const int seenBefore = lineCount(dataFile(home)) - 9;
    acq->kill();
    const QDateTime killedAt = QDateTime::currentDateTime();
    ASSERT_EQ(acq->exitStatus(), QProcess::CrashExit);

    const QByteArray bytes = readAll(dataFile(home));
    ASSERT_TRUE(bytes.endsWith("\r\n")) << "the last line is whole";
    QStringList lines = QString::fromUtf8(bytes).split(QStringLiteral("\r\n"));
    lines.removeLast();
    ASSERT_GE(lines.size(), 9);
    EXPECT_EQ(lines.mid(0, 9), kFastRunHeader);
    QDateTime last;
    const int samples = checkSampleLines(lines, &last);
    EXPECT_GE(samples, seenBefore);
    // Samples come every 0.1 s and each poll writes its batch before it goes on: nothing measured
    // more than a moment before the kill is missing (a buffered file would lose whole seconds).
    EXPECT_GE(last.msecsTo(killedAt), 0);
    EXPECT_LT(last.msecsTo(killedAt), 2500) << "samples " << samples;
}

TEST(SecondCopy, OfVentacqIsRefusedWhileTheFirstKeepsMeasuring)
{
    UserFolders home;
    ASSERT_TRUE(home.writeSettings(kAcqTitle, kFastRun));
    auto first = startMeasuring(home);
    ASSERT_TRUE(first->waitForLock(10000));
    ASSERT_TRUE(waitForSamples(home, 3));

    Program second(QStringLiteral("ventacq"), home);
    second.setEnv(QStringLiteral("VENTACQ_TEST_AUTORUN"), QStringLiteral("simulation"));
    ASSERT_TRUE(second.start());
    ASSERT_TRUE(second.waitForExit(10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(second.standardError().contains(kAcqTitle + QStringLiteral(" is Running !")))
        << second.standardError().toStdString();

    // The first copy still holds the lock and its run goes on into its data file.
    EXPECT_TRUE(first->isRunning());
    EXPECT_EQ(lockOwner(home.lockFile(QStringLiteral("ventacq"))), first->pid());
    const int before = lineCount(dataFile(home));
    EXPECT_TRUE(QTest::qWaitFor([&] { return lineCount(dataFile(home)) >= before + 5; }, 5000));
    EXPECT_TRUE(first->isRunning());
}

TEST(SecondCopy, OfVentlinkIsRefusedWhileTheFirstKeepsRunning)
{
    UserFolders home;
    Program first(QStringLiteral("ventlink"), home);
    ASSERT_TRUE(first.start());
    ASSERT_TRUE(first.waitForLock(10000)) << first.standardError().toStdString();

    Program second(QStringLiteral("ventlink"), home);
    ASSERT_TRUE(second.start());
    ASSERT_TRUE(second.waitForExit(10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(second.standardError().contains(kLinkTitle + QStringLiteral(" is Running !")))
        << second.standardError().toStdString();

    EXPECT_TRUE(first.staysUp(500));
    EXPECT_EQ(lockOwner(home.lockFile(QStringLiteral("ventlink"))), first.pid());
}

TEST(StaleLock, LeftByAKilledCopyDoesNotBlockTheNextStart)
{
    // ventacq: the next copy starts a run of its own (a fresh data file).
    {
        UserFolders home;
        ASSERT_TRUE(home.writeSettings(kAcqTitle, kFastRun));
        auto killed = startMeasuring(home);
        ASSERT_TRUE(killed->waitForLock(10000));
        const qint64 killedPid = killed->pid();
        killed->kill();
        ASSERT_EQ(lockOwner(home.lockFile(QStringLiteral("ventacq"))), killedPid) << "the lock stays behind";
        QFile::remove(dataFile(home));

        auto next = startMeasuring(home);
        EXPECT_TRUE(next->waitForLock(10000)) << next->standardError().toStdString();
        EXPECT_TRUE(waitForSamples(home, 2));
        EXPECT_TRUE(next->isRunning());
    }
    // ventlink: the next copy takes the lock over and stays up.
    {
        UserFolders home;
        Program killed(QStringLiteral("ventlink"), home);
        ASSERT_TRUE(killed.start());
        ASSERT_TRUE(killed.waitForLock(10000));
        const qint64 killedPid = killed.pid();
        killed.kill();
        ASSERT_EQ(lockOwner(home.lockFile(QStringLiteral("ventlink"))), killedPid);

        Program next(QStringLiteral("ventlink"), home);
        ASSERT_TRUE(next.start());
        EXPECT_TRUE(next.waitForLock(10000)) << next.standardError().toStdString();
        EXPECT_TRUE(next.staysUp(500));
    }
}

// A settings file of random bytes with broken sections, and one cut off in the middle of a line.
static QList<QByteArray> damagedSettingsFiles()
{
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += char((i * 7919 + 13) % 256);
    garbage += "\n[measurement%20Parameter]\nSample%20Num=\xff\xfe\x80\n[Windows\nMain%20Left=1e999\n=\n[";
    const QByteArray truncated = "[Windows]\r\nMain%20Left=1500\r\nMain%20Width=90\r\n"
                                 "[measurement%20Parameter]\r\nSample%20Ti";
    return {garbage, truncated};
}

// Starts the program over the damaged settings file, lets it close its window as the close button
// would after a moment, and returns the settings it wrote then.
static std::unique_ptr<SettingsStore> startAndClose(const UserFolders &home, const QString &program,
                                                    const QString &title, const QByteArray &content)
{
    EXPECT_TRUE(home.writeSettings(title, content));
    Program p(program, home);
    p.setEnv(QStringLiteral("VENT_TEST_CLOSE_AFTER_MS"), QStringLiteral("1000"));
    EXPECT_TRUE(p.start());
    EXPECT_TRUE(p.waitForExit(15000)) << "the window did not close";
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << p.standardError().toStdString();
    EXPECT_EQ(p.exitCode(), 0) << p.standardError().toStdString();
    return SettingsStore::forFile(home.settingsFile(title));
}

static bool isNumber(const std::optional<QString> &text)
{
    bool ok = false;
    if (text)
        text->toDouble(&ok);
    return ok;
}

TEST(DamagedSettings, VentacqComesUpWithTheDefaultsAndWritesSaneSettings)
{
    for (const QByteArray &content : damagedSettingsFiles()) {
        SCOPED_TRACE(content.size());
        UserFolders home;
        const auto store = startAndClose(home, QStringLiteral("ventacq"), kAcqTitle, content);
        const QString m = QStringLiteral("measurement Parameter");
        EXPECT_EQ(store->readText(m, QStringLiteral("Sample Time"), QString()), "1");
        EXPECT_EQ(store->readText(m, QStringLiteral("Sample Num"), QString()), "65500");
        EXPECT_EQ(store->readText(m, QStringLiteral("Sample Type"), QString()), "1");
        EXPECT_EQ(store->readText(m, QStringLiteral("RS232c Port"), QString()), "1");
        EXPECT_EQ(store->readText(m, QStringLiteral("Baud Rate"), QString()), "19200");
        const QString c = QStringLiteral("Capacity Parameter");
        EXPECT_EQ(store->readText(c, QStringLiteral("Wind Mouth Shape"), QString()), "0");
        EXPECT_EQ(store->readText(c, QStringLiteral("Wind Mouth Area"), QString()), "10");
        for (const char *key : {"Main Left", "Main Top", "Main Width", "Main Height", "Splitter Position1"})
            EXPECT_TRUE(isNumber(store->readText(QStringLiteral("Windows"), QLatin1String(key)))) << key;
    }
}

TEST(DamagedSettings, VentlinkComesUpAndWritesSaneSettings)
{
    for (const QByteArray &content : damagedSettingsFiles()) {
        SCOPED_TRACE(content.size());
        UserFolders home;
        const auto store = startAndClose(home, QStringLiteral("ventlink"), kLinkTitle, content);
        for (const char *key : {"Main Left", "Main Top", "Main Width", "Main Height"})
            EXPECT_TRUE(isNumber(store->readText(QStringLiteral("Windows"), QLatin1String(key)))) << key;
        const QString folder = store->readText(QStringLiteral("Path"), QStringLiteral("Path"), QString());
        EXPECT_TRUE(QFileInfo(folder).isAbsolute()) << folder.toStdString();
        EXPECT_EQ(store->readText(QStringLiteral("Path"), QStringLiteral("Driver"), QString()).left(1), "/");
    }
}
