// Stored values the program cannot use (a hand-edited settings file) take their default; the
// largest and smallest usable values are kept.
#include "acq/core/acq_settings.h"
#include "acq/core/app_state.h"
#include "common/core/settings_store.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Case
{
    const char *section;
    const char *key;
    const char *stored;
    double expected;
};

double fieldOf(const AppState &s, const AcqSettings::WindowSettings &w, const QString &key)
{
    if (key == QLatin1String("YAxies Max Wind Speed")) return s.velYMax;
    if (key == QLatin1String("XAxies Range Wind Speed")) return s.velXRange;
    if (key == QLatin1String("Wind Mouth Width")) return s.ductWidth;
    if (key == QLatin1String("Wind Mouth Heitht")) return s.ductHeight;
    if (key == QLatin1String("Wind Mouth Diameter")) return s.ductDiameter;
    if (key == QLatin1String("Wind Mouth Area")) return s.ductArea;
    if (key == QLatin1String("Splitter Position1")) return w.splitterFractions[0];
    if (key == QLatin1String("Splitter Position3")) return w.splitterFractions[2];
    return -999;
}

TEST(UsableSettings, UnusableStoredValuesTakeTheirDefault)
{
    const Case cases[] = {
        {"Graph Parameter", "YAxies Max Wind Speed", "0", 60},
        {"Graph Parameter", "YAxies Max Wind Speed", "-5", 60},
        {"Graph Parameter", "YAxies Max Wind Speed", "0.1", 0.1},
        {"Graph Parameter", "XAxies Range Wind Speed", "2592001", 60}, // above 30 days
        {"Graph Parameter", "XAxies Range Wind Speed", "2592000", 2592000},
        {"Capacity Parameter", "Wind Mouth Width", "-3", 10},
        {"Capacity Parameter", "Wind Mouth Width", "0", 10},
        {"Capacity Parameter", "Wind Mouth Width", "1000000.5", 10},
        {"Capacity Parameter", "Wind Mouth Width", "1000000", 1000000},
        {"Capacity Parameter", "Wind Mouth Heitht", "-0.001", 10},
        {"Capacity Parameter", "Wind Mouth Diameter", "0", 10},
        {"Capacity Parameter", "Wind Mouth Area", "-20000", 10},
        {"Capacity Parameter", "Wind Mouth Area", "0", 10},
        {"Capacity Parameter", "Wind Mouth Area", "7850", 7850},
        {"Windows", "Splitter Position1", "0", 0.5},
        {"Windows", "Splitter Position1", "1", 0.5},
        {"Windows", "Splitter Position3", "0.999", 0.999},
    };
    for (const Case &c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("acq.ini"));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("[") + c.section + "]\n" + QByteArray(c.key).replace(' ', "%20") + "="
                + c.stored + "\n");
        f.close();
        const auto store = SettingsStore::forFile(path);
        AppState state;
        AcqSettings::sLoadSettings(state, *store);
        const AcqSettings::WindowSettings w = AcqSettings::readWindow(*store);
        EXPECT_FLOAT_EQ(float(fieldOf(state, w, QLatin1String(c.key))), float(c.expected))
            << c.key << " = " << c.stored;
    }
}

} // namespace
