// ventlink's saved CSV files read back: the input is the file, read by CsvReader::readFile into the
// in-memory grid under four option settings (docs/fuzzing.md lists the rules).
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

// The cells a row must hold after reading `line`: column -> text (absent: not written). With Save
// ATM off, columns 1 to 7 are the texts in turn (the last repeating once no comma is left); with it
// on, the fields in turn (a ninth "0" after exactly eight), then the pressure columns by the flag.
QMap<int, QString> expectedRow(const LinkState &state, const QString &line)
{
    const bool atm = state.flags.saveAtmosphere();
    const QString number = atm ? QStringLiteral("0000") : QStringLiteral("000");
    QStringList f = line.split(QLatin1Char(','));
    QMap<int, QString> cells;
    if (atm && f.size() == 8)
        f << QStringLiteral("0");
    const int used = !atm ? 7 : f.size() >= 8 ? 9 : int(f.size());
    for (int c = 1; c <= used && c <= 7; ++c) {
        const QString text = c <= f.size() ? f.at(c - 1) : f.constLast();
        cells[c] = (c == 1 || c == 5) ? NumberFormat::formatText(text, number) : text;
    }
    if (used >= 8) {
        const QString &pressure = f.at(7);
        const QString &flagField = f.at(8);
        const QString flag = RecordDecoder::trimSpaces(flagField);
        const QString whole = NumberFormat::formatText(pressure, QStringLiteral("####"));
        if (flag == QLatin1String("1") || flag == QLatin1String("2") || flagField.contains(QLatin1Char('F')))
            cells[8] = whole;
        else if (flag == QLatin1String("3"))
            cells[8] = QStringLiteral("Err");
        else if (!pressure.isEmpty() && !flagField.isEmpty())
            cells[8] = state.languageOffset ? QStringLiteral("-") : QStringLiteral("N");
        else
            cells[8] = QString();
        cells[9] = whole;
        cells[10] = flagField;
    }
    return cells;
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
        for (int row = 0; row <= n; ++row) {
            QString line = row < n ? dataLines.at(row) : QString();
            QString named;
            if (quantity >= 0 && row < n) {
                QStringList f = line.split(QLatin1Char(','));
                named = quantity < f.size() ? f.takeAt(quantity) : QString();
                line = f.join(QLatin1Char(','));
            }
            QMap<int, QString> cells = row < n ? expectedRow(*rig.state, line) : QMap<int, QString>();
            if (quantity >= 0 && row < n)
                cells[RecordDecoder::kQuantityColumn] = named;
            for (int c = 1; c <= grid.columnCount(); ++c) {
                if (row == 0 && !cells.contains(c))
                    continue; // the title row keeps the window's titles where the file has none
                FUZZ_REQUIRE(grid.cell(row, c) == cells.value(c), "a line loads by the reading rule",
                             QStringLiteral("row %1 column %2: \"%3\" for \"%4\"").arg(row).arg(c)
                                 .arg(grid.cell(row, c), row < n ? dataLines.at(row) : QString()));
            }
        }
    }
    return 0;
}
