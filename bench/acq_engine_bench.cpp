// Decoding and data-file figures for the README:
//   bench_acq_engine [--benchmark_filter=...]
// DecodeSample: sample texts decoded into the sample table, per second.
// AppendBatch/n: batches of n samples appended to the data file (open, one write, flush, close).
// WholeRun: a 65,500-sample run appended in batches of 10; the cost of a batch in the last tenth
// of the run against one in the first tenth (ratio ~1: the file is appended, never rewritten):
// the median thread CPU time (what the program spends) and the mean wall time (with what the
// system adds; noisy on a busy machine).
// WholeRunStatistics: the run's statistics fed the same 65,500 samples in batches of 10; the
// thread CPU per sample in the last tenth of the run against the first tenth (ratio ~1: constant
// cost a sample), and the figures of a 3,600-sample page in a chart's window at the end of the run.
// TenthSecondRun/0 and /1: one minute of a run at 0.1 s a sample (600 batches of one sample)
// without and with the syncs of the data file (paced by a clock that moves 100 ms a batch: 60
// syncs), in a folder under the current one (a disk, where /tmp may be memory). Per second of run:
// the thread CPU of the appends, the wall time they take, and the longest batch.
#include "acq/core/app_state.h"
#include "acq/core/chart_series.h"
#include "acq/core/data_file.h"
#include "acq/core/data_file_sync.h"
#include "acq/core/run_statistics.h"
#include "acq/core/sample_decoder.h"
#include "acq/core/sample_table.h"
#include "common/core/date_days.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <memory>
#include <numeric>
#include <vector>

