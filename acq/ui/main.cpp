// ventacq: live air-velocity and flow-rate measurement.
#include "acq/core/acq_settings.h"
#include "acq/core/app_state.h"
#include "acq/core/serial_link_probe.h"
#include "acq/driver/instrument_driver.h"
#include "acq/ui/acq_presenter.h"
#include "acq/ui/main_window.h"
#include "acq/ui/splash_window.h"
#include "common/core/event_wait.h"
#include "common/core/link_settings.h"
#include "common/core/serial_link.h"
#include "common/core/settings_store.h"
#include "common/core/single_instance.h"
#include "common/core/status_codes.h"
#include "common/core/system_bridge_source.h"
#include "common/core/usb_discovery.h"
#include "common/ui/program_start.h"
#include "common/ui/qt_translations.h"
#include "common/ui/test_hooks.h"
#include "common/ui/window_fonts.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <cstdio>
#include <ctime>

int main(int argc, char **argv)
{
    QElapsedTimer startClock;
    startClock.start();
    QApplication app(argc, argv);
    const QString title = QLatin1String(AcqSettings::kApplicationTitle);
    // Start-up measurement (bench/): no splash pause, report the time to the shown window, quit.
    const bool startupBench = !TestHooks::value(TestHooks::Hook::AcqBenchStartup).isEmpty();
    // VENTACQ_TEST_AUTORUN=live or simulation (common/ui/test_hooks.h).
    const QByteArray autorun = TestHooks::value(TestHooks::Hook::AcqAutorun);

    // 1. One copy only, and the string table.
    SingleInstance instance(QStringLiteral("ventacq"));
    StringTable table;
    int exitCode = 0;
    if (!startProgram(QStringLiteral("ventacq"), title, QStringLiteral(":/strings/ventacq_strings.tsv"),
                      instance, table, &exitCode))
        return exitCode;

    // 2-4. Language, version, cached texts.
    AppState state;
    AcqPresenter presenter(state);
    state.presenter = &presenter;
    state.texts = Texts(&table, UiVariant::English);
    sSelectLanguage(state, Language::detect());
    applyQtTranslations(state.texts.variant(), state.languageOffset != 0);
    state.versionText = makeVersionText(VENT_VERSION_MAJOR, VENT_VERSION_MINOR, VENT_VERSION_PATCH);
    if (fLoadCommonStrings(state) == status::kFailure)
        return 1;

    // 5-8. Settings and the starting state.
    state.graphTimeStep = 0.1f;
    SettingsStore store(title);
    AcqSettings::sLoadSettings(state, store);
    state.idle = 1;
    state.dataState = 1;
    state.currentDir = QDir::currentPath();
    const QString dataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(dataDir);
    state.lastDataPath = dataDir + QStringLiteral("/VL4402Data.VXD");
    state.simulation = 0;

    // The instrument: USB discovery, the serial link of the start-of-run probe, the driver.
    SystemBridgeSource bridges;
    UsbDiscovery usb(bridges);
    SerialLink link(LinkSettings::ventacq());
    link.bind(SerialLinkProbe::fieldsOf(state));
    SerialLinkProbe probe(link);
    MainWindow::Services services;
    services.driverFactory = [] { return std::make_unique<InstrumentDriver>(); };
    services.probe = &probe;
    services.refreshPorts = [&usb, &state] { usb.refresh(state.ports, {}); };
    services.resolvePort = [&usb](const QString &serial) { return usb.fResolvePort(serial); };
    services.abortProbe = [&link] { link.abort(); };

    // 9. The main window loads; its commands and status bar are set up.
    MainWindow window(state, store, services);
    presenter.setParentWindow(&window);
    window.sShowMenuStat();
    window.sInitiStatusBar();

    // 10-11. Splash, a pause with the event loop running, then the main window.
    if (!startupBench) {
        auto *splash = new SplashWindow(state);
        splash->show();
        splash->repaint();
        sDelay(10);
        splash->close();
        delete splash;
    }
    if (startupBench) {
        QObject::connect(&window, &MainWindow::firstShown, &app, [&] {
            std::printf("ventacq: main window shown after %lld ms (CPU %lld ms)\n",
                        static_cast<long long>(startClock.elapsed()),
                        static_cast<long long>(std::clock() * 1000 / CLOCKS_PER_SEC));
            std::fflush(stdout);
            app.quit();
        });
    }
    // Test hooks of the whole-program, package and benchmark runs (common/ui/test_hooks.h): a
    // run with the stored parameters as soon as the window is shown, and closing the window.
    if (autorun == "live" || autorun == "simulation") {
        QObject::connect(&window, &MainWindow::firstShown, &window, [&window, &autorun] {
            if (!window.autoStartRun(autorun == "simulation"))
                std::fprintf(stderr, "ventacq: autorun: no instrument attached\n");
        });
    } else if (!autorun.isEmpty()) {
        std::fprintf(stderr, "ventacq: autorun must be live or simulation\n");
    }
    TestHooks::closeWindowWhenAsked(&window);
    raiseOnSecondStart(instance, &window);
    window.show();
    return app.exec();
}
