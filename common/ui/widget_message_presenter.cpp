#include "common/ui/widget_message_presenter.h"

#include "common/core/status_codes.h"
#include "common/ui/message_dialog.h"

#include <QMessageBox>

void WidgetMessagePresenter::setQuestionButtons(const QString &yes, const QString &no,
                                                const QString &cancel)
{
    m_yes = yes;
    m_no = no;
    m_cancel = cancel;
}

void WidgetMessagePresenter::notify(Icon icon, const QString &caption, const QString &text)
{
    QMessageBox::Icon boxIcon = QMessageBox::Information;
    if (icon == Icon::Exclamation)
        boxIcon = QMessageBox::Warning;
    else if (icon == Icon::Question)
        boxIcon = QMessageBox::Question;
    QMessageBox box(boxIcon, caption, text, QMessageBox::Ok, m_parent);
    box.exec();
}

qint16 WidgetMessagePresenter::askYesNo(const QString &caption, const QString &text, bool defaultNo)
{
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                    m_parent);
    box.setDefaultButton(defaultNo ? QMessageBox::No : QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? status::kAnswerYes : status::kAnswerNo;
}

qint16 WidgetMessagePresenter::askYesNoCancel(const QString &caption, const QString &text)
{
    MessageDialog dialog(m_parent, MessageDialog::Kind::Question, caption, text,
                         {{QStringLiteral("cmdYes"), m_yes, status::kYes},
                          {QStringLiteral("cmdNO"), m_no, status::kNo},
                          {QStringLiteral("cmdCancel"), m_cancel, status::kCancel}},
                         status::kCancel);
    if (m_font)
        dialog.applyFont(*m_font);
    return dialog.run();
}
