// Pictures of the two data panels during and after a run, in the language of the environment
// (LANG), for `make screenshots` (which sets VENT_SCREENSHOT_DIR).
#include "acq/ui/data_panel.h"
#include "acq/ui/time_chart.h"
#include "common/core/language.h"
#include "common/ui/window_fonts.h"
#include "tests/acq/ui/display_rig.h"

#include <QDir>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>

namespace {

using venttest::DisplayRig;

void grab(DisplayRig &rig, const QString &name)
{
    for (Panel p : {Panel::Velocity, Panel::Flow})
        rig.chart(p)->flushReplot();
    QTest::qWait(50); // the window repaints; nothing to wait on
    ASSERT_TRUE(rig.window()->grab().save(QDir(qEnvironmentVariable("VENT_SCREENSHOT_DIR")).filePath(name)));
}

// Samples as the driver gives them: a rising and falling wave, a pressure error (every 17th), a
// missing flag (every 23rd), one sample that is not a number (47).
QStringList batch(int first, int n)
{
    QStringList out;
    for (int k = first; k < first + n; ++k) {
        const double v = 8 + 5 * std::sin(k / 6.0) + (k % 3) * 0.4;
        const char *flag = k % 23 == 0 ? "0" : k % 17 == 0 ? "3" : "1";
        const QString value = k == 47 ? QStringLiteral("----") : QString::number(v, 'f', 2);
        const QString flow = k == 47 ? QStringLiteral("----") : QString::number(v * 36.0, 'f', 1);
        out << QStringLiteral("%1,%2,%3,%4").arg(value, flow).arg(10132 + (k % 5) * 3).arg(QLatin1String(flag));
    }
    return out;
}

TEST(ScreenshotAcqPanels, DuringAndAfterARun)
{
    if (qEnvironmentVariableIsEmpty("VENT_SCREENSHOT_DIR"))
        GTEST_SKIP() << "set VENT_SCREENSHOT_DIR to write the pictures";
    installFontSubstitutions();
    const Language::Choice choice = Language::detect();
    DisplayRig rig(choice.uiVariant);
    const qint16 charset = rig.state.languageOffset != 0 && choice.uiVariant == UiVariant::Japanese ? 128 : 0;
    if (const auto font = LanguageFont::fromTable(rig.state.texts, rig.state.languageOffset, charset))
        sApplyLanguageFont(rig.window(), *font);
    rig.window()->resize(1280, 720);
    const QString tag = choice.uiVariant == UiVariant::Japanese ? "ja" : choice.uiVariant == UiVariant::Chinese ? "zh" : "en";

    // A run of 150 samples, 5 per poll, stopped after 75.
    QVector<QStringList> polls;
    for (int k = 1; k <= 75; k += 5)
        polls << batch(k, 5);
    rig.run(polls, QTime(12, 0), 1.0f, 60, 150);
    rig.flushTables();
    grab(rig, QStringLiteral("panels_running_%1.png").arg(tag));

    rig.stop();
    DataPanel::sActiveRow(rig.velocity()->table(), 47);
    rig.velocity()->sShowGraphMark(true);
    DataPanel::sActiveRow(rig.flow()->table(), 12);
    rig.flow()->sShowGraphMark(true);
    grab(rig, QStringLiteral("panels_stopped_%1.png").arg(tag));

    // A long range after the run: minute labels, dense bars.
    rig.state.velXRange = 3600;
    for (Panel p : {Panel::Velocity, Panel::Flow}) {
        rig.display().smGraphXAexs(p);
        rig.display().sInitHcrollBar(p, rig.display().tableActiveRow(p));
    }
    grab(rig, QStringLiteral("panels_hour_%1.png").arg(tag));
}

} // namespace
