// The data file against hand-written expected files (tests/acq/core/expected/).
#include "acq/core/data_file.h"
#include "acq/core/duct_units.h"
#include "acq/core/sample_decoder.h"
#include "acq/core/sample_table.h"
#include "common/core/date_days.h"
#include "common/core/status_codes.h"
#include "tests/acq/core/acq_test_support.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

using acqtest::expectedFile;
using acqtest::readFile;

// Feeds the batches through decoding and the file, as the poll does.
bool runBatches(AppState &state, const QString &path, const QVector<QStringList> &batches)
{
    state.receivedCount = 0;
    for (const QStringList &batch : batches) {
        SampleTable table;
        table.reset(int(batch.size()));
        for (int i = 0; i < batch.size(); ++i)
            decodeSampleText(state, batch.at(i), table, i + 1);
        if (!fSaveDataVXDFile(state, table, path, qint32(batch.size()), state.startTime))
            return false;
        state.receivedCount += qint32(batch.size());
    }
    return true;
}

class DataFileTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString path() const { return dir.path() + "/VL4402Data.VXD"; }
};

// Thirteen instant samples at 0.5 s across midnight, in a batch of 4 and one of 9.
QVector<QStringList> midnightBatches()
{
    const QStringList flows = {"73.59", "73.71", "73.83", "73.96", "74.08", "74.20", "74.32",
                               "74.45", "74.57", "74.69", "74.81", "74.94", "75.06"};
    QVector<QStringList> out(2);
    for (int i = 0; i < 13; ++i)
        out[i < 4 ? 0 : 1] << QString("%1.00,%2,10132,1").arg(600 + i).arg(flows.at(i));
    return out;
}

// Each run replaces a previous run's longer file, under a German locale that must not change a
// single decimal point in the file.
TEST_F(DataFileTest, RunsGiveTheExpectedFiles)
{
    struct Case
    {
        const char *expected;
        UiVariant variant;
        qint16 offset, type;
        float time;
        qint32 count;
        qint16 velocityUnit, flowUnit, ductUnit, shape;
        double width, height, diameter;
        qint16 atmSave;
        QTime start;
        QVector<QStringList> batches;
    };
    const Case cases[] = {
        {"rectangle_three_batches.vxd", UiVariant::English, 0, 1, 1.0f, 7, 0, 0, 0, 0, 100, 200,
         10, 1, QTime(10, 0),
         {{"3.25,120.5,10132,1", "3.30,121.0,10136,1"},
          {"3.10,118.2,10125,2", "3.05,117.9", "abc,x,10130,3"},
          {"3.00,115.0,10130,1", "2.95,114.1,10129,1"}}},
        {"circle_instant_half_second.vxd", UiVariant::English, 0, 0, 0.5f, 13, 1, 3, 1, 1, 10,
         10, 150, 0, QTime(23, 59, 58), midnightBatches()},
        {"localized_english_two_seconds.vxd", UiVariant::English, 10000, 1, 2.0f, 3, 0, 2, 2, 0,
         1.5, 2.25, 10, 1, QTime(10, 0),
         {{"1.00,0.203,10132,1", "1.10,0.223", "1.20,0.243,10130,1"}}},
        {"japanese_circle.vxd", UiVariant::Japanese, 10000, 1, 1.0f, 2, 0, 0, 1, 1, 10, 10, 10, 1,
         QTime(10, 0), {{"2.00,0.36,10132,1", "2.10,0.38,10136,2"}}},
    };
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.expected);
        auto state = acqtest::makeState(c.variant, c.offset);
        state->sampleType = c.type;
        state->sampleTime = c.time;
        state->sampleCount = c.count;
        state->velocityUnit = c.velocityUnit;
        state->flowUnit = c.flowUnit;
        state->ductUnit = c.ductUnit;
        state->ductShape = c.shape;
        state->ductWidth = c.width;
        state->ductHeight = c.height;
        state->ductDiameter = c.diameter;
        state->ductArea = DuctUnits::area(c.shape, c.width, c.height, c.diameter);
        state->atmSave = c.atmSave;
        state->startTime = DateDays::fromDate(QDate(2013, 5, 1), c.start);
        QFile old(path());
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(5000, 'x'));
        old.close();
        ASSERT_TRUE(runBatches(*state, path(), c.batches));
        EXPECT_EQ(readFile(path()), expectedFile(c.expected));
        EXPECT_EQ(state->statusCode, status::kSuccess);
    }
    QLocale::setDefault(QLocale::c());
}

TEST_F(DataFileTest, FailuresAreReportedWithStatus14)
{
    auto state = acqtest::makeState();
    SampleTable table;
    table.reset(1);
    decodeSampleText(*state, "1.00,2.0,10132,1", table, 1);

    // The folder does not exist: the first batch cannot create the file.
    state->receivedCount = 0;
    EXPECT_FALSE(fSaveDataVXDFile(*state, table, dir.path() + "/missing/VL4402Data.VXD", 1, 0));
    EXPECT_EQ(state->statusCode, 14);

    // A file that vanished during the run is not re-created without its header.
    state->receivedCount = 0;
    ASSERT_TRUE(fSaveDataVXDFile(*state, table, path(), 1, 0));
    ASSERT_TRUE(QFile::remove(path()));
    state->receivedCount = 1;
    EXPECT_FALSE(fSaveDataVXDFile(*state, table, path(), 1, 0));
    EXPECT_EQ(state->statusCode, 14);
    EXPECT_FALSE(QFile::exists(path()));

    // A full disk: the write fails.
    if (QFile::exists("/dev/full")) {
        state->receivedCount = 0;
        EXPECT_FALSE(fSaveDataVXDFile(*state, table, "/dev/full", 1, 0));
        EXPECT_EQ(state->statusCode, 14);
    }
}

// The disk fills up in the middle of a batch: the batch that did not fit is not left half written.
TEST_F(DataFileTest, ABatchThatDoesNotFitLeavesTheFileToWholeLines)
{
    auto state = acqtest::makeState();
    state->startTime = DateDays::fromDate(QDate(2013, 5, 1), QTime(10, 0));
    ASSERT_TRUE(runBatches(*state, path(), {{"1.00,1.0,10132,1", "2.00,2.0,10132,1"}}));
    const QByteArray before = readFile(path());
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN); // the write fails instead
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit full = old;
    full.rlim_cur = rlim_t(before.size()) + 20; // room for part of the next line
    setrlimit(RLIMIT_FSIZE, &full);
    SampleTable table;
    table.reset(2);
    decodeSampleText(*state, "3.00,3.0,10132,1", table, 1);
    decodeSampleText(*state, "4.00,4.0,10132,1", table, 2);
    const bool written = fSaveDataVXDFile(*state, table, path(), 2, state->startTime);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    EXPECT_EQ(state->statusCode, 14);
    EXPECT_EQ(readFile(path()), before);
}

} // namespace
