#include "common/core/virtual_bridge_registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTextStream>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
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

QByteArray nativePath(const QString &path)
{
    return QFile::encodeName(path);
}

// Makes every missing folder of `folder` owner-only, then makes sure the last one is private.
bool makePrivateFolder(const QString &folder, QString *error)
{
    const QString clean = QDir::cleanPath(QDir(folder).absolutePath());
    const QStringList parts = clean.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString path;
    for (const QString &part : parts) {
        path += QLatin1Char('/') + part;
        if (::mkdir(nativePath(path).constData(), 0700) != 0 && errno != EEXIST) {
            if (error)
                *error = QStringLiteral("cannot create %1: %2")
                             .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
    }
    struct stat st {};
    if (::stat(nativePath(clean).constData(), &st) == 0 && S_ISDIR(st.st_mode)
        && st.st_uid == ::geteuid() && (st.st_mode & 077) != 0)
        ::chmod(nativePath(clean).constData(), 0700);
    if (!VirtualBridgeRegistry::privateFolder(clean)) {
        if (error)
            *error = QStringLiteral("%1 is not a folder of this user only").arg(clean);
        return false;
    }
    return true;
}

} // namespace

VirtualBridgeRegistry::VirtualBridgeRegistry(const QString &folder) : m_folder(folder) {}

QString VirtualBridgeRegistry::defaultFolder()
{
    // Qt checks the runtime folder: it makes a private one when XDG_RUNTIME_DIR is not set and
    // answers nothing when the folder belongs to someone else.
    const QString base = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (base.isEmpty())
        return QString();
    return base + QStringLiteral("/ventolux/bridges");
}

bool VirtualBridgeRegistry::ownedPrivately(const struct stat &status, uid_t user)
{
    return status.st_uid == user && (status.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

bool VirtualBridgeRegistry::privateFolder(const QString &folder, struct stat *status)
{
    struct stat own {};
    struct stat &st = status ? *status : own;
    return !folder.isEmpty() && ::stat(nativePath(folder).constData(), &st) == 0
        && S_ISDIR(st.st_mode) && ownedPrivately(st, ::geteuid());
}

bool VirtualBridgeRegistry::isCharacterDevice(const QString &path)
{
    struct stat st {};
    return !path.isEmpty() && ::stat(nativePath(path).constData(), &st) == 0
        && S_ISCHR(st.st_mode);
}

bool VirtualBridgeRegistry::processAlive(qint64 pid)
{
    if (pid <= 0 || pid > std::numeric_limits<pid_t>::max())
        return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

std::optional<BridgeInfo> VirtualBridgeRegistry::read(const QString &file, qint64 *pid)
{
    // Opened without following a link and checked on the open file, so what is checked is what
    // is read.
    const int fd = ::open(nativePath(file).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    struct stat st {};
    QFile f;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || !ownedPrivately(st, ::geteuid())
        || st.st_size > kMaxFileSize
        || !f.open(fd, QIODevice::ReadOnly | QIODevice::Text, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return std::nullopt;
    }
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
    // One look at the folder answers both whether it is private and whether it changed.
    struct stat st {};
    if (!privateFolder(m_folder, &st))
        return list;
    const FolderStamp stamp = FolderStamp::of(st);
    if (!m_listedStamp || stamp != *m_listedStamp) {
        ++m_listings;
        m_registrations.clear();
        const QDir dir(m_folder);
        // The suffix is checked here, as a name filter would compile a pattern for each listing.
        const QStringList names = dir.entryList(QDir::Files, QDir::Name);
        for (const QString &name : names) {
            if (!name.endsWith(QLatin1String(kSuffix)))
                continue;
            qint64 pid = 0;
            if (const auto b = read(dir.filePath(name), &pid))
                m_registrations.append({*b, pid});
        }
        // A folder changed within the last moments may change again within the same tick of
        // its clock, unseen by the stamp: it is read again until it has been quiet a while.
        if (stamp.quietFor(FolderStamp::kQuietSeconds))
            m_listedStamp = stamp;
        else
            m_listedStamp.reset();
    }
    for (const Registration &r : qAsConst(m_registrations)) {
        if (processAlive(r.pid) && isCharacterDevice(r.bridge.portPath))
            list.append(r.bridge);
    }
    return list;
}

QString VirtualBridgeRegistry::add(const QString &folder, const BridgeInfo &bridge, qint64 pid,
                                   QString *error)
{
    if (folder.isEmpty()) {
        if (error)
            *error = QStringLiteral("no private runtime folder (see XDG_RUNTIME_DIR)");
        return QString();
    }
    if (!makePrivateFolder(folder, error))
        return QString();
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
    // A new file would get the usual 0644; only the user may read or change a registration.
    if (::fchmod(f.handle(), S_IRUSR | S_IWUSR) != 0) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(errno));
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
    if (!privateFolder(folder))
        return removed;
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
