// USB bridge discovery over an injected bridge list, the registrations of virtual instruments and
// the sysfs shortcut of the system's list.
#include "common/core/serial_port_info_source.h"
#include "common/core/system_bridge_source.h"
#include "common/core/usb_discovery.h"
#include "common/core/virtual_bridge_registry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

struct FakeSource : BridgeSource
{
    explicit FakeSource(QList<BridgeInfo> bridges = {}, bool fails = false)
        : list(std::move(bridges)), failing(fails) {}
    std::optional<QList<BridgeInfo>> bridges() const override
    {
        return failing ? std::nullopt : std::optional<QList<BridgeInfo>>(list);
    }
    QList<BridgeInfo> list;
    bool failing = false;
};

BridgeInfo bridge(quint16 vendor, quint16 product, const QString &serial, const QString &port)
{
    return BridgeInfo{true, vendor, product, serial, port};
}
BridgeInfo instrument(const QString &serial, const QString &port) { return bridge(0x1764, 0x0008, serial, port); }
BridgeInfo foreign(const QString &port) { return bridge(0x0403, 0x6001, "FT12345", port); }
BridgeInfo unreadable(const QString &port) { return BridgeInfo{false, 0, 0, "", port}; }

TEST(UsbProbe, Verdicts)
{
    const struct { const char *name; QList<BridgeInfo> list; qint16 verdict; } cases[] = {
        {"no bridge", {}, 0},
        {"instrument then foreign", {instrument("J1", "/dev/ttyUSB0"), foreign("/dev/ttyUSB1")}, 4},
        {"instrument between", {foreign("/dev/ttyUSB0"), instrument("J1", "/dev/ttyUSB1"),
                                unreadable("/dev/ttyUSB2")}, 4},
        {"foreign only", {foreign("/dev/ttyUSB0")}, 5},
        {"vendor 1764, other product", {bridge(0x1764, 0x0009, "J1", "/dev/ttyUSB0")}, 6},
        {"last verdict wins without instrument",
         {bridge(0x1764, 0x0009, "J1", "/dev/ttyUSB0"), foreign("/dev/ttyUSB1")}, 5},
        {"unreadable last", {foreign("/dev/ttyUSB0"), unreadable("/dev/ttyUSB1")}, 3},
    };
    for (const auto &c : cases)
        EXPECT_EQ(UsbDiscovery(FakeSource(c.list)).fUsbProbe(), c.verdict) << c.name;
    EXPECT_EQ(UsbDiscovery(FakeSource({}, true)).fUsbProbe(), 0);
}

TEST(UsbDiscovery, SerialTexts)
{
    const struct { quint16 vendor, product; const char *serial; const char *shown; } cases[] = {
        {0x1764, 0x0008, "J0012345", "0012345"}, {0x1764, 0x0008, "C0012345", "0012345"},
        {0x1764, 0x0008, "U0012345", "0012345"}, {0x1764, 0x0008, "0012345", "0012345"},
        {0x1764, 0x0008, "j0012345", "j0012345"}, {0x1764, 0x0008, "", ""},
        {0x1764, 0x0008, "J 12 34", " 12 34"}, // spaces kept
        {0x0403, 0x0008, "J777", "777"},       // the product decides, whatever the vendor
        {0x10C4, 0xEA60, "X0001", "0001"},     // stock bridge: first character dropped
        {0x10C4, 0xEA60, "J0001", "0001"},     {0x10C4, 0xEA60, "", ""},
        {0x0403, 0x6001, "FT12345", ""},       // other products have no serial text
    };
    for (const auto &c : cases)
        EXPECT_EQ(UsbDiscovery::fSerialText(bridge(c.vendor, c.product, c.serial, "/dev/x")), c.shown)
            << c.serial;
    EXPECT_EQ(UsbDiscovery::fSerialText(unreadable("/dev/x")), "");
}

