// The popup menu behind the label "V1": built anew for every left press from the items of
// the hidden menu "菜单", shown at the pointer, destroyed when it closes.
#pragma once

#include <windows.h>

struct MenuItem {
    UINT command;
    const char* caption;
    bool hidden;
};

// The hidden menu "菜单" of the main window.
inline constexpr UINT kExitCommand = 1001;
inline constexpr UINT kUpdatePageCommand = 1002;
inline constexpr UINT kAboutPageCommand = 1003;
inline constexpr MenuItem kAppMenuItems[] = {
    {kExitCommand, "退出", false},
    {kUpdatePageCommand, "本软件更新", false},
    {kAboutPageCommand, "关于Velkor", false},
};

// The left-press handler of "V1". The place and modifier keys are not used. The chosen
// item's command reaches owner as WM_COMMAND after this returns.
void ShowAppMenu(HWND owner, int x, int y, int modifiers);

// Asks the main window to destroy itself; it does so when the message arrives.
void ExitProgram(HWND mainWindow);

// Runs the action of a menu command. Returns: false for a command that is not the menu's.
bool RunAppMenuCommand(HWND mainWindow, UINT command);
