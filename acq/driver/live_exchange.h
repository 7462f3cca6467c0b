#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <optional>

// The instrument's live-reading exchange, as far as the driver relies on it. Everything the
// driver assumes about the wire lives here, so it can be swapped in one place.
//
//   request: "V" CR LF
//   reply:   AV;<velocity>;<temperature>;<pressure>;<flag> CR   (an LF may follow)
//            velocity in m/s with two decimals, temperature in degrees C with one decimal,
//            pressure in tenths of a hPa as digits, flag one digit (1 measured, 2 fixed,
//            3 sensor error, 0 none).
//
// A reply that does not begin with "AV;", has fewer than five fields, or whose velocity is not a
// number or one no air velocity reaches (beyond kMaxVelocity either way) is malformed. A pressure
// or flag that is not a whole number reads as "none" (pressure 0, flag 0), so the sample still
// carries its velocity.
class LiveExchange
{
public:
    struct Reading
    {
        double velocity = 0;      // m/s
        double temperature = 0;   // degrees C (not passed on)
        qint32 pressureTenths = 0;
        int flag = 0;
        bool pressureKnown = false;
    };

    static QByteArray request();
    // Parses one reply line (without its CR/LF); no value when it is malformed.
    static std::optional<Reading> parse(const QByteArray &line);

    // Takes the next complete line out of `buffer`: CR and LF between lines are skipped, a line
    // ends at CR (or LF). No value while no complete line is there.
    static std::optional<QByteArray> takeLine(QByteArray *buffer);

    // The largest velocity magnitude a reply may carry, in m/s: far above any air velocity, so
    // only garbage is refused, and small enough that every unit and flow rate stays a number.
    static constexpr double kMaxVelocity = 1000.0;
    // A line longer than this without an end is garbage.
    static constexpr int kMaxLine = 256;
    // Characters of one request and its longest plausible reply on the wire.
    static constexpr int kExchangeChars = 3 + 40;
    // The shortest time one exchange takes at `baud` (10 bits per character), in milliseconds.
    static double exchangeMs(qint32 baud);
};
