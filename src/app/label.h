// The window class of the main window's labels: one line of text painted by the label
// itself, transparently, in black, centred vertically; a left-button press is reported to
// the parent as kLabelPressedMessage.
#pragma once

#include <windows.h>

inline constexpr char kLabelClassName[] = "FileTimeLabel";

// Registers the class once per process. Returns: false when it cannot be registered.
bool RegisterLabelClass(HINSTANCE instance);

// Creates a hidden label; textFormat is its DrawText alignment (DT_LEFT, DT_CENTER).
HWND CreateLabel(HWND parent, int id, const char* text, int x, int y, int width, int height,
                 UINT textFormat, HINSTANCE instance);

// Returns: the label's full DrawText format.
UINT GetLabelTextFormat(HWND label);
