// Pictures of ventacq's parameter dialogs and the splash window in the three languages. Skipped
// unless VENT_SCREENSHOT_DIR is set.
#include "acq/core/app_state.h"
#include "acq/ui/graph_param_dialog.h"
#include "acq/ui/measurement_param_dialog.h"
#include "acq/ui/splash_window.h"
#include "common/ui/window_fonts.h"
#include "tests/acq/ui/display_rig.h"
#include "tests/support/recording_presenter.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

namespace {

TEST(ScreenshotAcqDialogs, ParametersAndSplashInEachLanguage)
{
    if (qEnvironmentVariableIsEmpty("VENT_SCREENSHOT_DIR"))
        GTEST_SKIP() << "set VENT_SCREENSHOT_DIR to write the pictures";
    installFontSubstitutions();
    const struct { UiVariant variant; qint16 offset; const char *tag; } languages[] = {
        {UiVariant::English, 0, "en"}, {UiVariant::Japanese, 10000, "ja"}, {UiVariant::Chinese, 10000, "zh"}};
    for (const auto &l : languages) {
        venttest::RecordingPresenter presenter;
        AppState state;
        state.versionText = makeVersionText(1, 0, 0);
        ASSERT_TRUE(venttest::loadAcqTexts(state, l.variant, l.offset, &presenter));
        state.sampleType = 0;
        state.ports.gPortNames[1] = QStringLiteral("/dev/ttyUSB0");
        state.ports.gSerialNos[1] = QStringLiteral("VL100");
        const QString tag = QLatin1String(l.tag);
        MeasurementParamDialog measurement(state, nullptr, nullptr);
        measurement.show();
        venttest::maybeScreenshot(&measurement, QStringLiteral("measurement-parameters-") + tag);
        GraphParamDialog graph(state);
        graph.show();
        venttest::maybeScreenshot(&graph, QStringLiteral("graph-parameters-") + tag);
        SplashWindow splash(state);
        splash.show();
        venttest::maybeScreenshot(&splash, QStringLiteral("splash-") + tag);
    }
}

} // namespace
