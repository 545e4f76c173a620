#include "update/LiveUpdate.h"

#include "definitions/DefinitionFiles.h"
#include "i18n/MessageKeys.h"
#include "i18n/Languages.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"
#include "update/DefinitionUpdateMerge.h"
#include "update/FeedSignature.h"
#include "update/ServerDate.h"
#include "update/UpdateTransaction.h"
#include "update/UpdateUrls.h"
#include "update/UrlFetch.h"

namespace vedozer {

UpdateCheckResult checkForUpdates(LiveUpdateContext& c) {
    UpdateCheckResult result;
    Host& host = c.host;
    const UpdateUrls urls = buildUpdateUrls(c.server, c.identity);
    host.onUpdateProgress(
        UpdateProgress{UpdatePhase::Connecting, "Connecting to the definition server, please wait.", 0});
    host.yield();

    RecoveryResult recovered = recoverDefinitionUpdate(c.dataFiles, c.dataFolder);
    if (recovered.action == RecoveryAction::Failed) {
        result.state = UpdateCheckState::Failed;
        result.error = recovered.error;
        return result;
    }

    // With the server's key in the data folder, only replies it signed are taken.
    const SignedReplies replies = SignedReplies::load(c.dataFiles, c.dataFolder);
    auto refuse = [&](const std::string& why) {
        result.state = UpdateCheckState::Failed;
        result.error = why;
        return result;
    };
    if (!replies.error().empty()) return refuse(replies.error());

    // A date.dat that is not a date counts as the default date, like a missing one.
    DateValue installed = *ParseGeneralDate(kDefaultDefinitionDate);
    if (auto d = ParseGeneralDate(ReadDefinitionDate(c.dataFiles, c.dataFolder))) installed = *d;
    result.installedDate = FormatGeneralDate(installed);

    FetchOutcome dateReply = fetchUrl(c.http, urls.currentDate, host, true, c.httpOptions);
    if (!dateReply.reached) {
        result.state = UpdateCheckState::Unreachable;
        result.error = dateReply.error;
        return result;
    }
    std::string dateText;
    if (!replies.date(dateReply.text, dateText, result.error)) return refuse(result.error);
    result.serverDate = NormaliseServerDate(dateText);
    auto server = ParseGeneralDate(result.serverDate);
    if (!server) {
        result.state = UpdateCheckState::BadServerDate;
        result.error = "the server's date is not a date: \"" + result.serverDate.substr(0, 80) + "\"";
        return result;
    }
    if (!(*server > installed)) {
        result.state = UpdateCheckState::UpToDate;
        return result;
    }

    FetchOutcome feed = fetchUrl(c.http, urls.feed + FormatGeneralDate(installed), host, true, c.httpOptions);
    if (!feed.reached) {
        result.state = UpdateCheckState::Unreachable;
        result.error = "the update feed could not be fetched: " + feed.error;
        return result;
    }

    std::string_view records;
    std::optional<DateValue> reached;
    if (!replies.feed(feed.text, FormatGeneralDate(installed), records, reached, result.error))
        return refuse(result.error);
    if (reached && *reached < *server)
        return refuse("the signed update feed reaches only " + FormatGeneralDate(*reached) + ", not the server's date");

    UpdateTransaction tx(c.dataFiles, c.dataFolder);
    MergeResult merged = stageDefinitionUpdate(tx, c.dataFiles, c.dataFolder, records, host);
    if (!merged.ok) {
        result.state = UpdateCheckState::Failed;
        result.error = merged.error;
        return result;
    }
    if (merged.count > 0) {
        DateValue newDate = *server;
        FetchOutcome reply = fetchUrl(c.http, urls.newDate, host, false, c.httpOptions);
        std::string replyText;
        if (reply.reached && !replies.date(reply.text, replyText, result.error)) {
            tx.rollback();
            return refuse(result.error);
        }
        if (reply.reached) {
            if (auto d = ParseGeneralDate(NormaliseServerDate(replyText))) newDate = *d;
        }
        // What a signed feed reaches is what is installed, even if the server moved on meanwhile.
        if (reached && newDate > *reached) newDate = *reached;
        result.newDate = FormatGeneralDate(newDate);
        if (!tx.stageText(kDateFile, result.newDate + "\r\n")) {
            tx.rollback();
            result.state = UpdateCheckState::Failed;
            result.error = "the new date.dat could not be written";
            return result;
        }
    }
    std::string error;
    if (!tx.commit(error)) {
        result.state = UpdateCheckState::Failed;
        result.error = error;
        result.newDate.clear();
        return result;
    }
    result.count = merged.count;
    if (merged.count > 0) {
        result.state = UpdateCheckState::Updated;
        host.onUpdateProgress(UpdateProgress{UpdatePhase::Installed, result.newDate + " PST", 0});
    } else {
        result.state = UpdateCheckState::NoChanges;
    }
    return result;
}

int CheckForUpdates(LiveUpdateContext& context) { return checkForUpdates(context).count; }

LiveUpdateReport RunLiveUpdate(LiveUpdateContext& context, Settings& settings, const Languages& messages,
                               DefinitionSet& definitions) {
    LiveUpdateReport report;
    report.check = checkForUpdates(context);
    if (report.check.count < 1) {
        report.message = messages.getMessages(msg::MSG_RECENT_DEFS);
        context.host.onUpdateProgress(UpdateProgress{UpdatePhase::Finished, report.message, 0});
        switch (report.check.state) {
        case UpdateCheckState::Unreachable:
            report.outcome = LiveUpdateOutcome::Unreachable;
            break;
        case UpdateCheckState::BadServerDate:
        case UpdateCheckState::Failed:
            report.outcome = LiveUpdateOutcome::Failed;
            break;
        default:
            report.outcome = LiveUpdateOutcome::UpToDate;
        }
        return report;
    }
    settings.save(skey::OptionAndSettings, skey::SHOW, "True");
    settings.save(skey::OptionAndSettings, skey::RESTART, "True");
    report.outcome = LiveUpdateOutcome::Updated;
    report.message = messages.getMessages(msg::MSG_UPDATED_DEFS);
    context.host.onUpdateProgress(UpdateProgress{UpdatePhase::Finished, report.message, 0});
    if (definitions.dataFolder.empty()) definitions.dataFolder = context.dataFolder;
    report.definitionTotal = CountDefinitions(context.dataFiles, definitions);
    return report;
}

int liveUpdateExitCode(const LiveUpdateReport& report) {
    switch (report.outcome) {
    case LiveUpdateOutcome::Updated:
    case LiveUpdateOutcome::UpToDate:
        return 0;
    default:
        return 2;
    }
}

std::string describeUpdateProblem(const UpdateCheckResult& check) {
    switch (check.state) {
    case UpdateCheckState::Unreachable:
        return "The definition server could not be reached: " + check.error;
    case UpdateCheckState::BadServerDate:
        return "The definition server gave no usable date: " + check.error;
    case UpdateCheckState::Failed:
        return "The update was not installed: " + check.error;
    default:
        return "";
    }
}

}  // namespace vedozer
