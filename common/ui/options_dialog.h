#pragma once

#include "common/core/option_flags.h"
#include "common/core/string_table.h"

#include <QDialog>

class QCheckBox;
class QPushButton;

// The atmosphere and USB options (frmEnbATM). Not on any menu: the main windows open it when they
// are closed with Shift and Ctrl held. At first only "Display ATM" shows; pressing the button with
// Shift and Ctrl held reveals the other three. Pressing it otherwise stores the boxes into the
// flags and closes; closing by the window frame changes nothing.
class OptionsDialog : public QDialog
{
    Q_OBJECT
public:
    // Fixed caption IDs of the string tables.
    static constexpr int kIdDisplayAtm = 9531;
    static constexpr int kIdSaveAtm = 9532;
    static constexpr int kIdEnableAtm = 9533;
    static constexpr int kIdEnableUsb = 9534;
    static constexpr int kIdButton = 9535;

    OptionsDialog(QWidget *parent, OptionFlags *flags, const Texts &texts, const QString &caption);

    void sShowAllOptions(bool visible);
    bool allShown() const { return m_allShown; }

    QCheckBox *cbDspATM() const { return m_display; }
    QCheckBox *cbSavATM() const { return m_save; }
    QCheckBox *cbEnbATM() const { return m_enable; }
    QCheckBox *cbEnbUSB() const { return m_usb; }
    QPushButton *cmdSetATM() const { return m_button; }

private:
    void cmdSetATM_Click();

    OptionFlags *m_flags;
    QCheckBox *m_display;
    QCheckBox *m_save;
    QCheckBox *m_enable;
    QCheckBox *m_usb;
    QPushButton *m_button;
    bool m_allShown = false;
};
