// Figures for File > Open of ventacq: a measurement file of 65,500 samples (written by the data
// file's own writer, atmosphere columns on) opened into the two data panels laid out side by side
// in a window, as the main window does it (RunOpener: read and check, then the run control's
// display path), then everything drawn once. Goals: under 1 s, peak memory under 150 MB.
//
// Usage: open_run_bench [samples] [repeats]   (default: 65500 5)
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include "acq/core/app_state.h"
#include "acq/core/data_file.h"
#include "acq/core/data_saver.h"
#include "acq/core/run_controller.h"
#include "acq/core/run_file_reader.h"
#include "acq/core/run_opener.h"
#include "acq/core/sample_table.h"
#include "acq/ui/data_panel.h"
#include "acq/ui/panel_display.h"
#include "acq/ui/time_chart.h"
#include "bench/panel_window.h"
#include "common/core/date_days.h"
#include "common/core/string_table.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSplitter>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {

long peakMegabytes()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024;
}

// The status bar and menus: not measured here.
class NoStatus : public RunStatusView
{
public:
    void sInitiStatusBar() override {}
    void sShowPrgStat() override {}
    void sShowDataStat() override {}
    void sShowMenuStat() override {}
    void sShowMeasuParam(qint32) override {}
    void setCaption(const QString &) override {}
};

class NoDialog : public FileDialog
{
public:
    Choice getSaveFileName(const QString &, const QVector<Filter> &) override { return {}; }
};

// A run of n samples at 1 s, as its data file: header and sample lines from the writer.
QByteArray runFile(AppState &state, int n)
{
    state.sampleTime = 1.0f;
    state.sampleCount = n;
    state.receivedCount = 0;
    SampleTable t;
    t.reset(n);
    for (int k = 1; k <= n; ++k) {
        const double v = 8 + 5 * std::sin(k / 40.0);
        t.set(k, SampleTable::kVelocity, QString::number(v, 'f', 2));
        t.set(k, SampleTable::kFlow, QString::number(v * 36, 'f', 1));
        t.set(k, SampleTable::kPressure, QStringLiteral("1013.2"));
        t.set(k, SampleTable::kFlag, k % 50 == 0 ? QStringLiteral("3") : QStringLiteral("1"));
    }
    const double start = DateDays::fromDate(QDate(2024, 5, 1), QTime(9, 0));
    return DataFile::header(state) + DataFile::sampleLines(state, t, n, 1, start);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int samples = argc > 1 ? std::max(1, atoi(argv[1])) : 65500;
    const int repeats = argc > 2 ? std::max(1, atoi(argv[2])) : 5;

    StringTable strings;
    strings.loadFile(QStringLiteral(":/strings/ventacq_strings.tsv"));
    AppState state;
    state.texts = Texts(&strings, UiVariant::English);
    fLoadCommonStrings(state);
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/run.CSV");
    {
        QFile f(path);
        const QByteArray bytes = runFile(state, samples);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        std::printf("file: %d samples, %.1f MB\n", samples, double(bytes.size()) / 1e6);
    }
    state.lastDataPath = dir.path() + QStringLiteral("/VL4402Data.VXD");
    state.currentDir = dir.path();

    QSplitter window(Qt::Horizontal);
    PanelDisplay *display = showPanelWindow(state, window);

    NoStatus status;
    NoDialog files;
    RunController run(state, *display, status, {}, nullptr);
    DataSaver saver(state, files, &status);
    RunOpener opener(state, files, saver, run);
    const long baseline = peakMegabytes();

    std::vector<double> readMs, openMs, drawnMs;
    for (int i = 0; i < repeats; ++i) {
        QElapsedTimer t;
        t.start();
        RunFile parsed;
        RunFileReader(strings).readFile(path, &parsed);
        readMs.push_back(double(t.nsecsElapsed()) / 1e6);
        if (i == 0)
            std::printf("peak memory after reading the file alone: %ld MB\n", peakMegabytes());

        t.restart();
        if (!opener.fOpenRun(path) || state.receivedCount != samples) {
            std::fprintf(stderr, "the file was not opened\n");
            return 1;
        }
        openMs.push_back(double(t.nsecsElapsed()) / 1e6);
        // Everything asked for drawn: the charts' pending redraws and the widgets' paint events.
        display->velocity()->chart()->flushReplot();
        display->flow()->chart()->flushReplot();
        window.repaint();
        QApplication::processEvents();
        drawnMs.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    std::printf("read and check only:          %8.1f ms (median of %d)\n", median(readMs), repeats);
    std::printf("open (read, tables, charts):  %8.1f ms (first %.1f)\n", median(openMs), openMs.front());
    std::printf("open and drawn:               %8.1f ms (first %.1f)   goal < 1000 ms\n",
                median(drawnMs), drawnMs.front());
    std::printf("peak memory: %ld MB (%ld MB before the first open)   goal < 150 MB\n",
                peakMegabytes(), baseline);
    return 0;
}
