// Pictures of File > Open (scripts/screenshot): the File menu, a saved run opened (the hand-written
// data file of each language), the same with Fit to data and exported as PNG, and the message for a
// damaged file, in the three languages.
// A picture generator, not a test: skipped unless VENT_SCREENSHOT_DIR is set.
#include "acq/core/acq_settings.h"
#include "acq/core/app_state.h"
#include "acq/core/file_dialog.h"
#include "acq/ui/acq_presenter.h"
#include "acq/ui/main_window.h"
#include "acq/ui/panel_display.h"
#include "common/core/settings_store.h"
#include "common/ui/window_fonts.h"
#include "tests/support/test_support.h"

#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <deque>
#include <utility>

namespace {

class Answers : public FileDialog
{
public:
    std::deque<QString> paths;
    QString exportPath; // the chart export's answer (PNG)
    Choice getSaveFileName(const QString &, const QVector<Filter> &) override
    {
        return {std::exchange(exportPath, QString()), 0};
    }
    Choice getOpenFileName(const QString &, const QVector<Filter> &) override
    {
        if (paths.empty())
            return {};
        const QString p = paths.front();
        paths.pop_front();
        return {p, 0};
    }
};

TEST(ScreenshotOpenRun, MenuOpenedRunAndDamagedFile)
{
    if (qEnvironmentVariableIsEmpty("VENT_SCREENSHOT_DIR"))
        GTEST_SKIP() << "set VENT_SCREENSHOT_DIR to write the pictures";
    installFontSubstitutions();
    const struct { const char *name, *file; UiVariant variant; qint16 offset, systemId; } languages[] = {
        {"en", "rectangle_three_batches.vxd", UiVariant::English, 0, 1033},
        {"ja", "japanese_circle.vxd", UiVariant::Japanese, 10000, 1041},
        {"zh", "chinese_rectangle_stopped.vxd", UiVariant::Chinese, 10000, 2052}};
    for (const auto &l : languages) {
        const QString tag = QLatin1String(l.name);
        StringTable table;
        ASSERT_TRUE(table.loadFile(QStringLiteral(":/strings/ventacq_strings.tsv")));
        AppState state;
        state.texts = Texts(&table, l.variant);
        state.languageOffset = l.offset;
        state.systemLanguageId = l.systemId;
        ASSERT_EQ(fLoadCommonStrings(state), -10000);
        AcqPresenter presenter(state);
        state.presenter = &presenter;
        QTemporaryDir dir;
        auto store = SettingsStore::forFile(dir.filePath(QStringLiteral("acq.ini")));
        AcqSettings::sLoadSettings(state, *store);
        state.lastDataPath = dir.filePath(QStringLiteral("VL4402Data.VXD"));
        state.currentDir = dir.path();
        const QString source = venttest::sourcePath(QStringLiteral("tests/acq/core/expected/") + l.file);
        const QString damaged = dir.filePath(QStringLiteral("damaged.CSV"));
        QFile::copy(source, damaged);
        QFile::resize(damaged, QFileInfo(damaged).size() - 5); // the last line cut short
        Answers files;
        files.paths = {source, damaged};
        MainWindow::Services services;
        services.fileDialog = &files;
        MainWindow window(state, *store, services);
        presenter.setParentWindow(&window);
        window.sShowMenuStat();
        window.sInitiStatusBar();
        window.show();
        window.resize(900, 600);
        QTest::qWait(200);

        QMenu *file = window.menuBar()->actions().value(0)->menu();
        file->popup(window.mapToGlobal(QPoint(10, 20)));
        QTest::qWait(200);
        venttest::maybeScreenshot(file, QStringLiteral("open-menu-") + tag);
        file->close();

        window.commandClick(QStringLiteral("ID_Open"));
        QTest::qWait(300);
        venttest::maybeScreenshot(&window, QStringLiteral("open-run-") + tag);

        // Fit to data on, then File > Export Chart... as PNG: the picture the file gets.
        state.yFitToData = 1;
        window.panels()->sSetGraphYAxies();
        QTest::qWait(200);
        venttest::maybeScreenshot(&window, QStringLiteral("open-run-fit-") + tag);
        files.exportPath = qEnvironmentVariable("VENT_SCREENSHOT_DIR") + QStringLiteral("/export-") + tag
                           + QStringLiteral(".png");
        QFile::remove(files.exportPath);
        window.commandClick(QStringLiteral("ID_ExportChart"));
        state.yFitToData = 0;
        window.panels()->sSetGraphYAxies();

        QTimer::singleShot(0, [tag] {
            if (!QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }, 3000))
                return;
            QWidget *w = QApplication::activeModalWidget();
            QTest::qWait(100);
            venttest::maybeScreenshot(w, QStringLiteral("open-damaged-") + tag);
            w->close();
        });
        window.commandClick(QStringLiteral("ID_Open"));
        presenter.setParentWindow(nullptr);
    }
}

} // namespace
