// ventlink's main window downloading from the virtual instrument, in the three languages: a small
// memory once finished, and a long one in progress and finished.
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
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct Downloading
{
    Downloading(const QString &records, qint16 offset, UiVariant variant)
        : state(linktest::makeState(offset, variant, linktest::flags(1, 1, 1))),
          store(SettingsStore::forFile(folder.path() + "/ventlink.ini")), port(*state),
          instrument([&] {
              InstrumentOptions o;
              o.records = records;
              return o;
          }())
    {
        state->presenter = &presenter;
        state->charset = variant == UiVariant::Japanese ? 128 : 0;
        state->flags.save(*store);
        store->writeText("Path", "Driver", "/");
        store->writeText("Path", "Path", folder.path());
        window = std::make_unique<LinkMainWindow>(*state, *store, port);
        window->setInstrumentScan([this](PortTables &t) { return port.scanInstruments(t); });
        window->session().setPortResolver([this](const QString &s) { return port.resolvePort(s); });
        window->resize(786, 621);
        EXPECT_TRUE(instrument.start());
        window->show();
        QTRY_COMPARE_WITH_TIMEOUT(window->cobPort()->count(), 1, 3000);
        window->txtFileName()->setText("site A");
        QTest::mouseClick(window->cmdMeasuring(), Qt::LeftButton);
    }
    void finish(const QString &picture)
    {
        instrument.setCharacterRate(100000);
        QTRY_VERIFY_WITH_TIMEOUT(state->idle == 1, 20000);
        venttest::maybeScreenshot(window.get(), picture);
    }

    QTemporaryDir folder;
    std::unique_ptr<LinkState> state;
    std::unique_ptr<SettingsStore> store;
    venttest::RecordingPresenter presenter;
    SerialLinkPort port;
    VirtualInstrument instrument;
    std::unique_ptr<LinkMainWindow> window;
};

} // namespace

TEST(ScreenshotLinkMainWindow, DownloadsInTheThreeLanguages)
{
    installFontSubstitutions();
    const std::tuple<qint16, UiVariant, QString> cases[] = {
        {0, UiVariant::English, "en"}, {10000, UiVariant::Japanese, "ja"}, {10000, UiVariant::Chinese, "zh"}};
    for (const auto &[offset, variant, name] : cases) {
        {
            Downloading small(venttest::sourcePath("tests/link/data/dump_records.txt"), offset, variant);
            small.finish("ventlink-download-" + name);
            if (name == "en")
                venttest::maybeScreenshot(small.window.get(), "ventlink-ventsim-en");
        }
        Downloading d("1000", offset, variant);
        QTRY_VERIFY_WITH_TIMEOUT(d.window->vaSpdData()->grid()->gridRowCount() > 150, 15000);
        venttest::maybeScreenshot(d.window.get(), "ventlink-progress-" + name);
        d.finish("ventlink-finished-" + name);
    }
}
