#pragma once

#include <QMainWindow>

struct LinkState;

// The main window of ventlink (frmMain).
class LinkMainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit LinkMainWindow(LinkState &state, QWidget *parent = nullptr);

private:
    LinkState &m_state;
};
