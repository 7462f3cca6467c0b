// USB bridge discovery over an injected bridge list, the registrations of virtual instruments,
// and resolving the chosen instrument by its serial text.
#include "common/core/serial_port_info_source.h"
#include "common/core/system_bridge_source.h"
#include "common/core/usb_discovery.h"
#include "common/core/virtual_bridge_registry.h"
#include "tools/ventsim/virtual_instrument.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

class FakeSource : public BridgeSource
{
public:
    std::optional<QList<BridgeInfo>> bridges() const override
    {
        if (failing)
            return std::nullopt;
        return list;
    }
    QList<BridgeInfo> list;
    bool failing = false;
};

BridgeInfo bridge(quint16 vendor, quint16 product, const QString &serial, const QString &port)
{
    BridgeInfo b;
    b.vendorId = vendor;
    b.productId = product;
    b.serialNumber = serial;
    b.portPath = port;
    return b;
}

BridgeInfo instrument(const QString &serial, const QString &port)
{
    return bridge(0x1764, 0x0008, serial, port);
}

BridgeInfo foreign(const QString &port)
{
    return bridge(0x0403, 0x6001, "FT12345", port);
}

BridgeInfo unreadable(const QString &port)
{
    BridgeInfo b;
    b.idsKnown = false;
    b.portPath = port;
    return b;
}

TEST(UsbProbe, Verdicts)
{
    const struct { const char *name; QList<BridgeInfo> list; qint16 verdict; } cases[] = {
        {"no bridge", {}, 0},
        {"one instrument", {instrument("J1", "/dev/ttyUSB0")}, 4},
        {"instrument then foreign", {instrument("J1", "/dev/ttyUSB0"), foreign("/dev/ttyUSB1")}, 4},
        {"foreign then instrument", {foreign("/dev/ttyUSB0"), instrument("J1", "/dev/ttyUSB1")}, 4},
        {"instrument between", {foreign("/dev/ttyUSB0"), instrument("J1", "/dev/ttyUSB1"),
                                unreadable("/dev/ttyUSB2")}, 4},
        {"foreign only", {foreign("/dev/ttyUSB0")}, 5},
        {"vendor 1764, other product", {bridge(0x1764, 0x0009, "J1", "/dev/ttyUSB0")}, 6},
        {"stock bridge", {bridge(0x10C4, 0xEA60, "X1", "/dev/ttyUSB0")}, 5},
        {"last verdict wins without instrument",
         {bridge(0x1764, 0x0009, "J1", "/dev/ttyUSB0"), foreign("/dev/ttyUSB1")}, 5},
        {"unreadable last", {foreign("/dev/ttyUSB0"), unreadable("/dev/ttyUSB1")}, 3},
    };
    for (const auto &c : cases) {
        FakeSource source;
        source.list = c.list;
        EXPECT_EQ(UsbDiscovery(source).fUsbProbe(), c.verdict) << c.name;
    }
    FakeSource failing;
    failing.failing = true;
    EXPECT_EQ(UsbDiscovery(failing).fUsbProbe(), 0);
}

TEST(UsbDiscovery, SerialTexts)
{
    const struct { quint16 vendor, product; const char *serial; const char *shown; } cases[] = {
        {0x1764, 0x0008, "J0012345", "0012345"},
        {0x1764, 0x0008, "C0012345", "0012345"},
        {0x1764, 0x0008, "U0012345", "0012345"},
        {0x1764, 0x0008, "0012345", "0012345"},
        {0x1764, 0x0008, "j0012345", "j0012345"},
        {0x1764, 0x0008, "J 12 34", " 12 34"},  // spaces kept
        {0x1764, 0x0008, "", ""},
        {0x0403, 0x0008, "J777", "777"},        // the product decides, whatever the vendor
        {0x10C4, 0xEA60, "X0001", "0001"},      // stock bridge: first character dropped
        {0x10C4, 0xEA60, "J0001", "0001"},
        {0x10C4, 0xEA60, "", ""},
        {0x0403, 0x6001, "FT12345", ""},        // other products have no serial text
    };
    for (const auto &c : cases)
        EXPECT_EQ(UsbDiscovery::fSerialText(bridge(c.vendor, c.product, c.serial, "/dev/x")),
                  c.shown)
            << c.serial;
    EXPECT_EQ(UsbDiscovery::fSerialText(unreadable("/dev/x")), "");
}

