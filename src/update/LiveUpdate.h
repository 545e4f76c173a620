#pragma once
#include <cstdint>
#include <string>

#include "core/Host.h"
#include "i18n/ProductIdentity.h"
#include "platform/FileSystem.h"
#include "platform/Http.h"

namespace vedozer {

class Settings;
class Languages;
struct DefinitionSet;

// What an update check needs: the server, the data folder and the person watching.
struct LiveUpdateContext {
    Http& http;
    FileSystem& dataFiles;
    std::string dataFolder;
    Host& host;
    ProductIdentity identity;
    std::string server;  // "http://host:port" (definitionServerAddress)
    HttpOptions httpOptions = {};
};

enum class UpdateCheckState {
    Unreachable,    // the date request (or the feed request) got no complete reply
    BadServerDate,  // the server's reply is not a date; nothing fetched
    UpToDate,       // the server is not newer than the installed definitions
    NoChanges,      // the feed changed nothing (date.dat left as it was)
    Updated,        // new definitions and date.dat installed together
    Failed,         // the feed could not be applied or installed; no file changed
};

struct UpdateCheckResult {
    UpdateCheckState state = UpdateCheckState::Unreachable;
    int count = 0;              // changes installed (the merge's count), 0 when none
    std::string installedDate;  // before the check, general date format
    std::string serverDate;     // the server's normalised reply
    std::string newDate;        // what date.dat holds after an update
    std::string error;          // why it was not reached or failed
};

// Asks the server for its date and, when it is newer than date.dat, fetches the feed for the
// installed date and merges it. The new definition files and the new date.dat are installed in
// one transaction, after the new-date request (whose reply, when it is not a date, is replaced
// by the server's current date). Status texts go to the host as UpdateProgress; after an update
// the new date + " PST" follows as the Installed phase.
UpdateCheckResult checkForUpdates(LiveUpdateContext& context);

// The merge count of checkForUpdates.
int CheckForUpdates(LiveUpdateContext& context);

enum class LiveUpdateOutcome { Updated, UpToDate, Unreachable, Failed };

struct LiveUpdateReport {
    LiveUpdateOutcome outcome = LiveUpdateOutcome::Unreachable;
    UpdateCheckResult check;
    std::string message;           // MSG_UPDATED_DEFS or MSG_RECENT_DEFS, as the notification shows it
    int32_t definitionTotal = -1;  // recounted after an update, -1 otherwise
};

// The session side of Live Update: the check, then either MSG_RECENT_DEFS, or SHOW and RESTART
// saved as "True", MSG_UPDATED_DEFS and the definitions recounted into the set. The message
// goes to the host as the Finished phase. The front end switches timers and buttons around it.
LiveUpdateReport RunLiveUpdate(LiveUpdateContext& context, Settings& settings, const Languages& messages,
                               DefinitionSet& definitions);

// Exit status of "vedozer update": 0 updated or up to date; 2 when the server could not be
// reached or the update failed (the CLI's error status).
int liveUpdateExitCode(const LiveUpdateReport& report);

// One line for people saying what happened, beyond the notification text ("" when nothing to add).
std::string describeUpdateProblem(const UpdateCheckResult& check);

}  // namespace vedozer
