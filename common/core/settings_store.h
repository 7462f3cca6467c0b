#pragma once

#include "common/core/number_format.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QSettings;

// The per-user settings of a program: an INI file under the user's configuration folder
// (~/.config/Ventolux/<program title>.ini). Values are text. Sections and keys are matched without
// regard to case; writing a key removes any other spelling of it so one canonical spelling stays.
// Reads take a default: a value that is missing, not a number, or outside what the caller accepts
// reads as the default. Numbers are always written with "." whatever the locale.
class SettingsStore
{
public:
    explicit SettingsStore(const QString &applicationTitle);
    // A store over an explicit INI file (tests, tools).
    static std::unique_ptr<SettingsStore> forFile(const QString &path);
    ~SettingsStore();

    SettingsStore(const SettingsStore &) = delete;
    SettingsStore &operator=(const SettingsStore &) = delete;

    std::optional<QString> readText(const QString &section, const QString &key) const;
    QString readText(const QString &section, const QString &key, const QString &fallback) const;

    // Whole numbers: the text is parsed as a number, rounded (halves to even) and must lie in
    // [minimum, maximum]; anything else gives the default.
    qint32 readInt(const QString &section, const QString &key, qint32 fallback, qint32 minimum,
                   qint32 maximum) const;
    // Real numbers: finite, and accepted by `valid` when given; anything else gives the default.
    double readDouble(const QString &section, const QString &key, double fallback,
                      const std::function<bool(double)> &valid = {}) const;

    void writeText(const QString &section, const QString &key, const QString &value);
    void writeInt(const QString &section, const QString &key, qint64 value);
    void writeDouble(const QString &section, const QString &key, double value,
                     NumberFormat::Precision precision = NumberFormat::Precision::Double);

    // Flushes to disk; false when the file could not be written.
    bool sync();
    QString fileName() const;

private:
    explicit SettingsStore(std::unique_ptr<QSettings> settings);
    // The stored spellings ("group/key") of a section/key that match ignoring case.
    QStringList spellingsOf(const QString &section, const QString &key) const;
    std::optional<QString> findKey(const QString &section, const QString &key) const;

    std::unique_ptr<QSettings> m_settings;
};
