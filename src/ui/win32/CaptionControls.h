#pragma once
#include "i18n/Captions.h"

namespace vedozer::win32ui {

// Which control of a window shows a caption: each page keeps a table of these.
struct CaptionControl {
    CaptionId caption;
    int control;
};

}  // namespace vedozer::win32ui
