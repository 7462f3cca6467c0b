// A 10,000-reading memory dump from the virtual instrument at 38,400 baud into ventlink's main
// window (shown offscreen unless a platform is set), through the real serial link, download
// session, grid and CSV writer, at the program's own 100 ms tick. The instrument runs in a thread
// of its own, so the processor time of the main thread is the program's alone. Prints:
// - the bytes received and the transfer time against the wire time (goal: none lost, wire speed);
// - the time from the last byte to the CSV file on disk (goal: under 1 s);
// - the processor time of the program during the transfer (goal: under 5 % of a core).
//
//   bench_link_dump [readings] [baud]
#include "common/core/settings_store.h"
#include "common/core/status_codes.h"
#include "common/ui/data_grid.h"
#include "link/core/download_session.h"
#include "link/core/link_state.h"
#include "link/core/serial_link_port.h"
#include "link/ui/main_window.h"
#include "tools/ventsim/virtual_instrument.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMutex>
#include <QTemporaryDir>
#include <QThread>
#include <QWaitCondition>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>

namespace {

class NoBridges : public BridgeSource
{
public:
    std::optional<QList<BridgeInfo>> bridges() const override { return QList<BridgeInfo>(); }
};

double threadCpuSeconds()
{
    timespec t {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + t.tv_nsec / 1e9;
}

// The virtual instrument in its own thread and event loop.
class InstrumentThread : public QThread
{
public:
    explicit InstrumentThread(InstrumentOptions options) : m_options(std::move(options)) {}
    QString portPath;
    qint64 dumpBytes = 0;
    int dumpLines = 0;
    QString error;

    void begin()
    {
        QMutexLocker lock(&m_mutex);
        start();
        m_ready.wait(&m_mutex);
    }

protected:
    void run() override
    {
        VirtualInstrument instrument(m_options);
        {
            QMutexLocker lock(&m_mutex);
            if (instrument.start(&error)) {
                portPath = instrument.portPath();
                for (const QByteArray &l : instrument.wire().dumpLines(instrument.records())) {
                    dumpBytes += l.size();
                    ++dumpLines;
                }
            }
            m_ready.wakeAll();
        }
        if (!portPath.isEmpty())
            exec();
    }

private:
    InstrumentOptions m_options;
    QMutex m_mutex;
    QWaitCondition m_ready;
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString readings = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("10000");
    const qint32 baud = argc > 2 ? std::atoi(argv[2]) : 38400;

    InstrumentOptions options;
    options.baud = baud;
    options.records = readings;
    options.registerBridge = false;
    InstrumentThread instrument(options);
    instrument.begin();
    if (instrument.portPath.isEmpty()) {
        instrument.wait();
        std::fprintf(stderr, "bench_link_dump: %s\n", instrument.error.toLocal8Bit().constData());
        return 1;
    }

    StringTable table;
    table.loadFile(QStringLiteral(":/strings/ventlink_strings.tsv"));
    LinkState state;
    state.texts = Texts(&table, UiVariant::English);
    loadLinkStrings(state);

    QTemporaryDir dir;
    std::unique_ptr<SettingsStore> store = SettingsStore::forFile(dir.path() + "/ventlink.ini");
    OptionFlags flags;
    flags.enableUsb = 0; // every rate is tried, 38400 first
    flags.save(*store);
    store->writeText(QStringLiteral("Path"), QStringLiteral("Driver"), QStringLiteral("/"));
    store->writeText(QStringLiteral("Path"), QStringLiteral("Path"), dir.path());
    SerialLinkPort port(state, std::make_unique<NoBridges>());
    LinkMainWindow window(state, *store, port);
    window.setInstrumentScan([](PortTables &t) {
        t.gSerialNos[1] = QStringLiteral("0012345");
        t.gPortNames[1] = QStringLiteral("bench");
        return true;
    });
    const QString portPath = instrument.portPath;
    window.session().setPortResolver([&portPath](const QString &) { return portPath; });
    window.resize(786, 621);
    window.show();
    window.tmrUSB_Timer();
    window.txtFileName()->setText(QStringLiteral("dump"));

    // The bytes of the dump as they arrive: when the first and the last came, and the processor
    // time of this thread at both.
    qint64 received = 0;
    QElapsedTimer clock;
    clock.start();
    qint64 firstByteMs = -1;
    qint64 lastByteMs = -1;
    double cpuFirst = 0;
    double cpuLast = 0;
    auto inner = port.onReceived;
    port.onReceived = [&](const QByteArray &bytes) {
        if (firstByteMs < 0) {
            firstByteMs = clock.elapsed();
            cpuFirst = threadCpuSeconds();
        }
        received += bytes.size();
        if (received >= instrument.dumpBytes && lastByteMs < 0) {
            lastByteMs = clock.elapsed();
            cpuLast = threadCpuSeconds();
        }
        inner(bytes);
    };
    qint64 savedMs = -1;
    const QString csv = dir.path() + QStringLiteral("/dump.CSV");
    QObject::connect(&window.session(), &DownloadSession::stopped, [&] {
        if (QFile::exists(csv))
            savedMs = clock.elapsed();
    });

    const double cpu0 = threadCpuSeconds();
    window.session().cmdMeasuring_Click();
    while (state.idle != 1)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    const double cpuAll = threadCpuSeconds() - cpu0;
    instrument.quit();
    instrument.wait();

    QFile file(csv);
    int fileLines = 0;
    if (file.open(QIODevice::ReadOnly))
        fileLines = int(file.readAll().count("\r\n"));

    const double wireSeconds = instrument.dumpBytes / (baud / 10.0);
    const double transferSeconds = (lastByteMs - firstByteMs) / 1000.0;
    const double transferCpu = cpuLast - cpuFirst;
    std::printf("dump                 %s readings, %d lines, %lld bytes at %d baud\n",
                readings.toLocal8Bit().constData(), instrument.dumpLines,
                static_cast<long long>(instrument.dumpBytes), baud);
    std::printf("bytes received       %lld of %lld (%s)\n", static_cast<long long>(received),
                static_cast<long long>(instrument.dumpBytes),
                received == instrument.dumpBytes ? "none lost" : "LOST BYTES");
    std::printf("transfer             %.2f s (wire time at %d characters/s: %.2f s, %+.1f %%)\n",
                transferSeconds, baud / 10, wireSeconds, (transferSeconds / wireSeconds - 1) * 100);
    std::printf("last byte to file    %.0f ms (tick %d ms, at most %d ms of lines per tick)\n",
                savedMs >= 0 && lastByteMs >= 0 ? double(savedMs - lastByteMs) : -1.0,
                DownloadSession::kTickMs, DownloadSession::kTickBudgetMs);
    std::printf("cpu during transfer  %.2f %% of one core (%.3f s in %.2f s)\n",
                transferSeconds > 0 ? 100.0 * transferCpu / transferSeconds : -1.0, transferCpu,
                transferSeconds);
    std::printf("grid rows            %d; file lines %d (3 heading lines, titles, rows)\n",
                window.vaSpdData()->grid()->gridRowCount(), fileLines);
    std::printf("processor time       %.2f s for the whole download (probe included)\n", cpuAll);
    std::printf("status               %d (%s)\n", int(state.gLinkStatus),
                state.gLinkStatus == status::kSuccess && savedMs >= 0 ? "ok" : "FAILED");
    return received == instrument.dumpBytes && state.gLinkStatus == status::kSuccess && savedMs >= 0
        ? 0
        : 1;
}
