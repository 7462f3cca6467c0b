#include "acq/ui/main_window.h"

#include "acq/core/acq_settings.h"
#include "acq/core/acq_string_ids.h"
#include "acq/core/app_state.h"
#include "acq/core/cursor_readout.h"
#include "acq/core/chart_export.h"
#include "acq/core/data_saver.h"
#include "acq/core/run_opener.h"
#include "acq/ui/about_window.h"
#include "acq/ui/chart_picture.h"
#include "acq/ui/data_panel.h"
#include "acq/ui/graph_param_dialog.h"
#include "acq/ui/measurement_param_dialog.h"
#include "acq/ui/panel_display.h"
#include "acq/ui/qt_file_dialog.h"
#include "acq/ui/statistics_window.h"
#include "acq/ui/status_panel_box.h"
#include "acq/ui/time_chart.h"
#include "acq/ui/window_texts.h"
#include "common/core/message_presenter.h"
#include "common/core/port_names.h"
#include "common/core/settings_store.h"
#include "common/core/status_codes.h"
#include "common/core/window_placement.h"
#include "common/ui/data_grid.h"
#include "common/ui/key_state.h"
#include "common/ui/options_dialog.h"
#include "common/ui/qt_translations.h"
#include "common/ui/window_fonts.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <cmath>

namespace {

struct CommandInfo
{
    AcqCommand command;
    const char *id;
    int caption; // menu caption (+ offset)
    int tip;     // tool-bar tip (+ offset), 0 when the command is not on the tool bar
};

const CommandInfo kCommands[] = {
    {AcqCommand::New, "ID_New", 1012, 1201},
    {AcqCommand::Save, "ID_Save", 1013, 1203},
    {AcqCommand::Exit, "ID_Exit", 1014, 0},
    {AcqCommand::MeasureStart, "ID_MeasureStart", 1042, 1242},
    {AcqCommand::MeasureStop, "ID_MeasureStop", 1043, 1243},
    {AcqCommand::GraphPEdit, "ID_GraphPEdit", 1062, 1262},
    {AcqCommand::StatusBar, "ID_StatusBar", 1068, 0},
    {AcqCommand::ToolsBar, "ID_ToolsBar", 1069, 0},
    {AcqCommand::About, "ID_About", 1082, 0},
    {AcqCommand::ExportChart, "ID_ExportChart", acqid::kExportChart, 0},
    {AcqCommand::Open, "ID_Open", acqid::kOpenCaption, 0},
};

struct MenuInfo
{
    const char *id;
    int caption;
};
const MenuInfo kMenus[] = {{"ID_File", 1011}, {"ID_Measurement", 1041}, {"ID_View", 1061}, {"ID_Help", 1081}};

// Status panel tips (+ offset) by panel number; 3 and 4 change with the run (StatusPanels).
const int kPanelTips[StatusPanels::kPanels] = {1301, 1302, 1306, 1307, 1305, 1303, 1304};

constexpr int kOptionsCaption = 1071; // "Options..."

} // namespace

