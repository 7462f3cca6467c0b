// The driver's live-reading replies: bytes as the instrument's port delivers them, in three
// chunkings, cut into lines the way the driver's receive handler does (LiveExchange::takeLine
// after each chunk), each line parsed, and each reading made into the sample text ventacq decodes.
//
// Invariants:
// - the lines do not depend on how the bytes were chunked: they are the non-empty pieces between
//   CR and LF, in order, and the unfinished rest stays buffered;
// - a reply is a reading exactly when it begins with "AV;", has at least five fields and its
//   velocity is a number within the plausible range; the velocity is that number; a pressure that
//   is known is a whole number
//   >= 0 and its flag one digit, an unknown one reads as 0 and 0;
// - the sample text made from a reading, in every unit, decodes into four fields: velocity and
//   flow are numbers within rounding of the converted reading, the pressure is the reading's
//   tenths with a "." before the last digit, the flag its digit.
#include "acq/core/app_state.h"
#include "acq/core/sample_decoder.h"
#include "acq/core/sample_table.h"
#include "acq/driver/flow_rate.h"
#include "acq/driver/live_exchange.h"
#include "common/core/number_format.h"
#include "fuzz/fuzz_support.h"

#include <cmath>

namespace {

// The reference cut: pieces between CR/LF, empty ones dropped; the last piece is unfinished.
QList<QByteArray> referenceLines(const QByteArray &stream, QByteArray *rest)
{
    QList<QByteArray> lines;
    QByteArray current;
    for (char c : stream) {
        if (c == '\r' || c == '\n') {
            if (!current.isEmpty())
                lines << current;
            current.clear();
        } else {
            current += c;
        }
    }
    *rest = current;
    return lines;
}

bool near(double value, double expected, double halfStep)
{
    return std::fabs(value - expected) <= halfStep + std::fabs(expected) * 1e-12;
}

void checkSampleText(const LiveExchange::Reading &r)
{
    constexpr double kArea = 20000; // a 100 x 200 mm duct
    AppState state;
    SampleTable table;
    table.reset(1);
    for (int velocityUnit = 0; velocityUnit <= 1; ++velocityUnit) {
        for (int flowUnit = 0; flowUnit <= 3; ++flowUnit) {
            const int ductUnit = flowUnit % 3;
            const qint32 pressure = r.pressureKnown ? r.pressureTenths : 0;
            const int flag = r.pressureKnown ? r.flag : 0;
            const QString text = FlowRate::sampleText(r.velocity, kArea, velocityUnit, flowUnit,
                                                      ductUnit, pressure, flag);
            FUZZ_REQUIRE(text.count(QLatin1Char(',')) == 3, "a sample text has four fields", text);
            decodeSampleText(state, text, table, 1);

            const double velocity = FlowRate::velocityIn(r.velocity, velocityUnit);
            const double flow = FlowRate::flowIn(r.velocity, kArea, ductUnit, flowUnit);
            FUZZ_REQUIRE(std::isfinite(velocity) && std::isfinite(flow), "a reading converts",
                         text);
            const std::optional<double> v =
                NumberFormat::parse(table.cell(1, SampleTable::kVelocity));
            FUZZ_REQUIRE(v && near(*v, velocity, 0.005), "velocity text within rounding", text);
            const double halfStep = 0.5 * std::pow(10.0, -FlowRate::flowDecimals(flowUnit));
            const std::optional<double> q = NumberFormat::parse(table.cell(1, SampleTable::kFlow));
            FUZZ_REQUIRE(q && near(*q, flow, halfStep), "flow text within rounding", text);

            const QString digits = QString::number(pressure);
            const QString expected = digits.size() > 1 ? digits.left(digits.size() - 1) +
                                                             QLatin1Char('.') + digits.right(1)
                                                       : digits;
            FUZZ_REQUIRE(table.cell(1, SampleTable::kPressure) == expected, "pressure in hPa",
                         text);
            FUZZ_REQUIRE(table.cell(1, SampleTable::kFlag) == QString::number(flag), "flag", text);
        }
    }
}

void checkReading(const QByteArray &line)
{
    const std::optional<LiveExchange::Reading> r = LiveExchange::parse(line);
    const QList<QByteArray> fields = line.split(';');
    const bool shaped = line.startsWith("AV;") && fields.size() >= 5;
    std::optional<double> velocity =
        shaped ? NumberFormat::parse(QString::fromLatin1(fields.at(1))) : std::nullopt;
    if (velocity && std::fabs(*velocity) > LiveExchange::kMaxVelocity)
        velocity.reset(); // garbage, not an air velocity
    const auto where = [&] { return QString::fromLatin1(line.toPercentEncoding(" ;.")); };
    FUZZ_REQUIRE(bool(r) == bool(velocity), "a reading exactly when well formed", where());
    if (!r)
        return;
    FUZZ_REQUIRE(std::isfinite(r->velocity) && r->velocity == *velocity, "the velocity is field 2",
                 where());
    if (r->pressureKnown) {
        FUZZ_REQUIRE(r->pressureTenths >= 0 && r->flag >= 0 && r->flag <= 9,
                     "pressure and flag range", where());
    } else {
        FUZZ_REQUIRE(r->pressureTenths == 0 && r->flag == 0, "an unknown pressure reads as none",
                     where());
    }
    checkSampleText(*r);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray stream(reinterpret_cast<const char *>(data), qsizetype(size));
    QByteArray expectedRest;
    const QList<QByteArray> expected = referenceLines(stream, &expectedRest);

    for (const std::vector<QByteArray> &chunks :
         fuzz::chunkings(stream, fuzz::hashOf(data, size))) {
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
