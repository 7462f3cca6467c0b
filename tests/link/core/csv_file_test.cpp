// CSV files of a download: file names, the writer's special cases and the reader. The written
// files themselves are compared with hand-written ones end to end (Dump.SavesTheMemoryAsTheExpectedFile).
#include "link/core/csv_file_name.h"
#include "link/core/csv_reader.h"
#include "link/core/csv_writer.h"
#include "link/core/link_status.h"
#include "link/core/memory_grid.h"
#include "link/core/record_decoder.h"
#include "tests/link/core/link_test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using linktest::flags;
using linktest::makeState;
using linktest::readCrLfLines;
using linktest::readExpected;

namespace {

const QDateTime kSavedAt(QDate(2024, 5, 6), QTime(7, 8, 59));

void writeFile(const QString &path, const QByteArray &content)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

struct Reading
{
    explicit Reading(OptionFlags f, qint16 offset = 0)
        : state(makeState(offset, UiVariant::English, f)), reader(*state, grid)
    {
        RecordDecoder(*state, grid).smChangeTitle(QStringLiteral("Type"));
    }
    qint16 read(const QByteArray &content)
    {
        const QString path = dir.path() + "/in.CSV";
        writeFile(path, content);
        return reader.readFile(path);
    }
    QTemporaryDir dir;
    std::unique_ptr<LinkState> state;
    MemoryGrid grid;
    CsvReader reader;
};

QByteArray expectedFile(const char *name)
{
    return readExpected(QLatin1String(name)).join(QStringLiteral("\r\n")).toUtf8() + "\r\n";
}

} // namespace

// Trimming the name and refusing a blank one go through the download: the window's
// WholeDownloadInTheWindow and DownloadSession.StartRefusalsReturnToIdleWithTheirMessage.
TEST(CsvFileName, ForbiddenCharactersAndTheOverwriteQuestionBeforeThem)
{
    for (const char *bad : {"a\\b", "a/b", "c:", "*", "why?", ">", "<", "a|b"})
        EXPECT_EQ(CsvFileName::fmCheckName(QString::fromLatin1(bad)), status::kFailure) << bad;
    for (const char *good : {"data", "run 1", "a.b", "-x", "データ"})
        EXPECT_EQ(CsvFileName::fmCheckName(QString::fromUtf8(good)), status::kSuccess) << good;

    QTemporaryDir dir;
    auto state = makeState();
    venttest::RecordingPresenter presenter;
    state->presenter = &presenter;
    QString target;

    // "a?b.CSV" exists: the question comes first; declined, the code is left alone
    writeFile(dir.path() + "/a?b.CSV", "x");
    QString name = QStringLiteral("a?b");
    presenter.queueAnswer(status::kAnswerNo);
    state->gLinkStatus = 0;
    EXPECT_EQ(CsvFileName::fmCheckFile(*state, dir.path(), &name, &target), status::kFailure);
    ASSERT_EQ(presenter.count(), 1);
    EXPECT_EQ(presenter.lastText(), "This file name already exist.  Overwrite?");
    EXPECT_EQ(state->gLinkStatus, 0);

    // accepted, the character test still refuses the name with code 9
    EXPECT_EQ(CsvFileName::fmCheckFile(*state, dir.path(), &name, &target), status::kFailure);
    EXPECT_EQ(state->gLinkStatus, linkstatus::kFileName);

    // an ordinary existing name accepted for overwriting
    writeFile(dir.path() + "/old.CSV", "x");
    name = QStringLiteral("old");
    state->gLinkStatus = 0;
    EXPECT_EQ(CsvFileName::fmCheckFile(*state, dir.path(), &name, &target), status::kSuccess);
    EXPECT_EQ(presenter.count(), 3);
}

