// Helpers of the Windows tests: real files in a temporary folder, their times and content
// read without touching them, message boxes and the open dialog answered by a CBT hook,
// and the main window's own message handling for posted input.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace wintest {

// A new empty folder under the system's temporary folder, removed with its files at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& path() const { return path_; }
    // Returns: path() + "\\" + name.
    std::string File(const std::string& name) const;
    // Creates the file with the content and returns its full path.
    std::string MakeFile(const std::string& name, const std::string& content = "content\n") const;

private:
    std::string path_;
};

// The three times as the file system holds them, read through a handle that asks only for
// its attributes (it neither reads the content nor needs write sharing).
struct RawFileTimes {
    std::uint64_t creation = 0, access = 0, write = 0;
    friend bool operator==(const RawFileTimes&, const RawFileTimes&) = default;
};
std::optional<RawFileTimes> ReadRawFileTimes(const std::string& path);
// Sets the times directly (0 leaves one unchanged).
bool SetRawFileTimes(const std::string& path, std::uint64_t creation, std::uint64_t access, std::uint64_t write);
// Reads the content. Read the times first: reading can change the last-access time.
std::string ReadContent(const std::string& path);

// A snapshot of a file's times and content, to assert that a failed action changed nothing.
// Reading the content can move the last-access time (relatime), so the snapshot before the
// action reads the content first and the one after it reads the times first.
struct FileState {
    RawFileTimes times;
    std::string content;
    friend bool operator==(const FileState&, const FileState&) = default;
};
FileState FileStateBeforeAction(const std::string& path);
FileState FileStateAfterAction(const std::string& path);

// The file's Unix path and its last-access and last-modification times as the Linux kernel
// holds them, in nanoseconds since 1970 (read with stat(1)).
struct UnixTimes {
    std::int64_t access = 0, modification = 0;
};
std::string UnixPath(const std::string& windowsPath);
std::optional<UnixTimes> StatUnixTimes(const std::string& windowsPath);
// Starts a Unix shell command; it runs on its own. Returns: true when it could be started.
bool RunUnixShell(const std::string& command);

// UTC file time counts (100 ns since 1601-01-01) and local calendar times.
inline constexpr std::uint64_t kTicksPerSecond = 10'000'000;
std::uint64_t UtcTicks(int year, int month, int day, int hour, int minute, int second, int millisecond = 0);

// Something a hook saw of a message box.
struct SeenMessageBox {
    std::string caption;
    std::string text;
    HWND owner = nullptr;
    HICON icon = nullptr;          // the icon it shows, or null
    bool othersDisabled = false;   // the thread's other top-level windows were disabled (task-modal)
};

// While alive, answers every message box and open dialog of this thread: a message box is
// recorded and closed with OK; the open dialog is handed to onOpenDialog (default: cancel).
class ModalWatcher {
public:
    ModalWatcher();
    ~ModalWatcher();
    ModalWatcher(const ModalWatcher&) = delete;
    ModalWatcher& operator=(const ModalWatcher&) = delete;

    std::vector<SeenMessageBox> boxes;
    int openDialogs = 0;
    // Gets the dialog window; returns the command to post to it (IDOK after filling in a name,
    // IDCANCEL). Set the file name with SetOpenDialogFileName.
    std::function<int(HWND dialog)> onOpenDialog;
    // Runs when a message box appears, before it is closed.
    std::function<void(const SeenMessageBox&)> onMessageBox;

    // Answers one dialog; called from inside its modal loop.
    void Answer(HWND dialog);

private:
    static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);
    HHOOK hook_ = nullptr;
    std::set<HWND> answered_;
    ModalWatcher* previous_ = nullptr;
};

void SetOpenDialogFileName(HWND dialog, const std::string& name);
bool IsOpenDialog(HWND window);

// The whole text of a window of this process.
std::string WindowText(HWND window);

// While alive, stands in front of the program's shell call: records each call and passes none
// on, so the order of events and the owner window can be seen.
class ShellCallRecorder {
public:
    struct Call {
        HWND owner;
        std::string verb, file;
        bool parametersNull, directoryNull;
        int show;
    };
    ShellCallRecorder();
    ~ShellCallRecorder();
    ShellCallRecorder(const ShellCallRecorder&) = delete;
    ShellCallRecorder& operator=(const ShellCallRecorder&) = delete;
    static inline std::vector<Call> calls;

private:
    HINSTANCE(WINAPI* previous_)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
};

// Handles every message waiting for this thread the way the program's loop does.
// Returns: true when a WM_QUIT was among them.
bool PumpMessages();
// Posts a key press (down and char where one applies, up) to a window.
void PostKey(HWND window, UINT key);
// Sets or clears Shift/Ctrl in this thread's keyboard state.
void SetKeyDown(UINT key, bool down);

// The addresses the browser stand-in was asked to open so far.
std::vector<std::string> BrowserAddresses();
// Waits until the stand-in has recorded count addresses (or a generous deadline passes).
std::vector<std::string> WaitForBrowserAddresses(size_t count);

// What this process holds: open kernel handles, live GDI objects, USER objects (windows and
// menus) and private memory in bytes. Wine answers the usual calls (GetProcessHandleCount,
// GetGuiResources, GetProcessMemoryInfo) with 0, so there the handle tables are probed and
// the heaps are walked.
DWORD LiveKernelHandles();
DWORD LiveGdiObjects();
DWORD LiveUserObjects();
std::uint64_t PrivateBytes();

}  // namespace wintest
