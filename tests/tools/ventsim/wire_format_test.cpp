// What the virtual instrument sends: reply lines, record lines in both forms and both line ends,
// the built-in record sets and record files. Expected texts are written by hand. That the receiving
// side reads every record back in each form is the downloads' check (Dump.SavesTheMemoryAsTheExpectedFile).
#include "tools/ventsim/live_waveform.h"
#include "tools/ventsim/record_set.h"
#include "tools/ventsim/wire_format.h"

#include <QTemporaryDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

using LineEnd = InstrumentOptions::LineEnd;

// The small set as the instrument sends it with the atmosphere fields and CR LF line ends: four
// groups, the "AH" acknowledgement first and "/" last.
const QByteArray kSmallDumpAtmCrLf = "AH\r\n"
                                     "001;300;200;mm;VEL;10132;1\r\n001;3.25;21.5\r\n002;3.40;21.6\r\n003;3.18;21.6\r\n"
                                     "002;12.0;8.0;inch;AFLOW;10128;2\r\n001;412.5;22.0\r\n002;398.0;22.1\r\n"
                                     "003;300;300;mm;PRESS;10125;3\r\n001;12.6;22.3\r\n002;13.1;22.4\r\n"
                                     "004;250;250;mm;VEL;10130;0\r\n001;0.52;21.9\r\n"
                                     "/\r\n";

// The small set in both forms, written by hand: with ATM fields, CR LF and one "AH" line; without
// them, with CR line ends (a '*' stands where the LF would be) and no "AH" line, the type in the
// last five characters.
TEST(WireFormat, SmallDumpInBothForms)
{
    EXPECT_EQ(WireFormat(LineEnd::CrLf, true, 1).dumpLines(RecordSet::small()).join(),
              kSmallDumpAtmCrLf);
    const QByteArray atmOffCr = "*001;300;200;mm;  VEL\r*001;3.25;21.5\r*002;3.40;21.6\r*003;3.18;21.6\r"
                                "*002;12.0;8.0;inch;AFLOW\r*001;412.5;22.0\r*002;398.0;22.1\r"
                                "*003;300;300;mm;PRESS\r*001;12.6;22.3\r*002;13.1;22.4\r"
                                "*004;250;250;mm;  VEL\r*001;0.52;21.9\r/\r";
    EXPECT_EQ(WireFormat(LineEnd::Cr, false, 0).dumpLines(RecordSet::small()).join(), atmOffCr);
}

TEST(WireFormat, PresenceUnitAndLiveReplies)
{
    const WireFormat crlf(LineEnd::CrLf, true, 1);
    EXPECT_EQ(crlf.presenceReply("J0012345"),
              QList<QByteArray>({"AP J0012345\r\n", "VER 1.00\r\n"}));
    EXPECT_EQ(crlf.unitReply("m/s;m3/h;Pa;C"), QList<QByteArray>({"AU\r\n", "m/s;m3/h;Pa;C\r\n"}));
    const WireFormat cr(LineEnd::Cr, true, 1);
    EXPECT_EQ(cr.unitReply("m/s;m3/h;Pa;C"), QList<QByteArray>({"AU\r", "*m/s;m3/h;Pa;C\r"}));

    LiveReading r;
    r.velocity = 3.254;
    r.temperature = 21.46;
    r.pressureTenths = 10132;
    r.flag = 1;
    EXPECT_EQ(crlf.liveReply(r), QByteArray("AV;3.25;21.5;10132;1\r\n"));
    r.velocity = 12.5;
    r.temperature = -0.04;
    r.pressureTenths = 9987;
    r.flag = 3;
    EXPECT_EQ(cr.liveReply(r), QByteArray("AV;12.50;0.0;9987;3\r"));
}