TEST(UsbDiscovery, ListPortsFillsAtMostFifteenSlotsFromOne)
{
    FakeSource source({instrument("J0000001", "/dev/ttyUSB0"), foreign("/dev/ttyUSB1"),
                       instrument("J0000002", ""), // no port: skipped, its slot reused
                       bridge(0x10C4, 0xEA60, "S0000003", "/dev/ttyUSB3")});
    PortTables t;
    t.gPortNames[9] = "stale";
    UsbDiscovery(source).sUsbListPorts(t);
    PortTables expected;
    expected.gPortNames = {"", "/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyUSB3"};
    expected.gSerialNos = {"", "0000001", "", "0000003"};
    EXPECT_EQ(t, expected);

    for (int i = 3; i < 20; ++i)
        source.list << instrument(QString("J%1").arg(i), QString("/dev/ttyUSB%1").arg(i + 1));
    UsbDiscovery(source).sUsbListPorts(t);
    EXPECT_EQ(t.gPortNames[15], "/dev/ttyUSB15");
    EXPECT_EQ(t.gSerialNos[15], "14");
    EXPECT_EQ(t.gPortNames[0], "");
}

// The list keeps its items while the tables are rebuilt every second, so an item's index no longer
// names its slot once an instrument before it is unplugged: the chosen one is found by its text.
TEST(UsbRefresh, TheListGrowsByNewTextsEmptiesWithoutAnInstrumentAndResolvesByText)
{
    // Two bridges showing the same text (J and C prefixes) and one listed already.
    FakeSource source({instrument("J0000001", "/dev/ttyUSB0"),
                       instrument("C0000001", "/dev/ttyUSB1"),
                       instrument("J0000002", "/dev/ttyUSB2")});
    UsbDiscovery usb(source);
    PortTables tables;
    QStringList shown{"0000002"}; // the program's instrument list
    // One program tick, as tmrUSB runs them.
    const auto tick = [&] {
        const UsbRefresh r = usb.refresh(tables, shown);
        UsbDiscovery::applyToList(r, shown);
        return r;
    };
    EXPECT_EQ(tick().added, QStringList({"0000001"}));
    EXPECT_EQ(shown, QStringList({"0000002", "0000001"}));
    EXPECT_TRUE(tick().added.isEmpty());

    // The first instrument unplugged, a foreign bridge plugged after the other: nothing hidden.
    source.list = {instrument("J0000002", "/dev/ttyUSB2"), foreign("/dev/ttyUSB3")};
    EXPECT_EQ(tick().verdict, 4);
    EXPECT_EQ(shown.size(), 2); // items are never removed one by one
    EXPECT_EQ(tables.gPortNames[1], "/dev/ttyUSB2");
    EXPECT_EQ(tables.gPortNames[2], "/dev/ttyUSB3"); // no longer the first item's slot
    EXPECT_EQ(usb.fResolvePort("0000002"), "/dev/ttyUSB2");
    EXPECT_EQ(usb.fResolvePort("0000001"), ""); // gone: nothing to open
    EXPECT_EQ(usb.fResolvePort(""), "");

    source.list = {foreign("/dev/ttyUSB3")};
    const UsbRefresh r = tick();
    EXPECT_TRUE(r.cleared);
    EXPECT_EQ(r.verdict, 5);
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_EQ(tables, PortTables());
}

// Makes a folder look as if its entries last changed `seconds` from now: an hour ago (quiet), or
// a minute ahead (just changed, however slowly the test runs).
void touch(const QString &folder, int seconds)
{
    struct timespec times[2] {};
    ::clock_gettime(CLOCK_REALTIME, &times[0]);
    times[0].tv_sec += seconds;
    times[1] = times[0];
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(folder).constData(), times, 0), 0);
}
void age(const QString &folder) { touch(folder, -3600); }
void freshen(const QString &folder) { touch(folder, 60); }

// The registrations are read again only after the folder changed, but whether their owners live
// is asked at every tick.
TEST(VirtualBridgeRegistry, ReadAgainOnlyWhenTheFolderChanged)
{
    QTemporaryDir dir;
    QProcess owner;
    owner.start("sleep", {"30"});
    ASSERT_TRUE(owner.waitForStarted());
    const QString file =
        VirtualBridgeRegistry::add(dir.path(), instrument("J0000001", "/dev/null"), owner.processId());
    VirtualBridgeRegistry registry(dir.path());
    const QList<BridgeInfo> one{instrument("J0000001", "/dev/null")};
    freshen(dir.path());
    EXPECT_EQ(registry.bridges(), one);
    EXPECT_EQ(registry.bridges(), one);
    EXPECT_EQ(registry.listings(), 2); // just changed: not trusted yet
    age(dir.path());
    EXPECT_EQ(registry.bridges(), one);
    EXPECT_EQ(registry.bridges(), one);
    EXPECT_EQ(registry.listings(), 3);
    VirtualBridgeRegistry::add(dir.path(), instrument("J0000002", "/dev/null"), owner.processId());
    freshen(dir.path());
    EXPECT_EQ(registry.bridges()->size(), 2);
    EXPECT_EQ(registry.listings(), 4);
    age(dir.path());
    registry.bridges();
    owner.kill();
    owner.waitForFinished();
    EXPECT_TRUE(registry.bridges()->isEmpty()) << "the owner is gone";
    EXPECT_EQ(registry.listings(), 5);
    ASSERT_TRUE(VirtualBridgeRegistry::remove(file));
    freshen(dir.path());
    EXPECT_TRUE(registry.bridges()->isEmpty());
    EXPECT_EQ(registry.listings(), 6);
}

