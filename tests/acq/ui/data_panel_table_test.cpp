// The velocity and flow-rate tables through a run: rows, spare row, highlight, time stamps, the
// atmosphere column and the selection colours. Expected texts are written from the table rules.
#include "acq/ui/data_panel.h"
#include "common/ui/data_grid.h"
#include "tests/acq/ui/display_rig.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

using venttest::DisplayRig;
using venttest::Sample;

constexpr Qt::Alignment kCentre = Qt::AlignHCenter | Qt::AlignVCenter;
constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;
const QColor kHighlight(100, 180, 200);

GridModel *model(DataPanel *p)
{
    return p->table()->grid();
}

TEST(DataTables, HeadersFollowUnitsAndTheAtmosphereColumn)
{
    DisplayRig rig;
    rig.state.velocityUnit = 1;
    rig.state.flowUnit = 3;
    rig.start(QTime(12, 0), 1.0f);
    EXPECT_EQ(model(rig.velocity())->gridColumnCount(), 3);
    EXPECT_EQ(model(rig.velocity())->headerText(1), QStringLiteral("    Date & Time"));
    EXPECT_EQ(model(rig.velocity())->headerText(2), QStringLiteral("Velocity Data (FPM)"));
    EXPECT_EQ(model(rig.velocity())->headerText(3), QStringLiteral("ATM.F"));
    EXPECT_EQ(model(rig.flow())->gridColumnCount(), 2);
    EXPECT_EQ(model(rig.flow())->headerText(1), QStringLiteral("Flow Rate Data (ft3/min)"));
    EXPECT_EQ(model(rig.flow())->headerText(2), QStringLiteral("ATM.F"));
    EXPECT_EQ(model(rig.velocity())->gridRowCount(), 0);
}

TEST(DataTables, FirstPollOfThreeSamples)
{
    DisplayRig rig;
    rig.start(QTime(12, 5, 0), 1.0f);
    rig.poll({{"3.25", "120.5"}, {"3.50", "130.0"}, {"3.75", "140.0"}});
    // The rows reach the grids with the next redraw; the active row counts them at once.
    EXPECT_EQ(rig.velocity()->activeRow(), 4);
    EXPECT_EQ(model(rig.velocity())->gridRowCount(), 0);
    QTest::qWait(80);
    for (DataPanel *p : {rig.velocity(), rig.flow()}) {
        SCOPED_TRACE(p->objectName().toStdString());
        GridModel *m = model(p);
        EXPECT_EQ(m->gridRowCount(), 4);
        EXPECT_EQ(m->cellBackground(3, 1), kHighlight);
        EXPECT_EQ(m->cellBackground(3, m->gridColumnCount()), kHighlight);
        EXPECT_EQ(m->cellBackground(2, 1), QColor(Qt::white));
        EXPECT_EQ(m->cellBackground(4, 1), QColor(Qt::white));
        EXPECT_FALSE(p->table()->isGridRowHidden(3));
        EXPECT_TRUE(p->table()->isGridRowHidden(4));
        EXPECT_EQ(p->activeRow(), 4);
        // The grid's own selection is invisible while a run fills the table.
        EXPECT_EQ(p->table()->selectionBackground(), QColor(Qt::white));
    }
    GridModel *v = model(rig.velocity());
    EXPECT_EQ(v->cell(1, 1), QStringLiteral("2024-05-01 12:05:00"));
    EXPECT_EQ(v->cell(3, 1), QStringLiteral("2024-05-01 12:05:02"));
    EXPECT_EQ(v->cellAlignment(1, 1), kCentre);
    EXPECT_EQ(v->cell(2, 2), QStringLiteral("3.50"));
    EXPECT_EQ(v->cellAlignment(2, 2), kRight);
    GridModel *f = model(rig.flow());
    EXPECT_EQ(f->cell(1, 1), QStringLiteral("120.5"));
    EXPECT_EQ(f->cellAlignment(1, 1), kRight);

    // The next poll: the old newest row turns white, the spare row becomes a data row.
    rig.poll({{"4.0", "150.0"}});
    rig.poll({{"4.25", "160.0"}});
    rig.flushTables();
    EXPECT_EQ(v->gridRowCount(), 6);
    EXPECT_EQ(v->cellBackground(3, 1), QColor(Qt::white));
    EXPECT_EQ(v->cellBackground(4, 2), QColor(Qt::white));
    EXPECT_EQ(v->cellBackground(5, 2), kHighlight);
    EXPECT_FALSE(rig.velocity()->table()->isGridRowHidden(4));
    EXPECT_TRUE(rig.velocity()->table()->isGridRowHidden(6));
    EXPECT_EQ(rig.velocity()->activeRow(), 6);
    EXPECT_EQ(v->cell(5, 1), QStringLiteral("2024-05-01 12:05:04"));
}

TEST(DataTables, TimeStampsOfHalfSecondIntervals)
{
    DisplayRig rig;
    rig.start(QTime(12, 5, 5), 0.5f);
    rig.pollSeries(4, 4);
    rig.flushTables();
    GridModel *v = model(rig.velocity());
    EXPECT_EQ(v->cell(1, 1), QStringLiteral("2024-05-01 12:05:05:000"));
    EXPECT_EQ(v->cell(2, 1), QStringLiteral("2024-05-01 12:05:05:500"));
    EXPECT_EQ(v->cell(3, 1), QStringLiteral("2024-05-01 12:05:06:000"));
    EXPECT_EQ(v->cell(4, 1), QStringLiteral("2024-05-01 12:05:06:500"));
}

