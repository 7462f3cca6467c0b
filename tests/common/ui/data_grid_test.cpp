// The grid draws its cells and lines itself: the pictures must be those of the stock drawing.
#include "common/ui/data_grid.h"

#include <QApplication>
#include <QStyledItemDelegate>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QImage picture(QWidget &w)
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(DataGrid, CellsLookAsTheStyleDrawsThem)
{
    // The selected row among painted cells, with and without the focus frame, and below them.
    for (const auto &[activeRow, focus] :
         {std::pair(4, false), std::pair(4, true), std::pair(9, false)}) {
        DataGrid grid;
        grid.resize(420, 300);
        GridModel *m = grid.grid();
        m->setGridColumnCount(4);
        m->setHeaderTexts({QStringLiteral("No"), QStringLiteral("Value"), QStringLiteral("ATM"),
                           QStringLiteral("Quantity")});
        m->setColumnAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        grid.appendGridRows(12);
        for (int r = 1; r <= 12; ++r) {
            m->setCell(r, 1, QString::number(r).rightJustified(3, QLatin1Char('0')),
                       Qt::AlignHCenter);
            m->setCell(r, 2, QString::number(r * 1.37, 'f', 2));
            m->setCell(r, 3, r % 3 ? QStringLiteral("1013") : QString(), Qt::AlignHCenter);
            // Too wide for its column every other row: shortened by the style.
            m->setCell(r, 4, r % 2 ? QStringLiteral("AFLOW(m3/min) and a long remark")
                                   : QStringLiteral("Vel(m/s)"));
        }
        m->paintBlock(1, 2, 3, 5, QColor(255, 255, 192));
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
        grid.activateWindow();
        if (focus)
            grid.setFocus();
        grid.setActiveCell(activeRow, 2);
        const QImage own = picture(grid);
        grid.setItemDelegate(new QStyledItemDelegate(&grid));
        grid.setShowGrid(true);
        EXPECT_TRUE(own == picture(grid)) << "row " << activeRow << (focus ? " with focus" : "");
    }
}
