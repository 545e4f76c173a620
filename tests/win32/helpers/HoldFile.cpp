// Keeps a file open without letting anyone delete it (no FILE_SHARE_DELETE) until it is stopped,
// at most five minutes: a file a removal cannot take away.
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    HANDLE file = CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    Sleep(300000);
    CloseHandle(file);
    return 0;
}
