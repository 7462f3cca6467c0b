#include "acq/ui/acq_presenter.h"

#include "acq/core/acq_string_ids.h"
#include "acq/core/app_state.h"

qint16 AcqPresenter::askYesNoCancel(const QString &caption, const QString &text)
{
    // fLoadRes of the message dialog: font, caption 510 and the three buttons of the active block.
    const int offset = m_state.languageOffset;
    setQuestionButtons(m_state.localText(acqid::kYes), m_state.localText(acqid::kNo),
                       m_state.localText(acqid::kMsgCancel));
    setQuestionFont(LanguageFont::fromTable(m_state.texts, offset, m_state.fontChangeFlag));
    Q_UNUSED(caption);
    return WidgetMessagePresenter::askYesNoCancel(m_state.localText(acqid::kAppTitle), text);
}
