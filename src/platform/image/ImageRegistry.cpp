#include "platform/image/ImageRegistry.h"

#include <unordered_set>

#include "platform/image/HiveFile.h"
#include "platform/image/HiveText.h"

namespace vedozer {

ImageRegistry::ImageRegistry(Config config) : m_config(std::move(config)) {
    const Hives& h = m_config.hives;
    const std::pair<Slot, const std::string*> paths[] = {
        {kSoftware, &h.software}, {kSystem, &h.system},     {kSam, &h.sam},
        {kSecurity, &h.security}, {kNtUser, &h.ntuser},     {kUsrClass, &h.usrclass},
        {kDefault, &h.defaultHive}};
    // One HiveFile per host file, so two names for the same file never see different states.
    for (const auto& [slot, path] : paths) {
        if (path->empty()) continue;
        for (const auto& file : m_files) {
            if (file->path() == *path) m_slots[slot] = file.get();
        }
        if (!m_slots[slot]) {
            m_files.push_back(std::make_unique<HiveFile>(*path));
            m_slots[slot] = m_files.back().get();
        }
    }
}

ImageRegistry::~ImageRegistry() = default;

void ImageRegistry::closeHives() {
    ++m_generation;
    for (auto& file : m_files) file->close();
    forgetResolvedPaths();
}

RegStatus ImageRegistry::fail(RegStatus status, const std::string& message) {
    m_lastError = message;
    return status;
}

HiveFile* ImageRegistry::hive(Slot slot) const { return m_slots[slot]; }

RegStatus ImageRegistry::openHive(Slot slot, HiveFile*& out) {
    out = hive(slot);
    if (!out) return fail(RegStatus::NotFound, "hive not present in the image");
    if (!out->open()) {
        ++m_generation;
        return fail(RegStatus::Error, out->error());
    }
    return RegStatus::Ok;
}

RegStatus ImageRegistry::locate(const Place& place, std::optional<Found>& found) {
    found.reset();
    HiveFile* file = nullptr;
    if (RegStatus s = openHive(place.slot, file); s != RegStatus::Ok) return s;
    bool failed = false;
    auto node = file->find(place.folded, failed);
    if (failed) return fail(RegStatus::Error, file->error());
    if (node) found = Found{file, *node};
    return RegStatus::Ok;
}

RegStatus ImageRegistry::locateFirst(const Target& target, std::optional<Found>& found) {
    found.reset();
    for (const Place& place : target.places) {
        if (RegStatus s = locate(place, found); s != RegStatus::Ok) return s;
        if (found) return RegStatus::Ok;
    }
    return RegStatus::Ok;
}

RegStatus ImageRegistry::openKey(RootKey root, const std::string& path, uint32_t /*accessMask*/) {
    m_lastError.clear();
    Target target;
    if (RegStatus s = resolve(root, path, target); s != RegStatus::Ok) return s;
    if (target.kind == Target::Virtual) return RegStatus::Ok;
    std::optional<Found> found;
    if (target.kind == Target::Hive) {
        if (RegStatus s = locateFirst(target, found); s != RegStatus::Ok) return s;
    }
    if (!found) {
        if (m_lastError.empty()) m_lastError = "no such key";
        return RegStatus::NotFound;
    }
    return RegStatus::Ok;
}

std::optional<RegistryValue> ImageRegistry::queryValue(RootKey root, const std::string& path,
                                                       const std::string& name) {
    m_lastError.clear();
    Target target;
    std::optional<Found> found;
    if (resolve(root, path, target) != RegStatus::Ok || target.kind != Target::Hive) return std::nullopt;
    if (locateFirst(target, found) != RegStatus::Ok || !found) return std::nullopt;
    bool failed = false;
    auto value = found->hive->value(found->node, hivetext::foldCp1252(name), failed);
    if (failed) fail(RegStatus::Error, found->hive->error());
    if (!value) return std::nullopt;
    return RegistryValue{value->type, hivetext::dataFromHive(value->type, value->data)};
}

std::vector<std::string> ImageRegistry::subKeys(RootKey root, const std::string& path) {
    m_lastError.clear();
    Target target;
    if (resolve(root, path, target) != RegStatus::Ok) return {};
    if (target.kind == Target::Virtual) return target.virtualChildren;
    std::vector<std::string> names;
    std::unordered_set<std::string> seen;
    bool exists = false;
    auto add = [&](const std::string& name) {
        if (seen.insert(hivetext::foldCp1252(name)).second) names.push_back(name);
    };
    for (const Place& place : target.places) {
        std::optional<Found> found;
        if (locate(place, found) != RegStatus::Ok) return {};
        if (!found) continue;
        exists = true;
        auto children = found->hive->childNames(found->node);
        if (!children) {
            fail(RegStatus::Error, found->hive->error());
            return {};
        }
        for (const std::string& child : *children) add(hivetext::utf8ToCp1252(child));
    }
    if (exists) {
        for (const std::string& extra : target.extraChildren) add(extra);
    }
    return names;
}

std::vector<NamedValue> ImageRegistry::values(RootKey root, const std::string& path) {
    m_lastError.clear();
    Target target;
    std::optional<Found> found;
    if (resolve(root, path, target) != RegStatus::Ok || target.kind != Target::Hive) return {};
    if (locateFirst(target, found) != RegStatus::Ok || !found) return {};
    auto values = found->hive->values(found->node);
    if (!values) {
        fail(RegStatus::Error, found->hive->error());
        return {};
    }
    std::vector<NamedValue> out;
    out.reserve(values->size());
    for (const HiveValue& v : *values)
        out.push_back(NamedValue{hivetext::utf8ToCp1252(v.utf8Name), RegistryValue{v.type, hivetext::dataFromHive(v.type, v.data)}});
    return out;
}

}  // namespace vedozer