MainWindow::MainWindow(AppState &state, SettingsStore &store, Services services, QWidget *parent)
    : QMainWindow(parent), m_state(state), m_store(store), m_services(std::move(services))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/ventacq.svg")));
    m_state.mainWindow = this;

    if (!m_services.fileDialog) {
        m_ownFileDialog = std::make_unique<QtFileDialog>(this);
        m_services.fileDialog = m_ownFileDialog.get();
    }
    buildMenusAndTools();
    buildStatusBar();
    buildSplitter();
    buildChartMenus();
    m_run = std::make_unique<RunController>(m_state, *m_panels, *this, m_services.driverFactory,
                                            m_services.probe, this);
    m_saver = std::make_unique<DataSaver>(m_state, *m_services.fileDialog, this);
    // Added: the statistics follow the run's samples and each chart's window; the readout
    // follows the cursor of either panel.
    connect(m_run.get(), &RunController::statisticsChanged, this, [this] {
        if (m_statisticsWindow)
            m_statisticsWindow->markChanged();
        checkPortsWithSample();
    });
    for (Panel which : {Panel::Velocity, Panel::Flow}) {
        DataPanel *panel = m_panels->panel(which);
        connect(panel->chart()->xAxis, qOverload<const QCPRange &>(&QCPAxis::rangeChanged), this,
                [this] {
                    if (m_statisticsWindow)
                        m_statisticsWindow->markChanged();
                });
        connect(panel, &DataPanel::cursorMoved, this, [this, which] { showCursorReadout(which); });
    }
    m_opener = std::make_unique<RunOpener>(m_state, *m_services.fileDialog, *m_saver, *m_run);

    m_tmrUSB = new QTimer(this);
    m_tmrUSB->setObjectName(QStringLiteral("tmrUSB"));
    m_tmrUSB->setInterval(kPortCheckMs);
    connect(m_tmrUSB, &QTimer::timeout, this, [this] {
        if (m_tmrUSB->interval() != kPortCheckMs)
            m_tmrUSB->setInterval(kPortCheckMs); // back to its own pace after a run
        tmrUSB_Timer();
    });
    m_tmrUSB->start();

    // Load: the option flags (their invariant applied), caption, texts, charts and tables.
    OptionFlags flags = OptionFlags::load(m_store);
    m_state.setOptionFlags(flags);
    setWindowTitle(m_state.appTitle);
    m_firstActivation = true;
    m_layoutReady = false;
    fLoadRes();
    applyLanguageCommands();
    m_panels->smIniGraph();
    m_panels->sScrollBarG(Panel::Velocity, false);
    m_panels->sScrollBarG(Panel::Flow, false);
    m_panels->smInitTableTitle();
    tmrUSB_Timer();
}

MainWindow::~MainWindow()
{
    if (m_state.mainWindow == this)
        m_state.mainWindow = nullptr;
}

// ---------------------------------------------------------------------------------------------
// Building

void MainWindow::buildMenusAndTools()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("menu"));
    for (size_t i = 0; i < m_menus.size(); ++i) {
        m_menus[i] = bar->addMenu(QString());
        m_menus[i]->menuAction()->setObjectName(QLatin1String(kMenus[i].id));
    }
    for (const CommandInfo &c : kCommands) {
        auto *action = new QAction(this);
        action->setObjectName(QLatin1String(c.id));
        m_commands[size_t(c.command)] = action;
        const QString id = QLatin1String(c.id);
        connect(action, &QAction::triggered, this, [this, id] { commandClick(id); });
    }
    tool(AcqCommand::StatusBar)->setCheckable(true);
    tool(AcqCommand::StatusBar)->setChecked(true);
    tool(AcqCommand::ToolsBar)->setCheckable(true);
    tool(AcqCommand::ToolsBar)->setChecked(true);
    tool(AcqCommand::New)->setShortcut(QKeySequence::New);
    tool(AcqCommand::Save)->setShortcut(QKeySequence::Save);
    tool(AcqCommand::Open)->setShortcut(QKeySequence::Open);

    QStyle *s = style();
    tool(AcqCommand::New)->setIcon(s->standardIcon(QStyle::SP_FileIcon));
    tool(AcqCommand::Save)->setIcon(s->standardIcon(QStyle::SP_DialogSaveButton));
    tool(AcqCommand::Open)->setIcon(s->standardIcon(QStyle::SP_DialogOpenButton));
    tool(AcqCommand::MeasureStart)->setIcon(s->standardIcon(QStyle::SP_MediaPlay));
    tool(AcqCommand::MeasureStop)->setIcon(s->standardIcon(QStyle::SP_MediaStop));
    tool(AcqCommand::GraphPEdit)->setIcon(s->standardIcon(QStyle::SP_FileDialogDetailedView));

    m_english = new QAction(this);
    m_english->setObjectName(QStringLiteral("ID_English"));
    m_japanese = new QAction(this);
    m_japanese->setObjectName(QStringLiteral("ID_Japanese"));
    m_chinese = new QAction(this);
    m_chinese->setObjectName(QStringLiteral("ID_Chinese"));
    m_languageGroup = new QActionGroup(this);
    for (QAction *a : {m_english, m_japanese, m_chinese}) {
        a->setCheckable(true);
        m_languageGroup->addAction(a);
        const QString id = a->objectName();
        connect(a, &QAction::triggered, this, [this, id] { commandClick(id); });
    }

    m_menus[0]->addAction(tool(AcqCommand::New));
    m_menus[0]->addAction(tool(AcqCommand::Open));
    m_menus[0]->addAction(tool(AcqCommand::Save));
    m_menus[0]->addAction(tool(AcqCommand::ExportChart));
    m_menus[0]->addSeparator();
    m_menus[0]->addAction(tool(AcqCommand::Exit));
    m_menus[1]->addAction(tool(AcqCommand::MeasureStart));
    m_menus[1]->addAction(tool(AcqCommand::MeasureStop));
    m_menus[2]->addAction(tool(AcqCommand::GraphPEdit));
    // Added: the statistics window, at any time.
    m_statistics = new QAction(this);
    m_statistics->setObjectName(QStringLiteral("ID_Statistics"));
    m_statistics->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    connect(m_statistics, &QAction::triggered, this,
            [this] { commandClick(QStringLiteral("ID_Statistics")); });
    m_menus[2]->addAction(m_statistics);
    m_menus[2]->addSeparator();
    m_menus[2]->addAction(m_english);
    m_menus[2]->addAction(m_japanese);
    m_menus[2]->addAction(m_chinese);
    m_menus[2]->addSeparator();
    m_menus[2]->addAction(tool(AcqCommand::StatusBar));
    m_menus[2]->addAction(tool(AcqCommand::ToolsBar));
    // Added: the options without the Shift+Ctrl close (which stays as well).
    m_options = new QAction(this);
    m_options->setObjectName(QStringLiteral("ID_Options"));
    m_options->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    m_options->setMenuRole(QAction::PreferencesRole);
    connect(m_options, &QAction::triggered, this, [this] { commandClick(QStringLiteral("ID_Options")); });
    m_menus[2]->addSeparator();
    m_menus[2]->addAction(m_options);
    m_menus[3]->addAction(tool(AcqCommand::About));

    m_toolBar = addToolBar(QString());
    m_toolBar->setObjectName(QStringLiteral("ToolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setIconSize(QSize(20, 20));
    m_toolBar->addAction(tool(AcqCommand::New));
    m_toolBar->addAction(tool(AcqCommand::Save));
    m_toolBar->addSeparator();
    m_toolBar->addAction(tool(AcqCommand::MeasureStart));
    m_toolBar->addAction(tool(AcqCommand::MeasureStop));
    m_toolBar->addSeparator();
    m_toolBar->addAction(tool(AcqCommand::GraphPEdit));
    // The tool bar's own show/hide entry would bypass the command's state.
    m_toolBar->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);
}

