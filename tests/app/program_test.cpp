// The real program, started as its own process: it becomes ready, Esc ends it with status 0,
// and a file it holds open is free for others as soon as it has ended.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app_menu.h"
#include "layout.h"
#include "win_test.h"

using namespace wintest;

namespace {

// The text of another process's control: GetWindowText would not ask the control.
LRESULT TextLength(HWND control) { return SendMessageA(control, WM_GETTEXTLENGTH, 0, 0); }

struct FindResult {
    DWORD processId;
    HWND found;
    bool dialog;
};

BOOL CALLBACK FindProcessWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<FindResult*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
    if (search->dialog != IsOpenDialog(window)) return TRUE;
    search->found = window;
    return FALSE;
}

// Waits (for the program's events, polling its windows) until it shows a window.
HWND WaitForWindow(DWORD processId, bool dialog) {
    for (int waited = 0; waited < 30000; waited += 20) {
        FindResult search{processId, nullptr, dialog};
        EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        Sleep(20);
    }
    return nullptr;
}

class RunningProgram {
public:
    RunningProgram() {
        std::string commandLine = std::string("\"") + FILETIME_EXE + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        started_ = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                  &startup, &process_);
        if (started_ && WaitForInputIdle(process_.hProcess, 30000) == 0)
            window_ = WaitForWindow(process_.dwProcessId, false);
    }
    ~RunningProgram() {
        if (started_) {
            if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 1);
            CloseHandle(process_.hThread);
            CloseHandle(process_.hProcess);
        }
    }
    HWND window() const { return window_; }
    DWORD id() const { return process_.dwProcessId; }
    // Returns: the exit status, or -2 when it did not end in time.
    long WaitForExit() {
        if (WaitForSingleObject(process_.hProcess, 30000) != WAIT_OBJECT_0) return -2;
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        return static_cast<long>(code);
    }

private:
    PROCESS_INFORMATION process_{};
    bool started_ = false;
    HWND window_ = nullptr;
};

TEST(Program, StartsWithItsWindowAndEndsWithStatusZeroOnEsc) {
    RunningProgram program;
    ASSERT_NE(program.window(), nullptr);
    char title[128] = {};
    GetWindowTextA(program.window(), title, sizeof title);
    EXPECT_STREQ(title, kMainWindowTitle);
    PostMessageA(GetDlgItem(program.window(), ControlId(文件路径)), WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_EQ(program.WaitForExit(), 0);
}

// Types the path into 文件路径, presses "打开" and cancels the dialog, so the typed path opens.
// Returns: true once the times are shown.
bool OpenTypedPath(const RunningProgram& program, const std::string& path) {
    HWND pathBox = GetDlgItem(program.window(), ControlId(文件路径));
    SendMessageA(pathBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageA(GetDlgItem(program.window(), ControlId(浏览)), BM_CLICK, 0, 0);
    HWND dialog = WaitForWindow(program.id(), true);
    if (!dialog) return false;
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    HWND creationBox = GetDlgItem(program.window(), ControlId(创建时间));
    for (int waited = 0; waited < 30000 && TextLength(creationBox) == 0; waited += 20) Sleep(20);
    return TextLength(creationBox) > 0;
}

bool IsFileFree(const std::string& path) {
    HANDLE exclusive = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (exclusive == INVALID_HANDLE_VALUE) return false;
    CloseHandle(exclusive);
    return true;
}

// Esc, and the menu's "退出" (which destroys the window without asking it to close), both end
// the program with status 0 and free the file it held.
TEST(Program, ClosesTheOpenedFileBeforeItEnds) {
    for (bool exitItem : {false, true}) {
        SCOPED_TRACE(exitItem ? "menu item" : "Esc");
        TempFolder folder;
        std::string path = folder.MakeFile("opened.txt");
        RunningProgram program;
        ASSERT_NE(program.window(), nullptr);
        ASSERT_TRUE(OpenTypedPath(program, path));
        EXPECT_FALSE(IsFileFree(path)) << "the program holds the file";
        if (exitItem)
            PostMessageA(program.window(), WM_COMMAND, MAKEWPARAM(kExitCommand, 0), 0);
        else
            PostMessageA(GetDlgItem(program.window(), ControlId(文件路径)), WM_KEYDOWN, VK_ESCAPE, 1);
        EXPECT_EQ(program.WaitForExit(), 0);
        EXPECT_TRUE(IsFileFree(path)) << "free as soon as the program has ended";
    }
}

// The file carries its version (in GBK for the Chinese code page), its icon at three sizes
// and a manifest that asks for no elevation, no DPI awareness and no common controls 6.
TEST(Program, CarriesVersionIconAndManifest) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(FILETIME_EXE, &ignored);
    ASSERT_GT(size, 0u);
    std::string info(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoA(FILETIME_EXE, 0, size, info.data()));
    for (const char* name : {"ProductName", "FileDescription"}) {
        char* value = nullptr;
        UINT length = 0;
        std::string key = std::string("\\StringFileInfo\\080403a8\\") + name;
        ASSERT_TRUE(VerQueryValueA(info.data(), key.c_str(), reinterpret_cast<void**>(&value), &length)) << name;
        EXPECT_STREQ(value, "Velkor\xCE\xC4\xBC\xFE\xCA\xB1\xBC\xE4\xD0\xDE\xB8\xC4\xC6\xF7") << name;  // Velkor文件时间修改器
    }
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(FILETIME_VERSION_MAJOR << 16 | FILETIME_VERSION_MINOR));

    HMODULE image = LoadLibraryExA(FILETIME_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(image, nullptr);
    HRSRC group = FindResourceA(image, MAKEINTRESOURCEA(1), reinterpret_cast<LPCSTR>(RT_GROUP_ICON));
    ASSERT_NE(group, nullptr);
    auto* directory = static_cast<const BYTE*>(LockResource(LoadResource(image, group)));
    std::vector<int> sides;
    WORD count = *reinterpret_cast<const WORD*>(directory + 4);
    for (WORD i = 0; i < count; ++i) sides.push_back(directory[6 + 14 * i]);
    EXPECT_EQ(sides, (std::vector<int>{16, 32, 48}));

    HRSRC manifest = FindResourceA(image, MAKEINTRESOURCEA(1), reinterpret_cast<LPCSTR>(RT_MANIFEST));
    ASSERT_NE(manifest, nullptr);
    std::string text(static_cast<const char*>(LockResource(LoadResource(image, manifest))),
                     SizeofResource(image, manifest));
    EXPECT_NE(text.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(text.find("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"), std::string::npos) << "Windows 10 and 11";
    EXPECT_NE(text.find("{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"), std::string::npos) << "Windows 7";
    EXPECT_EQ(text.find("dpiAware"), std::string::npos);
    EXPECT_EQ(text.find("Common-Controls"), std::string::npos);
    FreeLibrary(image);
}

}  // namespace
