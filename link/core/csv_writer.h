#pragma once

#include <QDateTime>
#include <QString>

class RecordGrid;
struct LinkState;

// Writes the grid of a download as a CSV file:
//   line 1  the program title
//   line 2  "Date," and the time of saving, "yyyy-MM-dd HH:mm"
//   line 3  empty
//   line 4  the title row, then data rows 1 to the last
// Each row line holds columns 1 to 7, and columns 9 and 10 when Enable ATM and Save ATM are both
// on, every cell followed by ","; a memory of several quantities adds its quantity column last.
// UTF-8, CR LF line ends.
class CsvWriter
{
public:
    // One row line (row 0 = titles).
    static QString smGetSaveData(const LinkState &state, const RecordGrid &grid, int row);

    // Writes the whole file to `path` through a temporary file that replaces the old file only
    // when everything was written, so a failed save leaves an earlier file intact; the file is
    // synced to the disk before the rename and its folder after (a power cut). Returns
    // -10000, or sets and returns code 8 (the caller shows it once). `error` receives the
    // system's reason on failure.
    static qint16 smSaveData(LinkState &state, const RecordGrid &grid, const QString &path,
                             const QDateTime &now, QString *error = nullptr);

    // The date line of a file saved at `now`.
    static QString dateLine(const QDateTime &now);
};
