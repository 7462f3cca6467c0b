#pragma once

#include <QString>
#include <memory>

class QLockFile;

// Refuses a second running copy of a program: a lock file in the user's runtime folder. The lock
// of a copy that crashed is taken over (its process is gone).
class SingleInstance
{
public:
    explicit SingleInstance(const QString &programName);
    ~SingleInstance();

    // True when this process now holds the lock.
    bool tryAcquire();
    QString lockPath() const;

private:
    std::unique_ptr<QLockFile> m_lock;
    QString m_path;
};
