// The main window of ventacq driven as an operator would: commands, the command states, runs with
// the scripted driver, closing, options, geometry and language; and what a newcomer meets first.
#include "acq/core/acq_settings.h"
#include "acq/core/app_state.h"
#include "acq/driver/scripted_driver.h"
#include "acq/ui/data_panel.h"
#include "acq/ui/graph_param_dialog.h"
#include "acq/ui/main_window.h"
#include "acq/ui/measurement_param_dialog.h"
#include "acq/ui/panel_display.h"
#include "acq/ui/time_chart.h"
#include "acq/ui/statistics_window.h"
#include "common/core/settings_store.h"
#include "common/core/status_codes.h"
#include "common/ui/data_grid.h"
#include "common/ui/key_state.h"
#include "common/ui/options_dialog.h"
#include "tests/acq/ui/display_rig.h"
#include "tests/support/acq_fakes.h"
#include "tests/support/test_support.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTableWidget>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <gtest/gtest.h>

namespace {

constexpr double kStart = 41395.0 + 10.0 / 24.0; // 2013-05-01 10:00:00

QByteArray acqReadFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool acqWriteFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Runs `action` on the next modal dialog of type T once it is shown.
template <typename T>
void onDialog(std::function<void(T *)> action)
{
    QTimer::singleShot(0, [action] {
        const auto dialog = [] { return qobject_cast<T *>(QApplication::activeModalWidget()); };
        if (QTest::qWaitFor(dialog, 3000))
            return action(dialog());
        ADD_FAILURE() << "the expected dialog did not open";
        if (QWidget *other = QApplication::activeModalWidget())
            other->close(); // never leave a test hanging in a modal loop
    });
}

class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_store = SettingsStore::forFile(m_dir.path() + QStringLiteral("/acq.ini"));
        language(UiVariant::English, 1033);
    }
    void TearDown() override
    {
        KeyState::setOverride(std::nullopt);
        if (m_window) {
            m_window->runControl()->sStopMeasu();
            m_state.dataState = 1;
            m_window.reset();
        }
    }

    void language(UiVariant variant, qint16 systemId)
    {
        m_state.systemLanguageId = systemId;
        m_state.versionText = makeVersionText(1, 0, 0);
        const qint16 offset = Language::offsetFor(systemId);
        ASSERT_TRUE(venttest::loadAcqTexts(m_state, variant, offset, &m_presenter));
        AcqSettings::sLoadSettings(m_state, *m_store);
        m_state.lastDataPath = m_dir.path() + QStringLiteral("/VL4402Data.VXD");
        m_state.currentDir = m_dir.path();
    }

    MainWindow &window()
    {
        if (!m_window) {
            MainWindow::Services services;
            services.driverFactory = [this] {
                auto driver = std::make_unique<ScriptedDriver>(m_script, kStart);
                m_log = driver->log();
                return driver;
            };
            services.probe = &m_probe;
            services.fileDialog = &m_files;
            services.refreshPorts = [this] {
                m_state.ports.clear();
                m_state.ports.gPortNames[1] = QString(m_attached ? "/dev/ttyUSB3" : "");
                m_state.ports.gSerialNos[1] = QString(m_attached ? "0012345" : "");
            };
            services.resolvePort = [this](const QString &serial) {
                return QString(m_attached && serial == "0012345" ? "/dev/ttyUSB3" : "");
            };
            services.abortProbe = [this] { ++m_aborts; };
            m_window = std::make_unique<MainWindow>(m_state, *m_store, services);
            m_window->panels()->setToday([] { return QDate(2013, 5, 1); });
            m_window->sShowMenuStat();
            m_window->sInitiStatusBar();
            m_window->show();
            m_window->activateWindow();
        }
        return *m_window;
    }

    // A script of `batches` batches of `perBatch` samples.
    void script(int batches, int perBatch, int idleSteps = 0)
    {
        m_script.clear();
        for (int b = 0; b < batches; ++b) {
            ScriptedDriver::Step step;
            for (int k = b * perBatch; k < (b + 1) * perBatch; ++k)
                step.samples << QStringLiteral("%1.25,%2.5,10132,1").arg(k % 9).arg(100 + k);
            m_script << step;
        }
        m_script.insert(m_script.size(), idleSteps, ScriptedDriver::Step());
    }

    // Starts a run through the parameter dialog, accepted with the one attached instrument.
    void startRun(int sampleCount)
    {
        m_state.sampleCount = sampleCount;
        m_state.sampleTime = 1.0f;
        onDialog<MeasurementParamDialog>(
            [](MeasurementParamDialog *d) { d->ComdMeasurement()->click(); });
        command("ID_MeasureStart");
    }

    bool waitIdle() { return QTest::qWaitFor([this] { return m_state.idle == 1; }, 5000); }
    void command(const char *id) { window().commandClick(QLatin1String(id)); }
    QString stored(const char *group, const char *key)
    {
        return m_store->readText(QLatin1String(group), QLatin1String(key)).value_or(QString());
    }

    bool enabled(const char *id) { return window().tool(QLatin1String(id))->isEnabled(); }
    QString panel(int n) { return window().statusPanel(n)->text(); }

    QTemporaryDir m_dir;
    std::unique_ptr<SettingsStore> m_store;
    venttest::RecordingPresenter m_presenter;
    AppState m_state;
    venttest::FakeProbe m_probe;
    venttest::ScriptedFileDialog m_files;
    QVector<ScriptedDriver::Step> m_script;
    std::shared_ptr<ScriptedDriver::Log> m_log;
    bool m_attached = true;
    int m_aborts = 0;
    std::unique_ptr<MainWindow> m_window;
};

