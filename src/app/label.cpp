#include "label.h"

#include <windowsx.h>

#include <string>

#include "main_window.h"
#include "unique_win32.h"

namespace {

// Window extra bytes of a label: its font, then its DrawText format.
constexpr int kFontSlot = 0;
constexpr int kFormatSlot = sizeof(LONG_PTR);

constexpr UINT kLabelDrawFlags = DT_SINGLELINE | DT_VCENTER | DT_NOCLIP;

void OnPaint(HWND label) {
    ScopedPaint paint(label);
    std::string text(GetWindowTextLengthA(label) + 1, '\0');
    int length = GetWindowTextA(label, text.data(), static_cast<int>(text.size()));
    RECT client;
    GetClientRect(label, &client);
    auto font = reinterpret_cast<HFONT>(GetWindowLongPtrA(label, kFontSlot));
    ScopedSelectObject selected(paint.dc(), font ? font : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(paint.dc(), TRANSPARENT);
    SetTextColor(paint.dc(), RGB(0, 0, 0));
    DrawTextA(paint.dc(), text.c_str(), length, &client, GetLabelTextFormat(label));
}

void OnLeftButtonDown(HWND label, int x, int y, UINT keys) {
    // Ctrl 1, Shift 2, Alt 4, as the press handler receives them.
    WORD modifiers = ((keys & MK_CONTROL) ? 1 : 0) | ((keys & MK_SHIFT) ? 2 : 0) |
                     ((GetKeyState(VK_MENU) < 0) ? 4 : 0);
    SendMessageA(GetParent(label), kLabelPressedMessage,
                 MAKEWPARAM(GetDlgCtrlID(label), modifiers), MAKELPARAM(x, y));
}

LRESULT CALLBACK LabelProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE: {
        auto create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(label, kFormatSlot, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        break;
    }
    case WM_PAINT:
        OnPaint(label);
        return 0;
    case WM_SETFONT:
        SetWindowLongPtrA(label, kFontSlot, static_cast<LONG_PTR>(wParam));
        if (LOWORD(lParam)) InvalidateRect(label, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return GetWindowLongPtrA(label, kFontSlot);
    case WM_SETTEXT: {
        LRESULT result = DefWindowProcA(label, message, wParam, lParam);
        InvalidateRect(label, nullptr, TRUE);
        return result;
    }
    case WM_LBUTTONDOWN:
        OnLeftButtonDown(label, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), static_cast<UINT>(wParam));
        return 0;
    }
    return DefWindowProcA(label, message, wParam, lParam);
}

}  // namespace

bool RegisterLabelClass(HINSTANCE instance) {
    WNDCLASSEXA labelClass{};
    if (GetClassInfoExA(instance, kLabelClassName, &labelClass)) return true;
    labelClass.cbSize = sizeof labelClass;
    labelClass.lpfnWndProc = LabelProc;
    labelClass.cbWndExtra = 2 * sizeof(LONG_PTR);
    labelClass.hInstance = instance;
    labelClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    labelClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    labelClass.lpszClassName = kLabelClassName;
    return RegisterClassExA(&labelClass) != 0;
}

HWND CreateLabel(HWND parent, int id, const char* text, int x, int y, int width, int height,
                 UINT textFormat, HINSTANCE instance) {
    return CreateWindowExA(0, kLabelClassName, text, WS_CHILD, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                           reinterpret_cast<void*>(static_cast<UINT_PTR>(textFormat)));
}

UINT GetLabelTextFormat(HWND label) {
    return static_cast<UINT>(GetWindowLongPtrA(label, kFormatSlot)) | kLabelDrawFlags;
}
