// ventlink's saved CSV files read back: the input is the file (written to one scratch path that
// every input reuses) read by CsvReader::readFile into the in-memory grid, under each option
// setting.
//
// Invariants:
// - a file is accepted exactly when its first line is the program title and its second begins
//   with "Date" (UTF-8, an optional byte-order mark, CR LF or LF line ends); otherwise code 11 is
//   set and returned and the grid keeps at least one row;
// - an accepted file gives one grid row per non-empty line after the third (the first into the
//   title row) and one empty row after them: no line is dropped, nothing is read twice;
// - each row follows the reading rule: with Save ATM off, columns 1 to 7 are the comma-separated
//   texts in turn (the last one repeating once no comma is left), the "No" columns as "000";
//   with Save ATM on, the fields in turn (a ninth "0" after exactly eight), the "No" columns as
//   "0000", column 8 the pressure in whole hPa, "Err", the marker or empty by the flag, column 9
//   the pressure as "####", column 10 the flag; no other column is written;
// - redraw is always resumed.
#include "common/core/number_format.h"
#include "common/core/status_codes.h"
#include "fuzz/fuzz_support.h"
#include "link/core/csv_reader.h"
#include "link/core/link_status.h"
#include "link/core/link_string_ids.h"
#include "link/core/memory_grid.h"
#include "link/core/record_decoder.h"

#include <QFile>

namespace {

// The lines of the file: UTF-8 without its byte-order mark, cut at LF, a CR before the LF dropped;
// a CR at the very end dropped too; a final line end does not start another line.
QStringList fileLines(const QByteArray &content)
{
    QString text = QString::fromUtf8(content);
    if (!text.isEmpty() && text.at(0) == QChar(0xFEFF))
        text = text.mid(1);
    QStringList lines;
    QString current;
    for (QChar c : text) {
        if (c == QLatin1Char('\n')) {
            if (current.endsWith(QLatin1Char('\r')))
                current.chop(1);
            lines << current;
            current.clear();
        } else {
            current += c;
        }
    }
    if (current.endsWith(QLatin1Char('\r')))
        current.chop(1);
    if (!current.isEmpty())
        lines << current;
    return lines;
}

QString whole(const QString &text)
{
    return NumberFormat::formatText(text, QStringLiteral("####"));
}

// The cells row `row` must hold after reading `line`: column -> text (absent: not written).
QMap<int, QString> expectedRow(const LinkState &state, const QString &line)
{
    QMap<int, QString> cells;
    if (!state.flags.saveAtmosphere()) {
        QStringList f = line.split(QLatin1Char(','));
        for (int c = 1; c <= 7; ++c) {
            const QString text = c < f.size() ? f.at(c - 1) : f.constLast();
            cells[c] =
                (c == 1 || c == 5) ? NumberFormat::formatText(text, QStringLiteral("000")) : text;
        }
        return cells;
    }
    QStringList f = line.split(QLatin1Char(','));
    if (f.size() == 8)
        f << QStringLiteral("0");
    const int used = f.size() >= 8 ? 9 : int(f.size());
    for (int k = 1; k <= used && k <= 7; ++k)
        cells[k] = (k == 1 || k == 5)
                       ? NumberFormat::formatText(f.at(k - 1), QStringLiteral("0000"))
                       : f.at(k - 1);
    if (used >= 8) {
        const QString &pressure = f.at(7);
        const QString &flagField = f.at(8);
        const QString flag = RecordDecoder::trimSpaces(flagField);
        if (flag == QLatin1String("1") || flag == QLatin1String("2") ||
            flagField.contains(QLatin1Char('F')))
            cells[8] = whole(pressure);
        else if (flag == QLatin1String("3"))
            cells[8] = QStringLiteral("Err");
        else if (!pressure.isEmpty() && !flagField.isEmpty())
            cells[8] = state.languageOffset ? QStringLiteral("-") : QStringLiteral("N");
        else
            cells[8] = QString();
        cells[9] = whole(pressure);
        cells[10] = flagField;
    }
    return cells;
}

struct Options
{
    int enableAtm, displayAtm, saveAtm;
    qint16 languageOffset;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString path = fuzz::scratchPath(QStringLiteral("read.CSV"));
    const QByteArray content(reinterpret_cast<const char *>(data), qsizetype(size));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(content) != content.size())
            fuzz::fail("the scratch file cannot be written", path);
    }

    const QStringList lines = fileLines(content);
    const bool good = lines.size() >= 3 &&
                      lines.at(0) == QLatin1String(LinkState::kApplicationTitle) &&
                      lines.at(1).startsWith(QLatin1String("Date"));
    QStringList dataLines;
    for (qsizetype i = 3; good && i < lines.size(); ++i) {
        if (!lines.at(i).isEmpty())
            dataLines << lines.at(i);
    }

    static const Options options[] = {{0, 0, 0, 0}, {1, 1, 1, 0}, {1, 0, 1, 10000}, {1, 1, 0, 0}};
    for (const Options &o : options) {
        auto state = fuzz::linkState(fuzz::optionFlags(o.enableAtm, o.displayAtm, o.saveAtm),
                                     o.languageOffset);
        MemoryGrid grid;
        RecordDecoder decoder(*state, grid);
        decoder.smChangeTitle(state->texts.value(linkid::kFixedType)); // as at window load
        decoder.reset();
        state->gLinkStatus = status::kSuccess;
        CsvReader reader(*state, grid);
        const qint16 result = reader.readFile(path);
        FUZZ_REQUIRE(grid.suspendDepth() == 0, "redraw resumed");
        if (!good) {
            FUZZ_REQUIRE(result == linkstatus::kReadFile &&
                             state->gLinkStatus == linkstatus::kReadFile,
                         "a foreign file is refused with code 11");
            FUZZ_REQUIRE(grid.rowCount() >= 1, "a refused file leaves a row");
            continue;
        }
        FUZZ_REQUIRE(result == status::kSuccess && state->gLinkStatus == status::kSuccess,
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
            QMap<int, QString> cells = row < n ? expectedRow(*state, line) : QMap<int, QString>();
            if (quantity >= 0 && row < n)
                cells[RecordDecoder::kQuantityColumn] = named;
            for (int c = 1; c <= grid.columnCount(); ++c) {
                const QString expected = cells.value(c);
                const auto where = [&] {
                    return QStringLiteral("row %1 column %2: \"%3\" for \"%4\"")
                        .arg(row)
                        .arg(c)
                        .arg(grid.cell(row, c), row < n ? dataLines.at(row) : QString());
                };
                // The title row keeps the window's titles where the file has none.
                if (row == 0 && !cells.contains(c))
                    continue;
                FUZZ_REQUIRE(grid.cell(row, c) == expected, "a line loads by the reading rule",
                             where());
            }
        }
    }
    return 0;
}
