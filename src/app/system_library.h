// Loading a Windows DLL on first use, from the system folder only.
#pragma once

#include <windows.h>

#include <string>

// Returns: the named function of the system DLL, or null. The DLL is named by its full path
// in the system folder: the open dialog moves the current folder to wherever the user
// browses, and a bare name could then load a stranger's DLL of the same name.
inline FARPROC SystemLibraryFunction(const char* library, const char* function) {
    std::string path(MAX_PATH, '\0');
    UINT length = GetSystemDirectoryA(path.data(), MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    path.resize(length);
    path += '\\';
    path += library;
    HMODULE module = LoadLibraryA(path.c_str());
    return module ? GetProcAddress(module, function) : nullptr;
}
