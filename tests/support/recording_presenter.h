#pragma once

#include "common/core/message_presenter.h"
#include "common/core/status_codes.h"

#include <QList>
#include <QString>
#include <deque>

namespace venttest {

// A message presenter for tests: records every message and question and answers the questions from
// a queue (Yes when it is empty: -10000 to a yes/no question, the Yes code to a three-way one).
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
        const qint16 answer = answers.empty() ? fallback : answers.front();
        if (!answers.empty())
            answers.pop_front();
        return answer;
    }
};

} // namespace venttest
