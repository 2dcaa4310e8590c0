#include <windows.h>

#include <cstdlib>

#include "main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return RunFileTimeEditor(instance);
}

#if defined(__MINGW32__)
// The runtime's own handler prints the demangled name of an uncaught exception's type to a
// console this program does not have; its demangler alone would be a sixth of the file.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
#endif