TEST(VirtualBridgeRegistry, OnlyLiveRegistrationsWithAPortCountAfterTheRealBridges)
{
    QProcess ended;
    ended.start("true");
    ASSERT_TRUE(ended.waitForStarted());
    const qint64 endedPid = ended.processId();
    ended.waitForFinished();
    QTemporaryDir dir;
    const qint64 self = QCoreApplication::applicationPid();
    VirtualBridgeRegistry::add(dir.path(), instrument("J0000001", "/dev/null"), self);
    VirtualBridgeRegistry::add(dir.path(), instrument("J0000002", "/dev/null"), endedPid);
    VirtualBridgeRegistry::add(dir.path(), instrument("J0000003", "/dev/no-such-port"), self);
    QFile junk(dir.filePath("junk.bridge"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("vendor=zz\nport=/dev/null\n");
    junk.close();

    EXPECT_EQ(VirtualBridgeRegistry(dir.path()).bridges(),
              QList<BridgeInfo>({instrument("J0000001", "/dev/null")}));
    // Reading a registration back: VirtualInstrumentTraces.RegistrationAndLinkLiveAsLongAsTheInstrument.
    EXPECT_FALSE(VirtualBridgeRegistry::processAlive(0));
    EXPECT_FALSE(VirtualBridgeRegistry::processAlive(-1));

    // The dead owner's file and the junk go; the live ones stay.
    EXPECT_EQ(VirtualBridgeRegistry::removeStale(dir.path()), 2);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);
    EXPECT_TRUE(VirtualBridgeRegistry(dir.filePath("missing")).bridges()->isEmpty());

    // The system's list: the real bridges, then the virtual ones; a failed real list fails.
    auto usb = std::make_unique<FakeSource>(QList<BridgeInfo>{foreign("/dev/ttyUSB0")});
    FakeSource &real = *usb;
    SystemBridgeSource source(std::move(usb), std::make_unique<VirtualBridgeRegistry>(dir.path()));
    EXPECT_EQ(source.bridges(),
              QList<BridgeInfo>({foreign("/dev/ttyUSB0"), instrument("J0000001", "/dev/null")}));
    EXPECT_EQ(UsbDiscovery(source).fUsbProbe(), 4);
    real.failing = true;
    EXPECT_FALSE(source.bridges());
}

// A tty class folder as sysfs has it: one link per tty to its device folder.
struct FakeSysfs
{
    FakeSysfs() { QDir().mkpath(classFolder()); }
    QString classFolder() const { return m_root.path() + "/class/tty"; }
    void add(const QString &name, const QString &device)
    {
        QDir().mkpath(m_root.filePath(device));
        ASSERT_TRUE(QFile::link("../../" + device, classFolder() + "/" + name));
    }
    // The device goes and comes back at the same place: a new device folder (made before the old
    // one goes, so that it cannot reuse its node).
    void replug(const QString &name, const QString &device)
    {
        QDir().mkpath(m_root.filePath(device + ".new"));
        QFile::remove(classFolder() + "/" + name);
        QDir(m_root.filePath(device)).removeRecursively();
        ASSERT_TRUE(QDir().rename(m_root.filePath(device + ".new"), m_root.filePath(device)));
        ASSERT_TRUE(QFile::link("../../" + device, classFolder() + "/" + name));
    }
    QTemporaryDir m_root;
};

const QString kBridge = "devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/ttyUSB0/tty/ttyUSB0";

// The system's ports are enumerated only when the USB ttys (links below a usb<n> bus folder, and the
// device folder each leads to) changed or were not identified yet.
TEST(SerialPortInfoSource, EnumeratesOnlyWhenTheUsbTtysChanged)
{
    FakeSysfs sys;
    sys.add("tty0", "devices/virtual/tty/tty0");
    sys.add("ttyS0", "devices/platform/serial8250/tty/ttyS0");
    QList<BridgeInfo> ports;
    SerialPortInfoSource source(sys.classFolder(), [&ports] { return ports; });
    const auto tick = [&source](const QList<BridgeInfo> &list, int enumerations) {
        EXPECT_EQ(source.bridges(), list);
        EXPECT_EQ(source.enumerations(), enumerations);
    };
    tick({}, 0); // no USB tty: no bridge, nothing enumerated

    // A bridge appears before udev has its IDs: looked at again until it has them.
    sys.add("ttyUSB0", kBridge);
    sys.add("ttyACM0", "devices/platform/soc/3f980000.usb/usb1/1-1/1-1:1.0/tty/ttyACM0");
    EXPECT_EQ(SerialPortInfoSource::usbTtys(sys.classFolder())->names, QStringList({"ttyACM0", "ttyUSB0"}));
    const BridgeInfo first = instrument("J0012345", "/dev/ttyUSB0"), modem = foreign("/dev/ttyACM0");
    ports = {unreadable("/dev/ttyUSB0"), modem};
    tick(ports, 1);
    ports = {first, modem};
    tick(ports, 2);
    ports.clear();
    tick({first, modem}, 2); // nothing changed: the last list
    sys.add("ttyS1", "devices/platform/serial8250/tty/ttyS1");
    tick({first, modem}, 2); // not USB: not looked at

    // Another instrument in the same socket between two ticks: a new device folder.
    sys.replug("ttyUSB0", kBridge);
    ports = {instrument("J0099999", "/dev/ttyUSB0"), modem};
    tick(ports, 3);

    // An entry that is not a link, or no folder at all: cannot be told, enumerated every time.
    QFile plain(sys.classFolder() + "/ttyX");
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    EXPECT_FALSE(SerialPortInfoSource::usbTtys(sys.classFolder()));
    tick(ports, 4);
    tick(ports, 5);
    EXPECT_FALSE(SerialPortInfoSource::usbTtys("/nonexistent/tty"));
}

// A tty comes and goes with its node in /dev: while /dev stays as it was since a settled answer,
// sysfs is not read at all.
TEST(SerialPortInfoSource, ReadsSysfsOnlyAfterDevChanged)
{
    FakeSysfs sys;
    const QString dev = sys.m_root.filePath("dev");
    QDir().mkpath(dev);
    QList<BridgeInfo> ports;
    SerialPortInfoSource source(sys.classFolder(), [&ports] { return ports; }, dev);
    const auto tick = [&source](const QList<BridgeInfo> &list, int sysfsReads) {
        EXPECT_EQ(source.bridges(), list);
        EXPECT_EQ(source.sysfsReads(), sysfsReads);
    };
    const auto plug = [&](const QString &name, const QString &device) {
        sys.add(name, device);
        QFile node(dev + "/" + name);
        ASSERT_TRUE(node.open(QIODevice::WriteOnly));
    };
    freshen(dev);
    tick({}, 1);
    tick({}, 2); // /dev changed a moment ago: not trusted yet
    age(dev);
    tick({}, 3);
    tick({}, 3);
    sys.add("ttyUSB9", kBridge); // a sysfs change alone (never without a node) is not looked for
    tick({}, 3);
    ASSERT_TRUE(QFile::remove(sys.classFolder() + "/ttyUSB9"));

    const BridgeInfo first = instrument("J0012345", "/dev/ttyUSB0");
    ports = {unreadable("/dev/ttyUSB0")};
    plug("ttyUSB0", kBridge);
    age(dev);
    tick(ports, 4);
    tick(ports, 5); // not identified yet: looked at again
    ports = {first};
    tick(ports, 6);
    tick(ports, 6);
    ASSERT_TRUE(QFile::remove(dev + "/ttyUSB0"));
    ASSERT_TRUE(QFile::remove(sys.classFolder() + "/ttyUSB0"));
    freshen(dev);
    tick({}, 7);
    EXPECT_FALSE(source.bridges()->size()); // /dev is fresh again
    EXPECT_EQ(source.sysfsReads(), 8);
}

} // namespace
