#pragma once
#include <string>
#include <vector>

#include "app/Host.h"
#include "definitions/ExclusionList.h"
#include "i18n/clsLanguages.h"
#include "platform/FileSystem.h"
#include "platform/Shell.h"
#include "scan/ScanResults.h"

namespace vedozer {

// Where exclusions and the quarantine menu find what they need.
struct ExclusionContext {
    Host& host;
    clsLanguages& messages;
    std::string programName;
    FileSystem& dataFiles;
    std::string dataFolder;
    ExclusionList& exclusions;
};

enum class ExcludeOutcome { NothingToExclude, Declined, Excluded };

// "Exclude": after the question, adds the location and the name (without "Cookie: ") of every
// checked removal-list row to the exclusion list and drops the checked rows from the lists.
ExcludeOutcome cmdExclude_Click(ExclusionContext& context, ScanResults& results);

// The two entries a removal-list row contributes to the exclusion list.
std::vector<std::string> exclusionEntries(const ThreatRecord& row);

// Adds items named by the user (`vedozer exclude ITEM...`), each as one entry.
void excludeItems(ExclusionContext& context, const std::vector<std::string>& items);

// The "Quarantine" menu: index 0 "View Quarantine" opens the quarantine folder (created first),
// index 1 "View Exclusions" opens ENoSignature.dat, or says that none exists yet.
// False when nothing could be opened.
bool mnuQuarItem_Click(ExclusionContext& context, Shell* shell, int index);

}  // namespace vedozer
