#include "common/core/settings_store.h"

#include <QSettings>
#include <QStringList>
#include <cmath>

namespace {
constexpr auto kOrganization = "Ventolux";

QString variantToText(const QVariant &v)
{
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(QLatin1Char(','));
    return v.toString();
}
} // namespace

SettingsStore::SettingsStore(const QString &applicationTitle)
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                             QLatin1String(kOrganization), applicationTitle))
{
}

SettingsStore::SettingsStore(std::unique_ptr<QSettings> settings) : m_settings(std::move(settings))
{
}

SettingsStore::~SettingsStore() = default;

std::unique_ptr<SettingsStore> SettingsStore::forFile(const QString &path)
{
    return std::unique_ptr<SettingsStore>(
        new SettingsStore(std::make_unique<QSettings>(path, QSettings::IniFormat)));
}

QStringList SettingsStore::spellingsOf(const QString &section, const QString &key) const
{
    QStringList paths;
    const QStringList groups = m_settings->childGroups();
    for (const QString &group : groups) {
        if (group.compare(section, Qt::CaseInsensitive) != 0)
            continue;
        m_settings->beginGroup(group);
        const QStringList keys = m_settings->childKeys();
        m_settings->endGroup();
        for (const QString &k : keys) {
            if (k.compare(key, Qt::CaseInsensitive) == 0)
                paths << group + QLatin1Char('/') + k;
        }
    }
    return paths;
}

std::optional<QString> SettingsStore::findKey(const QString &section, const QString &key) const
{
    const QStringList paths = spellingsOf(section, key);
    if (paths.isEmpty())
        return std::nullopt;
    return paths.first();
}

std::optional<QString> SettingsStore::readText(const QString &section, const QString &key) const
{
    const std::optional<QString> path = findKey(section, key);
    if (!path)
        return std::nullopt;
    return variantToText(m_settings->value(*path));
}

QString SettingsStore::readText(const QString &section, const QString &key,
                                const QString &fallback) const
{
    return readText(section, key).value_or(fallback);
}

qint32 SettingsStore::readInt(const QString &section, const QString &key, qint32 fallback,
                              qint32 minimum, qint32 maximum) const
{
    const std::optional<QString> text = readText(section, key);
    if (!text)
        return fallback;
    const std::optional<double> v = NumberFormat::parse(*text);
    if (!v)
        return fallback;
    const std::optional<qint32> r = NumberFormat::roundToInt32(*v);
    if (!r || *r < minimum || *r > maximum)
        return fallback;
    return *r;
}

double SettingsStore::readDouble(const QString &section, const QString &key, double fallback,
                                 const std::function<bool(double)> &valid) const
{
    const std::optional<QString> text = readText(section, key);
    if (!text)
        return fallback;
    const std::optional<double> v = NumberFormat::parse(*text);
    if (!v || !std::isfinite(*v) || (valid && !valid(*v)))
        return fallback;
    return *v;
}

void SettingsStore::writeText(const QString &section, const QString &key, const QString &value)
{
    // Drop every other spelling of the key first, so exactly one remains.
    const QString canonical = section + QLatin1Char('/') + key;
    for (const QString &path : spellingsOf(section, key)) {
        if (path != canonical)
            m_settings->remove(path);
    }
    m_settings->setValue(section + QLatin1Char('/') + key, value);
}

void SettingsStore::writeInt(const QString &section, const QString &key, qint64 value)
{
    writeText(section, key, QString::number(value));
}

void SettingsStore::writeDouble(const QString &section, const QString &key, double value,
                                NumberFormat::Precision precision)
{
    writeText(section, key, NumberFormat::plain(value, precision));
}

bool SettingsStore::sync()
{
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

QString SettingsStore::fileName() const
{
    return m_settings->fileName();
}
