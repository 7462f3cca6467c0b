#pragma once

#include "common/ui/window_fonts.h"

#include <QDialog>
#include <QList>
#include <optional>

class QLabel;

// The programs' own message dialog: a text and one or more buttons, each answering a code.
// ventacq uses it as its Yes/No/Cancel question (answers -10000, -20000, -30000); ventlink as a
// notice with one button. Closing it without a button (Esc, the window frame) answers
// `escapeCode`. The answer is handed back by exec-and-return, so nothing can change it between
// the click and the read.
class MessageDialog : public QDialog
{
    Q_OBJECT
public:
    struct Button
    {
        QString objectName; // e.g. "cmdYes"
        QString text;
        qint16 code;
    };
    enum class Kind { Question, Notice };

    MessageDialog(QWidget *parent, Kind kind, const QString &caption, const QString &text,
                  const QList<Button> &buttons, qint16 escapeCode);

    // Applies the language font to the whole dialog (and, for a notice, to its text).
    void applyFont(const LanguageFont &font);
    qint16 answer() const { return m_answer; }
    QLabel *messageLabel() const { return m_label; }

    // Shows the dialog modally, centred on the screen, and returns the answer.
    qint16 run();

protected:
    void reject() override;

private:
    QLabel *m_label = nullptr;
    qint16 m_answer;
    qint16 m_escapeCode;
};
