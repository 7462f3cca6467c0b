#pragma once

#include <QString>

// A message that ends the program before its window opens ("... is Running !", a missing string
// table): an exclamation message box captioned with the program title. The text also goes to
// standard error, so a copy started from a terminal or a script says why it ended. (The
// VENT_TEST_DISMISS_MESSAGE_MS test hook closes the box by itself; see test_hooks.h.)
void showStartupMessage(const QString &title, const QString &text);
