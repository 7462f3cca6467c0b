#pragma once

#include <optional>

class QWidget;

// Hooks for the whole-program tests (tests/faults), the package test (scripts/package-test) and
// the window benchmark (bench/acq_window_bench.cpp), read from the environment. Nothing a user
// does sets them; without them the programs behave as they always do.
//
//   VENT_TEST_DISMISS_MESSAGE_MS=n   a message that ends the program before its window opens
//                                    ("... is Running !") closes itself after n ms
//   VENT_TEST_CLOSE_AFTER_MS=n       the main window is closed n ms after it is shown, as by its
//                                    close button (settings written, the program ends)
//   VENTACQ_TEST_AUTORUN=simulation  ventacq starts a simulated run with the stored parameters as
//                                    soon as its window is shown, without the parameter dialog
//   VENTACQ_TEST_AUTORUN=live        the same as a live run on the first instrument found (the
//                                    CPU benchmark); a message on standard error when none is
//                                    attached
namespace TestHooks {

// The whole number of milliseconds in the variable, when it is set to one (0 or more).
std::optional<int> milliseconds(const char *variable);

// VENT_TEST_CLOSE_AFTER_MS: closes `window` that long after this call.
void closeWindowWhenAsked(QWidget *window);

} // namespace TestHooks
