// Drives the real window round after round: open (dialog cancelled, typed path) → show →
// fill with the current time → apply (success box closed). What the process holds must stay
// where it was after the first rounds, and the file's content must not change.
// FILETIME_SOAK_CYCLES sets the number of rounds (default 1,000); FILETIME_SOAK_REPORT=1
// prints the counts every 1,000 rounds.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "main_window_fixture.h"
#include "win_test.h"

using namespace wintest;

namespace {

struct Holdings {
    DWORD kernelHandles, gdiObjects, userObjects;
    std::uint64_t privateBytes;
};

Holdings Measure() { return {LiveKernelHandles(), LiveGdiObjects(), LiveUserObjects(), PrivateBytes()}; }

int EnvironmentNumber(const char* name, int fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::atoi(value) : fallback;
}

using SoakTest = MainWindowFixture;

TEST_F(SoakTest, RepeatedUseHoldsNothingMore) {
    const int cycles = EnvironmentNumber("FILETIME_SOAK_CYCLES", 1000);
    const bool report = EnvironmentNumber("FILETIME_SOAK_REPORT", 0) != 0;
    constexpr int kWarmUp = 10;
    ASSERT_GT(cycles, kWarmUp);

    TempFolder folder;
    const std::string content = "the content stays as it is\n";
    std::string path = folder.MakeFile("soak.txt", content);
    ModalWatcher watcher;
    // The first round chooses the file in the dialog, as a user starts; the others cancel it
    // and open the typed path. (Wine's dialog leaks a registry handle each time it is shown
    // before any folder was ever confirmed in it; one choice ends that, as it would for a user.)
    watcher.onOpenDialog = [&](HWND dialog) {
        if (watcher.openDialogs > 1) return IDCANCEL;
        SetOpenDialogFileName(dialog, path);
        return IDOK;
    };
    Holdings baseline{};
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        SendMessageA(Control(浏览), BM_CLICK, 0, 0);
        SendMessageA(Control(取出时间), BM_CLICK, 0, 0);
        SendMessageA(Control(系统时间), BM_CLICK, 0, 0);
        SendMessageA(Control(设置时间), BM_CLICK, 0, 0);
        PumpMessages();
        ASSERT_EQ(watcher.boxes.size(), 1u) << "round " << cycle << ": only the success box";
        ASSERT_EQ(watcher.boxes[0].caption, "\xB3\xC9\xB9\xA6") << "round " << cycle;  // 成功
        watcher.boxes.clear();
        if (cycle == kWarmUp) baseline = Measure();
        if (report && (cycle == kWarmUp || cycle % 1000 == 0 || cycle == cycles)) {
            Holdings now = Measure();
            std::printf("soak round %d: handles %lu, GDI %lu, USER %lu, private %llu KiB\n", cycle,
                        static_cast<unsigned long>(now.kernelHandles), static_cast<unsigned long>(now.gdiObjects),
                        static_cast<unsigned long>(now.userObjects),
                        static_cast<unsigned long long>(now.privateBytes / 1024));
        }
    }
    Holdings end = Measure();
    EXPECT_GT(baseline.kernelHandles, 0u);
    EXPECT_GT(baseline.gdiObjects, 0u);
    EXPECT_GT(baseline.userObjects, 0u);
    EXPECT_GT(baseline.privateBytes, 0u);
    EXPECT_LE(end.kernelHandles, baseline.kernelHandles + 4);
    EXPECT_LE(end.gdiObjects, baseline.gdiObjects + 4);
    EXPECT_LE(end.userObjects, baseline.userObjects + 4);
    EXPECT_LE(end.privateBytes, baseline.privateBytes + 64 * 1024);
    EXPECT_EQ(watcher.openDialogs, cycles);
    DestroyWindow(window_);  // let go of the file before reading it
    PumpMessages();
    EXPECT_EQ(ReadContent(path), content);
}

}  // namespace