TEST(UsbDiscovery, ListPortsFillsSlotsFromOne)
{
    FakeSource source;
    source.list = {instrument("J0000001", "/dev/ttyUSB0"), foreign("/dev/ttyUSB1"),
                   instrument("J0000002", ""), // no port: skipped, its slot reused
                   bridge(0x10C4, 0xEA60, "S0000003", "/dev/ttyUSB3")};
    PortTables t;
    t.gPortNames[9] = "stale";
    UsbDiscovery(source).sUsbListPorts(t);
    PortTables expected;
    expected.gPortNames[1] = "/dev/ttyUSB0";
    expected.gSerialNos[1] = "0000001";
    expected.gPortNames[2] = "/dev/ttyUSB1";
    expected.gPortNames[3] = "/dev/ttyUSB3";
    expected.gSerialNos[3] = "0000003";
    EXPECT_EQ(t, expected);
}

TEST(UsbDiscovery, AtMostFifteenBridges)
{
    FakeSource source;
    for (int i = 0; i < 20; ++i)
        source.list.append(instrument(QString("J%1").arg(i, 3, 10, QChar('0')),
                                      QString("/dev/ttyUSB%1").arg(i)));
    PortTables t;
    UsbDiscovery(source).sUsbListPorts(t);
    EXPECT_EQ(t.gPortNames[0], "");
    EXPECT_EQ(t.gPortNames[1], "/dev/ttyUSB0");
    EXPECT_EQ(t.gPortNames[15], "/dev/ttyUSB14");
    EXPECT_EQ(t.gSerialNos[15], "014");
}

// One program tick after another, as tmrUSB runs them; `shown` is the program's instrument list.
struct Ticker
{
    explicit Ticker(const BridgeSource &source) : usb(source) {}
    UsbRefresh tick()
    {
        const UsbRefresh r = usb.refresh(tables, shown);
        UsbDiscovery::applyToList(r, shown);
        return r;
    }
    UsbDiscovery usb;
    PortTables tables;
    QStringList shown;
};

TEST(UsbRefresh, NoInstrumentEmptiesTablesAndList)
{
    FakeSource source;
    source.list = {instrument("J0000001", "/dev/ttyUSB0")};
    Ticker t(source);
    t.tick();
    EXPECT_EQ(t.shown, QStringList({"0000001"}));
    source.list = {foreign("/dev/ttyUSB1")};
    const UsbRefresh r = t.tick();
    EXPECT_TRUE(r.cleared);
    EXPECT_EQ(r.verdict, 5);
    EXPECT_TRUE(t.shown.isEmpty());
    EXPECT_EQ(t.tables, PortTables());
    source.list.clear();
    EXPECT_EQ(t.tick().verdict, 0);
    EXPECT_TRUE(t.shown.isEmpty());
}

TEST(UsbRefresh, AForeignBridgePluggedAfterTheInstrumentHidesNothing)
{
    FakeSource source;
    source.list = {instrument("J0000001", "/dev/ttyUSB0")};
    Ticker t(source);
    t.tick();
    source.list.append(foreign("/dev/ttyUSB1"));
    const UsbRefresh r = t.tick();
    EXPECT_EQ(r.verdict, 4);
    EXPECT_FALSE(r.cleared);
    EXPECT_EQ(t.shown, QStringList({"0000001"}));
    EXPECT_EQ(t.tables.gPortNames[1], "/dev/ttyUSB0");
}

TEST(UsbRefresh, ASerialTextIsNeverListedTwice)
{
    FakeSource source;
    // Two bridges showing the same text (J and C prefixes) and one listed already.
    source.list = {instrument("J0000001", "/dev/ttyUSB0"), instrument("C0000001", "/dev/ttyUSB1"),
                   instrument("J0000002", "/dev/ttyUSB2")};
    Ticker t(source);
    t.shown = {"0000002"};
    const UsbRefresh first = t.tick();
    EXPECT_EQ(first.added, QStringList({"0000001"}));
    EXPECT_EQ(t.shown, QStringList({"0000002", "0000001"}));
    EXPECT_TRUE(t.tick().added.isEmpty());
    EXPECT_EQ(t.shown.size(), 2);
}

