#include "definitions/ExclusionList.h"

#include <algorithm>
#include <functional>

#include "definitions/DefinitionFiles.h"
#include "definitions/LineReader.h"
#include "text/Text.h"

namespace vedozer {

ExclusionList::ExclusionList(const std::vector<std::string>& lines) {
    for (const auto& line : lines) {
        if (text::trim(line).empty()) continue;
        m_text += line;
        m_text += '|';
    }
    if (m_text.empty()) return;
    m_upperText = "|" + text::toUpper(m_text);
    for (auto& piece : text::split(m_upperText.substr(1), "|")) m_pieces.insert(std::move(piece));
}

bool ExclusionList::IsExcluded(std::string_view item) const {
    if (m_pieces.empty()) return false;
    if (m_pieces.count(text::toUpper(item))) return true;
    return m_pieces.count(text::toUpper(text::trim(item))) > 0;
}

bool ExclusionList::IsExcludedName(std::string_view spywareName) const {
    std::string name = text::trim(spywareName);
    return !name.empty() && IsExcluded(name);
}

bool ExclusionList::IsExcludedFolder(std::string_view item) const {
    if (IsExcluded(item)) return true;
    // A piece holds no "|", so an item with one is inside none; without one, a hit in the joined
    // text lies inside a single piece.
    if (m_pieces.empty() || item.find('|') != std::string_view::npos) return false;
    const std::string needle = text::toUpper(item);
    // Building the index costs about as much as a few hundred plain searches of the text: search
    // plainly until that much was spent, then build it (never more than twice the better choice).
    if (!m_folderIndex && ++m_folderSearches > kFolderSearchesBeforeIndex)
        m_folderIndex = std::make_shared<const SubstringIndex>(m_upperText);
    if (m_folderIndex) return m_folderIndex->contains(needle);
    const std::boyer_moore_horspool_searcher searcher(needle.begin(), needle.end());
    return std::search(m_upperText.begin(), m_upperText.end(), searcher) != m_upperText.end();
}

void LoadExclusions(ExclusionList& list, FileSystem& fs, const std::string& dataFolder) {
    std::vector<std::string> lines;
    if (auto reader = openLines(fs, dataFilePath(dataFolder, kExclusionFile))) {
        std::string line;
        while (reader->next(line)) lines.push_back(line);
    }
    list = ExclusionList(lines);
}

bool AddExclusion(ExclusionList& list, FileSystem& fs, const std::string& dataFolder, std::string_view item) {
    // An item holding CR LF would land in the file as two entries, the second one never asked for.
    bool written = item.find("\r\n") == std::string_view::npos &&
                   fs.append(dataFilePath(dataFolder, kExclusionFile), text::trim(item) + "\r\n");
    LoadExclusions(list, fs, dataFolder);
    return written;
}

std::optional<std::vector<std::string>> ReadExclusionEntries(FileSystem& fs, const std::string& dataFolder) {
    const std::string path = dataFilePath(dataFolder, kExclusionFile);
    auto info = fs.lookup(path);
    if (!info) return std::vector<std::string>{};
    auto reader = openLines(fs, path);
    if (!reader) return std::nullopt;
    std::vector<std::string> entries;
    std::string line;
    while (reader->next(line))
        if (!text::trim(line).empty()) entries.push_back(line);
    if (reader->failed()) return std::nullopt;
    return entries;
}

std::optional<size_t> RemoveExclusion(ExclusionList& list, FileSystem& fs, const std::string& dataFolder,
                                      std::string_view item) {
    const std::string path = dataFilePath(dataFolder, kExclusionFile);
    auto content = fs.lookup(path) ? fs.readAll(path, 64u << 20) : std::optional<std::string>(std::string());
    if (!content) return std::nullopt;
    const std::string wanted = text::trim(item);
    std::string kept;
    size_t removed = 0;
    for (const auto& line : splitLines(*content)) {
        if (text::iequals(text::trim(line), wanted)) {
            ++removed;
            continue;
        }
        kept += line + "\r\n";
    }
    if (removed > 0) {
        auto out = fs.openWrite(path, /*atomic=*/true);
        bool ok = out && out->write(kept);
        if (out) ok = out->close() && ok;
        if (!ok) return std::nullopt;
    }
    LoadExclusions(list, fs, dataFolder);
    return removed;
}

}  // namespace vedozer
