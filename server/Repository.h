#pragma once
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "ChangeSet.h"

namespace vedozer::server {

// The repository folder: change sets under "changes/", language files under "Languages/".
// Change sets are read again whenever the folder's listing (names, sizes, times) changes; a
// repository that fails to load keeps the last good one in service.
class Repository {
public:
    explicit Repository(std::filesystem::path root);

    // Loads the change sets; throws RepositoryError when any of them is bad.
    void load();
    // Reloads when "changes/" changed since the last look. Returns the error of a failed
    // reload ("" when none).
    std::string refresh();

    // The date of the newest change set, or the date of definitions never updated.
    DateValue currentDate();
    // The feed for definitions dated `since`; `reached` gets the date it brings them to.
    std::string feedSince(const DateValue& since, DateValue* reached = nullptr);
    // The language file for a product number, when there is one.
    std::optional<std::filesystem::path> localizationFile(int productNumber) const;
    // Why the program would refuse a language file under "Languages/", one line per file
    // ("Languages/21/Localization.txt: line 12: ..."). The files are served as they are: a client
    // keeps its own file when it refuses one.
    std::vector<std::string> languageFileProblems() const;
    size_t changeSetCount();
    // The change sets in service, oldest first.
    std::vector<ChangeSet> changeSets();

private:
    std::string listingSignature() const;
    std::vector<ChangeSet> readAll() const;

    std::filesystem::path m_root;
    std::mutex m_mutex;
    std::vector<ChangeSet> m_sets;
    std::string m_signature;
};

}  // namespace vedozer::server
