// A planted program for the process tests: runs until it is stopped (at most five minutes).
#include <windows.h>

int main() {
    Sleep(300000);
    return 0;
}
