#pragma once

#include <QString>

class SingleInstance;
class StringTable;

// The first steps both programs take once the application object exists: their names for the
// per-user folders, the font substitutions, one running copy only, and the string table.
// Returns false when the program must end; the user has then been told why
// ("<title> is Running !" or "Error reading from resource file."), and `exitCode` says how; a
// refused copy then asks the running one to bring its window to the front.
bool startProgram(const QString &programName, const QString &title, const QString &tablePath,
                  SingleInstance &instance, StringTable &table, int *exitCode);
class QWidget;
// The running copy: `window` comes to the front (restored when minimised) when a refused copy asks.
void raiseOnSecondStart(SingleInstance &instance, QWidget *window);