TEST(DataTables, ValuesAsReceived)
{
    DisplayRig rig;
    rig.start(QTime(9, 0), 1.0f);
    rig.poll({{" 3.25", "  120.5  "}, {"abc", "x "}});
    rig.flushTables();
    EXPECT_EQ(model(rig.velocity())->cell(1, 2), QStringLiteral(" 3.25")); // not trimmed
    EXPECT_EQ(model(rig.velocity())->cell(2, 2), QStringLiteral("abc"));
    EXPECT_EQ(model(rig.flow())->cell(1, 1), QStringLiteral("  120.5")); // trailing blanks go
    EXPECT_EQ(model(rig.flow())->cell(2, 1), QStringLiteral("x"));
}

struct AtmCase
{
    const char *pressure;
    const char *flag;
    const char *english;
    const char *other;
    Qt::Alignment alignment;
};

TEST(DataTables, AtmosphereCells)
{
    const AtmCase cases[] = {
        {"1013.2", "1", "1013", "1013", kRight},
        {"1012.5", "2", "1013", "1013", kRight}, // halves away from zero
        {"0", "1", "", "", kRight},              // zero writes nothing
        {"0.0", "2", "", "", kRight},
        {"abc", "1", "abc", "abc", kRight},      // not a number: as it stands
        {"1013.2", "3", "Err", "Err", kRight},
        {"1013.2", "7", "N", "-", kCentre},
        {"1013.2", "0", "N", "-", kCentre},
        {"1013.2", "", "N", "-", kCentre},
        {"1013.2", " 1", "N", "-", kCentre},
    };
    for (UiVariant variant : {UiVariant::English, UiVariant::Japanese, UiVariant::Chinese}) {
        DisplayRig rig(variant);
        rig.start(QTime(10, 0), 1.0f);
        std::vector<Sample> batch;
        for (const AtmCase &c : cases)
            batch.push_back({"1.0", "2.0", c.pressure, c.flag});
        rig.poll(batch);
        rig.flushTables();
        for (int i = 0; i < int(std::size(cases)); ++i) {
            const AtmCase &c = cases[i];
            const QString expected =
                QString::fromUtf8(variant == UiVariant::English ? c.english : c.other);
            SCOPED_TRACE(std::string(c.pressure) + " / " + c.flag);
            EXPECT_EQ(model(rig.velocity())->cell(i + 1, 3), expected);
            EXPECT_EQ(model(rig.velocity())->cellAlignment(i + 1, 3), c.alignment);
            EXPECT_EQ(model(rig.flow())->cell(i + 1, 2), expected);
            EXPECT_EQ(model(rig.flow())->cellAlignment(i + 1, 2), c.alignment);
        }
    }
}

TEST(DataTables, AtmosphereColumnFollowsTheOptionsAtTheNextStart)
{
    DisplayRig rig;
    rig.start(QTime(10, 0), 1.0f);
    rig.pollSeries(2);
    rig.stop();
    EXPECT_EQ(model(rig.velocity())->gridColumnCount(), 3);
    rig.state.atmDisplay = 0;
    EXPECT_EQ(model(rig.velocity())->gridColumnCount(), 3); // nothing changes until the start
    rig.start(QTime(10, 5), 1.0f);
    EXPECT_EQ(model(rig.velocity())->gridColumnCount(), 2);
    EXPECT_EQ(model(rig.flow())->gridColumnCount(), 1);
    rig.poll({{"1.0", "2.0", "1013.2", "1"}});
    rig.flushTables();
    EXPECT_EQ(model(rig.velocity())->cell(1, 2), QStringLiteral("1.0"));
    EXPECT_EQ(model(rig.flow())->cell(1, 1), QStringLiteral("2.0"));
    // Enable ATM off hides it as well.
    rig.stop();
    rig.state.atmDisplay = 1;
    rig.state.atmEnable = 0;
    rig.start(QTime(10, 10), 1.0f);
    EXPECT_EQ(model(rig.velocity())->gridColumnCount(), 2);
}

TEST(DataTables, BrowsingStateAtTheStop)
{
    DisplayRig rig;
    rig.start(QTime(10, 0), 1.0f);
    rig.pollSeries(5);
    rig.stop();
    for (DataPanel *p : {rig.velocity(), rig.flow()}) {
        GridModel *m = model(p);
        EXPECT_EQ(m->gridRowCount(), 6);
        EXPECT_EQ(m->cellBackground(5, 1), QColor(Qt::white)); // the highlight is gone
        EXPECT_EQ(p->table()->selectionBackground(), QColor(0, 64, 128));
        EXPECT_EQ(p->table()->selectionText(), QColor(Qt::white));
        EXPECT_EQ(p->activeRow(), 1); // the cursor starts on sample 1
    }
}

TEST(DataTables, AStopWithoutSamplesLeavesOneRow)
{
    DisplayRig rig;
    rig.start(QTime(10, 0), 1.0f);
    rig.stop();
    EXPECT_EQ(rig.state.dataState, 1);
    for (DataPanel *p : {rig.velocity(), rig.flow()}) {
        EXPECT_EQ(model(p)->gridRowCount(), 1);
        EXPECT_EQ(p->activeRow(), 1);
    }
}

TEST(DataTables, NoRowsForAnEmptyPoll)
{
    DisplayRig rig;
    rig.start(QTime(10, 0), 1.0f);
    rig.display().sSetWSTableData(DisplayRig::table({}), 0, rig.state.startTime);
    rig.display().sSetWCTableData(DisplayRig::table({}), -3);
    EXPECT_EQ(model(rig.velocity())->gridRowCount(), 0);
    EXPECT_EQ(model(rig.flow())->gridRowCount(), 0);
}

} // namespace
