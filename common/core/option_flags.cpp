#include "common/core/option_flags.h"

#include "common/core/settings_store.h"

void OptionFlags::applyInvariant()
{
    if (enableAtm == 0) {
        displayAtm = 0;
        saveAtm = 0;
    }
}

OptionFlags OptionFlags::load(const SettingsStore &store)
{
    const QString section = QLatin1String(kSection);
    OptionFlags f;
    f.displayAtm = qint16(store.readInt(section, QLatin1String(kKeyDisplayAtm), 1, 0, 1));
    f.saveAtm = qint16(store.readInt(section, QLatin1String(kKeySaveAtm), 1, 0, 1));
    f.enableAtm = qint16(store.readInt(section, QLatin1String(kKeyEnableAtm), 1, 0, 1));
    f.enableUsb = qint16(store.readInt(section, QLatin1String(kKeyEnableUsb), 1, 0, 1));
    f.applyInvariant();
    return f;
}

void OptionFlags::save(SettingsStore &store) const
{
    const QString section = QLatin1String(kSection);
    store.writeInt(section, QLatin1String(kKeyDisplayAtm), displayAtm);
    store.writeInt(section, QLatin1String(kKeySaveAtm), saveAtm);
    store.writeInt(section, QLatin1String(kKeyEnableAtm), enableAtm);
    store.writeInt(section, QLatin1String(kKeyEnableUsb), enableUsb);
}
