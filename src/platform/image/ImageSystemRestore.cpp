#include "platform/image/ImageSystemRestore.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "platform/image/ImageRegistry.h"
#include "platform/image/PosixFiles.h"
#include "text/Text.h"

namespace vedozer {
namespace {

constexpr char kPrefix[] = "RestorePoint-";
constexpr char kRecordFile[] = "RestorePoint.txt";

std::string stamp(const LocalTime& t) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    return buf;
}

// Record fields hold no tabs or line ends.
std::string field(std::string s) {
    for (char& c : s)
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    return s;
}

std::string baseName(const std::string& path) {
    auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

ImageSystemRestore::ImageSystemRestore(ImageRegistry& registry, std::string quarantineFolder, Clock& clock)
    : m_registry(registry), m_quarantine(std::move(quarantineFolder)), m_clock(clock) {}

ImageSystemRestore::~ImageSystemRestore() {
    if (isOpen()) m_registry.setBeforeFirstWrite(nullptr);
}

bool ImageSystemRestore::isRestorePointName(const std::string& name) {
    // RestorePoint-yyyy-mm-dd-nnn
    std::string prefix = kPrefix;
    if (name.size() != prefix.size() + 14 || name.compare(0, prefix.size(), prefix) != 0) return false;
    for (size_t i = prefix.size(); i < name.size(); ++i) {
        size_t k = i - prefix.size();
        bool dash = k == 4 || k == 7 || k == 10;
        if (dash ? name[i] != '-' : (name[i] < '0' || name[i] > '9')) return false;
    }
    return true;
}

bool ImageSystemRestore::appendRecord(const std::string& line) {
    return posix::append(m_folder + "/" + kRecordFile, line + "\r\n");
}

bool ImageSystemRestore::begin(const std::string& description, uint32_t type, int64_t& sequence) {
    if (isOpen()) return false;
    std::error_code ec;
    std::filesystem::create_directories(m_quarantine, ec);
    LocalTime now = m_clock.now();
    char day[16];
    std::snprintf(day, sizeof day, "%04d-%02d-%02d", now.year, now.month, now.day);
    int next = 1;
    for (const auto& name : posix::listNames(m_quarantine)) {
        if (isRestorePointName(name) && name.compare(sizeof kPrefix - 1, 10, day) == 0)
            next = std::max(next, std::stoi(name.substr(name.size() - 3)) + 1);
    }
    for (; next <= 999; ++next) {
        char name[40];
        std::snprintf(name, sizeof name, "%s%s-%03d", kPrefix, day, next);
        std::string folder = m_quarantine + "/" + name;
        if (std::filesystem::exists(folder, ec)) continue;
        if (!posix::createFolder(folder)) return false;
        m_folder = folder;
        if (!appendRecord("description\t" + field(description)) || !appendRecord("began\t" + stamp(now)) ||
            !appendRecord("type\t" + std::to_string(type))) {
            m_folder.clear();
            return false;
        }
        m_sequence = (static_cast<int64_t>(now.year) * 10000 + now.month * 100 + now.day) * 1000 + next;
        m_storedNames.clear();
        m_registry.setBeforeFirstWrite([this](const std::string& hivePath) { backUpHive(hivePath); });
        sequence = m_sequence;
        return true;
    }
    return false;
}

void ImageSystemRestore::backUpHive(const std::string& hivePath) {
    std::string base = baseName(hivePath), stored = base;
    for (int n = 2; std::any_of(m_storedNames.begin(), m_storedNames.end(),
                                [&](const std::string& s) { return text::iequals(s, stored); });
         ++n)
        stored = base + " (" + std::to_string(n) + ")";
    // A hive that cannot be copied aside is not changed: the exception cancels the write.
    if (!posix::copyFile(hivePath, m_folder + "/" + stored, false))
        throw std::runtime_error("cannot back up the hive " + hivePath + " into " + m_folder);
    if (!appendRecord("hive\t" + field(stored) + "\t" + field(hivePath)))
        throw std::runtime_error("cannot record the hive backup in " + m_folder);
    m_storedNames.push_back(stored);
}

bool ImageSystemRestore::end(int64_t sequence, bool cancel) {
    if (!isOpen() || sequence != m_sequence) return false;
    m_registry.setBeforeFirstWrite(nullptr);
    bool ok = appendRecord(std::string(cancel ? "cancelled\t" : "ended\t") + stamp(m_clock.now()));
    m_sequence = 0;
    m_folder.clear();
    return ok;
}

std::vector<ImageSystemRestore::Info> ImageSystemRestore::listIn(const std::string& quarantineFolder) {
    std::vector<Info> out;
    auto names = posix::listNames(quarantineFolder);
    std::sort(names.begin(), names.end());
    for (const auto& name : names) {
        if (!isRestorePointName(name)) continue;
        auto text = posix::readAll(quarantineFolder + "/" + name + "/" + kRecordFile, 1 << 20);
        if (!text) continue;
        Info info;
        info.name = name;
        for (const auto& line : text::split(*text, "\r\n")) {
            auto f = text::split(line, "\t");
            if (f[0] == "description" && f.size() == 2) info.description = f[1];
            else if (f[0] == "began" && f.size() == 2) info.began = f[1];
            else if ((f[0] == "ended" || f[0] == "cancelled") && f.size() == 2) info.ended = f[1];
            else if (f[0] == "hive" && f.size() == 3) info.hives.push_back({f[1], f[2]});
        }
        out.push_back(std::move(info));
    }
    return out;
}

std::vector<RestorePointInfo> ImageSystemRestore::list() {
    std::vector<RestorePointInfo> out;
    for (const Info& point : listIn(m_quarantine)) {
        RestorePointInfo info{point.name, point.description, point.began, point.ended, {}};
        for (const auto& h : point.hives) info.details.push_back(h.storedName + " <- " + h.hivePath);
        out.push_back(std::move(info));
    }
    return out;
}

bool ImageSystemRestore::restore(const std::string& name, std::string& error) {
    m_keptAside.clear();
    if (isOpen()) {
        error = "a removal is running under a restore point";
        return false;
    }
    const std::vector<std::string> hives = m_registry.hivePaths();
    for (const Info& point : listIn(m_quarantine)) {
        if (point.name != name) continue;
        if (point.hives.empty()) {
            error = name + " holds no hive copies (the removal changed no hive)";
            return false;
        }
        // Every copy must belong to a hive of this image before any is written.
        for (const auto& h : point.hives) {
            if (std::find(hives.begin(), hives.end(), h.hivePath) == hives.end()) {
                error = name + ": " + h.hivePath + " is not a hive of this installation; nothing was restored";
                return false;
            }
        }
        // The hives as they are now go into a restore point of their own first.
        int64_t aside = 0;
        if (!begin("Before restoring " + name, 0, aside)) {
            error = name + ": the hives as they are now could not be kept aside; nothing was restored";
            return false;
        }
        const std::string asideName = baseName(m_folder);
        try {
            for (const auto& h : point.hives) backUpHive(h.hivePath);
        } catch (const std::exception& e) {
            end(aside, true);
            error = name + ": " + e.what() + "; nothing was restored";
            return false;
        }
        end(aside, false);
        m_keptAside = asideName;
        m_registry.closeHives();
        for (const auto& h : point.hives) {
            std::string from = m_quarantine + "/" + name + "/" + h.storedName;
            auto in = posix::openRead(from);
            auto out = in ? posix::openWrite(h.hivePath, /*atomic=*/true) : nullptr;
            bool written = out != nullptr;
            std::vector<char> block(1 << 20);
            long long n = 0;
            while (written && (n = in->read(block.data(), block.size())) > 0)
                written = out->write(block.data(), static_cast<size_t>(n));
            written = written && n == 0;
            // An unfinished copy is never renamed over the hive: only a clean close commits it.
            if (out && written) written = out->close();
            if (!written) {
                error = name + ": " + h.hivePath + " could not be replaced with " + from;
                return false;
            }
        }
        return true;
    }
    error = "there is no restore point " + name;
    return false;
}

}  // namespace vedozer
