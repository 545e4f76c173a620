#include "ui/win32/TestClock.h"

namespace vedozer::win32ui {

TestClock::TestClock(int64_t aheadSeconds, uint32_t rate)
    : m_aheadSeconds(aheadSeconds), m_rate(rate ? rate : 1), m_start(GetTickCount64()) {}

LocalTime TestClock::now() {
    FILETIME utc;
    GetSystemTimeAsFileTime(&utc);
    ULARGE_INTEGER t{};
    t.LowPart = utc.dwLowDateTime;
    t.HighPart = utc.dwHighDateTime;
    // 100-nanosecond units: the offset, and the time since the start passing rate times as fast.
    const int64_t extraMillis =
        m_aheadSeconds * 1000 + static_cast<int64_t>(GetTickCount64() - m_start) * (m_rate - 1);
    t.QuadPart += static_cast<ULONGLONG>(extraMillis * 10000);
    utc.dwLowDateTime = t.LowPart;
    utc.dwHighDateTime = t.HighPart;
    FILETIME local;
    SYSTEMTIME s;
    FileTimeToLocalFileTime(&utc, &local);
    FileTimeToSystemTime(&local, &s);
    return LocalTime{s.wYear, s.wMonth, s.wDay, s.wHour, s.wMinute, s.wSecond, s.wDayOfWeek};
}

}  // namespace vedozer::win32ui
