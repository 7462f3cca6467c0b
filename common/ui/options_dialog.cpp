#include "common/ui/options_dialog.h"

#include "common/ui/key_state.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

OptionsDialog::OptionsDialog(QWidget *parent, OptionFlags *flags, const Texts &texts,
                             const QString &caption)
    : QDialog(parent), m_flags(flags)
{
    setObjectName(QStringLiteral("frmEnbATM"));
    setWindowTitle(caption);
    setModal(true);

    auto make = [this, &texts](const char *name, int id) {
        auto *box = new QCheckBox(texts.value(id), this);
        box->setObjectName(QLatin1String(name));
        return box;
    };
    m_display = make("cbDspATM", kIdDisplayAtm);
    m_save = make("cbSavATM", kIdSaveAtm);
    m_enable = make("cbEnbATM", kIdEnableAtm);
    m_usb = make("cbEnbUSB", kIdEnableUsb);
    m_button = new QPushButton(texts.value(kIdButton), this);
    m_button->setObjectName(QStringLiteral("cmdSetATM"));
    m_button->setDefault(true);
    connect(m_button, &QPushButton::clicked, this, &OptionsDialog::cmdSetATM_Click);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_display);
    layout->addWidget(m_save);
    layout->addWidget(m_enable);
    layout->addWidget(m_usb);
    layout->addSpacing(6);
    layout->addWidget(m_button, 0, Qt::AlignHCenter);
    layout->setContentsMargins(24, 16, 24, 16);

    // Load.
    m_allShown = false;
    m_flags->applyInvariant();
    m_display->setChecked(m_flags->displayAtm != 0);
    m_save->setChecked(m_flags->saveAtm != 0);
    m_enable->setChecked(m_flags->enableAtm != 0);
    m_usb->setChecked(m_flags->enableUsb != 0);
    sShowAllOptions(false);
    m_button->setMinimumWidth(96);
}

OptionsDialog::OptionsDialog(QWidget *parent, OptionFlags *flags, const Texts &texts,
                             const QString &caption, const QString &cancelText)
    : OptionsDialog(parent, flags, texts, caption)
{
    m_cancel = new QPushButton(cancelText, this);
    m_cancel->setObjectName(QStringLiteral("cmdCancel"));
    m_cancel->setMinimumWidth(96);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *layout = static_cast<QVBoxLayout *>(this->layout());
    layout->removeWidget(m_button);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_button);
    buttons->addWidget(m_cancel);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    m_allShown = true;
    sShowAllOptions(true);
}

void OptionsDialog::sShowAllOptions(bool visible)
{
    m_display->setVisible(true);
    m_enable->setVisible(visible);
    m_save->setVisible(visible);
    m_usb->setVisible(visible);
    // Shrink or grow with the boxes shown, never narrower than the caption needs.
    layout()->activate();
    resize(qMax(300, sizeHint().width()), sizeHint().height());
}

void OptionsDialog::cmdSetATM_Click()
{
    if (fCtrlShiftDown()) {
        sShowAllOptions(true);
        m_allShown = true;
        return;
    }
    m_flags->enableAtm = m_enable->isChecked() ? 1 : 0;
    if (m_flags->enableAtm != 0) {
        m_flags->displayAtm = m_display->isChecked() ? 1 : 0;
        m_flags->saveAtm = m_allShown ? (m_save->isChecked() ? 1 : 0) : m_flags->displayAtm;
    } else {
        m_flags->displayAtm = 0;
        m_flags->saveAtm = 0;
    }
    m_flags->enableUsb = m_usb->isChecked() ? 1 : 0;
    accept();
}
