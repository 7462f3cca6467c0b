// ventlink: download of the instrument's stored records.
#include "common/core/settings_store.h"
#include "common/core/single_instance.h"
#include "common/core/status_codes.h"
#include "common/ui/qt_translations.h"
#include "common/ui/widget_message_presenter.h"
#include "common/ui/window_fonts.h"
#include "link/core/link_state.h"
#include "link/ui/main_window.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Ventolux"));
    QCoreApplication::setApplicationName(QStringLiteral("ventlink"));
    installFontSubstitutions();
    const QString title = QLatin1String(LinkState::kApplicationTitle);

    SingleInstance instance(QStringLiteral("ventlink"));
    if (!instance.tryAcquire()) {
        QMessageBox::warning(nullptr, title, title + QStringLiteral(" is Running !"));
        return 0;
    }
    StringTable table;
    if (!table.loadFile(QStringLiteral(":/strings/ventlink_strings.tsv"))) {
        QMessageBox::warning(nullptr, title, QStringLiteral("Error reading from resource file."));
        return 1;
    }
    LinkState state;
    WidgetMessagePresenter presenter;
    state.presenter = &presenter;
    state.texts = Texts(&table, UiVariant::English);
    selectLinkLanguage(state, Language::detect());
    applyQtTranslations(state.texts.variant(), state.languageOffset != 0);
    if (loadLinkStrings(state) == status::kFailure)
        return 1;
    state.idle = 1;

    LinkMainWindow window(state);
    presenter.setParentWindow(&window);
    sApplyCharset(&window, state.charset);
    window.show();
    return app.exec();
}
