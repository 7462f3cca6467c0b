// What a newcomer meets first in ventacq: the window's first size, the instrument already chosen,
// a word when none is attached, option buttons that act however they are turned on, the range
// check on Tab, the options command and simulation shown in the status bar.
#include "acq/core/acq_settings.h"
#include "acq/core/app_state.h"
#include "acq/ui/data_panel.h"
#include "acq/ui/graph_param_dialog.h"
#include "acq/ui/main_window.h"
#include "acq/ui/measurement_param_dialog.h"
#include "acq/ui/panel_display.h"
#include "common/core/settings_store.h"
#include "common/core/status_codes.h"
#include "common/ui/data_grid.h"
#include "common/ui/options_dialog.h"
#include "tests/support/recording_presenter.h"
#include "tests/support/test_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class FirstRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_table.loadFile(QStringLiteral(":/strings/ventacq_strings.tsv")));
        m_store = SettingsStore::forFile(m_dir.path() + QStringLiteral("/acq.ini"));
        m_state.presenter = &m_presenter;
        m_state.texts = Texts(&m_table, UiVariant::Japanese);
        m_state.systemLanguageId = 1041;
        m_state.languageOffset = 10000;
        ASSERT_EQ(fLoadCommonStrings(m_state), status::kSuccess);
        AcqSettings::sLoadSettings(m_state, *m_store);
    }
    void attach(std::initializer_list<const char *> serials)
    {
        m_state.ports.clear();
        size_t slot = 1;
        for (const char *serial : serials) {
            m_state.ports.gSerialNos[slot] = QLatin1String(serial);
            m_state.ports.gPortNames[slot] = QStringLiteral("/dev/ttyUSB%1").arg(slot);
            ++slot;
        }
    }
    std::unique_ptr<MeasurementParamDialog> parameters()
    {
        auto d = std::make_unique<MeasurementParamDialog>(m_state, nullptr,
                                                          [](const QString &) { return QStringLiteral("/dev/ttyUSB1"); });
        d->show();
        return d;
    }
    std::unique_ptr<MainWindow> window()
    {
        auto w = std::make_unique<MainWindow>(m_state, *m_store, MainWindow::Services());
        w->sInitiStatusBar();
        w->show();
        return w;
    }

    QTemporaryDir m_dir;
    StringTable m_table;
    std::unique_ptr<SettingsStore> m_store;
    venttest::RecordingPresenter m_presenter;
    AppState m_state;
};

TEST_F(FirstRun, ParameterDialogChoosesTheInstrumentOrSaysWhyNot)
{
    attach({"VL100"});
    EXPECT_EQ(parameters()->cmbRSPort()->currentIndex(), 0); // the only one
    attach({"VL100", "VL300"});
    m_state.usbSerialText = QStringLiteral("VL300");
    EXPECT_EQ(parameters()->cmbRSPort()->currentIndex(), 1); // the one used last
    m_state.usbSerialText = QStringLiteral("GONE");
    auto d = parameters();
    EXPECT_EQ(d->cmbRSPort()->currentIndex(), -1);
    d->ComdMeasurement()->click(); // several, none chosen: says where to choose, stays open
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(m_presenter.lastText(), m_state.localText(919));

    attach({}); // none attached: said, then closed without a run
    auto none = parameters();
    none->ComdMeasurement()->click();
    EXPECT_FALSE(none->isVisible());
    EXPECT_EQ(m_state.paramDialogResult, status::kDialogNotAccepted);
    EXPECT_TRUE(m_presenter.lastText().startsWith(QStringLiteral("計測器が接続されていません。")));
}

TEST_F(FirstRun, OptionButtonsActWhenToggledWithoutAClick)
{
    m_state.ductUnit = 0;
    m_state.ductShape = 0;
    m_state.ductWidth = 100;
    m_state.sampleType = 1;
    auto d = parameters();
    d->OptAreaUnit(2)->setChecked(true); // feet, as an accessibility tool would
    EXPECT_EQ(d->TxtWMWidth_1()->text(), QStringLiteral("0.328"));
    d->OptCircle_1()->setChecked(true);
    EXPECT_TRUE(d->TxtWMDiameter_1()->isEnabled());
    EXPECT_FALSE(d->TxtWMWidth_1()->isEnabled());
    d->OptSplType(0)->setChecked(true);
    EXPECT_EQ(d->lblSampleTime()->text(), m_state.localText(2127));
}

TEST_F(FirstRun, TabOutOfTheVelocityMaximumChecksAtOnce)
{
    m_state.velocityUnit = 0;
    m_state.velYMax = 60;
    GraphParamDialog d(m_state);
    d.show();
    d.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    d.cboYRange()->setFocus(Qt::TabFocusReason);
    d.cboYRange()->lineEdit()->selectAll();
    QTest::keyClicks(d.cboYRange()->lineEdit(), QStringLiteral("150"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(m_presenter.count(), 1);
    EXPECT_TRUE(m_presenter.lastText().endsWith(QStringLiteral("0.0--100.0")));
    EXPECT_EQ(d.cboYRange()->currentText(), QStringLiteral("60.0"));
}

TEST_F(FirstRun, WindowOpensWideEnoughForEveryColumn)
{
    auto w = window();
    const QSize size = w->firstStartSize(QRect(0, 0, 1280, 770)); // a 1280x800 screen with a panel
    EXPECT_LE(size.width(), 1280);
    w->resize(size);
    QApplication::processEvents();
    for (DataPanel *panel : {w->panels()->velocity(), w->panels()->flow()}) {
        DataGrid *t = panel->table();
        const int last = t->horizontalHeader()->count() - 1;
        EXPECT_LE(t->columnViewportPosition(last) + t->columnWidth(last), t->viewport()->width())
            << "width " << size.width();
    }
}

TEST_F(FirstRun, OptionsCommandOffersAllFourFlagsAndCancel)
{
    auto w = window();
    QAction *options = w->tool(QStringLiteral("ID_Options"));
    ASSERT_NE(options, nullptr);
    for (const bool cancel : {true, false}) {
        QTimer::singleShot(0, [cancel] {
            ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }, 3000));
            auto *d = qobject_cast<OptionsDialog *>(QApplication::activeModalWidget());
            ASSERT_TRUE(d && d->cmdCancel());
            EXPECT_TRUE(d->cbSavATM()->isVisible() && d->cbEnbATM()->isVisible() && d->cbEnbUSB()->isVisible());
            d->cbEnbUSB()->setChecked(false);
            (cancel ? d->cmdCancel() : d->cmdSetATM())->click();
        });
        options->trigger();
        EXPECT_EQ(m_state.usbEnable, cancel ? 1 : 0);
    }
    EXPECT_EQ(m_store->readText(QStringLiteral("measurement Parameter"), QStringLiteral("Enable USB")),
              QStringLiteral("0"));
}

TEST_F(FirstRun, SimulationIsShownInTheStatusBarAndKeptInTheCaption)
{
    m_state.simulation = 1;
    ASSERT_EQ(fLoadCommonStrings(m_state), status::kSuccess);
    auto w = window();
    EXPECT_EQ(w->statusPanel(6)->text(), m_state.localText(520));
    w->commandClick(QStringLiteral("ID_English"));
    EXPECT_EQ(w->windowTitle(), m_state.texts.value(510) + QStringLiteral(" (Simulation)"));
    EXPECT_EQ(w->statusPanel(6)->text(), QStringLiteral("Simulation"));
}

} // namespace
