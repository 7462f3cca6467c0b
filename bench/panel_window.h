#pragma once
// The two data panels in a window as the main window lays them out (each table above its chart),
// for the benchmarks that measure the display without the rest of the main window.
#include "acq/ui/data_panel.h"
#include "acq/ui/panel_display.h"

#include <QApplication>
#include <QSplitter>

inline PanelDisplay *showPanelWindow(AppState &state, QSplitter &window)
{
    auto *display = new PanelDisplay(state, &window);
    for (DataPanel *p : {display->velocity(), display->flow()}) {
        auto *column = new QSplitter(Qt::Vertical, &window);
        column->addWidget(p->table());
        column->addWidget(p->chartPane());
    }
    window.resize(1280, 720);
    display->smIniGraph();
    display->smInitTableTitle();
    window.show();
    QApplication::processEvents();
    return display;
}
