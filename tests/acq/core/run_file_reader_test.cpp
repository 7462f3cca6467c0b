// Measurement files read back (File > Open): the run's parameters and samples from the
// hand-written data files in the header texts of each language and in the code pages earlier
// releases wrote, and the files that are refused, with the reason and the line.
#include "acq/core/run_file_reader.h"
#include "common/core/date_days.h"
#include "tests/acq/core/acq_test_support.h"

#include <QStringEncoder>
#include <gtest/gtest.h>

namespace {

using acqtest::expectedFile;
using Problem = RunFileReader::Problem;

const RunFileReader &reader()
{
    static const auto state = acqtest::makeState();
    static const RunFileReader r(*state->texts.table());
    return r;
}
RunFileReader::Result read(const QByteArray &bytes, RunFile *run) { return reader().parse(bytes, run); }

// "velocity|flow|pressure|flag" of sample k.
QString row(const RunFile &r, int k)
{
    SampleTable t;
    r.fill(t, k, 1);
    QStringList cells;
    for (int c : {SampleTable::kVelocity, SampleTable::kFlow, SampleTable::kPressure, SampleTable::kFlag})
        cells << t.cell(1, c);
    return cells.join('|');
}

struct Case
{
    const char *file;
    qint16 type;
    float interval;
    qint32 count, samples;
    qint16 ductUnit, shape;
    double sizeA, sizeB, area; // width and height, or the diameter and 0
    qint16 velocityUnit, flowUnit;
    bool atmosphere;
    const char *start, *sample; // the first stamp; sample k
    int k;
};

const Case kCases[] = {
    {"rectangle_three_batches.vxd", 1, 1.0f, 7, 7, 0, 0, 100, 200, 20000, 0, 0, true,
     "2013-05-01 10:00:00", "abc|x|1013|3", 5},
    {"circle_instant_half_second.vxd", 0, 0.5f, 13, 13, 1, 1, 150, 0, 17662.5, 1, 3, false,
     "2013-05-01 23:59:58", "612.00|75.06|0.0|0", 13},
    {"localized_english_two_seconds.vxd", 1, 2.0f, 3, 3, 2, 0, 1.5, 2.25, 3.375, 0, 2, true,
     "2013-05-01 10:00:00", "1.10|0.223||0", 2},
    {"japanese_circle.vxd", 1, 1.0f, 2, 2, 1, 1, 10, 0, 78.5, 0, 0, true, "2013-05-01 10:00:00",
     "2.10|0.38|1014|2", 2},
    {"chinese_rectangle_stopped.vxd", 0, 1.0f, 100, 3, 1, 0, 4, 6, 24, 1, 1, true,
     "2013-05-01 10:00:00", "320.00|3200.0|1013|3", 3},
};

void expectCase(const Case &c, const QByteArray &bytes, const char *how)
{
    RunFile r;
    const RunFileReader::Result result = read(bytes, &r);
    ASSERT_TRUE(result.ok()) << c.file << how << " problem " << int(result.problem) << " line " << result.line;
    const double a = c.shape == 1 ? r.ductDiameter : r.ductWidth;
    const double b = c.shape == 1 ? 0.0 : r.ductHeight;
    EXPECT_EQ(std::tuple(r.sampleType, r.sampleTime, r.sampleCount, r.count, r.ductUnit, r.ductShape),
              std::tuple(c.type, c.interval, c.count, c.samples, c.ductUnit, c.shape)) << c.file << how;
    EXPECT_EQ(std::tuple(a, b, r.ductArea, r.velocityUnit, r.flowUnit, r.atmosphere),
              std::tuple(c.sizeA, c.sizeB, c.area, c.velocityUnit, c.flowUnit, c.atmosphere)) << c.file << how;
    EXPECT_EQ(DateDays::format(r.startTime), QLatin1String(c.start)) << c.file << how;
    EXPECT_EQ(row(r, c.k), QLatin1String(c.sample)) << c.file << how;
}

TEST(RunFileReader, ReadsEveryLanguagesFiles)
{
    for (const Case &c : kCases)
        expectCase(c, expectedFile(c.file), "");
}

TEST(RunFileReader, ReadsWhatEarlierReleasesAndEditorsWrote)
{
    // The system's code page (Japanese and Chinese Windows), and UTF-8 with a byte-order mark and
    // bare line feeds.
    const std::pair<const Case *, const char *> encoded[] = {{&kCases[3], "Shift_JIS"},
                                                             {&kCases[4], "GB18030"}};
    for (const auto &[c, codePage] : encoded) {
        QStringEncoder encoder(codePage);
        const QByteArray bytes = encoder.encode(QString::fromUtf8(expectedFile(c->file)));
        ASSERT_FALSE(encoder.hasError());
        expectCase(*c, bytes, codePage);
    }
    expectCase(kCases[0], "\xEF\xBB\xBF" + expectedFile(kCases[0].file).replace("\r\n", "\n") + "\n\n",
               " BOM, LF");
}

TEST(RunFileReader, RefusesWhatIsNoMeasurementAndNamesTheDamagedLine)
{
    const QList<QByteArray> good = expectedFile(kCases[0].file).split('\n'); // lines end in \r
    auto lines = [&](int from, int to) { return good.mid(from - 1, to - from + 1).join('\n'); };
    QList<QByteArray> garbled = good, lost = good, short13 = good, gap = good;
    garbled[11] = " 2013-05-01 10:00:02 ,3.10;118.2;1013;2\r";
    lost.removeAt(10);
    short13[12] = " 2013-05-01 10:00:03 ,3.05,117.9\r";
    gap[11] = "\r";
    QList<QByteArray> title = good;
    title[0] = "[Other Data]\r";
    const struct
    {
        QByteArray bytes;
        Problem problem;
        int line;
    } cases[] = {
        {"", Problem::NotARun, 0},
        {QByteArray("\x00\xff\xfe garbage", 12), Problem::NotARun, 0},
        {lines(1, 5), Problem::NotARun, 0},
        {title.join('\n'), Problem::NotARun, 0},
        {lines(1, 9), Problem::NoSamples, 0},
        {lines(1, 9) + "\n\r\n\r\n", Problem::NoSamples, 0},
        {garbled.join('\n'), Problem::DamagedLine, 12},
        {lost.join('\n'), Problem::DamagedLine, 11}, // its time does not follow the interval
        {short13.join('\n'), Problem::DamagedLine, 13},
        {gap.join('\n'), Problem::DamagedLine, 12},
    };
    for (const auto &c : cases) {
        RunFile r;
        r.count = -1;
        const RunFileReader::Result result = read(c.bytes, &r);
        EXPECT_EQ(std::tuple(result.problem, result.line, r.count), std::tuple(c.problem, c.line, -1))
            << c.bytes.left(60).toStdString();
    }
    RunFile r;
    const RunFileReader::Result missing = reader().readFile("/nonexistent/run.CSV", &r);
    EXPECT_EQ(std::tuple(missing.problem, missing.failure.target),
              std::tuple(Problem::Unreadable, QString("/nonexistent/run.CSV")));
}

} // namespace
