// The scroll bar of the growing tables: redrawn when its look changes, not on every new row.
#include "common/ui/quiet_scroll_bar.h"
#include "tests/support/test_support.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

TEST(QuietScrollBar, RedrawnOnlyWhenTheHandleOrAnEndChanges)
{
    QuietScrollBar bar(Qt::Vertical);
    bar.resize(16, 300);
    bar.setRange(0, 100000);
    bar.setValue(100000);
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    const auto settle = [] {
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
    };
    const auto redrawnAfter = [&](const std::function<void()> &change, bool expected) {
        settle();
        const int before = bar.paintCount();
        change();
        if (expected)
            return QTest::qWaitFor([&] { return bar.paintCount() > before; }, 2000);
        settle();
        return bar.paintCount() > before;
    };
    // The handle is at its smallest and at the end: one more row changes nothing on screen.
    EXPECT_FALSE(redrawnAfter([&] { bar.setRange(0, 100001); bar.setValue(100001); }, false));
    // Moved away from the end, or the range small enough to make the handle grow: redrawn.
    EXPECT_TRUE(redrawnAfter([&] { bar.setValue(50000); }, true));
    EXPECT_TRUE(redrawnAfter([&] { bar.setRange(0, 10); }, true));
    EXPECT_TRUE(redrawnAfter([&] { bar.setValue(0); }, true));
}

TEST(QuietScrollBar, RedrawnInPartsItLooksAsDrawnWhole)
{
    for (Qt::Orientation o : {Qt::Vertical, Qt::Horizontal}) {
        QWidget window;
        window.resize(500, 500);
        auto *bar = new QuietScrollBar(o, &window);
        bar->setGeometry(o == Qt::Vertical ? QRect(10, 0, 17, 500) : QRect(0, 10, 500, 17));
        bar->setPageStep(25);
        bar->setRange(0, 0);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        // A growing table: the handle shrinks and moves at every row, only its places redrawn.
        for (int rows = 1; rows <= 120; ++rows) {
            bar->setRange(0, rows);
            bar->setValue(rows);
            const QImage shown = venttest::shownOnScreen(bar);
            ASSERT_TRUE(shown == venttest::drawnWhole(bar))
                << "orientation " << o << ", " << rows << " rows";
        }
    }
}
