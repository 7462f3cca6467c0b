#pragma once

#include "common/ui/widget_message_presenter.h"

struct AppState;

// ventacq's message presenter: message boxes, and its own Yes/No/Cancel message dialog
// (frmErrMsg) with the texts and font of the active language.
class AcqPresenter : public WidgetMessagePresenter
{
public:
    explicit AcqPresenter(AppState &state) : m_state(state) {}

    qint16 askYesNoCancel(const QString &caption, const QString &text) override;

private:
    AppState &m_state;
};
