#include "acq/core/duct_units.h"

#include "acq/core/app_state.h"
#include "common/core/number_format.h"
#include "common/core/status_codes.h"

namespace {
// factor[from][to]: multiply a size in `from` by it to get the size in `to`. Divisions are kept
// as divisions (x / 25.4 is not x x (1 / 25.4) in floating point).
struct Step { bool divide; double by; };
constexpr Step kSteps[DuctUnits::Count][DuctUnits::Count] = {
    // to mm          to inch          to feet
    {{false, 1.0},   {true, 25.4},    {true, 304.8}}, // from mm
    {{false, 25.4},  {false, 1.0},    {true, 12.0}},  // from inch
    {{false, 304.8}, {false, 12.0},   {false, 1.0}},  // from feet
};
} // namespace

float DuctUnits::convert(float value, int fromUnit, int toUnit)
{
    if (fromUnit < 0 || fromUnit >= Count || toUnit < 0 || toUnit >= Count)
        return value;
    const Step s = kSteps[fromUnit][toUnit];
    const double v = double(value);
    return float(s.divide ? v / s.by : v * s.by);
}

QString DuctUnits::sizeText(float value)
{
    return NumberFormat::format(double(value), QStringLiteral("0.000"), NumberFormat::Precision::Single);
}

double DuctUnits::area(int shape, double width, double height, double diameter)
{
    if (shape == Circle)
        return diameter * kCircleFactor * diameter;
    return height * width;
}

qint16 fCheckRange(float *value, const QString &text, float minimum, float maximum)
{
    const std::optional<float> v = NumberFormat::parseSingle(text);
    if (!v)
        return status::kFailure;
    *value = *v;
    return minimum < *v && *v <= maximum ? status::kSuccess : status::kFailure;
}

void DuctUnits::store(AppState &state, int shape, int unit, const QString &widthText,
                      const QString &heightText, const QString &diameterText)
{
    const auto number = [](const QString &text) { return NumberFormat::parse(text).value_or(0.0); };
    state.ductUnit = qint16(unit);
    if (shape == Circle) {
        state.ductShape = Circle;
        state.ductDiameter = number(diameterText);
    } else {
        state.ductShape = Rectangle;
        state.ductWidth = number(widthText);
        state.ductHeight = number(heightText);
    }
    state.ductArea = area(state.ductShape, state.ductWidth, state.ductHeight, state.ductDiameter);
}
