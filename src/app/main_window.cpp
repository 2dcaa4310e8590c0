#include "main_window.h"

#include <windowsx.h>
#include <ole2.h>

#include <string>
#include <utility>

#include "app_menu.h"
#include "label.h"
#include "visual_style.h"

namespace {

constexpr char kMainWindowClassName[] = "FileTimeMainWindow";

HFONT MakeFont(int height, int weight) {
    LOGFONTA font{};
    font.lfHeight = -height;  // negative: the character height, not the cell height
    font.lfWeight = weight;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(font.lfFaceName, kControlFace, LF_FACESIZE);
    return CreateFontIndirectA(&font);
}

// The process's current directory becomes the folder of its executable.
void EnterProgramFolder() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return;
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    // A GBK trail byte can be 0x5C, so the last separator is found unit by unit.
    size_t folderEnd = std::string::npos;
    for (size_t i = 0; i < path.size(); ++i) {
        auto byte = static_cast<unsigned char>(path[i]);
        if (byte >= 0x80) {
            ++i;
        } else if (byte == '\\' || byte == '/') {
            folderEnd = i;
        }
    }
    if (folderEnd == std::string::npos) return;
    path.resize(folderEnd == 2 && path[1] == ':' ? folderEnd + 1 : folderEnd);  // "C:\" keeps its root
    SetCurrentDirectoryA(path.c_str());
}

bool RegisterMainWindowClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXA windowClass{};
    if (GetClassInfoExA(instance, kMainWindowClassName, &windowClass)) return true;
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kMainWindowClassName;
    return RegisterClassExA(&windowClass) != 0;
}

bool IsTabTarget(HWND control) {
    return IsWindowVisible(control) && IsWindowEnabled(control);
}

}  // namespace

