#pragma once

#include <Qt>
#include <optional>

// The asynchronous state of the modifier keys, as the keyboard reports it now.
// Tests can fix the answer.
class KeyState
{
public:
    static Qt::KeyboardModifiers modifiers();
    static void setOverride(std::optional<Qt::KeyboardModifiers> modifiers);
};

// True while both Shift and Ctrl are held.
bool fCtrlShiftDown();
