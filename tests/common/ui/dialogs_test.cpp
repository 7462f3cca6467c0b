#include "common/core/status_codes.h"
#include "common/ui/key_state.h"
#include "common/ui/message_dialog.h"
#include "common/ui/options_dialog.h"
#include "common/ui/window_fonts.h"
#include "tests/support/test_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QList<MessageDialog::Button> kQuestionButtons = {
    {QStringLiteral("cmdYes"), QStringLiteral("Yes"), status::kYes},
    {QStringLiteral("cmdNO"), QStringLiteral("No"), status::kNo},
    {QStringLiteral("cmdCancel"), QStringLiteral("Cancel"), status::kCancel},
};

TEST(MessageDialog, EachButtonAnswersItsCodeAndEscAnswersCancel)
{
    const struct
    {
        const char *button;
        qint16 code;
    } cases[] = {{"cmdYes", status::kYes}, {"cmdNO", status::kNo}, {"cmdCancel", status::kCancel}};
    for (const auto &c : cases) {
        MessageDialog dialog(nullptr, MessageDialog::Kind::Question, QStringLiteral("Title"),
                             QStringLiteral("Data is not saved.   Do you save it ?"), kQuestionButtons,
                             status::kCancel);
        dialog.show();
        QTest::mouseClick(dialog.findChild<QPushButton *>(QLatin1String(c.button)), Qt::LeftButton);
        EXPECT_EQ(dialog.answer(), c.code) << c.button;
        EXPECT_FALSE(dialog.isVisible());
    }
    MessageDialog dialog(nullptr, MessageDialog::Kind::Question, QStringLiteral("Title"), QStringLiteral("?"),
                         kQuestionButtons, status::kCancel);
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(dialog.answer(), status::kCancel);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(MessageDialog, RunReturnsTheAnswerOfTheClick)
{
    MessageDialog dialog(nullptr, MessageDialog::Kind::Question, QStringLiteral("Title"), QStringLiteral("?"),
                         kQuestionButtons, status::kCancel);
    QTimer::singleShot(0, [&dialog] {
        QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("cmdNO")), Qt::LeftButton);
    });
    EXPECT_EQ(dialog.run(), status::kNo);
}

class OptionsDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_table.loadFile(venttest::sourcePath(QStringLiteral("resources/ventlink_strings.tsv"))));
    }
    void TearDown() override { KeyState::setOverride(std::nullopt); }
    void press(OptionsDialog &d, bool shiftCtrl)
    {
        KeyState::setOverride(shiftCtrl ? Qt::KeyboardModifiers(Qt::ShiftModifier | Qt::ControlModifier)
                                        : Qt::KeyboardModifiers(Qt::NoModifier));
        QTest::mouseClick(d.cmdSetATM(), Qt::LeftButton);
    }
    StringTable m_table;
};

TEST_F(OptionsDialogTest, OnlyDisplayShowsUntilShiftCtrlRevealsTheRest)
{
    OptionFlags flags{1, 0, 1, 1};
    OptionsDialog d(nullptr, &flags, Texts(&m_table, UiVariant::English), QStringLiteral("t"));
    d.show();
    EXPECT_EQ(d.cbDspATM()->text(), QStringLiteral("Display ATM"));
    EXPECT_EQ(d.cbSavATM()->text(), QStringLiteral("Save  ATM"));
    EXPECT_TRUE(d.cbDspATM()->isVisible());
    EXPECT_FALSE(d.cbSavATM()->isVisible());
    EXPECT_FALSE(d.cbEnbATM()->isVisible());
    EXPECT_FALSE(d.cbEnbUSB()->isVisible());
    press(d, true);
    EXPECT_TRUE(d.isVisible()); // revealing does not close
    EXPECT_TRUE(d.allShown());
    EXPECT_TRUE(d.cbSavATM()->isVisible());
    EXPECT_TRUE(d.cbEnbUSB()->isVisible());
    EXPECT_EQ(flags, (OptionFlags{1, 0, 1, 1}));
    venttest::maybeScreenshot(&d, QStringLiteral("options-dialog-revealed"));
    // With everything shown, Save ATM comes from its own box.
    d.cbSavATM()->setChecked(false);
    d.cbEnbUSB()->setChecked(false);
    press(d, false);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(flags, (OptionFlags{1, 0, 1, 0}));
}

