#include "acq/ui/chart_picture.h"

#include "acq/ui/time_chart.h"

#include <QImage>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

namespace {

void paint(QCPPainter &painter, const QString &title, const QString &timeTitle,
           const QVector<TimeChart *> &charts)
{
    const QSize size = ChartPicture::layoutSize(int(charts.size()));
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    QFont font = charts.first()->font();
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(10, 0, size.width() - 20, ChartPicture::kTitleHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, title);
    const int height = (size.height() - ChartPicture::kTitleHeight) / int(charts.size());
    for (int i = 0; i < charts.size(); ++i) {
        painter.save();
        painter.translate(0, ChartPicture::kTitleHeight + i * height);
        charts.at(i)->renderTo(&painter, QSize(size.width(), height), timeTitle);
        painter.restore();
    }
}

// Vector output: no pixel snapping, no cached labels.
bool paintVector(QPaintDevice *device, const QString &title, const QString &timeTitle,
                 const QVector<TimeChart *> &charts)
{
    QCPPainter painter;
    if (!painter.begin(device))
        return false;
    painter.setMode(QCPPainter::pmVectorized);
    painter.setMode(QCPPainter::pmNoCaching);
    paint(painter, title, timeTitle, charts);
    return painter.end();
}

} // namespace

bool ChartPicture::write(const QString &path, ChartExport::Format format, const QString &title,
                         const QString &timeTitle, const QVector<TimeChart *> &charts)
{
    if (charts.isEmpty())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QSize size = layoutSize(int(charts.size()));
    bool drawn = false;
    switch (format) {
    case ChartExport::Format::Png: {
        QImage image(size * kPngScale, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QCPPainter painter(&image);
            if (painter.isActive()) {
                painter.scale(kPngScale, kPngScale);
                paint(painter, title, timeTitle, charts);
                drawn = true;
            }
        }
        drawn = drawn && image.save(&file, "PNG");
        break;
    }
    case ChartExport::Format::Pdf: {
        QPdfWriter pdf(&file);
        pdf.setResolution(kResolution);
        pdf.setPageSize(QPageSize(QSizeF(size) * 72.0 / kResolution, QPageSize::Point, QString(),
                                  QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setTitle(title);
        drawn = paintVector(&pdf, title, timeTitle, charts);
        break;
    }
    case ChartExport::Format::Svg: {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setResolution(kResolution);
        svg.setTitle(title);
        drawn = paintVector(&svg, title, timeTitle, charts);
        break;
    }
    }
    if (!drawn) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
