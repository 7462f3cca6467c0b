// ventlink's download receive path: the input is the byte stream of a memory dump, delivered in
// three chunkings to the receive queue, and once to a whole download session (probe and unit
// reply scripted) with a tmrGetData tick after every piece of bytes, then ticks until the queue
// is empty or the download has ended.
//
// Invariants:
// - the queue's lines do not depend on chunking: they are the pieces between CRs, in order, without
//   the CR, less those that begin with "AH" (after an optional LF); the text after the last CR
//   stays in the line buffer;
// - the session hands every queued line, in order, to the grid until the first line that ends with
//   "/": the file is then written holding exactly the rows of the lines before it, the download is
//   back at idle, the "/" line is still shown, and nothing after it reaches the grid; without such
//   a line the download is still running and no file is written;
// - at most one message is shown, and "No Data!" exactly when the dump ended with an empty grid.
#include "common/core/status_codes.h"
#include "fuzz/fuzz_support.h"
#include "link/core/csv_writer.h"
#include "link/core/download_session.h"
#include "link/core/link_status.h"
#include "link/core/link_string_ids.h"
#include "link/core/memory_grid.h"
#include "link/core/receive_queue.h"
#include "link/core/record_decoder.h"
#include "tests/link/core/scripted_link_port.h"

#include <QFile>
#include <QTimer>

