#pragma once

#include <QString>
#include <QtGlobal>

struct AppState;
class MeasurementDriver;
class SampleTable;

// Fills row `row` of `table` from one sample text of the driver ("velocity,flow,pressure in
// tenths of a hPa,flag"): velocity and flow as received (not trimmed), the four "0.0" columns,
// the pressure with a "." put before its last digit, the trimmed flag, and the atmosphere text
// (the pressure for flags 1 and 2, "Err" for 3, "N" in English or "-" in the localized
// interfaces otherwise) when the atmosphere is enabled and displayed. Missing fields become
// "0.0" or "0"; extra fields are ignored.
void decodeSampleText(const AppState &state, const QString &text, SampleTable &table, int row);

// Reads `count` samples of the driver into rows 1..count of `table`, checking the driver's
// errstat before each one (into state.statusCode). Returns -10000 when every row was filled,
// else the status that stopped it (the rows from there on stay as they were).
qint16 fmGetData(AppState &state, MeasurementDriver &driver, SampleTable &table, qint32 count);
