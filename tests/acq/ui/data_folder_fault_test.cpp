// The data folder turns read-only or fills up in the middle of a run: one message that names the
// file, the run stops, every sample that came is in the tables, and the file keeps whole lines.
#include "acq/ui/data_panel.h"
#include "common/ui/grid_model.h"
#include "tests/acq/ui/display_rig.h"
#include "tests/support/permissions_bind_root.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

// Files may not grow past `bytes` while this lives (a full disk); the signal that would end the
// process is ignored, so the write fails instead.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

class DataFolderFault : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(folder()));
        rig.state.lastDataPath = folder() + QStringLiteral("/VL4402Data.VXD");
        // Four polls of three samples; the run asks for more, so only a fault ends it.
        rig.start(venttest::DisplayRig::batches(12, 3), QTime(12, 0), 1.0f, 60, 100);
        rig.poll(2);
        ASSERT_TRUE(rig.state.measuring);
        ASSERT_TRUE(rig.presenter.shown.isEmpty());
        before = readFile();
        ASSERT_EQ(before.count("\r\n"), 9 + 6);
    }
    void TearDown() override
    {
        QFile::setPermissions(folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::setPermissions(rig.state.lastDataPath, QFile::ReadOwner | QFile::WriteOwner);
    }

    QString folder() const { return dir.path() + QStringLiteral("/data"); }
    QByteArray readFile() const
    {
        QFile f(rig.state.lastDataPath);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // The third poll meets the fault; a fourth finds the run stopped.
    void expectOneMessageAndEverySampleInTheTables()
    {
        rig.poll();
        EXPECT_FALSE(rig.state.measuring);
        EXPECT_EQ(rig.state.idle, 1);
        ASSERT_EQ(rig.presenter.shown.size(), 1);
        // The path with the system's reason after it.
        EXPECT_TRUE(rig.presenter.shown[0].text.startsWith(
            QStringLiteral("The data file could not be written, so the measurement was stopped:\n")
            + rig.state.lastDataPath + QStringLiteral(": ")));

        rig.flushTables();
        EXPECT_EQ(rig.state.receivedCount, 9);
        EXPECT_EQ(rig.state.dataState, 3) << "the samples shown can still be saved";
        GridModel *velocity = rig.grid(Panel::Velocity);
        GridModel *flow = rig.grid(Panel::Flow);
        for (int k = 1; k <= 9; ++k) {
            EXPECT_EQ(velocity->cell(k, 2), QStringLiteral("%1.25").arg(k)) << k;
            EXPECT_EQ(flow->cell(k, 1), QStringLiteral("%1.5").arg(k * 3)) << k;
        }
        EXPECT_TRUE(velocity->cell(10, 2).isEmpty());
    }

    QTemporaryDir dir;
    venttest::DisplayRig rig;
    QByteArray before;
};

TEST_F(DataFolderFault, ReadOnlyMidRun)
{
    ASSERT_TRUE(QFile::setPermissions(rig.state.lastDataPath, QFile::ReadOwner | QFile::ReadGroup));
    ASSERT_TRUE(QFile::setPermissions(folder(), QFile::ReadOwner | QFile::ExeOwner));
    {
        venttest::PermissionsBindRoot readOnly;
        ASSERT_TRUE(readOnly.binds());
        expectOneMessageAndEverySampleInTheTables();
    }
    EXPECT_EQ(readFile(), before);
}

TEST_F(DataFolderFault, FullMidRunKeepsTheFileToWholeLines)
{
    {
        // Room for a few bytes of the next batch: the write stops in the middle of a line.
        FileSizeLimit full(rlim_t(before.size()) + 20);
        expectOneMessageAndEverySampleInTheTables();
    }
    EXPECT_EQ(readFile(), before) << "the batch that did not fit is not left half written";
}

} // namespace
