#pragma once

#include "common/core/message_presenter.h"
#include "common/core/status_codes.h"

#include <QList>
#include <QString>
#include <deque>

namespace venttest {

// A message presenter for tests: records every message and answers questions from a script
// (Yes, then whatever was queued; Yes / -10000 when nothing is queued).
class RecordingPresenter : public MessagePresenter
{
public:
    struct Shown
    {
        enum class Kind { Notify, YesNo, YesNoCancel } kind;
        Icon icon;
        QString caption;
        QString text;
    };

    void notify(Icon icon, const QString &caption, const QString &text) override
    {
        shown.append({Shown::Kind::Notify, icon, caption, text});
    }
    qint16 askYesNo(const QString &caption, const QString &text, bool) override
    {
        shown.append({Shown::Kind::YesNo, Icon::Question, caption, text});
        return next(status::kAnswerYes);
    }
    qint16 askYesNoCancel(const QString &caption, const QString &text) override
    {
        shown.append({Shown::Kind::YesNoCancel, Icon::Question, caption, text});
        return next(status::kYes);
    }

    void queueAnswer(qint16 answer) { answers.push_back(answer); }
    QString lastText() const { return shown.isEmpty() ? QString() : shown.last().text; }
    int count() const { return int(shown.size()); }

    QList<Shown> shown;
    std::deque<qint16> answers;

private:
    qint16 next(qint16 fallback)
    {
        if (answers.empty())
            return fallback;
        const qint16 a = answers.front();
        answers.pop_front();
        return a;
    }
};

} // namespace venttest
