#pragma once

#include "acq/core/chart_export.h"

#include <QSize>
#include <QString>
#include <QVector>

class TimeChart;

// Pictures of the charts for the export command: a title line above the charts, stacked in the
// order given (velocity above flow rate, as on screen), each with its axis titles.
//
// Fixed sizes, whatever the window: 800 x 450 device-independent pixels per chart, the 30-pixel
// title line taken once from the first. PNG is drawn at twice that (1600 x 900 for one chart,
// 1600 x 1800 for two) so lines and text stay sharp in a report; PDF is one page of the layout
// size at 96 dpi (600 x 338 points for one chart: page sizes are whole points); SVG has the layout
// size as its view box. The file is replaced only once the picture is complete.
class ChartPicture
{
public:
    static constexpr int kWidth = 800;
    static constexpr int kHeightPerChart = 450;
    static constexpr int kTitleHeight = 30;
    static constexpr int kPngScale = 2;
    static constexpr int kResolution = 96;

    static QSize layoutSize(int chartCount) { return {kWidth, kHeightPerChart * chartCount}; }

    // False (nothing written) when there is no chart or the file could not be written.
    static bool write(const QString &path, ChartExport::Format format, const QString &title,
                      const QString &timeTitle, const QVector<TimeChart *> &charts);
};
