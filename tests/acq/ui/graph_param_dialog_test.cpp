// The graph parameter dialog: what it shows and takes, and how it refuses entries. The rules
// themselves (options, ranges, rounding) are GraphParams' and tested there.
#include "acq/core/app_state.h"
#include "acq/ui/graph_param_dialog.h"
#include "common/core/status_codes.h"
#include "tests/acq/ui/display_rig.h"
#include "tests/support/test_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class GraphParamDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(venttest::loadAcqTexts(m_state, UiVariant::English, 0, &m_presenter));
        m_state.velXRange = 60;
        m_state.velYMax = 60;
    }
    venttest::RecordingPresenter m_presenter;
    AppState m_state;
};

TEST_F(GraphParamDialogTest, OpensOnTheMatchingOptionAndTakesMinutesAsSeconds)
{
    m_state.velXRange = 86400;
    GraphParamDialog d(m_state);
    d.show();
    EXPECT_TRUE(d.optXRange(2)->isChecked());
    EXPECT_EQ(d.cboXRange(2)->currentText(), QStringLiteral("24"));
    EXPECT_EQ(d.cboYRange()->currentText(), QStringLiteral("60.0"));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(d.cboXRange(i)->isEnabled(), i == 2) << "list " << i;
    d.optXRange(1)->click();
    EXPECT_TRUE(d.cboXRange(1)->isEnabled());
    EXPECT_FALSE(d.cboXRange(2)->isEnabled());
    // Typed values are taken as typed, not completed from the lists ("5" is not "50").
    d.cboXRange(1)->lineEdit()->clear();
    QTest::keyClicks(d.cboXRange(1)->lineEdit(), QStringLiteral("5"));
    d.cboYRange()->lineEdit()->clear();
    QTest::keyClicks(d.cboYRange()->lineEdit(), QStringLiteral("3"));
    EXPECT_EQ(d.cboYRange()->currentText(), QStringLiteral("3"));
    d.cboYRange()->setEditText(QStringLiteral("12.34")); // kept with one decimal
    EXPECT_FALSE(d.chkFitToData()->isChecked()); // off unless chosen
    d.chkFitToData()->click();
    QTest::mouseClick(d.cmdOK(), Qt::LeftButton);
    EXPECT_EQ(m_state.paramDialogResult, status::kDialogAccepted);
    EXPECT_EQ(std::tuple(m_state.velXRange, m_state.yFitToData), std::tuple(300, 1));
    EXPECT_DOUBLE_EQ(m_state.velYMax, 12.3);
    EXPECT_EQ(m_presenter.count(), 0);
}

// OK checks the vertical entry again: an invalid maximum never reaches the state (the check on
// leaving the field: FirstRun.TabOutOfTheVelocityMaximumChecksAtOnce; the limits: GraphParams).
TEST_F(GraphParamDialogTest, OkChecksTheVerticalEntryAgain)
{
    GraphParamDialog d(m_state);
    d.show();
    d.cboYRange()->setEditText(QStringLiteral("500"));
    QTest::mouseClick(d.cmdOK(), Qt::LeftButton);
    EXPECT_EQ(m_presenter.count(), 1);
    EXPECT_TRUE(d.isVisible());
    EXPECT_DOUBLE_EQ(m_state.velYMax, 60);
    EXPECT_NE(m_state.paramDialogResult, status::kDialogAccepted);
}

TEST_F(GraphParamDialogTest, ARefusedHorizontalEntryIsPutBackAndCancelChangesNothing)
{
    GraphParamDialog d(m_state);
    d.show();
    d.cboXRange(0)->setEditText(QStringLiteral("61"));
    QTest::mouseClick(d.cmdOK(), Qt::LeftButton);
    ASSERT_EQ(m_presenter.count(), 1);
    EXPECT_EQ(m_presenter.lastText(), QStringLiteral("the value of input is error!"));
    EXPECT_EQ(d.cboXRange(0)->currentText(), QStringLiteral("60"));
    EXPECT_TRUE(d.isVisible());
    d.cboXRange(0)->setEditText(QStringLiteral("30"));
    QTest::mouseClick(d.cmdCancel(), Qt::LeftButton);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(m_state.paramDialogResult, status::kDialogNotAccepted);
    EXPECT_EQ(m_state.velXRange, 60);
}

} // namespace
