#include "common/ui/key_state.h"

#include <QGuiApplication>

namespace {
std::optional<Qt::KeyboardModifiers> g_override;
}

Qt::KeyboardModifiers KeyState::modifiers()
{
    if (g_override)
        return *g_override;
    return QGuiApplication::queryKeyboardModifiers();
}

void KeyState::setOverride(std::optional<Qt::KeyboardModifiers> modifiers)
{
    g_override = modifiers;
}

bool fCtrlShiftDown()
{
    const Qt::KeyboardModifiers m = KeyState::modifiers();
    return m.testFlag(Qt::ShiftModifier) && m.testFlag(Qt::ControlModifier);
}
