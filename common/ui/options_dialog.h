#pragma once

#include "common/core/option_flags.h"
#include "common/core/string_table.h"

#include <QDialog>

class QCheckBox;
class QPushButton;

// The atmosphere and USB options (frmEnbATM). The main windows open it when they are closed with
// Shift and Ctrl held: at first only "Display ATM" shows, and pressing the button with Shift and
// Ctrl held reveals the other three. Their "Options..." command opens it with all four boxes and a
// Cancel button. Pressing the button otherwise stores the boxes into the flags and closes;
// Cancel and closing by the window frame change nothing.
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
    // The dialog of the "Options..." command: all four boxes, and Cancel with `cancelText`.
    OptionsDialog(QWidget *parent, OptionFlags *flags, const Texts &texts, const QString &caption,
                  const QString &cancelText);

    void sShowAllOptions(bool visible);
    bool allShown() const { return m_allShown; }

    QCheckBox *cbDspATM() const { return m_display; }
    QCheckBox *cbSavATM() const { return m_save; }
    QCheckBox *cbEnbATM() const { return m_enable; }
    QCheckBox *cbEnbUSB() const { return m_usb; }
    QPushButton *cmdSetATM() const { return m_button; }
    QPushButton *cmdCancel() const { return m_cancel; }

private:
    void cmdSetATM_Click();

    OptionFlags *m_flags;
    QCheckBox *m_display;
    QCheckBox *m_save;
    QCheckBox *m_enable;
    QCheckBox *m_usb;
    QPushButton *m_button;
    QPushButton *m_cancel = nullptr;
    bool m_allShown = false;
};
