#pragma once

#include <QString>

// The time stamp of sample `index` (1 for the first sample of a run) that started at `start`
// (a day number) with `interval` seconds between samples: "yyyy-MM-dd HH:mm:ss" of
// start + interval x (index - 1). When the interval is not a whole number of seconds, the offset
// is first written with one decimal; its whole seconds give the date and time, followed by ":",
// the tenths digit and "00" (a 0.5 s step at index 12 gives start + 5 s then ":500").
QString fSampleTimeStamp(float interval, qint32 index, double start);