void MainWindow::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("sbStatusBar"));
    bar->setSizeGripEnabled(true);
    // Every panel at least as wide as its text; spare width goes to all of them.
    for (int i = 0; i < StatusPanels::kPanels; ++i) {
        auto *box = new StatusPanelBox(bar);
        QLabel *label = box->label();
        label->setObjectName(QStringLiteral("sbPanel%1").arg(i + 1));
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        label->setContentsMargins(4, 0, 4, 0);
        bar->addPermanentWidget(box, 1);
        m_statusPanels[size_t(i)] = label;
    }
    // Added: the cursor readout. Its text never widens the window; it takes what the seven panels
    // leave.
    m_readout = new QLabel(bar);
    m_readout->setObjectName(QStringLiteral("sbCursor"));
    m_readout->setFrameShape(QFrame::StyledPanel);
    m_readout->setFrameShadow(QFrame::Sunken);
    m_readout->setContentsMargins(4, 0, 4, 0);
    m_readout->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    bar->addPermanentWidget(m_readout, 12);
}

void MainWindow::buildSplitter()
{
    m_outer = new QSplitter(Qt::Horizontal, this);
    m_outer->setObjectName(QStringLiteral("splMain"));
    m_outer->setChildrenCollapsible(false);
    m_left = new QSplitter(Qt::Vertical, m_outer);
    m_right = new QSplitter(Qt::Vertical, m_outer);
    for (QSplitter *s : {m_left, m_right})
        s->setChildrenCollapsible(false);
    m_panels = new PanelDisplay(m_state, this);
    // Panes 0 and 1: the tables; panes 2 and 3: the charts, velocity above flow rate.
    m_left->addWidget(m_panels->velocity()->table());
    m_left->addWidget(m_panels->flow()->table());
    m_right->addWidget(m_panels->velocity()->chartPane());
    m_right->addWidget(m_panels->flow()->chartPane());
    m_outer->addWidget(m_left);
    m_outer->addWidget(m_right);
    setCentralWidget(m_outer);
    for (QSplitter *s : {m_outer, m_left, m_right})
        connect(s, &QSplitter::splitterMoved, this, [this] { splitterMoved(); });
}

