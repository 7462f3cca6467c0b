// Paging and cursor of the data panels after runs of the run control: the scroll bars, the window
// they show, the marker, the arrow keys of the tables, the mouse on the charts and the pane
// layout. Expected values are worked out by hand from the paging rules (scroll base -32750).
#include "acq/ui/chart_pane.h"
#include "acq/ui/data_panel.h"
#include "acq/ui/time_chart.h"
#include "common/ui/data_grid.h"
#include "tests/acq/ui/display_rig.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using venttest::DisplayRig;

constexpr int kMin = -32750;

// The window must start one interval before sample d and span the range and one interval.
void expectPage(DisplayRig &rig, Panel which, int d)
{
    const QCPRange w = rig.chart(which)->xWindow();
    EXPECT_DOUBLE_EQ(w.lower, rig.x(d) - rig.state.sampleTime) << "page start " << d;
    EXPECT_DOUBLE_EQ(w.upper, w.lower + rig.state.velXRange + rig.state.sampleTime);
}

void sendKey(QWidget *w, QEvent::Type type, int key, bool autoRepeat = false)
{
    QKeyEvent e(type, key, Qt::NoModifier, QString(), autoRepeat);
    QApplication::sendEvent(w, &e);
}

void pressAndRelease(QWidget *w, int key)
{
    sendKey(w, QEvent::KeyPress, key);
    sendKey(w, QEvent::KeyRelease, key);
}

