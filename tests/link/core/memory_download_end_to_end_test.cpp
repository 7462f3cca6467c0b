// Whole downloads from the virtual instrument: a 10,000-reading memory saved as soon as its last
// byte is in, a memory of several quantities saved with each reading's quantity and read back,
// and an unplugged dump that leaves every line that came in the grid.
#include "link/core/csv_reader.h"
#include "link/core/download_session.h"
#include "link/core/memory_grid.h"
#include "link/core/record_decoder.h"
#include "link/core/serial_link_port.h"
#include "tests/link/core/link_test_support.h"
#include "tests/support/recording_presenter.h"
#include "tests/support/test_support.h"
#include "tools/ventsim/virtual_instrument.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct Rig
{
    explicit Rig(OptionFlags f)
        : state(linktest::makeState(0, UiVariant::English, f)), port(*state),
          decoder(*state, grid), session(*state, grid, decoder, view, port)
    {
        state->presenter = &presenter;
        view.folder = dir.path();
        decoder.smChangeTitle(QStringLiteral("Type"));
        session.setPortResolver([this](const QString &s) { return port.resolvePort(s); });
    }
    void start(InstrumentOptions o)
    {
        instrument = std::make_unique<VirtualInstrument>(o);
        ASSERT_TRUE(instrument->start());
        PortTables tables;
        ASSERT_TRUE(port.scanInstruments(tables));
        session.cmdMeasuring_Click();
    }
    QStringList messages() const
    {
        QStringList texts;
        for (const auto &s : presenter.shown)
            texts << s.text;
        return texts;
    }
    QStringList saved()
    {
        bool crlf = false;
        QStringList lines = linktest::readCrLfLines(dir.path() + "/run.CSV", &crlf);
        EXPECT_TRUE(crlf);
        return lines.size() > 1 ? lines.replaceInStrings(QRegularExpression("^Date,.*"), "Date,(date)") : lines;
    }

    QTemporaryDir dir;
    std::unique_ptr<LinkState> state;
    venttest::RecordingPresenter presenter;
    SerialLinkPort port;
    MemoryGrid grid;
    RecordDecoder decoder;
    linktest::ScriptedView view;
    DownloadSession session;
    std::unique_ptr<VirtualInstrument> instrument;
};

QString data(const char *name)
{
    return venttest::sourcePath(QStringLiteral("tests/link/data/") + QLatin1String(name));
}

} // namespace

TEST(MemoryDownload, TenThousandReadingsAreSavedWithinTicksOfTheLastByte)
{
    Rig r(linktest::flags(1, 1, 1));
    // The last byte in, then the ticks until the file is there: one line per tick would take
    // about 11,000. The dump goes faster than the line, so the test takes seconds.
    qint64 bytes = -1;
    qint64 received = 0;
    int ticksAfterLastByte = -1;
    auto inner = r.port.onReceived;
    r.port.onReceived = [&](const QByteArray &b) {
        received += b.size();
        if (received == bytes)
            ticksAfterLastByte = 0;
        inner(b);
    };
    QObject::connect(r.session.tmrGetData(), &QTimer::timeout, [&] {
        if (ticksAfterLastByte >= 0)
            ++ticksAfterLastByte;
    });
    InstrumentOptions o;
    o.records = QStringLiteral("10000");
    r.start(o);
    bytes = r.instrument->wire().dumpLines(r.instrument->records()).join().size();
    r.instrument->setCharacterRate(100000);
    QTRY_VERIFY_WITH_TIMEOUT(r.state->idle == 1, 60000);
    EXPECT_EQ(received, bytes);
    EXPECT_LT(ticksAfterLastByte, 100);
    EXPECT_TRUE(r.messages().isEmpty());

    // Every reading under its own quantity: a group's row holds its first reading, each further
    // reading a row of its own; pressure in whole hPa (tenths rounded) and flag; quantity last.
    const QMap<QString, QString> titles = {{"VEL", "Vel(m/s)"}, {"AFLOW", "AFLOW(m3/h)"}, {"PRESS", "Press(Pa)"}};
    QList<QStringList> rows;
    bool pending = false;
    for (const InstrumentRecord &rec : r.instrument->records().records()) {
        if (rec.group) {
            rows << QStringList{rec.number, rec.x, rec.y, rec.size, "", "", "",
                                QString::number((rec.pressure.toInt() + 5) / 10), rec.flag, titles[rec.type]};
            pending = true;
            continue;
        }
        if (!pending)
            rows << QStringList{"", "", "", "", "", "", "", "", "", rows.last().last()};
        rows.last()[4] = rec.number;
        rows.last()[5] = rec.value;
        rows.last()[6] = rec.temperature;
        pending = false;
    }
    QStringList want = {"Ventolux PC-LINK Software", "Date,(date)", "",
                        "No,X,Y,inch/mm,No,Value,Temp( deg.C ),ATM(hPa),ATM F,Quantity,"};
    for (const QStringList &row : rows)
        want << row.join(',') + ',';
    ASSERT_EQ(want.size(), 4 + 10000);
    EXPECT_EQ(r.saved(), want);
}

TEST(MemoryDownload, SeveralQuantitiesAreSavedWithEachReadingsQuantityAndReadBack)
{
    Rig r(linktest::flags(0, 0, 0));
    InstrumentOptions o;
    o.records = data("mixed_records.txt");
    o.atm = false;
    o.lineEnd = InstrumentOptions::LineEnd::Cr;
    r.start(o);
    QTRY_VERIFY_WITH_TIMEOUT(r.state->idle == 1, 8000);
    const QStringList want = linktest::readExpected("mixed_atm_off.csv");
    EXPECT_EQ(r.saved(), want);

    // Read back (also with the atmospheric options on): the same quantity on every row.
    for (OptionFlags f : {linktest::flags(0, 0, 0), linktest::flags(1, 1, 1)}) {
        r.state->flags = f;
        MemoryGrid back;
        ASSERT_EQ(CsvReader(*r.state, back).readFile(r.dir.path() + "/run.CSV"), status::kSuccess);
        for (int row = 0; row <= 6; ++row) {
            EXPECT_EQ(back.cell(row, 6), want[3 + row].section(',', 5, 5)) << row;
            EXPECT_EQ(back.cell(row, 11), want[3 + row].section(',', 7, 7)) << row;
        }
    }
}

TEST(MemoryDownload, UnplugMidDumpLeavesEveryLineThatCameInTheGrid)
{
    Rig r(linktest::flags(1, 1, 1));
    r.session.setTickInterval(1000000); // no tick: only the end of the download shows the lines
    InstrumentOptions o;
    o.records = data("dump_records.txt");
    o.fault = InstrumentOptions::Fault::UnplugMidDump;
    o.faultAfter = 4;
    r.start(o);
    QTRY_VERIFY_WITH_TIMEOUT(r.state->idle == 1, 8000);
    EXPECT_EQ(r.messages(), QStringList{"Rs232c  communicate error !"});
    EXPECT_FALSE(QFile::exists(r.dir.path() + "/run.CSV"));
    ASSERT_EQ(r.grid.rowCount(), 3);
    EXPECT_EQ(r.grid.rowText(1), "001|300|200|mm|001|3.25|21.5|1013|1013|1");
    EXPECT_EQ(r.grid.rowText(2), "||||002|3.40|21.6|||");
    EXPECT_EQ(r.grid.rowText(3), "002|12.0|8.0|inch||||1013|1013|2");
}
