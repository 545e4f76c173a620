// Reads that tell "absent" from "could not be read", naming the key that could not be listed.
#include <unordered_set>

#include "platform/image/HiveFile.h"
#include "platform/image/HiveText.h"
#include "platform/image/ImageRegistry.h"
#include "text/Text.h"

namespace vedozer {

namespace {

// A key path as the caller wrote it, under its root key, without its last dropTrailing parts.
std::string keyText(RootKey root, const std::string& path, size_t dropTrailing) {
    std::string trimmed = path;
    if (!trimmed.empty() && trimmed.back() == '\\') trimmed.pop_back();
    std::vector<std::string> parts = trimmed.empty() ? std::vector<std::string>{} : text::split(trimmed, "\\");
    std::string out = rootKeyName(root);
    if (dropTrailing > parts.size()) return out + (trimmed.empty() ? "" : "\\" + trimmed);
    for (size_t i = 0; i + dropTrailing < parts.size(); ++i) out += "\\" + parts[i];
    return out;
}

}  // namespace

std::vector<std::string> ImageRegistry::hivePaths() const {
    std::vector<std::string> out;
    for (const auto& file : m_files) out.push_back(file->path());
    return out;
}

RegStatus ImageRegistry::locateReporting(RootKey root, const std::string& path, const Target& target,
                                         std::optional<Found>& found) {
    found.reset();
    for (const Place& place : target.places) {
        HiveFile* file = nullptr;
        if (RegStatus s = openHive(place.slot, file); s != RegStatus::Ok) {
            if (s == RegStatus::Error) m_lastError = keyText(root, path, 0) + ": " + m_lastError;
            return s;
        }
        HiveFile::Node node = file->root();
        bool present = true;
        for (size_t i = 0; i < place.folded.size(); ++i) {
            bool failed = false;
            auto next = file->child(node, place.folded[i], failed);
            if (failed) {
                return fail(RegStatus::Error, keyText(root, path, place.folded.size() - i) +
                                                  ": its sub keys cannot be listed (" + file->error() + ")");
            }
            if (!next) {
                present = false;
                break;
            }
            node = *next;
        }
        if (present) {
            found = Found{file, node};
            return RegStatus::Ok;
        }
    }
    return RegStatus::Ok;
}

RegStatus ImageRegistry::readValue(RootKey root, const std::string& path, const std::string& name,
                                   RegistryValue& out) {
    m_lastError.clear();
    Target target;
    if (RegStatus s = resolve(root, path, target); s != RegStatus::Ok) return s;
    if (target.kind != Target::Hive) return fail(RegStatus::NotFound, "no such value");
    std::optional<Found> found;
    if (RegStatus s = locateReporting(root, path, target, found); s != RegStatus::Ok) return s;
    if (!found) return fail(RegStatus::NotFound, "no such key");
    // Only the value asked for is read (a scan asks thousands of keys for one value each).
    bool failed = false;
    auto value = found->hive->value(found->node, hivetext::foldCp1252(name), failed);
    if (failed)
        return fail(RegStatus::Error,
                    keyText(root, path, 0) + ": its values cannot be read (" + found->hive->error() + ")");
    if (!value) return fail(RegStatus::NotFound, "no such value");
    out = RegistryValue{value->type, hivetext::dataFromHive(value->type, value->data)};
    return RegStatus::Ok;
}

RegStatus ImageRegistry::listValues(RootKey root, const std::string& path, std::vector<NamedValue>& out) {
    m_lastError.clear();
    out.clear();
    Target target;
    if (RegStatus s = resolve(root, path, target); s != RegStatus::Ok) return s;
    if (target.kind == Target::Virtual) return RegStatus::Ok;
    if (target.kind != Target::Hive) return fail(RegStatus::NotFound, "no such key");
    std::optional<Found> found;
    if (RegStatus s = locateReporting(root, path, target, found); s != RegStatus::Ok) return s;
    if (!found) return fail(RegStatus::NotFound, "no such key");
    auto values = found->hive->values(found->node);
    if (!values)
        return fail(RegStatus::Error,
                    keyText(root, path, 0) + ": its values cannot be read (" + found->hive->error() + ")");
    for (const HiveValue& v : *values)
        out.push_back(NamedValue{hivetext::utf8ToCp1252(v.utf8Name),
                                 RegistryValue{v.type, hivetext::dataFromHive(v.type, v.data)}});
    return RegStatus::Ok;
}

RegStatus ImageRegistry::listSubKeys(RootKey root, const std::string& path, std::vector<std::string>& out) {
    m_lastError.clear();
    out.clear();
    Target target;
    if (RegStatus s = resolve(root, path, target); s != RegStatus::Ok) return s;
    if (target.kind == Target::Virtual) {
        out = target.virtualChildren;
        return RegStatus::Ok;
    }
    if (target.kind != Target::Hive) return fail(RegStatus::NotFound, "no such key");
    std::unordered_set<std::string> seen;
    auto add = [&](const std::string& child) {
        if (seen.insert(hivetext::foldCp1252(child)).second) out.push_back(child);
    };
    bool exists = false;
    for (const Place& place : target.places) {
        Target one = target;
        one.places = {place};
        std::optional<Found> found;
        if (RegStatus s = locateReporting(root, path, one, found); s != RegStatus::Ok) {
            out.clear();
            return s;
        }
        if (!found) continue;
        exists = true;
        auto children = found->hive->childNames(found->node);
        if (!children) {
            out.clear();
            return fail(RegStatus::Error,
                        keyText(root, path, 0) + ": its sub keys cannot be listed (" + found->hive->error() + ")");
        }
        for (const std::string& child : *children) add(hivetext::utf8ToCp1252(child));
    }
    if (!exists) return fail(RegStatus::NotFound, "no such key");
    for (const std::string& extra : target.extraChildren) add(extra);
    return RegStatus::Ok;
}

}  // namespace vedozer
