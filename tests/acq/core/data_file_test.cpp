// The data file against hand-written expected files (tests/acq/core/expected/).
#include "acq/core/data_file.h"
#include "acq/core/duct_units.h"
#include "acq/core/sample_decoder.h"
#include "acq/core/sample_table.h"
#include "common/core/date_days.h"
#include "tests/acq/core/acq_test_support.h"
#include "tests/support/test_support.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

using acqtest::expectedFile;
using acqtest::readFile;

double at(int y, int mo, int d, int h, int mi, int s)
{
    return DateDays::fromDate(QDate(y, mo, d), QTime(h, mi, s));
}

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

TEST_F(DataFileTest, RectangleRunInThreeBatches)
{
    // A German locale must not change a single decimal point in the file.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    auto state = acqtest::makeState();
    state->sampleType = 1;
    state->sampleTime = 1.0f;
    state->sampleCount = 7;
    state->ductUnit = 0;
    state->ductShape = 0;
    state->ductWidth = 100;
    state->ductHeight = 200;
    state->ductArea = DuctUnits::area(0, 100, 200, 0);
    state->startTime = at(2013, 5, 1, 10, 0, 0);

    // A previous run's longer file is replaced by the first batch.
    QFile old(path());
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(5000, 'x'));
    old.close();

    ASSERT_TRUE(runBatches(*state, path(),
                           {{"3.25,120.5,10132,1", "3.30,121.0,10136,1"},
                            {"3.10,118.2,10125,2", "3.05,117.9", "abc,x,10130,3"},
                            {"3.00,115.0,10130,1", "2.95,114.1,10129,1"}}));
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(readFile(path()), expectedFile("rectangle_three_batches.vxd"));
    EXPECT_EQ(state->statusCode, -10000);
}

TEST_F(DataFileTest, CircleInstantHalfSecondWithoutAtmosphereColumns)
{
    auto state = acqtest::makeState();
    state->sampleType = 0;
    state->sampleTime = 0.5f;
    state->sampleCount = 13;
    state->velocityUnit = 1;
    state->flowUnit = 3;
    state->ductUnit = 1;
    state->ductShape = 1;
    state->ductDiameter = 150;
    state->ductArea = DuctUnits::area(1, 0, 0, 150);
    state->atmSave = 0;
    state->startTime = at(2013, 5, 1, 23, 59, 58);
    const QStringList flows = {"73.59", "73.71", "73.83", "73.96", "74.08", "74.20", "74.32",
                               "74.45", "74.57", "74.69", "74.81", "74.94", "75.06"};
    QStringList first;
    QStringList second;
    for (int i = 0; i < 13; ++i)
        (i < 4 ? first : second) << QString("%1.00,%2,10132,1").arg(600 + i).arg(flows.at(i));
    ASSERT_TRUE(runBatches(*state, path(), {first, second}));
    EXPECT_EQ(readFile(path()), expectedFile("circle_instant_half_second.vxd"));
}

TEST_F(DataFileTest, LocalizedBlockInEnglish)
{
    auto state = acqtest::makeState(UiVariant::English, 10000);
    state->sampleType = 1;
    state->sampleTime = 2.0f;
    state->sampleCount = 3;
    state->flowUnit = 2;
    state->ductUnit = 2;
    state->ductWidth = 1.5;
    state->ductHeight = 2.25;
    state->ductArea = 3.375;
    state->startTime = at(2013, 5, 1, 10, 0, 0);
    ASSERT_TRUE(runBatches(*state, path(),
                           {{"1.00,0.203,10132,1", "1.10,0.223", "1.20,0.243,10130,1"}}));
    EXPECT_EQ(readFile(path()), expectedFile("localized_english_two_seconds.vxd"));
}

TEST_F(DataFileTest, JapaneseTextsAreUtf8WithoutBom)
{
    auto state = acqtest::makeState(UiVariant::Japanese, 10000);
    state->sampleType = 1;
    state->sampleTime = 1.0f;
    state->sampleCount = 2;
    state->ductUnit = 1;
    state->ductShape = 1;
    state->ductDiameter = 10;
    state->ductArea = DuctUnits::area(1, 0, 0, 10);
    state->startTime = at(2013, 5, 1, 10, 0, 0);
    ASSERT_TRUE(runBatches(*state, path(), {{"2.00,0.36,10132,1", "2.10,0.38,10136,2"}}));
    EXPECT_EQ(readFile(path()), expectedFile("japanese_circle.vxd"));
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
    state->startTime = at(2013, 5, 1, 10, 0, 0);
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
