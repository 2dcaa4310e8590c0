// The local wall clock on Windows. GetLocalTime covers every date the system clock can
// show (1601 to 30827), not only the 1970 to 2038 span of a 32-bit time_t.
#include <windows.h>

#include "datetime.h"

CalendarFields ReadLocalWallClock() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}
