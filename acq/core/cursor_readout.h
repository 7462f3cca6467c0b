#pragma once

#include <QString>

struct AppState;

// The readout of the cursor: the number, time, velocity and flow rate of the sample the cursor
// stands on, as the tables show them, with the run's units (none after a text that is not a
// number).
namespace CursorReadout {

// Empty during a run and without data (the cursor then shows nothing), and for a row that is no
// sample (0, or the spare row: an empty time).
QString text(const AppState &state, int sample, const QString &time, const QString &velocity,
             const QString &flow);

} // namespace CursorReadout
