// The main window as built from the layout table: geometry, controls, keys, start and end.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "label.h"
#include "layout.h"
#include "main_window.h"
#include "main_window_fixture.h"
#include "win_test.h"

using namespace wintest;

namespace {

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

RECT ClientRectOf(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

using MainWindowTest = MainWindowFixture;

TEST_F(MainWindowTest, StandsCentredWithFixedOuterSizeAndNoSystemMenu) {
    RECT outer;
    GetWindowRect(window_, &outer);
    EXPECT_EQ(outer.right - outer.left, 380);
    EXPECT_EQ(outer.bottom - outer.top, 250);
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 380) / 2);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 250) / 2);

    LONG style = GetWindowLongA(window_, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_EQ(style & WS_CLIPCHILDREN, WS_CLIPCHILDREN);
    EXPECT_EQ(style & (WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CHILD | WS_POPUP), 0);
    LONG exStyle = GetWindowLongA(window_, GWL_EXSTYLE);
    EXPECT_EQ(exStyle & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_APPWINDOW | WS_EX_CLIENTEDGE), 0);
    EXPECT_EQ(GetWindow(window_, GW_OWNER), nullptr);
    EXPECT_EQ(GetMenu(window_), nullptr);
    for (WPARAM kind : {ICON_BIG, ICON_SMALL})
        EXPECT_NE(SendMessageA(window_, WM_GETICON, kind, 0), 0) << "the taskbar button shows the icon";
    EXPECT_EQ(GetClassLongPtrA(window_, GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(window_, WM_GETFONT, 0, 0)), GetStockObject(DEFAULT_GUI_FONT));
    // "Velkor文件时间修改器（Brisane）" in GBK.
    EXPECT_EQ(WindowText(window_), "\x56\x65\x6C\x6B\x6F\x72\xCE\xC4\xBC\xFE\xCA\xB1\xBC\xE4\xD0\xDE\xB8\xC4\xC6\xF7"
                               "\xA3\xA8\x42\x72\x69\x73\x61\x6E\x65\xA3\xA9");
}

TEST_F(MainWindowTest, EachControlMatchesItsLayoutRow) {
    for (int index = 0; index < ControlCount; ++index) {
        const ControlSpec& row = kMainWindowLayout[index];
        SCOPED_TRACE(row.name);
        HWND control = Control(static_cast<ControlIndex>(index));
        if (row.kind == ControlKind::OpenFileDialog) {
            EXPECT_EQ(control, nullptr) << "the dialog component has no window of its own";
            continue;
        }
        ASSERT_NE(control, nullptr);
        const char* expectedClass = row.kind == ControlKind::Button ? "Button"
                                    : row.kind == ControlKind::Edit ? "Edit"
                                                                     : kLabelClassName;
        EXPECT_EQ(lstrcmpiA(ClassOf(control).c_str(), expectedClass), 0) << ClassOf(control);

        RECT rect = ClientRectOf(control);
        EXPECT_EQ(rect.left, row.x);
        EXPECT_EQ(rect.top, row.y);
        EXPECT_EQ(rect.right - rect.left, row.width);
        EXPECT_EQ(rect.bottom - rect.top, row.height);

        LONG style = GetWindowLongA(control, GWL_STYLE);
        EXPECT_TRUE(style & WS_VISIBLE);
        EXPECT_FALSE(style & WS_DISABLED);
        EXPECT_EQ((style & WS_TABSTOP) != 0, row.tabStop);
        EXPECT_EQ(style & row.style, static_cast<LONG>(row.style));
        EXPECT_EQ(WindowText(control), row.text);

        LOGFONTA font{};
        auto handle = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
        ASSERT_NE(handle, nullptr);
        ASSERT_EQ(GetObjectA(handle, sizeof font, &font), static_cast<int>(sizeof font));
        EXPECT_STREQ(font.lfFaceName, "\xCB\xCE\xCC\xE5");  // 宋体
        EXPECT_EQ(font.lfHeight, row.font == ControlFont::Bold20 ? -20 : -12);
        EXPECT_EQ(font.lfWeight, row.font == ControlFont::Bold20 ? FW_BOLD : FW_NORMAL);

        LONG exStyle = GetWindowLongA(control, GWL_EXSTYLE);
        switch (row.kind) {
        case ControlKind::Edit:
            EXPECT_TRUE(exStyle & WS_EX_STATICEDGE);
            EXPECT_FALSE(style & (ES_READONLY | ES_PASSWORD | ES_NOHIDESEL | ES_UPPERCASE | ES_LOWERCASE |
                                  ES_MULTILINE | ES_NUMBER));
            EXPECT_EQ(style & ES_CENTER, index == 文件路径 ? 0 : ES_CENTER);
            EXPECT_GT(SendMessageA(control, EM_GETLIMITTEXT, 0, 0), 0x7FFF) << "no length limit of its own";
            break;
        case ControlKind::Button:
            EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON) << "no button is the default button";
            EXPECT_EQ(style & (BS_CENTER | BS_VCENTER | BS_MULTILINE), BS_CENTER | BS_VCENTER | BS_MULTILINE);
            EXPECT_FALSE(style & (BS_BITMAP | BS_ICON));
            break;
        case ControlKind::Label:
            EXPECT_EQ(exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE), 0);
            EXPECT_FALSE(style & WS_BORDER);
            EXPECT_EQ(GetLabelTextFormat(control),
                      row.textFormat | DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
            break;
        case ControlKind::OpenFileDialog:
            break;
        }
    }
    EXPECT_EQ(GetLabelTextFormat(Control(标签1)) & DT_CENTER, 0u) << "V1 is left-aligned";
}