// F14: the list keeps its items while the tables are rebuilt every second, so an item's index no
// longer names its slot once an instrument before it is unplugged.
TEST(PortResolver, TheChosenInstrumentIsFoundByItsSerialText)
{
    FakeSource source;
    source.list = {instrument("J0000001", "/dev/ttyUSB0"), instrument("J0000002", "/dev/ttyUSB1")};
    Ticker t(source);
    t.tick();
    ASSERT_EQ(t.shown, QStringList({"0000001", "0000002"}));
    const int chosen = 1; // the user picks the second instrument
    source.list.removeFirst();
    t.tick();
    EXPECT_EQ(t.shown.size(), 2);                          // items are never removed one by one
    EXPECT_EQ(t.tables.gPortNames[chosen + 1], "");       // the index now points at nothing
    EXPECT_EQ(t.usb.fResolvePort(t.shown.at(chosen)), "/dev/ttyUSB1");
    EXPECT_EQ(UsbDiscovery::portForSerial(t.tables, t.shown.at(chosen)), "/dev/ttyUSB1");
    // The first one is gone: nothing to open.
    EXPECT_EQ(t.usb.fResolvePort(t.shown.at(0)), "");
    EXPECT_EQ(t.usb.fResolvePort(""), "");
}

// --- registrations of virtual instruments ---

qint64 deadPid()
{
    QProcess p;
    p.start("true");
    p.waitForFinished();
    return p.processId() > 0 ? p.processId() : 0x7FFFFFF0;
}

TEST(VirtualBridgeRegistry, OnlyLiveRegistrationsWithAPortCount)
{
    QTemporaryDir dir;
    const qint64 self = QCoreApplication::applicationPid();
    const QString port = "/dev/null"; // any path that exists
    const QString live = VirtualBridgeRegistry::add(dir.path(), instrument("J0000001", port), self);
    ASSERT_FALSE(live.isEmpty());
    VirtualBridgeRegistry::add(dir.path(), instrument("J0000002", port), 0x7FFFFFF0);
    VirtualBridgeRegistry::add(dir.path(), instrument("J0000003", "/dev/no-such-port"), self);
    QFile junk(dir.filePath("junk.bridge"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("vendor=zz\nport=/dev/null\n");
    junk.close();

    const auto list = VirtualBridgeRegistry(dir.path()).bridges();
    ASSERT_TRUE(list);
    ASSERT_EQ(list->size(), 1);
    EXPECT_EQ(list->first(), instrument("J0000001", port));

    qint64 pid = 0;
    EXPECT_EQ(VirtualBridgeRegistry::read(live, &pid), instrument("J0000001", port));
    EXPECT_EQ(pid, self);
    EXPECT_TRUE(VirtualBridgeRegistry::processAlive(self));
    EXPECT_FALSE(VirtualBridgeRegistry::processAlive(0));
    EXPECT_FALSE(VirtualBridgeRegistry::processAlive(-1));

    // The dead owner's file and the junk go; the live ones stay.
    EXPECT_EQ(VirtualBridgeRegistry::removeStale(dir.path()), 2);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);
    EXPECT_TRUE(VirtualBridgeRegistry(dir.filePath("missing")).bridges()->isEmpty());
}

TEST(VirtualBridgeRegistry, ARegistrationOfAProcessThatEndedIsIgnored)
{
    QTemporaryDir dir;
    VirtualBridgeRegistry::add(dir.path(), instrument("J0000001", "/dev/null"), deadPid());
    EXPECT_TRUE(VirtualBridgeRegistry(dir.path()).bridges()->isEmpty());
}

TEST(SystemBridgeSource, VirtualInstrumentsFollowTheRealBridges)
{
    QTemporaryDir dir;
    auto usb = std::make_unique<FakeSource>();
    usb->list = {foreign("/dev/ttyUSB0")};
    VirtualBridgeRegistry::add(dir.path(), instrument("J0000009", "/dev/null"),
                               QCoreApplication::applicationPid());
    SystemBridgeSource source(std::move(usb), std::make_unique<VirtualBridgeRegistry>(dir.path()));
    const auto list = source.bridges();
    ASSERT_TRUE(list);
    EXPECT_EQ(*list, QList<BridgeInfo>({foreign("/dev/ttyUSB0"), instrument("J0000009", "/dev/null")}));
    EXPECT_EQ(UsbDiscovery(source).fUsbProbe(), 4);
}

TEST(SystemBridgeSource, AFailedSystemListIsAFailedList)
{
    auto usb = std::make_unique<FakeSource>();
    usb->failing = true;
    QTemporaryDir dir;
    SystemBridgeSource source(std::move(usb), std::make_unique<VirtualBridgeRegistry>(dir.path()));
    EXPECT_FALSE(source.bridges());
}

// A virtual instrument that appears and disappears between two ticks is never seen; one that
// stays is listed at the next tick, and its going empties the list at the tick after.
TEST(UsbRefresh, VirtualInstrumentAppearingAndDisappearingWithinOneTimerPeriod)
{
    QTemporaryDir dir;
    SystemBridgeSource source(std::make_unique<FakeSource>(),
                              std::make_unique<VirtualBridgeRegistry>(dir.path()));
    Ticker t(source);
    EXPECT_EQ(t.tick().verdict, 0);

    InstrumentOptions o;
    o.registryFolder = dir.path();
    o.serial = "J0012345";
    {
        VirtualInstrument brief(o);
        ASSERT_TRUE(brief.start());
        brief.stop();
    }
    EXPECT_EQ(t.tick().verdict, 0);
    EXPECT_TRUE(t.shown.isEmpty());

    VirtualInstrument inst(o);
    ASSERT_TRUE(inst.start());
    const UsbRefresh appeared = t.tick();
    EXPECT_EQ(appeared.verdict, 4);
    EXPECT_EQ(t.shown, QStringList({"0012345"}));
    EXPECT_EQ(t.usb.fResolvePort("0012345"), inst.portPath());

    inst.stop();
    const UsbRefresh gone = t.tick();
    EXPECT_TRUE(gone.cleared);
    EXPECT_TRUE(t.shown.isEmpty());
    EXPECT_EQ(t.usb.fResolvePort("0012345"), "");
}

} // namespace

