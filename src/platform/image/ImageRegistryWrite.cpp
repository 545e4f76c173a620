// Changes to the image's registry: each one is committed to its hive file before returning.
#include <exception>

#include "platform/image/HiveFile.h"
#include "platform/image/HiveText.h"
#include "platform/image/ImageRegistry.h"

namespace vedozer {
namespace {

constexpr size_t kMaxKeyNameLength = 255;
constexpr size_t kMaxValueNameLength = 16383;
// Above this size, hives of format 1.4 and later keep data in big-data records, which hivex
// cannot write.
constexpr size_t kBigDataThreshold = 16344;

}  // namespace

RegStatus ImageRegistry::commit(HiveFile& file) {
    if (m_beforeFirstWrite && !m_hooked.count(file.path())) {
        std::string problem;
        try {
            m_beforeFirstWrite(file.path());
        } catch (const std::exception& e) {
            problem = e.what();
            if (problem.empty()) problem = "the hive could not be prepared for a change";
        } catch (...) {
            problem = "the hive could not be prepared for a change";
        }
        if (!problem.empty()) {
            file.close();  // drop the uncommitted change
            return fail(RegStatus::Error, problem);
        }
        m_hooked.insert(file.path());
    }
    bool ok = file.commit();
    forgetResolvedPaths();
    if (!ok) return fail(RegStatus::Error, file.error());
    return RegStatus::Ok;
}

RegStatus ImageRegistry::rewriteValues(HiveFile& file, size_t node, const std::vector<HiveValue>& values) {
    if (file.minorVersion() >= 4) {
        for (const HiveValue& v : values) {
            if (v.data.size() > kBigDataThreshold) {
                file.close();
                return fail(RegStatus::Error, file.path() + ": value \"" + v.utf8Name + "\" is too large (" +
                                                  std::to_string(v.data.size()) +
                                                  " bytes) to be rewritten safely in this hive format");
            }
        }
    }
    if (!file.setValues(node, values)) {
        file.close();
        return fail(RegStatus::Error, file.error());
    }
    return commit(file);
}

// Where a write through a mapping with several candidates goes: the first candidate that holds
// the whole key, else the one holding most of its path (the last one on a tie).
RegStatus ImageRegistry::choosePlaceForWrite(const Target& target, const Place*& chosen) {
    chosen = nullptr;
    if (target.places.size() == 1) {
        chosen = &target.places.front();
        return RegStatus::Ok;
    }
    long bestDepth = -2;
    for (const Place& place : target.places) {
        HiveFile* file = nullptr;
        if (RegStatus s = openHive(place.slot, file); s != RegStatus::Ok) return s;
        bool failed = false;
        HiveFile::Node node = file->root();
        size_t existing = 0;
        for (; existing < place.folded.size(); ++existing) {
            auto next = file->child(node, place.folded[existing], failed);
            if (failed) return fail(RegStatus::Error, file->error());
            if (!next) break;
            node = *next;
        }
        if (existing == place.folded.size()) {
            chosen = &place;
            return RegStatus::Ok;
        }
        // The caller's parts that exist; -1 when the part the mapping stands for is missing.
        const long depth = existing < place.fixed ? -1 : static_cast<long>(existing - place.fixed);
        if (depth >= bestDepth) {
            bestDepth = depth;
            chosen = &place;
        }
    }
    return RegStatus::Ok;
}

// The existing key a change applies to (the first candidate holding it), in a hive open for
// writing.
RegStatus ImageRegistry::locateForWrite(const Target& target, std::optional<Found>& found) {
    found.reset();
    for (const Place& place : target.places) {
        if (RegStatus s = locate(place, found); s != RegStatus::Ok) return s;
        if (!found) continue;
        HiveFile& file = *found->hive;
        if (!file.makeWritable()) return fail(RegStatus::Error, file.error());
        bool failed = false;
        auto node = file.find(place.folded, failed);
        if (failed || !node) return fail(RegStatus::Error, file.path() + ": the hive changed while open");
        found->node = *node;
        return RegStatus::Ok;
    }
    return fail(RegStatus::NotFound, "no such key");
}

RegStatus ImageRegistry::ensureKey(const Place& place, HiveFile*& file, size_t& node, bool& changed) {
    changed = false;
    file = hive(place.slot);
    if (!file) return fail(RegStatus::NotFound, "hive not present in the image");
    if (!file->makeWritable()) return fail(RegStatus::Error, file->error());
    node = file->root();
    for (size_t i = 0; i < place.folded.size(); ++i) {
        bool failed = false;
        auto next = file->child(node, place.folded[i], failed);
        if (!failed && !next) {
            if (i < place.fixed) {
                if (changed) file->close();
                return fail(RegStatus::NotFound, "the key this root stands for does not exist");
            }
            if (place.names[i].size() > kMaxKeyNameLength) {
                if (changed) file->close();
                return fail(RegStatus::Error, "key name longer than 255 characters");
            }
            next = file->addChild(node, hivetext::cp1252ToUtf8(place.names[i]));
            failed = !next;
            changed = changed || next.has_value();
        }
        if (failed) {
            std::string message = file->error();
            file->close();
            return fail(RegStatus::Error, message);
        }
        node = *next;
    }
    return RegStatus::Ok;
}

// Status of a write through a target that is not a hive key.
static RegStatus notWritable(const std::string& what, bool mounted, bool invalid, std::string& error) {
    if (invalid) return RegStatus::Error;
    error = mounted ? "no such key: " + what : "no hive can hold " + what;
    return mounted ? RegStatus::NotFound : RegStatus::AccessDenied;
}

RegStatus ImageRegistry::createKey(RootKey root, const std::string& path) {
    m_lastError.clear();
    ++m_generation;
    Target target;
    if (RegStatus s = resolve(root, path, target); s != RegStatus::Ok) return s;
    if (target.kind == Target::Virtual) return RegStatus::Ok;
    if (target.kind == Target::Missing)
        return notWritable(path, target.mounted, target.invalidPath, m_lastError);
    const Place* place = nullptr;
    if (RegStatus s = choosePlaceForWrite(target, place); s != RegStatus::Ok) return s;
    HiveFile* file = nullptr;
    size_t node = 0;
    bool changed = false;
    if (RegStatus s = ensureKey(*place, file, node, changed); s != RegStatus::Ok) return s;
    return changed ? commit(*file) : RegStatus::Ok;
}

RegStatus ImageRegistry::setValue(RootKey root, const std::string& path, const std::string& name,
                                  const RegistryValue& value) {
    m_lastError.clear();
    ++m_generation;
    Target target;
    if (RegStatus s = resolve(root, path, target); s != RegStatus::Ok) return s;
    if (target.kind == Target::Virtual) return fail(RegStatus::AccessDenied, "no values can be stored here");
    if (target.kind == Target::Missing)
        return notWritable(path, target.mounted, target.invalidPath, m_lastError);
    if (name.size() > kMaxValueNameLength || name.find('\0') != std::string::npos)
        return fail(RegStatus::Error, "invalid value name");
    const Place* place = nullptr;
    if (RegStatus s = choosePlaceForWrite(target, place); s != RegStatus::Ok) return s;
    HiveFile* file = nullptr;
    size_t node = 0;
    bool changed = false;
    if (RegStatus s = ensureKey(*place, file, node, changed); s != RegStatus::Ok) return s;
    auto values = file->values(node);
    if (!values) {
        std::string message = file->error();
        file->close();
        return fail(RegStatus::Error, message);
    }
    HiveValue updated{hivetext::cp1252ToUtf8(name), value.type, hivetext::dataToHive(value.type, value.data)};
    const std::string wanted = hivetext::foldCp1252(name);
    bool replaced = false;
    for (HiveValue& v : *values) {
        if (hivetext::foldUtf8(v.utf8Name) != wanted) continue;
        updated.utf8Name = v.utf8Name;  // an existing value keeps the spelling of its name
        v = updated;
        replaced = true;
        break;
    }
    if (!replaced) values->push_back(updated);
    return rewriteValues(*file, node, *values);
}

RegStatus ImageRegistry::deleteValue(RootKey root, const std::string& path, const std::string& name) {
    m_lastError.clear();
    ++m_generation;
    Target target;
    if (RegStatus s = resolve(root, path, target); s != RegStatus::Ok) return s;
    if (target.invalidPath) return RegStatus::Error;
    std::optional<Found> found;
    if (RegStatus s = locateForWrite(target, found); s != RegStatus::Ok) return s;
    HiveFile& file = *found->hive;
    auto values = file.values(found->node);
    if (!values) {
        std::string message = file.error();
        file.close();
        return fail(RegStatus::Error, message);
    }
    const std::string wanted = hivetext::foldCp1252(name);
    std::vector<HiveValue> kept;
    for (HiveValue& v : *values) {
        if (hivetext::foldUtf8(v.utf8Name) != wanted) kept.push_back(std::move(v));
    }
    if (kept.size() == values->size()) return fail(RegStatus::NotFound, "no such value");
    return rewriteValues(file, found->node, kept);
}

RegStatus ImageRegistry::deleteKeyTree(RootKey root, const std::string& path) {
    m_lastError.clear();
    ++m_generation;
    Target target;
    if (RegStatus s = resolve(root, path, target); s != RegStatus::Ok) return s;
    if (target.invalidPath) return RegStatus::Error;
    if (target.kind == Target::Virtual || (target.kind == Target::Hive && target.mappedRoot))
        return fail(RegStatus::AccessDenied, "a root key or a hive root cannot be deleted");
    std::optional<Found> found;
    if (RegStatus s = locateForWrite(target, found); s != RegStatus::Ok) return s;
    HiveFile& file = *found->hive;
    if (!file.deleteNode(found->node)) {
        std::string message = file.error();
        file.close();
        return fail(RegStatus::Error, message);
    }
    return commit(file);
}

}  // namespace vedozer