// ---------------------------------------------------------------------------------------------
// Language

qint16 MainWindow::fLoadRes()
{
    if (auto f = LanguageFont::fromTable(m_state.texts, m_state.languageOffset, m_state.fontChangeFlag))
        sApplyLanguageFont(this, *f);
    setWindowTitle(m_state.appTitle);
    WindowTexts t(m_state);
    QString text;
    for (size_t i = 0; i < m_menus.size(); ++i) {
        if (t.lookup(kMenus[i].caption, &text))
            m_menus[i]->setTitle(text);
    }
    for (const CommandInfo &c : kCommands) {
        if (t.lookup(c.caption, &text))
            tool(c.command)->setText(text);
    }
    if (t.lookup(1063, &text))
        m_english->setText(text);
    if (t.lookup(1064, &text))
        m_japanese->setText(text);
    if (t.lookup(1070, &text))
        m_chinese->setText(text);
    if (t.lookup(kOptionsCaption, &text))
        m_options->setText(text);
    if (t.lookup(acqid::kStatisticsCommand, &text))
        m_statistics->setText(text);
    for (const CommandInfo &c : kCommands) {
        if (c.tip != 0 && t.lookup(c.tip, &text))
            tool(c.command)->setToolTip(text);
    }
    // Status bar: the face of the language, the panel tips, and the three tips of panels 3 and 4.
    if (t.lookup(acqid::kFontFace, &text)) {
        QFont f = statusBar()->font();
        f.setFamily(text);
        statusBar()->setFont(f);
        for (QLabel *l : m_statusPanels)
            l->setFont(f);
        m_readout->setFont(f);
    }
    if (t.lookup(acqid::kCursorReadoutTip, &text))
        m_readout->setToolTip(text);
    if (m_statisticsWindow)
        m_statisticsWindow->fLoadRes();
    for (int i : {0, 1, 4, 5, 6}) {
        if (t.lookup(kPanelTips[i], &text))
            m_statusPanels[size_t(i)]->setToolTip(text);
    }
    t.lookup(1306, &m_tips.samplingTime);
    t.lookup(1307, &m_tips.samplingNumberIdle);
    t.lookup(1317, &m_tips.samplingNumberRunning);
    return t.result();
}

void MainWindow::applyLanguageCommands()
{
    const qint16 id = m_state.systemLanguageId;
    m_english->setVisible(id == Language::kJapanese || id == Language::kChineseSimplified);
    m_japanese->setVisible(id == Language::kJapanese);
    m_chinese->setVisible(id == Language::kChineseSimplified);
    m_japanese->setChecked(id == Language::kJapanese);
    m_chinese->setChecked(id == Language::kChineseSimplified);
    m_english->setChecked(false);
}

void MainWindow::switchLanguage(qint16 offset, QAction *checked)
{
    m_state.languageOffset = offset;
    checked->setChecked(true); // one of the three, exclusively
    sRefreshLanguage();
}

void MainWindow::sRefreshLanguage()
{
    if (fLoadCommonStrings(m_state) == status::kFailure)
        return;
    applyQtTranslations(m_state.texts.variant(), m_state.languageOffset != 0);
    if (fLoadRes() == status::kFailure)
        return;
    sInitiStatusBar();
}

// ---------------------------------------------------------------------------------------------
// Status bar and command states

void MainWindow::sInitiStatusBar()
{
    sShowPrgStat();
    sShowDataStat();
    sShowSplType();
    sShowRsPort();
    sShowBaudRate();
    sShowMeasuParam(0);
    showCursorReadout(m_readoutPanel);
}

void MainWindow::sShowPrgStat()
{
    statusPanel(1)->setText(StatusPanels::programStatus(m_state));
}

void MainWindow::sShowDataStat()
{
    statusPanel(2)->setText(StatusPanels::dataStatus(m_state));
}

