// Stored values the program cannot use (a hand-edited settings file) take their default; the
// largest and smallest usable values are kept.
#include "acq/core/acq_settings.h"
#include "acq/core/app_state.h"
#include "common/core/settings_store.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(UsableSettings, UnusableStoredValuesTakeTheirDefault)
{
    using Field = std::function<double(const AppState &, const AcqSettings::WindowSettings &)>;
    const Field yMax = [](auto &s, auto &) { return s.velYMax; };
    const Field xRange = [](auto &s, auto &) { return double(s.velXRange); };
    const Field width = [](auto &s, auto &) { return s.ductWidth; };
    const Field area = [](auto &s, auto &) { return s.ductArea; };
    const Field splitter = [](auto &, auto &w) { return double(w.splitterFractions[0]); };
    const struct { const char *line; Field field; double expected; } cases[] = {
        {"[Graph Parameter]\nYAxies Max Wind Speed=0", yMax, 60},
        {"[Graph Parameter]\nYAxies Max Wind Speed=-5", yMax, 60},
        {"[Graph Parameter]\nXAxies Range Wind Speed=2592001", xRange, 60}, // above 30 days
        {"[Graph Parameter]\nXAxies Range Wind Speed=2592000", xRange, 2592000},
        {"[Capacity Parameter]\nWind Mouth Width=-3", width, 10},
        {"[Capacity Parameter]\nWind Mouth Width=0", width, 10},
        {"[Capacity Parameter]\nWind Mouth Width=1000000.5", width, 10},
        {"[Capacity Parameter]\nWind Mouth Width=1000000", width, 1000000},
        {"[Capacity Parameter]\nWind Mouth Heitht=-0.001", [](auto &s, auto &) { return s.ductHeight; }, 10},
        {"[Capacity Parameter]\nWind Mouth Diameter=0", [](auto &s, auto &) { return s.ductDiameter; }, 10},
        {"[Capacity Parameter]\nWind Mouth Area=-20000", area, 10},
        {"[Capacity Parameter]\nWind Mouth Area=7850", area, 7850},
        {"[Windows]\nSplitter Position1=0", splitter, 0.5},
        {"[Windows]\nSplitter Position1=1", splitter, 0.5},
        {"[Windows]\nSplitter Position1=0.999", splitter, 0.999},
    };
    for (const auto &c : cases) {
        QTemporaryDir dir;
        QFile f(dir.filePath("acq.ini"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(c.line).replace(' ', "%20") + "\n");
        f.close();
        const auto store = SettingsStore::forFile(f.fileName());
        AppState state;
        AcqSettings::sLoadSettings(state, *store);
        EXPECT_FLOAT_EQ(float(c.field(state, AcqSettings::readWindow(*store))), float(c.expected)) << c.line;
    }
}
