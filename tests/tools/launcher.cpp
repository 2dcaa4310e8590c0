// Starts a Windows program, waits until its window is ready to take input, optionally saves
// a picture of the window, then presses Esc in it and waits for it to end.
//
//   launcher [--screenshot FILE.bmp] [--keep-open] PROGRAM
//
// Prints "ready_ms=N" (milliseconds from CreateProcessA to a visible, idle window) and
// "exit=N"; its own exit status is the program's, or 100 + a step number when a step failed.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

bool SaveWindowPicture(HWND window, const char* path) {
    RECT area;
    GetWindowRect(window, &area);
    int width = area.right - area.left, height = area.bottom - area.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool saved = false;
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
        SelectObject(memory, old);
        GdiFlush();
        if (FILE* file = std::fopen(path, "wb")) {
            DWORD imageSize = static_cast<DWORD>(width) * height * 4;
            BITMAPFILEHEADER header{};
            header.bfType = 0x4D42;
            header.bfOffBits = sizeof header + sizeof info.bmiHeader;
            header.bfSize = header.bfOffBits + imageSize;
            saved = std::fwrite(&header, sizeof header, 1, file) == 1 &&
                    std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, file) == 1 &&
                    std::fwrite(bits, imageSize, 1, file) == 1;
            saved = std::fclose(file) == 0 && saved;
        }
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return saved;
}

}  // namespace

int main(int argc, char** argv) {
    const char* screenshot = nullptr;
    int argument = 1;
    if (argument + 1 < argc && std::strcmp(argv[argument], "--screenshot") == 0) {
        screenshot = argv[argument + 1];
        argument += 2;
    }
    if (argument + 1 != argc) {
        std::fprintf(stderr, "usage: launcher [--screenshot FILE.bmp] PROGRAM\n");
        return 101;
    }
    std::vector<char> commandLine(argv[argument], argv[argument] + std::strlen(argv[argument]) + 1);

    LARGE_INTEGER frequency, start, ready;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        std::fprintf(stderr, "launcher: cannot start %s (error %lu)\n", argv[argument], GetLastError());
        return 102;
    }
    if (WaitForInputIdle(process.hProcess, 60000) != 0) {
        std::fprintf(stderr, "launcher: the program did not become ready\n");
        TerminateProcess(process.hProcess, 1);
        return 103;
    }
    // Idle can come a moment before the window is shown: wait for that too.
    Search search{process.dwProcessId, nullptr};
    for (int waited = 0; waited < 30000; ++waited) {
        EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found || WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) break;
    }
    QueryPerformanceCounter(&ready);
    if (!search.found) {
        std::fprintf(stderr, "launcher: the program shows no window\n");
        TerminateProcess(process.hProcess, 1);
        return 104;
    }
    std::printf("ready_ms=%.1f\n", (ready.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart);
    if (screenshot) {
        // Let the window finish painting before its picture is taken.
        RedrawWindow(search.found, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        if (!SaveWindowPicture(search.found, screenshot)) {
            std::fprintf(stderr, "launcher: cannot save %s\n", screenshot);
            TerminateProcess(process.hProcess, 1);
            return 105;
        }
    }
    PostMessageA(search.found, WM_KEYDOWN, VK_ESCAPE, 1);
    if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "launcher: the program did not end after Esc\n");
        TerminateProcess(process.hProcess, 1);
        return 106;
    }
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    std::printf("exit=%ld\n", static_cast<long>(exitCode));
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(exitCode);
}
