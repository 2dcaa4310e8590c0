// What the main window's four buttons do, and the message box through which every outcome
// reaches the user. Each action runs to its end on the user-interface thread; it reaches the
// file only through file_times.h and talks to the user through the edit boxes, the open
// dialog and message boxes.
#pragma once

#include <windows.h>

#include <string>

// The open dialog component of the main window: its stored settings and the file name it
// remembers between showings.
struct OpenFileDialog {
    std::string fileName;  // the last confirmed full path; the next showing starts from it

    // Shows the dialog modal to owner. Returns: true when the user confirmed a file.
    bool Show(HWND owner);
};

// The parts of the main window that the actions use.
struct TimeEditorWindow {
    HWND window = nullptr;
    HWND 文件路径 = nullptr;
    HWND 创建时间 = nullptr;
    HWND 修改时间 = nullptr;
    HWND 访问时间 = nullptr;
    // 0 until a file was chosen, INVALID_HANDLE_VALUE after a failed open. Kept raw: the
    // window closes whatever it holds, 0 included.
    HANDLE OpenFileHandle = nullptr;
    OpenFileDialog 通用对话框1;
};

// MessageBoxA with no owner, task-modal. Returns when the user has closed it.
void ShowMessage(const char* text, UINT flags, const char* caption);

void OpenChosenFile(TimeEditorWindow& editor);
void ShowFileTimes(TimeEditorWindow& editor);
void ApplyEditedTimes(TimeEditorWindow& editor);
void FillWithCurrentTime(TimeEditorWindow& editor);

// The whole text of a window, read with its length first.
std::string ReadWindowText(HWND window);

// The texts of the four messages.
inline constexpr char kOpenFailedPrefix[] = "打开文件";
inline constexpr char kOpenFailedSuffix[] = "失败，请确定文件存在且未被使用。";
inline constexpr char kReadFailedText[] = "读取文件信息失败！";
inline constexpr char kWriteFailedText[] = "设置文件时间失败！";
inline constexpr char kWriteSucceededText[] = "设置文件时间成功";
inline constexpr char kErrorCaption[] = "错误";
inline constexpr char kSuccessCaption[] = "成功";
