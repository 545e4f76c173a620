#pragma once
#include <cstdint>
#include <string>

namespace vedozer {

enum class MsgButtons { Ok, OkCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgAnswer { Ok, Cancel, Abort, Retry, Ignore, Yes, No };

// The one door from the engine to a person. The desktop window, the command line
// and scripted tests each provide one.
class Host {
public:
    virtual ~Host() = default;
    // Called after each item of a long loop; pumps the front end's events.
    virtual void yield() {}
    virtual MsgAnswer messageBox(const std::string& text, const std::string& title, MsgButtons buttons,
                                 MsgIcon icon) = 0;
    // Status captions and progress of long work. `channel` names the label or bar
    // ("lblStatus", "ProgressBar1", ...), so a front end can place it.
    virtual void status(const std::string& channel, const std::string& text) { (void)channel; (void)text; }
    virtual void progress(const std::string& channel, int percent) { (void)channel; (void)percent; }
};

}  // namespace vedozer
