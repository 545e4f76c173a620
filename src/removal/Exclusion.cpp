#include "removal/Exclusion.h"

#include "i18n/MessageKeys.h"
#include "removal/Quarantine.h"
#include "text/Text.h"

namespace vedozer {
namespace {

constexpr char kExclusionFile[] = "ENoSignature.dat";

}  // namespace

std::vector<std::string> exclusionEntries(const ThreatRecord& row) {
    return {row.location, text::replaceAll(row.name, "Cookie: ", "")};
}

ExcludeOutcome cmdExclude_Click(ExclusionContext& c, ScanResults& results) {
    if (results.removalList().empty() && results.lvwRegistryToBeDeleted().empty() && results.foundList().empty()) {
        c.host.messageBox(c.messages.getMessages(msg::MSG_SORRY), c.programName, MsgButtons::Ok,
                          MsgIcon::Information);
        return ExcludeOutcome::NothingToExclude;
    }
    std::string prompt = c.messages.getMessages(msg::MSG_EXC_SURE1) + "\r\n\r\n" +
                         c.messages.getMessages(msg::MSG_EXC_SURE2) + "\r\n\r\n" +
                         c.messages.getMessages(msg::MSG_EXC_SURE3);
    if (c.host.messageBox(prompt, c.messages.getMessages(msg::MSG_EXC_SURE4), MsgButtons::YesNo, MsgIcon::Question) !=
        MsgAnswer::Yes)
        return ExcludeOutcome::Declined;
    for (const auto& row : results.removalList()) {
        if (!row.checked) continue;
        for (const auto& entry : exclusionEntries(row)) {
            try {
                AddExclusion(c.exclusions, c.dataFiles, c.dataFolder, entry);
            } catch (...) {
                // An entry that cannot be written is skipped.
            }
        }
    }
    results.eraseCheckedRows();
    c.host.status("lblDeletingCaption", "");
    return ExcludeOutcome::Excluded;
}

void excludeItems(ExclusionContext& c, const std::vector<std::string>& items) {
    for (const auto& item : items) AddExclusion(c.exclusions, c.dataFiles, c.dataFolder, item);
}

bool mnuQuarItem_Click(ExclusionContext& c, Shell* shell, int index) {
    if (index == 0) {
        std::string folder = c.dataFolder + "\\" + Quarantine::kFolderName;
        c.dataFiles.createFolder(folder);
        return shell && shell->open(c.dataFiles.displayPath(folder));
    }
    if (index == 1) {
        std::string file = c.dataFolder + "\\" + kExclusionFile;
        auto info = c.dataFiles.lookup(file);
        if (!info || info->isDirectory()) {
            c.host.messageBox(c.messages.getMessages(msg::MSG_EXCLUDE1), c.messages.getMessages(msg::MSG_EXCLUDE2),
                              MsgButtons::Ok, MsgIcon::None);
            return false;
        }
        return shell && shell->open(c.dataFiles.displayPath(file));
    }
    return false;
}

}  // namespace vedozer
