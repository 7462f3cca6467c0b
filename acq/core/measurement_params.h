#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

struct AppState;

// The rules of the measurement parameter dialog: its lists, the range checks of the sampling
// time and number, and how the choices are taken into the application state.
class MeasurementParams
{
public:
    // Sampling time in seconds and number of samples, both ends included.
    static constexpr float kMinSampleTime = 1.0f;
    static constexpr float kMaxSampleTime = 9999.0f;
    static constexpr qint32 kMinSampleCount = 1;
    static constexpr qint32 kMaxSampleCount = 65500;

    // Velocity graph maximum and flow-rate graph range set when the velocity unit changes.
    static constexpr double kVelYMaxMetres = 60;
    static constexpr double kVelYMaxFpm = 18000;
    static constexpr qint32 kFlowXRangeMetres = 100;
    static constexpr qint32 kFlowXRangeFpm = 20000;

    static const QStringList &sampleTimeList();
    static const QStringList &sampleCountList();

    // The sampling time as the dialog opens with it: "#####0.0" (1 gives "1.0").
    static QString sampleTimeText(float seconds);
    // The sampling time put back after a refused entry: plain decimal (1 gives "1", 0.5 "0.5").
    static QString plainSampleTime(float seconds);

    // Converts `text` to a single-precision number into `value`; -10000 when
    // minimum <= value <= maximum, else -20000. A text that is not a number gives -20000 and
    // leaves `value` unchanged.
    static qint16 fmStrToSng(float *value, const QString &text, float minimum, float maximum);

    static bool sampleTimeValid(const QString &text);
    static bool sampleCountValid(const QString &text);

    // What the dialog hands over when it is accepted.
    struct Choice
    {
        // Serial text of the instrument chosen in the list; none when no instrument is chosen.
        std::optional<QString> instrument;
        // The sampling time and number as typed; none keeps the stored value (field not edited).
        std::optional<QString> sampleTimeText;
        std::optional<QString> sampleCountText;
        qint16 sampleType = 1;   // 0 instant, 1 average
        qint16 velocityUnit = 0; // 0 m/s, 1 FPM
        qint16 flowUnit = 0;     // 0 m3/h, 1 ft3/h, 2 m3/min, 3 ft3/min
        qint16 ductUnit = 0;     // 0 mm, 1 inch, 2 feet
        qint16 ductShape = 0;    // 0 rectangle, 1 circle
        QString widthText;
        QString heightText;
        QString diameterText;
    };

    // Finds the port path of an instrument by its serial text at this moment; empty when it is
    // no longer attached.
    using PortResolver = std::function<QString(const QString &serialText)>;

    // Takes the choices into the state. False, with the state unchanged, when no instrument is
    // chosen outside simulation mode, or when the chosen instrument is no longer attached.
    // The instrument is found by its serial text, never by its place in the list.
    static bool smSetMeasurParam(AppState &state, const Choice &choice, const PortResolver &resolvePort);

    // The velocity unit: a change to m/s sets the velocity maximum to 60 and the flow-rate range
    // to 100, a change to FPM sets 18000 and 20000; an unchanged unit leaves both as they are.
    static void setVelocityUnit(AppState &state, qint16 unit);
};
