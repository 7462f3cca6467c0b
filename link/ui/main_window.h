#pragma once

#include "link/core/download_view.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <memory>

class DataGrid;
class DataGridRecords;
class DownloadSession;
class DriveCombo;
class FolderList;
class LinkPort;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QSplitter;
class RecordDecoder;
class SettingsStore;
struct LinkState;
struct PortTables;

// The main window of ventlink (frmMain): the folder browser (drive list, folder list, CSV files),
// the file name and instrument choice, "Read Data" and "Close", the status line, and the data
// grid. It wires the download session, the record decoding and the CSV reader to the controls.
class LinkMainWindow : public QMainWindow, public DownloadView
{
    Q_OBJECT
public:
    // Fills the port tables with the attached instruments; false when none is attached.
    using InstrumentScan = std::function<bool(PortTables &)>;

    LinkMainWindow(LinkState &state, SettingsStore &store, LinkPort &port,
                   QWidget *parent = nullptr);
    ~LinkMainWindow() override;

    // False when the window could not load its texts (the program then ends).
    bool loaded() const { return m_loaded; }
    qint16 fLoadRes();

    void setInstrumentScan(InstrumentScan scan);

    // DownloadView
    bool reselectDrive() override;
    void setDownloading(bool downloading) override;
    void setStatusLine(const QString &text) override;
    QString fileNameText() const override;
    void setFileNameText(const QString &text) override;
    QString folderPath() const override;
    QString chosenInstrument() const override;
    void sFileList() override;
    void showProgress(const DownloadProgress &progress) override;
    void clearProgress() override;

    // The folder browser.
    bool selectDrive(const QString &drive);
    bool selectFolder(const QString &path);
    QString currentDrive() const;
    // Reads a saved file of the current folder into the grid.
    void readSavedFile(const QString &fileName);

    void tmrUSB_Timer();

    DataGrid *vaSpdData() const { return m_grid; }
    DriveCombo *Drv() const { return m_drive; }
    FolderList *FileDir() const { return m_folders; }
    QListWidget *FileList() const { return m_files; }
    QLineEdit *txtFileName() const { return m_fileName; }
    QComboBox *cobPort() const { return m_port; }
    QPushButton *cmdMeasuring() const { return m_read; }
    QPushButton *cmdEnd() const { return m_close; }
    QPushButton *cmdOptions() const { return m_options; }
    QLabel *lblStatue() const { return m_status; }
    // The download's progress, and where its file went.
    QLabel *lblProgress() const { return m_progress; }
    QTimer *tmrUSB() { return &m_tmrUSB; }
    DownloadSession &session() { return *m_session; }
    RecordDecoder &decoder() { return *m_decoder; }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void loadFolderSettings();
    void Drv_Change();
    void FileList_Click(QListWidgetItem *item);
    void cmdEnd_Click();
    void cmdOptions_Click();

    LinkState &m_state;
    SettingsStore &m_store;
    LinkPort &m_linkPort;
    InstrumentScan m_scan;

    DriveCombo *m_drive = nullptr;
    FolderList *m_folders = nullptr;
    QListWidget *m_files = nullptr;
    QLineEdit *m_fileName = nullptr;
    QComboBox *m_port = nullptr;
    QPushButton *m_read = nullptr;
    QPushButton *m_close = nullptr;
    QPushButton *m_options = nullptr;
    QLabel *m_status = nullptr;
    QLabel *m_progress = nullptr;
    DataGrid *m_grid = nullptr;
    QSplitter *m_split = nullptr;
    QSplitter *m_browserSplit = nullptr;
    QTimer m_tmrUSB;

    std::unique_ptr<DataGridRecords> m_records;
    std::unique_ptr<RecordDecoder> m_decoder;
    DownloadSession *m_session = nullptr;

    bool m_loaded = false;
    bool m_placed = false;
    bool m_reading = false;
    QString m_lastRead;
    QElapsedTimer m_sinceRead;
};
