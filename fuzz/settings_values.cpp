// The settings files of both programs, fed arbitrary bytes: the start-up reads give usable values,
// and ventlink's drive and folder, written back as the program writes them, read back unchanged
// (docs/fuzzing.md lists the rules of every target).
#include "acq/core/acq_settings.h"
#include "acq/core/app_state.h"
#include "common/core/option_flags.h"
#include "common/core/settings_store.h"
#include "common/core/window_placement.h"
#include "fuzz/fuzz_support.h"
#include "link/core/link_program_settings.h"

#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString path = fuzz::scratchPath(QStringLiteral("settings.ini"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    auto store = SettingsStore::forFile(path);
    AppState state;
    AcqSettings::sLoadSettings(state, *store);
    // What the program indexes or divides by is always usable.
    FUZZ_REQUIRE(state.sampleTime > 0 && std::isfinite(state.sampleTime) && state.sampleCount >= 1
                     && state.sampleCount <= 65500 && state.velocityUnit >= 0 && state.velocityUnit <= 1
                     && state.flowUnit >= 0 && state.flowUnit <= 3 && state.ductUnit >= 0
                     && state.ductUnit <= 2 && state.sampleType >= 0 && state.sampleType <= 1
                     && state.velXRange >= 1 && state.ductShape >= 0 && state.ductShape <= 1,
                 "ventacq's parameters are usable");
    const AcqSettings::WindowSettings w = AcqSettings::readWindow(*store);
    for (float f : w.splitterFractions)
        FUZZ_REQUIRE(f >= 0 && f <= 1, "splitter fractions");
    FUZZ_REQUIRE(std::isfinite(w.twips.left()) && std::isfinite(w.twips.width()), "window rectangle");
    const OptionFlags flags = OptionFlags::load(*store);
    FUZZ_REQUIRE(flags.enableAtm != 0 || (flags.displayAtm == 0 && flags.saveAtm == 0), "Enable ATM rule");
    for (qint16 f : {flags.enableAtm, flags.displayAtm, flags.saveAtm, flags.enableUsb})
        FUZZ_REQUIRE(f == 0 || f == 1, "option flags are 0 or 1");

    // ventlink.
    using namespace linksettings;
    const QRectF twips = WindowPlacement::readTwips(
        *store, QRectF(kDefaultLeft, kDefaultTop, kDefaultWidth, kDefaultHeight));
    FUZZ_REQUIRE(std::isfinite(twips.left()) && std::isfinite(twips.top()) && twips.width() > 0
                     && twips.height() > 0, "ventlink's window rectangle");
    static const QList<QRect> screens = {QRect(0, 0, 1280, 900), QRect(1280, -200, 1920, 1080)};
    const QRect placed =
        WindowPlacement::clampToScreens(WindowPlacement::pixelsFromTwips(twips), screens);
    FUZZ_REQUIRE(screens.at(0).contains(placed) || screens.at(1).contains(placed),
                 "the window lies wholly on a screen");

    const QString section = QLatin1String(kPathSection);
    const QString drive = store->readText(section, QLatin1String(kDriver), QStringLiteral("/"));
    const QString folder = store->readText(section, QLatin1String(kPath), QStringLiteral("/home"));
    static const QString copy = path + QStringLiteral(".copy");
    QFile::remove(copy);
    {
        auto out = SettingsStore::forFile(copy);
        out->writeText(section, QLatin1String(kDriver), drive);
        out->writeText(section, QLatin1String(kPath), folder);
        FUZZ_REQUIRE(out->sync(), "the copy is written");
    }
    auto in = SettingsStore::forFile(copy);
    FUZZ_REQUIRE(in->readText(section, QLatin1String(kDriver)) == drive
                     && in->readText(section, QLatin1String(kPath)) == folder,
                 "the drive and folder come back as they were written", drive + QLatin1Char('|') + folder);
    return 0;
}
