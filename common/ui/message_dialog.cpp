#include "common/ui/message_dialog.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

MessageDialog::MessageDialog(QWidget *parent, Kind kind, const QString &caption,
                             const QString &text, const QList<Button> &buttons, qint16 escapeCode)
    : QDialog(parent), m_answer(escapeCode), m_escapeCode(escapeCode)
{
    setObjectName(QStringLiteral("frmErrMsg"));
    setWindowTitle(caption);
    setModal(true);

    auto *icon = new QLabel(this);
    const QStyle::StandardPixmap pixmap = kind == Kind::Question ? QStyle::SP_MessageBoxQuestion
                                                                 : QStyle::SP_MessageBoxInformation;
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(pixmap, nullptr, this).pixmap(iconSize, iconSize));
    icon->setAlignment(Qt::AlignTop);

    m_label = new QLabel(text, this);
    m_label->setObjectName(QStringLiteral("lblMessage"));
    m_label->setWordWrap(true);
    m_label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_label->setMinimumWidth(300);

    auto *top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(m_label, 1);

    auto *row = new QHBoxLayout;
    row->addStretch(1);
    bool first = true;
    for (const Button &b : buttons) {
        auto *button = new QPushButton(b.text, this);
        button->setObjectName(b.objectName);
        button->setMinimumWidth(88);
        if (first) {
            button->setDefault(true);
            button->setFocus();
            first = false;
        }
        const qint16 code = b.code;
        connect(button, &QPushButton::clicked, this, [this, code] {
            m_answer = code;
            done(QDialog::Accepted);
        });
        row->addWidget(button);
    }
    if (buttons.size() == 1)
        row->addStretch(1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addLayout(row);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void MessageDialog::applyFont(const LanguageFont &font)
{
    sApplyLanguageFont(this, font);
}

void MessageDialog::reject()
{
    m_answer = m_escapeCode;
    QDialog::reject();
}

qint16 MessageDialog::run()
{
    adjustSize();
    sCenterForm(this);
    exec();
    return m_answer;
}
