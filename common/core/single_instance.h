#pragma once

#include <QString>
#include <functional>
#include <memory>

class QFileSystemWatcher;
class QLockFile;

// Refuses a second running copy of a program: a lock file in the user's runtime folder. The lock
// of a copy that crashed is taken over (its process is gone). A copy that was refused leaves a
// note beside the lock; the running copy watches for it and brings its window to the front.
class SingleInstance
{
public:
    explicit SingleInstance(const QString &programName);
    ~SingleInstance();

    // True when this process now holds the lock.
    bool tryAcquire();
    QString lockPath() const;

    // The refused copy: asks the running one to come to the front.
    void askRunningToRaise() const;
    // The running copy: `raise` is called (from the event loop) whenever a refused copy asked.
    void onRaiseRequest(std::function<void()> raise);
    QString notePath() const;

private:
    void checkNote();

    std::unique_ptr<QLockFile> m_lock;
    QString m_path;
    std::unique_ptr<QFileSystemWatcher> m_watcher;
    std::function<void()> m_raise;
};
