// The settings files of both programs, fed arbitrary bytes: the start-up reads must give usable
// values. ventacq: the seventeen parameter rows, the window and splitter, the option flags.
// ventlink: the window rectangle (placed wholly on a screen), the option flags, and the drive and
// folder of the folder browser, which, written back as the program writes them at closing, must
// read back unchanged whatever characters they hold.
#include "acq/core/acq_settings.h"
#include "acq/core/app_state.h"
#include "common/core/option_flags.h"
#include "common/core/settings_store.h"
#include "common/core/window_placement.h"
#include "fuzz/fuzz_support.h"
#include "link/core/link_program_settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cmath>
#include <cstdint>
#include <cstdlib>

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
    if (!(state.sampleTime > 0) || !std::isfinite(state.sampleTime) || state.sampleCount < 1
        || state.sampleCount > 65500 || state.velocityUnit < 0 || state.velocityUnit > 1
        || state.flowUnit < 0 || state.flowUnit > 3 || state.ductUnit < 0 || state.ductUnit > 2
        || state.sampleType < 0 || state.sampleType > 1 || state.velXRange < 1 || state.ductShape < 0
        || state.ductShape > 1)
        std::abort();
    const AcqSettings::WindowSettings w = AcqSettings::readWindow(*store);
    for (float f : w.splitterFractions) {
        if (!(f >= 0 && f <= 1))
            std::abort();
    }
    if (!std::isfinite(w.twips.left()) || !std::isfinite(w.twips.width()))
        std::abort();
    const OptionFlags flags = OptionFlags::load(*store);
    if (flags.enableAtm == 0 && (flags.displayAtm != 0 || flags.saveAtm != 0))
        std::abort();
    for (qint16 f : {flags.enableAtm, flags.displayAtm, flags.saveAtm, flags.enableUsb}) {
        if (f != 0 && f != 1)
            std::abort();
    }

    // ventlink.
    using namespace linksettings;
    const QRectF twips = WindowPlacement::readTwips(
        *store, QRectF(kDefaultLeft, kDefaultTop, kDefaultWidth, kDefaultHeight));
    if (!std::isfinite(twips.left()) || !std::isfinite(twips.top()) || !(twips.width() > 0)
        || !(twips.height() > 0))
        std::abort();
    static const QList<QRect> screens = {QRect(0, 0, 1280, 900), QRect(1280, -200, 1920, 1080)};
    const QRect placed =
        WindowPlacement::clampToScreens(WindowPlacement::pixelsFromTwips(twips), screens);
    if (!screens.at(0).contains(placed) && !screens.at(1).contains(placed))
        std::abort(); // the window lies wholly on a screen

    const QString section = QLatin1String(kPathSection);
    const QString drive = store->readText(section, QLatin1String(kDriver), QStringLiteral("/"));
    const QString folder = store->readText(section, QLatin1String(kPath), QStringLiteral("/home"));
    static const QString copy = path + QStringLiteral(".copy");
    QFile::remove(copy);
    {
        auto out = SettingsStore::forFile(copy);
        out->writeText(section, QLatin1String(kDriver), drive);
        out->writeText(section, QLatin1String(kPath), folder);
        if (!out->sync())
            std::abort();
    }
    auto in = SettingsStore::forFile(copy);
    if (in->readText(section, QLatin1String(kDriver)) != drive
        || in->readText(section, QLatin1String(kPath)) != folder)
        std::abort(); // the folder comes back as it was written
    return 0;
}
