// Paging and cursor of the data panels after a run: the scroll bars, the window they show, the
// marker, the arrow keys of the tables, the mouse on the charts and the pane layout. Expected
// values are worked out by hand from the paging rules (scroll base -32750).
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

// A run of n samples, 1 s apart, 60 s per page, stopped.
void finishedRun(DisplayRig &rig, int n, qint32 range = 60, float interval = 1.0f)
{
    rig.start(QTime(12, 0), interval, range);
    rig.pollSeries(n, 7);
    rig.stop();
}

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

void mouse(QWidget *w, QEvent::Type type, QPointF pos, Qt::MouseButtons buttons)
{
    const QPointF global = w->mapToGlobal(pos);
    QMouseEvent e(type, pos, global, Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

TEST(DataPaging, DuringARunBarsAreOffAndMarkersHidden)
{
    DisplayRig rig;
    finishedRun(rig, 100);
    rig.start(QTime(13, 0), 1.0f);
    rig.pollSeries(80);
    for (DataPanel *p : {rig.velocity(), rig.flow()}) {
        EXPECT_FALSE(p->scrollBar()->isEnabled());
        EXPECT_EQ(p->scrollBar()->value(), kMin);
        EXPECT_FALSE(p->chart()->markerVisible());
        pressAndRelease(p->table(), Qt::Key_Left); // the cursor is not shown during a run
        EXPECT_FALSE(p->chart()->markerVisible());
    }
}

TEST(DataPaging, HundredSamples)
{
    DisplayRig rig;
    finishedRun(rig, 100);
    for (Panel which : {Panel::Velocity, Panel::Flow}) {
        DataPanel *p = rig.display().panel(which);
        QScrollBar *bar = p->scrollBar();
        EXPECT_TRUE(bar->isEnabled());
        EXPECT_EQ(bar->minimum(), kMin);
        EXPECT_EQ(bar->maximum(), -32710);
        EXPECT_EQ(bar->value(), kMin);
        EXPECT_EQ(bar->singleStep(), 1);
        EXPECT_EQ(bar->pageStep(), 40);
        // Cursor on sample 1, first page, marker on sample 1.
        EXPECT_EQ(p->activeRow(), 1);
        EXPECT_TRUE(p->chart()->markerVisible());
        EXPECT_EQ(p->chart()->markerIndex(), 1);
        EXPECT_TRUE(p->chart()->gridShown());
        expectPage(rig, which, 1);
        EXPECT_EQ(p->paging().pageStart(), 1);
        EXPECT_EQ(p->paging().pageEnd(), 60);

        bar->setValue(bar->maximum()); // as the user's move arrives
        EXPECT_EQ(p->paging().pageStart(), 40);
        EXPECT_EQ(p->paging().pageEnd(), 99);
        // From sample 39 at the left end to sample 100 at the right end.
        EXPECT_DOUBLE_EQ(p->chart()->xWindow().lower, rig.x(39));
        EXPECT_DOUBLE_EQ(p->chart()->xWindow().upper, rig.x(100));
        EXPECT_EQ(p->activeRow(), 1); // paging leaves the cursor where it is
    }
    EXPECT_DOUBLE_EQ(rig.state.velXPosition, rig.x(39));
    EXPECT_DOUBLE_EQ(rig.state.flowXPosition, rig.x(39));
}

TEST(DataPaging, ExactlyOnePage)
{
    DisplayRig rig;
    finishedRun(rig, 60);
    QScrollBar *bar = rig.velocity()->scrollBar();
    EXPECT_TRUE(bar->isEnabled());
    EXPECT_EQ(bar->maximum(), kMin + 60);
    bar->setValue(bar->maximum());
    EXPECT_EQ(rig.velocity()->paging().pageStart(), 60);
    expectPage(rig, Panel::Velocity, 60);
}

TEST(DataPaging, LessThanAPageDisablesTheBar)
{
    DisplayRig rig;
    finishedRun(rig, 59);
    for (Panel which : {Panel::Velocity, Panel::Flow}) {
        DataPanel *p = rig.display().panel(which);
        EXPECT_FALSE(p->scrollBar()->isEnabled());
        EXPECT_EQ(p->scrollBar()->value(), kMin);
        expectPage(rig, which, 1); // one interval before sample 1
        EXPECT_EQ(p->chart()->markerIndex(), 1);
    }
}

TEST(DataPaging, PagePointsRoundHalvesToEven)
{
    struct Case { qint32 range; int pagePoints; int maximum; };
    const Case cases[] = {{5, 2, kMin + 8}, {7, 4, kMin + 6}};
    for (const Case &c : cases) {
        DisplayRig rig;
        finishedRun(rig, 10, c.range, 2.0f);
        EXPECT_EQ(rig.velocity()->paging().pagePoints(), c.pagePoints) << c.range;
        EXPECT_EQ(rig.velocity()->scrollBar()->maximum(), c.maximum) << c.range;
    }
}

TEST(DataPaging, RebuildAfterTheTimeRangeChanged)
{
    DisplayRig rig;
    finishedRun(rig, 100);
    DataPanel::sActiveRow(rig.velocity()->table(), 75);
    rig.display().sShowGraphMark(Panel::Velocity, true);
    // The graph parameters change to 60 s again (the dialog's OK): windows, axes, bars rebuilt.
    rig.display().smGraphXAexs(Panel::Velocity);
    rig.display().sSetGraphYAxies();
    rig.display().sInitHcrollBar(Panel::Velocity, rig.display().tableActiveRow(Panel::Velocity));
    EXPECT_EQ(rig.velocity()->scrollBar()->value(), kMin + 15);
    EXPECT_EQ(rig.velocity()->paging().pageStart(), 15);
    expectPage(rig, Panel::Velocity, 15);
    // A range of 30 s: two pages more per run, the cursor row 75 on the page 45..74.
    rig.state.velXRange = 30;
    rig.display().smGraphXAexs(Panel::Velocity);
    rig.display().sInitHcrollBar(Panel::Velocity, 75);
    EXPECT_EQ(rig.velocity()->scrollBar()->maximum(), kMin + 70);
    EXPECT_EQ(rig.velocity()->scrollBar()->value(), kMin + 45);
    expectPage(rig, Panel::Velocity, 45);
}

TEST(DataPaging, AfterNewTheVelocityPageStaysAtTheStart)
{
    DisplayRig rig;
    finishedRun(rig, 100);
    // "New": one sample counts as received, no data, the old curves stay.
    rig.state.receivedCount = 1;
    rig.state.dataState = 1;
    rig.velocity()->scrollBar()->setValue(kMin + 30);
    rig.flow()->scrollBar()->setValue(kMin + 30);
    expectPage(rig, Panel::Velocity, 1);
    expectPage(rig, Panel::Flow, 30);
    // No data: the mouse and the rebuild do nothing.
    const int before = rig.flow()->activeRow();
    rig.flow()->chartReleased(rig.x(50));
    EXPECT_EQ(rig.flow()->activeRow(), before);
}

TEST(DataPaging, ArrowKeysMoveTheCursorAcrossPages)
{
    DisplayRig rig;
    finishedRun(rig, 1000);
    DataPanel *p = rig.velocity();
    DataGrid *table = p->table();
    table->setFocus();
    pressAndRelease(table, Qt::Key_Left); // on row 1: nothing
    EXPECT_EQ(p->activeRow(), 1);
    pressAndRelease(table, Qt::Key_Right);
    EXPECT_EQ(p->activeRow(), 2);
    EXPECT_EQ(p->chart()->markerIndex(), 2);
    EXPECT_DOUBLE_EQ(p->chart()->markerX(), rig.x(2));
    // A held key acts once, when it is let go: repeated releases are ignored.
    sendKey(table, QEvent::KeyPress, Qt::Key_Right);
    sendKey(table, QEvent::KeyRelease, Qt::Key_Right, true);
    sendKey(table, QEvent::KeyPress, Qt::Key_Right, true);
    sendKey(table, QEvent::KeyRelease, Qt::Key_Right, true);
    EXPECT_EQ(p->activeRow(), 2);
    sendKey(table, QEvent::KeyRelease, Qt::Key_Right);
    EXPECT_EQ(p->activeRow(), 3);

    // To the end of the first page, then one further: the page starts one sample before.
    DataPanel::sActiveRow(table, 60);
    p->sShowGraphMark(true);
    expectPage(rig, Panel::Velocity, 1);
    pressAndRelease(table, Qt::Key_Right);
    EXPECT_EQ(p->activeRow(), 61);
    EXPECT_EQ(p->scrollBar()->value(), kMin + 60);
    expectPage(rig, Panel::Velocity, 60);
    EXPECT_EQ(p->chart()->markerIndex(), 61);
    // Back before the page start: again the page starts one sample before the row.
    DataPanel::sActiveRow(table, 60);
    p->sShowGraphMark(true);
    pressAndRelease(table, Qt::Key_Left);
    EXPECT_EQ(p->activeRow(), 59);
    EXPECT_EQ(p->scrollBar()->value(), kMin + 58);
    expectPage(rig, Panel::Velocity, 58);
    // The grid's own down key moves the row; the release synchronises.
    pressAndRelease(table, Qt::Key_Down);
    EXPECT_EQ(p->activeRow(), 60);
    EXPECT_EQ(p->chart()->markerIndex(), 60);
}

TEST(DataPaging, RightArrowOntoTheSpareRowKeepsMarkerAndPage)
{
    DisplayRig rig;
    finishedRun(rig, 100);
    DataPanel *p = rig.flow();
    DataPanel::sActiveRow(p->table(), 100);
    p->sShowGraphMark(true);
    EXPECT_EQ(p->chart()->markerIndex(), 100);
    const QCPRange before = p->chart()->xWindow();
    pressAndRelease(p->table(), Qt::Key_Right);
    EXPECT_EQ(p->activeRow(), 101); // the hidden spare row
    EXPECT_EQ(p->chart()->xWindow(), before);
    EXPECT_EQ(p->chart()->markerIndex(), 100); // never on a point without a sample
    EXPECT_TRUE(p->chart()->markerVisible());
    pressAndRelease(p->table(), Qt::Key_Right); // the last row: nothing further
    EXPECT_EQ(p->activeRow(), 101);
}

TEST(DataPaging, AnEmptyRunShowsNoMarker)
{
    DisplayRig rig;
    finishedRun(rig, 100);
    rig.start(QTime(14, 0), 1.0f);
    rig.stop();
    for (DataPanel *p : {rig.velocity(), rig.flow()}) {
        EXPECT_FALSE(p->chart()->markerVisible());
        EXPECT_EQ(p->chart()->markerIndex(), 0);
        EXPECT_FALSE(p->scrollBar()->isEnabled());
        pressAndRelease(p->table(), Qt::Key_Right);
        EXPECT_FALSE(p->chart()->markerVisible());
    }
}

TEST(DataPaging, MouseDragAndReleaseOnTheChart)
{
    DisplayRig rig;
    finishedRun(rig, 100);
    DataPanel *p = rig.velocity();
    TimeChart *c = p->chart();
    c->flushReplot();
    const double y = rig.state.velYMax / 2;
    mouse(c, QEvent::MouseButtonPress, c->positionOf(rig.x(20), y), Qt::LeftButton);
    mouse(c, QEvent::MouseMove, c->positionOf(rig.x(30) + 0.2, y), Qt::LeftButton);
    EXPECT_EQ(p->activeRow(), 30);
    EXPECT_EQ(c->markerIndex(), 0); // attached by value while dragging
    EXPECT_NEAR(c->markerX(), rig.x(30) + 0.2, 0.1);
    // Without a button the move does nothing.
    mouse(c, QEvent::MouseMove, c->positionOf(rig.x(40), y), Qt::NoButton);
    EXPECT_EQ(p->activeRow(), 30);
    // The page does not follow the drag; the release attaches the marker and pages to it.
    mouse(c, QEvent::MouseMove, c->positionOf(rig.x(58), y), Qt::LeftButton);
    EXPECT_EQ(p->activeRow(), 58);
    expectPage(rig, Panel::Velocity, 1);
    mouse(c, QEvent::MouseButtonRelease, c->positionOf(rig.x(58), y), Qt::NoButton);
    EXPECT_EQ(p->activeRow(), 58);
    EXPECT_EQ(c->markerIndex(), 58);
    EXPECT_DOUBLE_EQ(c->markerX(), rig.x(58));
    expectPage(rig, Panel::Velocity, 1);
    // Outside the plot area nothing is chosen.
    mouse(c, QEvent::MouseButtonRelease, QPointF(2, 2), Qt::NoButton);
    EXPECT_EQ(p->activeRow(), 58);
    // The flow-rate chart moves the flow-rate table only.
    TimeChart *fc = rig.flow()->chart();
    fc->flushReplot();
    mouse(fc, QEvent::MouseButtonRelease, fc->positionOf(rig.x(12), 10), Qt::NoButton);
    EXPECT_EQ(rig.flow()->activeRow(), 12);
    EXPECT_EQ(fc->markerIndex(), 12);
    EXPECT_EQ(p->activeRow(), 58);
}

TEST(DataPaging, MouseBeyondTheLastSample)
{
    DisplayRig rig;
    finishedRun(rig, 59); // window one interval before sample 1 to two intervals past 59
    DataPanel *p = rig.velocity();
    TimeChart *c = p->chart();
    c->flushReplot();
    DataPanel::sActiveRow(p->table(), 10);
    p->sShowGraphMark(true);
    // Dragging past the last sample chooses it, and the marker stays where it was.
    mouse(c, QEvent::MouseMove, c->positionOf(rig.x(59) + 1.4, 5), Qt::LeftButton);
    EXPECT_EQ(p->activeRow(), 59);
    EXPECT_DOUBLE_EQ(c->markerX(), rig.x(10));
    // Before sample 1 a drag chooses nothing; a release chooses sample 1.
    mouse(c, QEvent::MouseMove, c->positionOf(rig.x(1) - 0.9, 5), Qt::LeftButton);
    EXPECT_EQ(p->activeRow(), 59);
    mouse(c, QEvent::MouseButtonRelease, c->positionOf(rig.x(1) - 0.9, 5), Qt::NoButton);
    EXPECT_EQ(p->activeRow(), 1);
    EXPECT_EQ(c->markerIndex(), 1);
}

TEST(DataPaging, TableClicksMoveTheMarker)
{
    DisplayRig rig;
    finishedRun(rig, 100);
    DataPanel *p = rig.velocity();
    DataGrid *table = p->table();
    const QRect cell = table->visualRect(table->grid()->index(4, 1));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    EXPECT_EQ(p->activeRow(), 5);
    EXPECT_EQ(p->chart()->markerIndex(), 5);
}

TEST(DataPaging, KeysOnAScrollBarGoToTheTable)
{
    DisplayRig rig;
    finishedRun(rig, 100);
    DataPanel *p = rig.flow();
    QScrollBar *bar = p->scrollBar();
    rig.window()->activateWindow();
    bar->setFocus();
    const int value = bar->value();
    sendKey(bar, QEvent::KeyPress, Qt::Key_Right);
    EXPECT_TRUE(p->table()->hasFocus());
    EXPECT_EQ(bar->value(), value);
    // The release reaches the table: the right arrow moves the cursor one row on.
    sendKey(p->table(), QEvent::KeyRelease, Qt::Key_Right);
    EXPECT_EQ(p->activeRow(), 2);
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
    EXPECT_EQ(pane->chart()->geometry(), QRect(0, 0, 400, 300 - barHeight));
    rig.display().sChgGraphScrollSize();
    EXPECT_EQ(pane->scrollBar()->geometry().width(), 400);
}

} // namespace
