#include "acq/core/app_state.h"
#include "acq/ui/graph_param_dialog.h"
#include "common/core/status_codes.h"
#include "tests/support/recording_presenter.h"
#include "tests/support/test_support.h"

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
        ASSERT_TRUE(m_table.loadFile(QStringLiteral(":/strings/ventacq_strings.tsv")));
        language(UiVariant::English, 0);
    }
    void language(UiVariant v, qint16 offset)
    {
        m_state.presenter = &m_presenter;
        m_state.texts = Texts(&m_table, v);
        m_state.languageOffset = offset;
        ASSERT_EQ(fLoadCommonStrings(m_state), status::kSuccess);
    }
    StringTable m_table;
    venttest::RecordingPresenter m_presenter;
    AppState m_state;
};

TEST_F(GraphParamDialogTest, OpensOnTheMatchingOption)
{
    const struct
    {
        qint32 range;
        int option;
        const char *text;
    } cases[] = {{60, 0, "60"}, {120, 1, "2"}, {3600, 1, "60"}, {7200, 2, "2"}, {86400, 2, "24"}, {172800, 3, "2"}};
    for (const auto &c : cases) {
        m_state.velXRange = c.range;
        GraphParamDialog d(m_state);
        EXPECT_TRUE(d.optXRange(c.option)->isChecked()) << c.range;
        EXPECT_TRUE(d.cboXRange(c.option)->isEnabled());
        EXPECT_EQ(d.cboXRange(c.option)->currentText(), QLatin1String(c.text));
        for (int i = 0; i < 4; ++i) {
            if (i != c.option) {
                EXPECT_FALSE(d.cboXRange(i)->isEnabled()) << c.range << " list " << i;
            }
        }
    }
}

TEST_F(GraphParamDialogTest, MinutesOptionStoresSecondsAndTheMaximumKeepsOneDecimal)
{
    m_state.velXRange = 60;
    GraphParamDialog d(m_state);
    d.show();
    d.optXRange(1)->click();
    EXPECT_TRUE(d.cboXRange(1)->isEnabled());
    EXPECT_FALSE(d.cboXRange(0)->isEnabled());
    d.cboXRange(1)->setEditText(QStringLiteral("5"));
    d.cboYRange()->setEditText(QStringLiteral("12.34"));
    QTest::mouseClick(d.cmdOK(), Qt::LeftButton);
    EXPECT_EQ(m_state.paramDialogResult, status::kDialogAccepted);
    EXPECT_EQ(m_state.velXRange, 300);
    EXPECT_DOUBLE_EQ(m_state.velYMax, 12.3);
    EXPECT_EQ(m_presenter.count(), 0);
}

TEST_F(GraphParamDialogTest, VerticalEntryOutsideItsRangeIsRefusedAndRestored)
{
    m_state.velYMax = 60;
    m_state.velocityUnit = 0;
    GraphParamDialog d(m_state);
    d.show();
    const struct
    {
        qint16 unit;
        const char *text;
        bool valid;
    } cases[] = {{0, "150", false}, {0, "100", true}, {0, "0", false}, {0, "abc", false},
                 {1, "20000", true}, {1, "20001", false}};
    for (const auto &c : cases) {
        m_state.velocityUnit = c.unit;
        m_presenter.shown.clear();
        d.cboYRange()->setEditText(QLatin1String(c.text));
        EXPECT_EQ(d.cboYRange_LostFocus(), c.valid) << c.text;
        if (c.valid) {
            EXPECT_EQ(m_presenter.count(), 0);
            EXPECT_EQ(d.cboYRange()->currentText(), QLatin1String(c.text));
        } else {
            ASSERT_EQ(m_presenter.count(), 1) << c.text;
            const QString expected = c.unit == 0 ? QStringLiteral("The range of velocity  is    0.0--100.0")
                                                 : QStringLiteral("The range of velocity  is    0.0--20000.0");
            EXPECT_EQ(m_presenter.lastText(), expected);
            EXPECT_EQ(m_presenter.shown[0].caption, QStringLiteral("Error Message"));
            EXPECT_EQ(d.cboYRange()->currentText(), QStringLiteral("60.0"));
        }
    }
    // OK checks the vertical entry again: an invalid maximum never reaches the state.
    m_state.velocityUnit = 0;
    d.cboYRange()->setEditText(QStringLiteral("500"));
    QTest::mouseClick(d.cmdOK(), Qt::LeftButton);
    EXPECT_TRUE(d.isVisible());
    EXPECT_DOUBLE_EQ(m_state.velYMax, 60);
    EXPECT_NE(m_state.paramDialogResult, status::kDialogAccepted);
}

TEST_F(GraphParamDialogTest, HorizontalEntryMustBeAWholeNumberInItsRange)
{
    m_state.velXRange = 60;
    GraphParamDialog d(m_state);
    d.show();
    for (const char *bad : {"0", "-5", "61", "2.5", "abc"}) {
        m_presenter.shown.clear();
        d.cboXRange(0)->setEditText(QLatin1String(bad));
        QTest::mouseClick(d.cmdOK(), Qt::LeftButton);
        ASSERT_EQ(m_presenter.count(), 1) << bad;
        EXPECT_EQ(m_presenter.lastText(), QStringLiteral("the value of input is error!"));
        EXPECT_EQ(d.cboXRange(0)->currentText(), QStringLiteral("60")); // put back
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(m_state.velXRange, 60);
    }
}

TEST_F(GraphParamDialogTest, CancelChangesNothing)
{
    m_state.velXRange = 60;
    m_state.velYMax = 60;
    GraphParamDialog d(m_state);
    d.show();
    d.cboXRange(0)->setEditText(QStringLiteral("30"));
    QTest::mouseClick(d.cmdCancel(), Qt::LeftButton);
    EXPECT_EQ(m_state.paramDialogResult, status::kDialogNotAccepted);
    EXPECT_EQ(m_state.velXRange, 60);
    EXPECT_FALSE(d.isVisible());
}

TEST_F(GraphParamDialogTest, CaptionsInEveryLanguage)
{
    const struct
    {
        UiVariant v;
        qint16 offset;
        const char *name;
    } langs[] = {{UiVariant::English, 0, "en"}, {UiVariant::Japanese, 10000, "ja"}, {UiVariant::Chinese, 10000, "zh"}};
    for (const auto &l : langs) {
        language(l.v, l.offset);
        GraphParamDialog d(m_state);
        d.show();
        EXPECT_EQ(d.windowTitle(), m_state.localText(3001));
        EXPECT_EQ(d.optXRange(2)->text(), m_state.localText(3004));
        EXPECT_EQ(d.cmdCancel()->text(), m_state.localText(601));
        venttest::maybeScreenshot(&d, QStringLiteral("graph-parameters-") + QLatin1String(l.name));
    }
}

} // namespace

namespace {

TEST_F(GraphParamDialogTest, TypedValuesAreNotCompletedFromTheLists)
{
    m_state.velocityUnit = 0;
    GraphParamDialog d(m_state);
    d.show();
    d.cboYRange()->lineEdit()->clear();
    QTest::keyClicks(d.cboYRange()->lineEdit(), QStringLiteral("3"));
    EXPECT_EQ(d.cboYRange()->currentText(), QStringLiteral("3")); // not "30"
    d.cboXRange(0)->lineEdit()->clear();
    QTest::keyClicks(d.cboXRange(0)->lineEdit(), QStringLiteral("5"));
    EXPECT_EQ(d.cboXRange(0)->currentText(), QStringLiteral("5")); // not "50"
}

} // namespace
