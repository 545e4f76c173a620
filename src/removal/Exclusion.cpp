#include "removal/Exclusion.h"

#include "definitions/DefinitionFiles.h"
#include "i18n/MessageKeys.h"
#include "removal/Quarantine.h"
#include "removal/WorkListChecks.h"
#include "text/Text.h"

namespace vedozer {
namespace {

ItemOutcome addEntry(ExclusionContext& c, const std::string& entry) {
    if (AddExclusion(c.exclusions, c.dataFiles, c.dataFolder, entry)) return {entry, Outcome::done()};
    return {entry, Outcome::notDone("it could not be written to " +
                                    c.dataFiles.displayPath(dataFilePath(c.dataFolder, kExclusionFile)))};
}

Outcome openWithDesktop(Shell* shell, const std::string& hostPath) {
    if (!shell) return Outcome::notDone("there is no desktop to open " + hostPath + " with");
    if (!shell->open(hostPath)) return Outcome::notDone("the desktop could not open " + hostPath);
    return Outcome::done();
}

}  // namespace

std::vector<std::string> exclusionEntries(const ThreatRecord& row) {
    return {row.location, text::replaceAll(row.name, "Cookie: ", "")};
}

ExclusionResult excludeChecked(ExclusionContext& c, ScanResults& results) {
    ExclusionResult result;
    if (results.removalList().empty() && results.registryDetections().empty() && results.foundList().empty()) {
        c.host.ask(c.messages.question(QuestionKind::NothingToExclude, msg::MSG_SORRY, Buttons::Ok,
                                       QuestionIcon::Information));
        result.status = ExclusionResult::Status::NothingToExclude;
        return result;
    }
    std::string prompt = c.messages.getMessages(msg::MSG_EXC_SURE1) + "\r\n\r\n" +
                         c.messages.getMessages(msg::MSG_EXC_SURE2) + "\r\n\r\n" +
                         c.messages.getMessages(msg::MSG_EXC_SURE3);
    if (c.host.ask(c.messages.questionWithText(QuestionKind::ConfirmExclusion, prompt, Buttons::YesNo,
                                               QuestionIcon::Question, msg::MSG_EXC_SURE4)) != Answer::Yes) {
        result.status = ExclusionResult::Status::Declined;
        return result;
    }
    std::vector<size_t> keep;  // rows with an entry that was not written
    for (size_t i = 0; i < results.removalList().size(); ++i) {
        const ThreatRecord row = results.removalList()[i];
        if (!row.checked) continue;
        bool whole = true;
        for (const auto& entry : exclusionEntries(row)) {
            result.entries.push_back(addEntry(c, entry));
            whole = whole && !result.entries.back().outcome.failed();
        }
        if (!whole) keep.push_back(i);
    }
    // Only what is on the list leaves the results; the rest stays checked for another try.
    std::vector<ThreatRecord> kept;
    for (size_t i : keep) {
        kept.push_back(results.removalList()[i]);
        setRemovalRowChecked(results, i, false);
    }
    results.eraseCheckedRows();
    for (size_t i = 0; i < results.removalList().size(); ++i) {
        const ThreatRecord& row = results.removalList()[i];
        for (const auto& k : kept)
            if (row.name == k.name && row.location == k.location && row.icon == k.icon)
                setRemovalRowChecked(results, i, true);
    }
    return result;
}

ExclusionResult excludeItems(ExclusionContext& c, const std::vector<std::string>& items) {
    ExclusionResult result;
    for (const auto& item : items) result.entries.push_back(addEntry(c, item));
    return result;
}

Outcome removeExclusionEntry(ExclusionContext& c, const std::string& item) {
    auto removed = RemoveExclusion(c.exclusions, c.dataFiles, c.dataFolder, item);
    if (!removed)
        return Outcome::notDone(c.dataFiles.displayPath(dataFilePath(c.dataFolder, kExclusionFile)) +
                                " could not be rewritten");
    if (*removed == 0) return Outcome::skipped("it is not on the exclusion list");
    return Outcome::done();
}

Outcome openQuarantineFolder(ExclusionContext& c, Shell* shell) {
    std::string folder = c.dataFolder + "\\" + Quarantine::kFolderName;
    if (!c.dataFiles.createFolder(folder) && !c.dataFiles.folderExists(folder))
        return Outcome::notDone(c.dataFiles.displayPath(folder) + " could not be created");
    return openWithDesktop(shell, c.dataFiles.displayPath(folder));
}

Outcome openExclusionList(ExclusionContext& c, Shell* shell) {
    std::string file = dataFilePath(c.dataFolder, kExclusionFile);
    auto info = c.dataFiles.lookup(file);
    if (!info || info->isDirectory()) {
        c.host.ask(c.messages.question(QuestionKind::NoExclusionList, msg::MSG_EXCLUDE1, Buttons::Ok,
                                       QuestionIcon::None, msg::MSG_EXCLUDE2));
        return Outcome::skipped(c.messages.getMessages(msg::MSG_EXCLUDE1));
    }
    return openWithDesktop(shell, c.dataFiles.displayPath(file));
}

}  // namespace vedozer
