// The real program, started as its own process: it becomes ready, Esc ends it with status 0,
// and a file it holds open is free for others as soon as it has ended.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "layout.h"
#include "win_test.h"

using namespace wintest;

namespace {

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

TEST(Program, ClosesTheOpenedFileBeforeItEnds) {
    TempFolder folder;
    std::string path = folder.MakeFile("opened.txt");
    RunningProgram program;
    ASSERT_NE(program.window(), nullptr);
    HWND pathBox = GetDlgItem(program.window(), ControlId(文件路径));
    SendMessageA(pathBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    // "打开": the dialog comes up; cancelling it opens the typed path.
    PostMessageA(GetDlgItem(program.window(), ControlId(浏览)), BM_CLICK, 0, 0);
    HWND dialog = WaitForWindow(program.id(), true);
    ASSERT_NE(dialog, nullptr);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    // Once the times are shown, the file is open.
    HWND creationBox = GetDlgItem(program.window(), ControlId(创建时间));
    for (int waited = 0; waited < 30000 && GetWindowTextLengthA(creationBox) == 0; waited += 20) Sleep(20);
    ASSERT_GT(GetWindowTextLengthA(creationBox), 0);
    HANDLE exclusive = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(exclusive, INVALID_HANDLE_VALUE) << "the program holds the file";

    PostMessageA(pathBox, WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_EQ(program.WaitForExit(), 0);
    exclusive = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(exclusive, INVALID_HANDLE_VALUE) << "free as soon as the program has ended";
    CloseHandle(exclusive);
}

}  // namespace
