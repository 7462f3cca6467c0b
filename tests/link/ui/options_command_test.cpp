// ventlink's "Options..." button: the options dialog with all four flags and a Cancel; pictures of
// the window with the button and of a refused port (scripts/screenshot).
#include "common/core/io_failure.h"
#include "common/core/settings_store.h"
#include "common/ui/options_dialog.h"
#include "common/ui/window_fonts.h"
#include "link/core/link_state.h"
#include "link/core/link_status.h"
#include "link/ui/link_presenter.h"
#include "link/ui/main_window.h"
#include "tests/link/core/link_test_support.h"
#include "tests/link/core/scripted_link_port.h"
#include "tests/support/test_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(LinkOptionsCommand, OffersAllFourFlagsAndCancelChangesNothing)
{
    QTemporaryDir dir;
    auto state = linktest::makeState(10000, UiVariant::Chinese, linktest::flags(1, 1, 1));
    auto store = SettingsStore::forFile(dir.filePath("ventlink.ini"));
    linktest::ScriptedLinkPort port;
    LinkMainWindow window(*state, *store, port);
    window.show();
    EXPECT_EQ(window.cmdOptions()->text(), QStringLiteral("选项..."));
    for (const bool cancel : {true, false}) {
        QTimer::singleShot(0, [cancel] {
            ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }, 3000));
            auto *d = qobject_cast<OptionsDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            for (QCheckBox *box : {d->cbDspATM(), d->cbSavATM(), d->cbEnbATM(), d->cbEnbUSB()})
                EXPECT_TRUE(box->isVisible());
            ASSERT_NE(d->cmdCancel(), nullptr);
            EXPECT_EQ(d->cmdCancel()->text(), QStringLiteral("取消"));
            d->cbSavATM()->setChecked(false);
            (cancel ? d->cmdCancel() : d->cmdSetATM())->click();
        });
        window.cmdOptions()->click();
        EXPECT_EQ(state->flags.saveAtm, cancel ? 1 : 0);
    }
    EXPECT_EQ(store->readText("measurement Parameter", "Save ATM", ""), "0");
    EXPECT_TRUE(window.isVisible());
}

// A picture generator, not a test: skipped unless VENT_SCREENSHOT_DIR is set.
TEST(ScreenshotLinkFirstRun, PermissionErrorAndOptionsButton)
{
    if (qEnvironmentVariableIsEmpty("VENT_SCREENSHOT_DIR"))
        GTEST_SKIP() << "set VENT_SCREENSHOT_DIR to write the pictures";
    installFontSubstitutions();
    const struct
    {
        const char *name;
        UiVariant variant;
        qint16 offset;
    } languages[] = {{"en", UiVariant::English, 0}, {"ja", UiVariant::Japanese, 10000}, {"zh", UiVariant::Chinese, 10000}};
    for (const auto &l : languages) {
        const QString tag = QLatin1String(l.name);
        QTemporaryDir dir;
        auto state = linktest::makeState(l.offset, l.variant, linktest::flags(1, 1, 1));
        LinkPresenter presenter(*state);
        state->presenter = &presenter;
        auto store = SettingsStore::forFile(dir.filePath("ventlink.ini"));
        store->writeText("Path", "Driver", "/");
        store->writeText("Path", "Path", dir.path());
        linktest::ScriptedLinkPort port;
        LinkMainWindow window(*state, *store, port);
        window.resize(800, 480);
        window.show();
        QTest::qWait(200);
        venttest::maybeScreenshot(&window, "ventlink-options-button-" + tag);

        state->gLinkStatus = 1; // the port could not be opened
        state->statusDetail = describeIoFailure(
            IoFailure::forPort("/dev/ttyUSB0", QSerialPort::PermissionError, "Permission denied"),
            state->texts, state->languageOffset);
        QTimer::singleShot(0, [tag] {
            if (!QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }, 3000))
                return;
            QWidget *w = QApplication::activeModalWidget();
            QTest::qWait(100);
            venttest::maybeScreenshot(w, "ventlink-port-permission-" + tag);
            w->close();
        });
        linkstatus::sShowLinkStatus(*state);
    }
}

} // namespace
