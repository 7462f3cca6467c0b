// The main window of ventacq driven as an operator would: commands, the command states, runs with
// the scripted driver, closing, options, geometry and language.
#include "acq/core/acq_settings.h"
#include "acq/core/app_state.h"
#include "acq/driver/scripted_driver.h"
#include "acq/ui/data_panel.h"
#include "acq/ui/graph_param_dialog.h"
#include "acq/ui/main_window.h"
#include "acq/ui/measurement_param_dialog.h"
#include "acq/ui/panel_display.h"
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
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <gtest/gtest.h>

namespace {

constexpr double kStart = 41395.0 + 10.0 / 24.0; // 2013-05-01 10:00:00

// Runs `action` on the next modal dialog of type T once it is shown.
template <typename T>
void onDialog(std::function<void(T *)> action)
{
    QTimer::singleShot(0, [action] {
        const bool shown = QTest::qWaitFor(
            [] { return qobject_cast<T *>(QApplication::activeModalWidget()) != nullptr; }, 3000);
        if (!shown) {
            ADD_FAILURE() << "the expected dialog did not open";
            if (QWidget *other = QApplication::activeModalWidget())
                other->close(); // never leave a test hanging in a modal loop
            return;
        }
        action(qobject_cast<T *>(QApplication::activeModalWidget()));
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
        m_state.idle = 1;
        m_state.dataState = 1;
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
                if (m_attached) {
                    m_state.ports.gPortNames[1] = QStringLiteral("/dev/ttyUSB3");
                    m_state.ports.gSerialNos[1] = QStringLiteral("0012345");
                }
            };
            services.resolvePort = [this](const QString &serial) {
                return m_attached && serial == QLatin1String("0012345") ? QStringLiteral("/dev/ttyUSB3")
                                                                        : QString();
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
        int k = 0;
        for (int b = 0; b < batches; ++b) {
            ScriptedDriver::Step step;
            for (int i = 0; i < perBatch; ++i, ++k)
                step.samples << QStringLiteral("%1.25,%2.5,10132,1").arg(k % 9).arg(100 + k);
            m_script << step;
        }
        for (int i = 0; i < idleSteps; ++i)
            m_script << ScriptedDriver::Step();
    }

    // The parameter dialog accepted with the attached instrument (or Cancel).
    void acceptParameters(bool accept = true)
    {
        onDialog<MeasurementParamDialog>([accept](MeasurementParamDialog *d) {
            auto *port = d->findChild<QComboBox *>(QStringLiteral("cmbRSPort"));
            if (port && port->count() > 0)
                port->setCurrentIndex(0);
            d->findChild<QPushButton *>(accept ? QStringLiteral("ComdMeasurement") : QStringLiteral("ComdCancel"))
                ->click();
        });
    }

    void startRun(int sampleCount)
    {
        m_state.sampleCount = sampleCount;
        m_state.sampleTime = 1.0f;
        acceptParameters();
        window().commandClick(QStringLiteral("ID_MeasureStart"));
    }

    bool waitIdle(int ms = 5000)
    {
        return QTest::qWaitFor([this] { return m_state.idle == 1; }, ms);
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

TEST_F(MainWindowTest, OpensWithTheStoredSizeAndTheIdleCommandStates)
{
    MainWindow &w = window();
    // Nothing stored: the first size is FirstRun.WindowOpensWideEnoughForEveryColumn's.
    EXPECT_EQ(w.splitterFractions(), (std::array<float, 3>{0.5f, 0.5f, 0.485f}));
    EXPECT_TRUE(w.layoutReady());
    for (const char *id : {"ID_New", "ID_Exit", "ID_MeasureStart", "ID_GraphPEdit", "ID_About"})
        EXPECT_TRUE(enabled(id)) << id;
    EXPECT_FALSE(enabled("ID_Save") || enabled("ID_MeasureStop"));
    // An English system: the language commands are hidden.
    for (const char *id : {"ID_English", "ID_Japanese", "ID_Chinese"})
        EXPECT_FALSE(w.tool(QLatin1String(id))->isVisible()) << id;
    EXPECT_EQ(panel(1), QStringLiteral("Display"));
    // "Save" does nothing without new data.
    w.commandClick(QStringLiteral("ID_Save"));
    EXPECT_TRUE(m_files.folders.isEmpty());
}

TEST_F(MainWindowTest, RunEndsByCountAndLeavesNewDataToSave)
{
    script(3, 2);
    bool sawRunning = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (m_state.idle == 0 && !sawRunning && m_state.receivedCount > 0) {
            sawRunning = true;
            EXPECT_EQ(panel(1), QStringLiteral("Measurement"));
            EXPECT_TRUE(!enabled("ID_New") && !enabled("ID_Exit") && enabled("ID_MeasureStop"));
            EXPECT_TRUE(panel(4).endsWith(QStringLiteral(" /6")));
            EXPECT_FALSE(window().close()); // closing is refused during a run
        }
    });
    poll.start(1);
    startRun(6);
    ASSERT_TRUE(waitIdle());
    poll.stop();
    EXPECT_TRUE(sawRunning);
    EXPECT_EQ(std::tuple(m_probe.lastPath, m_log->port, m_state.receivedCount),
              std::tuple("/dev/ttyUSB3", "/dev/ttyUSB3", 6));
    EXPECT_EQ(std::tuple(panel(1), panel(2), panel(6)),
              std::tuple(QString("Display"), QString("New Data"), QString("0012345")));
    EXPECT_TRUE(enabled("ID_Save") && !enabled("ID_MeasureStop"));
    // Browsing: the tables hold the run, the cursor on sample 1.
    EXPECT_EQ(window().panels()->velocity()->table()->grid()->gridRowCount(), 7);

    // Save: the file dialog, then "Old Data" and the file name in the caption.
    const QString saved = m_dir.path() + QStringLiteral("/run.CSV");
    m_files.answers.push_back({saved, 0});
    window().commandClick(QStringLiteral("ID_Save"));
    EXPECT_EQ(std::tuple(panel(2), enabled("ID_Save")), std::tuple(QString("Old Data"), false));
    EXPECT_TRUE(QFile::exists(saved));
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Ventolux Data Acquisition Software - run.CSV"));
}

TEST_F(MainWindowTest, StopQuestionYesNoAndCancel)
{
    script(1, 1, 100000); // a run that never ends by itself
    startRun(65500);
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_state.receivedCount == 1; }, 3000));
    for (qint16 answer : {status::kNo, status::kCancel}) {
        m_presenter.queueAnswer(answer);
        window().commandClick(QStringLiteral("ID_MeasureStop"));
        EXPECT_EQ(m_presenter.lastText(), QStringLiteral("Are you sure you want to stop measurement ?"));
        EXPECT_EQ(std::tuple(m_state.idle, m_state.statusCode), std::tuple(qint16(0), answer));
    }
    m_presenter.queueAnswer(status::kYes);
    window().commandClick(QStringLiteral("ID_MeasureStop"));
    EXPECT_EQ(std::tuple(m_state.idle, m_state.dataState, m_log->stopCount), std::tuple(1, 3, 1));
}

