#pragma once

#include <QDialog>
#include <functional>

struct AppState;
class QLabel;
class QPushButton;

// The about window of ventacq (frmAbout). Ctrl+Shift+Enter switches the simulation mode: the
// platform label and the program title get " (Simulation)", and the main window's caption
// follows through `setMainCaption`.
class AboutWindow : public QDialog
{
    Q_OBJECT
public:
    AboutWindow(AppState &state, std::function<void(const QString &)> setMainCaption,
                QWidget *parent = nullptr);

    qint16 fLoadRes();
    // Ctrl+Shift+Enter.
    void toggleSimulation();

    QLabel *lblPlatform() const { return m_platform; }
    QLabel *lblProductName() const { return m_product; }
    QLabel *lblVersion() const { return m_version; }
    QLabel *lblNotice() const { return m_notice; }
    QPushButton *cmdOK() const { return m_ok; }

private:
    AppState &m_state;
    std::function<void(const QString &)> m_setMainCaption;
    QLabel *m_product;
    QLabel *m_platform;
    QLabel *m_version;
    QLabel *m_notice;
    QPushButton *m_ok;
    QString m_plainTitle;   // string 510 of the active block
    QString m_platformText; // the platform text as loaded
};
