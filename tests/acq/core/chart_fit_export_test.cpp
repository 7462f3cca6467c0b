// The value axis fitted to the page (tidy ranges) and the export command's choices: the picture
// type of a name, the folder, the question before replacing, the failure.
#include "acq/core/axis_fit.h"
#include "acq/core/chart_export.h"
#include "common/core/status_codes.h"
#include "tests/acq/core/acq_test_support.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cmath>

namespace {

// Worked by hand from the rule: pad 5 % of the span (flat: 10 % of the value, or 1 at 0), not
// below 0 for values that never are, step 1-2-5 at least a fifth of the padded span, ends outwards.
TEST(AxisFit, TidyRangesFromThePagesExtremes)
{
    const struct { double lo, hi, lower, upper, step; } cases[] = {
        {3.1, 4.7, 3.0, 5.0, 0.5},     // 3.02..4.78, 0.352 -> 0.5
        {0.2, 5.0, 0.0, 6.0, 2.0},     // -0.04 held at 0..5.24, 1.048 -> 2
        {12.0, 12.9, 11.8, 13.0, 0.2}, // 11.955..12.945, 0.198 -> 0.2
        {5.0, 5.0, 4.4, 5.6, 0.2},     // flat: 4.5..5.5, 0.2 -> 0.2
        {0.0, 0.0, 0.0, 1.0, 0.2},     // flat at 0: -1 held at 0..1
        {850, 1230, 800, 1300, 100},   // FPM: 831..1249, 83.6 -> 100
        {-2.3, -0.4, -2.5, 0.0, 0.5},  // below 0: -2.395..-0.305, 0.418 -> 0.5
    };
    for (const auto &c : cases) {
        const std::optional<AxisFit::Range> r = AxisFit::tidyRange(c.lo, c.hi);
        ASSERT_TRUE(r) << c.lo;
        EXPECT_NEAR(r->lower, c.lower, 1e-9) << c.lo;
        EXPECT_NEAR(r->upper, c.upper, 1e-9) << c.lo;
        EXPECT_NEAR(r->step, c.step, 1e-12) << c.lo;
    }
    EXPECT_FALSE(AxisFit::tidyRange(std::nan(""), std::nan(""))); // nothing on display
}

TEST(ChartExport, NameDecidesTheTypeElseTheFilterAddsItsExtension)
{
    const struct { const char *chosen; int filter, format; const char *path; } cases[] = {
        {"/d/a.png", 1, 0, "/d/a.png"}, {"/d/a.PDF", 0, 1, "/d/a.PDF"}, {"/d/a.Svg", 0, 2, "/d/a.Svg"},
        {"/d/a", 1, 1, "/d/a.pdf"}, {"/d/a.v2", 2, 2, "/d/a.v2.svg"}, {"/d/a", 7, 0, "/d/a.png"}};
    for (const auto &c : cases) {
        const ChartExport::Target t = ChartExport::target(QLatin1String(c.chosen), c.filter);
        EXPECT_EQ(std::tuple(int(t.format), t.path), std::tuple(c.format, QString(c.path))) << c.chosen;
    }
}

TEST(ChartExport, FolderQuestionAndFailure)
{
    QTemporaryDir dir;
    std::unique_ptr<AppState> state = acqtest::makeState(UiVariant::Japanese, 10000);
    acqtest::RecordingPresenter presenter;
    state->presenter = &presenter;
    state->currentDir = QStringLiteral("/save/folder");
    acqtest::ScriptedFileDialog files;
    QStringList written;
    bool succeed = true;
    const auto writer = [&](const QString &path, ChartExport::Format f) {
        return (written << path + QString::number(int(f)), succeed);
    };
    const QString name = dir.filePath(QStringLiteral("chart"));
    files.answers = {{}, {name, 2}, {name + ".svg", 0}, {name + ".pdf", 0}};
    EXPECT_EQ(ChartExport::run(*state, files, writer), status::kCancelled); // dialog cancelled
    EXPECT_EQ(ChartExport::run(*state, files, writer), status::kSuccess);
    QFile(name + ".svg").open(QIODevice::WriteOnly); // now it exists
    presenter.queueAnswer(status::kAnswerNo);
    EXPECT_EQ(ChartExport::run(*state, files, writer), status::kCancelled); // not replaced
    EXPECT_TRUE(presenter.lastText().endsWith(name + ".svg"));
    succeed = false;
    EXPECT_EQ(ChartExport::run(*state, files, writer), status::kFailure);
    EXPECT_TRUE(presenter.lastText().startsWith(QStringLiteral("グラフを次のファイルに書き込めませんでした。\n")));
    EXPECT_TRUE(presenter.lastText().contains(name + ".pdf"));
    EXPECT_EQ(written, QStringList({name + ".svg2", name + ".pdf1"}));
    // The first dialogs open in the save folder, the later ones where the last name was chosen.
    EXPECT_EQ(files.folders, QStringList({"/save/folder", "/save/folder", dir.path(), dir.path()}));
}

} // namespace
