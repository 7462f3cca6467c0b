// The driver's live-reading replies: bytes as the port delivers them, in three chunkings, cut into
// lines by LiveExchange::takeLine after each chunk, each line parsed, each reading made into the
// sample text ventacq decodes, in every unit (docs/fuzzing.md lists the rules).
#include "acq/core/app_state.h"
#include "acq/core/sample_decoder.h"
#include "acq/core/sample_table.h"
#include "acq/driver/flow_rate.h"
#include "acq/driver/live_exchange.h"
#include "fuzz/fuzz_support.h"

namespace {

bool near(double value, double expected, double halfStep)
{
    return std::fabs(value - expected) <= halfStep + std::fabs(expected) * 1e-12;
}

// The sample text made from a reading decodes into its velocity and flow within rounding, the
// pressure in hPa and the flag.
void checkSampleText(const LiveExchange::Reading &r)
{
    constexpr double kArea = 20000; // a 100 x 200 mm duct
    AppState state;
    SampleTable table;
    table.reset(1);
    const qint32 pressure = r.pressureKnown ? r.pressureTenths : 0;
    const int flag = r.pressureKnown ? r.flag : 0;
    for (int velocityUnit = 0; velocityUnit <= 1; ++velocityUnit) {
        for (int flowUnit = 0; flowUnit <= 3; ++flowUnit) {
            const int ductUnit = flowUnit % 3;
            const QString text = FlowRate::sampleText(r.velocity, kArea, velocityUnit, flowUnit,
                                                      ductUnit, pressure, flag);
            FUZZ_REQUIRE(text.count(QLatin1Char(',')) == 3, "a sample text has four fields", text);
            decodeSampleText(state, text, table, 1);
            const double velocity = FlowRate::velocityIn(r.velocity, velocityUnit);
            const double flow = FlowRate::flowIn(r.velocity, kArea, ductUnit, flowUnit);
            FUZZ_REQUIRE(std::isfinite(velocity) && std::isfinite(flow), "a reading converts", text);
            const std::optional<double> v = NumberFormat::parse(table.cell(1, SampleTable::kVelocity));
            FUZZ_REQUIRE(v && near(*v, velocity, 0.005), "velocity text within rounding", text);
            const double halfStep = 0.5 * std::pow(10.0, -FlowRate::flowDecimals(flowUnit));
            const std::optional<double> q = NumberFormat::parse(table.cell(1, SampleTable::kFlow));
            FUZZ_REQUIRE(q && near(*q, flow, halfStep), "flow text within rounding", text);
            FUZZ_REQUIRE(table.cell(1, SampleTable::kPressure) == fuzz::tenthsText(QString::number(pressure)),
                         "pressure in hPa", text);
            FUZZ_REQUIRE(table.cell(1, SampleTable::kFlag) == QString::number(flag), "flag", text);
        }
    }
}

// A reply is a reading exactly when it begins with "AV;", has five fields and a plausible
// velocity; a known pressure is whole and >= 0 with a one-digit flag, an unknown one reads as 0, 0.
void checkReading(const QByteArray &line)
{
    const std::optional<LiveExchange::Reading> r = LiveExchange::parse(line);
    const QList<QByteArray> fields = line.split(';');
    std::optional<double> velocity;
    if (line.startsWith("AV;") && fields.size() >= 5)
        velocity = NumberFormat::parse(QString::fromLatin1(fields.at(1)));
    if (velocity && std::fabs(*velocity) > LiveExchange::kMaxVelocity)
        velocity.reset(); // garbage, not an air velocity
    const QString where = QString::fromLatin1(line.toPercentEncoding(" ;."));
    FUZZ_REQUIRE(bool(r) == bool(velocity), "a reading exactly when well formed", where);
    if (!r)
        return;
    FUZZ_REQUIRE(std::isfinite(r->velocity) && r->velocity == *velocity, "the velocity is field 2", where);
    if (r->pressureKnown)
        FUZZ_REQUIRE(r->pressureTenths >= 0 && r->flag >= 0 && r->flag <= 9, "pressure and flag range", where);
    else
        FUZZ_REQUIRE(r->pressureTenths == 0 && r->flag == 0, "an unknown pressure reads as none", where);
    checkSampleText(*r);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray stream(reinterpret_cast<const char *>(data), qsizetype(size));
    // The reference cut: the non-empty pieces between CR and LF, in order; the rest is unfinished.
    QList<QByteArray> expected = QByteArray(stream).replace('\n', '\r').split('\r');
    const QByteArray expectedRest = expected.takeLast();
    expected.removeAll(QByteArray());

    for (const std::vector<QByteArray> &chunks : fuzz::chunkings(stream)) {
        QByteArray buffer;
        QList<QByteArray> lines;
        for (const QByteArray &chunk : chunks) {
            buffer += chunk;
            while (const std::optional<QByteArray> line = LiveExchange::takeLine(&buffer))
                lines << *line;
        }
        FUZZ_REQUIRE(lines == expected, "lines do not depend on chunking");
        FUZZ_REQUIRE(buffer == expectedRest, "the unfinished line stays buffered");
    }
    for (const QByteArray &line : expected)
        checkReading(line);
    return 0;
}
