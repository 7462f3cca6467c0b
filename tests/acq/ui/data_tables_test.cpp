// The velocity and flow-rate tables through runs of the run control: rows, spare row, highlight,
// time stamps, the atmosphere column and the selection colours. Expected texts are written from
// the table rules.
#include "acq/ui/data_panel.h"
#include "common/ui/data_grid.h"
#include "tests/acq/ui/display_rig.h"
#include "tests/support/test_support.h"

#include <QHeaderView>
#include <QPaintEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using venttest::DisplayRig;

constexpr Qt::Alignment kCentre = Qt::AlignHCenter | Qt::AlignVCenter;
constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;
const QColor kHighlight(100, 180, 200);
const QColor kWhite(Qt::white);

TEST(DataTables, HeadersFollowUnitsAndOptions)
{
    DisplayRig rig;
    rig.state.velocityUnit = 1;
    rig.state.flowUnit = 3;
    rig.start({});
    GridModel *v = rig.grid(Panel::Velocity);
    GridModel *f = rig.grid(Panel::Flow);
    EXPECT_EQ(v->gridRowCount(), 0);
    EXPECT_EQ(std::tuple(v->gridColumnCount(), v->headerText(1), v->headerText(2), v->headerText(3)),
              std::tuple(3, QString("    Date & Time"), QString("Velocity Data (FPM)"), QString("ATM.F")));
    EXPECT_EQ(std::tuple(f->gridColumnCount(), f->headerText(1), f->headerText(2)),
              std::tuple(2, QString("Flow Rate Data (ft3/min)"), QString("ATM.F")));
    rig.stop();
    // "Display ATM" off between two runs: the column goes at the next start.
    rig.state.atmDisplay = 0;
    EXPECT_EQ(v->gridColumnCount(), 3);
    rig.run({{QStringLiteral("3.25,120.5,10132,1")}});
    rig.flushTables();
    EXPECT_EQ(std::tuple(v->gridColumnCount(), f->gridColumnCount(), v->cell(1, 2), f->cell(1, 1)),
              std::tuple(2, 1, QString("3.25"), QString("120.5")));
}

TEST(DataTables, FirstPollOfThreeSamplesAndTheNext)
{
    DisplayRig rig;
    rig.start({DisplayRig::samples(1, 3), DisplayRig::samples(4, 1), DisplayRig::samples(5, 1)},
              QTime(12, 5), 1.0f, 60, 100);
    rig.poll();
    // The first redraw is due at once: the rows reach the grids within the poll.
    EXPECT_EQ(rig.velocity()->activeRow(), 4);
    for (Panel which : {Panel::Velocity, Panel::Flow}) {
        DataPanel *p = rig.panel(which);
        GridModel *m = rig.grid(which);
        EXPECT_EQ(m->gridRowCount(), 4);
        EXPECT_EQ(std::tuple(m->cellBackground(3, m->gridColumnCount()), m->cellBackground(2, 1)),
                  std::tuple(kHighlight, kWhite));
        EXPECT_TRUE(!p->table()->isGridRowHidden(3) && p->table()->isGridRowHidden(4)) << "the spare row";
        EXPECT_EQ(p->activeRow(), 4);
        // The grid's own selection is invisible while a run fills the table.
        EXPECT_EQ(p->table()->selectionBackground(), kWhite);
    }
    GridModel *v = rig.grid(Panel::Velocity);
    EXPECT_EQ(std::tuple(v->cell(3, 1), v->cell(2, 2), rig.grid(Panel::Flow)->cell(2, 1)),
              std::tuple("2024-05-01 12:05:02", "2.25", "6.5"));
    EXPECT_EQ(std::tuple(v->cellAlignment(1, 1), v->cellAlignment(2, 2)),
              std::tuple(kCentre, kRight));

    // Two more polls, drawn at once or with the next redraw: the active row counts their rows
    // either way; then the old newest row turns white, the spare row becomes a data row, only the
    // newest row is highlighted.
    rig.poll(2);
    EXPECT_EQ(rig.velocity()->activeRow(), 6);
    rig.flushTables();
    EXPECT_EQ(v->gridRowCount(), 6);
    EXPECT_EQ(std::tuple(v->cellBackground(3, 1), v->cellBackground(5, 2)),
              std::tuple(kWhite, kHighlight));
    EXPECT_TRUE(!rig.velocity()->table()->isGridRowHidden(4) && rig.velocity()->table()->isGridRowHidden(6));
    EXPECT_EQ(v->cell(5, 1), QStringLiteral("2024-05-01 12:05:04"));
    rig.stop();
}

TEST(DataTables, TheNewestRowIsInView)
{
    DisplayRig rig;
    rig.run(DisplayRig::batches(150, 10), QTime(12, 0), 1.0f, 60, 1000);
    rig.flushTables();
    for (Panel which : {Panel::Velocity, Panel::Flow}) {
        DataGrid *table = rig.panel(which)->table();
        const QRect newest = table->visualRect(table->grid()->index(149, 0));
        EXPECT_TRUE(table->viewport()->rect().contains(newest));
    }
    rig.stop();
}

