// Whole-program figures of ventacq, each next to a bare Qt window (bench_bare_window) measured the
// same way in the same run:
//
//   bench_acq_window startup [runs]   time from start to the main window shown, without the splash
//                                     pause: median of `runs` starts (default 9) after one warm-up
//   bench_acq_window cpu [seconds]    CPU and wake-ups during two live runs from ventsim at the same
//                                     time, one at 1 sample per second and one at 0.1 s (default
//                                     60 s), read from /proc/<pid>/stat and /proc/<pid>/task/*/status
//
// The windows go to the Qt platform of the environment (run under xvfb-run for a real X server, or
// with QT_QPA_PLATFORM=offscreen). Every program gets its own settings, data and runtime folders
// in a temporary folder, so the user's settings, data file and instruments are never touched.
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <unistd.h>
#include <vector>

namespace {

constexpr double kStartupGoalMs = 300;
// An 18-hour run at 1 sample per second should let the machine sleep between samples.
constexpr double kCpuGoalPercentSlow = 0.2;  // 1 sample per second
constexpr double kWakeupGoalSlow = 5;        // wake-ups per second at 1 sample per second
constexpr double kCpuGoalPercentFast = 1.0;  // 0.1 s

const char *platformName()
{
    const QByteArray p = qgetenv("QT_QPA_PLATFORM");
    if (!p.isEmpty())
        return p == "offscreen" ? "offscreen" : p.constData();
    return qEnvironmentVariableIsSet("DISPLAY") ? "xcb (X server)" : "default";
}

void pause(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

// A private set of XDG folders for the programs started here.
struct Sandbox
{
    QTemporaryDir root;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();

    bool make()
    {
        if (!root.isValid())
            return false;
        for (const char *d : {"config", "data", "cache", "runtime"})
            QDir(root.path()).mkpath(QLatin1String(d));
        QFile::setPermissions(dir("runtime"), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                  | QFileDevice::ExeOwner);
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir("config"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), dir("data"));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), dir("cache"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir("runtime"));
        env.insert(QStringLiteral("LANG"), QStringLiteral("en_US.UTF-8"));
        env.remove(QStringLiteral("LC_ALL"));
        env.remove(QStringLiteral("LC_MESSAGES"));
        env.remove(QStringLiteral("LANGUAGE"));
        return true;
    }
    QString dir(const char *name) const { return root.path() + QLatin1Char('/') + QLatin1String(name); }
};

// ---------------------------------------------------------------------------------------------
// Start-up

struct StartFigures
{
    double launchedMs = -1; // from the start of the process to the line (loading included)
    double reportedMs = -1; // the program's own figure: from main() to the window shown
    double cpuMs = -1;      // processor time of the program until then (loading included)
};

std::optional<StartFigures> timeStart(const QString &program, const QStringList &args,
                                      const QProcessEnvironment &env)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::SeparateChannels);
    QElapsedTimer clock;
    clock.start();
    p.start(program, args);
    StartFigures f;
    QByteArray out;
    while (f.launchedMs < 0 && p.waitForReadyRead(20000)) {
        out += p.readAllStandardOutput();
        const int at = out.indexOf("shown after ");
        if (at >= 0 && out.indexOf('\n', at) > at) {
            f.launchedMs = clock.nsecsElapsed() / 1e6;
            f.reportedMs = out.mid(at + 12).split(' ').value(0).toDouble();
            const int cpuAt = out.indexOf("(CPU ", at);
            if (cpuAt > 0)
                f.cpuMs = out.mid(cpuAt + 5).split(' ').value(0).toDouble();
        }
    }
    if (!p.waitForFinished(10000)) {
        p.kill();
        p.waitForFinished();
    }
    if (f.launchedMs < 0) {
        std::fprintf(stderr, "bench_acq_window: %s did not report its window:\n%s\n",
                     qPrintable(program), p.readAllStandardError().constData());
        return std::nullopt;
    }
    return f;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