TEST_F(MainWindowTest, WhileStartingNothingReentersTheProbe)
{
    bool checked = false;
    m_probe.during = [&] {
        checked = true;
        EXPECT_TRUE(window().isStarting());
        EXPECT_TRUE(!enabled("ID_New") && !enabled("ID_MeasureStart") && !enabled("ID_Exit"));
        EXPECT_FALSE(window().close());
        window().commandClick(QStringLiteral("ID_MeasureStop")); // ends the probe, asks nothing
    };
    script(1, 1);
    startRun(1);
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(std::tuple(checked, m_aborts, window().isStarting()), std::tuple(true, 1, false));
}

TEST_F(MainWindowTest, ClosingAsksAboutUnsavedDataAndWritesTheSettings)
{
    script(1, 2);
    startRun(2);
    ASSERT_TRUE(waitIdle());
    m_presenter.queueAnswer(status::kCancel);
    EXPECT_FALSE(window().close()); // the question: DataSaverTest.AskSaveChangesAnswers
    EXPECT_FALSE(m_store->readText(QStringLiteral("Windows"), QStringLiteral("Main Width")).has_value());

    window().resize(700, 520);
    m_presenter.queueAnswer(status::kNo);
    EXPECT_TRUE(window().close());
    EXPECT_EQ(m_store->readText(QStringLiteral("Measurement Parameter"), QStringLiteral("Sample Num")),
              QStringLiteral("2"));
    EXPECT_EQ(m_store->readText(QStringLiteral("Windows"), QStringLiteral("Main Width")), QStringLiteral("10500"));
    m_window.reset();

    // The next start comes back at the same size; closed minimised, the stored size stays.
    m_state.dataState = 1;
    EXPECT_EQ(window().geometry().size(), QSize(700, 520));
    window().showMinimized();
    EXPECT_TRUE(window().close());
    EXPECT_EQ(m_store->readText(QStringLiteral("Windows"), QStringLiteral("Main Width")), QStringLiteral("10500"));
}

