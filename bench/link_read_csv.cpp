// Reads a saved CSV file of 100,000 rows into the main window's grid (the shared DataGrid, shown
// offscreen) and prints the time and the memory it took. Goal: under 1 s and under 150 MB.
//
//   bench_link_read_csv [rows]
#include "common/core/status_codes.h"
#include "common/ui/data_grid.h"
#include "link/core/csv_reader.h"
#include "link/core/link_state.h"
#include "link/core/record_decoder.h"
#include "link/ui/data_grid_records.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

namespace {

long peakRssKb()
{
    struct rusage u {};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

double cpuMs()
{
    struct rusage u {};
    getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000.0
        + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1000.0;
}

long currentRssKb()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> parts = f.readAll().split(' ');
    return parts.size() > 1 ? parts[1].toLong() * 4 : 0;
}

QByteArray makeFile(int rows)
{
    QByteArray out = "Ventolux PC-LINK Software\r\nDate,2024-05-06 07:08\r\n\r\n"
                     "No,X,Y,inch/mm,No,Vel(m/s),Temp( deg.C ),ATM(hPa),ATM F,\r\n";
    out.reserve(rows * 48);
    for (int r = 1; r <= rows; ++r) {
        if (r % 5 == 1)
            out += QByteArray::number(r / 5 + 1).rightJustified(4, '0') + ",  " + QByteArray::number(100 + r % 900)
                   + ",  " + QByteArray::number(200 + r % 700) + ",mm,";
        else
            out += ",,,,";
        out += QByteArray::number(r % 5 + 1).rightJustified(2, '0') + "," + QByteArray::number(2.0 + (r % 300) / 100.0, 'f', 2)
               + ",22." + QByteArray::number(r % 10) + ",";
        out += r % 5 == 1 ? "1013,1,\r\n" : ",,\r\n";
    }
    return out;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 100000;

    StringTable table;
    table.loadFile(QStringLiteral(":/strings/ventlink_strings.tsv"));
    LinkState state;
    state.texts = Texts(&table, UiVariant::English);
    loadLinkStrings(state);

    DataGrid grid;
    grid.resize(800, 600);
    grid.show();
    DataGridRecords records(&grid);
    RecordDecoder decoder(state, records);
    decoder.smChangeTitle(QStringLiteral("Type"));
    app.processEvents();

    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/big.CSV");
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(makeFile(rows));
    }
    const long before = currentRssKb();

    QElapsedTimer clock;
    const double cpuBefore = cpuMs();
    clock.start();
    CsvReader reader(state, records);
    const qint16 result = reader.readFile(path);
    const qint64 readMs = clock.elapsed();
    grid.scrollToBottom();
    app.processEvents(); // the grid lays out and paints
    const qint64 shownMs = clock.elapsed();
    const double cpu = cpuMs() - cpuBefore;

    std::printf("rows read          %d (%s)\n", records.rowCount() - 1,
                result == status::kSuccess ? "ok" : "FAILED");
    std::printf("read into grid     %lld ms\n", static_cast<long long>(readMs));
    std::printf("read and shown     %lld ms (goal < 1000 ms)\n", static_cast<long long>(shownMs));
    std::printf("processor time     %.0f ms (the wall-clock figures include waiting on a busy machine)\n", cpu);
    std::printf("memory added       %.1f MB (resident, after the read)\n", (currentRssKb() - before) / 1024.0);
    std::printf("peak resident      %.1f MB for the whole program (goal < 150 MB)\n", peakRssKb() / 1024.0);
    return result == status::kSuccess ? 0 : 1;
}
