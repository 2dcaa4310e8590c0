// The program's one window: built from the layout table, it binds each control's event to
// its action, keeps the open file's handle and closes it when it goes away.
#pragma once

#include <windows.h>

#include "actions.h"
#include "layout.h"
#include "unique_win32.h"

class MainWindow {
public:
    // Creates the window hidden with all its controls, switches the visual style on and
    // returns the window, not yet shown. Returns: null when a window could not be created.
    static HWND Create(HINSTANCE instance);
    // Shows the window with the focus in 文件路径.
    static void Show(HWND window);
    // Returns: the state of a window made by Create, or null for any other window.
    static MainWindow* FromHandle(HWND window);

    // Handles the keys that act on the whole window (Tab, Shift+Tab, Esc) before the message
    // is dispatched. Returns: true when the message was consumed.
    static bool PreTranslateMessage(const MSG& message);

    HWND handle() const { return window_; }
    HWND control(ControlIndex index) const { return controls_[index]; }
    TimeEditorWindow& editor() { return editor_; }

private:
    explicit MainWindow(HINSTANCE instance) : instance_(instance) {}
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool CreateControls();
    void MoveFocus(bool backwards);

    void OnMainWindowCreated();
    void OnMainWindowDestroying();
    void OnCommand(int id, HWND control, UINT code);
    void OnActivate(UINT state);
    void RunEvent(ControlEvent event);

    HINSTANCE instance_;
    HWND window_ = nullptr;
    HWND controls_[ControlCount] = {};
    HWND lastFocus_ = nullptr;
    bool complete_ = false;
    UniqueGdiObject normalFont_;
    UniqueGdiObject boldFont_;
    TimeEditorWindow editor_;
};

// Starts the program and runs it to its end. Returns: the process exit status, 0 after a
// normal end, -1 when the main window could not be created.
int RunFileTimeEditor(HINSTANCE instance);

// Runs the message loop until WM_QUIT. Returns: the quit message's exit code.
int RunMessageLoop();

// Private messages of the main window.
inline constexpr UINT kLabelPressedMessage = WM_APP + 1;  // wParam: id | modifiers << 16
inline constexpr UINT kExitProgramMessage = WM_APP + 2;
