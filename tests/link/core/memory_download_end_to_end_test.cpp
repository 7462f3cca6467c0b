// Whole downloads from the virtual instrument: a 10,000-reading memory of three quantities saved
// as soon as its last byte is in, and an unplugged dump that leaves every line that came in the grid.
#include "link/core/download_session.h"
#include "link/core/memory_grid.h"
#include "link/core/record_decoder.h"
#include "link/core/serial_link_port.h"
#include "tests/link/core/link_test_support.h"
#include "tests/support/recording_presenter.h"
#include "tests/support/test_support.h"
#include "tools/ventsim/virtual_instrument.h"

#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct Rig
{
    explicit Rig(InstrumentOptions o)
        : state(linktest::makeState(0, UiVariant::English, linktest::flags(1, 1, 1))), port(*state),
          decoder(*state, grid), session(*state, grid, decoder, view, port), instrument(o)
    {
        state->presenter = &presenter;
        view.folder = dir.path();
        session.setPortResolver([this](const QString &s) { return port.resolvePort(s); });
        PortTables tables;
        EXPECT_TRUE(instrument.start() && port.scanInstruments(tables));
    }
    QTemporaryDir dir;
    std::unique_ptr<LinkState> state;
    venttest::RecordingPresenter presenter;
    SerialLinkPort port;
    MemoryGrid grid;
    RecordDecoder decoder;
    linktest::ScriptedView view;
    DownloadSession session;
    VirtualInstrument instrument;
};

} // namespace

TEST(MemoryDownload, TenThousandReadingsAreSavedWithinTicksOfTheLastByte)
{
    InstrumentOptions o;
    o.records = QStringLiteral("10000");
    Rig r(o);
    // The ticks from the last byte to the file: one line per tick would take about 11,000.
    const qint64 bytes = r.instrument.wire().dumpLines(r.instrument.records()).join().size();
    qint64 received = 0;
    int ticksAfterLastByte = -1;
    r.port.onReceived = [&, inner = r.port.onReceived](const QByteArray &b) {
        ticksAfterLastByte = (received += b.size()) == bytes ? 0 : -1;
        inner(b);
    };
    QObject::connect(r.session.tmrGetData(), &QTimer::timeout, [&] { ticksAfterLastByte += ticksAfterLastByte >= 0; });
    r.instrument.setCharacterRate(100000); // faster than the line: the test takes seconds
    r.session.cmdMeasuring_Click();
    QTRY_VERIFY_WITH_TIMEOUT(r.state->idle == 1, 60000);
    EXPECT_EQ(received, bytes);
    EXPECT_LT(ticksAfterLastByte, 100);
    EXPECT_EQ(r.presenter.count(), 0);

    // Every reading under its own quantity: a group's row holds its first reading, each further
    // reading a row of its own; pressure in whole hPa (tenths rounded) and flag; quantity last.
    const QMap<QString, QString> titles = {{"VEL", "Vel(m/s)"}, {"AFLOW", "AFLOW(m3/h)"}, {"PRESS", "Press(Pa)"}};
    QList<QStringList> rows;
    bool pending = false;
    for (const InstrumentRecord &rec : r.instrument.records().records()) {
        if (rec.group) {
            rows << QStringList{rec.number, rec.x, rec.y, rec.size, "", "", "",
                                QString::number((rec.pressure.toInt() + 5) / 10), rec.flag, titles[rec.type]};
        } else {
            if (!pending)
                rows << QStringList{"", "", "", "", "", "", "", "", "", rows.last().last()};
            rows.last()[4] = rec.number;
            rows.last()[5] = rec.value;
            rows.last()[6] = rec.temperature;
        }
        pending = rec.group;
    }
    QStringList want = {"No,X,Y,inch/mm,No,Value,Temp( deg.C ),ATM(hPa),ATM F,Quantity,"};
    for (const QStringList &row : rows)
        want << row.join(',') + ',';
    bool crlf = false;
    const QStringList saved = linktest::readCrLfLines(r.dir.path() + "/run.CSV", &crlf);
    ASSERT_EQ(want.size(), 1 + 10000);
    EXPECT_TRUE(crlf);
    EXPECT_EQ(saved.mid(3), want);
}

TEST(MemoryDownload, UnplugMidDumpLeavesEveryLineThatCameInTheGrid)
{
    InstrumentOptions o;
    o.records = venttest::sourcePath("tests/link/data/dump_records.txt");
    o.fault = InstrumentOptions::Fault::UnplugMidDump;
    o.faultAfter = 4;
    Rig r(o);
    r.session.setTickInterval(1000000); // no tick: only the end of the download shows the lines
    r.session.cmdMeasuring_Click();
    QTRY_VERIFY_WITH_TIMEOUT(r.state->idle == 1, 8000);
    EXPECT_EQ(r.presenter.lastText(), "Rs232c  communicate error !");
    EXPECT_FALSE(QFile::exists(r.dir.path() + "/run.CSV"));
    ASSERT_EQ(r.grid.rowCount(), 3);
    EXPECT_EQ(r.grid.rowText(1), "001|300|200|mm|001|3.25|21.5|1013|1013|1");
    EXPECT_EQ(r.grid.rowText(2), "||||002|3.40|21.6|||");
    EXPECT_EQ(r.grid.rowText(3), "002|12.0|8.0|inch||||1013|1013|2");
}