void MainWindow::sShowSplType()
{
    statusPanel(5)->setText(StatusPanels::sampleType(m_state));
}

void MainWindow::sShowRsPort()
{
    statusPanel(6)->setText(StatusPanels::port(m_state));
}

void MainWindow::sShowBaudRate()
{
    statusPanel(7)->setText(StatusPanels::baudRate(m_state));
}

void MainWindow::sShowMeasuParam(qint32 count)
{
    const StatusPanels::MeasureParam p = StatusPanels::measureParam(m_state, count, m_tips);
    statusPanel(3)->setText(p.samplingTime);
    statusPanel(4)->setText(p.samplingNumber);
    if (p.samplingTimeTip)
        statusPanel(3)->setToolTip(*p.samplingTimeTip);
    statusPanel(4)->setToolTip(p.samplingNumberTip);
}

void MainWindow::sShowMenuStat()
{
    const CommandStates::Table table = CommandStates::forState(
        m_state.idle, m_state.dataState, m_starting, !m_state.openedRunPath.isEmpty());
    for (size_t i = 0; i < table.size(); ++i) {
        if (table[i] != CommandStates::State::Kept)
            m_commands[i]->setEnabled(table[i] == CommandStates::State::On);
    }
    // The options change what a run writes: not while one runs.
    m_options->setEnabled(m_state.idle == 1 && !m_starting);
    if (m_state.idle == 1 && !m_starting && !chartHoldsSamples(Panel::Velocity)
        && !chartHoldsSamples(Panel::Flow))
        tool(AcqCommand::ExportChart)->setEnabled(false);
}

void MainWindow::setCaption(const QString &caption)
{
    setWindowTitle(caption);
}

// ---------------------------------------------------------------------------------------------
// Window life

void MainWindow::showEvent(QShowEvent *event)
{
    // The geometry is restored before the window first appears (its first activation).
    if (m_firstActivation)
        firstActivation();
    QMainWindow::showEvent(event);
    if (!m_shownOnce) {
        m_shownOnce = true;
        QTimer::singleShot(0, this, [this] { Q_EMIT firstShown(); });
    }
}

void MainWindow::firstActivation()
{
    const AcqSettings::WindowSettings w = AcqSettings::readWindow(m_store);
    QList<QRect> screens;
    for (QScreen *s : QGuiApplication::screens())
        screens << s->availableGeometry();
    m_splitterFractions = w.splitterFractions;
    QRect rect = WindowPlacement::pixelsFromTwips(w.twips);
    if (!WindowPlacement::sizeStored(m_store))
        rect.setSize(firstStartSize(screens.value(0)));
    setGeometry(WindowPlacement::clampToScreens(rect, screens));
    m_firstActivation = false;
    activation();
}

QSize MainWindow::firstStartSize(const QRect &screen) const
{
    // Wide enough for every column of the wider table in its half of the window, with the row
    // numbers, a scroll bar and the frame; as high as two thirds of the screen. Never more than
    // the screen offers.
    int tableWidth = 0;
    for (DataPanel *panel : {m_panels->velocity(), m_panels->flow()}) {
        const DataGrid *table = panel->table();
        int w = table->verticalHeader()->sizeHint().width() + 2 * table->frameWidth()
            + style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4;
        for (int c = 0; c < table->horizontalHeader()->count(); ++c)
            w += table->horizontalHeader()->sectionSize(c);
        tableWidth = qMax(tableWidth, w);
    }
    const float fraction = qBound(0.2f, m_splitterFractions[1], 0.8f);
    const int width = int(std::ceil(float(tableWidth) / fraction)) + m_outer->handleWidth() + 8;
    QSize size(qMax(width, 640), qMax(480, screen.height() * 2 / 3));
    if (screen.isValid())
        size = size.boundedTo(screen.size());
    return size;
}

void MainWindow::activation()
{
    sChgWindowSize();
    m_layoutReady = true;
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !m_firstActivation)
        activation();
    if (event->type() == QEvent::WindowStateChange && m_layoutReady && !isMinimized())
        sChgWindowSize(); // restored from minimised: lay out again
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (m_layoutReady)
        sChgWindowSize();
}

