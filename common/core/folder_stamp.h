#pragma once

#include <QFile>
#include <QString>
#include <optional>
#include <ctime>
#include <sys/stat.h>

// What changes whenever an entry of a folder is made, removed or renamed: its change times, to
// the nanosecond, and which folder it is. A list read from a folder stays right while the stamp
// does, so a check that runs every second need not read the folder again.
struct FolderStamp
{
    dev_t device = 0;
    ino_t node = 0;
    struct timespec modified {};
    struct timespec changed {};

    // How long a folder's entries must have stood before a list read from it is trusted: a
    // change made within the same tick of the clock as the read would not move the stamp.
    static constexpr int kQuietSeconds = 2;

    static std::optional<FolderStamp> of(const QString &folder)
    {
        struct stat st {};
        if (folder.isEmpty() || ::stat(QFile::encodeName(folder).constData(), &st) != 0
            || !S_ISDIR(st.st_mode))
            return std::nullopt;
        return of(st);
    }
    // The stamp of a folder already looked at.
    static FolderStamp of(const struct stat &st)
    {
        return FolderStamp{st.st_dev, st.st_ino, st.st_mtim, st.st_ctim};
    }

    bool operator==(const FolderStamp &o) const
    {
        return device == o.device && node == o.node && modified.tv_sec == o.modified.tv_sec
            && modified.tv_nsec == o.modified.tv_nsec && changed.tv_sec == o.changed.tv_sec
            && changed.tv_nsec == o.changed.tv_nsec;
    }
    bool operator!=(const FolderStamp &o) const { return !(*this == o); }

    // Whether the folder's entries last changed at least `seconds` ago (by the system clock).
    bool quietFor(int seconds) const
    {
        struct timespec now {};
        ::clock_gettime(CLOCK_REALTIME, &now);
        return now.tv_sec - modified.tv_sec >= seconds;
    }
};
