// The four buttons driven on the real window: clicks by BM_CLICK, message boxes and the open
// dialog answered by a CBT hook, files in a temporary folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "datetime.h"
#include "layout.h"
#include "main_window.h"
#include "main_window_fixture.h"
#include "web_links.h"
#include "win_test.h"

using namespace wintest;

namespace {

// The messages, as GBK bytes.
const std::string kOpenFailedHead = "\xB4\xF2\xBF\xAA\xCE\xC4\xBC\xFE";  // 打开文件
const std::string kOpenFailedTail =  // 失败，请确定文件存在且未被使用。
    "\xCA\xA7\xB0\xDC\xA3\xAC\xC7\xEB\xC8\xB7\xB6\xA8\xCE\xC4\xBC\xFE\xB4\xE6\xD4\xDA\xC7\xD2\xCE\xB4\xB1\xBB\xCA\xB9"
    "\xD3\xC3\xA1\xA3";
const std::string kReadFailed = "\xB6\xC1\xC8\xA1\xCE\xC4\xBC\xFE\xD0\xC5\xCF\xA2\xCA\xA7\xB0\xDC\xA3\xA1";
const std::string kWriteFailed = "\xC9\xE8\xD6\xC3\xCE\xC4\xBC\xFE\xCA\xB1\xBC\xE4\xCA\xA7\xB0\xDC\xA3\xA1";
const std::string kWriteSucceeded = "\xC9\xE8\xD6\xC3\xCE\xC4\xBC\xFE\xCA\xB1\xBC\xE4\xB3\xC9\xB9\xA6";
const std::string kError = "\xB4\xED\xCE\xF3";
const std::string kSuccess = "\xB3\xC9\xB9\xA6";

enum class Icon { None, Information, Stop };

void ExpectBox(const SeenMessageBox& box, const std::string& text, const std::string& caption, Icon icon) {
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.caption, caption);
    EXPECT_EQ(box.owner, nullptr) << "no owner window";
    EXPECT_TRUE(box.othersDisabled) << "task-modal";
    HICON expected = icon == Icon::None          ? nullptr
                     : icon == Icon::Information ? LoadIconA(nullptr, IDI_ASTERISK)
                                                 : LoadIconA(nullptr, IDI_HAND);
    EXPECT_EQ(box.icon, expected);
}

struct Local {
    int year, month, day, hour, minute, second;
};

std::uint64_t ToUtcTicks(const Local& t, int millisecond = 0) {
    SYSTEMTIME calendar{static_cast<WORD>(t.year), static_cast<WORD>(t.month), 0, static_cast<WORD>(t.day),
                        static_cast<WORD>(t.hour), static_cast<WORD>(t.minute), static_cast<WORD>(t.second),
                        static_cast<WORD>(millisecond)};
    FILETIME local, utc;
    SystemTimeToFileTime(&calendar, &local);
    LocalFileTimeToFileTime(&local, &utc);
    return (static_cast<std::uint64_t>(utc.dwHighDateTime) << 32) | utc.dwLowDateTime;
}

std::uint64_t NowUtcTicksTruncated() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    std::uint64_t ticks = (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return ticks - ticks % kTicksPerSecond;
}

class ActionsTest : public MainWindowFixture {
protected:
    void SetText(ControlIndex index, const std::string& text) { SetWindowTextA(Control(index), text.c_str()); }
    void Click(ControlIndex button) {
        SendMessageA(Control(button), BM_CLICK, 0, 0);
        PumpMessages();
    }
    HANDLE Held() { return State().editor().OpenFileHandle; }
    // "打开" with the dialog cancelled: the typed path opens.
    void OpenTyped(const std::string& path) {
        SetText(文件路径, path);
        Click(浏览);
    }
    void SetTimeBoxes(const std::string& creation, const std::string& modification, const std::string& access) {
        SetText(创建时间, creation);
        SetText(修改时间, modification);
        SetText(访问时间, access);
    }

    ModalWatcher watcher_;
    TempFolder folder_;
};

