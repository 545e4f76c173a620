#pragma once
#include <string>
#include <vector>

namespace vedozer {

// What a question is about. A front end may lay a question out by its kind (a dedicated
// dialog, a default button on the safe choice); its texts always come with it.
enum class QuestionKind {
    DefinitionsMissing,  // a scan found definition files missing (acknowledge)
    PauseScan,           // the scan waits while this is open (acknowledge)
    StopScan,            // stop the running scan?
    NothingSelected,     // removal with no row checked (acknowledge)
    NothingToRemove,     // removal with empty lists (acknowledge)
    ConfirmRemoval,      // remove the checked items?
    NothingToExclude,    // exclusion with empty lists (acknowledge)
    ConfirmExclusion,    // exclude the checked items?
    NoExclusionList,     // the exclusion list was asked for but there is none yet (acknowledge)
    PermissionDenied,    // a machine-wide setting could not be saved: abort, retry or ignore
    RunningThreat,       // the memory shield met a listed program: Yes stops it, No allows it, Cancel decides later
    HomePageChanged,     // the start page changed: Yes puts the remembered one back, No keeps the new one, Cancel asks later
    StopSendingData,     // turning anonymous data off: really?
    UpdateNow,           // run Live Update now?
    UpdateUrls,          // the definition pages (acknowledge)
    ConfirmRestorePoint, // put the registry back as a restore point holds it?
    AllowAnonymousData,  // may anonymous data be sent? (asked once; the answer is kept)
};

enum class Buttons { Ok, OkCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
enum class QuestionIcon { None, Critical, Question, Exclamation, Information };
enum class Answer { Ok, Cancel, Abort, Retry, Ignore, Yes, No };

// A modal question to the person at the front end. Title and text come from the message
// catalogue (the title is the program name unless the catalogue names another).
struct Question {
    QuestionKind kind;
    std::string title;
    std::string text;
    Buttons buttons = Buttons::Ok;
    QuestionIcon icon = QuestionIcon::None;
    // What a dedicated dialog shows in labels of its own, in an order its kind fixes:
    // RunningThreat: file name, company name; HomePageChanged: remembered page, current page.
    std::vector<std::string> subjects = {};
};

// The answer a front end gives when it cannot ask anyone: the one that changes nothing.
Answer safeAnswer(Buttons buttons);
// The answer that agrees and goes on (Yes, Ok, Ignore; Cancel where only retrying would agree).
Answer agreeingAnswer(Buttons buttons);

}  // namespace vedozer
