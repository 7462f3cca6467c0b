// Registrations of virtual instruments that another local user could have planted are not listed;
// the user's own ventsim still is.
#include "common/core/virtual_bridge_registry.h"
#include "tools/ventsim/virtual_instrument.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uid_t kOtherUser = 65534;

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

mode_t modeOf(const QString &path)
{
    struct stat st {};
    return ::stat(native(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// A registration of a live process (this one) with serial J0000666 on `port`.
QString plant(const QString &folder, const QString &port)
{
    BridgeInfo b;
    b.vendorId = InstrumentOptions::kVendorId;
    b.productId = InstrumentOptions::kProductId;
    b.serialNumber = "J0000666";
    b.portPath = port;
    return VirtualBridgeRegistry::add(folder, b, QCoreApplication::applicationPid());
}

QStringList serialsIn(const QString &folder)
{
    QStringList serials;
    const auto list = VirtualBridgeRegistry(folder).bridges();
    for (const BridgeInfo &b : *list)
        serials << b.serialNumber;
    return serials;
}

} // namespace

TEST(BridgeTrust, OwnerAndWritersOfAStatus)
{
    struct stat st {};
    const uid_t me = 1000;
    const struct { uid_t owner; mode_t mode; bool trusted; } cases[] = {
        {me, 0600, true},  {me, 0644, true},         {me, 0700, true}, {me, 0620, false},
        {me, 0602, false}, {kOtherUser, 0600, false}, {0, 0600, false},
    };
    for (const auto &c : cases) {
        st.st_uid = c.owner;
        st.st_mode = S_IFREG | c.mode;
        EXPECT_EQ(VirtualBridgeRegistry::ownedPrivately(st, me), c.trusted)
            << c.owner << " " << std::oct << c.mode;
    }
}

TEST(BridgeTrust, PlantedRegistrationsAreIgnoredAndTheUsersOwnInstrumentIsListed)
{
    const bool canChown = ::geteuid() == 0;
    using Plant = std::function<bool(const QString &folder, const QString &scratch)>;
    const struct { const char *name; Plant plant; } cases[] = {
        {"group may write the file", [](const QString &f, const QString &) {
             return ::chmod(native(plant(f, "/dev/null")).constData(), 0620) == 0; }},
        {"others may write the file", [](const QString &f, const QString &) {
             return ::chmod(native(plant(f, "/dev/null")).constData(), 0602) == 0; }},
        {"file of another user", [](const QString &f, const QString &) {
             return ::chown(native(plant(f, "/dev/null")).constData(), kOtherUser, -1) == 0; }},
        {"port is a regular file", [](const QString &f, const QString &s) {
             QFile port(s + "/port");
             return port.open(QIODevice::WriteOnly) && !plant(f, port.fileName()).isEmpty(); }},
        {"port is a FIFO", [](const QString &f, const QString &s) {
             return ::mkfifo(native(s + "/fifo").constData(), 0600) == 0
                 && !plant(f, s + "/fifo").isEmpty(); }},
        {"file is a link", [](const QString &f, const QString &s) {
             return QFile::rename(plant(s, "/dev/null"), s + "/real")
                 && QFile::link(s + "/real", f + "/linked.bridge"); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        if (!canChown && QByteArray(c.name).contains("another user"))
            continue; // only root can give a file away
        QTemporaryDir dir, scratch;
        const QString folder = dir.filePath("bridges");
        InstrumentOptions o;
        o.registryFolder = folder;
        VirtualInstrument own(o);
        ASSERT_TRUE(own.start());
        ASSERT_TRUE(c.plant(folder, scratch.path()));
        EXPECT_EQ(QDir(folder).entryList({"*.bridge"}, QDir::Files | QDir::System).size(), 2);
        EXPECT_EQ(serialsIn(folder), QStringList({o.serial}));
    }
}

TEST(BridgeTrust, AFolderOthersMayWriteOrOwnIsNotReadAtAll)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("bridges");
    InstrumentOptions o;
    o.registryFolder = folder;
    VirtualInstrument own(o);
    ASSERT_TRUE(own.start());
    ASSERT_EQ(serialsIn(folder), QStringList({o.serial}));

    ASSERT_EQ(::chmod(native(folder).constData(), 0770), 0);
    EXPECT_TRUE(serialsIn(folder).isEmpty());
    EXPECT_EQ(VirtualBridgeRegistry::removeStale(folder), 0);
    ASSERT_EQ(::chmod(native(folder).constData(), 0700), 0);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(native(folder).constData(), kOtherUser, -1), 0);
        EXPECT_TRUE(serialsIn(folder).isEmpty());
        ASSERT_EQ(::chown(native(folder).constData(), 0, -1), 0);
    }
    EXPECT_EQ(serialsIn(folder), QStringList({o.serial}));
}

TEST(BridgeTrust, VentsimMakesItsFoldersAndFileOwnerOnly)
{
    QTemporaryDir dir;
    const mode_t oldMask = ::umask(0);
    InstrumentOptions o;
    o.registryFolder = dir.filePath("ventolux/bridges");
    VirtualInstrument own(o);
    const bool started = own.start();
    ::umask(oldMask);
    ASSERT_TRUE(started);
    EXPECT_EQ(modeOf(dir.filePath("ventolux")), 0700u);
    EXPECT_EQ(modeOf(o.registryFolder), 0700u);
    EXPECT_EQ(modeOf(own.registrationFile()), 0600u);

    // A folder of the user that others may write is closed before a registration goes in.
    own.stop();
    ASSERT_EQ(::chmod(native(o.registryFolder).constData(), 0777), 0);
    ASSERT_TRUE(own.start());
    EXPECT_EQ(modeOf(o.registryFolder), 0700u);
}
