#include "app_menu.h"

#include "main_window.h"
#include "unique_win32.h"
#include "web_links.h"

void ShowAppMenu(HWND owner, int /*x*/, int /*y*/, int /*modifiers*/) {
    UniqueMenu popup(CreatePopupMenu());
    if (!popup) return;
    for (const MenuItem& item : kAppMenuItems) {
        if (item.hidden) continue;
        if (!AppendMenuA(popup.get(), MF_STRING | MF_ENABLED | MF_UNCHECKED, item.command, item.caption))
            return;
    }
    POINT at;
    if (!GetCursorPos(&at)) return;
    // Without TPM_RETURNCMD the choice arrives as a posted WM_COMMAND, so the item's action
    // runs from the main loop once the menu is gone.
    TrackPopupMenu(popup.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x + 3, at.y + 3,
                   0, owner, nullptr);
}

void ExitProgram(HWND mainWindow) {
    PostMessageA(mainWindow, kExitProgramMessage, 0, 0);
}

bool RunAppMenuCommand(HWND mainWindow, UINT command) {
    switch (command) {
    case kExitCommand:
        ExitProgram(mainWindow);
        return true;
    case kUpdatePageCommand:
        OpenUpdatePage();
        return true;
    case kAboutPageCommand:
        OpenAboutPage();
        return true;
    }
    return false;
}
