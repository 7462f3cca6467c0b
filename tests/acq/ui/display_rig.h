#pragma once

#include "acq/core/app_state.h"
#include "acq/core/run_controller.h"
#include "acq/ui/panel_display.h"
#include "common/core/string_table.h"
#include "tests/support/recording_presenter.h"

#include <QDate>
#include <QSplitter>
#include <QStringList>
#include <QTemporaryDir>
#include <QTime>
#include <QVector>
#include <memory>

class DataPanel;
class GridModel;
class TimeChart;

namespace venttest {

class RecordingDisplay;

// Gives `state` ventacq's texts in the given variant and block, and the presenter; false when the
// common strings cannot be loaded.
bool loadAcqTexts(AppState &state, UiVariant variant, qint16 offset, MessagePresenter *presenter);

// The two data panels side by side in a window, with ventacq's string table and state, driven
// by the real run control over the scripted driver (simulation: no connection probe).
class DisplayRig
{
public:
    explicit DisplayRig(UiVariant variant = UiVariant::English);
    ~DisplayRig();

    AppState state;
    RecordingPresenter presenter;
    // The day runs start on and the time axes are set up on.
    QDate today = QDate(2024, 5, 1);

    QWidget *window() const { return m_window.get(); }
    PanelDisplay &display() { return *m_display; }
    DataPanel *velocity() const { return m_display->velocity(); }
    DataPanel *flow() const { return m_display->flow(); }
    DataPanel *panel(Panel which) const { return m_display->panel(which); }
    TimeChart *chart(Panel which) const;
    GridModel *grid(Panel which) const;

    // Starts a run at `start` whose polls find the given batches of sample texts ("velocity,
    // flow,pressure in tenths of hPa,flag"). With count < 0 the run asks for exactly the samples
    // given, so it ends after the last batch with "The measurement ended. ".
    void start(const QVector<QStringList> &polls, QTime start = QTime(12, 0), float interval = 1.0f,
               qint32 range = 60, int count = -1);
    void poll(int times = 1);
    // start() and every poll.
    void run(const QVector<QStringList> &polls, QTime start = QTime(12, 0), float interval = 1.0f,
             qint32 range = 60, int count = -1)
    {
        this->start(polls, start, interval, range, count);
        poll(int(polls.size()));
    }
    // A run of n samples in polls of perPoll that ends by itself.
    void finishedRun(int n, int perPoll = 1, qint32 range = 60, float interval = 1.0f)
    {
        run(batches(n, perPoll), QTime(12, 0), interval, range);
    }
    void stop() { m_controller->sStopMeasu(); }
    // The rows of the last polls into both grids now (they arrive with the next redraw).
    void flushTables();

    // Sample texts k = from .. from + count - 1 of a simple pattern.
    static QStringList samples(int from, int count);
    // n samples in polls of perPoll.
    static QVector<QStringList> batches(int n, int perPoll);
    // X of sample k of the current run.
    double x(int k) const;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<RecordingDisplay> m_status; // the status bar: only recorded
    std::unique_ptr<QSplitter> m_window;
    PanelDisplay *m_display = nullptr;
    std::unique_ptr<RunController> m_controller;
};

} // namespace venttest
