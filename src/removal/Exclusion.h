#pragma once
#include <string>
#include <vector>

#include "core/Host.h"
#include "core/Outcome.h"
#include "definitions/ExclusionList.h"
#include "i18n/Languages.h"
#include "platform/FileSystem.h"
#include "platform/Shell.h"
#include "scan/ScanResults.h"

namespace vedozer {

// Where exclusions and the quarantine views find what they need.
struct ExclusionContext {
    Host& host;
    Languages& messages;
    FileSystem& dataFiles;
    std::string dataFolder;
    ExclusionList& exclusions;
};

// How an exclusion command ended, and each entry it wrote (or could not write).
struct ExclusionResult {
    enum class Status { NothingToExclude, Declined, Ran };
    Status status = Status::Ran;
    std::vector<ItemOutcome> entries;
    bool failed() const { return anyFailed(entries); }
};

// "Exclude": after the question, adds the location and the name (without "Cookie: ") of every
// checked removal-list row to the exclusion list and drops those rows from the lists. A row with
// an entry that could not be written stays, still checked.
ExclusionResult excludeChecked(ExclusionContext& context, ScanResults& results);

// The two entries a removal-list row contributes to the exclusion list.
std::vector<std::string> exclusionEntries(const ThreatRecord& row);

// Adds items named by the user, each as one entry.
ExclusionResult excludeItems(ExclusionContext& context, const std::vector<std::string>& items);

// Takes an entry off the exclusion list (every line equal to it).
Outcome removeExclusionEntry(ExclusionContext& context, const std::string& item);

// Opens the quarantine folder (created first) with the desktop.
Outcome openQuarantineFolder(ExclusionContext& context, Shell* shell);
// Opens the exclusion list with the desktop; when there is none yet, says so (a question with only
// OK) and skips.
Outcome openExclusionList(ExclusionContext& context, Shell* shell);

}  // namespace vedozer
