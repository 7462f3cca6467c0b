#pragma once

#include <QString>

class QSaveFile;

// Forcing what was written onto the disk, so that a power cut cannot take it back.
//
// QSaveFile::commit() already syncs the temporary file (fdatasync) before it renames it into
// place; what it leaves out is the folder, whose entry for the new name can still be lost. commit()
// here adds that.
class DurableFile
{
public:
    // fdatasync of an open file, repeated when a signal interrupts it.
    static bool syncData(int fd);
    // Syncs the folder that holds `path`, so a file renamed into it stays renamed. A file system
    // that cannot sync a folder (some network and FUSE ones refuse) is not an error: the rename
    // itself was done.
    static bool syncFolderOf(const QString &path);
    // file.commit(), then the folder of the file when the commit succeeded.
    static bool commit(QSaveFile &file);
};
