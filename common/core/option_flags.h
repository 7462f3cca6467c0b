#pragma once

#include <QString>
#include <QtGlobal>

class SettingsStore;

// The four atmosphere and USB options of both programs. Each is 0 or 1, default 1.
// Invariant: with Enable ATM off, Display ATM and Save ATM are off.
struct OptionFlags
{
    static constexpr auto kSection = "measurement Parameter";
    static constexpr auto kKeyDisplayAtm = "Display ATM";
    static constexpr auto kKeySaveAtm = "Save ATM";
    static constexpr auto kKeyEnableAtm = "Enable ATM";
    static constexpr auto kKeyEnableUsb = "Enable USB";

    qint16 displayAtm = 1;
    qint16 saveAtm = 1;
    qint16 enableAtm = 1;
    qint16 enableUsb = 1;

    void applyInvariant();
    // Reads the four keys (default 1; anything but 0 or 1 reads as the default) and applies the
    // invariant.
    static OptionFlags load(const SettingsStore &store);
    // Writes the four keys as decimal text.
    void save(SettingsStore &store) const;

    // The atmosphere column is shown / saved only when the option and Enable ATM are both on.
    bool showAtmosphere() const { return enableAtm >= 1 && displayAtm >= 1; }
    bool saveAtmosphere() const { return enableAtm >= 1 && saveAtm >= 1; }

    bool operator==(const OptionFlags &o) const
    {
        return displayAtm == o.displayAtm && saveAtm == o.saveAtm && enableAtm == o.enableAtm
            && enableUsb == o.enableUsb;
    }
};
