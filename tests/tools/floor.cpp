// The floor of the start-up benchmark: the least a Windows program can do to show one window
// of the main window's size and take input.
#include <windows.h>

static LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
        DestroyWindow(window);
        return 0;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = FloorProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = "Floor";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "Floor", "floor", WS_CAPTION, CW_USEDEFAULT, CW_USEDEFAULT, 380, 250, nullptr,
                                  nullptr, instance, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}
