#pragma once

#include "acq/core/file_dialog.h"
#include "acq/core/run_file_reader.h"

#include <QString>
#include <QVector>

struct AppState;
class DataSaver;
class RunController;

// File > Open: a measurement saved earlier back into the tables and charts, ready to browse as
// after a run. The run's parameters (interval, count, sample type, units, duct) become the
// current ones, as if the run had just been made with them; the data file is not touched (it
// keeps the last run), the opened file becomes the current file (caption) and what "Save"
// copies, and the data status is "Old Data". A file that cannot be read as a measurement gives
// one message naming it and the reason, and changes nothing.
class RunOpener
{
public:
    RunOpener(AppState &state, FileDialog &dialog, DataSaver &saver, RunController &run);

    // The open dialog in `folder`, then the chosen file; false when cancelled or refused.
    bool fOpenDialog(const QString &folder);
    // Opens `path`; false (after the message) when it is no measurement or cannot be read, or
    // when a run is active.
    bool fOpenRun(const QString &path);

    // The run's parameters and start become the current ones, as the parameter dialog and the
    // start of a run would have set them.
    static void applyParameters(AppState &state, const RunFile &run);
    // The save dialog's filters, then "All files".
    static QVector<FileDialog::Filter> openFilters(const AppState &state);
    // The message for a file that could not be opened.
    static QString problemText(const AppState &state, const RunFileReader::Result &result,
                               const QString &path);

private:
    AppState &m_state;
    FileDialog &m_dialog;
    DataSaver &m_saver;
    RunController &m_run;
};