TEST(CsvWriter, SaveAtmOffWithAtmColumnsWritesSevenColumns)
{
    Reading r(flags(1, 1, 0));
    ASSERT_EQ(r.read(expectedFile("save_atm_on.csv")), status::kSuccess);
    const QString path = r.dir.path() + "/x.CSV";
    ASSERT_EQ(CsvWriter::smSaveData(*r.state, r.grid, path, kSavedAt), status::kSuccess);
    bool crlf = false;
    const QStringList lines = readCrLfLines(path, &crlf);
    EXPECT_TRUE(crlf);
    ASSERT_GE(lines.size(), 5);
    EXPECT_EQ(lines[1], "Date,2024-05-06 07:08") << "the seconds are dropped, not rounded";
    EXPECT_EQ(lines[3], "No,X,Y,inch/mm,No,Press(kPa),Temp( deg.F ),");
    EXPECT_EQ(lines[4], "001,10,20,mm,001,0.25,70.1,");
}

TEST(CsvWriter, FailedSaveKeepsTheEarlierFileAndSetsCode8)
{
    Reading r(flags(0, 0, 0));
    QByteArray content = "Ventolux PC-LINK Software\r\nDate,x\r\n\r\nNo,X,Y,inch/mm,No,V,T,\r\n";
    for (int i = 1; i <= 2000; ++i)
        content += QByteArray::number(i) + ",  120,  340,mm,1,12.5,23.4,\r\n";
    ASSERT_EQ(r.read(content), status::kSuccess);
    const QString path = r.dir.path() + "/keep.CSV";
    writeFile(path, "earlier content");

    // The disk fills up half-way: files may not grow beyond 4 KiB (this works for any user).
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString error;
    const qint16 result = CsvWriter::smSaveData(*r.state, r.grid, path, kSavedAt, &error);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(result, linkstatus::kSaveFile);
    EXPECT_EQ(r.state->gLinkStatus, linkstatus::kSaveFile);
    EXPECT_FALSE(error.isEmpty());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "earlier content");
    EXPECT_EQ(QDir(r.dir.path()).entryList(QDir::Files), QStringList({"in.CSV", "keep.CSV"}));

    r.state->gLinkStatus = 0;
    EXPECT_EQ(CsvWriter::smSaveData(*r.state, r.grid, r.dir.path() + "/no/such/x.CSV", kSavedAt),
              linkstatus::kSaveFile);
}


TEST(CsvReader, SavedFilesFillTheGrid)
{
    const QByteArray heading = "Ventolux PC-LINK Software\r\nDate,2024-05-06 07:08\r\n\r\n";
    const char *atmTitles = "No|X|Y|inch/mm|No|Press(kPa)|Temp( deg.F )|ATM(hPa)|ATM(hPa)|ATM F";
    const struct {
        const char *what;
        OptionFlags flags;
        qint16 offset;
        QByteArray content;
        int rows;
        QList<std::pair<int, const char *>> expected;
    } cases[] = {
        {"ATM file, Save ATM off", flags(1, 1, 0), 0, expectedFile("save_atm_on.csv"), 5, // and one empty row
         {{0, atmTitles}, {1, "001|10|20|mm|001|0.25|70.1|||"}, {2, "||||002|0.26|70.2|||"}, {5, "|||||||||"}}},
        {"ATM file, Save ATM on", flags(1, 1, 1), 0, expectedFile("save_atm_on.csv"), 5,
         {{0, atmTitles},
          {1, "0001|10|20|mm|0001|0.25|70.1|1013|1013|1"},
          // a value row: both atmospheric fields empty, so column 8 stays empty
          {2, "||||0002|0.26|70.2|||"},
          {3, "0002|11|21|mm|0001|0.27|70.3|Err|1013|3"},
          {4, "0003|12|22|mm|0001|0.28|70.4|N|1013|0"},
          {5, "|||||||||"}}},
        // the ninth field "0" is added: the flag is "0", column 8 empty
        {"file without ATM columns, Save ATM on", flags(1, 1, 1), 10000, expectedFile("save_atm_off.csv"), 4,
         {{0, "No|X|Y|inch/mm|No|Vel(m/s)|Temp( deg.C )|||0"},
          {1, "0001|  120|  340|mm|0001|12.5|23.4|||0"},
          {2, "||||0002|12.7|23.5|||0"}}},
        {"marker in the language", flags(1, 1, 1), 10000,
         heading + "No,X,Y,inch/mm,No,Vel(m/s),Temp( deg.C ),ATM(hPa),ATM F,\r\n5,1,2,mm,7,1.0,20.0,1013,0,\r\n", 2,
         {{1, "0005|1|2|mm|0007|1.0|20.0|-|1013|0"}}},
        // Save ATM off: once no "," is left the rest fills the following columns
        {"short lines repeat their rest", flags(0, 0, 0), 0, "Ventolux PC-LINK Software\nDate,x\n\nNo,X\n12,abc\n", 2,
         {{0, "No|X|X|X|X|X|X"}, {1, "012|abc|abc|abc|abc|abc|abc"}}},
        {"empty lines inside are skipped", flags(0, 0, 0), 0,
         heading + "No,X,Y,inch/mm,No,Vel(m/s),Temp( deg.C ),\r\n\r\n1,,,,1,1.0,20.0,\r\n\r\n\r\n"
                   "2,,,,1,2.0,20.0,\r\n3,,,,1,3.0,20.0,\r\n\r\n",
         4, {{1, "001||||001|1.0|20.0"}, {2, "002||||001|2.0|20.0"}, {3, "003||||001|3.0|20.0"}}},
        {"headings only", flags(0, 0, 0), 0, heading, 0, {}},
    };
    for (const auto &c : cases) {
        Reading r(c.flags, c.offset);
        ASSERT_EQ(r.read(c.content), status::kSuccess) << c.what;
        EXPECT_EQ(r.grid.rowCount(), c.rows) << c.what;
        for (const auto &[row, text] : c.expected)
            EXPECT_EQ(r.grid.rowText(row), QLatin1String(text)) << c.what << ", row " << row;
        EXPECT_EQ(r.grid.suspendDepth(), 0);
    }
}