TEST_F(ActionsTest, ChoosingAFileInTheDialogShowsItsPathAndTimesAtOnce) {
    std::string path = folder_.MakeFile("chosen.txt");
    ASSERT_TRUE(SetRawFileTimes(path, ToUtcTicks({1999, 12, 31, 0, 6, 0}), ToUtcTicks({2001, 1, 2, 3, 0, 0}),
                                ToUtcTicks({2013, 9, 5, 14, 6, 5}, 500)));
    watcher_.onOpenDialog = [&](HWND dialog) {
        SetOpenDialogFileName(dialog, path);
        return IDOK;
    };
    Click(浏览);
    EXPECT_EQ(watcher_.openDialogs, 1);
    EXPECT_TRUE(watcher_.boxes.empty());
    EXPECT_EQ(lstrcmpiA(Text(文件路径).c_str(), path.c_str()), 0) << Text(文件路径);
    EXPECT_EQ(Text(修改时间), "2013\xC4\xEA" "9\xD4\xC2" "5\xC8\xD5" "14\xCA\xB1" "6\xB7\xD6" "5\xC3\xEB");
    EXPECT_EQ(Text(访问时间), "2001\xC4\xEA" "1\xD4\xC2" "2\xC8\xD5" "3\xCA\xB1");
    EXPECT_EQ(Text(创建时间), Text(修改时间)) << "Wine keeps no creation time: it reads the last-write time";

    // The dialog remembers the choice: the next showing starts from it.
    std::string shownName;
    watcher_.onOpenDialog = [&](HWND dialog) {
        char name[MAX_PATH] = {};
        GetDlgItemTextA(dialog, 0x47c, name, MAX_PATH);
        shownName = name;
        return IDCANCEL;
    };
    Click(浏览);
    EXPECT_NE(shownName.find("chosen.txt"), std::string::npos) << shownName;
}

TEST_F(ActionsTest, CancellingOpensTheTypedPathOrReportsTheEmptyOne) {
    std::string path = folder_.MakeFile("typed.txt");
    OpenTyped(path);
    EXPECT_EQ(watcher_.openDialogs, 1);
    EXPECT_TRUE(watcher_.boxes.empty());
    EXPECT_NE(Held(), INVALID_HANDLE_VALUE);
    EXPECT_GT(Text(修改时间).size(), 0u);

    OpenTyped("");
    ASSERT_EQ(watcher_.boxes.size(), 1u);
    ExpectBox(watcher_.boxes[0], kOpenFailedHead + kOpenFailedTail, kError, Icon::Information);
    EXPECT_EQ(Held(), INVALID_HANDLE_VALUE);
}