void MainWindow::sChgWindowSize()
{
    // While minimised the client area has no height: the layout stays as it was.
    if (isMinimized())
        return;
    const int h = m_outer->height();
    const int w = m_outer->width();
    if (h <= 0 || w <= 0)
        return;
    auto part = [](int total, float fraction) { return int(std::lround(double(total) * fraction)); };
    const int leftWidth = part(w, m_splitterFractions[1]);
    m_outer->setSizes({leftWidth, qMax(1, w - leftWidth)});
    const int pane0 = part(h, m_splitterFractions[0]);
    m_left->setSizes({pane0, qMax(1, h - pane0)});
    const int pane3 = part(h, m_splitterFractions[2]);
    m_right->setSizes({qMax(1, h - pane3), pane3});
    m_panels->sChgGraphScrollSize();
}

void MainWindow::splitterMoved()
{
    const int h = m_outer->height();
    const int w = m_outer->width();
    if (h <= 0 || w <= 0)
        return;
    m_splitterFractions[0] = float(m_left->sizes().value(0)) / float(h);
    m_splitterFractions[1] = float(m_outer->sizes().value(0)) / float(w);
    m_splitterFractions[2] = float(m_right->sizes().value(1)) / float(h);
    for (float &f : m_splitterFractions)
        f = qBound(0.0f, f, 1.0f);
    m_panels->sChgGraphScrollSize();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!queryUnload() || !unload()) {
        event->ignore();
        return;
    }
    event->accept();
}

bool MainWindow::queryUnload()
{
    // A run (or a run being started) must be stopped first; refused without a message.
    if (m_state.idle == 0 || m_starting)
        return false;
    return m_saver->fAskSaveChanges() != status::kCancelled;
}

bool MainWindow::unload()
{
    if (fCtrlShiftDown()) {
        // Closing with Shift and Ctrl held: the options, and the program keeps running.
        OptionFlags flags = m_state.optionFlags();
        OptionsDialog dialog(this, &flags, m_state.texts, m_state.appTitle);
        dialog.exec();
        m_state.setOptionFlags(flags);
        flags.save(m_store);
        m_store.sync();
        return false;
    }
    if (!isMinimized()) {
        AcqSettings::WindowSettings w;
        w.twips = WindowPlacement::twipsFromPixels(geometry());
        w.splitterFractions = m_splitterFractions;
        AcqSettings::writeWindow(m_store, w);
    }
    AcqSettings::writeSettings(m_state, m_store);
    m_store.sync();
    m_tmrUSB->stop();
    return true;
}

// ---------------------------------------------------------------------------------------------
// Commands

QAction *MainWindow::tool(const QString &id) const
{
    for (QAction *a : m_commands) {
        if (a->objectName() == id)
            return a;
    }
    for (QAction *a : {m_english, m_japanese, m_chinese, m_options, m_statistics}) {
        if (a->objectName() == id)
            return a;
    }
    return nullptr;
}

void MainWindow::commandClick(const QString &id)
{
    if (id == QLatin1String("ID_New"))
        newData();
    else if (id == QLatin1String("ID_Save"))
        save();
    else if (id == QLatin1String("ID_Open"))
        openRun();
    else if (id == QLatin1String("ID_Exit"))
        close();
    else if (id == QLatin1String("ID_MeasureStart"))
        measureStart();
    else if (id == QLatin1String("ID_MeasureStop"))
        measureStop();
    else if (id == QLatin1String("ID_GraphPEdit"))
        graphParameters();
    else if (id == QLatin1String("ID_English"))
        switchLanguage(0, m_english);
    else if (id == QLatin1String("ID_Japanese"))
        switchLanguage(Language::kLocalizedOffset, m_japanese);
    else if (id == QLatin1String("ID_Chinese"))
        switchLanguage(Language::kLocalizedOffset, m_chinese);
    else if (id == QLatin1String("ID_StatusBar"))
        showStatusBar(tool(AcqCommand::StatusBar)->isChecked());
    else if (id == QLatin1String("ID_ToolsBar"))
        showToolBar(tool(AcqCommand::ToolsBar)->isChecked());
    else if (id == QLatin1String("ID_About"))
        about();
    else if (id == QLatin1String("ID_Options"))
        options();
    else if (id == QLatin1String("ID_Statistics"))
        statistics();
    else if (id == QLatin1String("ID_ExportChart"))
        exportCharts({Panel::Velocity, Panel::Flow});
}

