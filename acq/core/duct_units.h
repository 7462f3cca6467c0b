#pragma once

#include <QString>
#include <QtGlobal>

struct AppState;

// Duct sizes and area: the range check of an entered size, the conversion between the duct
// units and the area rule. Units by index: 0 = mm, 1 = inch, 2 = feet.
class DuctUnits
{
public:
    enum Unit : qint16 { Mm = 0, Inch = 1, Feet = 2, Count };
    enum Shape : qint16 { Rectangle = 0, Circle = 1 };

    static constexpr float kMinimumSize = 0;        // exclusive
    static constexpr float kMaximumSize = 1000000;  // inclusive
    static constexpr double kCircleFactor = 0.785;  // the circle's area is d x 0.785 x d

    // `value` from `size` converted from one unit to another: computed in double precision and
    // stored as a single-precision number (1 inch = 25.4 mm, 1 foot = 304.8 mm = 12 inch).
    static float convert(float value, int fromUnit, int toUnit);

    // A size as its text field shows it: three decimals, "." as separator.
    static QString sizeText(float value);

    // The duct area in the square of the duct unit: height x width for a rectangle,
    // diameter x 0.785 x diameter for a circle.
    static double area(int shape, double width, double height, double diameter);

    // Stores the duct of the parameter dialog: the shape, the unit, the sizes read from the texts
    // of the size fields (in that unit) and the area from them. A rectangle stores width and
    // height, a circle its diameter; the other sizes keep their values.
    static void store(AppState &state, int shape, int unit, const QString &widthText,
                      const QString &heightText, const QString &diameterText);
};

// Converts `text` to a single-precision number into `value`; -10000 when
// minimum < value <= maximum, else -20000 (also for a text that is not a number).
qint16 fCheckRange(float *value, const QString &text, float minimum, float maximum);
