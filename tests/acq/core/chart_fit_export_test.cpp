// The value axis fitted to the page (tidy ranges, the page's extent) and the export command's
// choices: the picture type of a name, the folder, the question before replacing, the failure.
#include "acq/core/axis_fit.h"
#include "acq/core/chart_export.h"
#include "acq/core/chart_series.h"
#include "common/core/status_codes.h"
#include "tests/acq/core/acq_test_support.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cmath>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Worked by hand from the rule: pad 5 % of the span (flat: 10 % of the value, or 1 at 0), not
// below 0 for values that never are, step 1-2-5 at least a fifth of the padded span, ends outwards.
TEST(AxisFit, TidyRangesFromThePagesExtremes)
{
    const struct { double lo, hi, lower, upper, step; } cases[] = {
        {3.1, 4.7, 3.0, 5.0, 0.5},        // 3.02..4.78, 0.352 -> 0.5
        {0.2, 5.0, 0.0, 6.0, 2.0},        // -0.04 held at 0..5.24, 1.048 -> 2
        {12.0, 12.9, 11.8, 13.0, 0.2},    // 11.955..12.945, 0.198 -> 0.2
        {5.0, 5.0, 4.4, 5.6, 0.2},        // flat: 4.5..5.5, 0.2 -> 0.2
        {0.0, 0.0, 0.0, 1.0, 0.2},        // flat at 0: -1 held at 0..1
        {850, 1230, 800, 1300, 100},      // FPM: 831..1249, 83.6 -> 100
        {-2.3, -0.4, -2.5, 0.0, 0.5},     // below 0: -2.395..-0.305, 0.418 -> 0.5
    };
    for (const auto &c : cases) {
        const std::optional<AxisFit::Range> r = AxisFit::tidyRange(c.lo, c.hi);
        ASSERT_TRUE(r) << c.lo << ".." << c.hi;
        EXPECT_NEAR(r->lower, c.lower, 1e-9) << c.lo << ".." << c.hi;
        EXPECT_NEAR(r->upper, c.upper, 1e-9) << c.lo << ".." << c.hi;
        EXPECT_NEAR(r->step, c.step, 1e-12) << c.lo << ".." << c.hi;
    }
    EXPECT_FALSE(AxisFit::tidyRange(kNaN, kNaN)); // nothing on display: the stored range rules
    EXPECT_FALSE(AxisFit::tidyRange(2, 1));
}

TEST(AxisFit, PageExtentSkipsGapsAndPointsOffThePage)
{
    ChartSeries s;
    s.reset(1);
    const double y[] = {1, kNaN, 7, -2, 5};
    for (int k = 1; k <= 5; ++k)
        s.setPoint(k, 9 + k, y[k - 1]); // X 10..14
    const struct { double from, to, min, max; } cases[] = {
        {11, 13, -2, 7}, {10, 10, 1, 1}, {10.5, 11.5, kNaN, kNaN}, {20, 30, kNaN, kNaN}, {0, 99, -2, 7}};
    for (const auto &c : cases) {
        const ChartSeries::Extent e = s.extentY(c.from, c.to);
        EXPECT_TRUE(e.minimum == c.min || (std::isnan(e.minimum) && std::isnan(c.min))) << c.from;
        EXPECT_TRUE(e.maximum == c.max || (std::isnan(e.maximum) && std::isnan(c.max))) << c.from;
    }
}

TEST(ChartExport, NameDecidesTheTypeElseTheFilterAddsItsExtension)
{
    using F = ChartExport::Format;
    const struct { const char *chosen; int filter; F format; const char *path; } cases[] = {
        {"/d/a.png", 1, F::Png, "/d/a.png"}, {"/d/a.PDF", 0, F::Pdf, "/d/a.PDF"},
        {"/d/a.Svg", 0, F::Svg, "/d/a.Svg"}, {"/d/a", 1, F::Pdf, "/d/a.pdf"},
        {"/d/a.v2", 2, F::Svg, "/d/a.v2.svg"}, {"/d/a", 7, F::Png, "/d/a.png"},
    };
    for (const auto &c : cases) {
        const ChartExport::Target t = ChartExport::target(QLatin1String(c.chosen), c.filter);
        EXPECT_EQ(std::tuple(int(t.format), t.path), std::tuple(int(c.format), QString(c.path))) << c.chosen;
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
        written << path + QString::number(int(f));
        return succeed;
    };

    EXPECT_EQ(ChartExport::run(*state, files, writer), status::kCancelled); // dialog cancelled
    ASSERT_EQ(files.lastFilters.size(), 3);
    EXPECT_EQ(files.lastFilters.at(2).pattern, QStringLiteral("*.svg"));
    const QString name = dir.filePath(QStringLiteral("chart"));
    files.answers = {{name, 2}, {name + ".svg", 0}, {name + ".svg", 0}, {name + ".pdf", 0}};
    EXPECT_EQ(ChartExport::run(*state, files, writer), status::kSuccess);
    QFile(name + ".svg").open(QIODevice::WriteOnly); // now it exists
    presenter.queueAnswer(status::kAnswerNo);
    EXPECT_EQ(ChartExport::run(*state, files, writer), status::kCancelled); // not replaced
    EXPECT_TRUE(presenter.lastText().endsWith(QDir::toNativeSeparators(name + ".svg")));
    EXPECT_EQ(ChartExport::run(*state, files, writer), status::kSuccess); // replaced (Yes)
    succeed = false;
    EXPECT_EQ(ChartExport::run(*state, files, writer), status::kFailure);
    EXPECT_EQ(presenter.shown.last().icon, MessagePresenter::Icon::Exclamation);
    EXPECT_TRUE(presenter.lastText().startsWith(QStringLiteral("グラフを次のファイルに書き込めませんでした。\n")));
    EXPECT_TRUE(presenter.lastText().contains(QDir::toNativeSeparators(name + ".pdf")));

    EXPECT_EQ(written, QStringList({name + ".svg2", name + ".svg2", name + ".pdf1"}));
    // The first dialog opens in the save folder, the later ones where the last name was chosen.
    EXPECT_EQ(files.folders, QStringList({"/save/folder", "/save/folder", dir.path(), dir.path(), dir.path()}));
}

} // namespace
