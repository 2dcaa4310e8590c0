#include "win_test.h"

#include <psapi.h>

#include <atomic>
#include <fstream>
#include <set>
#include <sstream>

#include "main_window.h"
#include "web_links.h"

namespace wintest {

namespace {

std::uint64_t Ticks(const FILETIME& time) {
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

FILETIME FromTicks(std::uint64_t ticks) {
    return {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = folder + "\\" + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

}  // namespace

TempFolder::TempFolder() {
    static std::atomic<int> counter{0};
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    std::ostringstream name;
    name << base << "filetime-test-" << GetCurrentProcessId() << "-" << counter++;
    path_ = name.str();
    CreateDirectoryA(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() { RemoveTree(path_); }

std::string TempFolder::File(const std::string& name) const { return path_ + "\\" + name; }

std::string TempFolder::MakeFile(const std::string& name, const std::string& content) const {
    std::string path = File(name);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
    return path;
}

std::optional<RawFileTimes> ReadRawFileTimes(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    FILETIME creation, access, write;
    bool read = GetFileTime(file, &creation, &access, &write);
    CloseHandle(file);
    if (!read) return std::nullopt;
    return RawFileTimes{Ticks(creation), Ticks(access), Ticks(write)};
}

bool SetRawFileTimes(const std::string& path, std::uint64_t creation, std::uint64_t access, std::uint64_t write) {
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    FILETIME c = FromTicks(creation), a = FromTicks(access), w = FromTicks(write);
    bool set = SetFileTime(file, &c, &a, &w);
    CloseHandle(file);
    return set;
}

std::string ReadContent(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<unreadable>";
    std::string content;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) content.append(buffer, read);
    CloseHandle(file);
    return content;
}

FileState FileStateBeforeAction(const std::string& path) {
    FileState state;
    state.content = ReadContent(path);
    state.times = ReadRawFileTimes(path).value_or(RawFileTimes{});
    return state;
}

FileState FileStateAfterAction(const std::string& path) {
    FileState state;
    state.times = ReadRawFileTimes(path).value_or(RawFileTimes{});
    state.content = ReadContent(path);
    return state;
}

std::string UnixPath(const std::string& windowsPath) {
    using ToUnix = char*(CDECL*)(LPCWSTR);
    static auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix) return {};
    std::wstring wide(windowsPath.size() + 1, L'\0');
    wide.resize(MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide.data(), static_cast<int>(wide.size())));
    char* unixPath = toUnix(wide.c_str());
    if (!unixPath) return {};
    std::string result = unixPath;
    HeapFree(GetProcessHeap(), 0, unixPath);
    return result;
}

bool RunUnixShell(const std::string& command) {
    // Wine starts a Unix program named by its path like a Windows one, but does not wait for it.
    std::string line = "Z:\\bin\\sh -c \"" + command + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

std::optional<UnixTimes> StatUnixTimes(const std::string& windowsPath) {
    std::string target = UnixPath(windowsPath);
    std::string output = windowsPath + ".stat";
    std::string outputUnix = UnixPath(output);
    if (target.empty() || outputUnix.empty()) return std::nullopt;
    DeleteFileA(output.c_str());
    // The answer is renamed into place when complete: a Unix process gives Wine no handle to
    // wait on, so its file is what shows that it has finished.
    if (!RunUnixShell("stat -c '%.9X %.9Y' -- '" + target + "' > '" + outputUnix + ".part' && mv '" + outputUnix +
                      ".part' '" + outputUnix + "'"))
        return std::nullopt;
    for (int waited = 0; waited < 30000 && GetFileAttributesA(output.c_str()) == INVALID_FILE_ATTRIBUTES; waited += 10)
        Sleep(10);
    std::ifstream in(output);
    std::string access, modification;
    if (!(in >> access >> modification)) return std::nullopt;
    in.close();
    DeleteFileA(output.c_str());
    // "seconds.nanoseconds", the seconds possibly negative.
    auto nanos = [](const std::string& text) -> std::int64_t {
        size_t dot = text.find('.');
        std::int64_t seconds = std::stoll(text.substr(0, dot));
        std::int64_t fraction = dot == std::string::npos ? 0 : std::stoll(text.substr(dot + 1));
        return seconds * 1'000'000'000 + (text[0] == '-' ? -fraction : fraction);
    };
    return UnixTimes{nanos(access), nanos(modification)};
}

std::uint64_t UtcTicks(int year, int month, int day, int hour, int minute, int second, int millisecond) {
    SYSTEMTIME calendar{};
    calendar.wYear = static_cast<WORD>(year);
    calendar.wMonth = static_cast<WORD>(month);
    calendar.wDay = static_cast<WORD>(day);
    calendar.wHour = static_cast<WORD>(hour);
    calendar.wMinute = static_cast<WORD>(minute);
    calendar.wSecond = static_cast<WORD>(second);
    calendar.wMilliseconds = static_cast<WORD>(millisecond);
    FILETIME time{};
    SystemTimeToFileTime(&calendar, &time);
    return Ticks(time);
}

// ---- modal windows ----

namespace {
thread_local ModalWatcher* currentWatcher = nullptr;
thread_local std::set<HWND> pendingDialogs;

constexpr int kFileNameCombo = 0x47c;  // cmb13
constexpr int kFileNameEdit = 0x480;   // edt1
constexpr int kMessageBoxText = 0xFFFF;

struct ThreadWindows {
    HWND except;
    int others = 0;
    int disabled = 0;
};

BOOL CALLBACK CountThreadWindow(HWND window, LPARAM parameter) {
    auto* count = reinterpret_cast<ThreadWindows*>(parameter);
    if (window != count->except && IsWindowVisible(window)) {
        ++count->others;
        if (!IsWindowEnabled(window)) ++count->disabled;
    }
    return TRUE;
}

BOOL CALLBACK FindIcon(HWND child, LPARAM parameter) {
    char className[16];
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Static") == 0 && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
        IsWindowVisible(child)) {
        *reinterpret_cast<HICON*>(parameter) = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
        return FALSE;
    }
    return TRUE;
}

void CALLBACK AnswerDialogs(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    std::set<HWND> dialogs;
    dialogs.swap(pendingDialogs);
    for (HWND dialog : dialogs) {
        if (IsWindow(dialog) && currentWatcher) currentWatcher->Answer(dialog);
    }
}
}  // namespace

ModalWatcher::ModalWatcher() : previous_(currentWatcher) {
    currentWatcher = this;
    hook_ = SetWindowsHookExA(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
}

ModalWatcher::~ModalWatcher() {
    UnhookWindowsHookEx(hook_);
    currentWatcher = previous_;
}

LRESULT CALLBACK ModalWatcher::CbtProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_DESTROYWND && currentWatcher) {
        // Handles are reused: a destroyed dialog's must not look answered already.
        currentWatcher->answered_.erase(reinterpret_cast<HWND>(wParam));
        pendingDialogs.erase(reinterpret_cast<HWND>(wParam));
    }
    if (code == HCBT_ACTIVATE && currentWatcher) {
        HWND window = reinterpret_cast<HWND>(wParam);
        char className[16];
        GetClassNameA(window, className, sizeof className);
        // Answer once the dialog's own modal loop runs: a thread timer fires from inside it.
        if (lstrcmpA(className, "#32770") == 0 && pendingDialogs.insert(window).second)
            SetTimer(nullptr, 0, 0, AnswerDialogs);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void ModalWatcher::Answer(HWND dialog) {
    if (!answered_.insert(dialog).second) return;
    if (IsOpenDialog(dialog)) {
        ++openDialogs;
        int command = onOpenDialog ? onOpenDialog(dialog) : IDCANCEL;
        PostMessageA(dialog, WM_COMMAND, command, 0);
        return;
    }
    SeenMessageBox box;
    box.caption = WindowText(dialog);
    box.text = WindowText(GetDlgItem(dialog, kMessageBoxText));
    box.owner = GetWindow(dialog, GW_OWNER);
    EnumChildWindows(dialog, FindIcon, reinterpret_cast<LPARAM>(&box.icon));
    ThreadWindows windows{dialog};
    EnumThreadWindows(GetCurrentThreadId(), CountThreadWindow, reinterpret_cast<LPARAM>(&windows));
    box.othersDisabled = windows.others > 0 && windows.disabled == windows.others;
    boxes.push_back(box);
    if (onMessageBox) onMessageBox(box);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

bool IsOpenDialog(HWND window) {
    return GetDlgItem(window, kFileNameCombo) != nullptr || GetDlgItem(window, kFileNameEdit) != nullptr;
}

void SetOpenDialogFileName(HWND dialog, const std::string& name) {
    HWND field = GetDlgItem(dialog, kFileNameCombo);
    if (!field) field = GetDlgItem(dialog, kFileNameEdit);
    SetWindowTextA(field, name.c_str());
}

std::string WindowText(HWND window) {
    std::string text(GetWindowTextLengthA(window) + 1, '\0');
    text.resize(GetWindowTextA(window, text.data(), static_cast<int>(text.size())));
    return text;
}

namespace {
HINSTANCE WINAPI RecordShellCall(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show) {
    ShellCallRecorder::calls.push_back(
        {owner, verb ? verb : "", file ? file : "", parameters == nullptr, directory == nullptr, show});
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));  // above 32: success
}
}  // namespace

ShellCallRecorder::ShellCallRecorder() : previous_(web_links_detail::ShellExecuteCall) {
    calls.clear();
    web_links_detail::ShellExecuteCall = RecordShellCall;
}

ShellCallRecorder::~ShellCallRecorder() { web_links_detail::ShellExecuteCall = previous_; }

// ---- input ----

bool PumpMessages() {
    bool quit = false;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quit = true;
            continue;
        }
        if (MainWindow::PreTranslateMessage(message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return quit;
}

void PostKey(HWND window, UINT key) {
    UINT scan = MapVirtualKeyA(key, MAPVK_VK_TO_VSC);
    PostMessageA(window, WM_KEYDOWN, key, 1 | (scan << 16));
    PostMessageA(window, WM_KEYUP, key, 1 | (scan << 16) | 0xC0000000);
}

void SetKeyDown(UINT key, bool down) {
    BYTE state[256];
    GetKeyboardState(state);
    state[key] = down ? 0x80 : 0;
    SetKeyboardState(state);
}

// ---- browser stand-in ----

std::vector<std::string> BrowserAddresses() {
    std::vector<std::string> addresses;
    const char* log = std::getenv("FILETIME_BROWSER_LOG");
    if (!log) return addresses;
    std::ifstream in(log);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) addresses.push_back(line);
    }
    return addresses;
}

std::vector<std::string> WaitForBrowserAddresses(size_t count) {
    // The shell hands the address to winebrowser, another process: wait for its record.
    for (int waited = 0; waited < 30000; waited += 20) {
        auto addresses = BrowserAddresses();
        if (addresses.size() >= count) return addresses;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        PumpMessages();
    }
    return BrowserAddresses();
}

DWORD LiveKernelHandles() {
    DWORD count = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &count) && count) return count;
    DWORD flags;
    for (UINT_PTR value = 4; value < 0x10000; value += 4) {
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
    }
    return count;
}

