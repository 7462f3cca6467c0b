#include "acq/ui/main_window.h"

#include "acq/core/app_state.h"
#include "acq/ui/about_window.h"

#include <QMenuBar>

MainWindow::MainWindow(AppState &state, QWidget *parent) : QMainWindow(parent), m_state(state)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(m_state.appTitle);
    QMenu *help = menuBar()->addMenu(m_state.localText(1081));
    help->addAction(m_state.localText(1082), this, &MainWindow::showAbout);
    resize(640, 480);
}

void MainWindow::showAbout()
{
    AboutWindow about(m_state, [this](const QString &caption) { setWindowTitle(caption); }, this);
    about.exec();
}