// A tty class folder as sysfs has it: one link per tty to its device folder.
class FakeSysfs
{
public:
    QString classFolder() const { return m_root.path() + QStringLiteral("/class/tty"); }
    FakeSysfs() { QDir().mkpath(classFolder()); }

    void add(const QString &name, const QString &device)
    {
        QDir().mkpath(m_root.path() + QLatin1Char('/') + device);
        ASSERT_TRUE(QFile::link(QStringLiteral("../../") + device, classFolder() + QLatin1Char('/') + name));
    }
    void remove(const QString &name, const QString &device)
    {
        QFile::remove(classFolder() + QLatin1Char('/') + name);
        QDir(m_root.path() + QLatin1Char('/') + device).removeRecursively();
    }
    // The device goes and comes back at the same place: a new device folder.
    void replug(const QString &name, const QString &device)
    {
        const QString path = m_root.path() + QLatin1Char('/') + device;
        QDir().mkpath(path + QStringLiteral(".new"));
        remove(name, device);
        ASSERT_TRUE(QDir().rename(path + QStringLiteral(".new"), path));
        ASSERT_TRUE(QFile::link(QStringLiteral("../../") + device, classFolder() + QLatin1Char('/') + name));
    }
    void addPlainFile(const QString &name)
    {
        QFile f(classFolder() + QLatin1Char('/') + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }

private:
    QTemporaryDir m_root;
};

const QString kConsole = QStringLiteral("devices/virtual/tty/tty0");
const QString kUart = QStringLiteral("devices/platform/serial8250/tty/ttyS0");
const QString kBridge = QStringLiteral("devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/ttyUSB0/tty/ttyUSB0");
const QString kBridgeElsewhere = QStringLiteral("devices/pci0000:00/0000:00:14.0/usb1/1-3/1-3:1.0/ttyUSB0/tty/ttyUSB0");
const QString kModem = QStringLiteral("devices/platform/soc/3f980000.usb/usb1/1-1/1-1:1.0/tty/ttyACM0");

TEST(SerialPortInfoSource, UsbTtysAreTheLinksBelowAUsbBus)
{
    FakeSysfs sys;
    sys.add(QStringLiteral("tty0"), kConsole);
    sys.add(QStringLiteral("ttyS0"), kUart);
    auto ttys = SerialPortInfoSource::usbTtys(sys.classFolder());
    ASSERT_TRUE(ttys);
    EXPECT_TRUE(ttys->names.isEmpty());

    sys.add(QStringLiteral("ttyUSB0"), kBridge);
    sys.add(QStringLiteral("ttyACM0"), kModem);
    ttys = SerialPortInfoSource::usbTtys(sys.classFolder());
    ASSERT_TRUE(ttys);
    EXPECT_EQ(ttys->names, (QStringList{QStringLiteral("ttyACM0"), QStringLiteral("ttyUSB0")}));

    // An entry that is not a link, or no folder at all: cannot be told.
    sys.addPlainFile(QStringLiteral("ttyX"));
    EXPECT_FALSE(SerialPortInfoSource::usbTtys(sys.classFolder()));
    EXPECT_FALSE(SerialPortInfoSource::usbTtys(QStringLiteral("/nonexistent/tty")));
}

// The system's ports are enumerated only when the USB ttys changed or were not identified yet.
TEST(SerialPortInfoSource, EnumeratesOnlyWhenTheUsbTtysChanged)
{
    FakeSysfs sys;
    sys.add(QStringLiteral("tty0"), kConsole);
    sys.add(QStringLiteral("ttyS0"), kUart);
    QList<BridgeInfo> ports;
    SerialPortInfoSource source(sys.classFolder(), [&ports] { return ports; });
    const auto enumerations = [&source] { return source.enumerations(); };

    // No USB tty: no bridge, nothing enumerated.
    EXPECT_EQ(source.bridges(), QList<BridgeInfo>());
    EXPECT_EQ(enumerations(), 0);

    // A bridge appears before udev has its IDs: looked at again at every tick until it has them.
    sys.add(QStringLiteral("ttyUSB0"), kBridge);
    BridgeInfo unidentified = instrument(QStringLiteral("J0012345"), QStringLiteral("/dev/ttyUSB0"));
    unidentified.idsKnown = false;
    ports = {unidentified};
    EXPECT_EQ(source.bridges(), ports);
    EXPECT_EQ(source.bridges(), ports);
    EXPECT_EQ(enumerations(), 2);
    ports = {instrument(QStringLiteral("J0012345"), QStringLiteral("/dev/ttyUSB0"))};
    EXPECT_EQ(source.bridges(), ports);
    EXPECT_EQ(enumerations(), 3);
    // Nothing changed: the last list, not enumerated.
    ports.clear();
    EXPECT_EQ(source.bridges(), (QList<BridgeInfo>{instrument(QStringLiteral("J0012345"), QStringLiteral("/dev/ttyUSB0"))}));
    EXPECT_EQ(enumerations(), 3);

    // Another instrument plugged into the same socket between two ticks, one in another socket,
    // and a UART that is not USB: each change on USB is enumerated, the UART is not looked at.
    ports = {instrument(QStringLiteral("J0099999"), QStringLiteral("/dev/ttyUSB0"))};
    sys.replug(QStringLiteral("ttyUSB0"), kBridge);
    EXPECT_EQ(source.bridges(), ports);
    EXPECT_EQ(enumerations(), 4);
    sys.remove(QStringLiteral("ttyUSB0"), kBridge);
    sys.add(QStringLiteral("ttyUSB0"), kBridgeElsewhere);
    ports = {instrument(QStringLiteral("J0077777"), QStringLiteral("/dev/ttyUSB0"))};
    EXPECT_EQ(source.bridges(), ports);
    EXPECT_EQ(enumerations(), 5);
    sys.add(QStringLiteral("ttyS1"), QStringLiteral("devices/platform/serial8250/tty/ttyS1"));
    EXPECT_EQ(source.bridges(), ports);
    EXPECT_EQ(enumerations(), 5);

    // Unplugged: no bridge at once.
    sys.remove(QStringLiteral("ttyUSB0"), kBridgeElsewhere);
    EXPECT_EQ(source.bridges(), QList<BridgeInfo>());
    EXPECT_EQ(enumerations(), 5);
}

TEST(SerialPortInfoSource, AnUnreadableTtyFolderIsEnumeratedEveryTime)
{
    int calls = 0;
    SerialPortInfoSource source(QStringLiteral("/nonexistent/tty"), [&calls] {
        ++calls;
        return QList<BridgeInfo>{instrument(QStringLiteral("J0012345"), QStringLiteral("/dev/ttyUSB0"))};
    });
    EXPECT_EQ(source.bridges()->size(), 1);
    EXPECT_EQ(source.bridges()->size(), 1);
    EXPECT_EQ(calls, 2);
}
