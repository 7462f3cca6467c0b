#include "tests/support/test_support.h"

#include <QDir>
#include <QPixmap>
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

} // namespace venttest