TEST_F(OptionsDialogTest, ConfirmingWithoutRevealingCopiesDisplayIntoSave)
{
    OptionFlags flags{1, 0, 1, 1};
    OptionsDialog d(nullptr, &flags, Texts(&m_table, UiVariant::English), QStringLiteral("t"));
    d.show();
    d.cbDspATM()->setChecked(true);
    press(d, false);
    EXPECT_EQ(flags, (OptionFlags{1, 1, 1, 1}));

    OptionFlags off{1, 1, 1, 1};
    OptionsDialog d2(nullptr, &off, Texts(&m_table, UiVariant::English), QStringLiteral("t"));
    d2.show();
    d2.cbDspATM()->setChecked(false);
    press(d2, false);
    EXPECT_EQ(off, (OptionFlags{0, 0, 1, 1}));
}

TEST_F(OptionsDialogTest, ClearingEnableAtmClearsDisplayAndSaveAndTheFrameChangesNothing)
{
    OptionFlags flags{1, 1, 1, 1};
    OptionsDialog d(nullptr, &flags, Texts(&m_table, UiVariant::English), QStringLiteral("t"));
    d.show();
    press(d, true);
    d.cbEnbATM()->setChecked(false);
    d.cbDspATM()->setChecked(true);
    d.cbSavATM()->setChecked(true);
    press(d, false);
    EXPECT_EQ(flags, (OptionFlags{0, 0, 0, 1}));

    OptionFlags kept{1, 1, 1, 1};
    OptionsDialog d2(nullptr, &kept, Texts(&m_table, UiVariant::English), QStringLiteral("t"));
    d2.show();
    d2.cbDspATM()->setChecked(false);
    d2.reject(); // the window frame or Esc
    EXPECT_EQ(kept, (OptionFlags{1, 1, 1, 1}));

    OptionFlags inconsistent{1, 1, 0, 0};
    OptionsDialog d3(nullptr, &inconsistent, Texts(&m_table, UiVariant::English), QStringLiteral("t"));
    EXPECT_FALSE(d3.cbDspATM()->isChecked()); // the invariant is applied when the dialog opens
    EXPECT_FALSE(d3.cbSavATM()->isChecked());
}

TEST(WindowFonts, CentringRoundsAndNeverGoesNegative)
{
    QWidget small;
    small.resize(200, 100);
    sCenterForm(&small);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_NEAR(small.frameGeometry().center().x(), area.center().x(), 2);
    QWidget huge;
    huge.resize(area.width() + 400, area.height() + 400);
    sCenterForm(&huge);
    EXPECT_EQ(huge.pos(), area.topLeft());
}

TEST(WindowFonts, LanguageFontReachesEveryControlAndKeepsTheCharset)
{
    StringTable table;
    ASSERT_TRUE(table.loadFile(venttest::sourcePath(QStringLiteral("resources/ventacq_strings.tsv"))));
    const auto font = LanguageFont::fromTable(Texts(&table, UiVariant::Japanese), 10000, 128);
    ASSERT_TRUE(font.has_value());
    EXPECT_EQ(font->face, QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_DOUBLE_EQ(font->points, 9.0);
    QWidget window;
    auto *label = new QLabel(QStringLiteral("x"), &window);
    sApplyLanguageFont(&window, *font);
    EXPECT_EQ(label->font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(charsetOf(label), 128);
    sApplyCharset(&window, 0);
    EXPECT_EQ(charsetOf(label), 0);
    EXPECT_EQ(label->font().family(), QStringLiteral("ＭＳ Ｐゴシック")); // only the charset changed
    EXPECT_FALSE(LanguageFont::fromTable(Texts(&table, UiVariant::English), 20000, 0).has_value());
}

} // namespace
