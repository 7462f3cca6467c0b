#include "acq/core/measurement_params.h"

#include "acq/core/app_state.h"
#include "acq/core/duct_units.h"
#include "common/core/number_format.h"
#include "common/core/port_names.h"
#include "common/core/status_codes.h"

const QStringList &MeasurementParams::sampleTimeList()
{
    static const QStringList list{QStringLiteral("1.0"),   QStringLiteral("2.0"),   QStringLiteral("10.0"),
                                  QStringLiteral("60.0"),  QStringLiteral("120.0"), QStringLiteral("300.0"),
                                  QStringLiteral("600.0")};
    return list;
}

const QStringList &MeasurementParams::sampleCountList()
{
    static const QStringList list{QStringLiteral("1"),    QStringLiteral("10"),    QStringLiteral("100"),
                                  QStringLiteral("1000"), QStringLiteral("10000"), QStringLiteral("65500")};
    return list;
}

QString MeasurementParams::sampleTimeText(float seconds)
{
    return NumberFormat::format(double(seconds), QStringLiteral("#####0.0"), NumberFormat::Precision::Single);
}

QString MeasurementParams::plainSampleTime(float seconds)
{
    return NumberFormat::plain(double(seconds), NumberFormat::Precision::Single);
}

qint16 MeasurementParams::fmStrToSng(float *value, const QString &text, float minimum, float maximum)
{
    const std::optional<float> v = NumberFormat::parseSingle(text);
    if (!v)
        return status::kFailure;
    *value = *v;
    return minimum <= *v && *v <= maximum ? status::kSuccess : status::kFailure;
}

bool MeasurementParams::sampleTimeValid(const QString &text)
{
    float value = 0;
    return fmStrToSng(&value, text, kMinSampleTime, kMaxSampleTime) == status::kSuccess;
}

bool MeasurementParams::sampleCountValid(const QString &text)
{
    float value = 0;
    return fmStrToSng(&value, text, float(kMinSampleCount), float(kMaxSampleCount)) == status::kSuccess;
}

void MeasurementParams::setVelocityUnit(AppState &state, qint16 unit)
{
    if (unit == 0 && state.velocityUnit != 0) {
        state.velocityUnit = 0;
        state.velYMax = kVelYMaxMetres;
        state.flowXRange = kFlowXRangeMetres;
    } else if (unit == 1 && state.velocityUnit != 1) {
        state.velocityUnit = 1;
        state.velYMax = kVelYMaxFpm;
        state.flowXRange = kFlowXRangeFpm;
    }
}

bool MeasurementParams::smSetMeasurParam(AppState &state, const Choice &choice, const PortResolver &resolvePort)
{
    // The instrument first: when it is missing nothing else is taken.
    if (choice.instrument) {
        const QString path = resolvePort ? resolvePort(*choice.instrument) : QString();
        if (path.isEmpty())
            return false;
        state.portPath = path;
        state.portNumber = PortNames::numberForPath(path);
        state.usbSerialText = *choice.instrument;
    } else if (state.simulation != 1) {
        return false;
    }

    // The sampling time keeps one decimal (2.26 gives 2.3). A text that is not a number, or one
    // that would round to nothing, keeps the stored value.
    if (choice.sampleTimeText) {
        const QString rounded = NumberFormat::formatText(*choice.sampleTimeText, QStringLiteral("####0.0"));
        if (const std::optional<float> t = NumberFormat::parseSingle(rounded); t && *t > 0)
            state.sampleTime = *t;
    }
    if (choice.sampleCountText) {
        if (const std::optional<double> n = NumberFormat::parse(*choice.sampleCountText)) {
            if (const std::optional<qint32> count = NumberFormat::roundToInt32(*n); count && *count >= kMinSampleCount)
                state.sampleCount = *count;
        }
    }
    state.sampleType = choice.sampleType == 0 ? 0 : 1;
    setVelocityUnit(state, choice.velocityUnit);
    state.flowUnit = choice.flowUnit;
    DuctUnits::store(state, choice.ductShape, choice.ductUnit, choice.widthText, choice.heightText,
                     choice.diameterText);
    return true;
}