void MainWindow::newData()
{
    if (m_saver->fAskSaveChanges() == status::kCancelled)
        return;
    m_saver->sNewData();
    if (m_state.dataState == 1)
        m_run->resetStatistics(); // no data: no figures either
    parametersThenRun();
}

void MainWindow::save()
{
    if (!DataSaver::saveAvailable(m_state))
        return;
    if (m_saver->fSaveDialog(m_state.currentDir) == status::kAnswerYes) {
        sShowMenuStat();
        sShowDataStat();
    }
}

void MainWindow::openRun()
{
    // Not during a run; unsaved data are offered for saving first, as by New.
    if (m_state.idle != 1 || m_starting)
        return;
    if (m_saver->fAskSaveChanges() == status::kCancelled)
        return;
    m_opener->fOpenDialog(m_state.currentDir);
}

void MainWindow::measureStart()
{
    if (m_saver->fAskSaveChanges() == status::kCancelled)
        return;
    parametersThenRun();
}

void MainWindow::parametersThenRun()
{
    {
        MeasurementParamDialog dialog(
            m_state, [this](qint16 code) { m_run->sReportStatus(code); },
            m_services.resolvePort ? m_services.resolvePort : [](const QString &) { return QString(); },
            this);
        dialog.exec();
    }
    if (m_state.paramDialogResult == status::kDialogAccepted)
        startRun();
}

void MainWindow::startRun()
{
    // From here until sStartMeasu returns the commands are as during a run and closing is
    // refused, so nothing re-enters the probe while it waits.
    m_starting = true;
    sShowMenuStat();
    m_run->sStartMeasu();
    m_starting = false;
    sShowMenuStat();
}

bool MainWindow::autoStartRun(bool simulation)
{
    if (m_state.measuring || m_starting)
        return false;
    m_state.simulation = simulation ? 1 : 0;
    if (!simulation) {
        tmrUSB_Timer();
        QString serial;
        QString path;
        for (int slot = PortTables::kFirstSlot; slot <= PortTables::kLastSlot && path.isEmpty(); ++slot) {
            serial = m_state.ports.gSerialNos[size_t(slot)];
            if (!serial.isEmpty() && m_services.resolvePort)
                path = m_services.resolvePort(serial);
        }
        if (path.isEmpty())
            return false;
        m_state.portPath = path;
        m_state.portNumber = PortNames::numberForPath(path);
        m_state.usbSerialText = serial;
    }
    m_state.paramDialogResult = status::kDialogAccepted;
    startRun();
    return true;
}

void MainWindow::measureStop()
{
    if (m_starting) {
        // Stopping while the probe runs ends the probe; the start then fails as a probe failure.
        if (m_services.abortProbe)
            m_services.abortProbe();
        return;
    }
    m_state.messageText = m_state.msgConfirmStop;
    const qint16 answer = m_state.presenter
                              ? m_state.presenter->askYesNoCancel(m_state.appTitle, m_state.messageText)
                              : status::kCancel;
    m_state.statusCode = answer;
    if (answer == status::kYes)
        m_run->sStopMeasu();
}

void MainWindow::graphParameters()
{
    {
        GraphParamDialog dialog(m_state, this);
        dialog.exec();
    }
    if (m_state.paramDialogResult != status::kDialogAccepted)
        return;
    m_panels->smGraphXAexs(Panel::Velocity);
    m_panels->smGraphXAexs(Panel::Flow);
    m_panels->sSetGraphYAxies();
    m_panels->sInitHcrollBar(Panel::Velocity, m_panels->tableActiveRow(Panel::Velocity));
    m_panels->sInitHcrollBar(Panel::Flow, m_panels->tableActiveRow(Panel::Flow));
    // They take effect at the next layout.
    m_splitterFractions[0] = 0.5f;
    m_splitterFractions[2] = 0.485f;
}

void MainWindow::showStatusBar(bool show)
{
    statusBar()->setVisible(show);
    sChgWindowSize();
}

void MainWindow::showToolBar(bool show)
{
    m_toolBar->setVisible(show);
}

