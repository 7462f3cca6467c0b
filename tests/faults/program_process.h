#pragma once

#include "tests/support/test_support.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <memory>

namespace faulttest {

// Per-user folders of their own for the programs a test starts (settings, data, cache, runtime),
// under a fresh temporary folder, so two tests never share a lock, a data file or settings.
class UserFolders
{
public:
    UserFolders()
    {
        for (const auto &f : kFolders) {
            QDir().mkpath(path(f[1]));
            // The runtime folder must be private, or Qt does not use it.
            QFile::setPermissions(path(f[1]), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
    }
    QString path(const QString &relative) const { return m_root.path() + QLatin1Char('/') + relative; }
    QString settingsFile(const QString &title) const { return path("config/Ventolux/" + title + ".ini"); }
    QString dataFolder(const QString &program) const { return path("data/Ventolux/" + program); }
    QString lockFile(const QString &program) const { return path("runtime/ventolux/" + program + ".lock"); }
    bool writeSettings(const QString &title, const QByteArray &content) const
    {
        QDir().mkpath(path(QStringLiteral("config/Ventolux")));
        QFile f(settingsFile(title));
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(content) == content.size();
    }
    // Offscreen, English, the XDG folders above.
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const auto &f : kFolders)
            env.insert(QLatin1String(f[0]), path(f[1]));
        env.insert(QStringLiteral("HOME"), m_root.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"})
            env.remove(QLatin1String(name));
        env.insert(QStringLiteral("LANG"), QStringLiteral("en_US.UTF-8"));
        // A copy that is refused ends by itself instead of waiting for its message to be closed.
        env.insert(QStringLiteral("VENT_TEST_DISMISS_MESSAGE_MS"), QStringLiteral("300"));
        return env;
    }

private:
    static constexpr const char *kFolders[][2] = {
        {"XDG_CONFIG_HOME", "config"}, {"XDG_DATA_HOME", "data"}, {"XDG_CACHE_HOME", "cache"}, {"XDG_RUNTIME_DIR", "runtime"}};
    QTemporaryDir m_root{QDir::tempPath() + QStringLiteral("/ventfault-XXXXXX")};
};

// The pid written in a QLockFile (its first line), or 0.
inline qint64 lockOwner(const QString &lockFile)
{
    QFile f(lockFile);
    return f.open(QIODevice::ReadOnly) ? f.readLine().trimmed().toLongLong() : 0;
}

// ventacq or ventlink as a child process, killed with SIGKILL when the object goes.
class Program
{
public:
    Program(const QString &name, const UserFolders &folders)
        : m_name(name), m_folders(folders), m_env(folders.environment())
    {
    }
    ~Program() { kill(); }

    void setEnv(const QString &name, const QString &value) { m_env.insert(name, value); }
    bool start()
    {
        m_process.setProcessEnvironment(m_env);
        m_process.setWorkingDirectory(m_folders.path(QString()));
        m_process.setStandardInputFile(QProcess::nullDevice());
        m_process.start(venttest::binaryPath(m_name == QLatin1String("ventacq") ? QStringLiteral("acq/ui/ventacq")
                                                                                : QStringLiteral("link/ui/ventlink")));
        return m_process.waitForStarted(5000);
    }
    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }
    qint64 pid() const { return m_process.processId(); }
    // Waits until the program holds its single-instance lock (the lock file names its pid).
    bool waitForLock(int ms)
    {
        const QString lock = m_folders.lockFile(m_name);
        return QTest::qWaitFor([&] { return !isRunning() || lockOwner(lock) == pid(); }, ms) && isRunning();
    }
    bool waitForExit(int ms) { return m_process.waitForFinished(ms) || !isRunning(); }
    // True when it keeps running for `ms`.
    bool staysUp(int ms) { return !QTest::qWaitFor([&] { return !isRunning(); }, ms); }
    // A real SIGKILL, then waits until the process is gone.
    void kill()
    {
        if (isRunning()) {
            ::kill(pid_t(pid()), SIGKILL);
            m_process.waitForFinished(10000);
        }
    }
    int exitCode() const { return m_process.exitCode(); }
    QProcess::ExitStatus exitStatus() const { return m_process.exitStatus(); }
    QString standardError() { return QString::fromLocal8Bit(m_stderr += m_process.readAllStandardError()); }

private:
    QString m_name;
    const UserFolders &m_folders;
    QProcessEnvironment m_env;
    QProcess m_process;
    QByteArray m_stderr;
};

} // namespace faulttest
