#include "common/core/virtual_bridge_registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <limits>
#include <sys/types.h>
#include <unistd.h>

namespace {

constexpr auto kSuffix = ".bridge";
constexpr qint64 kMaxFileSize = 4096;

std::atomic<int> g_nextIndex{1};

bool parseHex16(const QString &text, quint16 *value)
{
    bool ok = false;
    const uint v = text.trimmed().toUInt(&ok, 16);
    if (!ok || v > 0xFFFF)
        return false;
    *value = quint16(v);
    return true;
}

} // namespace

VirtualBridgeRegistry::VirtualBridgeRegistry(const QString &folder) : m_folder(folder) {}

QString VirtualBridgeRegistry::defaultFolder()
{
    QString base = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (base.isEmpty() || !QFileInfo(base).isDir())
        base = QDir::tempPath() + QStringLiteral("/ventolux-") + QString::number(getuid());
    return base + QStringLiteral("/ventolux/bridges");
}

bool VirtualBridgeRegistry::processAlive(qint64 pid)
{
    if (pid <= 0 || pid > std::numeric_limits<pid_t>::max())
        return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

std::optional<BridgeInfo> VirtualBridgeRegistry::read(const QString &file, qint64 *pid)
{
    QFile f(file);
    if (f.size() > kMaxFileSize || !f.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    BridgeInfo b;
    bool haveVendor = false, haveProduct = false, havePort = false, havePid = false;
    qint64 owner = 0;
    QTextStream in(&f);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq < 1)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1);
        if (key == QLatin1String("vendor"))
            haveVendor = parseHex16(value, &b.vendorId);
        else if (key == QLatin1String("product"))
            haveProduct = parseHex16(value, &b.productId);
        else if (key == QLatin1String("serial"))
            b.serialNumber = value;
        else if (key == QLatin1String("port")) {
            b.portPath = value.trimmed();
            havePort = !b.portPath.isEmpty();
        } else if (key == QLatin1String("pid")) {
            owner = value.trimmed().toLongLong(&havePid);
        }
    }
    if (!haveVendor || !haveProduct || !havePort || !havePid)
        return std::nullopt;
    if (pid)
        *pid = owner;
    return b;
}

std::optional<QList<BridgeInfo>> VirtualBridgeRegistry::bridges() const
{
    QList<BridgeInfo> list;
    const QDir dir(m_folder);
    const QStringList names = dir.entryList({QStringLiteral("*") + kSuffix}, QDir::Files, QDir::Name);
    for (const QString &name : names) {
        qint64 pid = 0;
        const auto b = read(dir.filePath(name), &pid);
        if (!b || !processAlive(pid) || !QFileInfo::exists(b->portPath))
            continue;
        list.append(*b);
    }
    return list;
}

QString VirtualBridgeRegistry::add(const QString &folder, const BridgeInfo &bridge, qint64 pid,
                                   QString *error)
{
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = QStringLiteral("cannot create %1").arg(folder);
        return QString();
    }
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString path = QDir(folder).filePath(QStringLiteral("ventsim-%1-%2%3")
                                                   .arg(pid)
                                                   .arg(g_nextIndex.fetch_add(1))
                                                   .arg(QLatin1String(kSuffix)));
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Text)) {
        if (error)
            *error = f.errorString();
        return QString();
    }
    QTextStream out(&f);
    out << "vendor=" << QString::number(bridge.vendorId, 16) << '\n'
        << "product=" << QString::number(bridge.productId, 16) << '\n'
        << "serial=" << bridge.serialNumber << '\n'
        << "port=" << bridge.portPath << '\n'
        << "pid=" << pid << '\n';
    out.flush();
    if (!f.commit()) {
        if (error)
            *error = f.errorString();
        return QString();
    }
    return path;
}

bool VirtualBridgeRegistry::remove(const QString &file)
{
    return file.isEmpty() || QFile::remove(file) || !QFileInfo::exists(file);
}

int VirtualBridgeRegistry::removeStale(const QString &folder)
{
    int removed = 0;
    const QDir dir(folder);
    const QStringList names = dir.entryList({QStringLiteral("*") + kSuffix}, QDir::Files);
    for (const QString &name : names) {
        qint64 pid = 0;
        const QString path = dir.filePath(name);
        const auto b = read(path, &pid);
        if (b && processAlive(pid))
            continue;
        // A file being written is never half there (it is renamed into place), so an unreadable
        // one is junk.
        if (QFile::remove(path))
            ++removed;
    }
    return removed;
}
