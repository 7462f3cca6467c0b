// ventlink's download receive path: the input is the byte stream of a memory dump, delivered in
// three chunkings to the receive queue, and once to a whole download session (probe and unit reply
// scripted) with a tmrGetData tick after every random piece of bytes, then ticks until the queue is
// empty or the download has ended (docs/fuzzing.md lists the rules).
#include "fuzz/fuzz_support.h"
#include "link/core/csv_writer.h"
#include "link/core/download_session.h"
#include "link/core/link_status.h"
#include "link/core/receive_queue.h"
#include "tests/link/core/link_test_support.h"
#include "tests/link/core/scripted_link_port.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>

namespace {

// The queue's lines do not depend on chunking: the pieces between CRs without the CR, less those
// that begin with "AH" (after an optional LF); the text after the last CR stays in the line buffer.
QStringList checkQueue(const QByteArray &stream)
{
    QStringList expected = QString::fromLatin1(stream).split(QLatin1Char('\r'));
    const QString rest = expected.takeLast();
    expected.removeIf([](const QString &l) {
        return l.startsWith(QLatin1String("AH")) || l.startsWith(QLatin1String("\nAH"));
    });
    for (const std::vector<QByteArray> &chunks : fuzz::chunkings(stream)) {
        ReceiveQueue queue;
        for (const QByteArray &chunk : chunks)
            queue.takeBytes(chunk);
        FUZZ_REQUIRE(queue.lineBuffer() == rest, "the unfinished line stays in the buffer");
        FUZZ_REQUIRE(queue.size() == size_t(expected.size()), "one queued line per CR, AH dropped");
        for (const QString &line : expected)
            FUZZ_REQUIRE(queue.fInputs() == line, "queued lines in order and whole", line);
        FUZZ_REQUIRE(queue.isEmpty() && queue.fInputs().isEmpty(), "an empty queue gives empty lines");
    }
    return expected;
}

// The grid the lines must give, decoded in order up to the first "/" line; `saved` receives the
// rows the file must hold. True when there is such a line.
bool expectedDownload(fuzz::LinkRig &rig, const QString &reply, const QStringList &lines, QStringList *saved)
{
    rig.decoder.reset();
    rig.decoder.smGetUnit(reply);
    for (const QString &line : lines) {
        const bool end = line.endsWith(QLatin1Char('/'));
        for (int row = 0; end && row <= rig.grid.rowCount(); ++row)
            *saved << CsvWriter::smGetSaveData(*rig.state, rig.grid, row);
        if (end && rig.grid.rowCount() == 0)
            rig.grid.setRowCount(1);
        if (!line.isEmpty())
            rig.decoder.smViewData(line);
        if (end)
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv); // the session's timer needs an event dispatcher
    return 0;
}

// The session hands every queued line, in order, to the grid until the first line that ends with
// "/": the file is then written with exactly the rows before it, the download is back at idle, and
// nothing after it reaches the grid; without such a line it goes on and writes nothing. At most one
// message, "No Data!" exactly when the dump ended with an empty grid.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray stream(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList lines = checkQueue(stream);
    auto random = fuzz::randomFor(stream);
    const fuzz::LinkOptions options = fuzz::kLinkOptions[random() % 2];
    linktest::ScriptedLinkPort port;
    port.reply = QStringLiteral("\nm/s;m3/h;Pa;C");
    fuzz::LinkRig expected(options);
    QStringList savedRows;
    const bool ends = expectedDownload(expected, port.reply, lines, &savedRows);

    fuzz::LinkRig rig(options);
    linktest::ScriptedView view;
    view.fileName = QStringLiteral(" run ");
    view.folder = fuzz::scratchPath(QStringLiteral("download"));
    QDir().mkpath(view.folder);
    const QString target = view.folder + QStringLiteral("/run.CSV");
    QFile::remove(target);
    DownloadSession session(*rig.state, rig.grid, rig.decoder, view, port);
    session.setClock([] { return QDateTime(QDate(2024, 5, 6), QTime(7, 8)); });
    session.setPortResolver([](const QString &) { return QStringLiteral("/dev/ttyFUZZ0"); });
    session.setWatchdogInterval(3600 * 1000); // the stream is never silent here
    session.cmdMeasuring_Click();
    FUZZ_REQUIRE(session.isBusy() && session.tmrGetData()->isActive() && view.downloading, "the download runs");
    FUZZ_REQUIRE(session.targetPath() == target, "the file name is trimmed", session.targetPath());
    for (qsizetype at = 0, n = 0; at < stream.size(); at += n) {
        n = qsizetype(1 + random() % 40);
        port.send(stream.mid(at, n));
        session.tmrGetData_Timer();
    }
    for (int i = 0; i < lines.size() && session.tmrGetData()->isActive(); ++i)
        session.tmrGetData_Timer();

    QStringList messages;
    for (const auto &shown : rig.presenter.shown)
        messages << shown.text;
    FUZZ_REQUIRE(rig.grid.suspendDepth() == 0, "redraw resumed");
    FUZZ_REQUIRE(messages.size() <= 1, "at most one message", messages.join(QLatin1Char('|')));
    if (!ends) {
        FUZZ_REQUIRE(session.isBusy() && session.tmrGetData()->isActive() && !QFile::exists(target),
                     "without a / line the download goes on");
        FUZZ_REQUIRE(messages.isEmpty(), "no message while the dump flows");
    } else {
        FUZZ_REQUIRE(!session.isBusy() && !session.tmrGetData()->isActive() && !view.downloading && !port.open,
                     "the / line ends the download");
        QFile file(target);
        FUZZ_REQUIRE(file.open(QIODevice::ReadOnly), "the file is written");
        QStringList content = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"));
        FUZZ_REQUIRE(content.size() >= 4 && content.takeLast().isEmpty(), "CR LF lines");
        const QStringList heading = {LinkState::kApplicationTitle, "Date,2024-05-06 07:08", ""};
        FUZZ_REQUIRE(content.mid(0, 3) == heading, "the heading lines", content.join(QLatin1Char('|')));
        FUZZ_REQUIRE(content.mid(3) == savedRows, "the file holds the rows before the / line",
                     content.mid(3).join(QLatin1Char('|')) + " vs " + savedRows.join(QLatin1Char('|')));
        const bool noData = savedRows.size() == 1;
        const QStringList noDataMessage = {rig.state->errorTexts[linkstatus::kNoData]};
        FUZZ_REQUIRE(messages == (noData ? noDataMessage : QStringList()),
                     "No Data! exactly for an empty dump", messages.join(QLatin1Char('|')));
    }
    FUZZ_REQUIRE(rig.grid.rowCount() == expected.grid.rowCount(), "the grid gets every line once",
                 QStringLiteral("%1 rows, expected %2")
                     .arg(rig.grid.rowCount()).arg(expected.grid.rowCount()));
    for (int row = 0; row <= rig.grid.rowCount(); ++row)
        FUZZ_REQUIRE(rig.grid.rowText(row) == expected.grid.rowText(row), "the grid rows in order",
                     rig.grid.rowText(row) + QStringLiteral(" vs ") + expected.grid.rowText(row));
    if (ends) { // bytes after the end change nothing
        const int rows = rig.grid.rowCount();
        port.send(QByteArrayLiteral("001;1;2;3;  VEL\r"));
        session.tmrGetData_Timer();
        FUZZ_REQUIRE(rig.grid.rowCount() == rows, "nothing after the end reaches the grid");
    }
    return 0;
}
