#include "visual_style.h"

// Placeholder until the style's drawing lands: the controls keep their normal look.
int SetVisualStyle(int /*scheme*/) { return 0; }
