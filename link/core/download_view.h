#pragma once

#include <QString>

// What the window shows of a download beside its status line.
struct DownloadProgress
{
    enum class Stage {
        Receiving, // the dump is coming in
        Saved,     // the file was written
        Stopped    // the dump ended with an error: the lines are shown, nothing was saved
    };
    Stage stage = Stage::Receiving;
    int lines = 0;       // lines received (acknowledgement lines not counted)
    int readings = 0;    // readings in the grid; for Saved, in the file
    qint64 elapsedMs = 0; // since the dump command
    QString path;        // Saved: the file
};

// What a download needs of the main window.
class DownloadView
{
public:
    virtual ~DownloadView() = default;

    // Selects the chosen drive again. On failure the window has set code 5 and shown its message;
    // false is returned.
    virtual bool reselectDrive() = 0;
    // Downloading: the controls that could start a second download or change the file are
    // disabled and the instrument list stops refreshing; idle: all enabled and refreshing again.
    virtual void setDownloading(bool downloading) = 0;
    virtual void setStatusLine(const QString &text) = 0;

    virtual QString fileNameText() const = 0;
    virtual void setFileNameText(const QString &text) = 0;
    // The folder chosen in the folder list.
    virtual QString folderPath() const = 0;
    // The serial text of the instrument chosen in the instrument list; empty when none is chosen.
    virtual QString chosenInstrument() const = 0;

    // Refreshes the list of CSV files of the folder.
    virtual void sFileList() = 0;

    // The progress of the running download, at least once a second, and how it ended.
    virtual void showProgress(const DownloadProgress &) {}
    // Nothing to show (a new download starts, a failed start).
    virtual void clearProgress() {}
};
