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
    // clock (ms) at a one-sample batch or at the end of the run; syncs after it; a batch waiting
    const struct { qint64 ms; bool end; int syncs; bool waiting; } steps[] = {
        {0, false, 1, false},    {100, false, 1, true},  {999, false, 1, true},
        {1000, false, 2, false}, {1500, false, 2, true}, {2600, false, 3, false},
        {2700, false, 3, true},  {2750, true, 4, false}, {2760, true, 4, false},
        {2800, false, 5, false}, // the next run: header and first batch at once
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
        EXPECT_EQ(sync.waiting(), s.waiting);
    }
    // A sync that fails keeps the batch waiting.
    now = 4000;
    EXPECT_FALSE(sync.batchWritten(-1));
    EXPECT_FALSE(sync.finish(dir.filePath("missing.VXD")));
    EXPECT_TRUE(sync.waiting());
    EXPECT_EQ(sync.syncCount(), 5);
}
