#include "definitions/SafeList.h"

#include "definitions/DefinitionFiles.h"
#include "definitions/DefinitionRecords.h"
#include "definitions/LineCodec.h"
#include "text/Text.h"

namespace vedozer {

std::string normalizeSafeItem(std::string_view item) {
    std::string s = text::trim(text::toLower(item));
    if (!s.empty() && s.back() == '/') s.pop_back();
    if (!s.empty() && s.back() == '\\') s.pop_back();
    return s;
}

SafeList::SafeList(const std::vector<std::string>& entries) {
    std::string joined;
    for (const auto& e : entries) {
        joined += e;
        joined += "\r\n";
    }
    if (joined.empty()) return;
    m_elements = text::split(joined, "\r\n");
    for (const auto& e : m_elements) {
        std::string n = normalizeSafeItem(e);
        if (!n.empty()) m_index.insert(std::move(n));
    }
}

bool SafeList::IsSafe(std::string_view item) const {
    std::string s = normalizeSafeItem(item);
    if (s.empty()) return true;
    if (m_index.empty()) return false;
    if (m_index.count(s) || m_index.count(s + "\\")) return true;
    if (s.back() == '\\' && m_index.count(s.substr(0, s.size() - 1))) return true;
    // With any element in the list, a bare hive name counts as safe.
    std::string_view bare(s);
    if (bare.back() == '\\') bare.remove_suffix(1);
    for (const char* hive : {"hkey_classes_root", "hkey_current_user", "hkey_local_machine", "hkey_users",
                             "hkey_current_config"}) {
        if (bare == hive) return true;
    }
    return false;
}

bool LoadSafeList(SafeList& list, FileSystem& fs, const std::string& dataFolder,
                  const LocationExpander& expander, const std::function<bool()>& stopRequested) {
    std::vector<std::string> entries;
    if (auto reader = openLines(fs, dataFilePath(dataFolder, kSafetyFile))) {
        std::string line;
        std::string type;
        while (!(stopRequested && stopRequested()) && reader->next(line)) {
            SafetyLine parsed = parseSafetyLine(DecodeDefinitionLine(line), type, expander);
            type = std::move(parsed.type);
            if (parsed.entry) entries.push_back(std::move(*parsed.entry));
        }
    }
    list = SafeList(entries);
    return true;
}

}  // namespace vedozer