void MainWindow::about()
{
    // Simulation is toggled in the about window: the caption and the instrument panel follow.
    AboutWindow window(m_state, [this](const QString &caption) {
        setWindowTitle(caption);
        sShowRsPort();
    }, this);
    window.exec();
}

void MainWindow::options()
{
    if (m_state.idle != 1 || m_starting)
        return;
    OptionFlags flags = m_state.optionFlags();
    OptionsDialog dialog(this, &flags, m_state.texts, m_state.appTitle,
                         m_state.localText(acqid::kCancel));
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_state.setOptionFlags(flags);
    flags.save(m_store);
    m_store.sync();
    sInitiStatusBar();
}

void MainWindow::tmrUSB_Timer()
{
    if (m_services.refreshPorts)
        m_services.refreshPorts();
}

void MainWindow::checkPortsWithSample()
{
    const double nextSampleMs = double(m_state.sampleTime) * 1000.0 + kPortCheckLateMs;
    if (!m_state.measuring || !m_tmrUSB->isActive() || m_tmrUSB->remainingTime() > nextSampleMs)
        return;
    tmrUSB_Timer();
    // Due again a little after the next sample of a run at one a second, which brings it.
    m_tmrUSB->start(kPortCheckMs + kPortCheckLateMs);
}

// ---------------------------------------------------------------------------------------------
// Added: statistics window and cursor readout

void MainWindow::statistics()
{
    if (!m_statisticsWindow)
        m_statisticsWindow = new StatisticsWindow(m_state, [this] { return statisticsTable(); }, this);
    m_statisticsWindow->show();
    m_statisticsWindow->raise();
    m_statisticsWindow->activateWindow();
}

RunStatistics::Table MainWindow::statisticsTable() const
{
    const RunStatistics &run = m_run->statistics();
    const auto page = [&](Panel which) {
        const TimeChart *chart = m_panels->panel(which)->chart();
        const QCPRange window = chart->xWindow();
        return RunStatistics::page(chart->series(1), window.lower, window.upper,
                                   m_state.sampleTime, run.samples());
    };
    return run.table(m_state, page(Panel::Velocity), page(Panel::Flow));
}

void MainWindow::showCursorReadout(Panel which)
{
    m_readoutPanel = which;
    const int row = m_panels->panel(which)->activeRow();
    const GridModel *velocity = m_panels->velocity()->table()->grid();
    const GridModel *flow = m_panels->flow()->table()->grid();
    // The last row of a table is the spare row, never a sample.
    QString text;
    if (row >= 1 && row < velocity->gridRowCount() && row < flow->gridRowCount())
        text = CursorReadout::text(m_state, row, velocity->cell(row, 1), velocity->cell(row, 2),
                                   flow->cell(row, 1));
    m_readout->setText(text);
}

// ---------------------------------------------------------------------------------------------
// Added: chart export

void MainWindow::buildChartMenus()
{
    for (Panel which : {Panel::Velocity, Panel::Flow}) {
        TimeChart *chart = m_panels->panel(which)->chart();
        chart->setContextMenuPolicy(Qt::CustomContextMenu);
        const auto showMenu = [this, which, chart](const QPoint &pos) {
            QMenu menu(chart);
            QAction *action = menu.addAction(m_state.localText(acqid::kExportChart));
            action->setEnabled(chartHoldsSamples(which));
            if (menu.exec(chart->mapToGlobal(pos)) == action)
                exportCharts({which});
        };
        connect(chart, &QWidget::customContextMenuRequested, this, showMenu);
    }
}

bool MainWindow::chartHoldsSamples(Panel which) const
{
    return m_panels->panel(which)->chart()->series(1).plottedCount() > 0;
}

qint16 MainWindow::exportCharts(const QVector<Panel> &which)
{
    QVector<TimeChart *> charts;
    for (Panel p : which)
        charts << m_panels->panel(p)->chart();
    const QString title = ChartExport::title(m_state);
    const QString timeTitle = m_state.localText(acqid::kExportTimeAxis);
    return ChartExport::run(m_state, *m_services.fileDialog,
                            [&](const QString &path, ChartExport::Format format) {
                                return ChartPicture::write(path, format, title, timeTitle, charts);
                            });
}
