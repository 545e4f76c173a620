#pragma once
#include <windows.h>

#include <vector>

namespace vedozer::win32ui {

// A DIALOGEX template from the resources with its font replaced by the system message font, so
// dialog units follow the font the person sees (Segoe UI 9 pt on current Windows). Empty when
// the resource is missing or not a DIALOGEX template.
std::vector<BYTE> dialogTemplateWithMessageFont(HINSTANCE module, UINT id, UINT dpi);

// Child page or modeless window from a template (nullptr on failure).
HWND createDialogFromTemplate(UINT id, HWND parent, DLGPROC proc, LPARAM param);
// A modal dialog; returns what EndDialog was given, or -1 when it could not be created.
INT_PTR runModalDialog(UINT id, HWND owner, DLGPROC proc, LPARAM param);

// Puts a window in the middle of its owner (or of the work area when it has none), kept on
// the owner's monitor.
void centreOnOwner(HWND window);

}  // namespace vedozer::win32ui
