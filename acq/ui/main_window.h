#pragma once

#include <QMainWindow>

struct AppState;

// The main window of ventacq (frmMain).
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(AppState &state, QWidget *parent = nullptr);

    void showAbout();

private:
    AppState &m_state;
};
