// Pictures of ventacq's main window before, during and after a run, in the three languages, with
// the scripted driver standing in for the instrument. Skipped unless VENT_SCREENSHOT_DIR is set.
#include "acq/core/acq_settings.h"
#include "acq/core/app_state.h"
#include "acq/driver/scripted_driver.h"
#include "acq/ui/data_panel.h"
#include "acq/ui/main_window.h"
#include "acq/ui/measurement_param_dialog.h"
#include "acq/ui/panel_display.h"
#include "acq/ui/statistics_window.h"
#include "common/ui/data_grid.h"
#include "common/core/settings_store.h"
#include "common/core/status_codes.h"
#include "tests/acq/ui/display_rig.h"
#include "tests/support/acq_fakes.h"
#include "tests/support/recording_presenter.h"
#include "tests/support/test_support.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(ScreenshotMainWindow, BeforeDuringAndAfterARun)
{
    if (qEnvironmentVariableIsEmpty("VENT_SCREENSHOT_DIR"))
        GTEST_SKIP() << "set VENT_SCREENSHOT_DIR to write the pictures";
    const struct { UiVariant variant; qint16 system; const char *tag; } languages[] = {
        {UiVariant::English, 1033, "-en"}, {UiVariant::Japanese, 1041, "-ja"}, {UiVariant::Chinese, 2052, "-zh"}};
    // Forty samples, four to a step (polls come at most about four times a second).
    QVector<ScriptedDriver::Step> script(10);
    for (int k = 0; k < 40; ++k)
        script[k / 4].samples << QStringLiteral("%1.25,%2.5,10132,1").arg(k % 9).arg(100 + k);
    script.resize(100010); // then silence: the run goes on until it is stopped
    for (const auto &l : languages) {
        QTemporaryDir dir;
        auto store = SettingsStore::forFile(dir.filePath(QStringLiteral("acq.ini")));
        venttest::RecordingPresenter presenter;
        venttest::FakeProbe probe;
        AppState state;
        state.systemLanguageId = l.system;
        state.versionText = makeVersionText(1, 0, 0);
        ASSERT_TRUE(venttest::loadAcqTexts(state, l.variant, Language::offsetFor(l.system), &presenter));
        AcqSettings::sLoadSettings(state, *store);
        state.lastDataPath = dir.filePath(QStringLiteral("VL4402Data.VXD"));
        state.currentDir = dir.path();
        state.idle = 1;
        state.dataState = 1;
        MainWindow::Services services;
        services.driverFactory = [&script] { return std::make_unique<ScriptedDriver>(script, 41395.0 + 10.0 / 24.0); };
        services.probe = &probe;
        services.refreshPorts = [&state] {
            state.ports.clear();
            state.ports.gPortNames[1] = QStringLiteral("/dev/ttyUSB3");
            state.ports.gSerialNos[1] = QStringLiteral("0012345");
        };
        services.resolvePort = [](const QString &) { return QStringLiteral("/dev/ttyUSB3"); };
        MainWindow w(state, *store, services);
        w.sShowMenuStat();
        w.sInitiStatusBar();
        w.show();
        w.resize(1000, 700);
        QTest::qWait(50); // the layout settles; nothing to wait on
        venttest::maybeScreenshot(&w, QStringLiteral("main-before") + QLatin1String(l.tag));

        state.sampleCount = 65500;
        state.sampleTime = 1.0f;
        QTimer::singleShot(0, [] {
            (void)QTest::qWaitFor([] { return qobject_cast<MeasurementParamDialog *>(QApplication::activeModalWidget()); }, 3000);
            if (auto *d = qobject_cast<MeasurementParamDialog *>(QApplication::activeModalWidget())) {
                d->cmbRSPort()->setCurrentIndex(0);
                d->ComdMeasurement()->click();
            }
        });
        w.commandClick(QStringLiteral("ID_MeasureStart"));
        (void)QTest::qWaitFor([&] { return state.receivedCount >= 30; }, 5000);
        venttest::maybeScreenshot(&w, QStringLiteral("main-during") + QLatin1String(l.tag));
        presenter.queueAnswer(status::kYes);
        w.commandClick(QStringLiteral("ID_MeasureStop"));
        QTest::qWait(50);
        venttest::maybeScreenshot(&w, QStringLiteral("main-after") + QLatin1String(l.tag));
        // The cursor moved five samples on by key, the readout under it; the statistics beside.
        DataGrid *table = w.panels()->velocity()->table();
        table->setFocus();
        for (int i = 0; i < 5; ++i)
            QTest::keyClick(table, Qt::Key_Right);
        w.commandClick(QStringLiteral("ID_Statistics"));
        QTest::qWait(50);
        venttest::maybeScreenshot(&w, QStringLiteral("main-readout") + QLatin1String(l.tag));
        venttest::maybeScreenshot(w.statisticsWindow(), QStringLiteral("statistics") + QLatin1String(l.tag));
        state.dataState = 1; // closes without asking about the data
        w.runControl()->sStopMeasu();
    }
}

} // namespace
