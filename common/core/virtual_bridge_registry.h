#pragma once

#include "common/core/bridge_source.h"
#include "common/core/folder_stamp.h"

#include <QString>

#include <sys/stat.h>

// The virtual bridges that running copies of ventsim register, one small text file each
// ("<name>.bridge") in ventolux/bridges/ under the user's runtime folder (QStandardPaths::
// RuntimeLocation: $XDG_RUNTIME_DIR, or the private folder Qt makes under the temporary folder;
// a runtime folder that belongs to someone else is refused and there is no registry then):
//
//   vendor=1764          vendor ID, hexadecimal
//   product=8            product ID, hexadecimal
//   serial=J0012345      serial number text
//   port=/dev/pts/3      device path of the port
//   pid=4242             process that owns the registration
//
// A registration whose process is gone, whose port no longer exists, or that cannot be read is
// ignored, so a copy that was killed without cleaning up never shows as attached. So is anything
// another local user could have planted: a registry folder or a file that is not owned by the
// user or that group or others may write, a file that is not a regular file, and a port that is
// not a character device (a terminal or pseudo-terminal). ventsim makes the folders 0700 and the
// files 0600.
//
// The registrations are read again only when the folder's stamp changed (registrations are
// written and removed whole, by renaming and deleting); each tick still checks that their
// processes live and their ports exist.
class VirtualBridgeRegistry : public BridgeSource
{
public:
    explicit VirtualBridgeRegistry(const QString &folder = defaultFolder());

    std::optional<QList<BridgeInfo>> bridges() const override;

    // Empty when there is no private runtime folder.
    static QString defaultFolder();
    QString folder() const { return m_folder; }

    // Writes a registration for the bridge, owned by process `pid`, atomically and readable by
    // the user only, making the folder (0700) when missing. Returns the file's path, or an empty
    // text (and the reason in *error) when it cannot be written or the folder is not private.
    static QString add(const QString &folder, const BridgeInfo &bridge, qint64 pid,
                       QString *error = nullptr);
    static bool remove(const QString &file);
    // Deletes the registrations whose process is gone, in a private folder only. Returns how
    // many were deleted.
    static int removeStale(const QString &folder);

    // Reads one registration file; no value when it is malformed or not a private regular file.
    static std::optional<BridgeInfo> read(const QString &file, qint64 *pid = nullptr);
    static bool processAlive(qint64 pid);

    // Whether a folder or file with this status belongs to `user` and no one else may write it.
    static bool ownedPrivately(const struct stat &status, uid_t user);
    // Whether `folder` is a folder that is owned privately by the user of this process (what
    // was found of it in `status`, when given).
    static bool privateFolder(const QString &folder, struct stat *status = nullptr);
    // Whether `path` (after links) is a character device, as terminals are.
    static bool isCharacterDevice(const QString &path);

    // How many times the registrations were read (figures, tests).
    int listings() const { return m_listings; }

private:
    struct Registration
    {
        BridgeInfo bridge;
        qint64 pid = 0;
    };
    QString m_folder;
    mutable std::optional<FolderStamp> m_listedStamp;
    mutable QList<Registration> m_registrations;
    mutable int m_listings = 0;
};
