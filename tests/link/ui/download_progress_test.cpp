// The window during a download from the virtual instrument: closing asks first; pictures of the
// progress and of the finished download in the three languages.
#include "common/core/settings_store.h"
#include "common/ui/data_grid.h"
#include "common/ui/window_fonts.h"
#include "link/core/download_session.h"
#include "link/core/serial_link_port.h"
#include "link/ui/main_window.h"
#include "tests/link/core/link_test_support.h"
#include "tests/support/recording_presenter.h"
#include "tests/support/test_support.h"
#include "tools/ventsim/virtual_instrument.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A window downloading the 1,000-reading memory at the line's speed (about 12 s at 19,200 baud).
struct Downloading
{
    explicit Downloading(qint16 offset = 0, UiVariant variant = UiVariant::English)
        : state(linktest::makeState(offset, variant, linktest::flags(1, 1, 1))),
          store(SettingsStore::forFile(settings.path() + "/ventlink.ini")), port(*state)
    {
        state->presenter = &presenter;
        state->charset = variant == UiVariant::Japanese ? 128 : 0;
        state->flags.save(*store);
        store->writeText("Path", "Driver", "/");
        store->writeText("Path", "Path", folder.path());
        InstrumentOptions o;
        o.records = QStringLiteral("1000");
        instrument = std::make_unique<VirtualInstrument>(o);
        window = std::make_unique<LinkMainWindow>(*state, *store, port);
        window->setInstrumentScan([this](PortTables &t) { return port.scanInstruments(t); });
        window->session().setPortResolver([this](const QString &s) { return port.resolvePort(s); });
        window->resize(786, 621);
    }
    void start()
    {
        ASSERT_TRUE(instrument->start());
        window->show();
        QTRY_COMPARE_WITH_TIMEOUT(window->cobPort()->count(), 1, 3000);
        window->txtFileName()->setText("site B");
        QTest::mouseClick(window->cmdMeasuring(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(window->vaSpdData()->grid()->gridRowCount() > 20, 10000);
    }

    QTemporaryDir settings;
    QTemporaryDir folder;
    std::unique_ptr<LinkState> state;
    std::unique_ptr<SettingsStore> store;
    venttest::RecordingPresenter presenter;
    SerialLinkPort port;
    std::unique_ptr<VirtualInstrument> instrument;
    std::unique_ptr<LinkMainWindow> window;
};

} // namespace

TEST(DownloadProgress, ClosingDuringADownloadAsksAndNoKeepsItRunning)
{
    Downloading d;
    d.start();
    EXPECT_TRUE(d.window->lblProgress()->text().startsWith("Receiving: ")) << d.window->lblProgress()->text().toStdString();
    d.presenter.queueAnswer(status::kAnswerNo);
    EXPECT_FALSE(d.window->close());
    ASSERT_EQ(d.presenter.count(), 1);
    EXPECT_EQ(d.presenter.lastText(), "A download is running. Stop it and close?");
    EXPECT_EQ(d.state->idle, 0);
    const int rows = d.window->vaSpdData()->grid()->gridRowCount();
    QTRY_VERIFY_WITH_TIMEOUT(d.window->vaSpdData()->grid()->gridRowCount() > rows, 3000);

    EXPECT_TRUE(d.window->close()); // Yes: stopped and closed
    EXPECT_EQ(d.state->idle, 1);
    EXPECT_FALSE(d.port.link().isOpen());
    EXPECT_FALSE(QFile::exists(d.folder.path() + "/site B.CSV"));
}

// Pictures only (scripts/screenshot): the progress, then the finished download.
TEST(ScreenshotDownloadProgress, ProgressAndFinishedInEachLanguage)
{
    if (qEnvironmentVariableIsEmpty("VENT_SCREENSHOT_DIR"))
        GTEST_SKIP() << "pictures only";
    installFontSubstitutions();
    const struct
    {
        qint16 offset;
        UiVariant variant;
        const char *name;
    } cases[] = {{0, UiVariant::English, "en"}, {10000, UiVariant::Japanese, "ja"}, {10000, UiVariant::Chinese, "zh"}};
    for (const auto &c : cases) {
        Downloading d(c.offset, c.variant);
        d.start();
        QTest::qWait(1500); // the elapsed time moves on
        venttest::maybeScreenshot(d.window.get(), QStringLiteral("ventlink-progress-") + c.name);
        d.instrument->setCharacterRate(100000);
        QTRY_VERIFY_WITH_TIMEOUT(d.state->idle == 1, 20000);
        venttest::maybeScreenshot(d.window.get(), QStringLiteral("ventlink-finished-") + c.name);
    }
}
