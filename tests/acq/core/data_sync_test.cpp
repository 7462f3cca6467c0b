// The data file reaches the disk at most once a second and at the end of the run.
#include "acq/core/data_file.h"
#include "acq/core/data_file_sync.h"
#include "acq/core/sample_decoder.h"
#include "acq/core/sample_table.h"
#include "tests/acq/core/acq_test_support.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(DataFileSync, ABatchIsSyncedWhenTheLastSyncIsASecondOldTheRestWaitForTheNextOrTheEnd)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("VL4402Data.VXD");
    qint64 now = 0;
    DataFileSync sync([&now] { return now; });
    auto state = acqtest::makeState();
    SampleTable table;
    table.reset(1);
    decodeSampleText(*state, "1.00,2.0,10132,1", table, 1);
    // clock (ms) at a one-sample batch or at the end of the run; syncs after it; when the batch
    // left waiting is due (-1: none waits)
    const struct { qint64 ms; bool end; int syncs; qint64 due; } steps[] = {
        {0, false, 1, -1},    {100, false, 1, 900},  {999, false, 1, 1},
        {1000, false, 2, -1}, {1500, false, 2, 500}, {2600, false, 3, -1},
        {2700, false, 3, 900}, {2750, true, 4, -1},  {2760, true, 4, -1},
        {2800, false, 5, -1}, // the next run: header and first batch at once
    };
    for (const auto &s : steps) {
        SCOPED_TRACE(s.ms);
        now = s.ms;
        if (s.end) {
            EXPECT_TRUE(sync.finish(path));
            state->receivedCount = 0;
        } else {
            ASSERT_TRUE(fSaveDataVXDFile(*state, table, path, 1, 0, &sync));
            state->receivedCount += 1;
        }
        EXPECT_EQ(sync.syncCount(), s.syncs);
        EXPECT_EQ(sync.msUntilDue(), s.due);
        EXPECT_EQ(sync.waiting(), s.due >= 0);
    }
    // A sync that fails keeps the batch waiting.
    now = 4000;
    EXPECT_FALSE(sync.batchWritten(-1));
    EXPECT_FALSE(sync.finish(dir.filePath("missing.VXD")));
    EXPECT_EQ(sync.msUntilDue(), 0);
    EXPECT_EQ(sync.syncCount(), 5);
}

TEST(DataFileSync, ABatchWithinTheEarlyMarginOfItsSecondIsSyncedWithItsWriting)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("VL4402Data.VXD");
    qint64 now = 0;
    DataFileSync sync([&now] { return now; });
    sync.setEarlyMs(100);
    auto state = acqtest::makeState();
    SampleTable table;
    table.reset(1);
    decodeSampleText(*state, "1.00,2.0,10132,1", table, 1);
    // clock (ms) at a one-sample batch; syncs after it; when the batch left waiting is due
    const struct { qint64 ms; int syncs; qint64 due; } steps[] = {
        {0, 1, -1}, {850, 1, 150}, {900, 2, -1}, {1850, 3, -1}, {1900, 3, 950},
    };
    for (const auto &s : steps) {
        now = s.ms;
        ASSERT_TRUE(fSaveDataVXDFile(*state, table, path, 1, 0, &sync));
        state->receivedCount += 1;
        EXPECT_EQ(std::tuple(sync.syncCount(), sync.msUntilDue()), std::tuple(s.syncs, s.due)) << s.ms;
    }
}
