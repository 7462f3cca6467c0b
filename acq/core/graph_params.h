#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// The rules of the graph parameter dialog: the four horizontal-range options (seconds, minutes,
// hours, days) with their lists, and the vertical maximum of the velocity chart.
class GraphParams
{
public:
    enum Option { Seconds = 0, Minutes = 1, Hours = 2, Days = 3, OptionCount = 4 };

    // How the dialog opens for a time range of `rangeSeconds`: each option's list text, whether
    // its list is enabled, and the option selected (-1 when none matches, e.g. 90 s).
    struct XRangeView
    {
        std::array<QString, OptionCount> texts;
        std::array<bool, OptionCount> enabled{};
        int selected = -1;
    };
    static XRangeView smLoadCboXRange(qint32 rangeSeconds);

    static const QStringList &xRangeList(int option);
    static QStringList yRangeList(qint16 velocityUnit);
    // Upper limit of the velocity maximum: 100 m/s or 20000 FPM (the lower limit is 0, excluded).
    static float yUpperLimit(qint16 velocityUnit);

    // Seconds for an option and its list text: a whole number inside the option's range
    // (1-60 s, 1-60 min, 1-24 h, 1-30 days) times 1, 60, 3600 or 86400. No value otherwise.
    static std::optional<qint32> xRangeSeconds(int option, const QString &text);
    static qint32 factor(int option);
    static qint32 maximumCount(int option);

    // The vertical entry is valid when 0 < value <= the unit's upper limit (single precision).
    static bool yEntryValid(const QString &text, qint16 velocityUnit);

    // The velocity maximum stored on OK: the text written with "#0.0" and read back (12.34 -> 12.3).
    static std::optional<double> velYMaxFromText(const QString &text);
};
