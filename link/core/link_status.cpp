#include "link/core/link_status.h"

#include "common/core/message_presenter.h"
#include "link/core/link_state.h"

void linkstatus::sShowLinkStatus(LinkState &state)
{
    const QString detail = state.statusDetail;
    state.statusDetail.clear();
    const qint16 code = state.gLinkStatus;
    if (!hasMessage(code) || !state.presenter)
        return;
    QString text = state.errorTexts[size_t(code)];
    if (text.isEmpty())
        return;
    if (!detail.isEmpty())
        text += QLatin1Char('\n') + detail;
    state.presenter->notify(MessagePresenter::Icon::Information,
                            QLatin1String(LinkState::kApplicationTitle), text);
}
