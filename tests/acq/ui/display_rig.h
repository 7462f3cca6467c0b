#pragma once

#include "acq/core/app_state.h"
#include "acq/core/sample_table.h"
#include "acq/ui/panel_display.h"
#include "common/core/string_table.h"

#include <QDate>
#include <QSplitter>
#include <QString>
#include <memory>
#include <vector>

class DataPanel;
class TimeChart;

namespace venttest {

// One sample of a poll as the decoding leaves it in the poll's table.
struct Sample
{
    QString velocity;
    QString flow = QStringLiteral("0.0");
    QString pressure = QStringLiteral("1013.2");
    QString flag = QStringLiteral("1");
};

// The two data panels side by side in a window, with the ventacq string table and state, and the
// display calls of a run in the order the run control makes them.
class DisplayRig
{
public:
    explicit DisplayRig(UiVariant variant = UiVariant::English);
    ~DisplayRig();

    AppState state;
    QWidget *window() const { return m_window.get(); }
    PanelDisplay &display() { return *m_display; }
    DataPanel *velocity() const;
    DataPanel *flow() const;
    TimeChart *chart(Panel which) const;

    // The date the time axes are set up on.
    QDate today = QDate(2024, 5, 1);

    // Start of a run at `start` (a time of `today`), with the sampling interval and time range.
    void start(QTime start, float interval, qint32 range = 60);
    void poll(const std::vector<Sample> &samples);
    // n samples with velocity and flow from a simple rising pattern.
    void pollSeries(int n, int perPoll = 1);
    void stop();
    // The rows of the last polls into both grids now (they arrive with the next redraw).
    void flushTables();

    static SampleTable table(const std::vector<Sample> &samples);
    // X of sample k of the current run.
    double x(int k) const;

private:
    StringTable m_strings;
    std::unique_ptr<QSplitter> m_window;
    PanelDisplay *m_display = nullptr;
};

} // namespace venttest
