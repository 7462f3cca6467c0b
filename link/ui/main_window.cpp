#include "link/ui/main_window.h"

#include "common/core/message_presenter.h"
#include "common/core/settings_store.h"
#include "common/core/status_codes.h"
#include "common/ui/data_grid.h"
#include "common/ui/key_state.h"
#include "common/ui/options_dialog.h"
#include "common/ui/window_fonts.h"
#include "link/core/csv_reader.h"
#include "link/core/download_session.h"
#include "link/core/drive_list.h"
#include "link/core/link_program_settings.h"
#include "link/core/link_state.h"
#include "link/core/link_status.h"
#include "link/core/link_string_ids.h"
#include "link/core/record_decoder.h"
#include "common/core/window_placement.h"
#include "link/ui/data_grid_records.h"
#include "link/ui/drive_combo.h"
#include "link/ui/folder_list.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCollator>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QVBoxLayout>

namespace {

QLabel *makeLabel(QWidget *parent, const char *name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

} // namespace

LinkMainWindow::LinkMainWindow(LinkState &state, SettingsStore &store, LinkPort &port,
                               QWidget *parent)
    : QMainWindow(parent), m_state(state), m_store(store), m_linkPort(port)
{
    setObjectName(QStringLiteral("frmMain"));
    buildControls();

    m_records = std::make_unique<DataGridRecords>(m_grid);
    // 1. The option flags and their invariant.
    m_state.flags = OptionFlags::load(m_store);
    // 2. Captions; a window without its texts ends the program.
    if (fLoadRes() != status::kSuccess)
        return;
    // 3. The temperature unit until a unit reply comes is the "deg.C" text.
    m_decoder = std::make_unique<RecordDecoder>(m_state, *m_records);
    m_decoder->setTemperatureUnit(m_state.degreeTexts[0]);
    m_session = new DownloadSession(m_state, *m_records, *m_decoder, *this, m_linkPort, this);
    // 5. Status line; 6. the grid's titles for the neutral title "Type"; 7. no instrument yet.
    setStatusLine(m_state.statusTexts[0]);
    m_decoder->smChangeTitle(m_state.texts.value(linkid::kFixedType));
    m_port->clear();
    // 8. Drive and folder from the settings; 9. the CSV files.
    loadFolderSettings();
    sFileList();

    m_tmrUSB.setObjectName(QStringLiteral("tmrUSB"));
    m_tmrUSB.setInterval(1000);
    connect(&m_tmrUSB, &QTimer::timeout, this, &LinkMainWindow::tmrUSB_Timer);
    m_tmrUSB.start();
    m_loaded = true;
}

LinkMainWindow::~LinkMainWindow()
{
    m_tmrUSB.stop();
    delete m_session;
    m_session = nullptr;
}

void LinkMainWindow::buildControls()
{
    auto *central = new QWidget(this);
    setCentralWidget(central);
    auto *outer = new QVBoxLayout(central);
    outer->setContentsMargins(6, 6, 6, 6);

    m_split = new QSplitter(Qt::Horizontal, central);
    m_split->setObjectName(QStringLiteral("splMain"));
    m_split->setChildrenCollapsible(false);
    outer->addWidget(m_split);

    // The folder browser.
    auto *browser = new QWidget(m_split);
    auto *browserLayout = new QVBoxLayout(browser);
    browserLayout->setContentsMargins(0, 0, 4, 0);
    auto *driveLabel = makeLabel(browser, "lblDirv");
    m_drive = new DriveCombo(browser);
    m_drive->setObjectName(QStringLiteral("Drv"));
    browserLayout->addWidget(driveLabel);
    browserLayout->addWidget(m_drive);

    m_browserSplit = new QSplitter(Qt::Vertical, browser);
    m_browserSplit->setObjectName(QStringLiteral("splBrowser"));
    m_browserSplit->setChildrenCollapsible(false);
    m_folders = new FolderList(m_browserSplit);
    m_folders->setObjectName(QStringLiteral("FileDir"));
    auto *filesBox = new QWidget(m_browserSplit);
    auto *filesLayout = new QVBoxLayout(filesBox);
    filesLayout->setContentsMargins(0, 4, 0, 0);
    auto *filesLabel = makeLabel(filesBox, "lblReadData");
    m_files = new QListWidget(filesBox);
    m_files->setObjectName(QStringLiteral("FileList"));
    m_files->setSelectionMode(QAbstractItemView::SingleSelection);
    filesLayout->addWidget(filesLabel);
    filesLayout->addWidget(m_files);
    m_browserSplit->addWidget(m_folders);
    m_browserSplit->addWidget(filesBox);
    m_browserSplit->setStretchFactor(0, 1);
    m_browserSplit->setStretchFactor(1, 1);
    browserLayout->addWidget(m_browserSplit, 1);

    // The download controls and the grid.
    auto *right = new QWidget(m_split);
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(4, 0, 0, 0);
    auto *controls = new QGridLayout;
    controls->setHorizontalSpacing(8);
    auto *nameLabel = makeLabel(right, "lblFileName");
    m_fileName = new QLineEdit(right);
    m_fileName->setObjectName(QStringLiteral("txtFileName"));
    m_fileName->setMaxLength(200);
    auto *extension = makeLabel(right, "Label1");
    auto *portLabel = makeLabel(right, "lblPort");
    m_port = new QComboBox(right);
    m_port->setObjectName(QStringLiteral("cobPort"));
    m_port->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_port->setMinimumContentsLength(8);
    m_read = new QPushButton(right);
    m_read->setObjectName(QStringLiteral("cmdMeasuring"));
    m_close = new QPushButton(right);
    m_close->setObjectName(QStringLiteral("cmdEnd"));
    // Added: the options without the Shift+Ctrl close (which stays as well).
    m_options = new QPushButton(right);
    m_options->setObjectName(QStringLiteral("cmdOptions"));
    m_options->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    for (QPushButton *b : {m_read, m_close, m_options})
        b->setMinimumWidth(96);
    auto *statusLabel = makeLabel(right, "lblStaut");
    m_status = makeLabel(right, "lblStatue");
    m_status->setFrameShape(QFrame::Panel);
    m_status->setFrameShadow(QFrame::Sunken);
    m_status->setMinimumWidth(100);
    m_progress = makeLabel(right, "lblProgress");
    // A long path never widens the window; the whole text is in the tool tip.
    m_progress->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_progress->setTextInteractionFlags(Qt::TextSelectableByMouse);

    controls->addWidget(nameLabel, 0, 0);
    controls->addWidget(m_fileName, 0, 1);
    controls->addWidget(extension, 0, 2);
    controls->addWidget(m_read, 0, 4);
    controls->addWidget(portLabel, 1, 0);
    controls->addWidget(m_port, 1, 1, 1, 2);
    controls->addWidget(m_close, 1, 4);
    controls->addWidget(statusLabel, 2, 0);
    controls->addWidget(m_status, 2, 1, 1, 2);
    controls->addWidget(m_progress, 3, 0, 1, 5);
    controls->addWidget(m_options, 2, 4);
    controls->setColumnStretch(1, 1);
    controls->setColumnStretch(3, 1);
    rightLayout->addLayout(controls);

    m_grid = new DataGrid(right);
    m_grid->setObjectName(QStringLiteral("vaSpdData"));
    m_grid->horizontalHeader()->setDefaultSectionSize(64);
    rightLayout->addWidget(m_grid, 1);

    m_split->addWidget(browser);
    m_split->addWidget(right);
    m_split->setStretchFactor(0, 0);
    m_split->setStretchFactor(1, 1);
    m_split->setSizes({220, 560});
    browser->setMinimumWidth(140);

    connect(m_drive, &QComboBox::activated, this, [this] { Drv_Change(); });
    connect(m_folders, &FolderList::pathChanged, this, [this] { sFileList(); });
    connect(m_files, &QListWidget::itemClicked, this, &LinkMainWindow::FileList_Click);
    connect(m_files, &QListWidget::itemActivated, this, &LinkMainWindow::FileList_Click);
    connect(m_read, &QPushButton::clicked, this, [this] {
        if (m_session)
            m_session->cmdMeasuring_Click();
    });
    connect(m_close, &QPushButton::clicked, this, &LinkMainWindow::cmdEnd_Click);
    connect(m_options, &QPushButton::clicked, this, &LinkMainWindow::cmdOptions_Click);
}

qint16 LinkMainWindow::fLoadRes()
{
    if (const auto font = LanguageFont::fromTable(m_state.texts, m_state.languageOffset,
                                                  m_state.charset))
        sApplyLanguageFont(this, *font);
    bool ok = true;
    auto text = [&](int id) {
        const std::optional<QString> t = m_state.texts.lookup(m_state.languageOffset + id);
        ok = ok && t.has_value();
        return t.value_or(QString());
    };
    setWindowTitle(text(linkid::kAppTitle));
    findChild<QLabel *>(QStringLiteral("lblFileName"))->setText(text(linkid::kFileNameLabel));
    findChild<QLabel *>(QStringLiteral("lblStaut"))->setText(text(linkid::kStatusLabel));
    findChild<QLabel *>(QStringLiteral("lblDirv"))->setText(text(linkid::kDriveLabel));
    findChild<QLabel *>(QStringLiteral("lblReadData"))->setText(text(linkid::kDataListLabel));
    findChild<QLabel *>(QStringLiteral("lblPort"))->setText(text(linkid::kPortLabel));
    m_read->setText(text(linkid::kReadData));
    m_close->setText(text(linkid::kClose));
    m_options->setText(text(linkid::kOptions));
    findChild<QLabel *>(QStringLiteral("Label1"))
        ->setText(m_state.texts.value(linkid::kFixedCsvExtension));
    if (!ok) {
        if (m_state.presenter)
            m_state.presenter->notify(MessagePresenter::Icon::Exclamation,
                                      QLatin1String(LinkState::kApplicationTitle),
                                      QStringLiteral("Error reading from resource file."));
        return status::kFailure;
    }
    return status::kSuccess;
}

void LinkMainWindow::setInstrumentScan(InstrumentScan scan)
{
    m_scan = std::move(scan);
}

void LinkMainWindow::loadFolderSettings()
{
    using namespace linksettings;
    const QString defaultFolder = DriveList::defaultFolder();
    const QString defaultDrive = DriveList::driveOf(defaultFolder);
    m_drive->showDrive(defaultDrive);
    m_folders->setPath(defaultFolder, defaultDrive);

    const QString section = QLatin1String(kPathSection);
    const QString drive = m_store.readText(section, QLatin1String(kDriver), defaultDrive);
    const QString folder = m_store.readText(section, QLatin1String(kPath), defaultFolder);
    // A drive or folder that is gone leaves the lists as they are, without a message.
    if (drive != defaultDrive || folder != defaultFolder) {
        if (m_drive->findText(drive, Qt::MatchExactly) < 0 || !DriveList::isReadableFolder(drive))
            return;
        m_drive->showDrive(drive);
        if (!m_folders->setPath(drive, drive))
            return;
        if (DriveList::isOnDrive(folder, drive))
            m_folders->setPath(folder, drive);
    }
}

QString LinkMainWindow::currentDrive() const
{
    return m_drive->drive();
}

bool LinkMainWindow::selectDrive(const QString &drive)
{
    m_drive->showDrive(drive);
    Drv_Change();
    return m_state.gLinkStatus != linkstatus::kDrive;
}

bool LinkMainWindow::selectFolder(const QString &path)
{
    if (!m_folders->setPath(path, currentDrive()))
        return false;
    m_drive->showDrive(m_folders->root());
    sFileList();
    return true;
}

void LinkMainWindow::Drv_Change()
{
    const QString drive = currentDrive();
    if (!m_folders->setPath(drive, drive)) {
        m_state.gLinkStatus = linkstatus::kDrive;
        linkstatus::sShowLinkStatus(m_state);
        return;
    }
    sFileList();
}

bool LinkMainWindow::reselectDrive()
{
    // The chosen drive and folder must still be there (a stick may have been pulled); the folder
    // itself stays as chosen.
    const QString drive = currentDrive();
    if (!DriveList::isReadableFolder(drive) || !DriveList::isReadableFolder(folderPath())) {
        m_state.gLinkStatus = linkstatus::kDrive;
        linkstatus::sShowLinkStatus(m_state);
        return false;
    }
    return true;
}

void LinkMainWindow::sFileList()
{
    const QSignalBlocker block(m_files);
    m_files->clear();
    const QString folder = folderPath();
    if (folder.isEmpty())
        return;
    m_folders->refresh();
    QStringList names = QDir(folder).entryList({QStringLiteral("*.csv")},
                                               QDir::Files | QDir::Readable, QDir::NoSort);
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    std::sort(names.begin(), names.end(), collator);
    m_files->addItems(names);
}

void LinkMainWindow::FileList_Click(QListWidgetItem *item)
{
    if (!item || m_reading || m_state.idle != 1)
        return;
    // The click and the activation of one double click read the file once.
    if (item->text() == m_lastRead && m_sinceRead.isValid()
        && m_sinceRead.elapsed() < QApplication::doubleClickInterval())
        return;
    readSavedFile(item->text());
    m_lastRead = item->text();
    m_sinceRead.start();
}

void LinkMainWindow::readSavedFile(const QString &fileName)
{
    m_reading = true;
    clearProgress();
    setStatusLine(m_state.statusTexts[1]);
    m_read->setEnabled(false);
    m_session->smInit();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    CsvReader reader(m_state, *m_records);
    const qint16 result = reader.readFile(QDir(folderPath()).filePath(fileName));
    QGuiApplication::restoreOverrideCursor();
    m_read->setEnabled(true);
    setStatusLine(m_state.statusTexts[0]);
    m_reading = false;
    if (result != status::kSuccess)
        linkstatus::sShowLinkStatus(m_state);
}

void LinkMainWindow::setDownloading(bool downloading)
{
    for (QWidget *w : std::initializer_list<QWidget *>{m_read, m_fileName, m_files, m_close,
                                                       m_drive, m_port, m_folders, m_options})
        w->setEnabled(!downloading);
    if (downloading)
        m_tmrUSB.stop();
    else
        m_tmrUSB.start();
}

void LinkMainWindow::showProgress(const DownloadProgress &progress)
{
    QString text;
    switch (progress.stage) {
    case DownloadProgress::Stage::Receiving: {
        const qint64 seconds = progress.elapsedMs / 1000;
        const QString elapsed = QStringLiteral("%1:%2").arg(seconds / 60).arg(
            seconds % 60, 2, 10, QLatin1Char('0'));
        text = m_state.localText(linkid::kDownloadProgress)
                   .arg(progress.lines)
                   .arg(progress.readings)
                   .arg(elapsed);
        break;
    }
    case DownloadProgress::Stage::Saved:
        text = m_state.localText(linkid::kDownloadSaved)
                   .arg(progress.readings)
                   .arg(QDir::toNativeSeparators(progress.path));
        break;
    case DownloadProgress::Stage::Stopped:
        text = m_state.localText(linkid::kDownloadStopped).arg(progress.lines).arg(progress.readings);
        break;
    }
    if (text != m_progress->text()) {
        m_progress->setText(text);
        m_progress->setToolTip(text);
    }
}

void LinkMainWindow::clearProgress()
{
    m_progress->clear();
    m_progress->setToolTip(QString());
}

void LinkMainWindow::setStatusLine(const QString &text)
{
    m_status->setText(text);
}

QString LinkMainWindow::fileNameText() const
{
    return m_fileName->text();
}

void LinkMainWindow::setFileNameText(const QString &text)
{
    m_fileName->setText(text);
}

QString LinkMainWindow::folderPath() const
{
    return m_folders->path();
}

QString LinkMainWindow::chosenInstrument() const
{
    return m_port->currentIndex() >= 0 ? m_port->currentText() : QString();
}

void LinkMainWindow::tmrUSB_Timer()
{
    if (!m_scan)
        return;
    if (!m_scan(m_state.ports)) {
        m_state.ports.clear();
        m_port->clear();
        return;
    }
    for (int slot = PortTables::kFirstSlot; slot <= PortTables::kLastSlot; ++slot) {
        const QString &serial = m_state.ports.gSerialNos[size_t(slot)];
        if (!serial.isEmpty() && m_port->findText(serial, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0)
            m_port->addItem(serial);
    }
}

void LinkMainWindow::cmdEnd_Click()
{
    if (m_state.idle != 1 && m_session)
        m_session->sStopMeasu();
    close();
}

void LinkMainWindow::cmdOptions_Click()
{
    if (m_state.idle != 1)
        return;
    OptionFlags flags = m_state.flags;
    OptionsDialog dialog(this, &flags, m_state.texts, m_state.localText(linkid::kAppTitle),
                         m_state.localText(linkid::kCancel));
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_state.flags = flags;
    m_state.flags.save(m_store);
    if (m_decoder)
        m_decoder->applyColumnLayout();
    m_store.sync();
}

void LinkMainWindow::showEvent(QShowEvent *event)
{
    if (!m_placed) {
        // First activation: the stored rectangle, placed wholly on a screen.
        m_placed = true;
        QList<QRect> screens;
        for (QScreen *s : QGuiApplication::screens())
            screens << s->availableGeometry();
        const QRect rect = WindowPlacement::clampToScreens(
            WindowPlacement::pixelsFromTwips(WindowPlacement::readTwips(m_store, QRectF(linksettings::kDefaultLeft, linksettings::kDefaultTop, linksettings::kDefaultWidth, linksettings::kDefaultHeight))), screens);
        setGeometry(rect);
        const int browser = qBound(150, rect.width() * 26 / 100, 230);
        m_split->setSizes({browser, qMax(200, rect.width() - browser)});
    }
    QMainWindow::showEvent(event);
}

void LinkMainWindow::closeEvent(QCloseEvent *event)
{
    // A download is stopped before the window may close; the user is asked first, so a
    // transfer is never thrown away by a slip.
    if (m_state.idle != 1 && m_session) {
        if (m_state.presenter
            && m_state.presenter->askYesNo(m_state.localText(linkid::kAppTitle),
                                           m_state.localText(linkid::kCloseWhileDownloading),
                                           true)
                   != status::kAnswerYes) {
            event->ignore();
            return;
        }
        if (m_state.idle != 1)
            m_session->sStopMeasu();
    }

    if (fCtrlShiftDown()) {
        OptionsDialog dialog(this, &m_state.flags, m_state.texts,
                             m_state.localText(linkid::kAppTitle));
        dialog.exec();
        m_state.flags.save(m_store);
        if (m_decoder)
            m_decoder->applyColumnLayout();
        m_store.sync();
        event->ignore();
        return;
    }
    if (!isMinimized())
        WindowPlacement::writeTwips(m_store, WindowPlacement::twipsFromPixels(normalGeometry()));
    using namespace linksettings;
    m_store.writeText(QLatin1String(kPathSection), QLatin1String(kDriver), currentDrive());
    m_store.writeText(QLatin1String(kPathSection), QLatin1String(kPath), folderPath());
    m_store.sync();
    m_tmrUSB.stop();
    event->accept();
}