// A newcomer on a Japanese system.
class FirstRun : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        language(UiVariant::Japanese, 1041);
    }
    // The parameter dialog with these instruments attached, from slot 1 on.
    std::unique_ptr<MeasurementParamDialog> parameters(std::initializer_list<const char *> serials)
    {
        m_state.ports.clear();
        size_t slot = 0;
        for (const char *serial : serials) {
            m_state.ports.gSerialNos[++slot] = QLatin1String(serial);
            m_state.ports.gPortNames[slot] = QStringLiteral("/dev/ttyUSB%1").arg(slot);
        }
        auto d = std::make_unique<MeasurementParamDialog>(
            m_state, nullptr, [](const QString &) { return QStringLiteral("/dev/ttyUSB1"); });
        d->show();
        return d;
    }
};

TEST_F(FirstRun, ParameterDialogChoosesTheInstrumentOrSaysWhyNot)
{
    EXPECT_EQ(parameters({"VL100"})->cmbRSPort()->currentIndex(), 0); // the only one
    m_state.usbSerialText = QStringLiteral("VL300");
    EXPECT_EQ(parameters({"VL100", "VL300"})->cmbRSPort()->currentIndex(), 1); // the one used last
    m_state.usbSerialText = QStringLiteral("GONE");
    auto d = parameters({"VL100", "VL300"});
    d->ComdMeasurement()->click(); // several, none chosen: says where to choose, stays open
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(m_presenter.lastText(), m_state.localText(919));

    auto none = parameters({}); // none attached: said, then closed without a run
    none->ComdMeasurement()->click();
    EXPECT_FALSE(none->isVisible());
    EXPECT_EQ(m_state.paramDialogResult, status::kDialogNotAccepted);
    EXPECT_TRUE(m_presenter.lastText().startsWith(QStringLiteral("計測器が接続されていません。")));
}

