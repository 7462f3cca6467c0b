#pragma once

#include <QString>

namespace venttest {

// Points the per-user folders (settings, data, runtime) at a fresh temporary folder, so that no
// test reads or writes the real user's files. Called by the test mains before anything else.
void isolateUserFolders();

// The temporary root made by isolateUserFolders().
QString userRoot();

// A path inside the source tree (for resources and hand-written expected files).
QString sourcePath(const QString &relative);
// A path inside the build tree (the programs the whole-program tests start).
QString binaryPath(const QString &relative);

} // namespace venttest

class QImage;
class QWidget;

namespace venttest {

// Writes a picture of the widget to $VENT_SCREENSHOT_DIR/<name>.png when that variable is set
// (scripts/screenshot sets it); does nothing otherwise.
void maybeScreenshot(QWidget *widget, const QString &name);

// What the screen shows of the widget once the pending events are handled (its window's buffer,
// as parts were drawn into it), and the widget drawn whole now; both RGB32, to be compared.
QImage shownOnScreen(QWidget *widget);
QImage drawnWhole(QWidget *widget);

} // namespace venttest
