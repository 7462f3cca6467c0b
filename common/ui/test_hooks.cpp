#include "common/ui/test_hooks.h"

#include <QTimer>
#include <QWidget>

namespace TestHooks {

#ifdef VENT_TEST_HOOKS
bool compiledIn()
{
    return true;
}

QByteArray value(Hook hook)
{
    switch (hook) {
    case Hook::DismissMessageMs: return qgetenv("VENT_TEST_DISMISS_MESSAGE_MS");
    case Hook::CloseAfterMs: return qgetenv("VENT_TEST_CLOSE_AFTER_MS");
    case Hook::AcqAutorun: return qgetenv("VENTACQ_TEST_AUTORUN");
    case Hook::AcqBenchStartup: return qEnvironmentVariableIsSet("VENTACQ_BENCH_STARTUP") ? "1" : "";
    }
    return {};
}
#else
// The package: no variable names in the program, nothing read.
bool compiledIn()
{
    return false;
}

QByteArray value(Hook)
{
    return {};
}
#endif

std::optional<int> milliseconds(Hook hook)
{
    bool ok = false;
    const int ms = value(hook).toInt(&ok);
    if (!ok || ms < 0)
        return std::nullopt;
    return ms;
}

void closeWindowWhenAsked(QWidget *window)
{
    if (const auto ms = milliseconds(Hook::CloseAfterMs))
        QTimer::singleShot(*ms, window, [window] { window->close(); });
}

} // namespace TestHooks
