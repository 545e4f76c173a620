#include "core/Question.h"

namespace vedozer {

Answer safeAnswer(Buttons buttons) {
    switch (buttons) {
        case Buttons::Ok: return Answer::Ok;
        case Buttons::AbortRetryIgnore: return Answer::Abort;
        case Buttons::YesNo: return Answer::No;
        case Buttons::OkCancel:
        case Buttons::YesNoCancel:
        case Buttons::RetryCancel: return Answer::Cancel;
    }
    return Answer::Cancel;
}

Answer agreeingAnswer(Buttons buttons) {
    switch (buttons) {
        case Buttons::Ok:
        case Buttons::OkCancel: return Answer::Ok;
        case Buttons::AbortRetryIgnore: return Answer::Ignore;
        case Buttons::YesNoCancel:
        case Buttons::YesNo: return Answer::Yes;
        case Buttons::RetryCancel: return Answer::Cancel;  // agreeing to retry forever would never end
    }
    return Answer::Ok;
}

}  // namespace vedozer