int startup(int runs)
{
    Sandbox box;
    if (!box.make())
        return 1;
    QProcessEnvironment acqEnv = box.env;
    acqEnv.insert(QStringLiteral("VENTACQ_BENCH_STARTUP"), QStringLiteral("1"));

    std::vector<double> acqLaunched, acqReported, acqCpu, bareLaunched, bareReported, bareCpu;
    // One warm-up start of each (disk cache, font cache), then the two alternate.
    for (int i = -1; i < runs; ++i) {
        const auto a = timeStart(QStringLiteral(VENTACQ_PATH), {}, acqEnv);
        const auto b = timeStart(QStringLiteral(BARE_WINDOW_PATH), {QStringLiteral("--startup")}, box.env);
        if (!a || !b)
            return 1;
        if (i < 0)
            continue;
        acqLaunched.push_back(a->launchedMs);
        acqReported.push_back(a->reportedMs);
        acqCpu.push_back(a->cpuMs);
        bareLaunched.push_back(b->launchedMs);
        bareReported.push_back(b->reportedMs);
        bareCpu.push_back(b->cpuMs);
    }
    const auto row = [](const char *name, const std::vector<double> &launched,
                        const std::vector<double> &reported, const std::vector<double> &cpu,
                        const char *goal) {
        std::printf("%-20s %8.0f ms %8.0f ms %8.0f ms %12.0f ms %8.0f ms   %s\n", name, median(launched),
                    *std::min_element(launched.begin(), launched.end()),
                    *std::max_element(launched.begin(), launched.end()), median(reported),
                    median(cpu), goal);
    };
    std::printf("start to main window shown, no splash pause (%s), %d starts each after a warm-up\n",
                platformName(), runs);
    std::printf("%-20s %11s %11s %11s %15s %11s   %s\n", "program", "median", "min", "max",
                "main() to shown", "CPU", "goal");
    const double acq = median(acqLaunched);
    const double bare = median(bareLaunched);
    char goal[64];
    std::snprintf(goal, sizeof goal, "< %.0f ms: %s", kStartupGoalMs, acq < kStartupGoalMs ? "met" : "MISSED");
    row("ventacq", acqLaunched, acqReported, acqCpu, goal);
    row("bench_bare_window", bareLaunched, bareReported, bareCpu, "");
    std::printf("(median: from the start of the process to the window shown, loading included; "
                "main() to shown: the program's own clock; CPU: its processor time until shown)\n");
    std::printf("RESULT startup %s: ventacq %.0f ms, bare window %.0f ms, difference %.0f ms, goal < %.0f ms: %s\n",
                platformName(), acq, bare, acq - bare, kStartupGoalMs, acq < kStartupGoalMs ? "met" : "MISSED");
    return 0;
}

// ---------------------------------------------------------------------------------------------
// CPU during a live run

struct ProcFigures
{
    double cpuSeconds = 0;
    qint64 switches = 0; // context switches of all threads: how often the process woke up
    bool ok = false;
};

ProcFigures readProc(qint64 pid)
{
    ProcFigures f;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return f;
    const QByteArray text = stat.readAll();
    // The command name is in parentheses and may hold spaces: fields count after the last ')'.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return f;
    const double tick = double(sysconf(_SC_CLK_TCK));
    f.cpuSeconds = (fields[11].toLongLong() + fields[12].toLongLong()) / tick; // utime, stime
    QDirIterator tasks(QStringLiteral("/proc/%1/task").arg(pid), QDir::Dirs | QDir::NoDotAndDotDot);
    while (tasks.hasNext()) {
        QFile status(tasks.next() + QStringLiteral("/status"));
        if (!status.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("voluntary_ctxt_switches:") || line.startsWith("nonvoluntary_ctxt_switches:"))
                f.switches += line.mid(line.indexOf(':') + 1).trimmed().toLongLong();
        }
    }
    f.ok = true;
    return f;
}

// The X server of DISPLAY when it is an Xvfb of this machine (xvfb-run), else 0.
qint64 xvfbPid()
{
    const QByteArray display = qgetenv("DISPLAY");
    if (display.isEmpty() || qgetenv("QT_QPA_PLATFORM") == "offscreen")
        return 0;
    const QByteArray number = display.mid(display.indexOf(':')).split('.').value(0);
    const QStringList procs = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : procs) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        if (!isPid)
            continue;
        QFile cmd(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (!cmd.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> args = cmd.readAll().split('\0');
        if (args.value(0).endsWith("Xvfb") && args.contains(number))
            return pid;
    }
    return 0;
}

// The load average of the machine (1, 5 and 15 minutes): a busy machine wakes its programs late.
QByteArray loadAverage()
{
    QFile f(QStringLiteral("/proc/loadavg"));
    if (!f.open(QIODevice::ReadOnly))
        return "?";
    const QList<QByteArray> fields = f.readAll().split(' ');
    return fields.mid(0, 3).join(' ');
}

// Samples in the data file: its lines after the nine header lines.
int sampleLines(const QString &path)
{
    constexpr int kHeaderLines = 9;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    return std::max(0, int(f.readAll().count('\n')) - kHeaderLines);
}

QString findFile(const QString &root, const QString &name)
{
    QDirIterator it(root, {name}, QDir::Files, QDirIterator::Subdirectories);
    return it.hasNext() ? it.next() : QString();
}

