#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

struct AppState;
class DataFileSync;
struct IoFailure;
class SampleTable;

// The data file of a measurement run ("VL4402Data.VXD" in the per-user data folder): a header
// describing the run, then one line per sample, appended batch by batch as the samples arrive.
// UTF-8 without BOM, CR LF line ends, "." as decimal separator whatever the locale. The texts
// come from the cached header and unit texts of AppState, so they follow the interface language.
//
// Every batch is written with one write and flushed before the call returns, so a batch that was
// processed is in the file whole even if the program is killed right after; with a DataFileSync
// it also reaches the disk within about a second (a power cut).
class DataFile
{
public:
    // The nine header lines, each ended by CR LF.
    static QByteArray header(const AppState &state);
    // The duct line (header line 7) without its line end.
    static QString ductLine(const AppState &state);
    // One line per row 1..count of `table`; the first row is sample `firstIndex` of the run.
    static QByteArray sampleLines(const AppState &state, const SampleTable &table, qint32 count,
                                  qint32 firstIndex, double start);
    // Whether the pressure and flag columns are written (atmosphere enabled and saved).
    static bool atmosphereSaved(const AppState &state);
};

// Appends the batch of `count` rows of `table` to the file at `path`; on the run's first batch
// (state.receivedCount < 1) the file is created anew with the header. Run indexes continue from
// state.receivedCount. Sets state.statusCode to -10000, or to 14 when the file could not be
// opened, written, flushed or closed; returns whether the batch is in the file. Later batches
// never create the file: a file that vanished during the run is a failure, not a headless file.
// With `sync`, the batch is synced as it paces (a failed sync is a failure too; the lines stay).
// On failure `failure` (when given) gets the path and the system's reason.
bool fSaveDataVXDFile(AppState &state, const SampleTable &table, const QString &path,
                      qint32 count, double start, DataFileSync *sync = nullptr,
                      IoFailure *failure = nullptr);
