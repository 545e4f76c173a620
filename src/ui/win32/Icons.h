#pragma once
#include <windows.h>
#include <commctrl.h>

namespace vedozer::win32ui {

// An icon resource at a pixel size (the .ico holds several; the closest one is taken).
// The caller destroys it with DestroyIcon.
HICON loadIconAt(int resourceId, int pixels);

// Small icon size for a DPI (16 px at 96 DPI).
int smallIconSize(UINT dpi);

// The kind icons of the result lists, in this order (the list's image indexes).
enum class KindImage { Cookie, Process, Registry, File, Folder, Excluded, Count };
// An image list holding the kind icons at the small icon size of the DPI.
HIMAGELIST createKindImageList(UINT dpi);

}  // namespace vedozer::win32ui
