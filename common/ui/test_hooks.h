#pragma once

#include <QByteArray>
#include <optional>

class QWidget;

// Hooks for the whole-program tests (tests/faults) and the window benchmarks (bench/), read from
// the environment. They exist only in builds configured with VENT_TEST_HOOKS=ON (the default for
// development trees); the package is built without them, so the installed programs neither read
// nor contain these variables.
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
//   VENTACQ_BENCH_STARTUP            ventacq reports the time to its shown window and quits
namespace TestHooks {

enum class Hook { DismissMessageMs, CloseAfterMs, AcqAutorun, AcqBenchStartup };

// Whether this build reads the hooks at all.
bool compiledIn();

// The hook's text: empty when unset, and always empty in a build without hooks.
QByteArray value(Hook hook);

// The whole number of milliseconds in the hook, when it is set to one (0 or more).
std::optional<int> milliseconds(Hook hook);

// VENT_TEST_CLOSE_AFTER_MS: closes `window` that long after this call.
void closeWindowWhenAsked(QWidget *window);

} // namespace TestHooks
