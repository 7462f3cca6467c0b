// The real programs as child processes (offscreen, per-user folders of their own), one path per
// program and fault: a kill in the middle of a run, a second copy and the lock a killed copy leaves
// behind, damaged settings files. The rules behind them are tested at unit level
// (DataFileTest.EveryProcessedBatchSurvivesAKill, SingleInstance, SettingsFile).
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

const QString kAcq = QStringLiteral("ventacq");
QString titleOf(const QString &program)
{
    return program == kAcq ? QStringLiteral("Ventolux Data Acquisition Software")
                           : QStringLiteral("Ventolux PC-LINK Software");
}

// A run of instant samples every 0.1 s, long enough never to end during a test.
const QByteArray kFastRun = "[measurement%20Parameter]\r\nSample%20Time=0.1\r\n"
                            "Sample%20Num=65500\r\nSample%20Type=0\r\n";

QByteArray dataBytes(const UserFolders &home)
{
    QFile f(home.dataFolder(kAcq) + QStringLiteral("/VL4402Data.VXD"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Lines of the data file after its nine header lines.
int sampleCount(const UserFolders &home)
{
    return int(dataBytes(home).count("\r\n")) - 9;
}

bool waitForSamples(const UserFolders &home, int samples)
{
    return QTest::qWaitFor([&] { return sampleCount(home) >= samples; }, 15000);
}

// ventacq starts a simulated run as soon as its window is shown (a test hook).
std::unique_ptr<Program> start(const UserFolders &home, const QString &program)
{
    auto p = std::make_unique<Program>(program, home);
    if (program == kAcq)
        p->setEnv(QStringLiteral("VENTACQ_TEST_AUTORUN"), QStringLiteral("simulation"));
    EXPECT_TRUE(p->start());
    return p;
}

} // namespace

TEST(VentacqKilled, MidRunTheDataFileHoldsEveryProcessedSampleInWholeLines)
{
    UserFolders home;
    ASSERT_TRUE(home.writeSettings(titleOf(kAcq), kFastRun));
    auto acq = start(home, kAcq);
    ASSERT_TRUE(waitForSamples(home, 12)) << acq->standardError().toStdString();
    QTest::qWait(137); // anywhere between two batches, or in the middle of one
    const int seenBefore = sampleCount(home);
    acq->kill();
    ASSERT_EQ(acq->exitStatus(), QProcess::CrashExit);

    const QByteArray bytes = dataBytes(home);
    ASSERT_TRUE(bytes.endsWith("\r\n")) << "the last line is whole";
    QStringList lines = QString::fromUtf8(bytes).split(QStringLiteral("\r\n"));
    lines.removeLast();
    ASSERT_GE(lines.size(), 9 + seenBefore);
    EXPECT_EQ(lines.mid(2, 2), QStringList({"Interval Time :0.1Sec", "Sampling Number:65500"}));
    // Every sample line whole, each 0.1 s after the one before (whole seconds, ":", tenths, "00").
    static const QRegularExpression form(
        QStringLiteral(R"(^ (\d{4}-\d\d-\d\d \d\d:\d\d:\d\d):(\d)00 ,\d+\.\d\d,\d+\.\d\d,\d{3,4},1$)"));
    QDateTime first;
    for (int g = 0; g < lines.size() - 9; ++g) {
        const QRegularExpressionMatch m = form.match(lines[9 + g]);
        ASSERT_TRUE(m.hasMatch()) << "line " << 10 + g << ": " << lines[9 + g].toStdString();
        const QDateTime stamp = QDateTime::fromString(m.captured(1), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        if (g == 0)
            first = stamp;
        EXPECT_EQ(stamp, first.addSecs(g / 10)) << "sample " << g + 1;
        EXPECT_EQ(m.captured(2).toInt(), g % 10) << "sample " << g + 1;
    }
}

// A second copy ends at once with its message while the first goes on; a killed copy leaves its
// lock behind, and the next copy takes it over.
TEST(SingleCopy, SecondCopyIsRefusedAndAKilledCopysLockIsTakenOver)
{
    for (const QString &program : {kAcq, QStringLiteral("ventlink")}) {
        SCOPED_TRACE(program.toStdString());
        UserFolders home;
        const QString lock = home.lockFile(program);
        ASSERT_TRUE(home.writeSettings(titleOf(program), program == kAcq ? kFastRun : QByteArray()));
        auto first = start(home, program);
        ASSERT_TRUE(first->waitForLock(10000)) << first->standardError().toStdString();

        auto second = start(home, program);
        ASSERT_TRUE(second->waitForExit(10000));
        EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(second->exitCode(), 0);
        EXPECT_TRUE(second->standardError().contains(titleOf(program) + QStringLiteral(" is Running !")))
            << second->standardError().toStdString();
        EXPECT_EQ(lockOwner(lock), first->pid());
        if (program == kAcq) {
            ASSERT_TRUE(waitForSamples(home, 1));
            const int before = sampleCount(home);
            EXPECT_TRUE(QTest::qWaitFor([&] { return sampleCount(home) >= before + 5; }, 5000))
                << "the first copy's run goes on";
        }
        EXPECT_TRUE(first->isRunning());

        const qint64 killedPid = first->pid();
        first->kill();
        ASSERT_EQ(lockOwner(lock), killedPid) << "the lock stays behind";
        QFile::remove(home.dataFolder(kAcq) + QStringLiteral("/VL4402Data.VXD"));
        auto next = start(home, program);
        EXPECT_TRUE(next->waitForLock(10000)) << next->standardError().toStdString();
        if (program == kAcq) {
            EXPECT_TRUE(waitForSamples(home, 2)) << "the next copy runs a fresh file";
        }
        EXPECT_TRUE(next->staysUp(500));
    }
}

static bool isNumber(const std::optional<QString> &text)
{
    bool ok = false;
    if (text)
        text->toDouble(&ok);
    return ok;
}

// Random bytes with broken sections (a file cut off mid-line is SettingsFile's case): the program
// comes up, closes as the close button would after a moment, and writes sane settings.
TEST(DamagedSettings, EachProgramComesUpAndWritesSaneSettings)
{
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += char((i * 7919 + 13) % 256);
    garbage += "\n[measurement%20Parameter]\nSample%20Num=\xff\xfe\x80\n[Windows\nMain%20Left=1e999\n=\n[";
    for (const QString &program : {kAcq, QStringLiteral("ventlink")}) {
        SCOPED_TRACE(program.toStdString());
        UserFolders home;
        ASSERT_TRUE(home.writeSettings(titleOf(program), garbage));
        Program p(program, home);
        p.setEnv(QStringLiteral("VENT_TEST_CLOSE_AFTER_MS"), QStringLiteral("1000"));
        ASSERT_TRUE(p.start());
        ASSERT_TRUE(p.waitForExit(15000)) << "the window did not close";
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << p.standardError().toStdString();
        EXPECT_EQ(p.exitCode(), 0);
        const auto store = SettingsStore::forFile(home.settingsFile(titleOf(program)));
        for (const char *key : {"Main Left", "Main Top", "Main Width", "Main Height"})
            EXPECT_TRUE(isNumber(store->readText(QStringLiteral("Windows"), QLatin1String(key)))) << key;
        if (program == kAcq) {
            const QString m = QStringLiteral("measurement Parameter");
            EXPECT_EQ(store->readText(m, QStringLiteral("Sample Num"), QString()), "65500");
            EXPECT_EQ(store->readText(m, QStringLiteral("Sample Time"), QString()), "1");
        } else {
            const QString folder = store->readText(QStringLiteral("Path"), QStringLiteral("Path"), QString());
            EXPECT_TRUE(QFileInfo(folder).isAbsolute()) << folder.toStdString();
        }
    }
}
