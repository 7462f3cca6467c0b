#include "acq/core/app_state.h"
#include "acq/ui/measurement_param_dialog.h"
#include "common/core/status_codes.h"
#include "common/core/usb_discovery.h"
#include "tests/acq/ui/display_rig.h"
#include "tests/support/test_support.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString kTimeMessage = QStringLiteral("The range of sampling time is    1.0--9999.0");

class MeasurementParamDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(venttest::loadAcqTexts(m_state, UiVariant::English, 0, &m_presenter));
        m_state.sampleTime = 1.0f;
        m_state.sampleCount = 65500;
        m_state.sampleType = 1;
        m_state.ports.gPortNames[1] = QStringLiteral("/dev/ttyUSB0");
        m_state.ports.gSerialNos[1] = QStringLiteral("VL100");
        m_state.ports.gPortNames[3] = QStringLiteral("/dev/pts/12");
        m_state.ports.gSerialNos[3] = QStringLiteral("VL300");
    }
    // A dialog that reports status codes to `codes` and resolves instruments over the state's
    // tables as they are at the moment of asking (as the USB discovery would).
    std::unique_ptr<MeasurementParamDialog> open()
    {
        auto d = std::make_unique<MeasurementParamDialog>(
            m_state, [this](qint16 code) { m_codes << code; },
            [this](const QString &serial) { return UsbDiscovery::portForSerial(m_state.ports, serial); });
        d->show();
        return d;
    }
    static void focusInto(MeasurementParamDialog &d, QWidget *field)
    {
        d.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
        field->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(field->hasFocus());
    }
    static void retype(QLineEdit *edit, const char *text)
    {
        edit->selectAll();
        QTest::keyClicks(edit, QLatin1String(text));
    }

    venttest::RecordingPresenter m_presenter;
    AppState m_state;
    QList<qint16> m_codes;
};

TEST_F(MeasurementParamDialogTest, OpensWithTheListsAndTheStoredValues)
{
    m_state.ductShape = 1;
    m_state.ductUnit = 1;
    m_state.ductDiameter = 3.9375;
    m_state.velocityUnit = 1;
    m_state.flowUnit = 2;
    m_state.sampleTime = 0.5f;
    auto d = open();
    ASSERT_EQ(d->cmbRSPort()->count(), 2);
    EXPECT_EQ(d->cmbRSPort()->itemText(1), "VL300");
    EXPECT_EQ(d->cmbRSPort()->currentIndex(), -1);
    EXPECT_EQ(d->cmbSampleTime()->itemText(6), "600.0");
    EXPECT_EQ(d->cmbSampleTime()->currentText(), "0.5");
    EXPECT_EQ(d->cmbSampleNum()->currentText(), "65500");
    for (QRadioButton *on : {d->OptSplType(1), d->OptWSUnit(1), d->OptWindCapUnit(2), d->OptAreaUnit(1), d->OptCircle_1()})
        EXPECT_TRUE(on->isChecked()) << on->objectName().toStdString();
    EXPECT_FALSE(d->TxtWMWidth_1()->isEnabled());
    EXPECT_EQ(d->TxtWMDiameter_1()->text(), "3.938");
    EXPECT_EQ(d->TxtWMWidth_1()->text(), "10.000");
    // What the options switch: FirstRun.OptionButtonsActWhenToggledWithoutAClick.
}

// The time field's check: the Tab and Enter tests below; the bounds themselves: MeasurementParams.
TEST_F(MeasurementParamDialogTest, ARefusedSampleNumberIsPutBack)
{
    m_state.sampleCount = 300;
    auto d = open();
    d->cmbSampleNum()->setEditText(QStringLiteral("65501"));
    EXPECT_FALSE(d->cmbSampleNum_LostFocus());
    EXPECT_EQ(std::tuple(m_presenter.count(), m_presenter.lastText()),
              std::tuple(1, QStringLiteral("The range of sampling number is    1--65500")));
    EXPECT_EQ(d->cmbSampleNum()->currentText(), "300");
}

TEST_F(MeasurementParamDialogTest, TabbingOutOfARefusedEntryKeepsTheFocus)
{
    auto d = open();
    focusInto(*d, d->cmbSampleTime());
    retype(d->cmbSampleTime()->lineEdit(), "0.5");
    QTest::keyClick(d->cmbSampleTime(), Qt::Key_Tab);
    ASSERT_EQ(m_presenter.count(), 1);
    EXPECT_EQ(m_presenter.lastText(), kTimeMessage);
    EXPECT_EQ(d->cmbSampleTime()->currentText(), "1");
    EXPECT_TRUE(d->cmbSampleTime()->hasFocus());

    // The list's own popup is not leaving the field.
    retype(d->cmbSampleTime()->lineEdit(), "0.25");
    d->cmbSampleTime()->showPopup();
    d->cmbSampleTime()->hidePopup();
    EXPECT_EQ(m_presenter.count(), 1);
    retype(d->cmbSampleTime()->lineEdit(), "9999");
    QTest::keyClick(d->cmbSampleTime(), Qt::Key_Tab);
    EXPECT_EQ(m_presenter.count(), 1);
    EXPECT_FALSE(d->cmbSampleTime()->hasFocus());
    EXPECT_EQ(d->cmbSampleTime()->currentText(), "9999");

    // What is typed stays as typed: 6 samples are not completed to the list's 65500.
    ASSERT_TRUE(d->cmbSampleNum()->hasFocus());
    retype(d->cmbSampleNum()->lineEdit(), "6");
    QTest::keyClick(d->cmbSampleNum(), Qt::Key_Tab);
    EXPECT_EQ(d->cmbSampleNum()->currentText(), "6");
}

