#pragma once
#include "core/Events.h"
#include "core/Question.h"

namespace vedozer {

// The toolkit's modal message boxes and its event loop, as the engine's Host needs them.
class DialogView {
public:
    virtual ~DialogView() = default;

    // A modal message box centred on the main window, titled and worded as the question says,
    // with its buttons and icon. The default button (Enter) is safeAnswer(question.buttons), the
    // choice that changes nothing; Esc or closing the box gives it too. Returns the button
    // pressed. The loop beneath (a scan, a removal) waits while the box is open.
    virtual Answer ask(const Question& question) = 0;

    // Something to read that needs no answer (a step that failed, a problem found at start).
    virtual void showNotice(const Notice& notice) = 0;

    // Runs the window events that are waiting (clicks, timers, repaints) and returns at once.
    // Called after every item of a long loop, so the windows stay responsive during a scan.
    virtual void pumpEvents() = 0;
};

}  // namespace vedozer
