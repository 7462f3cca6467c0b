#pragma once

#include "common/ui/widget_message_presenter.h"

struct LinkState;

// ventlink's message presenter: status messages (information) in the program's own message
// dialog (frmErrMsg) with one button and the language's font; questions and start-up errors in
// message boxes.
class LinkPresenter : public WidgetMessagePresenter
{
public:
    explicit LinkPresenter(const LinkState &state) : m_state(state) {}

    void notify(Icon icon, const QString &caption, const QString &text) override;

private:
    const LinkState &m_state;
};