TEST_F(MeasurementParamDialogTest, AcceptTakesTheValuesIntoTheState)
{
    auto d = open();
    d->cmbRSPort()->setCurrentIndex(1);
    d->cmbSampleTime()->setEditText("2.26");
    d->cmbSampleNum()->setEditText("100");
    d->OptSplType(0)->click();
    d->OptWSUnit(1)->click();
    d->OptWindCapUnit(3)->click();
    d->OptCircle_1()->click();
    d->TxtWMDiameter_1()->setText("100");
    QTest::mouseClick(d->ComdMeasurement(), Qt::LeftButton);
    EXPECT_EQ(m_state.paramDialogResult, status::kDialogAccepted);
    EXPECT_EQ(m_presenter.count(), 0);
    EXPECT_EQ(std::tuple(m_state.usbSerialText, m_state.portPath, m_state.portNumber),
              std::tuple(QString("VL300"), QString("/dev/pts/12"), qint16(12)));
    EXPECT_EQ(std::tuple(m_state.sampleTime, m_state.sampleCount, m_state.sampleType),
              std::tuple(2.3f, 100, qint16(0)));
    EXPECT_EQ(std::tuple(m_state.velocityUnit, m_state.flowUnit, m_state.ductShape, m_state.ductUnit),
              std::tuple(qint16(1), qint16(3), qint16(1), qint16(0)));
    EXPECT_DOUBLE_EQ(m_state.ductArea, 7850);
}

TEST_F(MeasurementParamDialogTest, EnterChecksTheFocusedFieldBeforeAccepting)
{
    m_state.simulation = 1;
    auto d = open();
    focusInto(*d, d->cmbSampleTime());
    retype(d->cmbSampleTime()->lineEdit(), "abc");
    QTest::keyClick(d->cmbSampleTime(), Qt::Key_Return);
    EXPECT_TRUE(d->isVisible());
    EXPECT_NE(m_state.paramDialogResult, status::kDialogAccepted);
    ASSERT_EQ(m_presenter.count(), 1);
    EXPECT_EQ(m_presenter.lastText(), kTimeMessage);
    EXPECT_EQ(d->cmbSampleTime()->currentText(), "1");
    EXPECT_TRUE(d->cmbSampleTime()->hasFocus());

    // The same for a duct size: code 13, the size put back, the dialog stays.
    focusInto(*d, d->TxtWMWidth_1());
    retype(d->TxtWMWidth_1(), "0");
    QTest::keyClick(d->TxtWMWidth_1(), Qt::Key_Return);
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(m_codes, QList<qint16>{13});
    EXPECT_EQ(d->TxtWMWidth_1()->text(), "10.000");
    EXPECT_TRUE(d->TxtWMWidth_1()->hasFocus());
    EXPECT_EQ(m_state.ductWidth, 10.0);

    // A valid entry is taken by Enter.
    retype(d->TxtWMWidth_1(), "25");
    QTest::keyClick(d->TxtWMWidth_1(), Qt::Key_Return);
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(m_state.paramDialogResult, status::kDialogAccepted);
    EXPECT_EQ(m_state.ductWidth, 25.0);
    EXPECT_DOUBLE_EQ(m_state.ductArea, 250);
}

TEST_F(MeasurementParamDialogTest, InstrumentIsResolvedWhenAcceptingAndUntouchedValuesPass)
{
    m_state.portNumber = 5;
    m_state.portPath = "/dev/ttyS4";
    m_state.usbSerialText = "OLD";
    m_state.sampleTime = 0.5f; // below the minimum, but untouched values are not checked again
    auto d = open();
    d->cmbRSPort()->setCurrentIndex(1); // VL300, slot 3 when the dialog opened
    // The tables are rebuilt while the dialog is open: VL100 is unplugged, VL300 moves to slot 1.
    m_state.ports.clear();
    m_state.ports.gPortNames[1] = "/dev/pts/12";
    m_state.ports.gSerialNos[1] = "VL300";
    focusInto(*d, d->cmbSampleTime());
    QTest::keyClick(d->cmbSampleTime(), Qt::Key_Return); // Enter in the untouched field accepts
    EXPECT_EQ(m_state.paramDialogResult, status::kDialogAccepted);
    EXPECT_EQ(m_state.portPath, "/dev/pts/12");
    EXPECT_EQ(m_state.usbSerialText, "VL300");
    EXPECT_EQ(m_state.sampleTime, 0.5f);
    EXPECT_EQ(m_presenter.count(), 0);
}

TEST_F(MeasurementParamDialogTest, CancelAndClosingChangeNothing)
{
    m_state.simulation = 1;
    m_state.sampleCount = 65500;
    for (bool byFrame : {false, true}) {
        auto d = open();
        d->cmbSampleNum()->setEditText("10");
        d->OptWSUnit(1)->click();
        if (byFrame)
            d->close();
        else
            QTest::mouseClick(d->ComdCancel(), Qt::LeftButton);
        EXPECT_FALSE(d->isVisible());
        EXPECT_EQ(m_state.paramDialogResult, status::kDialogNotAccepted);
        EXPECT_EQ(m_state.sampleCount, 65500);
        EXPECT_EQ(m_state.velocityUnit, 0);
    }
}

} // namespace
