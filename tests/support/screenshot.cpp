#include "tests/support/test_support.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

namespace venttest {

void maybeScreenshot(QWidget *widget, const QString &name)
{
    const QString dir = qEnvironmentVariable("VENT_SCREENSHOT_DIR");
    if (dir.isEmpty() || !widget)
        return;
    QDir().mkpath(dir);
    widget->grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

QImage shownOnScreen(QWidget *widget)
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    QWidget *window = widget->window();
    const QRect place(widget->mapTo(window, QPoint(0, 0)), widget->size());
    return window->screen()
        ->grabWindow(window->winId())
        .toImage()
        .copy(place)
        .convertToFormat(QImage::Format_RGB32);
}

QImage drawnWhole(QWidget *widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace venttest
