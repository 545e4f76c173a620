#include "ui/win32/Icons.h"

#include <initializer_list>

#include "ui/win32/Dpi.h"
#include "ui/win32/Resource.h"

namespace vedozer::win32ui {

HICON loadIconAt(int resourceId, int pixels) {
    return static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId), IMAGE_ICON, pixels, pixels, LR_DEFAULTCOLOR));
}

int smallIconSize(UINT dpi) { return scaled(16, dpi); }

HIMAGELIST createKindImageList(UINT dpi) {
    const int size = smallIconSize(dpi);
    HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, static_cast<int>(KindImage::Count), 0);
    for (int id : {IDI_KIND_COOKIE, IDI_KIND_PROCESS, IDI_KIND_REGISTRY, IDI_KIND_FILE, IDI_KIND_FOLDER,
                   IDI_KIND_EXCLUDED}) {
        HICON icon = loadIconAt(id, size);
        ImageList_AddIcon(list, icon);
        DestroyIcon(icon);
    }
    return list;
}

}  // namespace vedozer::win32ui