// Wine's GDI and USER tables answer for a bare table index, whatever the handle's generation.
DWORD LiveGdiObjects() {
    if (DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return reported;
    DWORD live = 0;
    for (UINT_PTR index = 1; index < 0x10000; ++index) {
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index))) ++live;
    }
    return live;
}

DWORD LiveUserObjects() {
    if (DWORD reported = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)) return reported;
    DWORD live = 0;
    for (UINT_PTR index = 0x20; index < 0x10000; index += 2) {
        auto handle = reinterpret_cast<HWND>(index);
        DWORD process = 0;
        if (IsWindow(handle) && GetWindowThreadProcessId(handle, &process) && process == GetCurrentProcessId())
            ++live;
        else if (IsMenu(reinterpret_cast<HMENU>(index)))
            ++live;
    }
    return live;
}

std::uint64_t PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof counters) &&
        counters.PrivateUsage)
        return counters.PrivateUsage;
    // Under Wine: the bytes in use in the process's heaps (the C runtime's included).
    std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr) + 16);
    heaps.resize(GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
    std::uint64_t used = 0;
    for (HANDLE heap : heaps) {
        PROCESS_HEAP_ENTRY entry{};
        HeapLock(heap);
        while (HeapWalk(heap, &entry)) {
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) used += entry.cbData;
        }
        HeapUnlock(heap);
    }
    return used;
}

}  // namespace wintest
