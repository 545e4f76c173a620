#include "removal/QuarantineIndex.h"

#include <charconv>
#include <map>

#include "text/Text.h"

namespace vedozer {

const char* quarantineKindName(QuarantineKind kind) {
    switch (kind) {
        case QuarantineKind::File: return "file";
        case QuarantineKind::Folder: return "folder";
        case QuarantineKind::RegistryValue: return "value";
        case QuarantineKind::RegistryKey: return "key";
    }
    return "";
}

std::optional<QuarantineKind> quarantineKindFromName(std::string_view name) {
    for (QuarantineKind k : {QuarantineKind::File, QuarantineKind::Folder, QuarantineKind::RegistryValue,
                             QuarantineKind::RegistryKey})
        if (name == quarantineKindName(k)) return k;
    return std::nullopt;
}

std::string TargetIdentity::describe() const {
    if (empty()) return "(not recorded)";
    std::string out = productName.empty() ? "Windows" : productName;
    if (!installDate.empty()) out += " installed " + installDate;
    if (!drives.empty()) out += " (" + drives + ")";
    else if (!softwareHive.empty()) out += " (" + softwareHive + ")";
    if (!user.empty()) out += ", user " + user;
    return out;
}

bool sameInstallation(const TargetIdentity& a, const TargetIdentity& b) {
    if (a.empty() || b.empty()) return false;
    // A copy of the installation elsewhere (or the disk mounted at another place) is another
    // target: its hive path differs. The installation's own values tell a new one at the old place.
    if (a.softwareHive != b.softwareHive) return false;
    return a.productName == b.productName && a.installDate == b.installDate;
}

namespace quarantine_index {
namespace {

constexpr char kEnd[] = "$";

std::optional<uint64_t> parseId(std::string_view s) {
    uint64_t v = 0;
    if (s.empty()) return std::nullopt;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || p != s.data() + s.size() || v == 0) return std::nullopt;
    return v;
}

std::string joinRecord(std::initializer_list<std::string> fields) {
    std::string out;
    for (const auto& f : fields) {
        out += f;
        out += '\t';
    }
    out += kEnd;
    out += "\r\n";
    return out;
}

}  // namespace

std::string escapeField(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (char c : field) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\t': out += "\\t"; break;
            case '\r': out += "\\r"; break;
            case '\n': out += "\\n"; break;
            default: out += c;
        }
    }
    return out;
}

std::optional<std::string> unescapeField(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (size_t i = 0; i < field.size(); ++i) {
        char c = field[i];
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i == field.size()) return std::nullopt;
        switch (field[i]) {
            case '\\': out += '\\'; break;
            case 't': out += '\t'; break;
            case 'r': out += '\r'; break;
            case 'n': out += '\n'; break;
            default: return std::nullopt;
        }
    }
    return out;
}

std::string formatEntry(const QuarantineEntry& e) {
    return joinRecord({"Q", std::to_string(e.id), quarantineKindName(e.kind), escapeField(e.time),
                       escapeField(e.storedName), escapeField(e.location), escapeField(e.valueName),
                       escapeField(e.spywareName)});
}

std::string formatWithdrawn(uint64_t id, const std::string& time) {
    return joinRecord({"W", std::to_string(id), escapeField(time)});
}

std::string formatRestored(uint64_t id, const std::string& time) {
    return joinRecord({"R", std::to_string(id), escapeField(time)});
}

std::string formatTarget(uint64_t id, const TargetIdentity& t) {
    return joinRecord({"T", std::to_string(id), escapeField(t.drives), escapeField(t.softwareHive),
                       escapeField(t.productName), escapeField(t.installDate), escapeField(t.user)});
}

bool isPlainName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find_first_of("\\/:") == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

std::vector<QuarantineEntry> parse(std::string_view text) {
    std::vector<QuarantineEntry> entries;
    std::map<uint64_t, size_t> byId;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t nl = text.find('\n', pos);
        if (nl == std::string_view::npos) break;  // cut short: no line end
        std::string_view line = text.substr(pos, nl - pos);
        pos = nl + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        auto raw = text::split(line, "\t");
        if (raw.size() < 2 || raw.back() != kEnd) continue;
        raw.pop_back();
        std::vector<std::string> f;
        bool ok = true;
        for (const auto& r : raw) {
            auto u = unescapeField(r);
            if (!u) {
                ok = false;
                break;
            }
            f.push_back(std::move(*u));
        }
        if (!ok) continue;
        auto id = parseId(f.size() > 1 ? f[1] : "");
        if (!id) continue;
        if (f[0] == "Q" && f.size() == 8) {
            auto kind = quarantineKindFromName(f[2]);
            if (!kind || !isPlainName(f[4]) || byId.count(*id)) continue;
            QuarantineEntry e;
            e.id = *id;
            e.kind = *kind;
            e.time = f[3];
            e.storedName = f[4];
            e.location = f[5];
            e.valueName = f[6];
            e.spywareName = f[7];
            byId[e.id] = entries.size();
            entries.push_back(std::move(e));
        } else if (f[0] == "T" && f.size() == 7) {
            auto it = byId.find(*id);
            if (it == byId.end()) continue;
            entries[it->second].target = TargetIdentity{f[2], f[3], f[4], f[5], f[6]};
        } else if ((f[0] == "W" || f[0] == "R") && f.size() == 3) {
            auto it = byId.find(*id);
            if (it == byId.end()) continue;
            QuarantineEntry& e = entries[it->second];
            if (f[0] == "W") {
                e.withdrawn = true;
            } else {
                e.restored = true;
                e.restoredTime = f[2];
            }
        }
    }
    return entries;
}

}  // namespace quarantine_index
}  // namespace vedozer