HWND MainWindow::Create(HINSTANCE instance) {
    if (!RegisterMainWindowClass(instance, WindowProc) || !RegisterLabelClass(instance)) return nullptr;
    auto* state = new MainWindow(instance);
    int left = (GetSystemMetrics(SM_CXSCREEN) - kMainWindowWidth) / 2;
    int top = (GetSystemMetrics(SM_CYSCREEN) - kMainWindowHeight) / 2;
    // WM_NCCREATE hands the state to the window; from then on WM_NCDESTROY deletes it.
    HWND window = CreateWindowExA(0, kMainWindowClassName, kMainWindowTitle, WS_CAPTION | WS_CLIPCHILDREN,
                                  left, top, kMainWindowWidth, kMainWindowHeight, nullptr, nullptr,
                                  instance, state);
    if (!window) {
        if (!state->window_) delete state;
        return nullptr;
    }
    // The taskbar button shows the program's icon; the title bar has none (no system menu).
    for (auto [kind, side] : {std::pair{ICON_BIG, SM_CXICON}, std::pair{ICON_SMALL, SM_CXSMICON}}) {
        int pixels = GetSystemMetrics(side);
        HANDLE icon = LoadImageA(instance, MAKEINTRESOURCEA(1), IMAGE_ICON, pixels, pixels, LR_SHARED);
        SendMessageA(window, WM_SETICON, kind, reinterpret_cast<LPARAM>(icon));
    }
    RECT outer;
    GetWindowRect(window, &outer);
    if (outer.right - outer.left != kMainWindowWidth || outer.bottom - outer.top != kMainWindowHeight) {
        SetWindowPos(window, nullptr, left, top, kMainWindowWidth, kMainWindowHeight,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (!state->CreateControls()) {
        DestroyWindow(window);
        return nullptr;
    }
    state->complete_ = true;
    state->OnMainWindowCreated();
    return window;
}

void MainWindow::Show(HWND window) {
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    if (MainWindow* state = FromHandle(window)) SetFocus(state->controls_[文件路径]);
}

MainWindow* MainWindow::FromHandle(HWND window) {
    char className[sizeof kMainWindowClassName + 1];
    if (!window || !GetClassNameA(window, className, sizeof className) ||
        lstrcmpA(className, kMainWindowClassName) != 0)
        return nullptr;
    return reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

bool MainWindow::CreateControls() {
    normalFont_.reset(MakeFont(12, FW_NORMAL));
    boldFont_.reset(MakeFont(20, FW_BOLD));
    SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);

    for (int index = 0; index < ControlCount; ++index) {
        const ControlSpec& row = kMainWindowLayout[index];
        int id = ControlId(static_cast<ControlIndex>(index));
        HWND control = nullptr;
        switch (row.kind) {
        case ControlKind::OpenFileDialog:
            continue;  // a component with no window of its own
        case ControlKind::Label:
            control = CreateLabel(window_, id, row.text, row.x, row.y, row.width, row.height,
                                  row.textFormat, instance_);
            break;
        case ControlKind::Button:
        case ControlKind::Edit:
            control = CreateWindowExA(row.exStyle, row.kind == ControlKind::Button ? "BUTTON" : "EDIT",
                                      row.text, WS_CHILD | (row.tabStop ? WS_TABSTOP : 0) | row.style,
                                      row.x, row.y, row.width, row.height, window_,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
            break;
        }
        if (!control) return false;
        controls_[index] = control;
        HGDIOBJ font = row.font == ControlFont::Bold20 ? boldFont_.get() : normalFont_.get();
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (row.kind == ControlKind::Edit) SendMessageA(control, EM_LIMITTEXT, 0, 0);
    }

    HWND above = HWND_TOP;
    for (HWND control : controls_) {
        if (!control) continue;
        SetWindowPos(control, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        above = control;
    }
    for (HWND control : controls_) {
        if (control) ShowWindow(control, SW_SHOWNA);
    }

    editor_.window = window_;
    editor_.文件路径 = controls_[文件路径];
    editor_.创建时间 = controls_[创建时间];
    editor_.修改时间 = controls_[修改时间];
    editor_.访问时间 = controls_[访问时间];
    return true;
}

void MainWindow::OnMainWindowCreated() {
    SetVisualStyle(1);
}

void MainWindow::OnMainWindowDestroying() {
    CloseHandle(editor_.OpenFileHandle);
}

void MainWindow::RunEvent(ControlEvent event) {
    switch (event) {
    case ControlEvent::None:
        break;
    case ControlEvent::ShowAppMenu:
        break;  // a press, not a click: see kLabelPressedMessage
    case ControlEvent::FillWithCurrentTime:
        FillWithCurrentTime(editor_);
        break;
    case ControlEvent::ApplyEditedTimes:
        ApplyEditedTimes(editor_);
        break;
    case ControlEvent::ShowFileTimes:
        ShowFileTimes(editor_);
        break;
    case ControlEvent::OpenChosenFile:
        OpenChosenFile(editor_);
        break;
    }
}

void MainWindow::OnCommand(int id, HWND control, UINT code) {
    if (!control) {
        RunAppMenuCommand(window_, static_cast<UINT>(id));
        return;
    }
    int index = id - kFirstControlId;
    if (code == BN_CLICKED && index >= 0 && index < ControlCount && controls_[index] == control &&
        kMainWindowLayout[index].kind == ControlKind::Button)
        RunEvent(kMainWindowLayout[index].event);
}

void MainWindow::OnActivate(UINT state) {
    if (state == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(window_, focus)) lastFocus_ = focus;
        return;
    }
    SetFocus(lastFocus_ && IsWindow(lastFocus_) ? lastFocus_ : controls_[文件路径]);
}

void MainWindow::MoveFocus(bool backwards) {
    constexpr int count = static_cast<int>(std::size(kTabOrder));
    HWND focus = GetFocus();
    int current = -1;
    for (int i = 0; i < count; ++i) {
        if (controls_[kTabOrder[i]] == focus) current = i;
    }
    for (int step = 1; step <= count; ++step) {
        int next = current < 0 ? (backwards ? count - step : step - 1)
                               : ((current + (backwards ? -step : step)) % count + count) % count;
        HWND candidate = controls_[kTabOrder[next]];
        if (IsTabTarget(candidate)) {
            SetFocus(candidate);
            return;
        }
    }
}

bool MainWindow::PreTranslateMessage(const MSG& message) {
    if (message.message != WM_KEYDOWN || (message.wParam != VK_TAB && message.wParam != VK_ESCAPE))
        return false;
    MainWindow* state = FromHandle(GetAncestor(message.hwnd, GA_ROOT));
    if (!state) return false;
    bool control = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0,
         alt = GetKeyState(VK_MENU) < 0;
    if (message.wParam == VK_ESCAPE) {
        if (control || shift || alt) return false;
        SendMessageA(state->window_, WM_CLOSE, 0, 0);
        return true;
    }
    if (control || alt) return false;
    state->MoveFocus(shift);
    return true;
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* state = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        state->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    }
    auto* state = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!state) return DefWindowProcA(window, message, wParam, lParam);

    switch (message) {
    case WM_COMMAND:
        state->OnCommand(GET_WM_COMMAND_ID(wParam, lParam), GET_WM_COMMAND_HWND(wParam, lParam),
                         GET_WM_COMMAND_CMD(wParam, lParam));
        return 0;
    case kLabelPressedMessage:
        if (LOWORD(wParam) == ControlId(标签1))
            ShowAppMenu(window, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), HIWORD(wParam));
        return 0;
    case kExitProgramMessage:
        DestroyWindow(window);
        return 0;
    case WM_ACTIVATE:
        state->OnActivate(LOWORD(wParam));
        return 0;
    case WM_SETFONT:
        return 0;  // the window keeps DEFAULT_GUI_FONT
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT));
    case WM_DESTROY:
        state->OnMainWindowDestroying();
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        // A window that was never complete ends nothing: the error box still has to show.
        if (state->complete_) PostQuitMessage(0);
        delete state;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int RunMessageLoop() {
    MSG message;
    BOOL result;
    while ((result = GetMessageA(&message, nullptr, 0, 0)) != 0) {
        if (result == -1) return -1;
        if (MainWindow::PreTranslateMessage(message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

int RunFileTimeEditor(HINSTANCE instance) {
    OleInitialize(nullptr);
    EnterProgramFolder();
    int status;
    if (HWND window = MainWindow::Create(instance)) {
        MainWindow::Show(window);
        status = RunMessageLoop();
    } else {
        MessageBoxA(nullptr, "加载启动窗口失败。", "错误", MB_ICONERROR);
        status = -1;
    }
    OleUninitialize();
    return status;
}