TEST_F(MainWindowTest, ShiftCtrlCloseOpensTheOptionsAndKeepsTheWindow)
{
    MainWindow &w = window();
    KeyState::setOverride(Qt::ShiftModifier | Qt::ControlModifier);
    onDialog<OptionsDialog>([](OptionsDialog *d) {
        KeyState::setOverride(Qt::NoModifier);
        d->cbDspATM()->setChecked(false);
        d->cmdSetATM()->click();
    });
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(std::tuple(m_state.atmDisplay, m_state.atmSave),
              std::tuple(0, 0)); // Save copies Display
    EXPECT_EQ(m_store->readText(QStringLiteral("measurement Parameter"), QStringLiteral("Display ATM")),
              QStringLiteral("0"));
    EXPECT_FALSE(m_store->readText(QStringLiteral("Windows"), QStringLiteral("Main Left")).has_value());
}

TEST_F(MainWindowTest, GraphParametersResetThePaneHeightsAtTheNextLayout)
{
    MainWindow &w = window();
    w.resize(900, 700);
    auto *left = qobject_cast<QSplitter *>(w.splMain()->widget(0));
    left->setSizes({100, 500});
    Q_EMIT left->splitterMoved(100, 1);
    const std::array<float, 3> moved = w.splitterFractions();
    EXPECT_LT(moved[0], 0.3f);
    onDialog<GraphParamDialog>([](GraphParamDialog *d) { d->cmdOK()->click(); });
    w.commandClick(QStringLiteral("ID_GraphPEdit"));
    EXPECT_FLOAT_EQ(w.splitterFractions()[0], 0.5f);
    EXPECT_FLOAT_EQ(w.splitterFractions()[2], 0.485f);
    EXPECT_FLOAT_EQ(w.splitterFractions()[1], moved[1]);
}

TEST_F(MainWindowTest, StatusBarAndToolBarCommands)
{
    MainWindow &w = window();
    for (bool visible : {false, true}) {
        w.tool(AcqCommand::StatusBar)->trigger();
        EXPECT_EQ(w.statusBar()->isVisible(), visible);
    }
    w.tool(AcqCommand::ToolsBar)->trigger();
    EXPECT_FALSE(w.toolBar()->isVisible());
}

TEST_F(MainWindowTest, LanguageSwitchThereAndBack)
{
    language(UiVariant::Japanese, 1041);
    MainWindow &w = window();
    QAction *english = w.tool(QStringLiteral("ID_English"));
    QAction *japanese = w.tool(QStringLiteral("ID_Japanese"));
    EXPECT_TRUE(english->isVisible() && japanese->isVisible() && japanese->isChecked());
    EXPECT_FALSE(w.tool(QStringLiteral("ID_Chinese"))->isVisible());
    EXPECT_EQ(w.tool(AcqCommand::New)->text(), QStringLiteral("新規"));
    EXPECT_EQ(panel(1), QStringLiteral("Display")); // stays English
    EXPECT_EQ(w.statusPanel(1)->font().family(), QStringLiteral("ＭＳ Ｐゴシック"));

    w.commandClick(QStringLiteral("ID_English"));
    EXPECT_TRUE(english->isChecked() && !japanese->isChecked());
    EXPECT_EQ(w.tool(AcqCommand::New)->text(), QStringLiteral("New"));
    EXPECT_EQ(w.statusPanel(1)->toolTip(), QStringLiteral("Program Status"));
    EXPECT_EQ(w.statusPanel(1)->font().family(), QStringLiteral("Times New Roman"));

    w.commandClick(QStringLiteral("ID_Japanese"));
    EXPECT_EQ(std::tuple(m_state.languageOffset, m_state.fontChangeFlag), std::tuple(10000, 128));
    EXPECT_EQ(w.tool(AcqCommand::New)->text(), QStringLiteral("新規"));
}

} // namespace

// The test and benchmark hook (VENTACQ_TEST_AUTORUN): a run with the stored parameters on the
// first attached instrument and no dialog; without an instrument only a simulated run starts.
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
    EXPECT_EQ(m_state.receivedCount, 2);

    m_attached = false;
    script(1, 1);
    m_state.sampleCount = 1;
    ASSERT_TRUE(window().autoStartRun(true));
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(std::tuple(m_log->simulation, m_probe.calls), std::tuple(true, 1)); // no probe
}
