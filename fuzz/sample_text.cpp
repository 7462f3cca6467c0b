// ventacq's sample texts: a batch of driver sample texts, one per input line (a line that begins
// with ESC makes errstat report a data format error before that sample), read by fmGetData into the
// poll's sample table under four option settings, then what the tables, charts and data file make
// of it (docs/fuzzing.md lists the rules).
#include "acq/core/app_state.h"
#include "acq/core/chart_series.h"
#include "acq/core/data_file.h"
#include "acq/core/sample_decoder.h"
#include "acq/core/sample_table.h"
#include "acq/driver/measurement_driver.h"
#include "fuzz/fuzz_support.h"

#include <deque>

namespace {

constexpr qint16 kFormatError = 6;
constexpr int kMaxSamples = 200;

// The driver side of one poll: the sample texts in order, and the errstat value before each.
class BatchDriver : public MeasurementDriver
{
public:
    std::deque<std::pair<QString, qint16>> samples;

    void startmeasu(float &, qint32 &, double &, double &, double &, double &, qint16 &, qint16 &,
                    qint16 &, qint16 &, bool &, qint32 &, QString &) override {}
    double StartTime() override { return 41395.0; }
    qint32 SampleCnt() override { return qint32(samples.size()); }
    qint32 InBufferCount() override { return qint32(samples.size()); }
    qint16 errstat() override { return samples.empty() ? status::kSuccess : samples.front().second; }
    QString Inputs() override
    {
        if (samples.empty())
            return QString();
        const QString text = samples.front().first;
        samples.pop_front();
        return text;
    }
    void StopMeasu() override {}
    void EndVL4402Drv() override {}
};

// A filled row holds all eleven columns by the decoding table.
void checkRow(const AppState &state, const SampleTable &table, int row, const QString &text)
{
    const auto where = [&] { return QStringLiteral("row %1, text \"%2\"").arg(row).arg(text); };
    const QStringList f = text.isEmpty() ? QStringList() : text.split(QLatin1Char(','));
    for (int c : {2, 3, 4, 6, 7, 8})
        FUZZ_REQUIRE(table.cell(row, c) == QLatin1String("0.0"), "unused columns hold 0.0", where());
    const QString velocity = f.size() < 2 ? QStringLiteral("0.0") : f.at(0);
    FUZZ_REQUIRE(table.cell(row, SampleTable::kVelocity) == velocity, "velocity is field 1", where());
    FUZZ_REQUIRE(table.cell(row, SampleTable::kFlow) == (f.size() < 2 ? QStringLiteral("0.0") : f.at(1)),
                 "flow is field 2", where());

    const QString flag = table.cell(row, SampleTable::kFlag);
    const bool valid = flag == QLatin1String("1") || flag == QLatin1String("2");
    if (valid) // the tables' pressure column
        fuzz::requireWhole(table.cell(row, SampleTable::kPressure),
                           NumberFormat::formatText(table.cell(row, SampleTable::kPressure), QStringLiteral("####")));
    const double y = ChartSeries::valueOf(velocity);
    FUZZ_REQUIRE(std::isnan(y) || std::isfinite(y), "a chart point is a number or a gap", where());
}

// One CR LF line per sample in the data file, its columns the table's cells.
void checkFile(const AppState &state, const SampleTable &table, int count)
{
    const QByteArray bytes = DataFile::sampleLines(state, table, count, 1, 41395.5);
    QStringList lines = QString::fromUtf8(bytes).split(QStringLiteral("\r\n"));
    FUZZ_REQUIRE(lines.size() == count + 1 && lines.takeLast().isEmpty(), "one CR LF line per sample");
    const bool atm = DataFile::atmosphereSaved(state);
    for (int k = 1; k <= count; ++k) {
        const QString &line = lines.at(k - 1);
        const QStringList f = line.split(QLatin1Char(','));
        FUZZ_REQUIRE(f.size() == (atm ? 5 : 3), "the file's columns line up", line);
        FUZZ_REQUIRE(f.at(0).startsWith(QLatin1Char(' ')) && f.at(0).endsWith(QLatin1Char(' ')),
                     "time stamp between blanks", line);
        FUZZ_REQUIRE(f.at(1) == table.cell(k, SampleTable::kVelocity) && f.at(2) == table.cell(k, SampleTable::kFlow),
                     "file velocity and flow", line);
        if (atm) {
            // The file is UTF-8: a "." put between the halves of a character beyond the basic
            // plane (garbage from the line) leaves halves that are written as "?".
            fuzz::requireWhole(QString::fromUtf8(table.cell(k, SampleTable::kPressure).toUtf8()), f.at(3));
            FUZZ_REQUIRE(f.at(4) == table.cell(k, SampleTable::kFlag), "file flag", line);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString input = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList texts = input.split(QLatin1Char('\n')).mid(0, kMaxSamples);
    const int count = int(texts.size());
    int filled = count; // the samples before the first one whose errstat fails
    for (int i = 0; i < count && filled == count; ++i)
        filled = texts.at(i).startsWith(QChar(0x1b)) ? i : count;

    // Enable, Display, Save ATM and the language offset.
    static const qint16 options[][4] = {{1, 1, 1, 0}, {1, 1, 0, 10000}, {0, 0, 0, 0}, {1, 0, 1, 0}};
    for (const auto &o : options) {
        AppState state;
        state.atmEnable = o[0];
        state.atmDisplay = o[1];
        state.atmSave = o[2];
        state.languageOffset = o[3];
        state.sampleTime = 0.5f;
        BatchDriver driver;
        for (int i = 0; i < count; ++i)
            driver.samples.emplace_back(texts.at(i), i < filled ? status::kSuccess : kFormatError);

        SampleTable table;
        table.reset(count);
        const qint16 result = fmGetData(state, driver, table, count);
        FUZZ_REQUIRE(result == (filled == count ? status::kSuccess : kFormatError), "fmGetData status");
        FUZZ_REQUIRE(state.statusCode == result, "statusCode follows errstat");
        FUZZ_REQUIRE(table.lastRow() == count, "the table keeps its rows");
        for (int row = 0; row <= count; ++row) {
            if (row >= 1 && row <= filled) {
                checkRow(state, table, row, texts.at(row - 1));
                continue;
            }
            for (int c = 1; c <= SampleTable::kColumns; ++c)
                FUZZ_REQUIRE(table.cell(row, c).isEmpty(), "row 0 and the rows not read stay empty");
        }
        if (result == status::kSuccess)
            checkFile(state, table, count);
    }
    return 0;
}
