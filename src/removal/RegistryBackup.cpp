#include "removal/RegistryBackup.h"

#include <charconv>

#include "removal/QuarantineIndex.h"
#include "text/Text.h"

namespace vedozer {
namespace {

constexpr char kHeader[] = "vedozer-registry-backup 1";
constexpr int kMaxDepth = 512;

std::string joinKey(const std::string& base, const std::string& rel) {
    if (rel.empty()) return base;
    if (base.empty()) return rel;
    return base + "\\" + rel;
}

std::string toHex(std::string_view bytes) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::optional<std::string> fromHex(std::string_view hex) {
    if (hex.size() % 2) return std::nullopt;
    auto nibble = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    std::string out;
    out.reserve(hex.size() / 2);
    for (size_t i = 0; i < hex.size(); i += 2) {
        int hi = nibble(hex[i]), lo = nibble(hex[i + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out += static_cast<char>(hi * 16 + lo);
    }
    return out;
}

bool captureTree(Registry& registry, RootKey root, const std::string& base, const std::string& rel, int depth,
                 RegistryBackup& out) {
    if (depth > kMaxDepth) return false;
    std::string full = joinKey(base, rel);
    if (!registry.keyExists(root, full)) return false;
    out.keys.push_back(rel);
    // A key whose values or sub keys cannot be listed would look empty: that copy would not be whole.
    std::vector<NamedValue> values;
    if (registry.listValues(root, full, values) != RegStatus::Ok) return false;
    for (auto& nv : values) out.values.push_back({rel, nv.name, nv.value});
    std::vector<std::string> subKeys;
    if (registry.listSubKeys(root, full, subKeys) != RegStatus::Ok) return false;
    for (const auto& sub : subKeys)
        if (!captureTree(registry, root, base, joinKey(rel, sub), depth + 1, out)) return false;
    return true;
}

std::string line(std::initializer_list<std::string> fields) {
    std::string out;
    bool first = true;
    for (const auto& f : fields) {
        if (!first) out += '\t';
        out += f;
        first = false;
    }
    return out + "\r\n";
}

}  // namespace

std::optional<RegistryBackup> captureRegistryValue(Registry& registry, RootKey root, const std::string& keyPath,
                                                   const std::string& valueName) {
    auto value = registry.queryValue(root, keyPath, valueName);
    if (!value) return std::nullopt;
    RegistryBackup b;
    b.root = root;
    b.keyPath = keyPath;
    b.values.push_back({"", valueName, *value});
    return b;
}

std::optional<RegistryBackup> captureRegistryKey(Registry& registry, RootKey root, const std::string& keyPath) {
    RegistryBackup b;
    b.root = root;
    b.keyPath = keyPath;
    b.wholeKey = true;
    if (!captureTree(registry, root, keyPath, "", 0, b)) return std::nullopt;
    return b;
}

std::string formatRegistryBackup(const RegistryBackup& b) {
    using quarantine_index::escapeField;
    std::string out = std::string(kHeader) + "\r\n";
    out += line({"root", rootKeyName(b.root)});
    out += line({"key", escapeField(b.keyPath)});
    out += line({"scope", b.wholeKey ? "key" : "value"});
    for (const auto& k : b.keys) out += line({"K", escapeField(k)});
    for (const auto& v : b.values)
        out += line({"V", escapeField(v.keyPath), escapeField(v.name), std::to_string(v.value.type),
                     toHex(v.value.data)});
    out += "end\r\n";
    return out;
}

std::optional<RegistryBackup> parseRegistryBackup(std::string_view textIn) {
    using quarantine_index::unescapeField;
    auto lines = text::split(textIn, "\r\n");
    if (lines.size() < 5 || lines[0] != kHeader) return std::nullopt;
    RegistryBackup b;
    bool haveRoot = false, haveKey = false, haveScope = false, ended = false;
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string& l = lines[i];
        if (ended) {
            if (!l.empty()) return std::nullopt;
            continue;
        }
        if (l == "end") {
            ended = true;
            continue;
        }
        auto f = text::split(l, "\t");
        if (f[0] == "root" && f.size() == 2) {
            auto r = rootKeyFromName(f[1]);
            if (!r) return std::nullopt;
            b.root = *r;
            haveRoot = true;
        } else if (f[0] == "key" && f.size() == 2) {
            auto k = unescapeField(f[1]);
            if (!k) return std::nullopt;
            b.keyPath = *k;
            haveKey = true;
        } else if (f[0] == "scope" && f.size() == 2 && (f[1] == "key" || f[1] == "value")) {
            b.wholeKey = f[1] == "key";
            haveScope = true;
        } else if (f[0] == "K" && f.size() == 2) {
            auto k = unescapeField(f[1]);
            if (!k) return std::nullopt;
            b.keys.push_back(*k);
        } else if (f[0] == "V" && f.size() == 5) {
            auto k = unescapeField(f[1]);
            auto n = unescapeField(f[2]);
            auto d = fromHex(f[4]);
            uint32_t type = 0;
            auto [p, ec] = std::from_chars(f[3].data(), f[3].data() + f[3].size(), type);
            if (!k || !n || !d || ec != std::errc() || p != f[3].data() + f[3].size()) return std::nullopt;
            b.values.push_back({*k, *n, RegistryValue{type, *d}});
        } else {
            return std::nullopt;
        }
    }
    if (!ended || !haveRoot || !haveKey || !haveScope || b.keyPath.empty()) return std::nullopt;
    if (b.wholeKey ? (b.keys.empty() || !b.keys[0].empty()) : (b.values.size() != 1 || !b.keys.empty()))
        return std::nullopt;
    return b;
}

RestoreOutcome restoreRegistryBackup(Registry& registry, const RegistryBackup& b, bool force, std::string& error) {
    if (!b.wholeKey) {
        const auto& v = b.values.at(0);
        std::string key = joinKey(b.keyPath, v.keyPath);
        if (!force && registry.queryValue(b.root, key, v.name)) {
            error = "the value exists";
            return RestoreOutcome::Exists;
        }
        if (registry.setValue(b.root, key, v.name, v.value) != RegStatus::Ok) {
            error = "the value could not be written";
            return RestoreOutcome::Failed;
        }
        return RestoreOutcome::Restored;
    }
    if (!force && registry.keyExists(b.root, b.keyPath)) {
        error = "the key exists";
        return RestoreOutcome::Exists;
    }
    for (const auto& k : b.keys) {
        if (registry.createKey(b.root, joinKey(b.keyPath, k)) != RegStatus::Ok) {
            error = "the key " + joinKey(b.keyPath, k) + " could not be created";
            return RestoreOutcome::Failed;
        }
    }
    for (const auto& v : b.values) {
        if (registry.setValue(b.root, joinKey(b.keyPath, v.keyPath), v.name, v.value) != RegStatus::Ok) {
            error = "a value of " + joinKey(b.keyPath, v.keyPath) + " could not be written";
            return RestoreOutcome::Failed;
        }
    }
    return RestoreOutcome::Restored;
}

}  // namespace vedozer
