// ventacq: live air-velocity and flow-rate measurement.
#include "acq/core/acq_settings.h"
#include "acq/core/app_state.h"
#include "acq/ui/acq_presenter.h"
#include "acq/ui/main_window.h"
#include "acq/ui/splash_window.h"
#include "common/core/event_wait.h"
#include "common/core/settings_store.h"
#include "common/core/single_instance.h"
#include "common/core/status_codes.h"
#include "common/ui/qt_translations.h"
#include "common/ui/window_fonts.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QStandardPaths>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Ventolux"));
    QCoreApplication::setApplicationName(QStringLiteral("ventacq"));
    installFontSubstitutions();
    const QString title = QLatin1String(AcqSettings::kApplicationTitle);

    SingleInstance instance(QStringLiteral("ventacq"));
    if (!instance.tryAcquire()) {
        QMessageBox::warning(nullptr, title, title + QStringLiteral(" is Running !"));
        return 0;
    }

    StringTable table;
    if (!table.loadFile(QStringLiteral(":/strings/ventacq_strings.tsv"))) {
        QMessageBox::warning(nullptr, title, QLatin1String(kResourceErrorText));
        return 1;
    }

    AppState state;
    AcqPresenter presenter(state);
    state.presenter = &presenter;
    state.texts = Texts(&table, UiVariant::English);
    sSelectLanguage(state, Language::detect());
    applyQtTranslations(state.texts.variant(), state.languageOffset != 0);
    state.versionText = makeVersionText(VENT_VERSION_MAJOR, VENT_VERSION_MINOR, VENT_VERSION_PATCH);
    if (fLoadCommonStrings(state) == status::kFailure)
        return 1;
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

    auto *splash = new SplashWindow(state);
    splash->show();
    splash->repaint();
    sDelay(10);

    MainWindow window(state);
    presenter.setParentWindow(&window);
    state.mainWindow = &window;
    splash->close();
    delete splash;
    window.show();
    return app.exec();
}
