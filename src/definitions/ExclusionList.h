#pragma once
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "definitions/SubstringIndex.h"
#include "platform/FileSystem.h"

namespace vedozer {

// The user's exclusion list (ENoSignature.dat) in memory. Its text form is every non-blank line of
// the file as read, each followed by "|"; the tests compare an item with each "|"-separated piece
// of that text, including the empty piece after the final "|". The pieces are indexed by their
// upper-case form, so a test costs one hash lookup (two with the trimmed item). The containment
// test for folders searches the upper-case text; once it was asked often, the text gets a substring
// index, so a scan finding thousands of folders does not read the whole list for every one.
class ExclusionList {
public:
    ExclusionList() = default;
    // From the lines of the file (blank lines are dropped here).
    explicit ExclusionList(const std::vector<std::string>& lines);

    // True when the item, as given or trimmed of blanks, equals a piece without regard to case.
    bool IsExcluded(std::string_view item) const;
    // IsExcluded, or a piece contains the item (without regard to case).
    bool IsExcludedFolder(std::string_view item) const;
    // A spyware name on the list holds back every detection under that name. Blank names never
    // match (the empty piece after the last "|" would match them).
    bool IsExcludedName(std::string_view spywareName) const;

    const std::string& text() const { return m_text; }  // "entry|entry|"
    bool empty() const { return m_text.empty(); }

private:
    std::string m_text;
    std::string m_upperText;                   // "|" + upper-case text: pieces separated by "|"
    std::unordered_set<std::string> m_pieces;  // upper-case pieces
    static constexpr int kFolderSearchesBeforeIndex = 256;
    mutable int m_folderSearches = 0;
    mutable std::shared_ptr<const SubstringIndex> m_folderIndex;  // of m_upperText, once searched often
};

// Rebuilds the list from dataFolder\ENoSignature.dat (an empty list when the file is missing).
void LoadExclusions(ExclusionList& list, FileSystem& fs, const std::string& dataFolder);
// Appends the trimmed item and CR LF to the file (created when missing), then reloads the list.
// False when the item could not be written; an item holding CR LF is not written (it would
// become two entries).
bool AddExclusion(ExclusionList& list, FileSystem& fs, const std::string& dataFolder, std::string_view item);
// The entries of the file as written (blank lines left out); nullopt when it cannot be read. A
// missing file has none.
std::optional<std::vector<std::string>> ReadExclusionEntries(FileSystem& fs, const std::string& dataFolder);
// Takes every line equal to the item (trimmed, letter case ignored) out of the file, replacing it
// in one step, then reloads the list. The number of lines taken out; nullopt when the file could
// not be read or written (then it is unchanged).
std::optional<size_t> RemoveExclusion(ExclusionList& list, FileSystem& fs, const std::string& dataFolder,
                                      std::string_view item);

}  // namespace vedozer