namespace {

StringTable &table()
{
    static StringTable t;
    if (t.isEmpty())
        t.loadFile(QStringLiteral(VENT_SOURCE_DIR "/resources/ventacq_strings.tsv"));
    return t;
}

AppState makeState()
{
    AppState s;
    s.texts = Texts(&table(), UiVariant::English);
    fLoadCommonStrings(s);
    s.sampleTime = 0.5f;
    s.sampleCount = 65500;
    s.ductWidth = 100;
    s.ductHeight = 200;
    s.ductArea = 20000;
    s.startTime = DateDays::fromDate(QDate(2013, 5, 1), QTime(10, 0, 0));
    return s;
}

void fill(const AppState &state, SampleTable &t, int n)
{
    t.reset(n);
    for (int i = 1; i <= n; ++i)
        decodeSampleText(state, QStringLiteral("3.25,234.00,10132,1"), t, i);
}

void DecodeSample(benchmark::State &bs)
{
    const AppState state = makeState();
    SampleTable t;
    t.reset(1);
    const QString text = QStringLiteral("3.25,234.00,10132,1");
    for (auto _ : bs) {
        decodeSampleText(state, text, t, 1);
        benchmark::DoNotOptimize(t);
    }
    bs.SetItemsProcessed(bs.iterations());
}
BENCHMARK(DecodeSample);

void AppendBatch(benchmark::State &bs)
{
    AppState state = makeState();
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/VL4402Data.VXD");
    SampleTable t;
    const int n = int(bs.range(0));
    fill(state, t, n);
    state.receivedCount = 0;
    fSaveDataVXDFile(state, t, path, n, state.startTime);
    state.receivedCount = n;
    for (auto _ : bs) {
        if (!fSaveDataVXDFile(state, t, path, n, state.startTime))
            bs.SkipWithError("write failed");
        state.receivedCount += n;
        if (state.receivedCount > 60000) { // keep the file at run size
            bs.PauseTiming();
            state.receivedCount = 0;
            fSaveDataVXDFile(state, t, path, n, state.startTime);
            state.receivedCount = n;
            bs.ResumeTiming();
        }
    }
    bs.SetItemsProcessed(bs.iterations() * n);
}
BENCHMARK(AppendBatch)->Arg(1)->Arg(10)->Arg(100);

double threadCpuUs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e6 + double(t.tv_nsec) / 1000.0;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void WholeRun(benchmark::State &bs)
{
    constexpr int kBatch = 10;
    constexpr int kSamples = 65500;
    AppState state = makeState();
    SampleTable t;
    fill(state, t, kBatch);
    double cpuFirst = 0, cpuLast = 0, wallFirst = 0, wallLast = 0;
    for (auto _ : bs) {
        QTemporaryDir dir;
        const QString path = dir.path() + QStringLiteral("/VL4402Data.VXD");
        std::vector<double> cpu;
        std::vector<double> wall;
        state.receivedCount = 0;
        QElapsedTimer timer;
        while (state.receivedCount < kSamples) {
            const double c0 = threadCpuUs();
            timer.start();
            fSaveDataVXDFile(state, t, path, kBatch, state.startTime);
            wall.push_back(double(timer.nsecsElapsed()) / 1000.0);
            cpu.push_back(threadCpuUs() - c0);
            state.receivedCount += kBatch;
        }
        // The first batch writes the header too: the first tenth starts with the second batch.
        const std::ptrdiff_t tenth = std::ptrdiff_t(cpu.size() / 10);
        auto window = [&](const std::vector<double> &v, bool last) {
            return last ? std::vector<double>(v.end() - tenth, v.end())
                        : std::vector<double>(v.begin() + 1, v.begin() + 1 + tenth);
        };
        auto mean = [](const std::vector<double> &v) {
            return std::accumulate(v.begin(), v.end(), 0.0) / double(v.size());
        };
        cpuFirst = median(window(cpu, false));
        cpuLast = median(window(cpu, true));
        wallFirst = mean(window(wall, false));
        wallLast = mean(window(wall, true));
    }
    bs.counters["cpu_first_us"] = cpuFirst;
    bs.counters["cpu_last_us"] = cpuLast;
    bs.counters["cpu_last_over_first"] = cpuLast / cpuFirst;
    bs.counters["wall_first_us"] = wallFirst;
    bs.counters["wall_last_us"] = wallLast;
    bs.counters["wall_last_over_first"] = wallLast / wallFirst;
    bs.SetItemsProcessed(bs.iterations() * kSamples);
}
BENCHMARK(WholeRun)->Unit(benchmark::kMillisecond)->Iterations(3);

void WholeRunStatistics(benchmark::State &bs)
{
    constexpr int kBatch = 10;
    constexpr int kSamples = 65500;
    constexpr int kGroup = 50; // batches timed together: 500 samples
    const AppState state = makeState();
    // Ten different samples, one of them a gap.
    SampleTable t;
    t.reset(kBatch);
    for (int i = 1; i <= kBatch; ++i) {
        const QString text = i == 7 ? QStringLiteral("Err,Err,10132,3")
                                    : QStringLiteral("%1.%2,%3.50,10132,1").arg(i).arg(i * 7 % 100).arg(200 + i);
        decodeSampleText(state, text, t, i);
    }
    double firstNs = 0, lastNs = 0, pageUs = 0;
    for (auto _ : bs) {
        RunStatistics run;
        std::vector<double> perSample;
        for (int done = 0; done < kSamples;) {
            const double c0 = threadCpuUs();
            int n = 0;
            for (int b = 0; b < kGroup && done < kSamples; ++b, done += kBatch, n += kBatch)
                run.addBatch(t, kBatch);
            perSample.push_back((threadCpuUs() - c0) * 1000.0 / n);
        }
        benchmark::DoNotOptimize(run.velocity().mean());
        const std::ptrdiff_t tenth = std::ptrdiff_t(perSample.size() / 10);
        firstNs = median(std::vector<double>(perSample.begin(), perSample.begin() + tenth));
        lastNs = median(std::vector<double>(perSample.end() - tenth, perSample.end()));

        // The page on display at the end: 3,600 samples of a chart of the whole run.
        ChartSeries series;
        series.reset(1);
        for (int k = 1; k <= kSamples; ++k)
            series.setPoint(k, 36000.0 + 0.5 * k, double(k % 97) / 10.0);
        const double x0 = 36000.0 + 0.5 * (kSamples - 3600);
        const double c0 = threadCpuUs();
        const SampleStatistics page = RunStatistics::page(series, x0, x0 + 1800.5, 0.5f, kSamples);
        pageUs = threadCpuUs() - c0;
        if (page.count() != 3600)
            bs.SkipWithError("wrong page");
    }
    bs.counters["ns_per_sample_first"] = firstNs;
    bs.counters["ns_per_sample_last"] = lastNs;
    bs.counters["last_over_first"] = lastNs / firstNs;
    bs.counters["page_3600_us"] = pageUs;
    bs.SetItemsProcessed(bs.iterations() * kSamples);
}
BENCHMARK(WholeRunStatistics)->Unit(benchmark::kMillisecond)->Iterations(3);

void TenthSecondRun(benchmark::State &bs)
{
    constexpr int kBatches = 600;
    constexpr qint64 kStepMs = 100;
    const bool synced = bs.range(0) != 0;
    AppState state = makeState();
    state.sampleTime = 0.1f;
    SampleTable t;
    fill(state, t, 1);
    double cpuUs = 0, wallUs = 0, longestMs = 0;
    int syncs = 0;
    for (auto _ : bs) {
        auto dir = std::make_unique<QTemporaryDir>(QDir::currentPath() + QStringLiteral("/bench-XXXXXX"));
        if (!dir->isValid())
            dir = std::make_unique<QTemporaryDir>();
        const QString path = dir->path() + QStringLiteral("/VL4402Data.VXD");
        qint64 now = 0;
        DataFileSync sync([&now] { return now; });
        state.receivedCount = 0;
        const double c0 = threadCpuUs();
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < kBatches; ++i, now += kStepMs) {
            const qint64 before = timer.nsecsElapsed();
            if (!fSaveDataVXDFile(state, t, path, 1, state.startTime, synced ? &sync : nullptr))
                bs.SkipWithError("write failed");
            longestMs = std::max(longestMs, double(timer.nsecsElapsed() - before) / 1e6);
            state.receivedCount += 1;
        }
        if (synced)
            sync.finish(path);
        wallUs += double(timer.nsecsElapsed()) / 1000.0;
        cpuUs += threadCpuUs() - c0;
        syncs += sync.syncCount();
    }
    const double runSeconds = double(bs.iterations()) * kBatches * kStepMs / 1000.0;
    bs.counters["cpu_us_per_run_s"] = cpuUs / runSeconds;
    bs.counters["cpu_percent"] = cpuUs / runSeconds / 1e4;
    bs.counters["wall_ms_per_run_s"] = wallUs / 1000.0 / runSeconds;
    bs.counters["longest_batch_ms"] = longestMs;
    bs.counters["syncs_per_run_s"] = double(syncs) / runSeconds;
}
BENCHMARK(TenthSecondRun)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