TEST_F(FirstRun, OptionButtonsActWhenToggledWithoutAClick)
{
    m_state.ductWidth = 100; // a rectangle in millimetres, sampled by count: the defaults
    auto d = parameters({});
    d->OptAreaUnit(2)->setChecked(true); // feet, as an accessibility tool would
    EXPECT_EQ(d->TxtWMWidth_1()->text(), QStringLiteral("0.328"));
    d->OptCircle_1()->setChecked(true);
    EXPECT_TRUE(d->TxtWMDiameter_1()->isEnabled() && !d->TxtWMWidth_1()->isEnabled());
    d->OptSplType(0)->setChecked(true);
    EXPECT_EQ(d->lblSampleTime()->text(), m_state.localText(2127));
}

TEST_F(FirstRun, TabOutOfTheVelocityMaximumChecksAtOnce)
{
    GraphParamDialog d(m_state); // metres per second up to 60: the defaults
    d.show();
    d.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    d.cboYRange()->setFocus(Qt::TabFocusReason);
    d.cboYRange()->lineEdit()->selectAll();
    QTest::keyClicks(d.cboYRange()->lineEdit(), QStringLiteral("150"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(m_presenter.count(), 1);
    EXPECT_TRUE(m_presenter.lastText().endsWith(QStringLiteral("0.0--100.0")));
    EXPECT_EQ(d.cboYRange()->currentText(), QStringLiteral("60.0"));
}

TEST_F(FirstRun, WindowOpensWideEnoughForEveryColumn)
{
    MainWindow &w = window();
    const QSize size = w.firstStartSize(QRect(0, 0, 1280, 770)); // a 1280x800 screen with a panel
    EXPECT_LE(size.width(), 1280);
    w.resize(size);
    QApplication::processEvents();
    for (DataGrid *t : {w.panels()->velocity()->table(), w.panels()->flow()->table()}) {
        const int last = t->horizontalHeader()->count() - 1;
        EXPECT_LE(t->columnViewportPosition(last) + t->columnWidth(last), t->viewport()->width())
            << "width " << size.width();
    }
}

// A Japanese system offers English and Japanese; the status panel names stay English, simulation
// is said there and kept in the caption. The offset and font flag a language takes: AcqSettings.
TEST_F(FirstRun, LanguageSwitchKeepsSimulationShown)
{
    m_state.simulation = 1;
    ASSERT_EQ(fLoadCommonStrings(m_state), status::kSuccess);
    MainWindow &w = window();
    QAction *english = w.tool(QStringLiteral("ID_English"));
    QAction *japanese = w.tool(QStringLiteral("ID_Japanese"));
    EXPECT_TRUE(english->isVisible() && japanese->isChecked());
    EXPECT_FALSE(w.tool(QStringLiteral("ID_Chinese"))->isVisible());
    EXPECT_EQ(std::tuple(w.tool(AcqCommand::New)->text(), panel(1), panel(6)),
              std::tuple(QStringLiteral("新規"), QString("Display"), m_state.localText(520)));
    EXPECT_EQ(w.statusPanel(1)->font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
    command("ID_English");
    EXPECT_TRUE(english->isChecked() && !japanese->isChecked());
    EXPECT_EQ(std::tuple(w.tool(AcqCommand::New)->text(), w.statusPanel(1)->toolTip(), panel(6)),
              std::tuple(QString("New"), QString("Program Status"), QString("Simulation")));
    EXPECT_EQ(w.statusPanel(1)->font().family(), QStringLiteral("Times New Roman"));
    EXPECT_EQ(w.windowTitle(), m_state.texts.value(510) + QStringLiteral(" (Simulation)"));
    command("ID_Japanese");
    EXPECT_EQ(w.tool(AcqCommand::New)->text(), QStringLiteral("新規"));
}

TEST_F(MainWindowTest, OpensWithTheDefaultLayoutAndTheIdleCommandStates)
{
    MainWindow &w = window();
    EXPECT_EQ(w.splitterFractions(), (std::array<float, 3>{0.5f, 0.5f, 0.485f})); // nothing stored
    EXPECT_TRUE(w.layoutReady());
    for (const char *id : {"ID_New", "ID_Exit", "ID_MeasureStart", "ID_GraphPEdit", "ID_About"})
        EXPECT_TRUE(enabled(id)) << id;
    EXPECT_FALSE(enabled("ID_Save") || enabled("ID_MeasureStop"));
    // An English system: the language commands are hidden.
    for (const char *id : {"ID_English", "ID_Japanese", "ID_Chinese"})
        EXPECT_FALSE(w.tool(QLatin1String(id))->isVisible()) << id;
    command("ID_Save"); // does nothing without new data
    EXPECT_TRUE(m_files.folders.isEmpty());
    for (bool visible : {false, true}) {
        w.tool(AcqCommand::StatusBar)->trigger();
        EXPECT_EQ(w.statusBar()->isVisible(), visible);
    }
    w.tool(AcqCommand::ToolsBar)->trigger();
    EXPECT_FALSE(w.toolBar()->isVisible());
    // Graph parameters put the pane heights back at the next layout.
    w.resize(900, 700);
    auto *left = qobject_cast<QSplitter *>(w.splMain()->widget(0));
    left->setSizes({100, 500});
    Q_EMIT left->splitterMoved(100, 1);
    const std::array<float, 3> moved = w.splitterFractions();
    EXPECT_LT(moved[0], 0.3f);
    onDialog<GraphParamDialog>([](GraphParamDialog *d) { d->cmdOK()->click(); });
    command("ID_GraphPEdit");
    EXPECT_EQ(w.splitterFractions(), (std::array<float, 3>{0.5f, moved[1], 0.485f}));
}

TEST_F(MainWindowTest, RunEndsByCountThenSaveAndClose)
{
    script(3, 2);
    bool sawRunning = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (m_state.idle == 0 && !sawRunning && m_state.receivedCount > 0) {
            sawRunning = true;
            EXPECT_EQ(panel(1), QStringLiteral("Measurement"));
            EXPECT_TRUE(!enabled("ID_New") && !enabled("ID_Open") && !enabled("ID_Exit") && enabled("ID_MeasureStop"));
            EXPECT_TRUE(panel(4).endsWith(QStringLiteral(" /6")));
            EXPECT_FALSE(window().close()); // closing is refused during a run
        }
    });
    poll.start(1);
    startRun(6);
    ASSERT_TRUE(waitIdle());
    poll.stop();
    EXPECT_EQ(std::tuple(sawRunning, m_probe.lastPath, m_log->port, m_state.receivedCount),
              std::tuple(true, "/dev/ttyUSB3", "/dev/ttyUSB3", 6));
    EXPECT_EQ(std::tuple(panel(1), panel(2), panel(6)),
              std::tuple(QString("Display"), QString("New Data"), QString("0012345")));
    EXPECT_TRUE(enabled("ID_Save") && !enabled("ID_MeasureStop"));
    EXPECT_EQ(window().panels()->velocity()->table()->grid()->gridRowCount(), 7);
    m_presenter.queueAnswer(status::kCancel);
    EXPECT_FALSE(window().close()); // the question: DataSaverTest.AskSaveChangesAnswers
    m_presenter.queueAnswer(status::kCancel);
    command("ID_Open"); // asks as New does; Cancel: no open dialog
    EXPECT_TRUE(m_files.folders.isEmpty());
    EXPECT_EQ(stored("Windows", "Main Width"), QString());
    // Save: the file dialog, then "Old Data" and the file name in the caption.
    const QString saved = m_dir.path() + QStringLiteral("/run.CSV");
    m_files.answers.push_back({saved, 0});
    command("ID_Save");
    EXPECT_EQ(std::tuple(panel(2), enabled("ID_Save"), QFile::exists(saved)),
              std::tuple(QString("Old Data"), false, true));
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Ventolux Data Acquisition Software - run.CSV"));

    // Closing stores the settings and the size the next start takes; closed minimised, it stays.
    window().resize(700, 520);
    EXPECT_TRUE(window().close());
    EXPECT_EQ(stored("Measurement Parameter", "Sample Num"), QStringLiteral("6"));
    EXPECT_EQ(stored("Windows", "Main Width"), QStringLiteral("10500"));
    m_window.reset();
    EXPECT_EQ(window().geometry().size(), QSize(700, 520));
    window().showMinimized();
    EXPECT_TRUE(window().close());
    EXPECT_EQ(stored("Windows", "Main Width"), QStringLiteral("10500"));
}

// Export Chart... is off until a run is on display; the File menu writes both charts, stacked,
// and the folder chosen is kept with the settings.
TEST_F(MainWindowTest, ExportChartWritesBothChartsAndKeepsTheFolder)
{
    EXPECT_FALSE(enabled("ID_ExportChart"));
    script(1, 4);
    startRun(4);
    ASSERT_TRUE(waitIdle() && enabled("ID_ExportChart"));
    QTemporaryDir pictures;
    m_files.answers.push_back({pictures.filePath("run"), 0});
    command("ID_ExportChart");
    EXPECT_EQ(QImage(pictures.filePath("run.png")).size(), QSize(1600, 1800));
    m_state.dataState = 2; // nothing to ask at closing
    EXPECT_TRUE(window().close());
    EXPECT_EQ(stored("Chart Export", "Folder"), pictures.path());
}

// A saved run opened: the rows of both tables as the table rules give them for the file, written
// by hand; the data file untouched; Save makes another copy; a damaged file changes nothing.
TEST_F(MainWindowTest, OpenShowsASavedRunSavesItAgainAndRefusesADamagedFile)
{
    const QString source = venttest::sourcePath("tests/acq/core/expected/rectangle_three_batches.vxd");
    ASSERT_TRUE(acqWriteFile(m_state.lastDataPath, "last run"));
    const QStringList velocity = {
        "2013-05-01 10:00:00|3.25|1013", "2013-05-01 10:00:01|3.30|1014", "2013-05-01 10:00:02|3.10|1013",
        "2013-05-01 10:00:03|3.05|N", "2013-05-01 10:00:04|abc|Err", "2013-05-01 10:00:05|3.00|1013",
        "2013-05-01 10:00:06|2.95|1013"};
    const QStringList flow = {"120.5|1013", "121.0|1014", "118.2|1013", "117.9|N", "x|Err", "115.0|1013",
                              "114.1|1013"};
    auto rows = [this](DataPanel *p) {
        GridModel *m = p->table()->grid();
        QStringList out;
        for (int r = 1; r < m->gridRowCount(); ++r) {
            QStringList cells;
            for (int c = 1; c <= m->gridColumnCount(); ++c)
                cells << m->cell(r, c);
            out << cells.join('|');
        }
        return out;
    };
    auto expectShown = [&](const QString &name) {
        PanelDisplay *d = window().panels();
        EXPECT_EQ(std::tuple(rows(d->velocity()), rows(d->flow())), std::tuple(velocity, flow));
        EXPECT_EQ(std::tuple(window().windowTitle(), panel(2), panel(3), panel(4), d->velocity()->activeRow()),
                  std::tuple("Ventolux Data Acquisition Software - " + name, QString("Old Data"),
                             QString("1.0Sec"), QString("7times"), 1));
        EXPECT_TRUE(enabled("ID_Save") && enabled("ID_Open") && enabled("ID_MeasureStart"));
        EXPECT_EQ(d->velocity()->chart()->timeBase(), QDate(2013, 5, 1)); // the run's day, not today
        const RunStatistics &stats = window().runControl()->statistics(); // "abc" is a gap
        EXPECT_EQ(std::tuple(stats.samples(), stats.velocity().gaps(), stats.velocity().maximum()),
                  std::tuple(7, 1, 3.30));
    };
    window().panels()->setToday([] { return QDate(2020, 1, 1); });
    m_files.answers.push_back({source, 0});
    command("ID_Open");
    expectShown("rectangle_three_batches.vxd");
    EXPECT_EQ(std::tuple(m_files.folders.value(0), m_files.lastFilters.size()), std::tuple(m_dir.path(), 3));

    // Save copies the opened file (the data file still holds the last run), and again as TXT.
    const QString copy = m_dir.path() + QStringLiteral("/copy");
    m_files.answers.push_back({copy, 1});
    command("ID_Save");
    EXPECT_EQ(std::tuple(acqReadFile(copy + ".TXT"), acqReadFile(m_state.lastDataPath)),
              std::tuple(acqReadFile(source), QByteArray("last run")));
    m_files.answers.push_back({copy + ".TXT", 0});
    command("ID_Open");
    expectShown("copy.TXT");

    // A damaged line: one message naming the file and the line; tables, caption, status as they were.
    const QString bad = m_dir.path() + QStringLiteral("/bad.CSV");
    ASSERT_TRUE(acqWriteFile(bad, acqReadFile(source).replace(",3.10,118.2,1013,2", ",3.10")));
    m_files.answers.push_back({bad, 0});
    command("ID_Open");
    EXPECT_EQ(m_presenter.lastText(), "This file cannot be opened as a measurement:\n" + bad
                                          + "\nLine 12 is not a sample line of this measurement (damaged or edited).");
    expectShown("copy.TXT");
}

TEST_F(MainWindowTest, StopQuestionYesNoAndCancel)
{
    script(1, 1, 100000); // a run that never ends by itself
    startRun(65500);
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_state.receivedCount == 1; }, 3000));
    for (qint16 answer : {status::kNo, status::kCancel}) {
        m_presenter.queueAnswer(answer);
        command("ID_MeasureStop");
        EXPECT_EQ(m_presenter.lastText(), QStringLiteral("Are you sure you want to stop measurement ?"));
        EXPECT_EQ(std::tuple(m_state.idle, m_state.statusCode), std::tuple(qint16(0), answer));
    }
    m_presenter.queueAnswer(status::kYes);
    command("ID_MeasureStop");
    EXPECT_EQ(std::tuple(m_state.idle, m_state.dataState, m_log->stopCount), std::tuple(1, 3, 1));
}

