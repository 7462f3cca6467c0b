#pragma once

#include <QString>
#include <QtGlobal>

// Velocity and flow-rate arithmetic of the measurement driver, with exact unit factors:
// 1 FPM = 0.00508 m/s, 1 inch = 0.0254 m, 1 ft = 0.3048 m.
//
// Units by index, as stored in the settings:
//   velocity 0 = m/s, 1 = FPM;
//   flow     0 = m3/h, 1 = ft3/h, 2 = m3/min, 3 = ft3/min;
//   duct     0 = mm, 1 = inch, 2 = feet (the duct area is in the square of this unit).
class FlowRate
{
public:
    static constexpr double kMetresPerSecondPerFpm = 0.00508;
    static constexpr double kMetresPerInch = 0.0254;
    static constexpr double kMetresPerFoot = 0.3048;

    // A velocity in m/s expressed in the velocity unit.
    static double velocityIn(double metresPerSecond, int velocityUnit);
    // Square metres per square duct unit.
    static double squareMetresPerDuctUnit(int ductUnit);
    // The flow rate through `area` (in the square of the duct unit) at `metresPerSecond`,
    // in the flow unit.
    static double flowIn(double metresPerSecond, double area, int ductUnit, int flowUnit);

    // Decimals written for a flow rate in this unit.
    static int flowDecimals(int flowUnit);

    // The driver's sample text "velocity,flow,pressure,flag": the velocity in its unit with two
    // decimals, the flow rate with flowDecimals(), the pressure in tenths of a hPa as whole
    // digits, the correction flag as one digit; "." as decimal separator.
    static QString sampleText(double metresPerSecond, double area, int velocityUnit,
                              int flowUnit, int ductUnit, qint32 pressureTenths, int flag);
};
