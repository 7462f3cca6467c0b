// A status bar panel is as wide as its label's text, however the text or the label's looks change.
#include "acq/ui/status_panel_box.h"

#include <QApplication>
#include <QLabel>
#include <QStatusBar>
#include <QTest>
#include <gtest/gtest.h>

TEST(StatusPanelBox, KeepsTheWidthOfItsTextThroughCountsAndLookChanges)
{
    QStatusBar bar;
    bar.resize(900, 30);
    auto *box = new StatusPanelBox(&bar);
    bar.addPermanentWidget(box, 0);
    bar.addPermanentWidget(new QLabel(&bar), 1); // takes the spare width
    QLabel *label = box->label();
    label->setFrameShape(QFrame::StyledPanel);
    label->setText(QStringLiteral("9 /65500"));
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));

    // The width a label of the same text and looks asks for.
    const auto wanted = [&] {
        QLabel fresh;
        fresh.setFont(label->font());
        fresh.setFrameShape(label->frameShape());
        fresh.setContentsMargins(label->contentsMargins());
        fresh.setText(label->text());
        return fresh.sizeHint().width();
    };
    // The panel's width once the bar has laid itself out after a change, against the width wanted.
    const auto fits = [&](const std::function<void()> &change) -> ::testing::AssertionResult {
        change();
        const int expected = wanted();
        (void)QTest::qWaitFor([&] { return box->width() == expected; }, 2000);
        if (box->width() == expected)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << '"' << label->text().toStdString() << "\": " << box->width() << " wide, "
               << expected << " wanted";
    };
    EXPECT_TRUE(fits([] {}));
    EXPECT_TRUE(fits([&] { label->setText(QStringLiteral("10 /65500")); }));
    EXPECT_TRUE(fits([&] { label->setText(QStringLiteral("87 /65500")); }));
    // The same text with wider margins, then a larger font with a count: each needs more room.
    const int narrow = box->width();
    EXPECT_TRUE(fits([&] { label->setContentsMargins(20, 0, 20, 0); }));
    EXPECT_GT(box->width(), narrow);
    EXPECT_TRUE(fits([&] {
        QFont f = label->font();
        f.setPointSize(f.pointSize() * 2);
        label->setFont(f);
        label->setText(QStringLiteral("88 /65500"));
    }));
    EXPECT_GT(box->width(), narrow + 20);
    // Letters in place of digits: measured again.
    EXPECT_TRUE(fits([&] { label->setText(QStringLiteral("WW /65500")); }));
}