TEST_F(ActionsTest, PathsThatCannotBeOpenedAreReportedAndTheBoxesKeepTheirTexts) {
    std::string locked = folder_.MakeFile("locked.txt");
    HANDLE holder = CreateFileA(locked.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    std::string readOnly = folder_.MakeFile("readonly.txt");
    ASSERT_TRUE(SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    for (const std::string& path : {folder_.File("missing.txt"), folder_.path(), locked, readOnly}) {
        SCOPED_TRACE(path);
        watcher_.boxes.clear();
        SetTimeBoxes("keep 1", "keep 2", "keep 3");
        FileState before = FileStateBeforeAction(path);
        OpenTyped(path);
        ASSERT_EQ(watcher_.boxes.size(), 1u);
        ExpectBox(watcher_.boxes[0], kOpenFailedHead + path + kOpenFailedTail, kError, Icon::Information);
        EXPECT_EQ(Held(), INVALID_HANDLE_VALUE);
        EXPECT_EQ(Text(创建时间) + Text(修改时间) + Text(访问时间), "keep 1keep 2keep 3");
        EXPECT_EQ(FileStateAfterAction(path), before);
    }
    CloseHandle(holder);
}

// The dialog moves the current folder to where the user browses (it is not told to keep it),
// so a relative path is taken from the folder of the last choice.
TEST_F(ActionsTest, ARelativePathOpensFromTheCurrentFolder) {
    std::string chosen = folder_.MakeFile("chosen.txt");
    std::string relative = folder_.MakeFile("relative.txt");
    watcher_.onOpenDialog = [&](HWND dialog) {
        SetOpenDialogFileName(dialog, chosen);
        return IDOK;
    };
    Click(浏览);
    watcher_.onOpenDialog = nullptr;
    ASSERT_TRUE(watcher_.boxes.empty());
    OpenTyped("relative.txt");
    EXPECT_TRUE(watcher_.boxes.empty());
    ASSERT_NE(Held(), INVALID_HANDLE_VALUE);
    SetTimeBoxes("2010-1-1", "2011-1-1", "2012-1-1");
    Click(设置时间);
    EXPECT_EQ(ReadRawFileTimes(relative)->write, ToUtcTicks({2011, 1, 1, 0, 0, 0}));
    EXPECT_NE(ReadRawFileTimes(chosen)->write, ToUtcTicks({2011, 1, 1, 0, 0, 0}));
}

TEST_F(ActionsTest, TypingAnotherPathKeepsActingOnTheOpenedFile) {
    std::string opened = folder_.MakeFile("opened.txt");
    std::string other = folder_.MakeFile("other.txt");
    OpenTyped(opened);
    ASSERT_TRUE(watcher_.boxes.empty());
    SetText(文件路径, other);
    FileState otherBefore = FileStateBeforeAction(other);
    SetTimeBoxes("2010-1-1", "2011-2-2 2:2:2", "2012-3-3 3:3:3");
    Click(设置时间);
    ASSERT_EQ(watcher_.boxes.size(), 1u);
    ExpectBox(watcher_.boxes[0], kWriteSucceeded, kSuccess, Icon::None);
    EXPECT_EQ(ReadRawFileTimes(opened)->write, ToUtcTicks({2011, 2, 2, 2, 2, 2}));
    EXPECT_EQ(ReadRawFileTimes(opened)->access, ToUtcTicks({2012, 3, 3, 3, 3, 3}));
    EXPECT_EQ(FileStateAfterAction(other), otherBefore);
}

TEST_F(ActionsTest, OpeningAgainClosesTheHeldHandleFirst) {
    std::string path = folder_.MakeFile("again.txt");
    OpenTyped(path);
    DWORD handles = LiveKernelHandles();
    for (int again = 0; again < 5; ++again) OpenTyped(path);
    EXPECT_TRUE(watcher_.boxes.empty());
    EXPECT_NE(Held(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(LiveKernelHandles(), handles);
    // A failed open closes the held handle too: the file is free.
    OpenTyped(folder_.File("missing.txt"));
    HANDLE exclusive = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(exclusive, INVALID_HANDLE_VALUE);
    CloseHandle(exclusive);
}

TEST_F(ActionsTest, CurrentTimeThenSetWritesNow) {
    std::string path = folder_.MakeFile("now.txt");
    ASSERT_TRUE(SetRawFileTimes(path, UtcTicks(2000, 1, 1, 0, 0, 0), UtcTicks(2000, 1, 1, 0, 0, 0),
                                UtcTicks(2000, 1, 1, 0, 0, 0)));
    OpenTyped(path);
    std::uint64_t before = NowUtcTicksTruncated();
    Click(系统时间);
    std::uint64_t after = NowUtcTicksTruncated();
    Click(设置时间);
    ASSERT_EQ(watcher_.boxes.size(), 1u);
    ExpectBox(watcher_.boxes[0], kWriteSucceeded, kSuccess, Icon::None);
    auto raw = ReadRawFileTimes(path);
    for (std::uint64_t written : {raw->write, raw->access}) {
        EXPECT_GE(written, before);
        EXPECT_LE(written, after);
        EXPECT_EQ(written % kTicksPerSecond, 0u);
    }
}

TEST_F(ActionsTest, ReadThenSetLeavesTheTimesTruncatedToTheSecond) {
    std::string path = folder_.MakeFile("same.txt");
    const std::uint64_t write = UtcTicks(2013, 9, 5, 6, 7, 8, 789), access = UtcTicks(2014, 10, 11, 12, 13, 14, 15);
    ASSERT_TRUE(SetRawFileTimes(path, write, access, write));
    OpenTyped(path);
    SetTimeBoxes("", "", "");
    Click(取出时间);
    Click(设置时间);
    ASSERT_EQ(watcher_.boxes.size(), 1u);
    ExpectBox(watcher_.boxes[0], kWriteSucceeded, kSuccess, Icon::None);
    auto raw = ReadRawFileTimes(path);
    EXPECT_EQ(raw->write, write - write % kTicksPerSecond);
    EXPECT_EQ(raw->access, access - access % kTicksPerSecond);
}

TEST_F(ActionsTest, EditedTextsLandInTheirTimes) {
    std::string path = folder_.MakeFile("edited.txt");
    OpenTyped(path);
    struct Case {
        const char* modification;
        const char* access;
        Local expectedModification, expectedAccess;
    } cases[] = {
        {"2013\xC4\xEA" "9\xD4\xC2" "5\xC8\xD5" "14\xCA\xB1" "6\xB7\xD6" "5\xC3\xEB", "2013-9-5", {2013, 9, 5, 14, 6, 5},
         {2013, 9, 5, 0, 0, 0}},
        // Full-width digits, hyphens, colons and an ideographic space.
        {"\xA3\xB2\xA3\xB0\xA3\xB1\xA3\xB3\xA3\xAD\xA3\xB0\xA3\xB9\xA3\xAD\xA3\xB0\xA3\xB5\xA1\xA1\xA3\xB1\xA3\xB4\xA3"
         "\xBA\xA3\xB0\xA3\xB6\xA3\xBA\xA3\xB0\xA3\xB5",
         "20130905143005", {2013, 9, 5, 14, 6, 5}, {2013, 9, 5, 14, 30, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.modification);
        watcher_.boxes.clear();
        SetTimeBoxes("2000-1-1", c.modification, c.access);
        Click(设置时间);
        ASSERT_EQ(watcher_.boxes.size(), 1u);
        EXPECT_EQ(watcher_.boxes[0].text, kWriteSucceeded);
        EXPECT_EQ(ReadRawFileTimes(path)->write, ToUtcTicks(c.expectedModification));
        EXPECT_EQ(ReadRawFileTimes(path)->access, ToUtcTicks(c.expectedAccess));
    }
}

// Every failed write: the box, then (once it is closed) the update page; the file untouched.
TEST_F(ActionsTest, FailedWritesReportThenOpenTheUpdatePageAndChangeNothing) {
    const std::string good = "2013-9-5 14:6:5";
    const std::string longText(100 * 1024, '7');
    struct Case {
        const char* what;
        bool open;  // open the file first
        std::string creation, modification, access;
    } cases[] = {
        {"all boxes empty", true, "", "", ""},
        {"one box unparsable", true, good, "2013-2-29", good},
        {"a date before 1601", true, good, good, "1600-12-31 23:59:59"},
        {"100 KB of digits", true, good, good, longText},
        {"a lone GBK lead byte", true, "\xC4", good, good},
        {"before any open", false, good, good, good},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string path = folder_.MakeFile("fail.txt", "unchanged\n");
        if (c.open) OpenTyped(path);
        watcher_.boxes.clear();
        ShellCallRecorder shell;
        size_t pagesAtBox = 99;
        watcher_.onMessageBox = [&](const SeenMessageBox&) { pagesAtBox = shell.calls.size(); };
        FileState before = FileStateBeforeAction(path);
        SetTimeBoxes(c.creation, c.modification, c.access);
        const std::string boxesBefore = Text(创建时间) + "|" + Text(修改时间) + "|" + Text(访问时间);
        Click(设置时间);
        ASSERT_EQ(watcher_.boxes.size(), 1u);
        ExpectBox(watcher_.boxes[0], kWriteFailed, kError, Icon::Stop);
        EXPECT_EQ(pagesAtBox, 0u) << "the page opens after the box is closed";
        ASSERT_EQ(shell.calls.size(), 1u);
        EXPECT_EQ(shell.calls[0].file, kUpdatePageAddress);
        EXPECT_EQ(FileStateAfterAction(path), before);
        EXPECT_EQ(Text(创建时间) + "|" + Text(修改时间) + "|" + Text(访问时间), boxesBefore)
            << "the boxes keep their texts";
        watcher_.onMessageBox = nullptr;
        // Back to "nothing open" for the next row.
        DestroyWindow(window_);
        PumpMessages();
        window_ = MainWindow::Create(GetModuleHandleA(nullptr));
        MainWindow::Show(window_);
    }
}

TEST_F(ActionsTest, AFailedWriteAfterAFailedOpenReachesTheBrowser) {
    OpenTyped(folder_.File("missing.txt"));
    size_t before = BrowserAddresses().size();
    watcher_.boxes.clear();
    SetTimeBoxes("2013-9-5", "2013-9-5", "2013-9-5");
    Click(设置时间);
    ASSERT_EQ(watcher_.boxes.size(), 1u);
    ExpectBox(watcher_.boxes[0], kWriteFailed, kError, Icon::Stop);
    auto addresses = WaitForBrowserAddresses(before + 1);
    ASSERT_EQ(addresses.size(), before + 1);
    EXPECT_EQ(addresses.back(), kUpdatePageAddress);
}

TEST_F(ActionsTest, ReadingWithoutAnOpenFileFails) {
    SetTimeBoxes("a", "b", "c");
    Click(取出时间);
    ASSERT_EQ(watcher_.boxes.size(), 1u);
    ExpectBox(watcher_.boxes[0], kReadFailed, kError, Icon::Stop);
    EXPECT_EQ(Text(创建时间) + Text(修改时间) + Text(访问时间), "abc");
}

TEST_F(ActionsTest, CurrentTimeFillsEachBoxFromTheClock) {
    SYSTEMTIME before, after;
    GetLocalTime(&before);
    Click(系统时间);
    GetLocalTime(&after);
    for (ControlIndex box : {创建时间, 修改时间, 访问时间}) {
        SCOPED_TRACE(kMainWindowLayout[box].name);
        std::string text = Text(box);
        // Year, month and day lead the text.
        char date[32];
        wsprintfA(date, "%d\xC4\xEA%d\xD4\xC2%d\xC8\xD5", before.wYear, before.wMonth, before.wDay);
        char dateAfter[32];
        wsprintfA(dateAfter, "%d\xC4\xEA%d\xD4\xC2%d\xC8\xD5", after.wYear, after.wMonth, after.wDay);
        EXPECT_TRUE(text.rfind(date, 0) == 0 || text.rfind(dateAfter, 0) == 0) << text;
    }
    EXPECT_TRUE(watcher_.boxes.empty());
}

}  // namespace
