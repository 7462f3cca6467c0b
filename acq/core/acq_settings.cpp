#include "acq/core/acq_settings.h"

#include "acq/core/app_state.h"
#include "acq/core/duct_units.h"
#include "common/core/settings_store.h"
#include "common/core/window_placement.h"

#include <cfloat>
#include <cmath>
#include <limits>

namespace {

constexpr qint32 kInt16Min = std::numeric_limits<qint16>::min();
constexpr qint32 kInt16Max = std::numeric_limits<qint16>::max();
constexpr qint32 kInt32Min = std::numeric_limits<qint32>::min();
constexpr qint32 kInt32Max = std::numeric_limits<qint32>::max();

QString s(const char *text)
{
    return QLatin1String(text);
}

bool fitsSingle(double v)
{
    return std::fabs(v) <= double(FLT_MAX);
}

bool positive(double v)
{
    return v > 0;
}

// A duct size the parameter dialog would take: above 0 and at most 1,000,000.
bool usableSize(double v)
{
    return v > 0 && v <= double(DuctUnits::kMaximumSize);
}

} // namespace

void AcqSettings::sLoadSettings(AppState &state, const SettingsStore &store)
{
    const QString graph = s(kGraphSection);
    state.velXRange = store.readInt(graph, s(kVelXRange), 60, 1, kMaxXRange);
    state.velYMax = store.readDouble(graph, s(kVelYMax), 60, positive);
    state.flowXRange = store.readInt(graph, s(kFlowXRange), 100, 1, kInt32Max);
    state.flowYMax = store.readInt(graph, s(kFlowYMax), 600, kInt32Min, kInt32Max);
    state.yFitToData = qint16(store.readInt(graph, s(kYFitToData), 0, 0, 1));
    state.chartExportDir = store.readText(s(kExportSection), s(kExportFolder), QString());

    const QString capacity = s(kCapacitySection);
    state.ductShape = qint16(store.readInt(capacity, s(kDuctShape), 0, 0, 1));
    state.ductDiameter = store.readDouble(capacity, s(kDuctDiameter), 10.0, usableSize);
    state.ductHeight = store.readDouble(capacity, s(kDuctHeight), 10.0, usableSize);
    state.ductWidth = store.readDouble(capacity, s(kDuctWidth), 10.0, usableSize);
    state.ductArea = store.readDouble(capacity, s(kDuctArea), 10.0, positive);

    const QString unit = s(kUnitSection);
    state.velocityUnit = qint16(store.readInt(unit, s(kVelocityUnit), 0, 0, 1));
    state.flowUnit = qint16(store.readInt(unit, s(kFlowUnit), 0, 0, 3));
    state.ductUnit = qint16(store.readInt(unit, s(kDuctUnit), 0, 0, 2));

    const QString measurement = s(kMeasurementSection);
    state.sampleTime = float(store.readDouble(measurement, s(kSampleTime), 1.0, [](double v) {
        return v > 0 && fitsSingle(v) && float(v) > 0.0f;
    }));
    state.sampleCount = store.readInt(measurement, s(kSampleNum), 65500, 1, kMaxSampleCount);
    state.sampleType = qint16(store.readInt(measurement, s(kSampleType), 1, 0, 1));
    state.portNumber = qint16(store.readInt(measurement, s(kPort), 1, kInt16Min, kInt16Max));
    state.baudRate = store.readInt(measurement, s(kBaudRate), 19200, kInt32Min, kInt32Max);

    state.velXPosition = 0;
}

void AcqSettings::writeSettings(AppState &state, SettingsStore &store)
{
    state.velXPosition = 0;
    const auto single = NumberFormat::Precision::Single;

    const QString graph = s(kGraphSection);
    store.writeInt(graph, s(kVelXRange), state.velXRange);
    store.writeDouble(graph, s(kVelYMax), state.velYMax);
    store.writeInt(graph, s(kFlowXRange), state.flowXRange);
    store.writeInt(graph, s(kFlowYMax), state.flowYMax);
    store.writeInt(graph, s(kYFitToData), state.yFitToData);
    if (!state.chartExportDir.isEmpty())
        store.writeText(s(kExportSection), s(kExportFolder), state.chartExportDir);

    const QString capacity = s(kCapacitySection);
    store.writeInt(capacity, s(kDuctShape), state.ductShape);
    store.writeDouble(capacity, s(kDuctDiameter), state.ductDiameter);
    store.writeDouble(capacity, s(kDuctHeight), state.ductHeight);
    store.writeDouble(capacity, s(kDuctWidth), state.ductWidth);
    store.writeDouble(capacity, s(kDuctArea), state.ductArea);

    const QString unit = s(kUnitSection);
    store.writeInt(unit, s(kVelocityUnit), state.velocityUnit);
    store.writeInt(unit, s(kFlowUnit), state.flowUnit);
    store.writeInt(unit, s(kDuctUnit), state.ductUnit);

    const QString measurement = s(kMeasurementSection);
    store.writeDouble(measurement, s(kSampleTime), state.sampleTime, single);
    store.writeInt(measurement, s(kSampleNum), state.sampleCount);
    store.writeInt(measurement, s(kSampleType), state.sampleType);
    store.writeInt(measurement, s(kPort), state.portNumber);
    store.writeInt(measurement, s(kBaudRate), state.baudRate);
}

AcqSettings::WindowSettings AcqSettings::readWindow(const SettingsStore &store)
{
    WindowSettings w;
    const QString windows = s(kWindowsSection);
    w.twips = WindowPlacement::readTwips(store, QRectF(1000, 1000, 6500, 6500));
    auto fraction = [&](const char *key, float fallback) {
        return float(store.readDouble(windows, s(key), fallback,
                                      [](double v) { return v > 0.0 && v < 1.0; }));
    };
    w.splitterFractions = {fraction(kSplitter1, 0.5f), fraction(kSplitter2, 0.5f),
                           fraction(kSplitter3, 0.485f)};
    return w;
}

void AcqSettings::writeWindow(SettingsStore &store, const WindowSettings &window)
{
    const auto single = NumberFormat::Precision::Single;
    const QString windows = s(kWindowsSection);
    WindowPlacement::writeTwips(store, window.twips);
    store.writeDouble(windows, s(kSplitter1), window.splitterFractions[0], single);
    store.writeDouble(windows, s(kSplitter2), window.splitterFractions[1], single);
    store.writeDouble(windows, s(kSplitter3), window.splitterFractions[2], single);
}
