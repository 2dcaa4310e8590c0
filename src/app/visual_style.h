// A flat, light look for the standard controls of the calling thread, present and future.
#pragma once

// Switches the style on with scheme 1 (blue), 2 (olive green) or 3 (silver) and returns 1;
// any other number switches it off and returns UnhookWindowsHookEx's result (0 when it was
// off).
int SetVisualStyle(int scheme);
