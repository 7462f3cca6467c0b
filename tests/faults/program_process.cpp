#include "tests/faults/program_process.h"
#include "tests/support/test_support.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <csignal>

namespace faulttest {

namespace {
const char *const kFolders[][2] = {{"XDG_CONFIG_HOME", "config"},
                                   {"XDG_DATA_HOME", "data"},
                                   {"XDG_CACHE_HOME", "cache"},
                                   {"XDG_RUNTIME_DIR", "runtime"}};
}

UserFolders::UserFolders() : m_root(QDir::tempPath() + QStringLiteral("/ventfault-XXXXXX"))
{
    for (const auto &f : kFolders) {
        const QString dir = m_root.path() + QLatin1Char('/') + QLatin1String(f[1]);
        QDir().mkpath(dir);
        // The runtime folder must be private, or Qt does not use it.
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}

QString UserFolders::settingsFile(const QString &programTitle) const
{
    return m_root.path() + QStringLiteral("/config/Ventolux/") + programTitle + QStringLiteral(".ini");
}

QString UserFolders::dataFolder(const QString &program) const
{
    return m_root.path() + QStringLiteral("/data/Ventolux/") + program;
}

QString UserFolders::lockFile(const QString &program) const
{
    return m_root.path() + QStringLiteral("/runtime/ventolux/") + program + QStringLiteral(".lock");
}

bool UserFolders::writeSettings(const QString &programTitle, const QByteArray &content) const
{
    const QString path = settingsFile(programTitle);
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(content) == content.size();
}

QProcessEnvironment UserFolders::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const auto &f : kFolders)
        env.insert(QLatin1String(f[0]), m_root.path() + QLatin1Char('/') + QLatin1String(f[1]));
    env.insert(QStringLiteral("HOME"), m_root.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"})
        env.remove(QLatin1String(name));
    env.insert(QStringLiteral("LANG"), QStringLiteral("en_US.UTF-8"));
    // A copy that is refused ends by itself instead of waiting for its message to be closed.
    env.insert(QStringLiteral("VENT_TEST_DISMISS_MESSAGE_MS"), QStringLiteral("300"));
    return env;
}

Program::Program(const QString &name, const UserFolders &folders)
    : m_name(name), m_folders(folders), m_env(folders.environment())
{
}

Program::~Program()
{
    if (isRunning())
        kill();
}

bool Program::start()
{
    m_stderr.clear();
    m_process = std::make_unique<QProcess>();
    m_process->setProcessEnvironment(m_env);
    m_process->setWorkingDirectory(m_folders.root());
    m_process->setStandardInputFile(QProcess::nullDevice());
    m_process->start(venttest::binaryPath(m_name == QLatin1String("ventacq") ? QStringLiteral("acq/ui/ventacq")
                                                                             : QStringLiteral("link/ui/ventlink")));
    return m_process->waitForStarted(5000);
}

bool Program::isRunning() const { return m_process && m_process->state() != QProcess::NotRunning; }

qint64 Program::pid() const { return m_process ? m_process->processId() : 0; }

bool Program::waitForLock(int ms)
{
    const QString lock = m_folders.lockFile(m_name);
    return QTest::qWaitFor([&] { return !isRunning() || lockOwner(lock) == pid(); }, ms)
        && isRunning();
}

bool Program::waitForExit(int ms)
{
    return !m_process || m_process->waitForFinished(ms) || !isRunning();
}

bool Program::staysUp(int ms)
{
    return !QTest::qWaitFor([&] { return !isRunning(); }, ms);
}

void Program::kill()
{
    if (!isRunning())
        return;
    ::kill(pid_t(m_process->processId()), SIGKILL);
    m_process->waitForFinished(10000);
}

int Program::exitCode() const { return m_process ? m_process->exitCode() : -1; }

QProcess::ExitStatus Program::exitStatus() const
{
    return m_process ? m_process->exitStatus() : QProcess::CrashExit;
}

QString Program::standardError()
{
    if (m_process)
        m_stderr += m_process->readAllStandardError();
    return QString::fromLocal8Bit(m_stderr);
}

qint64 lockOwner(const QString &lockFile)
{
    QFile f(lockFile);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    return f.readLine().trimmed().toLongLong();
}

} // namespace faulttest
