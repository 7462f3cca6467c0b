#include "link/ui/main_window.h"

#include "link/core/link_state.h"

LinkMainWindow::LinkMainWindow(LinkState &state, QWidget *parent) : QMainWindow(parent), m_state(state)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(m_state.localText(502));
    resize(786, 621);
}