namespace {

const QDateTime kSaveTime(QDate(2024, 5, 6), QTime(7, 8));

QStringList referenceLines(const QByteArray &stream, QString *rest)
{
    QStringList lines;
    QString current;
    for (char b : stream) {
        const QChar c = QChar(uchar(b));
        if (c != QLatin1Char('\r')) {
            current += c;
            continue;
        }
        if (!current.startsWith(QLatin1String("AH")) && !current.startsWith(QLatin1String("\nAH")))
            lines << current;
        current.clear();
    }
    *rest = current;
    return lines;
}

void checkQueue(const QByteArray &stream, const QStringList &expected, const QString &rest,
                uint64_t seed)
{
    for (const std::vector<QByteArray> &chunks : fuzz::chunkings(stream, seed)) {
        ReceiveQueue queue;
        for (const QByteArray &chunk : chunks)
            queue.takeBytes(chunk);
        FUZZ_REQUIRE(queue.lineBuffer() == rest, "the unfinished line stays in the buffer");
        FUZZ_REQUIRE(queue.size() == size_t(expected.size()), "one queued line per CR, AH dropped");
        for (const QString &line : expected)
            FUZZ_REQUIRE(queue.fInputs() == line, "queued lines in order and whole", line);
        FUZZ_REQUIRE(queue.isEmpty() && queue.fInputs().isEmpty(),
                     "an empty queue gives empty lines");
    }
}

struct Rig
{
    explicit Rig(OptionFlags flags) : state(fuzz::linkState(flags, 0)), decoder(*state, grid)
    {
        state->presenter = &presenter;
        decoder.smChangeTitle(state->texts.value(linkid::kFixedType)); // as at window load
    }
    std::unique_ptr<LinkState> state;
    MemoryGrid grid;
    RecordDecoder decoder;
    fuzz::CountingPresenter presenter;
};

// The grid the lines must give: decoded in order up to the first "/" line; `saved` receives the
// rows the file must hold.
void expectedDownload(Rig &rig, const QString &reply, const QStringList &lines, bool *ended,
                      QStringList *saved)
{
    rig.decoder.reset();
    rig.decoder.smGetUnit(reply);
    *ended = false;
    for (const QString &line : lines) {
        if (line.endsWith(QLatin1Char('/'))) {
            *ended = true;
            for (int row = 0; row <= rig.grid.rowCount(); ++row)
                *saved << CsvWriter::smGetSaveData(*rig.state, rig.grid, row);
            if (rig.grid.rowCount() == 0) {
                rig.grid.setRowCount(1);
            }
        }
        if (!line.isEmpty())
            rig.decoder.smViewData(line);
        if (*ended)
            return;
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    // The session's timer needs an event dispatcher.
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString folder = [] {
        const QString path = fuzz::scratchPath(QStringLiteral("download"));
        QDir().mkpath(path);
        return path;
    }();
    static const QString target = folder + QStringLiteral("/run.CSV");

    const QByteArray stream(reinterpret_cast<const char *>(data), qsizetype(size));
    const uint64_t seed = fuzz::hashOf(data, size);
    QString rest;
    const QStringList lines = referenceLines(stream, &rest);
    checkQueue(stream, lines, rest, seed);

    const OptionFlags flags = (seed & 1) ? fuzz::optionFlags(1, 1, 1) : fuzz::optionFlags(0, 0, 0);
    Rig expected(flags);
    bool ends = false;
    QStringList savedRows;
    linktest::ScriptedLinkPort port;
    port.reply = QStringLiteral("\nm/s;m3/h;Pa;C");
    expectedDownload(expected, port.reply, lines, &ends, &savedRows);

    QFile::remove(target);
    Rig rig(flags);
    fuzz::FakeDownloadView view;
    view.folder = folder;
    view.fileName = QStringLiteral(" run ");
    DownloadSession session(*rig.state, rig.grid, rig.decoder, view, port);
    session.setClock([] { return kSaveTime; });
    session.setPortResolver([](const QString &) { return QStringLiteral("/dev/ttyFUZZ0"); });
    session.setWatchdogInterval(3600 * 1000); // the stream is never silent here
    session.cmdMeasuring_Click();
    FUZZ_REQUIRE(session.isBusy() && session.tmrGetData()->isActive() && view.downloading,
                 "the download runs");
    FUZZ_REQUIRE(session.targetPath() == target, "the file name is trimmed", session.targetPath());

    fuzz::Random random(seed >> 1);
    for (qsizetype at = 0; at < stream.size();) {
        const qsizetype n = random.upTo(40);
        port.send(stream.mid(at, n));
        at += n;
        session.tmrGetData_Timer();
    }
    for (int i = 0; i < lines.size() && session.tmrGetData()->isActive(); ++i)
        session.tmrGetData_Timer();

    const bool fileWritten = QFile::exists(target);
    FUZZ_REQUIRE(rig.grid.suspendDepth() == 0, "redraw resumed");
    FUZZ_REQUIRE(rig.presenter.messages.size() <= 1, "at most one message",
                 rig.presenter.messages.join(QLatin1Char('|')));
    if (!ends) {
        FUZZ_REQUIRE(session.isBusy() && session.tmrGetData()->isActive() && !fileWritten,
                     "without a / line the download goes on");
        FUZZ_REQUIRE(rig.presenter.messages.isEmpty(), "no message while the dump flows");
    } else {
        FUZZ_REQUIRE(!session.isBusy() && !session.tmrGetData()->isActive() && !view.downloading &&
                         !port.open,
                     "the / line ends the download");
        QFile file(target);
        FUZZ_REQUIRE(file.open(QIODevice::ReadOnly), "the file is written");
        QStringList content = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"));
        FUZZ_REQUIRE(content.size() >= 4 && content.constLast().isEmpty(), "CR LF lines");
        content.removeLast();
        FUZZ_REQUIRE(content.at(0) == QLatin1String(LinkState::kApplicationTitle) &&
                         content.at(1) == QLatin1String("Date,2024-05-06 07:08") &&
                         content.at(2).isEmpty(),
                     "the heading lines");
        FUZZ_REQUIRE(content.mid(3) == savedRows, "the file holds the rows before the / line",
                     content.mid(3).join(QLatin1Char('|')) + QStringLiteral(" vs ") +
                         savedRows.join(QLatin1Char('|')));
        const bool noData = savedRows.size() == 1;
        FUZZ_REQUIRE(
            rig.presenter.messages ==
                (noData ? QStringList{rig.state->errorTexts[linkstatus::kNoData]} : QStringList()),
            "No Data! exactly for an empty dump", rig.presenter.messages.join(QLatin1Char('|')));
    }
    FUZZ_REQUIRE(rig.grid.rowCount() == expected.grid.rowCount(), "the grid gets every line once",
                 QStringLiteral("%1 rows, expected %2")
                     .arg(rig.grid.rowCount())
                     .arg(expected.grid.rowCount()));
    for (int row = 0; row <= rig.grid.rowCount(); ++row)
        FUZZ_REQUIRE(rig.grid.rowText(row) == expected.grid.rowText(row), "the grid rows in order",
                     rig.grid.rowText(row) + QStringLiteral(" vs ") + expected.grid.rowText(row));

    // Bytes after the end change nothing.
    if (ends) {
        const int rows = rig.grid.rowCount();
        port.send(QByteArrayLiteral("001;1;2;3;  VEL\r"));
        session.tmrGetData_Timer();
        FUZZ_REQUIRE(rig.grid.rowCount() == rows, "nothing after the end reaches the grid");
    }
    return 0;
}
