#pragma once

#include <QString>
#include <vector>

// The texts of one poll's samples: rows 0 to n (row 0 stays empty, row i is the i-th sample of the
// batch) and columns 1 to 11:
//   1 velocity, 2-4 "0.0", 5 flow rate, 6-8 "0.0", 9 atmosphere display text,
//   10 pressure in hPa with one decimal, 11 correction flag.
// The tables, the charts and the data file read only this table.
class SampleTable
{
public:
    static constexpr int kColumns = 11;
    enum Column {
        kVelocity = 1,
        kFlow = 5,
        kAtmosphereText = 9,
        kPressure = 10,
        kFlag = 11,
    };

    // Re-creates the table with rows 0..n, every cell empty.
    void reset(int n);
    int lastRow() const { return m_rows - 1; } // n
    QString cell(int row, int column) const;
    void set(int row, int column, const QString &text);

private:
    int m_rows = 0;
    std::vector<QString> m_cells; // row-major, kColumns per row
};
