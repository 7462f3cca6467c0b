// The tick of a download over a scripted port: the queued lines it moves to the grid within its
// budget, and what the window hears of the progress and of the end.
#include "link/core/download_session.h"
#include "link/core/memory_grid.h"
#include "link/core/record_decoder.h"
#include "tests/link/core/link_test_support.h"
#include "tests/link/core/scripted_link_port.h"
#include "tests/support/recording_presenter.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct ProgressView : linktest::ScriptedView
{
    void showProgress(const DownloadProgress &p) override { seen << p; }
    void clearProgress() override { seen.clear(); }
    QList<DownloadProgress> seen;
};

struct Tick
{
    Tick()
        : state(linktest::makeState(0, UiVariant::English, linktest::flags(0, 0, 0))),
          decoder(*state, grid), session(*state, grid, decoder, view, port)
    {
        state->presenter = &presenter;
        view.folder = dir.path();
        session.setPortResolver([](const QString &) { return QStringLiteral("/dev/pts/9"); });
        session.cmdMeasuring_Click();
    }
    QTemporaryDir dir;
    std::unique_ptr<LinkState> state;
    MemoryGrid grid;
    RecordDecoder decoder;
    linktest::ScriptedLinkPort port;
    ProgressView view;
    venttest::RecordingPresenter presenter;
    DownloadSession session;
};

using Stage = DownloadProgress::Stage;

} // namespace

TEST(DownloadTick, LinesBeyondTheBudgetWaitAndTheWindowHearsTheProgressAndTheEnd)
{
    Tick t;
    t.session.setTickBudget(0); // one line per tick
    t.port.send("#001;1;2;mm;  VEL\r#01;1;2\r#02;3;4\r#03;5;6/\r");
    const int rows[] = {1, 1, 2};
    for (int i = 0; i < 3; ++i) {
        t.session.tmrGetData_Timer();
        EXPECT_EQ(t.grid.rowCount(), rows[i]);
        EXPECT_EQ(t.view.seen.last().stage, Stage::Receiving);
        EXPECT_EQ(t.view.seen.last().lines, 4);
        EXPECT_EQ(t.view.seen.last().readings, i);
    }
    t.session.tmrGetData_Timer();
    // the file holds two readings; the last line is shown after it was written
    ASSERT_EQ(t.view.seen.last().stage, Stage::Saved);
    EXPECT_EQ(t.view.seen.last().readings, 2);
    EXPECT_EQ(t.view.seen.last().path, t.dir.path() + "/run.CSV");
    EXPECT_EQ(t.grid.rowCount(), 3);
    EXPECT_EQ(t.state->idle, 1);

    // A line fault: the lines that came are shown, nothing is saved, the window says so.
    Tick f;
    f.port.send("#001;1;2;mm;  VEL\r#01;1;2\r#02;3");
    f.port.onLineFault();
    EXPECT_EQ(f.grid.rowCount(), 1);
    EXPECT_EQ(f.grid.rowText(1), "001|1|2|mm|01|1|2");
    ASSERT_EQ(f.view.seen.last().stage, Stage::Stopped);
    EXPECT_EQ(f.view.seen.last().lines, 2);
    EXPECT_EQ(f.view.seen.last().readings, 1);
    EXPECT_FALSE(QFile::exists(f.dir.path() + "/run.CSV"));
}
