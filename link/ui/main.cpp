// ventlink: download of the instrument's stored records.
#include "common/core/settings_store.h"
#include "common/core/single_instance.h"
#include "common/core/status_codes.h"
#include "common/ui/program_start.h"
#include "common/ui/qt_translations.h"
#include "common/ui/test_hooks.h"
#include "common/ui/window_fonts.h"
#include "link/core/download_session.h"
#include "link/core/link_state.h"
#include "link/ui/link_presenter.h"
#include "link/ui/main_window.h"
#include "link/core/serial_link_port.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString title = QLatin1String(LinkState::kApplicationTitle);

    // 1. One copy only, and the string table.
    SingleInstance instance(QStringLiteral("ventlink"));
    StringTable table;
    int exitCode = 0;
    if (!startProgram(QStringLiteral("ventlink"), title, QStringLiteral(":/strings/ventlink_strings.tsv"),
                      instance, table, &exitCode))
        return exitCode;
    // 2. Language; 3. the cached texts.
    LinkState state;
    LinkPresenter presenter(state);
    state.presenter = &presenter;
    state.texts = Texts(&table, UiVariant::English);
    selectLinkLanguage(state, Language::detect());
    applyQtTranslations(state.texts.variant(), state.languageOffset != 0);
    if (loadLinkStrings(state) == status::kFailure)
        return 1;
    // 4. Idle.
    state.idle = 1;

    SettingsStore store(title);
    SerialLinkPort port(state);
    LinkMainWindow window(state, store, port);
    if (!window.loaded())
        return 1;
    // The instrument list follows the attached bridges; the chosen one is looked up again when
    // "Read Data" is pressed.
    window.setInstrumentScan([&port](PortTables &tables) { return port.scanInstruments(tables); });
    window.session().setPortResolver([&port](const QString &serial) { return port.resolvePort(serial); });
    presenter.setParentWindow(&window);
    // 5. Font and character set, then show.
    sApplyCharset(&window, state.charset);
    TestHooks::closeWindowWhenAsked(&window); // test hook (common/ui/test_hooks.h)
    raiseOnSecondStart(instance, &window);
    window.show();
    return app.exec();
}
