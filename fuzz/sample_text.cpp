// ventacq's sample texts: a batch of driver sample texts (one per input line; a line that begins
// with ESC makes errstat report a data format error before that sample) read by fmGetData into the
// poll's sample table, then what the tables, charts and data file make of the table.
//
// Invariants, for every option setting:
// - the status is -10000 when every sample was read, else the injected code, and exactly the rows
//   before it are filled; row 0 and the rows after it stay empty;
// - every filled row has all eleven columns set by the decoding table: velocity and flow are
//   fields 1 and 2 as received ("0.0" with fewer than two fields), columns 2-4 and 6-8 are "0.0",
//   the pressure is the trimmed third field with a "." before its last character ("0.0" with
//   fewer than four fields), the flag the trimmed fourth field ("0"), the atmosphere text one of
//   pressure, "Err", "N"/"-" (empty when the atmosphere is off); no cell holds a ",";
// - the data file gets exactly one CR LF line per sample with 2 (or, with the atmosphere saved, 4)
//   commas, its fields the table's cells, the pressure through "####": a number becomes a whole
//   number within a half of the value, anything else passes unchanged;
// - a chart point is a finite number or a gap.
#include "acq/core/app_state.h"
#include "acq/core/chart_series.h"
#include "acq/core/data_file.h"
#include "acq/core/sample_decoder.h"
#include "acq/core/sample_table.h"
#include "acq/driver/measurement_driver.h"
#include "common/core/number_format.h"
#include "common/core/status_codes.h"
#include "fuzz/fuzz_support.h"

#include <cmath>
#include <deque>

namespace {

constexpr qint16 kFormatError = 6;
constexpr int kMaxSamples = 200;

// The driver side of one poll: the sample texts in order, and the errstat value before each.
class BatchDriver : public MeasurementDriver
{
public:
    struct Sample
    {
        QString text;
        qint16 errstat = status::kSuccess;
    };
    std::deque<Sample> samples;

    void startmeasu(float &, qint32 &, double &, double &, double &, double &, qint16 &, qint16 &,
                    qint16 &, qint16 &, bool &, qint32 &, QString &) override
    {
    }
    double StartTime() override { return 41395.0; }
    qint32 SampleCnt() override { return qint32(samples.size()); }
    qint32 InBufferCount() override { return qint32(samples.size()); }
    qint16 errstat() override
    {
        return samples.empty() ? status::kSuccess : samples.front().errstat;
    }
    QString Inputs() override
    {
        if (samples.empty())
            return QString();
        const QString text = samples.front().text;
        samples.pop_front();
        return text;
    }
    void StopMeasu() override {}
    void EndVL4402Drv() override {}
};

// Fields as the sample text rule numbers them: an empty text has none.
QStringList fieldsOf(const QString &text)
{
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char(','));
}

// "####": a number becomes a whole number within half of it; other text is unchanged.
void checkWhole(const QString &in, const QString &out)
{
    const std::optional<double> v = NumberFormat::parse(in);
    if (!v) {
        FUZZ_REQUIRE(out == in, "#### passes text that is not a number", in);
        return;
    }
    const auto where = [&] { return in + QStringLiteral(" -> ") + out; };
    for (qsizetype i = 0; i < out.size(); ++i)
        FUZZ_REQUIRE(out.at(i).isDigit() || (i == 0 && out.at(i) == QLatin1Char('-')),
                     "#### writes a whole number", where());
    const double back = out.isEmpty() ? 0.0 : NumberFormat::parse(out).value_or(NAN);
    FUZZ_REQUIRE(std::fabs(back - *v) <= 0.5 + std::fabs(*v) * 1e-14,
                 "#### rounds to the nearest whole", where());
}

void checkRow(const AppState &state, const SampleTable &table, int row, const QString &text)
{
    const auto where = [&] { return QStringLiteral("row %1, text \"%2\"").arg(row).arg(text); };
    const QStringList f = fieldsOf(text);
    for (int c : {2, 3, 4, 6, 7, 8})
        FUZZ_REQUIRE(table.cell(row, c) == QLatin1String("0.0"), "unused columns hold 0.0",
                     where());
    const QString velocity = f.size() < 2 ? QStringLiteral("0.0") : f.at(0);
    const QString flow = f.size() < 2 ? QStringLiteral("0.0") : f.at(1);
    FUZZ_REQUIRE(table.cell(row, SampleTable::kVelocity) == velocity, "velocity is field 1",
                 where());
    FUZZ_REQUIRE(table.cell(row, SampleTable::kFlow) == flow, "flow is field 2", where());

    const QString pressure = table.cell(row, SampleTable::kPressure);
    const QString flag = table.cell(row, SampleTable::kFlag);
    if (f.size() < 4) {
        FUZZ_REQUIRE(pressure == QLatin1String("0.0") && flag == QLatin1String("0"),
                     "short text: pressure 0.0, flag 0", where());
    } else {
        const QString digits = f.at(2).trimmed();
        QString expected = digits;
        if (digits.size() > 1)
            expected = digits.left(digits.size() - 1) + QLatin1Char('.') + digits.right(1);
        FUZZ_REQUIRE(pressure == expected, "pressure is field 3 in tenths", where());
        FUZZ_REQUIRE(flag == f.at(3).trimmed(), "flag is field 4 trimmed", where());
    }

    const QString shown = table.cell(row, SampleTable::kAtmosphereText);
    if (state.atmEnable >= 1 && state.atmDisplay >= 1) {
        const QString none = state.languageOffset ? QStringLiteral("-") : QStringLiteral("N");
        const QString expected = (flag == QLatin1String("1") || flag == QLatin1String("2"))
                                     ? pressure
                                 : flag == QLatin1String("3") ? QStringLiteral("Err")
                                                              : none;
        FUZZ_REQUIRE(shown == expected, "atmosphere text follows the flag", where());
    } else {
        FUZZ_REQUIRE(shown.isEmpty(), "no atmosphere text while it is off", where());
    }
    if (flag == QLatin1String("1") || flag == QLatin1String("2")) // the tables' pressure column
        checkWhole(pressure, NumberFormat::formatText(pressure, QStringLiteral("####")));
    for (int c = 1; c <= SampleTable::kColumns; ++c)
        FUZZ_REQUIRE(!table.cell(row, c).contains(QLatin1Char(',')), "no cell holds a comma",
                     where());

    const double y = ChartSeries::valueOf(velocity);
    FUZZ_REQUIRE(std::isnan(y) || std::isfinite(y), "a chart point is a number or a gap", where());
}

