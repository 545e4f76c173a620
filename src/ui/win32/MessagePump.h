#pragma once
#include <windows.h>

namespace vedozer::win32ui {

// Top-level windows whose keyboard handling (Tab, mnemonics, Enter, Esc) runs through
// IsDialogMessage: modeless dialogs and the main window with its page dialogs.
void addKeyboardNavigation(HWND topLevel);
void removeKeyboardNavigation(HWND topLevel);

// Runs every message waiting in the queue, then returns. This is the engine's yield during long
// work, so the windows keep repainting, moving and resizing and Pause and Stop can be clicked.
// Once WM_QUIT was seen it stays posted for the outer loop and this returns false.
bool pumpPendingMessages();

// The program's loop until WM_QUIT; returns the exit code it carried.
int runMessageLoop();

}  // namespace vedozer::win32ui
