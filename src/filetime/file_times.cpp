#include "file_times.h"

#include <cstdint>

namespace file_times_detail {
SetFileTimeFunction SetFileTimeCall = SetFileTime;
}

namespace {

// The working records of one time stamp, zero-filled.
struct TimeRecords {
    FILETIME utc{};
    FILETIME local{};
    SYSTEMTIME calendar{};
};

std::int64_t FileTimeCount(const FILETIME& time) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) |
                                     time.dwLowDateTime);
}

// UTC file time → local calendar time → DateTime, truncated to the second.
bool ReadOne(TimeRecords& records, DateTime& out) {
    if (!FileTimeToLocalFileTime(&records.utc, &records.local)) return false;
    if (!FileTimeToSystemTime(&records.local, &records.calendar)) return false;
    const SYSTEMTIME& c = records.calendar;
    out = MakeDateTime(c.wYear, c.wMonth, c.wDay, c.wHour, c.wMinute, c.wSecond);
    return true;
}

// DateTime → local calendar time → UTC file time.
bool ConvertOne(DateTime value, TimeRecords& records) {
    SYSTEMTIME& c = records.calendar;
    c.wYear = static_cast<WORD>(GetDateTimePart(value, kYear));
    c.wMonth = static_cast<WORD>(GetDateTimePart(value, kMonth));
    c.wDay = static_cast<WORD>(GetDateTimePart(value, kDay));
    c.wHour = static_cast<WORD>(GetDateTimePart(value, kHour));
    c.wMinute = static_cast<WORD>(GetDateTimePart(value, kMinute));
    c.wSecond = static_cast<WORD>(GetDateTimePart(value, kSecond));
    if (!SystemTimeToFileTime(&c, &records.local)) return false;
    if (!LocalFileTimeToFileTime(&records.local, &records.utc)) return false;
    // SetFileTime takes an all-zero time as "leave unchanged", and a local time just after
    // 1601-01-01 east of UTC comes out below zero: neither can be written, and writing the
    // others alone would report a partial change as success.
    return FileTimeCount(records.utc) > 0;
}

}  // namespace

HANDLE OpenFileForTimes(const char* path) {
    return CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                       nullptr);
}

bool ReadFileTimes(HANDLE file, DateTime& creation, bool creationWanted, DateTime& modification,
                   bool modificationWanted, DateTime& access, bool accessWanted) {
    TimeRecords creationRecords, accessRecords, writeRecords;
    if (!GetFileTime(file, &creationRecords.utc, &accessRecords.utc, &writeRecords.utc)) return false;
    if (creationWanted && !ReadOne(creationRecords, creation)) return false;
    if (accessWanted && !ReadOne(accessRecords, access)) return false;
    if (modificationWanted && !ReadOne(writeRecords, modification)) return false;
    return true;
}

bool WriteFileTimes(HANDLE file, DateTime creation, bool creationWanted, DateTime modification,
                    bool modificationWanted, DateTime access, bool accessWanted) {
    TimeRecords creationRecords, writeRecords, accessRecords;
    if (creationWanted && !ConvertOne(creation, creationRecords)) return false;
    if (modificationWanted && !ConvertOne(modification, writeRecords)) return false;
    if (accessWanted && !ConvertOne(access, accessRecords)) return false;
    return file_times_detail::SetFileTimeCall(file, &creationRecords.utc, &accessRecords.utc,
                                              &writeRecords.utc) != 0;
}

bool CloseFileHandle(HANDLE file) {
    return CloseHandle(file) != 0;
}