TEST(RecordSet, GeneratedSetsHaveTheirReadingsInGroupsOfTen)
{
    const RecordSet thousand = RecordSet::generated(1000);
    EXPECT_EQ(thousand.readingCount(), 1000);
    EXPECT_EQ(thousand.records().size(), 1100);
    const WireFormat wire(LineEnd::CrLf, true, 1);
    // Group 1: VEL, x 250, y 180, 1010.7 hPa, flag 1; its first reading 2.48 m/s at 20.4.
    EXPECT_EQ(wire.recordText(thousand.records().at(0)), "001;250;180;mm;VEL;10107;1");
    EXPECT_EQ(wire.recordText(thousand.records().at(1)), "001;2.48;20.4");
    // Group 2 is an air-flow group: 100 + 12.3.
    EXPECT_EQ(wire.recordText(thousand.records().at(11)), "002;300;210;mm;AFLOW;10114;1");
    EXPECT_EQ(wire.recordText(thousand.records().at(12)), "001;112.3;20.5");
    // Group 7 has flag 2, group 10 flag 3.
    EXPECT_EQ(thousand.records().at(66).flag, "2");
    EXPECT_EQ(thousand.records().at(99).flag, "3");

    // The same every time.
    EXPECT_EQ(wire.dumpLines(RecordSet::generated(1000)), wire.dumpLines(thousand));
}

TEST(RecordSet, LoadsARecordFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("memory.txt");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("# a memory of two groups\n"
            "units ft/min;ft3/min;inH2O;F\n"
            "\n"
            "001;10.0;8.0;inch;VEL\n"
            "001;650;68.0\n"
            "002;300;300;mm;PRESS;10090;1\n"
            "001;12.5;20.1\n");
    f.close();
    QString error;
    const auto set = RecordSet::load(path, &error);
    ASSERT_TRUE(set) << error.toStdString();
    EXPECT_EQ(set->units(), "ft/min;ft3/min;inH2O;F");
    EXPECT_EQ(set->readingCount(), 2);
    const WireFormat on(LineEnd::CrLf, true, 1);
    const WireFormat off(LineEnd::CrLf, false, 1);
    ASSERT_EQ(set->records().size(), 4);
    EXPECT_EQ(on.recordText(set->records().at(0)), "001;10.0;8.0;inch;VEL;;0");
    EXPECT_EQ(off.recordText(set->records().at(0)), "001;10.0;8.0;inch;  VEL");
    EXPECT_EQ(on.recordText(set->records().at(2)), "002;300;300;mm;PRESS;10090;1");
    EXPECT_EQ(on.recordText(set->records().at(3)), "001;12.5;20.1");
}

TEST(RecordSet, BadRecordFilesAreRefusedWithTheLine)
{
    QTemporaryDir dir;
    const struct { const char *content; const char *mentions; } cases[] = {
        {"001;1;2;mm;VEL\n001;2\n", "line 2"},
        {"001;1;2;mm;VELOCITY\n", "line 1"},
        {"\nunits m/s;m3/h\n", "line 2"},
        {"001;1;2;mm;VEL;10132\n", "line 1"},
    };
    int n = 0;
    for (const auto &c : cases) {
        const QString path = dir.filePath(QString("bad%1.txt").arg(n++));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.content);
        f.close();
        QString error;
        EXPECT_FALSE(RecordSet::load(path, &error)) << c.content;
        EXPECT_TRUE(error.contains(QLatin1String(c.mentions))) << error.toStdString();
    }
    QString error;
    EXPECT_FALSE(RecordSet::load(dir.filePath("missing.txt"), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(LiveWaveform, SeededSteadyFlowAroundFiveMetresPerSecond)
{
    LiveWaveform a(7), b(7), c(8);
    bool differs = false;
    for (int i = 0; i < 2000; ++i) {
        const double t = i * 0.1;
        const LiveReading ra = a.next(t), rb = b.next(t), rc = c.next(t);
        EXPECT_EQ(ra.velocity, rb.velocity);
        EXPECT_EQ(ra.pressureTenths, rb.pressureTenths);
        differs = differs || ra.velocity != rc.velocity;
        EXPECT_GE(ra.velocity, 3.5);
        EXPECT_LE(ra.velocity, 6.5);
        EXPECT_GE(ra.temperature, 20.5);
        EXPECT_LE(ra.temperature, 21.5);
        EXPECT_GE(ra.pressureTenths, 10128);
        EXPECT_LE(ra.pressureTenths, 10136);
        EXPECT_EQ(ra.flag, 1);
    }
    EXPECT_TRUE(differs);
    LiveWaveform off(7, false);
    const LiveReading r = off.next(1.0);
    EXPECT_EQ(r.pressureTenths, 10132);
    EXPECT_EQ(r.flag, 2);
}

} // namespace
