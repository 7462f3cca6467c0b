#pragma once

#include <QString>
#include <QtGlobal>

// Path helpers of the save functions. Paths use "/".

// Splits `path` at its last "/": the folder keeps the "/", the name is the rest. A path without
// any "/" is a name in the process's current directory.
void sSplitPath(QString *folder, QString *name, const QString &path);

// folder + name, with a "/" between when the folder does not end in one; an empty folder is the
// process's current directory.
void fJoinPath(const QString &folder, const QString &name, QString *path);

// The length of a text counted the way a double-byte code page counts it: a character outside
// ASCII counts 2.
qint32 fAnsiLength(const QString &text);

// The text itself when fAnsiLength(text) <= maximum, else "..." followed by its last
// maximum - 3 characters.
QString fShortenPath(const QString &text, qint32 maximum);
