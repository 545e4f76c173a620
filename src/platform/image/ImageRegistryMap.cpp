// How root keys and key paths map onto the hive files of the image.
#include <cstdio>

#include "platform/image/HiveFile.h"
#include "platform/image/HiveText.h"
#include "platform/image/ImageRegistry.h"

namespace vedozer {
namespace {

// Splits a key path at "\". One trailing "\" is ignored; any other empty part (leading or
// doubled "\") and a zero character make the path invalid.
std::optional<std::vector<std::string>> splitKeyPath(const std::string& path) {
    std::vector<std::string> parts;
    if (path.find('\0') != std::string::npos) return std::nullopt;
    std::string rest = path;
    if (rest.size() > 1 && rest.back() == '\\') rest.pop_back();
    if (rest.empty()) return parts;
    size_t start = 0;
    for (;;) {
        size_t end = rest.find('\\', start);
        std::string part = rest.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (part.empty()) return std::nullopt;
        parts.push_back(std::move(part));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return parts;
}

std::vector<std::string> foldAll(const std::vector<std::string>& parts) {
    std::vector<std::string> out;
    out.reserve(parts.size());
    for (const auto& p : parts) out.push_back(hivetext::foldCp1252(p));
    return out;
}

bool same(const std::string& a, const char* b) { return hivetext::foldCp1252(a) == hivetext::foldCp1252(b); }

std::optional<uint32_t> dwordValue(HiveFile& file, size_t node, const char* name) {
    bool failed = false;
    auto v = file.value(node, hivetext::foldCp1252(name), failed);
    if (!v || v->type != kRegDword || v->data.size() != 4) return std::nullopt;
    const auto* d = reinterpret_cast<const unsigned char*>(v->data.data());
    return d[0] | (d[1] << 8) | (d[2] << 16) | (static_cast<uint32_t>(d[3]) << 24);
}

}  // namespace

ImageRegistry::Place ImageRegistry::makePlace(Slot slot, std::vector<std::string> names, size_t fixed) {
    Place place;
    place.slot = slot;
    place.folded = foldAll(names);
    place.names = std::move(names);
    place.fixed = fixed;
    return place;
}

RegStatus ImageRegistry::currentControlSet(std::optional<std::string>& name) {
    if (m_controlSet) {
        name = *m_controlSet;
        return RegStatus::Ok;
    }
    HiveFile* system = nullptr;
    if (RegStatus s = openHive(kSystem, system); s != RegStatus::Ok) return s;
    bool failed = false;
    name.reset();
    auto select = system->child(system->root(), hivetext::foldCp1252("Select"), failed);
    if (failed) return fail(RegStatus::Error, system->error());
    if (select) {
        auto current = dwordValue(*system, *select, "Current");
        if (current && *current >= 1 && *current <= 999) {
            char buffer[16];
            std::snprintf(buffer, sizeof buffer, "ControlSet%03u", *current);
            name = buffer;
        }
    }
    m_controlSet = name;
    return RegStatus::Ok;
}

RegStatus ImageRegistry::currentHardwareProfile(std::optional<std::vector<std::string>>& parts) {
    if (m_hardwareProfile) {
        parts = *m_hardwareProfile;
        return RegStatus::Ok;
    }
    parts.reset();
    std::optional<std::string> controlSet;
    if (RegStatus s = currentControlSet(controlSet); s != RegStatus::Ok) return s;
    if (controlSet) {
        HiveFile* system = nullptr;
        if (RegStatus s = openHive(kSystem, system); s != RegStatus::Ok) return s;
        bool failed = false;
        std::vector<std::string> current{*controlSet, "Hardware Profiles", "Current"};
        if (system->find(foldAll(current), failed)) {
            parts = current;
        } else if (auto idConfig = system->find(foldAll({*controlSet, "Control", "IDConfigDB"}), failed)) {
            auto number = dwordValue(*system, *idConfig, "CurrentConfig");
            if (number && *number <= 9999) {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "%04u", *number);
                std::vector<std::string> profile{*controlSet, "Hardware Profiles", buffer};
                if (system->find(foldAll(profile), failed)) parts = profile;
            }
        }
        if (failed) return fail(RegStatus::Error, system->error());
    }
    m_hardwareProfile = parts;
    return RegStatus::Ok;
}

void ImageRegistry::forgetResolvedPaths() {
    m_controlSet.reset();
    m_hardwareProfile.reset();
}

RegStatus ImageRegistry::placeInSystem(Target& target, std::vector<std::string> parts) {
    target.kind = Target::Hive;
    target.mappedRoot = parts.empty();
    size_t fixed = 0;
    if (parts.empty() || same(parts[0], "CurrentControlSet")) {
        std::optional<std::string> controlSet;
        if (RegStatus s = currentControlSet(controlSet); s != RegStatus::Ok) return s;
        if (controlSet && parts.empty()) target.extraChildren.push_back("CurrentControlSet");
        if (controlSet && !parts.empty()) {
            parts[0] = *controlSet;
            fixed = 1;
            target.mappedRoot = parts.size() == 1;
        }
    }
    target.places.push_back(makePlace(kSystem, std::move(parts), fixed));
    return RegStatus::Ok;
}

void ImageRegistry::placeInUser(Target& target, const std::vector<std::string>& parts) {
    target.kind = Target::Hive;
    target.mappedRoot = parts.empty();
    const bool classesMapped = hive(kUsrClass) != nullptr;
    if (classesMapped && parts.size() >= 2 && same(parts[0], "Software") && same(parts[1], "Classes")) {
        target.places.push_back(makePlace(kUsrClass, {parts.begin() + 2, parts.end()}, 0));
        target.mappedRoot = parts.size() == 2;
        return;
    }
    if (classesMapped && parts.size() == 1 && same(parts[0], "Software"))
        target.extraChildren.push_back("Classes");
    target.places.push_back(makePlace(kNtUser, parts, 0));
}

RegStatus ImageRegistry::resolve(RootKey root, const std::string& path, Target& target) {
    target = Target{};
    auto parsed = splitKeyPath(path);
    if (!parsed) {
        target.invalidPath = true;
        m_lastError = "invalid key path \"" + path + "\"";
        return RegStatus::Ok;
    }
    std::vector<std::string>& parts = *parsed;
    switch (root) {
        case RootKey::LocalMachine: {
            static const std::pair<const char*, Slot> kMounts[] = {
                {"SOFTWARE", kSoftware}, {"SYSTEM", kSystem}, {"SAM", kSam}, {"SECURITY", kSecurity}};
            if (parts.empty()) {
                target.kind = Target::Virtual;
                target.mappedRoot = true;
                for (const auto& [name, slot] : kMounts)
                    if (hive(slot)) target.virtualChildren.push_back(name);
                return RegStatus::Ok;
            }
            for (const auto& [name, slot] : kMounts) {
                if (!same(parts[0], name)) continue;
                if (!hive(slot)) return RegStatus::Ok;  // a known hive the image lacks
                std::vector<std::string> rest(parts.begin() + 1, parts.end());
                if (slot == kSystem) return placeInSystem(target, std::move(rest));
                target.kind = Target::Hive;
                target.mappedRoot = rest.empty();
                target.places.push_back(makePlace(slot, std::move(rest), 0));
                return RegStatus::Ok;
            }
            target.mounted = false;
            return RegStatus::Ok;
        }
        case RootKey::CurrentUser:
            if (hive(kNtUser)) placeInUser(target, parts);
            return RegStatus::Ok;
        case RootKey::Users: {
            const std::string sid = m_config.userSid;
            const std::string classes = sid + "_Classes";
            if (parts.empty()) {
                target.kind = Target::Virtual;
                target.mappedRoot = true;
                if (hive(kDefault)) target.virtualChildren.push_back(".DEFAULT");
                if (hive(kNtUser)) target.virtualChildren.push_back(sid);
                if (hive(kUsrClass)) target.virtualChildren.push_back(classes);
                return RegStatus::Ok;
            }
            std::vector<std::string> rest(parts.begin() + 1, parts.end());
            const std::string first = hivetext::foldCp1252(parts[0]);
            Slot slot;
            if (first == hivetext::foldCp1252(".DEFAULT")) slot = kDefault;
            else if (first == hivetext::foldCp1252(sid)) slot = kNtUser;
            else if (first == hivetext::foldCp1252(classes)) slot = kUsrClass;
            else {
                target.mounted = false;
                return RegStatus::Ok;
            }
            if (!hive(slot)) return RegStatus::Ok;
            if (slot == kNtUser) {
                placeInUser(target, rest);
                return RegStatus::Ok;
            }
            target.kind = Target::Hive;
            target.mappedRoot = rest.empty();
            target.places.push_back(makePlace(slot, std::move(rest), 0));
            return RegStatus::Ok;
        }
        case RootKey::ClassesRoot: {
            if (hive(kUsrClass)) target.places.push_back(makePlace(kUsrClass, parts, 0));
            if (hive(kSoftware)) {
                std::vector<std::string> machine{"Classes"};
                machine.insert(machine.end(), parts.begin(), parts.end());
                target.places.push_back(makePlace(kSoftware, std::move(machine), 1));
            }
            if (!target.places.empty()) target.kind = Target::Hive;
            target.mappedRoot = parts.empty();
            return RegStatus::Ok;
        }
        case RootKey::CurrentConfig: {
            if (!hive(kSystem)) return RegStatus::Ok;
            std::optional<std::vector<std::string>> profile;
            if (RegStatus s = currentHardwareProfile(profile); s != RegStatus::Ok) return s;
            if (!profile) return RegStatus::Ok;
            const size_t fixed = profile->size();
            profile->insert(profile->end(), parts.begin(), parts.end());
            target.kind = Target::Hive;
            target.mappedRoot = parts.empty();
            target.places.push_back(makePlace(kSystem, std::move(*profile), fixed));
            return RegStatus::Ok;
        }
        case RootKey::DynData:
            return RegStatus::Ok;
    }
    return RegStatus::Ok;
}

}  // namespace vedozer
