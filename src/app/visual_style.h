// A flat, light look for the standard controls of the calling thread, present and future.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>

// Switches the style on with scheme 1 (blue), 2 (olive green) or 3 (silver) and returns 1;
// any other number switches it off and returns UnhookWindowsHookEx's result (0 when it was
// off).
int SetVisualStyle(int scheme);

// What a styled control is drawn as.
enum class StyledKind { PushButton, CheckBox, RadioButton, GroupBox, EditBox, ComboBox, DropDownList, SpinButtons };

// For tests: the kind the window is drawn as, or nothing when it keeps its own look.
std::optional<StyledKind> StyledKindOf(HWND window);
// For tests: the number of controls drawn in the style.
size_t StyledControlCount();
