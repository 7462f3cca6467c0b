#pragma once

#include "acq/core/run_statistics.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <functional>

struct AppState;
class QPushButton;
class QTableWidget;

// The statistics window of ventacq (View > Statistics...): velocity and flow rate over the whole
// run and over the page on display, and a Copy button that puts the same table on the clipboard,
// tab-separated. It stays open beside the main window.
//
// The figures are asked of `source` only when something changed and the window is shown, at most
// once a second: a change within a second of the last refresh waits for the second to pass, and
// changes meanwhile share that one refresh.
class StatisticsWindow : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kRefreshMs = 1000;
    using Source = std::function<RunStatistics::Table()>;

    StatisticsWindow(AppState &state, Source source, QWidget *parent = nullptr);

    // The figures changed.
    void markChanged();
    // Asks the source and shows its table now.
    void refresh();
    // Texts and font of the active language.
    void fLoadRes();

    QTableWidget *grid() const { return m_grid; }
    QPushButton *cmdCopy() const { return m_copy; }
    int refreshCount() const { return m_refreshes; }
    bool refreshPending() const { return m_timer.isActive(); }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void copy();

    AppState &m_state;
    Source m_source;
    QTableWidget *m_grid;
    QPushButton *m_copy;
    QPushButton *m_close;
    QTimer m_timer;
    QElapsedTimer m_sinceRefresh;
    RunStatistics::Table m_table;
    bool m_changed = true;
    int m_refreshes = 0;
};
