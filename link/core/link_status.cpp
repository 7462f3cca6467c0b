#include "link/core/link_status.h"

#include "common/core/message_presenter.h"
#include "link/core/link_state.h"

void linkstatus::sShowLinkStatus(const LinkState &state)
{
    const qint16 code = state.gLinkStatus;
    if (!hasMessage(code) || !state.presenter)
        return;
    const QString &text = state.errorTexts[size_t(code)];
    if (text.isEmpty())
        return;
    state.presenter->notify(MessagePresenter::Icon::Information,
                            QLatin1String(LinkState::kApplicationTitle), text);
}
