// The file time editor's only contact with the chosen file: open it for writing, read and
// write its three time stamps as local DateTime values, close it. Each operation is a short,
// fixed sequence of kernel32 calls that stops at the first failure and never shows anything.
// The times travel in the order creation, modification (last write), last access.
#pragma once

#include <windows.h>

#include "datetime.h"

// Returns: CreateFileA's result unchanged (INVALID_HANDLE_VALUE when the open failed).
HANDLE OpenFileForTimes(const char* path);

// Returns: true when every step succeeded; on false the out values must not be used.
bool ReadFileTimes(HANDLE file, DateTime& creation, bool creationWanted, DateTime& modification,
                   bool modificationWanted, DateTime& access, bool accessWanted);

// Returns: true when the file's times were set. A time that has no file time (before
// 1601-01-01 00:00:00 UTC) fails the whole write and changes nothing.
bool WriteFileTimes(HANDLE file, DateTime creation, bool creationWanted, DateTime modification,
                    bool modificationWanted, DateTime access, bool accessWanted);

// Returns: CloseHandle's result.
bool CloseFileHandle(HANDLE file);

namespace file_times_detail {
// The kernel32 calls that take the three times in Windows' order (creation, last access,
// last write). Tests put a recorder in front of them to see which slot gets which value,
// something Wine cannot show for the creation time.
using SetFileTimeFunction = BOOL(WINAPI*)(HANDLE, const FILETIME*, const FILETIME*, const FILETIME*);
extern SetFileTimeFunction SetFileTimeCall;
}  // namespace file_times_detail
