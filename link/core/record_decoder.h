#pragma once

#include <QString>

class RecordGrid;
struct LinkState;

// Turns the instrument's unit reply and stored record lines into rows of the data grid and sets
// the grid's column titles.
//
// Columns: 1 "No", 2 "X", 3 "Y", 4 "inch/mm" (from the group line), 5 "No", 6 the quantity,
// 7 the temperature (from the value lines), and with Enable ATM on: 8 the atmospheric pressure
// in whole hPa or a marker (shown with Display ATM), 9 the pressure (hidden), 10 the flag
// (hidden). Each group takes one row with its first reading; further readings take rows of their
// own with columns 1 to 4 empty.
//
// A memory that holds groups of more than one quantity (velocity, flow rate, pressure) gets a
// quantity column: column 11 names each row's quantity and unit ("AFLOW(m3/h)"), column 6 is
// titled "Value", and columns 8 to 10 stay hidden when Enable ATM is off. It appears when the
// first group of a second quantity arrives, filled in for the rows before. A memory of one
// quantity never has it, so its grid and file are as they always were.
//
// Record lines are read defensively: a missing field is empty text, and no line is ever read
// past its end.
class RecordDecoder
{
public:
    // The quantity column of a memory of several quantities.
    static constexpr int kQuantityColumn = 11;

    RecordDecoder(const LinkState &state, RecordGrid &grid);

    // Takes the unit reply apart: velocity unit (from the second character to the first ";"),
    // flow unit, pressure unit, and the temperature unit from the first letter of the rest
    // ("C" gives "deg.C", anything else "deg.F"). False, with nothing changed, when the reply
    // holds fewer than three ";".
    bool smGetUnit(const QString &unitReply);

    // Dispatches one record line: group lines (type "PRESS", "VEL", "AFLOW") to smWriteData,
    // anything else to smWriteData2. The first line of a download sets the titles.
    void smViewData(const QString &line);
    // Writes the title row and the column layout for a quantity title.
    void smChangeTitle(const QString &title);
    // A group line: a new row with columns 1 to 4 (and 8 to 10).
    void smWriteData(const QString &line);
    // A value line: columns 5 to 7 of the pending group row, or of a new row.
    void smWriteData2(const QString &line);

    // Brings the column layout in line with the options (after they were changed): 7 or 10
    // columns, the hidden ones hidden; existing titles stay.
    void applyColumnLayout();

    // The grid part of smInit: titles not yet set, no row pending, no data rows (the title row
    // stays).
    void reset();

    // Readings (value lines) written into the grid since the last reset.
    int readings() const { return m_readings; }

    // Whether the grid carries the quantity column.
    static bool hasQuantityColumn(const RecordGrid &grid);
    // Adds the quantity column (titled, with the atmospheric columns hidden or shown by the
    // options) or takes it away again.
    static void setQuantityColumn(const LinkState &state, RecordGrid &grid, bool on);

    // Title of column 6 for a type field ("PRESS", "VEL", "AFLOW"); empty for another type.
    QString quantityTitle(const QString &type) const;

    const QString &velocityUnit() const { return m_velocityUnit; }
    const QString &flowUnit() const { return m_flowUnit; }
    const QString &pressureUnit() const { return m_pressureUnit; }
    const QString &temperatureUnit() const { return m_temperatureUnit; }
    void setTemperatureUnit(const QString &text) { m_temperatureUnit = text; }
    bool titleSet() const { return m_titleSet; }
    bool rowPending() const { return m_rowPending; }

    // Blanks (spaces only) removed at both ends; other white space is kept.
    static QString trimSpaces(const QString &text);
    static QStringView trimSpaces(QStringView text);

private:
    QString fixed(int id) const;
    // The group being read has this quantity title; a second quantity adds the quantity column.
    void noteQuantity(const QString &title);
    static void hideColumnsForOptions(const LinkState &state, RecordGrid &grid);

    const LinkState &m_state;
    RecordGrid &m_grid;
    QString m_velocityUnit;
    QString m_flowUnit;
    QString m_pressureUnit;
    QString m_temperatureUnit;
    bool m_titleSet = false;
    bool m_rowPending = false;
    QString m_quantity;       // quantity title of the group being read
    QString m_firstQuantity;  // quantity title of the first group of the download
    int m_firstGroupRow = 0;  // row of the first group
    bool m_mixed = false;
    int m_readings = 0;
};