TEST_F(MainWindowTest, WhileStartingNothingReentersTheProbe)
{
    m_probe.during = [&] {
        EXPECT_TRUE(window().isStarting() && !window().close());
        EXPECT_TRUE(!enabled("ID_New") && !enabled("ID_MeasureStart") && !enabled("ID_Exit"));
        command("ID_MeasureStop"); // ends the probe, asks nothing
    };
    script(1, 1);
    startRun(1);
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(std::tuple(m_probe.calls, m_aborts, window().isStarting()), std::tuple(1, 1, false));
}

// The command shows all four boxes (Cancel: OptionsDialogTest); Shift+Ctrl+close opens them too.
TEST_F(MainWindowTest, OptionsFromTheCommandAndFromShiftCtrlClose)
{
    onDialog<OptionsDialog>([](OptionsDialog *d) {
        EXPECT_TRUE(d->cbSavATM()->isVisible() && d->cbEnbATM()->isVisible()
                    && d->cbEnbUSB()->isVisible());
        d->cbEnbUSB()->setChecked(false);
        d->cmdSetATM()->click();
    });
    command("ID_Options");
    EXPECT_EQ(std::tuple(m_state.usbEnable, stored("measurement Parameter", "Enable USB")),
              std::tuple(qint16(0), QString("0")));
    KeyState::setOverride(Qt::ShiftModifier | Qt::ControlModifier);
    onDialog<OptionsDialog>([](OptionsDialog *d) {
        KeyState::setOverride(Qt::NoModifier);
        d->cbDspATM()->setChecked(false);
        d->cmdSetATM()->click();
    });
    EXPECT_TRUE(!window().close() && window().isVisible());
    EXPECT_EQ(std::tuple(m_state.atmDisplay, m_state.atmSave), std::tuple(0, 0)); // Save follows
    EXPECT_EQ(stored("measurement Parameter", "Display ATM"), QStringLiteral("0"));
    EXPECT_EQ(stored("Windows", "Main Left"), QString());
}

} // namespace

