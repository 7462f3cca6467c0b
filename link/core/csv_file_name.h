#pragma once

#include <QString>

struct LinkState;

// The name a download is saved under: the name typed by the user (without extension), trimmed of
// blanks, in the folder chosen in the folder list, with ".CSV" added.
class CsvFileName
{
public:
    // -10000 when the name holds none of \ / : * ? > < |, else -20000.
    static qint16 fmCheckName(const QString &name);

    // Trims `name` in place. When a file of that name exists, asks whether to overwrite it
    // (a "No" returns -20000 and leaves the status code as it is). Then checks the characters: a
    // forbidden one, or a name that is empty once trimmed, sets code 9 and returns -20000.
    // On success `targetPath` is the full path and -10000 is returned.
    static qint16 fmCheckFile(LinkState &state, const QString &folder, QString *name,
                              QString *targetPath);

    // folder + "/" + name + ".CSV".
    static QString pathFor(const QString &folder, const QString &name);
};
