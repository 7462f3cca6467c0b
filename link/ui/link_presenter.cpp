#include "link/ui/link_presenter.h"

#include "link/core/link_state.h"
#include "link/core/link_string_ids.h"
#include "common/ui/message_dialog.h"

#include <QApplication>

void LinkPresenter::notify(Icon icon, const QString &caption, const QString &text)
{
    if (icon != Icon::Information) {
        WidgetMessagePresenter::notify(icon, caption, text);
        return;
    }
    QWidget *parent = QApplication::activeWindow();
    MessageDialog dialog(parent, MessageDialog::Kind::Notice, caption, text,
                         {{QStringLiteral("cmdOK"), m_state.texts.value(linkid::kFixedOk), 0}}, 0);
    const std::optional<LanguageFont> font =
        LanguageFont::fromTable(m_state.texts, m_state.languageOffset, m_state.charset);
    if (font)
        dialog.applyFont(*font);
    dialog.run();
}
