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
    QString settingsFile(const QString &programTitle) const; // ~/.config/Ventolux/<title>.ini
    QString dataFolder(const QString &program) const;        // ~/.local/share/Ventolux/<program>
    QString lockFile(const QString &program) const;          // $XDG_RUNTIME_DIR/ventolux/<program>.lock
    bool writeSettings(const QString &programTitle, const QByteArray &content) const;
    // Offscreen, English, the XDG folders above.
    QProcessEnvironment environment() const;

private:
    QTemporaryDir m_root;
};

// ventacq or ventlink as a child process, killed with SIGKILL when the object goes.
class Program
{
public:
    Program(const QString &name, const UserFolders &folders);
    ~Program();

    void setEnv(const QString &name, const QString &value) { m_env.insert(name, value); }
    bool start();
    bool isRunning() const;
    qint64 pid() const;
    // Waits until the program holds its single-instance lock (the lock file names its pid).
    bool waitForLock(int ms);
    bool waitForExit(int ms);
    // True when it keeps running for `ms`.
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
