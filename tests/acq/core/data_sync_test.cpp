// The data file reaches the disk at most once a second and at the end of the run; saved copies
// reach it before they replace a file.
#include "acq/core/data_file.h"
#include "acq/core/data_file_sync.h"
#include "acq/core/sample_decoder.h"
#include "acq/core/sample_table.h"
#include "common/core/durable_file.h"
#include "tests/acq/core/acq_test_support.h"

#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct SyncedRun
{
    QTemporaryDir dir;
    qint64 now = 0;
    DataFileSync sync{[this] { return now; }};
    std::unique_ptr<AppState> state = acqtest::makeState();
    SampleTable table;
    QString path() const { return dir.path() + "/VL4402Data.VXD"; }

    SyncedRun()
    {
        table.reset(1);
        decodeSampleText(*state, "1.00,2.0,10132,1", table, 1);
    }
    // One batch of one sample at `ms` milliseconds.
    bool batch(qint64 ms)
    {
        now = ms;
        const bool ok = fSaveDataVXDFile(*state, table, path(), 1, 0, &sync);
        state->receivedCount += 1;
        return ok;
    }
};

} // namespace

TEST(DataFileSync, ABatchIsSyncedWhenTheLastSyncIsASecondOldTheRestWait)
{
    SyncedRun run;
    // time of the batch (ms), syncs after it, a batch still waiting
    const struct { qint64 ms; int syncs; bool waiting; } batches[] = {
        {0, 1, false},    // the first batch, with the header, at once
        {100, 1, true},   {900, 1, true}, {999, 1, true},
        {1000, 2, false}, // the batches of 100..999 go with it
        {1500, 2, true},  {2600, 3, false}, {5000, 4, false},
    };
    for (const auto &b : batches) {
        SCOPED_TRACE(b.ms);
        ASSERT_TRUE(run.batch(b.ms));
        EXPECT_EQ(run.sync.syncCount(), b.syncs);
        EXPECT_EQ(run.sync.waiting(), b.waiting);
    }
    ASSERT_TRUE(run.batch(5200));
    EXPECT_TRUE(run.sync.waiting());
    // The end of the run syncs the waiting batch, once.
    EXPECT_TRUE(run.sync.finish(run.path()));
    EXPECT_EQ(run.sync.syncCount(), 5);
    EXPECT_FALSE(run.sync.waiting());
    EXPECT_TRUE(run.sync.finish(run.path()));
    EXPECT_EQ(run.sync.syncCount(), 5);

    // The next run starts a new file: its first batch is synced at once, whatever the clock.
    run.state->receivedCount = 0;
    ASSERT_TRUE(run.batch(5300));
    EXPECT_EQ(run.sync.syncCount(), 6);
    EXPECT_EQ(acqtest::readFile(run.path()).count("\r\n"), 10); // nine header lines, one sample
}

TEST(DataFileSync, AFailedSyncKeepsTheBatchWaiting)
{
    SyncedRun run;
    EXPECT_FALSE(run.sync.batchWritten(-1));
    EXPECT_TRUE(run.sync.waiting());
    EXPECT_FALSE(run.sync.finish(run.dir.path() + "/missing.VXD"));
    EXPECT_TRUE(run.sync.waiting());
    EXPECT_EQ(run.sync.syncCount(), 0);
    // A data file that cannot be written is still status 14, and no sync is counted.
    run.state->receivedCount = 0;
    EXPECT_FALSE(fSaveDataVXDFile(*run.state, run.table, run.dir.path() + "/no/such.VXD", 1, 0,
                                  &run.sync));
    EXPECT_EQ(run.state->statusCode, 14);
    EXPECT_EQ(run.sync.syncCount(), 0);
}

TEST(DurableFile, ACommitReplacesTheFileAndItsFolderIsSynced)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("run.csv");
    for (const QByteArray &text : {QByteArray("old\r\n"), QByteArray("new\r\n")}) {
        QSaveFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        ASSERT_TRUE(DurableFile::commit(f));
        EXPECT_EQ(acqtest::readFile(path), text);
    }
    QSaveFile cancelled(path);
    ASSERT_TRUE(cancelled.open(QIODevice::WriteOnly));
    cancelled.write("half");
    cancelled.cancelWriting();
    EXPECT_FALSE(DurableFile::commit(cancelled));
    EXPECT_EQ(acqtest::readFile(path), "new\r\n");
    EXPECT_TRUE(DurableFile::syncFolderOf(path));
    EXPECT_FALSE(DurableFile::syncFolderOf(dir.filePath("missing/run.csv")));
}
