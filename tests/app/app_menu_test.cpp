// The popup menu behind "V1" and the web links, on the real window.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app_menu.h"
#include "layout.h"
#include "main_window.h"
#include "main_window_fixture.h"
#include "web_links.h"
#include "win_test.h"

using namespace wintest;

namespace {

// Calls the handler once for each popup menu that opens on this thread, from inside the
// menu's own loop (the owner gets WM_ENTERIDLE when the menu waits for input).
class MenuWatcher {
public:
    explicit MenuWatcher(std::function<void(HWND menuWindow, HMENU menu)> handler) : handler_(std::move(handler)) {
        current_ = this;
        hook_ = SetWindowsHookExA(WH_CALLWNDPROC, Hook, nullptr, GetCurrentThreadId());
    }
    ~MenuWatcher() {
        UnhookWindowsHookEx(hook_);
        current_ = nullptr;
    }
    int menusSeen = 0;
    int closeRequests = 0;  // WM_CLOSE sent to any window of the thread

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        auto* call = reinterpret_cast<CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && current_) {
            if (call->message == WM_CLOSE) ++current_->closeRequests;
            if (call->message == WM_ENTERIDLE && call->wParam == MSGF_MENU) {
                auto menuWindow = reinterpret_cast<HWND>(call->lParam);
                if (menuWindow != current_->lastMenuWindow_) {
                    current_->lastMenuWindow_ = menuWindow;
                    ++current_->menusSeen;
                    auto menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
                    current_->handler_(menuWindow, menu);
                }
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline MenuWatcher* current_ = nullptr;
    std::function<void(HWND, HMENU)> handler_;
    HHOOK hook_ = nullptr;
    HWND lastMenuWindow_ = nullptr;
};

void Click(int x, int y, bool rightButton) {
    SetCursorPos(x, y);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = rightButton ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = rightButton ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof(INPUT));
}

// Chooses item index of the open menu with a mouse button.
void ChooseItem(HWND menuWindow, HMENU menu, int index, bool rightButton) {
    RECT item;
    ASSERT_TRUE(GetMenuItemRect(nullptr, menu, index, &item));
    (void)menuWindow;
    Click((item.left + item.right) / 2, (item.top + item.bottom) / 2, rightButton);
}

class AppMenuTest : public MainWindowFixture {
protected:
    // A mouse press on "V1", handled as the program's loop handles it.
    bool Press(UINT message) {
        PostMessageA(Control(标签1), message, message == WM_LBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON, MAKELPARAM(5, 5));
        return PumpMessages();
    }
};

TEST_F(AppMenuTest, LeftPressShowsTheThreeItemsAtThePointer) {
    ASSERT_TRUE(SetCursorPos(200, 150));
    POINT cursor;
    GetCursorPos(&cursor);
    std::vector<std::string> captions;
    std::vector<UINT> types, states;
    RECT placed{};
    MenuWatcher watcher([&](HWND menuWindow, HMENU menu) {
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            char caption[64] = {};
            MENUITEMINFOA info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING | MIIM_SUBMENU;
            info.dwTypeData = caption;
            info.cch = sizeof caption;
            GetMenuItemInfoA(menu, i, TRUE, &info);
            captions.push_back(caption);
            types.push_back(info.fType);
            states.push_back(info.fState | (info.hSubMenu ? 0x80000000u : 0));
        }
        GetWindowRect(menuWindow, &placed);
        EndMenu();
    });
    EXPECT_FALSE(Press(WM_LBUTTONDOWN));
    EXPECT_EQ(watcher.menusSeen, 1);
    // "退出", "本软件更新", "关于Velkor" in GBK.
    EXPECT_EQ(captions, (std::vector<std::string>{"\xCD\xCB\xB3\xF6", "\xB1\xBE\xC8\xED\xBC\xFE\xB8\xFC\xD0\xC2",
                                                  "\xB9\xD8\xD3\xDA" "Velkor"}));
    EXPECT_EQ(types, (std::vector<UINT>{MFT_STRING, MFT_STRING, MFT_STRING}));
    EXPECT_EQ(states, (std::vector<UINT>{0, 0, 0})) << "enabled, unchecked, no submenu";
    EXPECT_EQ(placed.left, cursor.x + 3);
    EXPECT_EQ(placed.top, cursor.y + 3);
    EXPECT_TRUE(IsWindow(window_));
}

TEST_F(AppMenuTest, RightPressShowsNothing) {
    MenuWatcher watcher([](HWND, HMENU) { EndMenu(); });
    Press(WM_RBUTTONDOWN);
    Press(WM_RBUTTONUP);
    EXPECT_EQ(watcher.menusSeen, 0);
}

TEST_F(AppMenuTest, EscClosesOnlyTheMenu) {
    ShellCallRecorder shell;
    MenuWatcher watcher([](HWND menuWindow, HMENU) { PostKey(menuWindow, VK_ESCAPE); });
    bool quit = Press(WM_LBUTTONDOWN);
    EXPECT_EQ(watcher.menusSeen, 1);
    EXPECT_FALSE(quit);
    EXPECT_TRUE(IsWindow(window_));
    EXPECT_TRUE(shell.calls.empty());
}

