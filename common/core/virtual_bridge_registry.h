#pragma once

#include "common/core/bridge_source.h"

#include <QString>

// The virtual bridges that running copies of ventsim register, one small text file each
// ("<name>.bridge") in $XDG_RUNTIME_DIR/ventolux/bridges/ (a folder under the temporary folder
// when XDG_RUNTIME_DIR is not set):
//
//   vendor=1764          vendor ID, hexadecimal
//   product=8            product ID, hexadecimal
//   serial=J0012345      serial number text
//   port=/dev/pts/3      device path of the port
//   pid=4242             process that owns the registration
//
// A registration whose process is gone, whose port no longer exists, or that cannot be read is
// ignored, so a copy that was killed without cleaning up never shows as attached.
class VirtualBridgeRegistry : public BridgeSource
{
public:
    explicit VirtualBridgeRegistry(const QString &folder = defaultFolder());

    std::optional<QList<BridgeInfo>> bridges() const override;

    static QString defaultFolder();
    QString folder() const { return m_folder; }

    // Writes a registration for the bridge, owned by process `pid`, atomically. Returns the file's
    // path, or an empty text (and the reason in *error) when it cannot be written.
    static QString add(const QString &folder, const BridgeInfo &bridge, qint64 pid,
                       QString *error = nullptr);
    static bool remove(const QString &file);
    // Deletes the registrations whose process is gone. Returns how many were deleted.
    static int removeStale(const QString &folder);

    // Reads one registration file; no value when it is malformed.
    static std::optional<BridgeInfo> read(const QString &file, qint64 *pid = nullptr);
    static bool processAlive(qint64 pid);

private:
    QString m_folder;
};
