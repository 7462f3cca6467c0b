// ventlink's unit reply and record lines: the input is cut at CR as the receive queue cuts the dump;
// the first piece is the unit reply (smGetUnit), the others are record lines handed one by one to
// smViewData over the in-memory grid under four option settings; at the end the grid is saved as
// CSV text and read back (docs/fuzzing.md lists the rules).
#include "fuzz/fuzz_support.h"
#include "link/core/csv_reader.h"
#include "link/core/csv_writer.h"

#include <QRegularExpression>

namespace {

constexpr int kMaxLines = 300;

QString trimBlanks(const QString &text) { return RecordDecoder::trimSpaces(text); }

// Taken apart exactly when the reply holds three ";", and then: the velocity unit after the first
// character, flow and pressure units, deg.C or deg.F; refused, nothing changes.
void checkUnitReply(RecordDecoder &decoder, const LinkState &state, const QString &reply)
{
    const auto units = [&decoder] {
        return QStringList{decoder.velocityUnit(), decoder.flowUnit(), decoder.pressureUnit(),
                           decoder.temperatureUnit()};
    };
    const QStringList before = units();
    const bool ok = decoder.smGetUnit(reply);
    FUZZ_REQUIRE(ok == (reply.count(QLatin1Char(';')) >= 3), "unit reply taken apart with three ;", reply);
    if (!ok) {
        FUZZ_REQUIRE(units() == before, "a refused unit reply changes nothing", reply);
        return;
    }
    const QStringList f = reply.split(QLatin1Char(';'));
    const bool celsius = trimBlanks(reply.section(QLatin1Char(';'), 3)).startsWith(QLatin1Char('C'));
    FUZZ_REQUIRE(decoder.velocityUnit() == f.at(0).mid(1) && decoder.flowUnit() == f.at(1)
                     && decoder.pressureUnit() == f.at(2)
                     && decoder.temperatureUnit() == state.degreeTexts[celsius ? 0 : 1],
                 "the units of the reply", reply);
}

bool isGroupType(const QString &type)
{
    return type == QLatin1String("PRESS") || type == QLatin1String("VEL") || type == QLatin1String("AFLOW");
}

void checkRecordLine(fuzz::LinkRig &rig, const QString &line)
{
    const LinkState &state = *rig.state;
    MemoryGrid &grid = rig.grid;
    const bool atm = state.flags.enableAtm != 0;
    const int rowsBefore = grid.rowCount();
    const bool pendingBefore = rig.decoder.rowPending();
    const bool titlesBefore = rig.decoder.titleSet();
    const QString titlesRow = grid.rowText(0);
    const bool mixedBefore = RecordDecoder::hasQuantityColumn(grid);

    rig.decoder.smViewData(line);

    const QStringList f = line.split(QLatin1Char(';'));
    const QString type = trimBlanks(atm ? f.value(4) : line.right(5));
    FUZZ_REQUIRE(grid.suspendDepth() == 0, "redraw resumed", line);
    FUZZ_REQUIRE(rig.decoder.titleSet(), "titles count as set after a line", line);
    const bool mixed = RecordDecoder::hasQuantityColumn(grid);
    FUZZ_REQUIRE(mixedBefore <= mixed, "a quantity column stays for the download", line);
    FUZZ_REQUIRE(grid.columnCount() == (mixed ? RecordDecoder::kQuantityColumn : atm ? 10 : 7),
                 "column count follows Enable ATM and the quantity column", line);
    if (mixed && isGroupType(type))
        FUZZ_REQUIRE(grid.cell(grid.rowCount(), RecordDecoder::kQuantityColumn)
                         == rig.decoder.quantityTitle(type),
                     "a group row names its quantity", line);

    if (isGroupType(type)) {
        // One row with fields 1 to 4 (the first without its first character), no reading yet.
        const int row = rowsBefore + 1;
        FUZZ_REQUIRE(grid.rowCount() == row && rig.decoder.rowPending(), "a group line adds one row", line);
        FUZZ_REQUIRE(grid.cell(row, 1) == trimBlanks(f.value(0)).mid(1), "group number", line);
        for (int c = 5; c <= 7; ++c)
            FUZZ_REQUIRE(grid.cell(row, c).isEmpty(), "a group row has no reading yet", line);
        if (!titlesBefore)
            FUZZ_REQUIRE(grid.cell(0, 6) == rig.decoder.quantityTitle(type),
                         "the first line sets the title", line);
    } else if (line.contains(QLatin1Char(';'))) {
        // Columns 5 to 7 of the pending group row or of one new row.
        const int row = pendingBefore && rowsBefore >= 1 ? rowsBefore : rowsBefore + 1;
        FUZZ_REQUIRE(grid.rowCount() == row && !rig.decoder.rowPending(), "a value line fills one row", line);
        FUZZ_REQUIRE(grid.cell(row, 5) == f.at(0).mid(1) && grid.cell(row, 6) == f.at(1)
                         && grid.cell(row, 7) == line.section(QLatin1Char(';'), 2),
                     "reading number, value and the rest as temperature", line);
        for (int c = 1; c <= 4 && row != rowsBefore; ++c)
            FUZZ_REQUIRE(grid.cell(row, c).isEmpty(), "a further reading has no group fields", line);
    } else {
        FUZZ_REQUIRE(grid.rowCount() == rowsBefore && rig.decoder.rowPending() == pendingBefore,
                     "a line without ; changes nothing", line);
    }
    if (titlesBefore && !(mixed && !mixedBefore))
        FUZZ_REQUIRE(grid.rowText(0) == titlesRow, "titles are set once", line);
}

// Saved as the file's text and read back into a second grid, the grid comes back cell for cell
// (the "No" columns as "000"/"0000"), as long as no cell holds a "," or a line end.
void checkRoundTrip(LinkState &state, const MemoryGrid &grid)
{
    const bool saveAtm = state.flags.saveAtmosphere();
    QList<int> columns = {1, 2, 3, 4, 5, 6, 7};
    if (saveAtm)
        columns << 9 << 10;
    static const QRegularExpression unquotable(QStringLiteral("[,\\r\\n]"));
    for (int row = 0; row <= grid.rowCount(); ++row)
        for (int c = 1; c <= grid.columnCount(); ++c) // the quantity column too: a unit may hold a line end
            if (grid.cell(row, c).contains(unquotable))
                return; // the file format has no quoting: such cells are not kept

    QByteArray file = QByteArray(LinkState::kApplicationTitle) + "\r\nDate,2024-05-06 07:08\r\n\r\n";
    for (int row = 0; row <= grid.rowCount(); ++row)
        file += CsvWriter::smGetSaveData(state, grid, row).toUtf8() + "\r\n";
    QStringList lines;
    FUZZ_REQUIRE(CsvReader::splitFile(file, &lines), "a saved file reads back");
    FUZZ_REQUIRE(lines.size() == grid.rowCount() + 1, "one line per row");
    MemoryGrid back;
    back.setColumnCount(grid.columnCount());
    back.setRowCount(int(lines.size()));
    CsvReader reader(state, back);
    for (int row = 0; row < lines.size(); ++row)
        FUZZ_REQUIRE(reader.fmInputData(lines.at(row), row) == status::kSuccess, "fmInputData result");

    const QString number = saveAtm ? QStringLiteral("0000") : QStringLiteral("000");
    for (int row = 0; row <= grid.rowCount(); ++row) {
        const QString where = grid.rowText(row) + QStringLiteral(" / ") + back.rowText(row);
        for (int c : columns) {
            const QString cell = grid.cell(row, c);
            FUZZ_REQUIRE(back.cell(row, c) == ((c == 1 || c == 5) ? NumberFormat::formatText(cell, number) : cell),
                         "a saved row reads back as it was", where);
        }
        const QString flag = trimBlanks(grid.cell(row, 10));
        if (saveAtm && (row == 0 || QStringList({"1", "2", "3"}).contains(flag)))
            FUZZ_REQUIRE(back.cell(row, 8) == grid.cell(row, 8), "the pressure column reads back", where);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The receive queue makes one character of every byte.
    const QString input = QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
    QStringList pieces = input.split(QLatin1Char('\r')).mid(0, kMaxLines);
    const QString reply = pieces.takeFirst();
    for (const fuzz::LinkOptions &o : fuzz::kLinkOptions) {
        fuzz::LinkRig rig(o);
        checkUnitReply(rig.decoder, *rig.state, reply);
        rig.decoder.reset();
        for (const QString &line : pieces)
            if (!line.isEmpty()) // the tick hands on only lines that are not empty
                checkRecordLine(rig, line);
        checkRoundTrip(*rig.state, rig.grid);
    }
    return 0;
}