TEST_F(AppMenuTest, EachPressBuildsAMenuAndDestroysItAfterwards) {
    std::vector<HMENU> menus;
    MenuWatcher watcher([&](HWND, HMENU menu) {
        menus.push_back(menu);
        EndMenu();
    });
    for (int press = 0; press < 100; ++press) {
        Press(WM_LBUTTONDOWN);
        ASSERT_EQ(menus.size(), static_cast<size_t>(press + 1));
        EXPECT_FALSE(IsMenu(menus.back())) << "press " << press;
    }
}

// Either button chooses; the action runs from the main loop after the menu has gone.
TEST_F(AppMenuTest, ItemsRunTheirActionsWithEitherButton) {
    struct Case {
        int item;
        bool rightButton;
        const char* address;
    } cases[] = {
        {1, false, kUpdatePageAddress},
        {2, true, kAboutPageAddress},
        {1, true, kUpdatePageAddress},
        {2, false, kAboutPageAddress},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        ShellCallRecorder shell;
        MenuWatcher watcher([&](HWND menuWindow, HMENU menu) {
            ChooseItem(menuWindow, menu, c.item, c.rightButton);
            EXPECT_TRUE(shell.calls.empty()) << "the action waits for the menu to close";
        });
        Press(WM_LBUTTONDOWN);
        PumpMessages();
        ASSERT_EQ(shell.calls.size(), 1u);
        EXPECT_EQ(shell.calls[0].file, c.address);
        EXPECT_EQ(shell.calls[0].verb, "open");
        EXPECT_TRUE(shell.calls[0].parametersNull);
        EXPECT_TRUE(shell.calls[0].directoryNull);
        EXPECT_EQ(shell.calls[0].show, SW_SHOWNORMAL);
        EXPECT_TRUE(IsWindow(window_));
    }
}

TEST_F(AppMenuTest, ExitDestroysTheWindowWithoutAskingToClose) {
    MenuWatcher watcher([](HWND menuWindow, HMENU menu) { ChooseItem(menuWindow, menu, 0, false); });
    bool quit = Press(WM_LBUTTONDOWN);
    for (int round = 0; round < 100 && IsWindow(window_); ++round) quit |= PumpMessages();
    quit |= PumpMessages();
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_TRUE(quit);
    EXPECT_EQ(watcher.closeRequests, 0) << "no WM_CLOSE";
}

TEST(WebLinks, AddressesAreTheForumPages) {
    EXPECT_STREQ(kUpdatePageAddress, (std::string("http://") + ForumHost + "/thread-12393-1-1.html").c_str());
    EXPECT_STREQ(kAboutPageAddress, (std::string("http://") + ForumHost + "/thread-9282-1-1.html").c_str());
}

TEST(WebLinks, TheOwnerIsTheWindowTitledMicrosoftInternetExplorer) {
    ShellCallRecorder shell;
    OpenWebPage(kAboutPageAddress);
    HWND explorer = CreateWindowExA(0, "STATIC", "Microsoft Internet Explorer", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                    nullptr, nullptr, nullptr);
    HWND almost = CreateWindowExA(0, "STATIC", "Microsoft Internet Explorer 6", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                  nullptr, nullptr, nullptr);
    OpenWebPage(kAboutPageAddress);
    DestroyWindow(explorer);
    OpenWebPage(kAboutPageAddress);
    DestroyWindow(almost);
    ASSERT_EQ(shell.calls.size(), 3u);
    EXPECT_EQ(shell.calls[0].owner, nullptr);
    EXPECT_EQ(shell.calls[1].owner, explorer);
    EXPECT_EQ(shell.calls[2].owner, nullptr) << "only the exact title counts";
}

// The real shell call reaches the browser (a stand-in that records the address).
TEST(WebLinks, PagesReachTheBrowserAndTheWindowStaysUsable) {
    HWND window = MainWindow::Create(GetModuleHandleA(nullptr));
    ASSERT_NE(window, nullptr);
    MainWindow::Show(window);
    size_t before = BrowserAddresses().size();
    // One at a time: each goes to a browser process of its own, which may record in any order.
    RunAppMenuCommand(window, kUpdatePageCommand);
    auto addresses = WaitForBrowserAddresses(before + 1);
    ASSERT_EQ(addresses.size(), before + 1);
    EXPECT_EQ(addresses[before], kUpdatePageAddress);
    RunAppMenuCommand(window, kAboutPageCommand);
    addresses = WaitForBrowserAddresses(before + 2);
    ASSERT_EQ(addresses.size(), before + 2);
    EXPECT_EQ(addresses[before + 1], kAboutPageAddress);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(IsWindowEnabled(window));
    PostKey(GetDlgItem(window, ControlId(文件路径)), VK_TAB);
    PumpMessages();
    EXPECT_EQ(GetFocus(), GetDlgItem(window, ControlId(浏览))) << "still takes input";
    DestroyWindow(window);
    PumpMessages();
}

}  // namespace
