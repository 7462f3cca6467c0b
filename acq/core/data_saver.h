#pragma once

#include "acq/core/file_dialog.h"
#include "common/core/io_failure.h"

#include <QString>
#include <QVector>
#include <QtGlobal>

struct AppState;
class RunStatusView;

// Saving a run: "Save" copies the data file (or the opened run's file) to a name the user picks; the questions before
// "New", "Measurement" and closing; "New" and the current file in the caption.
//
// A copy never leaves a half-written file: it is written to a temporary file beside the target
// and renamed over it, so a failed copy leaves the old file as it was; the copy is synced to the
// disk before the rename and its folder after, so a power cut leaves the old or the new file.
// Saving onto the data file itself copies nothing and succeeds.
class DataSaver
{
public:
    // `view` may be null (no caption, menus or status bar to refresh).
    DataSaver(AppState &state, FileDialog &dialog, RunStatusView *view);

    // Before "New", "Measurement" and closing: with unsaved data asks whether to save it.
    // 6 when there is nothing to save or it was saved, 2 when the save dialog was cancelled
    // (the caller may go on), -20000 for "No", -30000 for "Cancel" or when the copy failed
    // (the caller must abandon its action, so the only copy of the run is not destroyed).
    qint16 fAskSaveChanges();
    // The save dialog loop, starting in `folder`: 6 = saved, 2 = nothing saved.
    qint16 fSaveDialog(const QString &folder);
    // Copies the data file (saveSource) to `path`; on success the data state becomes 2 ("Old Data") and
    // `path` the current file. 6 = copied (or failed: see state.statusCode), 7 = not overwritten.
    qint16 fSaveAs(const QString &path);
    // The copy with the overwrite question; sets state.statusCode to 14 when it failed, and
    // lastFailure() to the file and the system's reason.
    qint16 fCopyDataFile(const QString &path);
    const IoFailure &lastFailure() const { return m_failure; }
    // "There is already this following name file.  Do you overwrite ?" with the name:
    // 6 = yes, 7 = no (the default).
    qint16 fAskOverwrite(const QString &name);
    // The same question for any file the program writes: 6 = yes, 7 = no (also without a presenter).
    static qint16 askOverwrite(const AppState &state, const QString &name);
    // "New": the data file becomes the current file again.
    void sNewData();
    // Records the current file and shows its name in the caption (when no run is active).
    void sSetCurrentFile(const QString &path);

    // What "Save" copies: the file of a run opened with File > Open while it is on display, else
    // the data file.
    static QString saveSource(const AppState &state);
    // Whether "Save" has something to save: a run's new data, or an opened run (another copy).
    static bool saveAvailable(const AppState &state);

    // The save dialog's filters from the cached filter texts ("Text files(*.CSV)|*.CSV", ...).
    static QVector<FileDialog::Filter> saveFilters(const AppState &state);
    // The chosen path, with the selected filter's extension added when the name has none.
    static QString withExtension(const FileDialog::Choice &choice,
                                 const QVector<FileDialog::Filter> &filters);

    static constexpr auto kDataFileName = "VL4402Data.VXD";
    static constexpr int kOverwriteNameLength = 30;
    // "The data could not be saved to this file:" and the file with the system's reason.
    static constexpr int kSaveFailedMessage = 917;

private:
    enum class Outcome { Saved, Cancelled, Failed };
    Outcome runSaveDialog(const QString &folder);
    bool copyOver(const QString &source, const QString &target);

    AppState &m_state;
    FileDialog &m_dialog;
    RunStatusView *m_view;
    IoFailure m_failure;
};
