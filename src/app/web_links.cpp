#include "web_links.h"

#include "system_library.h"

namespace {

// shell32 is loaded when a page is first opened, not at start: most runs open none, and
// loading it would add to every start-up.
HINSTANCE WINAPI ShellExecuteOnFirstUse(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                                        INT show) {
    static const auto shellExecute = reinterpret_cast<web_links_detail::ShellExecuteFunction>(
        reinterpret_cast<void*>(SystemLibraryFunction("shell32.dll", "ShellExecuteA")));
    return shellExecute ? shellExecute(owner, verb, file, parameters, directory, show) : nullptr;
}

}  // namespace

namespace web_links_detail {
ShellExecuteFunction ShellExecuteCall = ShellExecuteOnFirstUse;
}

void OpenWebPage(const char* address) {
    HWND owner = FindWindowExA(nullptr, nullptr, nullptr, "Microsoft Internet Explorer");
    web_links_detail::ShellExecuteCall(owner, "open", address, nullptr, nullptr, SW_SHOWNORMAL);
}

void OpenUpdatePage() { OpenWebPage(kUpdatePageAddress); }
void OpenAboutPage() { OpenWebPage(kAboutPageAddress); }
