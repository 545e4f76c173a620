#pragma once
#include "app/presenters/DesktopTypes.h"

namespace vedozer {

// What a page presenter may ask of the main window.
class Navigator {
public:
    virtual ~Navigator() = default;
    virtual void showPage(Page page) = 0;
    virtual void setCommandEnabled(MainCommand command, bool enabled) = 0;
    // The status page and the header band show the session's state again.
    virtual void refreshStatus() = 0;
};

}  // namespace vedozer
