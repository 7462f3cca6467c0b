#pragma once

#include <QString>
#include <QtGlobal>

// How core code shows a message or asks a question without depending on widgets. The programs
// install a presenter that shows real message boxes; tests install one that records and answers.
// Every call is modal: it returns when the user has answered.
class MessagePresenter
{
public:
    enum class Icon { Information, Exclamation, Question };

    virtual ~MessagePresenter() = default;

    // A message box with one OK button.
    virtual void notify(Icon icon, const QString &caption, const QString &text) = 0;
    // A Yes/No question; returns status::kAnswerYes (6) or status::kAnswerNo (7).
    virtual qint16 askYesNo(const QString &caption, const QString &text, bool defaultNo) = 0;
    // The Yes/No/Cancel message dialog of ventacq; returns status::kYes, kNo or kCancel
    // (closing it without a button answers kCancel).
    virtual qint16 askYesNoCancel(const QString &caption, const QString &text) = 0;
};
