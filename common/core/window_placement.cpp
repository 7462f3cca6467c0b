#include "common/core/window_placement.h"

#include "common/core/settings_store.h"

#include <cmath>

namespace {
constexpr auto kWindowsSection = "Windows";
constexpr auto kMainLeft = "Main Left";
constexpr auto kMainTop = "Main Top";
constexpr auto kMainWidth = "Main Width";
constexpr auto kMainHeight = "Main Height";
} // namespace

QRect WindowPlacement::pixelsFromTwips(const QRectF &twips)
{
    auto px = [](double t) { return int(std::lround(t / kTwipsPerPixel)); };
    return QRect(px(twips.left()), px(twips.top()), px(twips.width()), px(twips.height()));
}

QRectF WindowPlacement::twipsFromPixels(const QRect &pixels)
{
    return QRectF(pixels.left() * kTwipsPerPixel, pixels.top() * kTwipsPerPixel,
                  pixels.width() * kTwipsPerPixel, pixels.height() * kTwipsPerPixel);
}

QRect WindowPlacement::clampToScreens(const QRect &rect, const QList<QRect> &screens)
{
    if (screens.isEmpty())
        return rect;
    QRect best = screens.first();
    qint64 bestArea = 0;
    for (const QRect &s : screens) {
        const QRect i = s.intersected(rect);
        const qint64 area = i.isValid() ? qint64(i.width()) * i.height() : 0;
        if (area > bestArea) {
            bestArea = area;
            best = s;
        }
    }
    QRect r = rect;
    r.setWidth(qBound(1, r.width(), best.width()));
    r.setHeight(qBound(1, r.height(), best.height()));
    if (bestArea == 0) {
        // On no screen any more (a monitor was unplugged): centred on the first.
        r.moveTopLeft(QPoint(best.left() + (best.width() - r.width()) / 2,
                             best.top() + (best.height() - r.height()) / 2));
        return r;
    }
    if (r.right() > best.right())
        r.moveRight(best.right());
    if (r.bottom() > best.bottom())
        r.moveBottom(best.bottom());
    if (r.left() < best.left())
        r.moveLeft(best.left());
    if (r.top() < best.top())
        r.moveTop(best.top());
    return r;
}

QRectF WindowPlacement::readTwips(const SettingsStore &store, const QRectF &defaults)
{
    const QString section = QLatin1String(kWindowsSection);
    auto position = [](double v) { return std::fabs(v) < 1e7; };
    auto size = [](double v) { return v > 0 && v < 1e7; };
    return QRectF(store.readDouble(section, QLatin1String(kMainLeft), defaults.left(), position),
                  store.readDouble(section, QLatin1String(kMainTop), defaults.top(), position),
                  store.readDouble(section, QLatin1String(kMainWidth), defaults.width(), size),
                  store.readDouble(section, QLatin1String(kMainHeight), defaults.height(), size));
}

void WindowPlacement::writeTwips(SettingsStore &store, const QRectF &twips)
{
    const QString section = QLatin1String(kWindowsSection);
    const auto single = NumberFormat::Precision::Single;
    store.writeDouble(section, QLatin1String(kMainLeft), twips.left(), single);
    store.writeDouble(section, QLatin1String(kMainTop), twips.top(), single);
    store.writeDouble(section, QLatin1String(kMainWidth), twips.width(), single);
    store.writeDouble(section, QLatin1String(kMainHeight), twips.height(), single);
}

bool WindowPlacement::sizeStored(const SettingsStore &store)
{
    const QString section = QLatin1String(kWindowsSection);
    return store.readText(section, QLatin1String(kMainWidth)).has_value()
        || store.readText(section, QLatin1String(kMainHeight)).has_value();
}