TEST_F(MainWindowTest, ZOrderIsTheCreationOrder) {
    std::vector<HWND> expected;
    for (int index = 0; index < ControlCount; ++index) {
        if (HWND control = Control(static_cast<ControlIndex>(index))) expected.push_back(control);
    }
    std::vector<HWND> actual;
    for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        actual.push_back(child);
    EXPECT_EQ(actual, expected);
}

TEST_F(MainWindowTest, StartsWithFocusInThePathBoxAndNoFileHandle) {
    EXPECT_EQ(GetFocus(), Control(文件路径));
    EXPECT_EQ(State().editor().OpenFileHandle, nullptr);
}

TEST_F(MainWindowTest, TabAndShiftTabWalkTheTabOrderAndWrap) {
    const std::vector<ControlIndex> forward = {浏览, 创建时间, 修改时间, 访问时间, 取出时间, 设置时间, 系统时间, 文件路径};
    for (ControlIndex next : forward) {
        PostKey(GetFocus(), VK_TAB);
        PumpMessages();
        EXPECT_EQ(GetFocus(), Control(next)) << kMainWindowLayout[next].name;
    }
    SetKeyDown(VK_SHIFT, true);
    for (auto it = forward.rbegin() + 1; it != forward.rend(); ++it) {
        PostKey(GetFocus(), VK_TAB);
        PumpMessages();
        EXPECT_EQ(GetFocus(), Control(*it)) << kMainWindowLayout[*it].name;
    }
    PostKey(GetFocus(), VK_TAB);  // from 浏览 back past the start to the end
    PumpMessages();
    EXPECT_EQ(GetFocus(), Control(文件路径));
    PostKey(GetFocus(), VK_TAB);
    PumpMessages();
    EXPECT_EQ(GetFocus(), Control(系统时间));
    SetKeyDown(VK_SHIFT, false);
    EXPECT_EQ(GetWindowTextLengthA(Control(文件路径)), 0) << "Tab typed nothing";
}

TEST_F(MainWindowTest, EnterInAnEditBoxMovesNothingAndClicksNothing) {
    ModalWatcher watcher;
    size_t addresses = BrowserAddresses().size();
    for (ControlIndex box : {文件路径, 创建时间, 修改时间, 访问时间}) {
        SCOPED_TRACE(kMainWindowLayout[box].name);
        SetFocus(Control(box));
        PostKey(Control(box), VK_RETURN);
        PumpMessages();
        EXPECT_EQ(GetFocus(), Control(box));
        EXPECT_TRUE(IsWindow(window_));
    }
    EXPECT_TRUE(watcher.boxes.empty()) << "a button's action ran";
    EXPECT_EQ(watcher.openDialogs, 0);
    EXPECT_EQ(BrowserAddresses().size(), addresses);
}

