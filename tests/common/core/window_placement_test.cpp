// The window rectangle in twips and its placement onto the screens.
#include "common/core/settings_store.h"
#include "common/core/window_placement.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
const QRectF kLinkDefaults(3030, 1995, 11790, 9315);
} // namespace

TEST(WindowPlacement, TwipsAndPixels)
{
    // the defaults: 3030, 1995, 11790, 9315 twips
    EXPECT_EQ(WindowPlacement::pixelsFromTwips(QRectF(3030, 1995, 11790, 9315)), QRect(202, 133, 786, 621));
    EXPECT_EQ(WindowPlacement::twipsFromPixels(QRect(202, 133, 786, 621)), QRectF(3030, 1995, 11790, 9315));
    // 7 twips round down, 8 round up
    EXPECT_EQ(WindowPlacement::pixelsFromTwips(QRectF(7, 8, 22, 23)), QRect(0, 1, 1, 2));
}

TEST(WindowPlacement, ClampedOntoTheScreenItOverlapsMost)
{
    const QList<QRect> screens = {QRect(0, 0, 1280, 800), QRect(1280, 0, 1920, 1080)};
    struct Case
    {
        QRect in;
        QRect out;
    };
    const Case cases[] = {
        {QRect(100, 100, 786, 621), QRect(100, 100, 786, 621)},    // fits
        {QRect(-300, -50, 786, 621), QRect(0, 0, 786, 621)},       // off the top left
        {QRect(700, 100, 786, 621), QRect(494, 100, 786, 621)},    // hangs off the first screen
        {QRect(3000, 900, 786, 621), QRect(2414, 459, 786, 621)},  // mostly on the second screen
        {QRect(9000, 9000, 500, 400), QRect(390, 200, 500, 400)},  // on no screen: centred on the first
        {QRect(10, 10, 1000, 3000), QRect(10, 0, 1000, 800)},      // taller than the screen
    };
    for (const Case &c : cases)
        EXPECT_EQ(WindowPlacement::clampToScreens(c.in, screens), c.out) << c.in.x() << "," << c.in.y();
    EXPECT_EQ(WindowPlacement::clampToScreens(QRect(5, 5, 5, 5), {}), QRect(5, 5, 5, 5));
}

TEST(WindowPlacement, SettingsRoundTripAndBadValuesReadAsDefaults)
{
    QTemporaryDir dir;
    auto store = SettingsStore::forFile(dir.path() + "/s.ini");
    EXPECT_EQ(WindowPlacement::readTwips(*store, kLinkDefaults), QRectF(3030, 1995, 11790, 9315));
    WindowPlacement::writeTwips(*store, QRectF(1500, -30, 9000.5, 7500));
    EXPECT_EQ(store->readText("Windows", "Main Left", ""), "1500");
    EXPECT_EQ(store->readText("Windows", "Main Top", ""), "-30");
    EXPECT_EQ(store->readText("Windows", "Main Width", ""), "9000.5");
    EXPECT_EQ(WindowPlacement::readTwips(*store, kLinkDefaults), QRectF(1500, -30, 9000.5, 7500));
    store->writeText("Windows", "Main Width", "0");
    store->writeText("Windows", "Main Height", "huge");
    store->writeText("Windows", "Main Left", "1e300");
    EXPECT_EQ(WindowPlacement::readTwips(*store, kLinkDefaults), QRectF(3030, -30, 11790, 9315));
}
