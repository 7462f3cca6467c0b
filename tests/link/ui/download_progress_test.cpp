// The window downloading from the virtual instrument: a memory of several quantities saved with
// each reading's quantity and read back; closing during a download asks first.
#include "common/core/settings_store.h"
#include "common/ui/data_grid.h"
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
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct Downloading
{
    Downloading(InstrumentOptions o, OptionFlags f, qint16 offset = 0, UiVariant variant = UiVariant::English)
        : state(linktest::makeState(offset, variant, f)),
          store(SettingsStore::forFile(folder.path() + "/ventlink.ini")), port(*state), instrument(o)
    {
        state->presenter = &presenter;
        state->charset = variant == UiVariant::Japanese ? 128 : 0;
        f.save(*store);
        store->writeText("Path", "Driver", "/");
        store->writeText("Path", "Path", folder.path());
        window = std::make_unique<LinkMainWindow>(*state, *store, port);
        window->setInstrumentScan([this](PortTables &t) { return port.scanInstruments(t); });
        window->session().setPortResolver([this](const QString &s) { return port.resolvePort(s); });
        window->resize(786, 621);
        EXPECT_TRUE(instrument.start());
        window->show();
        QTRY_COMPARE_WITH_TIMEOUT(window->cobPort()->count(), 1, 3000);
        window->txtFileName()->setText("site B");
        QTest::mouseClick(window->cmdMeasuring(), Qt::LeftButton);
    }
    QString label() const { return window->lblProgress()->text(); }

    QTemporaryDir folder;
    std::unique_ptr<LinkState> state;
    std::unique_ptr<SettingsStore> store;
    venttest::RecordingPresenter presenter;
    SerialLinkPort port;
    VirtualInstrument instrument;
    std::unique_ptr<LinkMainWindow> window;
};

InstrumentOptions memory(const QString &records)
{
    InstrumentOptions o;
    o.records = records;
    return o;
}

} // namespace

TEST(DownloadProgress, SeveralQuantitiesAreSavedWithEachReadingsQuantityAndReadBack)
{
    InstrumentOptions o = memory(venttest::sourcePath("tests/link/data/mixed_records.txt"));
    o.atm = false;
    o.lineEnd = InstrumentOptions::LineEnd::Cr;
    Downloading d(o, linktest::flags(0, 0, 0));
    QTRY_VERIFY_WITH_TIMEOUT(d.state->idle == 1, 8000);
    const QString path = d.folder.path() + "/site B.CSV";
    EXPECT_EQ(d.label(), "6 readings saved to " + path);
    bool crlf = false;
    QStringList want = linktest::readExpected("mixed_atm_off.csv");
    EXPECT_EQ(linktest::readCrLfLines(path, &crlf).mid(2), want.mid(2));

    // Read back, also with the atmospheric options on: the value and its quantity on every row.
    for (OptionFlags f : {linktest::flags(0, 0, 0), linktest::flags(1, 1, 1)}) {
        d.state->flags = f;
        d.window->readSavedFile("site B.CSV");
        for (int row = 1; row <= 6; ++row) {
            EXPECT_EQ(d.window->vaSpdData()->grid()->cell(row, 6), want[3 + row].section(',', 5, 5));
            EXPECT_EQ(d.window->vaSpdData()->grid()->cell(row, 11), want[3 + row].section(',', 7, 7));
        }
    }
}

TEST(DownloadProgress, ClosingDuringADownloadAsksAndNoKeepsItRunning)
{
    Downloading d(memory("1000"), linktest::flags(1, 1, 1)); // about 12 s at 19,200 baud
    QTRY_VERIFY_WITH_TIMEOUT(d.window->vaSpdData()->grid()->gridRowCount() > 20, 10000);
    EXPECT_TRUE(d.label().startsWith("Receiving: ")) << d.label().toStdString();
    d.presenter.queueAnswer(status::kAnswerNo);
    EXPECT_FALSE(d.window->close());
    EXPECT_EQ(d.presenter.lastText(), "A download is running. Stop it and close?");
    const int rows = d.window->vaSpdData()->grid()->gridRowCount();
    QTRY_VERIFY_WITH_TIMEOUT(d.window->vaSpdData()->grid()->gridRowCount() > rows, 3000);

    EXPECT_TRUE(d.window->close()); // Yes: stopped and closed
    EXPECT_EQ(d.presenter.count(), 2);
    EXPECT_EQ(d.state->idle, 1);
    EXPECT_FALSE(d.port.link().isOpen());
    EXPECT_FALSE(QFile::exists(d.folder.path() + "/site B.CSV"));
}
