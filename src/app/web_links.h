// The maker's web forum pages and the one way the program opens a web address.
#pragma once

#include <windows.h>

#define FILETIME_FORUM_HOST "bbs.brisane.net"
inline constexpr char ForumHost[] = FILETIME_FORUM_HOST;
inline constexpr char kUpdatePageAddress[] = "http://" FILETIME_FORUM_HOST "/thread-12393-1-1.html";
inline constexpr char kAboutPageAddress[] = "http://" FILETIME_FORUM_HOST "/thread-9282-1-1.html";

// Asks the shell to open the address in the default browser and returns at once; the result
// is not looked at. The owner of whatever the shell shows is a top-level window titled
// "Microsoft Internet Explorer", if there is one.
void OpenWebPage(const char* address);
void OpenUpdatePage();
void OpenAboutPage();

namespace web_links_detail {
// Tests put a recorder in front of the shell call to see the owner window it gets.
using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
extern ShellExecuteFunction ShellExecuteCall;
}  // namespace web_links_detail
