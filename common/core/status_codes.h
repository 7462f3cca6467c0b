#pragma once

#include <QtGlobal>

// Status codes shared by both programs. Procedures report a 16-bit code instead of throwing:
// -10000 success, -20000 a whole step failed, -30000 cancelled; positive numbers select a message.
namespace status {

constexpr qint16 kSuccess = -10000;
constexpr qint16 kFailure = -20000;
constexpr qint16 kCancelled = -30000;

// Answers of the ventacq message dialog travel in the same field.
constexpr qint16 kYes = kSuccess;
constexpr qint16 kNo = kFailure;
constexpr qint16 kCancel = kCancelled;

// Message-box answers.
constexpr qint16 kAnswerYes = 6;
constexpr qint16 kAnswerNo = 7;
constexpr qint16 kNothingDone = 2; // e.g. the save dialog was cancelled

// Result of the parameter and graph parameter dialogs.
constexpr qint16 kDialogAccepted = 1001;
constexpr qint16 kDialogNotAccepted = 1000;

} // namespace status
