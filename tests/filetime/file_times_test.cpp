// File time access on real files in a temporary folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <bit>
#include <cstdlib>
#include <string>
#include <vector>

#include "datetime.h"
#include "file_times.h"
#include "win_test.h"

using namespace wintest;

namespace {

struct Fields {
    int year, month, day, hour, minute, second;
};

DateTime Local(const Fields& f) { return MakeDateTime(f.year, f.month, f.day, f.hour, f.minute, f.second); }

// The UTC file time that Windows makes of local fields (the zone's current offset).
std::uint64_t LocalToUtcTicks(const Fields& f, int millisecond = 0) {
    SYSTEMTIME calendar{static_cast<WORD>(f.year), static_cast<WORD>(f.month), 0, static_cast<WORD>(f.day),
                        static_cast<WORD>(f.hour), static_cast<WORD>(f.minute), static_cast<WORD>(f.second),
                        static_cast<WORD>(millisecond)};
    FILETIME local, utc;
    EXPECT_TRUE(SystemTimeToFileTime(&calendar, &local));
    EXPECT_TRUE(LocalFileTimeToFileTime(&local, &utc));
    return (static_cast<std::uint64_t>(utc.dwHighDateTime) << 32) | utc.dwLowDateTime;
}

std::uint64_t Ticks(const FILETIME& time) {
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// Unix nanoseconds of a UTC file time.
std::int64_t UnixNanos(std::uint64_t ticks) {
    constexpr std::int64_t kUnixEpochTicks = 116444736000000000;
    return (static_cast<std::int64_t>(ticks) - kUnixEpochTicks) * 100;
}

class OpenFile {
public:
    explicit OpenFile(const std::string& path) : handle_(OpenFileForTimes(path.c_str())) {}
    ~OpenFile() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseFileHandle(handle_);
    }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

// Records what reaches SetFileTime, in Windows' order, and passes it on.
struct SetFileTimeRecorder {
    static inline std::vector<std::uint64_t> seen;
    static BOOL WINAPI Record(HANDLE file, const FILETIME* creation, const FILETIME* access, const FILETIME* write) {
        seen = {Ticks(*creation), Ticks(*access), Ticks(*write)};
        return SetFileTime(file, creation, access, write);
    }
    SetFileTimeRecorder() {
        seen.clear();
        file_times_detail::SetFileTimeCall = Record;
    }
    ~SetFileTimeRecorder() { file_times_detail::SetFileTimeCall = SetFileTime; }
};

bool SameBits(DateTime a, DateTime b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

class FileTimesTest : public ::testing::Test {
protected:
    TempFolder folder_;
};

TEST_F(FileTimesTest, EachTimeLandsInItsOwnSlot) {
    std::string path = folder_.MakeFile("order.txt");
    const Fields creation{2001, 2, 3, 4, 5, 6}, modification{2011, 12, 13, 14, 15, 16}, access{2021, 7, 8, 9, 10, 11};
    SetFileTimeRecorder recorder;
    {
        OpenFile file(path);
        ASSERT_NE(file.get(), INVALID_HANDLE_VALUE);
        ASSERT_TRUE(WriteFileTimes(file.get(), Local(creation), true, Local(modification), true, Local(access), true));
    }
    // Wine on Linux keeps no creation time (it reads back the last-write time), so the
    // creation value's place is checked where it is handed to SetFileTime.
    ASSERT_EQ(recorder.seen.size(), 3u);
    EXPECT_EQ(recorder.seen[0], LocalToUtcTicks(creation));
    EXPECT_EQ(recorder.seen[1], LocalToUtcTicks(access));
    EXPECT_EQ(recorder.seen[2], LocalToUtcTicks(modification));

    auto raw = ReadRawFileTimes(path);
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->write, LocalToUtcTicks(modification));
    EXPECT_EQ(raw->access, LocalToUtcTicks(access));
    auto unixTimes = StatUnixTimes(path);
    ASSERT_TRUE(unixTimes) << "stat(1) of " << UnixPath(path);
    EXPECT_EQ(unixTimes->modification, UnixNanos(LocalToUtcTicks(modification)));
    EXPECT_EQ(unixTimes->access, UnixNanos(LocalToUtcTicks(access)));

    DateTime readCreation = 0, readModification = 0, readAccess = 0;
    OpenFile file(path);
    ASSERT_TRUE(ReadFileTimes(file.get(), readCreation, true, readModification, true, readAccess, true));
    EXPECT_TRUE(SameBits(readModification, Local(modification)));
    EXPECT_TRUE(SameBits(readAccess, Local(access)));
}

TEST_F(FileTimesTest, ReadsTruncatedToTheSecondAndWritesWholeSeconds) {
    std::string path = folder_.MakeFile("fraction.txt");
    const Fields at{2013, 9, 5, 12, 34, 56};
    ASSERT_TRUE(SetRawFileTimes(path, LocalToUtcTicks(at, 789), LocalToUtcTicks(at, 789), LocalToUtcTicks(at, 789)));
    OpenFile file(path);
    DateTime creation = 0, modification = 0, access = 0;
    ASSERT_TRUE(ReadFileTimes(file.get(), creation, true, modification, true, access, true));
    for (DateTime value : {creation, modification, access}) EXPECT_TRUE(SameBits(value, Local(at))) << value;

    ASSERT_TRUE(WriteFileTimes(file.get(), creation, true, modification, true, access, true));
    auto raw = ReadRawFileTimes(path);
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->write, LocalToUtcTicks(at, 0));
    EXPECT_EQ(raw->access, LocalToUtcTicks(at, 0));
}

TEST_F(FileTimesTest, OnlyWantedTimesAreDeliveredAndWritten) {
    std::string path = folder_.MakeFile("wanted.txt");
    const Fields before{2010, 1, 1, 10, 0, 0}, after{2015, 6, 6, 6, 6, 6};
    ASSERT_TRUE(SetRawFileTimes(path, LocalToUtcTicks(before), LocalToUtcTicks(before), LocalToUtcTicks(before)));
    OpenFile file(path);
    SetFileTimeRecorder recorder;
    // Only the last access: the other two slots get an all-zero time, "leave unchanged".
    ASSERT_TRUE(WriteFileTimes(file.get(), Local(after), false, Local(after), false, Local(after), true));
    EXPECT_EQ(recorder.seen, (std::vector<std::uint64_t>{0, LocalToUtcTicks(after), 0}));
    auto raw = ReadRawFileTimes(path);
    EXPECT_EQ(raw->write, LocalToUtcTicks(before));
    EXPECT_EQ(raw->access, LocalToUtcTicks(after));

    const DateTime untouched = 12345.0;
    DateTime creation = untouched, modification = untouched, access = untouched;
    ASSERT_TRUE(ReadFileTimes(file.get(), creation, false, modification, true, access, false));
    EXPECT_EQ(creation, untouched);
    EXPECT_EQ(access, untouched);
    EXPECT_TRUE(SameBits(modification, Local(before)));
}

// Each failure leaves the file's three times and its content as they were.
TEST_F(FileTimesTest, FailedWritesChangeNothing) {
    const DateTime good = MakeDateTime(2013, 9, 5, 14, 6, 5);
    struct Case {
        const char* what;
        DateTime creation, modification, access;
    } cases[] = {
        {"creation before 1601", MakeDateTime(1600, 12, 31, 23, 59, 59), good, good},
        {"modification before 1601", good, MakeDateTime(1000, 1, 1, 0, 0, 0), good},
        {"access is the parse failure value", good, good, -657434.0},
        {"all three before 1601", -657434.0, -657434.0, -657434.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string path = folder_.MakeFile("unchanged.txt", "keep me\n");
        ASSERT_TRUE(SetRawFileTimes(path, UtcTicks(2005, 5, 5, 5, 5, 5, 555), UtcTicks(2006, 6, 6, 6, 6, 6, 666),
                                    UtcTicks(2007, 7, 7, 7, 7, 7, 777)));
        FileState before = FileStateBeforeAction(path);
        SetFileTimeRecorder recorder;
        {
            OpenFile file(path);
            ASSERT_NE(file.get(), INVALID_HANDLE_VALUE);
            EXPECT_FALSE(WriteFileTimes(file.get(), c.creation, true, c.modification, true, c.access, true));
        }
        EXPECT_TRUE(recorder.seen.empty()) << "SetFileTime was called";
        EXPECT_EQ(FileStateAfterAction(path), before);
    }
}

TEST_F(FileTimesTest, NoFileHandleFailsBothWays) {
    for (HANDLE handle : {HANDLE(nullptr), INVALID_HANDLE_VALUE}) {
        SCOPED_TRACE(handle ? "INVALID_HANDLE_VALUE" : "0");
        DateTime creation = 0, modification = 0, access = 0;
        EXPECT_FALSE(ReadFileTimes(handle, creation, true, modification, true, access, true));
        const DateTime value = MakeDateTime(2013, 9, 5);
        EXPECT_FALSE(WriteFileTimes(handle, value, true, value, true, value, true));
    }
}

TEST_F(FileTimesTest, OpenRefusesWhatItCannotWrite) {
    std::string held = folder_.MakeFile("held.txt");
    HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    std::string readOnly = folder_.MakeFile("readonly.txt");
    ASSERT_TRUE(SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    std::string tooLong = folder_.path() + "\\" + std::string(300, 'x') + ".txt";

    struct Case {
        const char* what;
        std::string path;
    } cases[] = {
        {"missing file", folder_.File("missing.txt")},
        {"a folder", folder_.path()},
        {"empty path", ""},
        {"held open without write sharing", held},
        {"read-only file", readOnly},
        {"longer than MAX_PATH", tooLong},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FileState before = FileStateBeforeAction(c.path);
        HANDLE file = OpenFileForTimes(c.path.c_str());
        EXPECT_EQ(file, INVALID_HANDLE_VALUE);
        if (file != INVALID_HANDLE_VALUE) CloseFileHandle(file);
        EXPECT_EQ(FileStateAfterAction(c.path), before);
    }
    CloseHandle(holder);
}

TEST_F(FileTimesTest, OpensRelativeAndGbkPaths) {
    std::string gbkName = "\xB2\xE2\xCA\xD4\xCE\xC4\xBC\xFE.txt";  // 测试文件.txt
    folder_.MakeFile(gbkName);
    folder_.MakeFile("relative.txt");
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(folder_.path().c_str()));
    for (const std::string& path : {std::string("relative.txt"), gbkName, folder_.File(gbkName)}) {
        SCOPED_TRACE(path);
        OpenFile file(path);
        EXPECT_NE(file.get(), INVALID_HANDLE_VALUE);
        DateTime creation = 0, modification = 0, access = 0;
        EXPECT_TRUE(ReadFileTimes(file.get(), creation, true, modification, true, access, true));
    }
    SetCurrentDirectoryA(previous);
}

TEST_F(FileTimesTest, WhileOpenOthersMayReadAndWriteButNotDeleteOrRename) {
    std::string path = folder_.MakeFile("shared.txt", "abc");
    OpenFile file(path);
    ASSERT_NE(file.get(), INVALID_HANDLE_VALUE);
    HANDLE other = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    DWORD done = 0;
    EXPECT_TRUE(WriteFile(other, "xyz", 3, &done, nullptr));
    CloseHandle(other);
    EXPECT_EQ(ReadContent(path), "xyz");
    EXPECT_FALSE(DeleteFileA(path.c_str()));
    EXPECT_FALSE(MoveFileA(path.c_str(), folder_.File("renamed.txt").c_str()));
    EXPECT_EQ(GetFileAttributesA(folder_.File("renamed.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

// ---- cases that need a particular time zone: run with TZ set (see the CMake list) ----

// The zone's offset in force now, in minutes east of UTC.
int CurrentOffsetMinutes() {
    TIME_ZONE_INFORMATION zone;
    DWORD state = GetTimeZoneInformation(&zone);
    return -(zone.Bias + (state == TIME_ZONE_ID_DAYLIGHT ? zone.DaylightBias : zone.StandardBias));
}

void ExpectZone(const char* name, int offsetMinutesNow) {
    const char* tz = std::getenv("TZ");
    ASSERT_TRUE(tz && std::string(tz) == name) << "run this case with TZ=" << name;
    ASSERT_EQ(CurrentOffsetMinutes(), offsetMinutesNow);
}

TEST(InZoneWithDaylightSaving, FileTimesUseTheOffsetInForceNowBothWays) {
    TIME_ZONE_INFORMATION zone;
    bool summerNow = GetTimeZoneInformation(&zone) == TIME_ZONE_ID_DAYLIGHT;
    ExpectZone("Europe/Berlin", summerNow ? 120 : 60);
    // A time from the other season.
    const std::uint64_t utc = summerNow ? UtcTicks(2013, 1, 15, 12, 0, 0) : UtcTicks(2013, 7, 15, 12, 0, 0);
    SYSTEMTIME utcCalendar, byDateRule;
    FILETIME utcTime{static_cast<DWORD>(utc), static_cast<DWORD>(utc >> 32)};
    FileTimeToSystemTime(&utcTime, &utcCalendar);
    SystemTimeToTzSpecificLocalTime(nullptr, &utcCalendar, &byDateRule);
    const int hourNow = 12 + CurrentOffsetMinutes() / 60;
    ASSERT_NE(byDateRule.wHour, hourNow) << "the date's own rule gives another hour";

    TempFolder folder;
    std::string path = folder.MakeFile("season.txt");
    ASSERT_TRUE(SetRawFileTimes(path, utc, utc, utc));
    OpenFile file(path);
    DateTime creation = 0, modification = 0, access = 0;
    ASSERT_TRUE(ReadFileTimes(file.get(), creation, true, modification, true, access, true));
    EXPECT_TRUE(SameBits(modification, MakeDateTime(2013, summerNow ? 1 : 7, 15, hourNow, 0, 0)));
    ASSERT_TRUE(WriteFileTimes(file.get(), creation, true, modification, true, access, true));
    auto raw = ReadRawFileTimes(path);
    EXPECT_EQ(raw->write, utc);
    EXPECT_EQ(raw->access, utc);
}

// The earliest local times whose UTC file time is not a positive count cannot be written:
// SetFileTime would take 0 as "leave unchanged", a negative count wraps.
void ExpectEarliestLocalTimeRefused(const Fields& refused, const Fields& accepted) {
    TempFolder folder;
    std::string path = folder.MakeFile("early.txt", "early\n");
    FileState before = FileStateBeforeAction(path);
    const DateTime good = MakeDateTime(2013, 9, 5, 14, 6, 5);
    SetFileTimeRecorder recorder;
    {
        OpenFile file(path);
        EXPECT_FALSE(WriteFileTimes(file.get(), Local(refused), true, good, true, good, true));
        EXPECT_FALSE(WriteFileTimes(file.get(), good, true, good, true, Local(refused), true));
    }
    EXPECT_TRUE(recorder.seen.empty());
    EXPECT_EQ(FileStateAfterAction(path), before);
    OpenFile file(path);
    EXPECT_TRUE(WriteFileTimes(file.get(), Local(accepted), true, good, true, good, true));
}

TEST(InZoneUtc, MidnightOf1601IsRefused) {
    ExpectZone("UTC", 0);
    ExpectEarliestLocalTimeRefused({1601, 1, 1, 0, 0, 0}, {1601, 1, 1, 0, 0, 1});
}

TEST(InZoneEastOfUtc, TheFirstHoursOf1601AreRefused) {
    ExpectZone("Asia/Shanghai", 480);
    ExpectEarliestLocalTimeRefused({1601, 1, 1, 2, 0, 0}, {1601, 1, 1, 8, 0, 1});
}

}  // namespace
