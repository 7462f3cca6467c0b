#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace faulttest {

// Per-user folders of their own for the programs a test starts (settings, data, cache, runtime),
// under a fresh temporary folder, so two tests never share a lock, a data file or settings.
class UserFolders
{
public:
    UserFolders();

    QString root() const { return m_root.path(); }
    // ~/.config/Ventolux/<title>.ini
    QString settingsFile(const QString &programTitle) const;
    // ~/.local/share/Ventolux/<program>/
    QString dataFolder(const QString &program) const;
    // $XDG_RUNTIME_DIR/ventolux/<program>.lock
    QString lockFile(const QString &program) const;
    // Writes `content` as the program's settings file, byte for byte.
    bool writeSettings(const QString &programTitle, const QByteArray &content) const;
    // The environment of a program started in these folders: offscreen, English, the XDG folders.
    QProcessEnvironment environment() const;

private:
    QTemporaryDir m_root;
};

// One of the build's programs (ventacq, ventlink, ventsim) as a child process. It is killed with
// SIGKILL when the object goes, if it still runs.
class Program
{
public:
    Program(const QString &name, const UserFolders &folders);
    ~Program();

    static QString binaryPath(const QString &name);

    void setEnv(const QString &name, const QString &value) { m_env.insert(name, value); }
    bool start(const QStringList &arguments = {});
    bool isRunning() const;
    qint64 pid() const;
    // Waits until the program holds its single-instance lock (the lock file names its pid).
    bool waitForLock(int ms);
    // Waits for the program to end by itself; false when it still runs after `ms`.
    bool waitForExit(int ms);
    // True when it keeps running for `ms` (it did not end or crash in that time).
    bool staysUp(int ms);
    // A real SIGKILL, then waits until the process is gone.
    void kill();
    int exitCode() const;
    QProcess::ExitStatus exitStatus() const;
    QString standardError();

private:
    QString m_name;
    const UserFolders &m_folders;
    QProcessEnvironment m_env;
    std::unique_ptr<QProcess> m_process;
    QByteArray m_stderr;
};

// The pid written in a QLockFile (its first line), or 0.
qint64 lockOwner(const QString &lockFile);

} // namespace faulttest
