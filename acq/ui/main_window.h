#pragma once

#include "acq/core/run_controller.h"
#include "acq/core/run_display.h"
#include "acq/core/status_panels.h"

#include <QMainWindow>
#include <QPointer>
#include <QVector>
#include <array>
#include <functional>
#include <memory>

struct AppState;
class ConnectionProbe;
class DataSaver;
class FileDialog;
class PanelDisplay;
class RunOpener;
class QActionGroup;
class QLabel;
class QMenu;
class QSplitter;
class QTimer;
class QToolBar;
class SettingsStore;
class StatisticsWindow;

// The main window of ventacq (frmMain): menus and tool bar (one action per command), the status
// bar, and a splitter with the velocity and flow-rate tables and charts. It wires the run control,
// the save functions and the dialogs together; the rules live in those classes.
class MainWindow : public QMainWindow, public RunStatusView
{
    Q_OBJECT
public:
    // What the program connects the window to. Tests replace the hardware-facing parts.
    struct Services
    {
        RunController::DriverFactory driverFactory;
        ConnectionProbe *probe = nullptr;            // the start-of-run probe (null: none)
        FileDialog *fileDialog = nullptr;            // null: the platform's save dialog
        std::function<void()> refreshPorts;          // one tmrUSB tick (port tables of AppState)
        std::function<QString(const QString &)> resolvePort; // serial text -> port path, now
        std::function<void()> abortProbe;            // ends a running probe at once
    };

    MainWindow(AppState &state, SettingsStore &store, Services services, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Texts and fonts of the active language; -10000 or -20000.
    qint16 fLoadRes();
    // The language commands: reload the cached texts, every window's texts, the status bar.
    void sRefreshLanguage();
    // Lays out the splitter panes from the stored fractions.
    void sChgWindowSize();

    // RunStatusView.
    void sInitiStatusBar() override;
    void sShowPrgStat() override;
    void sShowDataStat() override;
    void sShowMenuStat() override;
    void sShowMeasuParam(qint32 count) override;
    void setCaption(const QString &caption) override;
    void sShowSplType();
    void sShowRsPort();
    void sShowBaudRate();

    // The command of a tool ID ("ID_New", ...), as a click on its menu item or button.
    void commandClick(const QString &id);
    QAction *tool(const QString &id) const;
    QAction *tool(AcqCommand command) const { return m_commands[size_t(command)]; }

    PanelDisplay *panels() const { return m_panels; }
    RunController *runControl() const { return m_run.get(); }
    DataSaver *saver() const { return m_saver.get(); }
    RunOpener *opener() const { return m_opener.get(); }
    QTimer *tmrUSB() const { return m_tmrUSB; }
    QLabel *statusPanel(int number) const { return m_statusPanels[size_t(number - 1)]; }
    // The readout of the cursor: the sample the cursor of either panel last moved to.
    QLabel *cursorReadout() const { return m_readout; }
    // The statistics window (View > Statistics...); null until first opened.
    StatisticsWindow *statisticsWindow() const { return m_statisticsWindow; }
    std::array<float, 3> splitterFractions() const { return m_splitterFractions; }
    QSplitter *splMain() const { return m_outer; }
    QToolBar *toolBar() const { return m_toolBar; }
    bool layoutReady() const { return m_layoutReady; }
    bool isStarting() const { return m_starting; }

    // Test and benchmark hook (VENTACQ_TEST_AUTORUN, see main.cpp): starts a run with the stored
    // parameters on the first attached instrument, as if the parameter dialog had been accepted
    // unchanged with that instrument chosen; in simulation no instrument is needed. False, with
    // nothing started, when no instrument is attached for a live run.
    bool autoStartRun(bool simulation);

    // The window's size at a first start (no size stored) on a screen with this available area:
    // every column of both tables visible.
    QSize firstStartSize(const QRect &screen) const;

    // Export Chart...: the charts of the panels given, stacked in one picture (the File menu
    // exports both, a chart's context menu that chart). Returns ChartExport::run's status.
    qint16 exportCharts(const QVector<Panel> &which);

Q_SIGNALS:
    // The window has been shown for the first time (start-up measurements).
    void firstShown();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenusAndTools();
    void buildStatusBar();
    void buildSplitter();
    void firstActivation();
    void activation();
    void splitterMoved();
    void applyLanguageCommands();

    // Commands.
    void newData();
    void save();
    void openRun();
    void measureStart();
    void measureStop();
    void graphParameters();
    void switchLanguage(qint16 offset, QAction *checked);
    void showStatusBar(bool show);
    void showToolBar(bool show);
    void about();
    void options();
    void statistics();
    RunStatistics::Table statisticsTable() const;
    void showCursorReadout(Panel which);
    // The parameter dialog, then the run when it was accepted.
    void parametersThenRun();
    void startRun();
    void tmrUSB_Timer();
    // During a run the port check comes with a sample when it would fall due before the next
    // one: a run at one sample a second then wakes the machine once for both.
    void checkPortsWithSample();
    static constexpr int kPortCheckMs = 1000;
    static constexpr int kPortCheckLateMs = 250; // so its own timer does not beat the next sample
    // The context menu of each chart ("Export Chart...").
    void buildChartMenus();
    bool chartHoldsSamples(Panel which) const;

    // The query-unload and unload of the window: false when closing is refused.
    bool queryUnload();
    bool unload();

    AppState &m_state;
    SettingsStore &m_store;
    Services m_services;
    std::unique_ptr<FileDialog> m_ownFileDialog;
    PanelDisplay *m_panels = nullptr;
    std::unique_ptr<RunController> m_run;
    std::unique_ptr<DataSaver> m_saver;
    std::unique_ptr<RunOpener> m_opener;
    QTimer *m_tmrUSB = nullptr;

    std::array<QAction *, size_t(AcqCommand::Count)> m_commands{};
    QAction *m_english = nullptr;
    QAction *m_japanese = nullptr;
    QAction *m_chinese = nullptr;
    QAction *m_options = nullptr;
    QAction *m_statistics = nullptr;
    StatisticsWindow *m_statisticsWindow = nullptr;
    QLabel *m_readout = nullptr;
    Panel m_readoutPanel = Panel::Velocity;
    QActionGroup *m_languageGroup = nullptr;
    std::array<QMenu *, 4> m_menus{};
    QToolBar *m_toolBar = nullptr;
    std::array<QLabel *, StatusPanels::kPanels> m_statusPanels{};
    StatusPanels::Tips m_tips;

    QSplitter *m_outer = nullptr;
    QSplitter *m_left = nullptr;
    QSplitter *m_right = nullptr;
    std::array<float, 3> m_splitterFractions{0.5f, 0.5f, 0.485f};
    bool m_firstActivation = true;
    bool m_layoutReady = false;
    bool m_starting = false; // inside sStartMeasu (the probe may be running)
    bool m_shownOnce = false;
};
