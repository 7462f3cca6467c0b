#include "tools/ventsim/line_noise.h"

#include <cmath>

namespace {

constexpr int kBitsPerFrame = 10; // start, 8 data, stop

// The line level at bit index k of the sender's stream: 0 start bit, 1..8 data LSB first, 9 stop;
// idle (high) outside the stream.
int level(const QByteArray &bytes, qint64 k)
{
    if (k < 0 || k >= qint64(bytes.size()) * kBitsPerFrame)
        return 1;
    const int position = int(k % kBitsPerFrame);
    if (position == 0)
        return 0;
    if (position == kBitsPerFrame - 1)
        return 1;
    const auto byte = quint8(bytes.at(int(k / kBitsPerFrame)));
    return (byte >> (position - 1)) & 1;
}

} // namespace

QByteArray LineNoise::garble(const QByteArray &bytes, qint32 senderBaud, qint32 receiverBaud)
{
    if (senderBaud <= 0 || receiverBaud <= 0 || senderBaud == receiverBaud)
        return bytes;
    const double ts = 1.0 / senderBaud;   // sender's bit time
    const double tr = 1.0 / receiverBaud; // receiver's bit time
    const qint64 totalBits = qint64(bytes.size()) * kBitsPerFrame;
    const auto levelAt = [&](double t) { return level(bytes, qint64(std::floor(t / ts))); };

    QByteArray out;
    double t = 0;
    for (;;) {
        // Next falling edge at or after t: a low bit whose predecessor is high.
        qint64 k = qint64(std::ceil(t / ts - 1e-9));
        while (k < totalBits && !(level(bytes, k) == 0 && level(bytes, k - 1) == 1))
            ++k;
        if (k >= totalBits)
            break;
        const double edge = k * ts;
        if (levelAt(edge + tr / 2) != 0) {
            t = edge + tr / 2; // a glitch, not a start bit
            continue;
        }
        quint8 byte = 0;
        for (int bit = 0; bit < 8; ++bit)
            byte |= quint8(levelAt(edge + (1.5 + bit) * tr) << bit);
        out.append(char(byte));
        t = edge + 9.5 * tr; // the stop bit's sample; framing errors are delivered too
    }
    return out;
}

QByteArray LineNoise::garbage(QRandomGenerator &random, int length)
{
    QByteArray out;
    out.reserve(length);
    int untilCr = 8 + int(random.bounded(33));
    while (out.size() < length) {
        if (--untilCr == 0) {
            out.append('\r');
            untilCr = 8 + int(random.bounded(33));
            continue;
        }
        char c;
        do {
            c = char(random.bounded(256));
        } while (c == 'A' || c == '/');
        out.append(c);
    }
    return out;
}