TEST_F(MainWindowTest, EscWithAModifierDoesNotClose) {
    for (UINT modifier : {VK_CONTROL, VK_SHIFT}) {
        SetKeyDown(modifier, true);
        PostKey(Control(文件路径), VK_ESCAPE);
        bool quit = PumpMessages();
        SetKeyDown(modifier, false);
        EXPECT_FALSE(quit);
        EXPECT_TRUE(IsWindow(window_));
    }
}

TEST_F(MainWindowTest, FocusComesBackToTheLastFocusedControl) {
    SetFocus(Control(修改时间));
    HWND other = CreateWindowExA(0, "BUTTON", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100,
                                 nullptr, nullptr, nullptr, nullptr);
    SetActiveWindow(other);
    PumpMessages();
    EXPECT_NE(GetFocus(), Control(修改时间));
    SetActiveWindow(window_);
    PumpMessages();
    EXPECT_EQ(GetFocus(), Control(修改时间));
    DestroyWindow(other);
}

// Esc in each edit box closes the window, and the end is a quit message with status 0.
TEST(MainWindowEnd, EscInAnyEditBoxEndsTheProgram) {
    for (ControlIndex box : {文件路径, 创建时间, 修改时间, 访问时间}) {
        SCOPED_TRACE(kMainWindowLayout[box].name);
        HWND window = MainWindow::Create(GetModuleHandleA(nullptr));
        ASSERT_NE(window, nullptr);
        MainWindow::Show(window);
        HWND edit = GetDlgItem(window, ControlId(box));
        SetFocus(edit);
        PostKey(edit, VK_ESCAPE);
        MSG message;
        int exitCode = -2;
        // The real loop: it must end by itself with the quit message's status.
        PostMessageA(nullptr, WM_NULL, 0, 0);
        exitCode = RunMessageLoop();
        EXPECT_FALSE(IsWindow(window));
        EXPECT_EQ(exitCode, 0);
        EXPECT_FALSE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
    }
}

TEST(MainWindowEnd, TheHeldFileIsClosedWhenTheWindowIsDestroyed) {
    TempFolder folder;
    std::string path = folder.MakeFile("held.txt");
    HWND window = MainWindow::Create(GetModuleHandleA(nullptr));
    ASSERT_NE(window, nullptr);
    HANDLE held = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    MainWindow::FromHandle(window)->editor().OpenFileHandle = held;
    HANDLE exclusive = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(exclusive, INVALID_HANDLE_VALUE) << "held open by the window";
    DestroyWindow(window);
    exclusive = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(exclusive, INVALID_HANDLE_VALUE) << "closed at once by the window's destruction";
    CloseHandle(exclusive);
    PumpMessages();
}

// Refuses the creation of every edit box.
LRESULT CALLBACK VetoEditBoxes(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        char name[16] = {};
        GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof name);
        if (lstrcmpiA(name, "Edit") == 0) return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A control that cannot be created: the error box, then status -1.
TEST(MainWindowEnd, FailingToCreateTheWindowShowsAnErrorAndReturnsMinusOne) {
    HHOOK veto = SetWindowsHookExA(WH_CBT, VetoEditBoxes, nullptr, GetCurrentThreadId());
    ModalWatcher watcher;
    int status = RunFileTimeEditor(GetModuleHandleA(nullptr));
    UnhookWindowsHookEx(veto);
    PumpMessages();
    EXPECT_EQ(status, -1);
    ASSERT_EQ(watcher.boxes.size(), 1u);
    EXPECT_EQ(watcher.boxes[0].caption, "\xB4\xED\xCE\xF3");  // 错误
    EXPECT_EQ(watcher.boxes[0].owner, nullptr);
    EXPECT_EQ(watcher.boxes[0].icon, LoadIconA(nullptr, IDI_HAND));
    EXPECT_EQ(FindWindowA(nullptr, kMainWindowTitle), nullptr) << "no half-built window is left";
}

}  // namespace
