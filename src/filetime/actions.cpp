#include "actions.h"

#include <commdlg.h>

#include "datetext.h"
#include "file_times.h"
#include "system_library.h"
#include "web_links.h"

namespace {

// "所有文件(*.*)|*.*": one entry, its description and pattern as the dialog wants them.
constexpr char kAllFilesFilter[] = "所有文件(*.*)\0*.*\0";

void WriteTimeText(HWND box, DateTime value) {
    SetWindowTextA(box, DateTimeToText(value).c_str());
}

// comdlg32 (and the shell it brings along) is loaded when the dialog is first shown, not at
// start: loading it would add to every start-up.
BOOL GetOpenFileNameOnFirstUse(OPENFILENAMEA* dialog) {
    using GetOpenFileNameFunction = BOOL(WINAPI*)(OPENFILENAMEA*);
    static const auto getOpenFileName = reinterpret_cast<GetOpenFileNameFunction>(
        reinterpret_cast<void*>(SystemLibraryFunction("comdlg32.dll", "GetOpenFileNameA")));
    return getOpenFileName && getOpenFileName(dialog);
}

}  // namespace

bool OpenFileDialog::Show(HWND owner) {
    char file[MAX_PATH] = {};
    lstrcpynA(file, fileName.c_str(), MAX_PATH);
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = kAllFilesFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file;
    dialog.nMaxFile = MAX_PATH;
    dialog.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    if (!GetOpenFileNameOnFirstUse(&dialog)) return false;
    fileName = file;
    return true;
}

std::string ReadWindowText(HWND window) {
    int length = GetWindowTextLengthA(window);
    if (length <= 0) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), length + 1)));
    return text;
}

void ShowMessage(const char* text, UINT flags, const char* caption) {
    MessageBoxA(nullptr, text, caption, flags | MB_TASKMODAL);
}

void OpenChosenFile(TimeEditorWindow& editor) {
    if (editor.通用对话框1.Show(editor.window)) SetWindowTextA(editor.文件路径, editor.通用对话框1.fileName.c_str());
    if (editor.OpenFileHandle != nullptr) CloseFileHandle(editor.OpenFileHandle);
    editor.OpenFileHandle = OpenFileForTimes(ReadWindowText(editor.文件路径).c_str());
    if (editor.OpenFileHandle != INVALID_HANDLE_VALUE) {
        ShowFileTimes(editor);
        return;
    }
    std::string message = kOpenFailedPrefix + ReadWindowText(editor.文件路径) + kOpenFailedSuffix;
    ShowMessage(message.c_str(), MB_ICONASTERISK, kErrorCaption);
}

void ShowFileTimes(TimeEditorWindow& editor) {
    DateTime creation = 0, modification = 0, access = 0;
    if (!ReadFileTimes(editor.OpenFileHandle, creation, true, modification, true, access, true)) {
        ShowMessage(kReadFailedText, MB_ICONHAND, kErrorCaption);
        return;
    }
    WriteTimeText(editor.创建时间, creation);
    WriteTimeText(editor.访问时间, access);
    WriteTimeText(editor.修改时间, modification);
}

void ApplyEditedTimes(TimeEditorWindow& editor) {
    DateTime creation = TextToDateTime(ReadWindowText(editor.创建时间).c_str());
    DateTime modification = TextToDateTime(ReadWindowText(editor.修改时间).c_str());
    DateTime access = TextToDateTime(ReadWindowText(editor.访问时间).c_str());
    if (WriteFileTimes(editor.OpenFileHandle, creation, true, modification, true, access, true)) {
        ShowMessage(kWriteSucceededText, 0, kSuccessCaption);
        return;
    }
    ShowMessage(kWriteFailedText, MB_ICONHAND, kErrorCaption);
    OpenUpdatePage();
}

void FillWithCurrentTime(TimeEditorWindow& editor) {
    for (HWND box : {editor.创建时间, editor.修改时间, editor.访问时间}) WriteTimeText(box, CurrentDateTime());
}
