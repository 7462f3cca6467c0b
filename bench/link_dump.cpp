// A 10,000-reading memory dump from the virtual instrument at 38,400 baud through the real serial
// link and download session: checks that every byte arrives, that the transfer keeps pace with
// the wire, and that the saved file holds every reading. The grid takes one line per 1 ms tick
// here (test builds may shorten the tick); the program takes one line per 100 ms.
//
//   bench_link_dump [readings] [baud]
#include "common/core/status_codes.h"
#include "link/core/download_session.h"
#include "link/core/download_view.h"
#include "link/core/link_state.h"
#include "link/core/memory_grid.h"
#include "link/core/record_decoder.h"
#include "link/core/serial_link_port.h"
#include "tools/ventsim/virtual_instrument.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

namespace {

class BenchView : public DownloadView
{
public:
    bool reselectDrive() override { return true; }
    void setDownloading(bool) override {}
    void setStatusLine(const QString &) override {}
    QString fileNameText() const override { return QStringLiteral("dump"); }
    void setFileNameText(const QString &) override {}
    QString folderPath() const override { return folder; }
    QString chosenInstrument() const override { return QStringLiteral("bench"); }
    void sFileList() override {}
    QString folder;
};

class NoBridges : public BridgeSource
{
public:
    std::optional<QList<BridgeInfo>> bridges() const override { return QList<BridgeInfo>(); }
};

double cpuSeconds()
{
    struct rusage u {};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString readings = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("10000");
    const qint32 baud = argc > 2 ? std::atoi(argv[2]) : 38400;

    InstrumentOptions options;
    options.baud = baud;
    options.records = readings;
    options.registerBridge = false;
    VirtualInstrument instrument(options);
    QString error;
    if (!instrument.start(&error)) {
        std::fprintf(stderr, "bench_link_dump: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    qint64 dumpBytes = 0;
    int dumpLines = 0;
    for (const QByteArray &l : instrument.wire().dumpLines(instrument.records())) {
        dumpBytes += l.size();
        ++dumpLines;
    }

    StringTable table;
    table.loadFile(QStringLiteral(":/strings/ventlink_strings.tsv"));
    LinkState state;
    state.texts = Texts(&table, UiVariant::English);
    loadLinkStrings(state);
    state.flags.enableUsb = 0; // every rate is tried, 38400 first

    QTemporaryDir dir;
    BenchView view;
    view.folder = dir.path();
    MemoryGrid grid;
    RecordDecoder decoder(state, grid);
    decoder.smChangeTitle(QStringLiteral("Type"));
    SerialLinkPort port(state, std::make_unique<NoBridges>());
    DownloadSession session(state, grid, decoder, view, port);
    session.setTickInterval(1);
    const QString portPath = instrument.portPath();
    session.setPortResolver([&portPath](const QString &) { return portPath; });

    // Count the bytes of the dump as they arrive and note when the last one came.
    qint64 received = 0;
    QElapsedTimer clock;
    qint64 firstByteMs = -1;
    qint64 lastByteMs = -1;
    auto inner = port.onReceived;
    port.onReceived = [&](const QByteArray &bytes) {
        if (firstByteMs < 0)
            firstByteMs = clock.elapsed();
        received += bytes.size();
        if (received >= dumpBytes && lastByteMs < 0)
            lastByteMs = clock.elapsed();
        inner(bytes);
    };
    QObject::connect(&instrument, &VirtualInstrument::commandReceived, [&](const QString &c) {
        if (c == QLatin1String("H"))
            clock.start();
    });

    const double cpu0 = cpuSeconds();
    session.cmdMeasuring_Click();
    while (state.idle != 1)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    const qint64 endMs = clock.elapsed();
    const double cpu = cpuSeconds() - cpu0;

    QFile file(dir.path() + QStringLiteral("/dump.CSV"));
    int fileLines = 0;
    if (file.open(QIODevice::ReadOnly))
        fileLines = int(file.readAll().count("\r\n"));

    const double wireSeconds = dumpBytes / (baud / 10.0);
    const double transferSeconds = (lastByteMs - firstByteMs) / 1000.0;
    std::printf("dump                 %s readings, %d lines, %lld bytes at %d baud\n",
                readings.toLocal8Bit().constData(), dumpLines, static_cast<long long>(dumpBytes), baud);
    std::printf("bytes received       %lld of %lld (%s)\n", static_cast<long long>(received),
                static_cast<long long>(dumpBytes), received == dumpBytes ? "none lost" : "LOST BYTES");
    std::printf("transfer             %.2f s (wire time at %d characters/s: %.2f s, %+.1f %%)\n",
                transferSeconds, baud / 10, wireSeconds, (transferSeconds / wireSeconds - 1) * 100);
    std::printf("grid filled, saved   %.2f s after the dump command (tick 1 ms; at 100 ms per line: %.0f s)\n",
                endMs / 1000.0, (dumpLines - 1 - options.ahLines) * 0.1);
    std::printf("grid rows            %d; file lines %d (3 heading lines, titles, rows)\n",
                grid.rowCount(), fileLines);
    std::printf("processor time       %.2f s for the whole download (probe included)\n", cpu);
    std::printf("status               %d (%s)\n", int(state.gLinkStatus),
                state.gLinkStatus == status::kSuccess ? "ok" : "FAILED");
    return received == dumpBytes && state.gLinkStatus == status::kSuccess ? 0 : 1;
}
