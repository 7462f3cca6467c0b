#pragma once

#include <QtGlobal>

struct LinkState;

// ventlink's status codes. A code n from 1 to 100 is shown by the message dialog with error text
// n (string 900 + n); -10000, -20000 and the other codes show nothing.
namespace linkstatus {

constexpr qint16 kOpenError = 1;         // "Rs232c open error !"
constexpr qint16 kCloseError = 2;        // "Rs232c close error !"
constexpr qint16 kCommunication = 3;     // "Rs232c  communicate error !"
constexpr qint16 kDrive = 5;             // "Driver is Error!"
constexpr qint16 kOverwriteQuestion = 6; // the text of the overwrite question, never a status
constexpr qint16 kSaveFile = 8;          // "Save File Error!"
constexpr qint16 kFileName = 9;          // "Please Input File Name!"
constexpr qint16 kNoData = 10;           // "No Data!"
constexpr qint16 kReadFile = 11;         // "Read File Error!"

// True for the codes that have a message (1 to 100).
inline bool hasMessage(qint16 code)
{
    return code >= 1 && code <= 100;
}

// Shows the message of the current gLinkStatus through the state's presenter, when the code has
// one and its text is loaded, with statusDetail below it; statusDetail is cleared.
void sShowLinkStatus(LinkState &state);

} // namespace linkstatus
