#pragma once

#include <QtGlobal>

// What a status code of a measurement run means to the user: the message shown (an index into
// AppState::messages) and whether the run stops.
struct StatusReport
{
    int messageIndex;
    bool stopsRun;

    static StatusReport forCode(qint16 code);
};

// Status codes of a run with a meaning of their own.
namespace runstatus {
constexpr qint16 kProbeFailed = 5;    // the instrument did not answer the probe
constexpr qint16 kInputError = 13;    // a value entered in a dialog is wrong
constexpr qint16 kFileError = 14;     // the data file or a copy could not be written
constexpr qint16 kRunComplete = 20;   // every requested sample has arrived
constexpr int kDataFileMessage = 15;  // messages[15]: the data file failed, %1 = its path
} // namespace runstatus