void end(QProcess &p)
{
    if (p.state() == QProcess::NotRunning)
        return;
    p.terminate();
    if (!p.waitForFinished(5000)) {
        p.kill();
        p.waitForFinished();
    }
}

// One live run of ventacq with its own instrument: a sandbox, a ventsim registered in it, ventacq
// started with stored parameters for instant sampling at `interval` and as many samples as allowed.
struct LiveRun
{
    const char *interval;
    Sandbox box;
    QProcess sim;
    QProcess acq;
    QByteArray port;
    QString dataFile;

    bool start(QString *why)
    {
        if (!box.make()) {
            *why = QStringLiteral("no temporary folder");
            return false;
        }
        {
            QSettings ini(box.dir("config") + QStringLiteral("/Ventolux/Ventolux Data Acquisition Software.ini"),
                          QSettings::IniFormat);
            ini.setValue(QStringLiteral("Measurement Parameter/Sample Time"), QLatin1String(interval));
            ini.setValue(QStringLiteral("Measurement Parameter/Sample Type"), QStringLiteral("0"));
            ini.setValue(QStringLiteral("Measurement Parameter/Sample Num"), QStringLiteral("65500"));
            ini.sync();
        }
        sim.setProcessEnvironment(box.env);
        sim.start(QStringLiteral(VENTSIM_PATH), {QStringLiteral("--baud"), QStringLiteral("19200")});
        if (!sim.waitForReadyRead(5000)) {
            *why = QStringLiteral("ventsim did not start: ") + QString::fromLocal8Bit(sim.readAllStandardError());
            return false;
        }
        port = sim.readLine().trimmed();
        QProcessEnvironment acqEnv = box.env;
        acqEnv.insert(QStringLiteral("VENTACQ_TEST_AUTORUN"), QStringLiteral("live"));
        acq.setProcessEnvironment(acqEnv);
        acq.start(QStringLiteral(VENTACQ_PATH), {});
        if (!acq.waitForStarted(5000)) {
            *why = QStringLiteral("ventacq did not start");
            return false;
        }
        return true;
    }
    // Whether the run has begun: the data file holds a sample (probe and start take a few seconds).
    bool begun()
    {
        if (dataFile.isEmpty())
            dataFile = findFile(box.dir("data"), QStringLiteral("VL4402Data.VXD"));
        return !dataFile.isEmpty() && sampleLines(dataFile) > 0;
    }
    int samples() const { return dataFile.isEmpty() ? 0 : sampleLines(dataFile); }
    void stop()
    {
        end(acq);
        end(sim);
    }
};

