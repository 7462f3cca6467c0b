#include "link/ui/drive_combo.h"

#include "link/core/drive_list.h"

#include <QSignalBlocker>

DriveCombo::DriveCombo(QWidget *parent) : QComboBox(parent)
{
    refresh();
}

void DriveCombo::refresh()
{
    const QSignalBlocker block(this);
    const QString current = currentText();
    clear();
    addItems(DriveList::drives());
    if (!current.isEmpty())
        showDrive(current);
}

void DriveCombo::showDrive(const QString &drive)
{
    const QSignalBlocker block(this);
    int i = findText(drive, Qt::MatchExactly);
    if (i < 0) {
        addItem(drive);
        i = count() - 1;
    }
    setCurrentIndex(i);
}

void DriveCombo::showPopup()
{
    refresh();
    QComboBox::showPopup();
}
