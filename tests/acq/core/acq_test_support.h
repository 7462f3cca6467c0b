#pragma once

#include "acq/core/app_state.h"
#include "common/core/message_presenter.h"
#include "tests/support/acq_fakes.h"
#include "tests/support/recording_presenter.h"

#include <QStringList>
#include <functional>
#include <memory>

namespace acqtest {

using venttest::FakeProbe;
using venttest::RecordingDisplay;
using venttest::ScriptedFileDialog;

// An AppState with the cached texts of ventacq's string table in the given block and variant.
std::unique_ptr<AppState> makeState(UiVariant variant = UiVariant::English, qint16 offset = 0);

// Reads a whole file (empty when missing).
QByteArray readFile(const QString &path);
// A hand-written expected file of tests/acq/core/expected/.
QByteArray expectedFile(const QString &name);

// The shared recording presenter, plus what the run-control tests need: a hook that runs while
// a message is "open" (as the nested event loop of a modal box would) and the default button of
// the last Yes/No question.
class RecordingPresenter : public venttest::RecordingPresenter
{
public:
    void notify(Icon icon, const QString &caption, const QString &text) override
    {
        venttest::RecordingPresenter::notify(icon, caption, text);
        shownNow();
    }
    qint16 askYesNo(const QString &caption, const QString &text, bool defaultNo) override
    {
        lastDefaultNo = defaultNo;
        shownNow();
        return venttest::RecordingPresenter::askYesNo(caption, text, defaultNo);
    }
    qint16 askYesNoCancel(const QString &caption, const QString &text) override
    {
        shownNow();
        return venttest::RecordingPresenter::askYesNoCancel(caption, text);
    }
    QStringList texts() const;

    std::function<void()> whileShown;
    bool lastDefaultNo = false;

private:
    void shownNow()
    {
        if (whileShown)
            whileShown();
    }
};

} // namespace acqtest
