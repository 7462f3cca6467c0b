#pragma once

#include <QString>

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
};
