// ventlink's saved CSV files read back: the input is the file, read by CsvReader::readFile into the
// in-memory grid under four option settings (docs/fuzzing.md lists the rules; the cell-by-cell
// reading rules are the unit tests' hand-written files).
#include "fuzz/fuzz_support.h"
#include "link/core/csv_reader.h"
#include "link/core/link_status.h"

#include <QFile>

namespace {

// The lines of the file: UTF-8 without its byte-order mark, cut at LF, a CR before the LF (or at the
// very end) dropped; a final line end does not start another line.
QStringList fileLines(const QByteArray &content)
{
    QString text = QString::fromUtf8(content);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString &line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    if (lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString path = fuzz::scratchPath(QStringLiteral("read.CSV"));
    const QByteArray content(reinterpret_cast<const char *>(data), qsizetype(size));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        fuzz::fail("the scratch file cannot be written", path);
    file.close();

    // Accepted exactly when line 1 is the program title and line 2 begins with "Date"; then one row
    // per non-empty line after the third and one empty row after them.
    const QStringList lines = fileLines(content);
    const bool good = lines.size() >= 3 && lines.at(0) == QLatin1String(LinkState::kApplicationTitle)
                      && lines.at(1).startsWith(QLatin1String("Date"));
    QStringList dataLines = good ? lines.mid(3) : QStringList();
    dataLines.removeAll(QString());

    for (const fuzz::LinkOptions &o : fuzz::kLinkOptions) {
        fuzz::LinkRig rig(o);
        rig.decoder.reset();
        rig.state->gLinkStatus = status::kSuccess;
        const qint16 result = CsvReader(*rig.state, rig.grid).readFile(path);
        const MemoryGrid &grid = rig.grid;
        FUZZ_REQUIRE(grid.suspendDepth() == 0, "redraw resumed");
        if (!good) {
            FUZZ_REQUIRE(result == linkstatus::kReadFile && rig.state->gLinkStatus == linkstatus::kReadFile,
                         "a foreign file is refused with code 11");
            FUZZ_REQUIRE(grid.rowCount() >= 1, "a refused file leaves a row");
            continue;
        }
        FUZZ_REQUIRE(result == status::kSuccess && rig.state->gLinkStatus == status::kSuccess,
                     "a saved file is accepted");
        const int n = int(dataLines.size());
        FUZZ_REQUIRE(grid.rowCount() == n, "one row per line, one empty row after them",
                     QStringLiteral("%1 rows for %2 lines").arg(grid.rowCount()).arg(n));
        // A quantity column named in the title line (after the seventh field) is taken out of
        // every line and shown last; the rest loads by the rule.
        const qsizetype quantity =
            n > 0 ? dataLines.first().split(QLatin1Char(',')).indexOf(QStringLiteral("Quantity"), 7) : -1;
        FUZZ_REQUIRE(RecordDecoder::hasQuantityColumn(grid) == (quantity >= 0), "the quantity column");
        // Fields 2 to 4 (group, size and unit texts) are taken as they stand.
        for (int row = 0; row < n; ++row) {
            QStringList f = dataLines.at(row).split(QLatin1Char(','));
            if (quantity >= 0 && quantity < f.size())
                f.removeAt(quantity);
            for (int c = 2; c <= 4 && c <= f.size(); ++c)
                FUZZ_REQUIRE(grid.cell(row, c) == f.at(c - 1), "fields 2 to 4 load as they stand",
                             QStringLiteral("row %1 column %2: \"%3\" for \"%4\"").arg(row).arg(c)
                                 .arg(grid.cell(row, c), dataLines.at(row)));
        }
        for (int c = 1; n > 0 && c <= grid.columnCount(); ++c)
            FUZZ_REQUIRE(grid.cell(n, c).isEmpty(), "the row after the lines is empty");
    }
    return 0;
}