void checkFile(const AppState &state, const SampleTable &table, int count)
{
    constexpr double kStart = 41395.5; // 2013-05-01 12:00:00
    const QByteArray bytes = DataFile::sampleLines(state, table, count, 1, kStart);
    QStringList lines = QString::fromUtf8(bytes).split(QStringLiteral("\r\n"));
    FUZZ_REQUIRE(lines.size() == count + 1 && lines.constLast().isEmpty(),
                 "one CR LF line per sample", QString::number(count));
    lines.removeLast();
    const bool atm = DataFile::atmosphereSaved(state);
    for (int k = 1; k <= count; ++k) {
        const QString &line = lines.at(k - 1);
        const QStringList f = line.split(QLatin1Char(','));
        FUZZ_REQUIRE(f.size() == (atm ? 5 : 3), "the file's columns line up", line);
        FUZZ_REQUIRE(f.at(0).startsWith(QLatin1Char(' ')) && f.at(0).endsWith(QLatin1Char(' ')),
                     "time stamp between blanks", line);
        FUZZ_REQUIRE(f.at(1) == table.cell(k, SampleTable::kVelocity), "file velocity", line);
        FUZZ_REQUIRE(f.at(2) == table.cell(k, SampleTable::kFlow), "file flow", line);
        if (atm) {
            checkWhole(table.cell(k, SampleTable::kPressure), f.at(3));
            FUZZ_REQUIRE(f.at(4) == table.cell(k, SampleTable::kFlag), "file flag", line);
        }
    }
}

struct Options
{
    qint16 atmEnable, atmDisplay, atmSave, languageOffset;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString input = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    QStringList texts = input.split(QLatin1Char('\n'));
    if (texts.size() > kMaxSamples)
        texts.erase(texts.begin() + kMaxSamples, texts.end());

    static const Options options[] = {{1, 1, 1, 0}, {1, 1, 0, 10000}, {0, 0, 0, 0}, {1, 0, 1, 0}};
    for (const Options &o : options) {
        AppState state;
        state.atmEnable = o.atmEnable;
        state.atmDisplay = o.atmDisplay;
        state.atmSave = o.atmSave;
        state.languageOffset = o.languageOffset;
        state.sampleTime = 0.5f;

        BatchDriver driver;
        int stopAt = -1; // 0-based sample before which errstat fails
        for (int i = 0; i < texts.size(); ++i) {
            BatchDriver::Sample s;
            s.text = texts.at(i);
            if (s.text.startsWith(QChar(0x1b)) && stopAt < 0)
                stopAt = i;
            s.errstat = stopAt >= 0 ? kFormatError : status::kSuccess;
            driver.samples.push_back(s);
        }

        const int count = int(texts.size());
        SampleTable table;
        table.reset(count);
        const qint16 result = fmGetData(state, driver, table, count);
        const int filled = stopAt < 0 ? count : stopAt;
        FUZZ_REQUIRE(result == (stopAt < 0 ? status::kSuccess : kFormatError), "fmGetData status");
        FUZZ_REQUIRE(state.statusCode == result, "statusCode follows errstat");
        FUZZ_REQUIRE(table.lastRow() == count, "the table keeps its rows");

        for (int c = 1; c <= SampleTable::kColumns; ++c)
            FUZZ_REQUIRE(table.cell(0, c).isEmpty(), "row 0 stays empty");
        for (int row = 1; row <= filled; ++row)
            checkRow(state, table, row, texts.at(row - 1));
        for (int row = filled + 1; row <= count; ++row) {
            for (int c = 1; c <= SampleTable::kColumns; ++c)
                FUZZ_REQUIRE(table.cell(row, c).isEmpty(),
                             "rows after a failed errstat stay empty");
        }
        if (result == status::kSuccess)
            checkFile(state, table, count);
    }
    return 0;
}
