// The charts' value axes fitted to the page, and the exported pictures: their size and type, and
// the charts left as they were on screen.
#include "acq/ui/chart_picture.h"
#include "acq/ui/panel_display.h"
#include "acq/ui/time_chart.h"
#include "tests/acq/ui/display_rig.h"

#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using venttest::DisplayRig;

std::pair<double, double> yRange(TimeChart *c)
{
    return {c->yWindow().lower, c->yWindow().upper};
}

TEST(ChartFit, BothAxesFollowThePageAndTheStoredRangeRulesWithoutIt)
{
    DisplayRig rig;
    rig.state.yFitToData = 1;
    rig.state.velYMax = 20;
    rig.run({{QStringLiteral("3.1,120.5,10132,1"), QStringLiteral("4.7,180.0,10132,1")},
             {QStringLiteral("3.5,150.0,10132,1")}});
    TimeChart *velocity = rig.chart(Panel::Velocity);
    // Velocity 3.1..4.7 -> 3..5; flow 120.5..180 -> 117.525..182.975, step 20 -> 100..200.
    EXPECT_EQ(yRange(velocity), std::pair(3.0, 5.0));
    EXPECT_EQ(yRange(rig.chart(Panel::Flow)), std::pair(100.0, 200.0));
    velocity->setXWindow(rig.x(3) + 1, rig.x(3) + 60); // a page with no sample: the stored maximum
    EXPECT_EQ(yRange(velocity), std::pair(0.0, 20.0));
    rig.stop();
    rig.state.yFitToData = 0; // off: the stored range exactly, as before
    rig.display().sSetGraphYAxies();
    EXPECT_EQ(yRange(velocity), std::pair(0.0, 20.0));
}

TEST(ChartPictures, SizesAndTypesAndTheChartsLeftAsTheyWere)
{
    DisplayRig rig;
    rig.finishedRun(30);
    rig.window()->resize(500, 400);
    rig.window()->show();
    TimeChart *velocity = rig.chart(Panel::Velocity);
    velocity->flushReplot();
    const QPointF inside = velocity->positionOf(rig.x(10), 1);
    const double before = velocity->dataXAt(inside);
    const QVector<TimeChart *> one{velocity};
    QTemporaryDir dir;
    const auto write = [&](const char *name, ChartExport::Format f, const QVector<TimeChart *> &charts) {
        EXPECT_TRUE(ChartPicture::write(dir.filePath(name), f, "Run started", "Time", charts)) << name;
        QFile file(dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    EXPECT_EQ(QImage::fromData(write("a.png", ChartExport::Format::Png, one)).size(), QSize(1600, 900));
    const QByteArray pdf = write("a.pdf", ChartExport::Format::Pdf, one);
    // 800 x 450 at 96 dpi is 600 x 337.5 points; page sizes are whole points.
    static const QRegularExpression page(QStringLiteral("/MediaBox \\[0 0 600(\\.0+)? 338(\\.0+)?\\]"));
    EXPECT_TRUE(pdf.startsWith("%PDF") && page.match(QString::fromLatin1(pdf)).hasMatch());
    const QByteArray svg = write("a.svg", ChartExport::Format::Svg, one);
    EXPECT_TRUE(svg.contains("viewBox=\"0 0 800 450\"") && svg.contains("Run started"));
    // A folder that does not exist: nothing written, and the caller is told.
    EXPECT_FALSE(ChartPicture::write(dir.filePath("none/c.png"), ChartExport::Format::Png, "t", "T", one));
    // Drawn at the picture's size, the chart still maps the mouse as on screen.
    EXPECT_DOUBLE_EQ(velocity->dataXAt(inside), before);
    EXPECT_EQ(velocity->xAxis->label(), QString());
}

} // namespace
