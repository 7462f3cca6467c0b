#pragma once

#include <QList>
#include <QRect>
#include <QRectF>

class SettingsStore;

// A main window's rectangle as kept in the settings (section "Windows", keys "Main Left", "Main Top",
// "Main Width", "Main Height"): twips, 15 per device-independent pixel. A restored rectangle is
// placed wholly onto an available screen.
class WindowPlacement
{
public:
    static constexpr double kTwipsPerPixel = 15.0;

    static QRect pixelsFromTwips(const QRectF &twips);
    static QRectF twipsFromPixels(const QRect &pixels);

    // Moves (and if need be shrinks) `rect` so it lies wholly on the screen it overlaps most,
    // or centred on the first screen when it overlaps none. Unchanged when there is no screen.
    static QRect clampToScreens(const QRect &rect, const QList<QRect> &screens);

    // The four "Windows" keys with the program's defaults; positions must be finite and sizes
    // positive, else the key takes its default.
    static QRectF readTwips(const SettingsStore &store, const QRectF &defaults);
    static void writeTwips(SettingsStore &store, const QRectF &twips);
    // Whether a width or height has been stored at all (a first start has none).
    static bool sizeStored(const SettingsStore &store);
};
