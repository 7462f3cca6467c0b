// Number parsing and the number patterns, fed arbitrary text.
#include "common/core/number_format.h"

#include <QString>
#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    static const char *patterns[] = {"0.0", "#0.0", "####", "0.000", "000", "0000", "####0.0", "0"};
    for (const char *p : patterns) {
        const QString out = NumberFormat::formatText(text, QLatin1String(p));
        // A number always formats to digits, at most one '.' and a leading '-'.
        if (NumberFormat::parse(text)) {
            for (QChar c : out) {
                if (!c.isDigit() && c != QLatin1Char('.') && c != QLatin1Char('-'))
                    std::abort();
            }
        } else if (out != text) {
            std::abort(); // any other text passes unchanged
        }
    }
    if (const std::optional<double> v = NumberFormat::parse(text)) {
        if (!std::isfinite(*v))
            std::abort();
        NumberFormat::roundToInt32(*v);
        NumberFormat::roundToInt16(*v);
        const QString plain = NumberFormat::plain(*v);
        if (!NumberFormat::parse(plain))
            std::abort(); // plain text reads back
    }
    NumberFormat::parseSingle(text);
    NumberFormat::parseInt32(text);
    return 0;
}
