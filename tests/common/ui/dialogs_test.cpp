#include "common/core/status_codes.h"
#include "common/ui/key_state.h"
#include "common/ui/message_dialog.h"
#include "common/ui/options_dialog.h"
#include "common/ui/window_fonts.h"
#include "tests/support/test_support.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(MessageDialog, EachButtonAndEscAnswerTheirCodes)
{
    const QList<MessageDialog::Button> buttons = {{"cmdYes", "Yes", status::kYes},
                                                  {"cmdNO", "No", status::kNo},
                                                  {"cmdCancel", "Cancel", status::kCancel}};
    // No button: Esc.
    const struct { const char *button; qint16 code; } cases[] = {
        {"cmdYes", status::kYes}, {"cmdNO", status::kNo}, {"cmdCancel", status::kCancel}, {nullptr, status::kCancel}};
    for (const auto &c : cases) {
        MessageDialog dialog(nullptr, MessageDialog::Kind::Question, "Title",
                             "Data is not saved.   Do you save it ?", buttons, status::kCancel);
        QTimer::singleShot(0, [&] {
            if (c.button)
                QTest::mouseClick(dialog.findChild<QPushButton *>(c.button), Qt::LeftButton);
            else
                QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        EXPECT_EQ(dialog.run(), c.code) << (c.button ? c.button : "Esc");
        EXPECT_EQ(dialog.answer(), c.code);
        EXPECT_FALSE(dialog.isVisible());
    }
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

// Only Display ATM shows until Shift+Ctrl on the button reveals the rest. Box states to set, -1 to
// leave a box as it is. Without revealing, Save ATM follows Display ATM; clearing Enable ATM clears
// both; with everything shown, Save ATM comes from its own box.
TEST_F(OptionsDialogTest, ConfirmingStoresTheBoxesByTheRulesAndTheFrameChangesNothing)
{
    const struct { OptionFlags in; bool reveal; int enb, dsp, sav, usb; bool confirm; OptionFlags out; } cases[] = {
        {{1, 0, 1, 1}, false, -1, 1, -1, -1, true, {1, 1, 1, 1}},
        {{1, 1, 1, 1}, false, -1, 0, -1, -1, true, {0, 0, 1, 1}},
        {{1, 1, 1, 1}, true, 0, 1, 1, -1, true, {0, 0, 0, 1}},
        {{1, 0, 1, 1}, true, -1, -1, 0, 0, true, {1, 0, 1, 0}},
        {{1, 1, 1, 1}, false, -1, 0, -1, -1, false, {1, 1, 1, 1}}, // the window frame or Esc
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(&c - cases);
        OptionFlags flags = c.in;
        OptionsDialog d(nullptr, &flags, Texts(&m_table, UiVariant::English), QStringLiteral("t"));
        d.show();
        EXPECT_TRUE(d.cbDspATM()->isVisible());
        EXPECT_FALSE(d.cbSavATM()->isVisible() || d.cbEnbATM()->isVisible() || d.cbEnbUSB()->isVisible());
        if (c.reveal) {
            press(d, true);
            EXPECT_TRUE(d.isVisible() && d.allShown()); // revealing does not close
            EXPECT_TRUE(d.cbSavATM()->isVisible() && d.cbEnbATM()->isVisible() && d.cbEnbUSB()->isVisible());
            EXPECT_EQ(flags, c.in);
            venttest::maybeScreenshot(&d, QStringLiteral("options-dialog-revealed"));
        }
        const std::pair<QCheckBox *, int> boxes[] = {
            {d.cbEnbATM(), c.enb}, {d.cbDspATM(), c.dsp}, {d.cbSavATM(), c.sav}, {d.cbEnbUSB(), c.usb}};
        for (const auto &[box, state] : boxes)
            if (state >= 0)
                box->setChecked(state == 1);
        if (c.confirm)
            press(d, false);
        else
            d.reject();
        EXPECT_FALSE(d.isVisible());
        EXPECT_EQ(flags, c.out);
    }

    OptionFlags inconsistent{1, 1, 0, 0};
    OptionsDialog d(nullptr, &inconsistent, Texts(&m_table, UiVariant::English), QStringLiteral("t"));
    EXPECT_FALSE(d.cbDspATM()->isChecked()); // the invariant is applied when the dialog opens
    EXPECT_FALSE(d.cbSavATM()->isChecked());
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
    // Face and charset on every control of a window: LinkMainWindow.JapaneseCaptionsAndFont.
    QWidget window;
    auto *label = new QLabel(QStringLiteral("x"), &window);
    sApplyLanguageFont(&window, *font);
    sApplyCharset(&window, 0);
    EXPECT_EQ(charsetOf(label), 0);
    EXPECT_EQ(label->font().family(), QStringLiteral("ＭＳ Ｐゴシック")); // only the charset changed
    EXPECT_FALSE(LanguageFont::fromTable(Texts(&table, UiVariant::English), 20000, 0).has_value());
}

} // namespace
