#pragma once

#include <QString>
#include <QStringList>

class RecordGrid;
struct LinkState;

// Reads a CSV file saved by a download back into the grid.
//
// The first line must be the program title and the second must begin with "Date"; the third is
// skipped. Every further line that is not empty is loaded: the first into the title row, the
// next into row 1, and so on, and the grid ends with one empty row after the last. The whole
// file is read, so no row is dropped. A file with a quantity column (its title row holds
// "Quantity" after the seventh field) shows it as the grid's quantity column; the other fields
// are read as in a file without it.
class CsvReader
{
public:
    CsvReader(LinkState &state, RecordGrid &grid);

    // Loads `line` into row `row` (0 = titles) by the rules of the Save ATM option:
    // off: columns 1 to 7 taken in turn up to the next ","; once no "," is left the rest repeats;
    //      columns 1 and 5 as "000";
    // on:  the fields of the line ("0" added as a ninth when there are eight); columns 1 and 5 as
    //      "0000"; column 8 from the pressure (field 8) and flag (field 9), columns 9 and 10
    //      the pressure as "####" and the flag.
    // Returns -10000.
    qint16 fmInputData(const QString &line, int row);

    // Reads the file at `path`: -10000, or code 11 in gLinkStatus and the result when the file
    // cannot be read or its heading lines are wrong (the grid is then left with at least one
    // row). The grid's rows are replaced; its titles are those of the file.
    qint16 readFile(const QString &path);

    // The data lines of a file's text (after the three heading lines, empty lines left out);
    // no value when the heading lines are wrong.
    static bool splitFile(const QByteArray &content, QStringList *dataLines);

private:
    // The field (from 0) of the quantity column named in a title line, or -1.
    qsizetype quantityField(const QString &titleLine) const;

    LinkState &m_state;
    RecordGrid &m_grid;
};
