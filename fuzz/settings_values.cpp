// ventacq's settings file, fed arbitrary bytes: the start-up reads must give usable values.
#include "acq/core/acq_settings.h"
#include "acq/core/app_state.h"
#include "common/core/option_flags.h"
#include "common/core/settings_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString path = QDir::tempPath() + QStringLiteral("/fuzz-settings-%1.ini")
                                                      .arg(QCoreApplication::applicationPid());
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
    return 0;
}
