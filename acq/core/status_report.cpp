#include "acq/core/status_report.h"

StatusReport StatusReport::forCode(qint16 code)
{
    switch (code) {
    case 1: return {0, true};          // RS232c cannot be opened.
    case 2: return {1, true};          // error when closing
    case 3: case 5: return {2, true};  // communication error
    case 4: return {3, true};          // reception time-out
    case 7: return {4, true};          // baud rate
    case 6: case 8: return {5, true};  // data format error
    case 10: return {10, false};       // range of velocity
    case 11: return {11, false};       // range of sampling time
    case 12: return {12, false};       // range of sampling number
    case 13: return {13, false};       // the value of input is error
    case 20: return {9, true};         // the measurement ended
    case 99: return {14, true};        // the software is running
    default: return {0, false};
    }
}
