// Registrations of virtual instruments that another local user could have planted are not listed;
// the user's own ventsim still is.
#include "common/core/virtual_bridge_registry.h"
#include "tools/ventsim/virtual_instrument.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uid_t kOtherUser = 65534;

int chmodOf(const QString &path, mode_t mode) { return ::chmod(QFile::encodeName(path), mode); }
int chownOf(const QString &path, uid_t uid) { return ::chown(QFile::encodeName(path), uid, -1); }

mode_t modeOf(const QString &path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path), &st) == 0 ? st.st_mode & 0777 : 0;
}

// A registration of this (live) process with serial J0000666 on `port`.
QString plant(const QString &folder, const QString &port)
{
    BridgeInfo b{true, InstrumentOptions::kVendorId, InstrumentOptions::kProductId, "J0000666", port};
    return VirtualBridgeRegistry::add(folder, b, QCoreApplication::applicationPid());
}

QStringList listed(const QString &folder)
{
    QStringList serials;
    const auto list = VirtualBridgeRegistry(folder).bridges();
    for (const BridgeInfo &b : *list)
        serials << b.serialNumber;
    return serials;
}

} // namespace

// Each case plants something in the registry folder after the user's own ventsim registered there;
// `own` says whether that registration is still listed (not when the folder itself is untrusted).
TEST(BridgeTrust, PlantedRegistrationsAndUntrustedFoldersAreIgnored)
{
    using Plant = std::function<bool(const QString &folder, const QString &scratch)>;
    const struct { const char *name; Plant plant; bool own; } cases[] = {
        {"group may write the file", [](auto f, auto) { return !chmodOf(plant(f, "/dev/null"), 0620); }, true},
        {"others may write the file", [](auto f, auto) { return !chmodOf(plant(f, "/dev/null"), 0602); }, true},
        {"file of another user", [](auto f, auto) { return !chownOf(plant(f, "/dev/null"), kOtherUser); }, true},
        {"port is a regular file", [](auto f, auto s) {
             QFile port(s + "/port");
             return port.open(QIODevice::WriteOnly) && !plant(f, port.fileName()).isEmpty(); }, true},
        {"port is a FIFO", [](auto f, auto s) {
             return !::mkfifo(QFile::encodeName(s + "/fifo"), 0600) && !plant(f, s + "/fifo").isEmpty(); }, true},
        {"group may write the folder", [](auto f, auto) { return !chmodOf(f, 0770); }, false},
        {"folder of another user", [](auto f, auto) { return !chownOf(f, kOtherUser); }, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        if (::geteuid() != 0 && QByteArray(c.name).contains("another user"))
            continue; // only root can give a file away
        QTemporaryDir dir, scratch;
        InstrumentOptions o;
        o.registryFolder = dir.filePath("bridges");
        VirtualInstrument own(o);
        ASSERT_TRUE(own.start());
        ASSERT_TRUE(c.plant(o.registryFolder, scratch.path()));
        EXPECT_EQ(listed(o.registryFolder), c.own ? QStringList({o.serial}) : QStringList());
        if (!c.own)
            (void)chownOf(o.registryFolder, ::geteuid()); // so that it can be removed
    }
}

// ventsim keeps its folders and file private, and closes a folder of the user's that others may
// write before it registers there.
TEST(BridgeTrust, VentsimKeepsItsRegistrationPrivate)
{
    QTemporaryDir dir;
    InstrumentOptions o;
    o.registryFolder = dir.filePath("ventolux/bridges");
    VirtualInstrument own(o);
    ASSERT_TRUE(own.start());
    EXPECT_EQ(modeOf(dir.filePath("ventolux")), 0700u);
    EXPECT_EQ(modeOf(o.registryFolder), 0700u);
    EXPECT_EQ(modeOf(own.registrationFile()), 0600u);
    own.stop();
    ASSERT_EQ(chmodOf(o.registryFolder, 0777), 0);
    ASSERT_TRUE(own.start());
    EXPECT_EQ(modeOf(o.registryFolder), 0700u);
    EXPECT_EQ(listed(o.registryFolder), QStringList({o.serial}));
}
