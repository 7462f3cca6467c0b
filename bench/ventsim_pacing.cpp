// Measures the virtual instrument's pacing over a real pseudo-terminal: for each rate, a dump of
// the 1,000-reading memory is read for about two seconds by a QSerialPort in the same event loop.
// Prints the measured character rate against the nominal one, the longest gap between arrivals,
// and the CPU time the process used per second of transfer.
#include "tools/ventsim/virtual_instrument.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSerialPort>
#include <QTimer>

#include <cstdio>
#include <ctime>

namespace {

struct Figures
{
    double rate = 0;
    double maxGapMs = 0;
    double cpuPerSecond = 0;
    qint64 bytes = 0;
};

Figures measure(qint32 baud, double seconds)
{
    InstrumentOptions o;
    o.baud = baud;
    o.registerBridge = false;
    o.records = QStringLiteral("10000");
    VirtualInstrument inst(o);
    Figures f;
    if (!inst.start())
        return f;
    QSerialPort port(inst.portPath());
    port.setBaudRate(baud);
    if (!port.open(QIODevice::ReadWrite))
        return f;
    QElapsedTimer clock;
    qint64 firstAt = -1, lastAt = 0, firstBytes = 0;
    QObject::connect(&port, &QSerialPort::readyRead, [&] {
        const qint64 now = clock.nsecsElapsed();
        const qint64 n = port.readAll().size();
        if (firstAt < 0) {
            firstAt = now;
            firstBytes = n;
        } else {
            f.maxGapMs = std::max(f.maxGapMs, (now - lastAt) / 1e6);
        }
        lastAt = now;
        f.bytes += n;
    });
    QEventLoop loop;
    QTimer::singleShot(int(seconds * 1000), &loop, &QEventLoop::quit);
    const std::clock_t cpu = std::clock();
    clock.start();
    port.write("H\r\n");
    loop.exec();
    const double cpuSeconds = double(std::clock() - cpu) / CLOCKS_PER_SEC;
    if (lastAt > firstAt)
        f.rate = double(f.bytes - firstBytes) / ((lastAt - firstAt) / 1e9);
    f.cpuPerSecond = cpuSeconds / seconds;
    return f;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    std::printf("%-8s %12s %12s %9s %12s %14s\n", "baud", "nominal c/s", "measured c/s", "error",
                "max gap ms", "CPU s per s");
    for (const qint32 baud : {38400, 19200, 9600, 4800}) {
        const Figures f = measure(baud, 2.0);
        const double nominal = baud / 10.0;
        std::printf("%-8d %12.0f %12.1f %8.2f%% %12.1f %14.4f\n", int(baud), nominal, f.rate,
                    100.0 * (f.rate - nominal) / nominal, f.maxGapMs, f.cpuPerSecond);
    }
    return 0;
}
