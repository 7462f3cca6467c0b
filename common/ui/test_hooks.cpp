#include "common/ui/test_hooks.h"

#include <QTimer>
#include <QWidget>

namespace TestHooks {

std::optional<int> milliseconds(const char *variable)
{
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue(variable, &ok);
    if (!ok || ms < 0)
        return std::nullopt;
    return ms;
}

void closeWindowWhenAsked(QWidget *window)
{
    if (const auto ms = milliseconds("VENT_TEST_CLOSE_AFTER_MS"))
        QTimer::singleShot(*ms, window, [window] { window->close(); });
}

} // namespace TestHooks