// The test and benchmark hook runs the stored parameters on the first instrument, without a dialog.
TEST_F(MainWindowTest, AutoStartRunTakesTheStoredParametersAndTheFirstInstrument)
{
    m_attached = false;
    EXPECT_FALSE(window().autoStartRun(false));
    EXPECT_EQ(std::tuple(m_probe.calls, m_state.idle), std::tuple(0, qint16(1)));
    m_attached = true;
    script(2, 1);
    m_state.sampleTime = 2.0f;
    m_state.sampleCount = 2;
    m_state.sampleType = 0;
    ASSERT_TRUE(window().autoStartRun(false));
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(std::tuple(m_probe.lastPath, m_log->port, m_state.usbSerialText),
              std::tuple("/dev/ttyUSB3", "/dev/ttyUSB3", "0012345"));
    EXPECT_EQ(std::tuple(m_log->sampleTime, m_log->sampleCount, m_log->sampleType, m_log->simulation),
              std::tuple(2.0f, 2, 0, false));
}

// A run of three samples, the second a gap: the statistics copied, then the cursor readout.
TEST_F(MainWindowTest, StatisticsCopyAndCursorReadout)
{
    m_script = {ScriptedDriver::Step{{"0.25,100.5,10132,1", "Err,Err,10132,3", "2.25,102.5,10132,1"}}};
    startRun(3);
    ASSERT_TRUE(waitIdle());
    command("ID_Statistics");
    StatisticsWindow *stats = window().statisticsWindow();
    ASSERT_TRUE(stats && stats->isVisible());
    stats->cmdCopy()->click();
    // Velocity 0.25 and 2.25: mean 1.25, deviations -1 and 1, standard deviation sqrt(2 / 1)
    // = 1.414; flow rate 100.5 and 102.5 likewise. The run fits on its page.
    EXPECT_EQ(QApplication::clipboard()->text(),
              QStringLiteral("\tVelocity (m/s), whole run\tVelocity (m/s), page on display"
                             "\tFlow rate (m3/h), whole run\tFlow rate (m3/h), page on display\n"
                             "Samples\t2\t2\t2\t2\n"
                             "Gaps\t1\t1\t1\t1\n"
                             "Minimum\t0.25\t0.25\t100.5\t100.5\n"
                             "Maximum\t2.25\t2.25\t102.5\t102.5\n"
                             "Mean\t1.25\t1.25\t101.5\t101.5\n"
                             "Standard deviation\t1.41\t1.41\t1.4\t1.4\n"));

    // The cursor stands on sample 1 after the run; the right arrow key takes it to sample 2.
    QLabel *readout = window().cursorReadout();
    EXPECT_EQ(readout->text(),
              QStringLiteral("Sample 1: 2013-05-01 10:00:00  Velocity 0.25 m/s  Flow rate 100.5 m3/h"));
    DataGrid *table = window().panels()->velocity()->table();
    table->setFocus();
    QTest::keyClick(table, Qt::Key_Right);
    EXPECT_EQ(readout->text(), QStringLiteral("Sample 2: 2013-05-01 10:00:01  Velocity Err  Flow rate Err"));

    // New (the run not saved, the parameter dialog cancelled): no figures, no readout.
    m_presenter.queueAnswer(status::kNo);
    onDialog<MeasurementParamDialog>([](MeasurementParamDialog *d) { d->ComdCancel()->click(); });
    command("ID_New");
    stats->refresh();
    EXPECT_EQ(std::tuple(readout->text(), stats->grid()->item(0, 0)->text(),
                         stats->grid()->item(0, 1)->text()),
              std::tuple(QString(), QString("0"), QString("0")));
}
