// Whole-program figures of ventacq, each next to a bare Qt window (bench_bare_window) measured the
// same way in the same run:
//
//   bench_acq_window startup [runs]   time from start to the main window shown, without the splash
//                                     pause: median of `runs` starts (default 9) after one warm-up
//   bench_acq_window cpu [seconds]    CPU used during a live run at 1 sample per second from
//                                     ventsim (default 60 s), read from /proc/<pid>/stat
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
constexpr double kCpuGoalPercent = 2.0;

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

int cpu(int seconds)
{
    Sandbox box;
    if (!box.make())
        return 1;
    // Stored parameters: instant sampling every second, as many samples as allowed.
    {
        QSettings ini(box.dir("config") + QStringLiteral("/Ventolux/Ventolux Data Acquisition Software.ini"),
                      QSettings::IniFormat);
        ini.setValue(QStringLiteral("Measurement Parameter/Sample Time"), QStringLiteral("1"));
        ini.setValue(QStringLiteral("Measurement Parameter/Sample Type"), QStringLiteral("0"));
        ini.setValue(QStringLiteral("Measurement Parameter/Sample Num"), QStringLiteral("65500"));
        ini.sync();
    }

    QProcess sim;
    sim.setProcessEnvironment(box.env);
    sim.start(QStringLiteral(VENTSIM_PATH), {QStringLiteral("--baud"), QStringLiteral("19200")});
    if (!sim.waitForReadyRead(5000)) {
        std::fprintf(stderr, "bench_acq_window: ventsim did not start: %s\n", sim.readAllStandardError().constData());
        return 1;
    }
    const QByteArray port = sim.readLine().trimmed();

    QProcess bare;
    bare.setProcessEnvironment(box.env);
    bare.start(QStringLiteral(BARE_WINDOW_PATH), {});
    // The same window with an empty timer as often as ventacq's poll: the floor of the poll.
    QProcess barePoll;
    barePoll.setProcessEnvironment(box.env);
    barePoll.start(QStringLiteral(BARE_WINDOW_PATH), {QStringLiteral("--poll"), QStringLiteral("10")});

    QProcess acq;
    QProcessEnvironment acqEnv = box.env;
    acqEnv.insert(QStringLiteral("VENTACQ_TEST_AUTORUN"), QStringLiteral("live"));
    acq.setProcessEnvironment(acqEnv);
    acq.start(QStringLiteral(VENTACQ_PATH), {});
    const auto fail = [&](const char *why) {
        std::fprintf(stderr, "bench_acq_window: %s\n", why);
        std::fprintf(stderr, "ventacq said: %s\n", acq.readAllStandardError().constData());
        end(acq);
        end(bare);
        end(barePoll);
        end(sim);
        return 1;
    };
    if (!acq.waitForStarted(5000) || !bare.waitForStarted(5000) || !barePoll.waitForStarted(5000))
        return fail("ventacq or the bare window did not start");

    // The run has begun once the data file holds a sample (probe and start take a few seconds).
    QString dataFile;
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 20000) {
        if (dataFile.isEmpty())
            dataFile = findFile(box.dir("data"), QStringLiteral("VL4402Data.VXD"));
        if (!dataFile.isEmpty() && sampleLines(dataFile) > 0)
            break;
        if (acq.state() == QProcess::NotRunning)
            return fail("ventacq ended before its run began");
        pause(100);
    }
    if (dataFile.isEmpty() || sampleLines(dataFile) == 0)
        return fail("no sample reached the data file within 20 s (is the instrument found?)");
    pause(500); // half-way between two samples

    const qint64 xvfb = xvfbPid();
    struct Watched
    {
        const char *name;
        qint64 pid;
        ProcFigures before, after;
    };
    std::vector<Watched> watched = {{"ventacq (live run)", acq.processId(), {}, {}},
                                    {"bench_bare_window", bare.processId(), {}, {}},
                                    {"  with a 10 ms timer", barePoll.processId(), {}, {}},
                                    {"ventsim", sim.processId(), {}, {}}};
    if (xvfb)
        watched.push_back({"Xvfb (X server)", xvfb, {}, {}});
    const int samplesBefore = sampleLines(dataFile);
    QElapsedTimer wall;
    wall.start();
    for (Watched &w : watched)
        w.before = readProc(w.pid);
    pause(seconds * 1000);
    for (Watched &w : watched)
        w.after = readProc(w.pid);
    const double elapsed = wall.nsecsElapsed() / 1e9;
    const int samples = sampleLines(dataFile) - samplesBefore;
    if (acq.state() == QProcess::NotRunning)
        return fail("ventacq ended during the measurement");

    std::printf("CPU over %.1f s of a live run, instant sampling every 1 s from ventsim on %s at 19200 baud (%s)\n",
                elapsed, port.constData(), platformName());
    std::printf("samples written to the data file meanwhile: %d\n", samples);
    std::printf("%-20s %10s %14s %12s   %s\n", "process", "CPU", "of one core", "wake-ups/s", "goal");
    double acqPercent = -1;
    double barePercent = -1;
    for (const Watched &w : watched) {
        if (!w.before.ok || !w.after.ok) {
            std::printf("%-20s (not readable)\n", w.name);
            continue;
        }
        const double used = w.after.cpuSeconds - w.before.cpuSeconds;
        const double percent = 100.0 * used / elapsed;
        const double wakeups = (w.after.switches - w.before.switches) / elapsed;
        char goal[64] = "";
        if (w.pid == acq.processId()) {
            acqPercent = percent;
            std::snprintf(goal, sizeof goal, "< %.0f %%: %s", kCpuGoalPercent,
                          percent < kCpuGoalPercent ? "met" : "MISSED");
        } else if (w.pid == bare.processId()) {
            barePercent = percent;
        }
        std::printf("%-20s %8.2f s %12.2f %% %12.1f   %s\n", w.name, used, percent, wakeups, goal);
    }
    std::printf("(CPU from utime + stime of /proc/<pid>/stat, all threads; resolution %ld ticks/s)\n",
                sysconf(_SC_CLK_TCK));
    std::printf("RESULT cpu %s: ventacq %.2f %%, bare window %.2f %%, %d samples in %.0f s, goal < %.0f %%: %s\n",
                platformName(), acqPercent, barePercent, samples, elapsed, kCpuGoalPercent,
                acqPercent >= 0 && acqPercent < kCpuGoalPercent && samples >= seconds - 1 ? "met" : "MISSED");
    end(acq);
    end(bare);
    end(barePoll);
    end(sim);
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
