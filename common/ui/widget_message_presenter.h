#pragma once

#include "common/core/message_presenter.h"
#include "common/ui/window_fonts.h"

#include <QPointer>
#include <QWidget>
#include <optional>

// Shows messages in real message boxes, parented to the program's main window when it has one.
class WidgetMessagePresenter : public MessagePresenter
{
public:
    void setParentWindow(QWidget *parent) { m_parent = parent; }
    // Texts and font of the Yes/No/Cancel dialog (the program's own message dialog).
    void setQuestionButtons(const QString &yes, const QString &no, const QString &cancel);
    void setQuestionFont(const std::optional<LanguageFont> &font) { m_font = font; }

    void notify(Icon icon, const QString &caption, const QString &text) override;
    qint16 askYesNo(const QString &caption, const QString &text, bool defaultNo) override;
    qint16 askYesNoCancel(const QString &caption, const QString &text) override;

private:
    QPointer<QWidget> m_parent;
    QString m_yes = QStringLiteral("Yes");
    QString m_no = QStringLiteral("No");
    QString m_cancel = QStringLiteral("Cancel");
    std::optional<LanguageFont> m_font;
};