// A file of several quantities: the value and its quantity on every row, with or without the
// atmospheric columns shown; the pressure column's numbers and markers keep their styles.
TEST(CsvReader, EachReadingKeepsItsQuantityAndStyle)
{
    const QStringList want = readExpected(QStringLiteral("mixed_atm_off.csv"));
    for (OptionFlags f : {flags(0, 0, 0), flags(1, 1, 1)}) {
        Reading r(f);
        ASSERT_EQ(r.read(expectedFile("mixed_atm_off.csv")), status::kSuccess);
        for (int row = 1; row <= 6; ++row) {
            EXPECT_EQ(r.grid.cell(row, 6), want[3 + row].section(',', 5, 5)) << row;
            EXPECT_EQ(r.grid.cell(row, 11), want[3 + row].section(',', 7, 7)) << row;
        }
    }
    Reading r(flags(1, 1, 1));
    ASSERT_EQ(r.read(expectedFile("save_atm_on.csv")), status::kSuccess);
    EXPECT_EQ(r.grid.cellStyle(1, 8), RecordGrid::Style::Number);
    EXPECT_EQ(r.grid.cellStyle(4, 8), RecordGrid::Style::Marker);
}

TEST(CsvReader, WrongOrMissingHeadingLinesAreReadErrors)
{
    const char *bad[] = {
        "",
        "Ventolux PC-LINK Software\r\n",
        "Ventolux PC-LINK Software\r\nDate,2024-05-06 07:08\r\n",
        "Ventolux PC-LINK Software \r\nDate,2024\r\n\r\nNo,\r\n",
        "ventolux pc-link software\r\nDate,2024\r\n\r\nNo,\r\n",
        "Ventolux Data Acquisition Software\r\nDate,2024\r\n\r\nNo,\r\n",
        "Ventolux PC-LINK Software\r\nDat\r\n\r\nNo,\r\n",
        "Ventolux PC-LINK Software\r\n\r\nDate,2024\r\nNo,\r\n",
    };
    for (const char *content : bad) {
        Reading r(flags(0, 0, 0));
        EXPECT_EQ(r.read(QByteArray(content)), linkstatus::kReadFile) << content;
        EXPECT_EQ(r.state->gLinkStatus, linkstatus::kReadFile);
        EXPECT_EQ(r.grid.rowCount(), 1) << content;
    }
    Reading r(flags(0, 0, 0));
    EXPECT_EQ(r.reader.readFile(r.dir.path() + "/missing.CSV"), linkstatus::kReadFile);
    EXPECT_EQ(r.reader.readFile(r.dir.path()), linkstatus::kReadFile);
}
