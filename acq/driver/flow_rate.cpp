#include "acq/driver/flow_rate.h"

#include "common/core/number_format.h"

double FlowRate::velocityIn(double metresPerSecond, int velocityUnit)
{
    return velocityUnit == 1 ? metresPerSecond / kMetresPerSecondPerFpm : metresPerSecond;
}

double FlowRate::squareMetresPerDuctUnit(int ductUnit)
{
    switch (ductUnit) {
    case 1: return kMetresPerInch * kMetresPerInch;
    case 2: return kMetresPerFoot * kMetresPerFoot;
    default: return 0.001 * 0.001;
    }
}

double FlowRate::flowIn(double metresPerSecond, double area, int ductUnit, int flowUnit)
{
    const double cubicMetresPerSecond = metresPerSecond * area * squareMetresPerDuctUnit(ductUnit);
    constexpr double cubicMetresPerCubicFoot = kMetresPerFoot * kMetresPerFoot * kMetresPerFoot;
    switch (flowUnit) {
    case 1: return cubicMetresPerSecond / cubicMetresPerCubicFoot * 3600.0; // ft3/h
    case 2: return cubicMetresPerSecond * 60.0;                             // m3/min
    case 3: return cubicMetresPerSecond / cubicMetresPerCubicFoot * 60.0;   // ft3/min
    default: return cubicMetresPerSecond * 3600.0;                          // m3/h
    }
}

int FlowRate::flowDecimals(int flowUnit)
{
    switch (flowUnit) {
    case 1: return 1; // ft3/h: large numbers
    case 2: return 3; // m3/min: small numbers
    case 3: return 2; // ft3/min
    default: return 2; // m3/h
    }
}

QString FlowRate::sampleText(double metresPerSecond, double area, int velocityUnit, int flowUnit,
                             int ductUnit, qint32 pressureTenths, int flag)
{
    static const QString velocityPattern = QStringLiteral("0.00");
    static const QString flowPatterns[] = {QStringLiteral("0.0"), QStringLiteral("0.00"),
                                           QStringLiteral("0.000")};
    const int decimals = flowDecimals(flowUnit);
    const QString velocity =
        NumberFormat::format(velocityIn(metresPerSecond, velocityUnit), velocityPattern);
    const QString flow = NumberFormat::format(flowIn(metresPerSecond, area, ductUnit, flowUnit),
                                              flowPatterns[decimals - 1]);
    return velocity + QLatin1Char(',') + flow + QLatin1Char(',') + QString::number(pressureTenths)
         + QLatin1Char(',') + QString::number(flag);
}