int cpu(int seconds)
{
    LiveRun slow{"1", {}, {}, {}, {}, {}};
    LiveRun fast{"0.1", {}, {}, {}, {}, {}};
    QProcess bare;
    QProcess barePoll;
    const auto stopAll = [&] {
        slow.stop();
        fast.stop();
        end(bare);
        end(barePoll);
    };
    const auto fail = [&](const QString &why) {
        std::fprintf(stderr, "bench_acq_window: %s\n", qPrintable(why));
        for (LiveRun *r : {&slow, &fast})
            std::fprintf(stderr, "ventacq (%s s) said: %s\n", r->interval, r->acq.readAllStandardError().constData());
        stopAll();
        return 1;
    };
    QString why;
    if (!slow.start(&why) || !fast.start(&why))
        return fail(why);

    bare.setProcessEnvironment(slow.box.env);
    bare.start(QStringLiteral(BARE_WINDOW_PATH), {});
    // The same window with an empty 10 ms timer: what an event loop woken 100 times a second costs.
    barePoll.setProcessEnvironment(slow.box.env);
    barePoll.start(QStringLiteral(BARE_WINDOW_PATH), {QStringLiteral("--poll"), QStringLiteral("10")});
    if (!bare.waitForStarted(5000) || !barePoll.waitForStarted(5000))
        return fail(QStringLiteral("the bare window did not start"));

    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 20000 && !(slow.begun() && fast.begun())) {
        for (LiveRun *r : {&slow, &fast}) {
            if (r->acq.state() == QProcess::NotRunning)
                return fail(QStringLiteral("ventacq (%1 s) ended before its run began").arg(QLatin1String(r->interval)));
        }
        pause(100);
    }
    if (!slow.begun() || !fast.begun())
        return fail(QStringLiteral("no sample reached a data file within 20 s (is the instrument found?)"));
    pause(2500); // start-up work done, half-way between two samples of the slow run

    const qint64 xvfb = xvfbPid();
    struct Watched
    {
        const char *name;
        qint64 pid;
        ProcFigures before, after;
    };
    std::vector<Watched> watched = {{"ventacq, 1 s run", slow.acq.processId(), {}, {}},
                                    {"ventacq, 0.1 s run", fast.acq.processId(), {}, {}},
                                    {"bench_bare_window", bare.processId(), {}, {}},
                                    {"  with a 10 ms timer", barePoll.processId(), {}, {}},
                                    {"ventsim (1 s run)", slow.sim.processId(), {}, {}},
                                    {"ventsim (0.1 s run)", fast.sim.processId(), {}, {}}};
    if (xvfb)
        watched.push_back({"Xvfb (X server)", xvfb, {}, {}});
    const int slowBefore = slow.samples();
    const int fastBefore = fast.samples();
    QElapsedTimer wall;
    wall.start();
    for (Watched &w : watched)
        w.before = readProc(w.pid);
    pause(seconds * 1000);
    for (Watched &w : watched)
        w.after = readProc(w.pid);
    const double elapsed = wall.nsecsElapsed() / 1e9;
    const int slowSamples = slow.samples() - slowBefore;
    const int fastSamples = fast.samples() - fastBefore;
    if (slow.acq.state() == QProcess::NotRunning || fast.acq.state() == QProcess::NotRunning)
        return fail(QStringLiteral("ventacq ended during the measurement"));

    std::printf("CPU and wake-ups over %.1f s of two live runs at once, instant sampling every 1 s and "
                "every 0.1 s, each from its own ventsim at 19200 baud (%s; load average %s)\n",
                elapsed, platformName(), loadAverage().constData());
    std::printf("samples written to the data files meanwhile: %d (1 s run), %d (0.1 s run)\n",
                slowSamples, fastSamples);
    std::printf("%-20s %10s %14s %12s   %s\n", "process", "CPU", "of one core", "wake-ups/s", "goal");
    double percent[2] = {-1, -1};
    double wakeups[2] = {-1, -1};
    double barePercent = -1;
    double bareWakeups = -1;
    for (const Watched &w : watched) {
        if (!w.before.ok || !w.after.ok) {
            std::printf("%-20s (not readable)\n", w.name);
            continue;
        }
        const double used = w.after.cpuSeconds - w.before.cpuSeconds;
        const double p = 100.0 * used / elapsed;
        const double wake = (w.after.switches - w.before.switches) / elapsed;
        char goal[96] = "";
        if (w.pid == slow.acq.processId()) {
            percent[0] = p;
            wakeups[0] = wake;
            std::snprintf(goal, sizeof goal, "< %.1f %%, < %.0f wake-ups/s: %s", kCpuGoalPercentSlow,
                          kWakeupGoalSlow, p < kCpuGoalPercentSlow && wake < kWakeupGoalSlow ? "met" : "MISSED");
        } else if (w.pid == fast.acq.processId()) {
            percent[1] = p;
            wakeups[1] = wake;
            std::snprintf(goal, sizeof goal, "< %.0f %%: %s", kCpuGoalPercentFast,
                          p < kCpuGoalPercentFast ? "met" : "MISSED");
        } else if (w.pid == bare.processId()) {
            barePercent = p;
            bareWakeups = wake;
        }
        std::printf("%-20s %8.2f s %12.2f %% %12.1f   %s\n", w.name, used, p, wake, goal);
    }
    std::printf("(CPU from utime + stime of /proc/<pid>/stat, all threads, resolution %ld ticks/s; "
                "wake-ups: voluntary + involuntary context switches of all threads)\n",
                sysconf(_SC_CLK_TCK));
    const bool slowMet = percent[0] >= 0 && percent[0] < kCpuGoalPercentSlow && wakeups[0] < kWakeupGoalSlow
        && slowSamples >= seconds - 1;
    const bool fastMet = percent[1] >= 0 && percent[1] < kCpuGoalPercentFast && fastSamples >= 10 * seconds - 10;
    std::printf("RESULT cpu %s: 1 s run %.2f %% %.1f wake-ups/s, 0.1 s run %.2f %% %.1f wake-ups/s, "
                "bare window %.2f %% %.1f wake-ups/s, %d and %d samples in %.0f s: %s, %s\n",
                platformName(), percent[0], wakeups[0], percent[1], wakeups[1], barePercent, bareWakeups,
                slowSamples, fastSamples, elapsed, slowMet ? "met" : "MISSED", fastMet ? "met" : "MISSED");
    stopAll();
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    const int number = argc > 2 ? std::atoi(argv[2]) : 0;
    if (mode == "startup")
        return startup(number > 0 ? number : 9);
    if (mode == "cpu")
        return cpu(number > 0 ? number : 60);
    std::fprintf(stderr, "usage: bench_acq_window startup [runs] | cpu [seconds]\n");
    return 2;
}
