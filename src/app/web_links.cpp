#include "web_links.h"

#include <shellapi.h>

namespace web_links_detail {
ShellExecuteFunction ShellExecuteCall = ShellExecuteA;
}

void OpenWebPage(const char* address) {
    HWND owner = FindWindowExA(nullptr, nullptr, nullptr, "Microsoft Internet Explorer");
    web_links_detail::ShellExecuteCall(owner, "open", address, nullptr, nullptr, SW_SHOWNORMAL);
}

void OpenUpdatePage() { OpenWebPage(kUpdatePageAddress); }
void OpenAboutPage() { OpenWebPage(kAboutPageAddress); }
