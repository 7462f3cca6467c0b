#pragma once

#include <QComboBox>

// The drive list of the folder browser (Drv): "/" and the mounted volumes a user saves to. The
// list is read again each time it opens, so a volume mounted meanwhile appears.
class DriveCombo : public QComboBox
{
    Q_OBJECT
public:
    explicit DriveCombo(QWidget *parent = nullptr);

    // Reads the volumes again, keeping the current choice.
    void refresh();
    QString drive() const { return currentText(); }
    // Shows `drive` as the choice (added to the list when it is not there), signals blocked.
    void showDrive(const QString &drive);

    void showPopup() override;
};
