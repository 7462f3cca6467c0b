// Pictures of what a newcomer meets (scripts/screenshot): a port refused for lack of permission, a
// save into a read-only folder, the options command and the first start, in the three languages.
// A picture generator, not a test: skipped unless VENT_SCREENSHOT_DIR is set.
#include "acq/core/acq_settings.h"
#include "acq/core/app_state.h"
#include "acq/core/data_saver.h"
#include "acq/core/status_report.h"
#include "acq/ui/acq_presenter.h"
#include "acq/ui/main_window.h"
#include "common/core/io_failure.h"
#include "common/core/settings_store.h"
#include "common/ui/window_fonts.h"
#include "acq/core/file_dialog.h"
#include "tests/support/permissions_bind_root.h"
#include "tests/support/test_support.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <utility>

namespace {

class OneAnswer : public FileDialog
{
public:
    explicit OneAnswer(QString path) : m_path(std::move(path)) {}
    Choice getSaveFileName(const QString &, const QVector<Filter> &) override
    {
        return {std::exchange(m_path, QString()), 0};
    }

private:
    QString m_path;
};

// Grabs the next modal window under `name` and closes it.
void grabModal(const QString &name)
{
    QTimer::singleShot(0, [name] {
        if (!QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }, 3000))
            return;
        QWidget *w = QApplication::activeModalWidget();
        QTest::qWait(100);
        venttest::maybeScreenshot(w, name);
        w->close();
    });
}

TEST(ScreenshotFirstRun, ErrorsOptionsAndFirstStart)
{
    if (qEnvironmentVariableIsEmpty("VENT_SCREENSHOT_DIR"))
        GTEST_SKIP() << "set VENT_SCREENSHOT_DIR to write the pictures";
    installFontSubstitutions();
    const struct { const char *name; UiVariant variant; qint16 offset; qint16 systemId; } languages[] = {
        {"en", UiVariant::English, 0, 1033}, {"ja", UiVariant::Japanese, 10000, 1041}, {"zh", UiVariant::Chinese, 10000, 2052}};
    for (const auto &l : languages) {
        const QString tag = QLatin1String(l.name);
        StringTable table;
        ASSERT_TRUE(table.loadFile(QStringLiteral(":/strings/ventacq_strings.tsv")));
        auto state = std::make_unique<AppState>();
        state->texts = Texts(&table, l.variant);
        state->languageOffset = l.offset;
        state->systemLanguageId = l.systemId;
        ASSERT_EQ(fLoadCommonStrings(*state), -10000);
        AcqPresenter presenter(*state);
        state->presenter = &presenter;

        // The start of a run on a port the user may not open.
        const IoFailure refused =
            IoFailure::forPort(QStringLiteral("/dev/ttyUSB0"), QSerialPort::PermissionError, QStringLiteral("Permission denied"));
        grabModal(QStringLiteral("port-permission-") + tag);
        presenter.notify(MessagePresenter::Icon::Information, state->appTitle,
                         withIoFailure(state->messages[size_t(StatusReport::forCode(runstatus::kProbeFailed).messageIndex)],
                                       refused, state->texts, state->languageOffset));

        // Save into a read-only folder.
        QTemporaryDir dir;
        state->lastDataPath = dir.filePath(QStringLiteral("VL4402Data.VXD"));
        QFile data(state->lastDataPath);
        ASSERT_TRUE(data.open(QIODevice::WriteOnly));
        data.write("run\r\n");
        data.close();
        QDir().mkpath(dir.filePath(QStringLiteral("readonly")));
        QFile::setPermissions(dir.filePath(QStringLiteral("readonly")), QFile::ReadOwner | QFile::ExeOwner);
        OneAnswer files(dir.filePath(QStringLiteral("readonly/run1.CSV")));
        state->dataState = 3;
        DataSaver saver(*state, files, nullptr);
        grabModal(QStringLiteral("save-failure-") + tag);
        {
            venttest::PermissionsBindRoot readOnly;
            saver.fSaveDialog(dir.path());
        }
        QFile::setPermissions(dir.filePath(QStringLiteral("readonly")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        // The first start (nothing stored) on a 1280x800 screen, then the options command.
        auto store = SettingsStore::forFile(dir.filePath(QStringLiteral("acq.ini")));
        AcqSettings::sLoadSettings(*state, *store);
        state->dataState = 1;
        MainWindow window(*state, *store, MainWindow::Services());
        presenter.setParentWindow(&window);
        window.sInitiStatusBar();
        window.show();
        window.resize(window.firstStartSize(QRect(0, 0, 1280, 770)));
        QTest::qWait(200);
        venttest::maybeScreenshot(&window, QStringLiteral("first-start-") + tag);

        QMenu *view = window.menuBar()->actions().value(2) ? window.menuBar()->actions().value(2)->menu() : nullptr;
        if (view) {
            view->popup(window.mapToGlobal(QPoint(60, 20)));
            QTest::qWait(200);
            venttest::maybeScreenshot(view, QStringLiteral("options-command-") + tag);
            view->close();
        }
        grabModal(QStringLiteral("options-dialog-") + tag);
        window.tool(QStringLiteral("ID_Options"))->trigger();
        presenter.setParentWindow(nullptr);
    }
}

} // namespace