// A sample added to a table scrolled to its newest row redraws that row and the one before it
// (its highlight goes), with their numbers: not every visible row, which once cost most of a
// live run's time.
TEST(DataTables, ASampleRedrawsOnlyTheRowsItChanges)
{
    struct Painted : QObject
    {
        QRect all;
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::Paint)
                all |= static_cast<QPaintEvent *>(e)->rect();
            return false;
        }
    } cells, numbers;
    DisplayRig rig;
    rig.start(DisplayRig::batches(60, 1), QTime(12, 0), 1.0f, 60, 1000);
    DataGrid *table = rig.velocity()->table();
    rig.poll(59);
    QTest::qWait(100); // drawn
    table->viewport()->installEventFilter(&cells);
    table->verticalHeader()->viewport()->installEventFilter(&numbers);
    rig.poll();
    QTest::qWait(150); // the sample's rows and whatever else it asks to draw
    const int row = table->rowHeight(0);
    EXPECT_LE(cells.all.height(), 2 * row + 1);
    EXPECT_LE(numbers.all.height(), 2 * row + 1);
    EXPECT_EQ(table->grid()->gridRowCount(), 61); // the sample's row and the spare row
}

// Row by row, the tables on screen must be what drawing them whole gives: cells, grid lines,
// highlight and row numbers, through the spare row and a batch of several rows.
TEST(DataTables, RowByRowTheyLookAsDrawnWhole)
{
    DisplayRig rig;
    rig.window()->resize(900, 700);
    rig.window()->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(rig.window()));
    QVector<QStringList> polls = DisplayRig::batches(70, 1);
    polls += DisplayRig::batches(9, 3);
    rig.start(polls, QTime(12, 0), 0.1f, 60);
    for (int k = 1; k <= polls.size(); ++k) {
        rig.poll();
        rig.flushTables();
        if (k % 13 != 0 && k != polls.size())
            continue;
        for (Panel which : {Panel::Velocity, Panel::Flow}) {
            DataGrid *table = rig.panel(which)->table();
            const QImage shown = venttest::shownOnScreen(table);
            ASSERT_TRUE(shown == venttest::drawnWhole(table))
                << "poll " << k << (which == Panel::Velocity ? ", velocity" : ", flow");
        }
    }
    rig.stop();
}

TEST(DataTables, ValuesAsReceived)
{
    DisplayRig rig;
    rig.run({{QStringLiteral(" 3.25,  120.5  ,10132,1"), QStringLiteral("abc,x ,10132,1")}});
    rig.flushTables();
    // Not trimmed, but trailing blanks go.
    GridModel *v = rig.grid(Panel::Velocity), *f = rig.grid(Panel::Flow);
    EXPECT_EQ(std::tuple(v->cell(1, 2), v->cell(2, 2), f->cell(1, 1), f->cell(2, 1)),
              std::tuple(" 3.25", "abc", "  120.5", "x"));
}

TEST(DataTables, AtmosphereCells)
{
    struct Case { const char *text; const char *english; const char *other; Qt::Alignment a; };
    const Case cases[] = {
        {"1.0,2.0,10125,2", "1013", "1013", kRight}, // 1012.5: halves away from zero
        {"1.0,2.0,0,1", "", "", kRight},             // zero writes nothing
        {"1.0,2.0,00,2", "", "", kRight},            // 0.0
        {"1.0,2.0,abc,1", "ab.c", "ab.c", kRight},   // not a number: as it stands
        {"1.0,2.0,10132,3", "Err", "Err", kRight},
        {"1.0,2.0,10132,7", "N", "-", kCentre},
        {"1.0,2.0", "N", "-", kCentre},              // no pressure fields
    };
    for (UiVariant variant : {UiVariant::English, UiVariant::Japanese}) {
        DisplayRig rig(variant);
        QStringList texts;
        for (const Case &c : cases)
            texts << QString::fromLatin1(c.text);
        rig.run({texts});
        rig.flushTables();
        for (int i = 0; i < int(std::size(cases)); ++i) {
            const Case &c = cases[i];
            const QString expected =
                QString::fromUtf8(variant == UiVariant::English ? c.english : c.other);
            SCOPED_TRACE(c.text);
            GridModel *v = rig.grid(Panel::Velocity), *f = rig.grid(Panel::Flow);
            EXPECT_EQ(std::tuple(v->cell(i + 1, 3), v->cellAlignment(i + 1, 3), f->cell(i + 1, 2),
                                 f->cellAlignment(i + 1, 2)),
                      std::tuple(expected, c.a, expected, c.a));
        }
    }
}

TEST(DataTables, BrowsingStateAtTheStop)
{
    DisplayRig rig;
    rig.finishedRun(5);
    for (Panel which : {Panel::Velocity, Panel::Flow}) {
        DataPanel *p = rig.panel(which);
        EXPECT_EQ(rig.grid(which)->gridRowCount(), 6);
        EXPECT_EQ(rig.grid(which)->cellBackground(5, 1), kWhite); // the highlight is gone
        EXPECT_EQ(p->table()->selectionBackground(), QColor(0, 64, 128));
        EXPECT_EQ(p->activeRow(), 1); // the cursor starts on sample 1
    }
    // A run stopped before any sample leaves one row.
    rig.start({{}, {}}, QTime(12, 0), 1.0f, 60, 10);
    rig.poll(2);
    rig.stop();
    EXPECT_EQ(std::tuple(rig.grid(Panel::Velocity)->gridRowCount(), rig.grid(Panel::Flow)->gridRowCount()),
              std::tuple(1, 1));
}

} // namespace