// A mouse event on the chart at data X (and a Y inside the plot).
void mouse(TimeChart *c, QEvent::Type type, double x, Qt::MouseButtons buttons)
{
    const QPointF pos = c->positionOf(x, c->yWindow().center());
    QMouseEvent e(type, pos, c->mapToGlobal(pos), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(c, &e);
}

TEST(DataPaging, DuringARunBarsAreOffAndMarkersHidden)
{
    DisplayRig rig;
    rig.finishedRun(100, 10);
    rig.run(DisplayRig::batches(80, 10), QTime(13, 0), 1.0f, 60, 1000);
    for (Panel which : {Panel::Velocity, Panel::Flow}) {
        DataPanel *p = rig.panel(which);
        EXPECT_FALSE(p->scrollBar()->isEnabled());
        EXPECT_EQ(p->scrollBar()->value(), kMin);
        pressAndRelease(p->table(), Qt::Key_Left); // no cursor during a run
        EXPECT_FALSE(p->chart()->markerVisible());
    }
    rig.stop();
}

TEST(DataPaging, HundredSamples)
{
    DisplayRig rig;
    rig.finishedRun(100, 7);
    for (Panel which : {Panel::Velocity, Panel::Flow}) {
        DataPanel *p = rig.panel(which);
        QScrollBar *bar = p->scrollBar(); // its range and steps: PageScroll
        EXPECT_TRUE(bar->isEnabled());
        // Cursor on sample 1, first page, marker on sample 1, grid lines back.
        EXPECT_EQ(std::tuple(p->activeRow(), p->chart()->markerIndex()), std::tuple(1, 1));
        EXPECT_TRUE(p->chart()->markerVisible() && p->chart()->gridShown());
        expectPage(rig, which, 1);

        bar->setValue(bar->maximum()); // as a move of the user's arrives
        // From sample 39 at the left end to sample 100 at the right end.
        EXPECT_EQ(std::tuple(p->chart()->xWindow().lower, p->chart()->xWindow().upper),
                  std::tuple(rig.x(39), rig.x(100)));
        EXPECT_EQ(p->activeRow(), 1); // paging leaves the cursor where it is
    }
    EXPECT_EQ(std::tuple(rig.state.velXPosition, rig.state.flowXPosition),
              std::tuple(rig.x(39), rig.x(39)));
}

// Two samples on one-sample pages: the run's last window jumped past sample 1; the stop goes back.
TEST(DataPaging, TwoSamplesStopOnTheFirstPage)
{
    DisplayRig rig;
    rig.finishedRun(2, 1, 1);
    for (Panel which : {Panel::Velocity, Panel::Flow})
        expectPage(rig, which, 1);
}

TEST(DataPaging, ArrowKeysMoveTheCursorAcrossPages)
{
    DisplayRig rig;
    rig.finishedRun(1000, 50);
    DataPanel *p = rig.velocity();
    DataGrid *table = p->table();
    pressAndRelease(table, Qt::Key_Left); // on row 1: nothing
    EXPECT_EQ(p->activeRow(), 1);
    pressAndRelease(table, Qt::Key_Right);
    EXPECT_EQ(std::tuple(p->activeRow(), p->chart()->markerX()), std::tuple(2, rig.x(2)));
    // A held key acts once, when it is let go: repeated releases are ignored.
    sendKey(table, QEvent::KeyPress, Qt::Key_Right);
    sendKey(table, QEvent::KeyRelease, Qt::Key_Right, true);
    sendKey(table, QEvent::KeyPress, Qt::Key_Right, true);
    sendKey(table, QEvent::KeyRelease, Qt::Key_Right, true);
    EXPECT_EQ(p->activeRow(), 2);
    sendKey(table, QEvent::KeyRelease, Qt::Key_Right);
    EXPECT_EQ(p->activeRow(), 3);

    // Past the end of the first page: the page starts one sample before the row.
    for (int i = 0; i < 58; ++i)
        pressAndRelease(table, Qt::Key_Right);
    EXPECT_EQ(std::tuple(p->activeRow(), p->chart()->markerIndex()), std::tuple(61, 61));
    expectPage(rig, Panel::Velocity, 60);
    // Back before the page start: again one sample before the row.
    pressAndRelease(table, Qt::Key_Left);
    pressAndRelease(table, Qt::Key_Left);
    EXPECT_EQ(p->activeRow(), 59);
    expectPage(rig, Panel::Velocity, 58);
    // The grid's own down key moves the row; the release synchronises.
    pressAndRelease(table, Qt::Key_Down);
    EXPECT_EQ(std::tuple(p->activeRow(), p->chart()->markerIndex()), std::tuple(60, 60));
}

TEST(DataPaging, TheMarkerStandsOnlyOnSamples)
{
    DisplayRig rig;
    rig.finishedRun(100, 10);
    DataPanel *p = rig.flow();
    DataPanel::sActiveRow(p->table(), 100);
    p->sShowGraphMark(true);
    const QCPRange page = p->chart()->xWindow();
    pressAndRelease(p->table(), Qt::Key_Right);
    // The cursor goes to the hidden spare row; the marker stays on the last sample.
    EXPECT_EQ(std::tuple(p->activeRow(), p->chart()->markerIndex()), std::tuple(101, 100));
    EXPECT_EQ(p->chart()->xWindow(), page);
    EXPECT_TRUE(p->chart()->markerVisible());
    pressAndRelease(p->table(), Qt::Key_Right); // the last row: nothing further
    EXPECT_EQ(p->activeRow(), 101);

    // A run without samples has no marker to show.
    rig.start({{}}, QTime(14, 0), 1.0f, 60, 10);
    rig.poll();
    rig.stop();
    for (Panel which : {Panel::Velocity, Panel::Flow}) {
        EXPECT_FALSE(rig.panel(which)->scrollBar()->isEnabled());
        pressAndRelease(rig.panel(which)->table(), Qt::Key_Right);
        EXPECT_EQ(std::tuple(rig.chart(which)->markerVisible(), rig.chart(which)->markerIndex()),
                  std::tuple(false, 0));
    }
}

TEST(DataPaging, MouseDragAndReleaseOnTheChart)
{
    DisplayRig rig;
    rig.finishedRun(100, 10);
    DataPanel *p = rig.velocity();
    TimeChart *c = p->chart();
    c->flushReplot();
    mouse(c, QEvent::MouseButtonPress, rig.x(20), Qt::LeftButton);
    mouse(c, QEvent::MouseMove, rig.x(30) + 0.2, Qt::LeftButton);
    EXPECT_EQ(p->activeRow(), 30);
    EXPECT_EQ(c->markerIndex(), 0); // attached by value while dragging
    EXPECT_NEAR(c->markerX(), rig.x(30) + 0.2, 0.1);
    // The page does not follow the drag; the release attaches the marker and pages to it.
    mouse(c, QEvent::MouseMove, rig.x(58), Qt::LeftButton);
    EXPECT_EQ(p->activeRow(), 58);
    mouse(c, QEvent::MouseButtonRelease, rig.x(58), Qt::NoButton);
    EXPECT_EQ(std::tuple(c->markerIndex(), c->markerX()), std::tuple(58, rig.x(58)));
    expectPage(rig, Panel::Velocity, 1);
    // A release nearest sample 61, beyond the page end, pages to it.
    mouse(c, QEvent::MouseButtonRelease, rig.x(60) + 0.6, Qt::NoButton);
    EXPECT_EQ(p->activeRow(), 61);
    expectPage(rig, Panel::Velocity, 40); // the last page
    // The flow-rate chart moves the flow-rate table only.
    TimeChart *fc = rig.flow()->chart();
    fc->flushReplot();
    mouse(fc, QEvent::MouseButtonRelease, rig.x(12), Qt::NoButton);
    EXPECT_EQ(std::tuple(rig.flow()->activeRow(), fc->markerIndex(), p->activeRow()),
              std::tuple(12, 12, 61));
    // After "New" there are no data: the mouse chooses nothing (the pages then: PageScroll).
    rig.state.receivedCount = 1;
    rig.state.dataState = 1;
    rig.flow()->chartReleased(rig.x(50));
    EXPECT_EQ(rig.flow()->activeRow(), 12);
}

TEST(DataPaging, TableClicksAndScrollBarKeys)
{
    DisplayRig rig;
    rig.finishedRun(100, 10);
    DataPanel *p = rig.flow();
    DataGrid *table = p->table();
    const QRect cell = table->visualRect(table->grid()->index(4, 0));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    EXPECT_EQ(std::tuple(p->activeRow(), p->chart()->markerIndex()), std::tuple(5, 5));
    // Any key on the scroll bar hands the focus to the table; its release moves the cursor.
    QScrollBar *bar = p->scrollBar();
    rig.window()->activateWindow();
    bar->setFocus();
    const int value = bar->value();
    sendKey(bar, QEvent::KeyPress, Qt::Key_Right);
    EXPECT_EQ(std::tuple(table->hasFocus(), bar->value()), std::tuple(true, value));
    sendKey(table, QEvent::KeyRelease, Qt::Key_Right);
    EXPECT_EQ(p->activeRow(), 6);
}

TEST(DataPaging, PaneLayout)
{
    DisplayRig rig;
    ChartPane *pane = rig.velocity()->chartPane();
    QWidget holder;
    pane->setParent(&holder);
    holder.show();
    pane->setGeometry(0, 0, 400, 300);
    const int barHeight = pane->scrollBar()->sizeHint().height();
    EXPECT_EQ(pane->chart()->geometry(), QRect(0, 0, 400, 300 - barHeight));
    EXPECT_EQ(pane->scrollBar()->geometry(), QRect(0, 300 - barHeight, 400, barHeight));
    // Too small for both: nothing moves.
    pane->setGeometry(0, 0, 200, barHeight);
    rig.display().sChgGraphScrollSize();
    EXPECT_EQ(pane->chart()->geometry(), QRect(0, 0, 400, 300 - barHeight));
}

} // namespace
