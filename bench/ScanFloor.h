// What the scan benchmark's floor needs to know what the definitions name: the definition lines
// read and decoded, the paths and keys derived (path tokens expanded from folder paths asked for
// once). Checked against the scanners' own parsers by bench_scan --verify.
#pragma once
#include <array>
#include <chrono>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "definitions/DefinitionFiles.h"
#include "definitions/DefinitionRecords.h"
#include "definitions/LineCodec.h"
#include "definitions/LineReader.h"
#include "definitions/PathTokens.h"
#include "platform/image/ImageFileSystem.h"
#include "platform/image/ImagePlatform.h"
#include "platform/image/ImageRegistry.h"
#include "scan/CookieScan.h"
#include "text/Text.h"

namespace vedozer::bench {

using SteadyClock = std::chrono::steady_clock;

inline double seconds(SteadyClock::time_point start) {
    return std::chrono::duration<double>(SteadyClock::now() - start).count();
}

// A field of /proc/self/status in KiB ("VmHWM", "RssAnon", ...); -1 when absent.
inline long statusKiB(const char* field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    const size_t n = std::strlen(field);
    while (std::getline(in, line))
        if (line.compare(0, n, field) == 0 && line.size() > n && line[n] == ':') return std::atol(line.c_str() + n + 1);
    return -1;
}

// The path-token expansion with every folder path asked for once.
class BareExpander {
public:
    explicit BareExpander(ShellFolders& shell) : m_drive(SystemDriveRoot(shell)) {
        for (size_t i = 0; i < kPathTokens.size(); ++i) {
            m_paths[i] = SpecialFolderPath(shell, kPathTokens[i].folder);
            if (i >= kCaseInsensitiveTokenCount) m_paths[i] = text::ireplaceAll(m_paths[i], "\\Start Menu", "");
        }
    }
    void expand(std::string& s, bool replaceDrive) const {
        if (s.find('[') == std::string::npos) return;
        if (replaceDrive && s.find("[drive]") != std::string::npos) s = text::replaceAll(s, "[drive]", m_drive);
        for (size_t i = 0; i < kPathTokens.size(); ++i) {
            const char* token = kPathTokens[i].token;
            if (i < kCaseInsensitiveTokenCount) {
                if (text::ifind(s, token) != std::string::npos) s = text::ireplaceAll(s, token, m_paths[i]);
            } else if (s.find(token) != std::string::npos) {
                s = text::replaceAll(s, token, m_paths[i]);
            }
        }
    }

private:
    std::string m_drive;
    std::array<std::string, 30> m_paths;
};

inline void reduce(std::string& s) {
    if (s.find("\\\\") != std::string::npos) s = text::replaceAll(s, "\\\\", "\\");
}

inline void decodeInPlace(std::string& line) {
    for (char& ch : line) {
        int c = static_cast<unsigned char>(ch);
        ch = static_cast<char>(c >= kScrambleOffset ? c - kScrambleOffset : c - kScrambleOffset + 255);
    }
}

template <class F>
inline void eachLine(FileSystem& data, const std::string& folder, const char* name, F perLine) {
    auto in = data.openRead(dataFilePath(folder, name));
    if (!in) return;
    LineReader reader(std::move(in));
    std::string line;
    while (reader.next(line)) {
        decodeInPlace(line);
        perLine(line);
    }
}

inline long long readWhole(FileSystem& files, const std::string& path) {
    auto in = files.openRead(path);
    if (!in) return 0;
    char buf[65536];
    long long total = 0, got;
    while ((got = in->read(buf, sizeof buf)) > 0) total += got;
    return total;
}

// Definition line -> the path or key the scanners test; nothing for lines they pass over.
inline std::optional<std::string> bareFilePath(const std::string& line, const BareExpander& ex) {
    size_t bar = line.find('|');
    std::string_view namePart = std::string_view(line).substr(0, bar);
    size_t eq = namePart.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    std::string location;
    if (bar != std::string::npos) {
        size_t bar2 = line.find('|', bar + 1);
        location = line.substr(bar + 1, bar2 == std::string::npos ? std::string::npos : bar2 - bar - 1);
        ex.expand(location, true);
        reduce(location);
    }
    std::string path = text::trim(namePart.substr(0, eq));
    if (!location.empty()) path = location + "\\" + path;
    reduce(path);
    return path;
}

inline std::optional<std::string> bareFolderPath(const std::string& line, const BareExpander& ex) {
    size_t bar = line.find('|');
    if (bar == std::string::npos) return std::nullopt;
    size_t bar2 = line.find('|', bar + 1);
    std::string location = line.substr(bar + 1, bar2 == std::string::npos ? std::string::npos : bar2 - bar - 1);
    ex.expand(location, true);
    reduce(location);
    if (location.empty() || line.substr(0, bar).find('=') == std::string::npos) return std::nullopt;
    return location;
}

struct BareKey {
    RootKey root;
    std::string key, value;
};
inline std::optional<BareKey> bareRegistryKey(const std::string& line, const BareExpander& ex) {
    size_t eq = line.rfind('=');
    if (eq == std::string::npos) return std::nullopt;
    std::string location = line.substr(0, eq);
    ex.expand(location, true);
    size_t a = location.find('^');
    if (a == std::string::npos) return std::nullopt;
    size_t b = location.find('^', a + 1);
    if (b == std::string::npos) return std::nullopt;
    size_t c = location.find('^', b + 1);
    auto root = rootKeyFromNumber(std::string_view(location).substr(0, a));
    if (!root) return std::nullopt;
    BareKey k{*root, location.substr(a + 1, b - a - 1),
              location.substr(b + 1, c == std::string::npos ? std::string::npos : c - b - 1)};
    reduce(k.value);
    return k;
}

inline std::string bareExePath(const std::string& line, const BareExpander& ex) {
    size_t eq = line.find('=');
    if (eq == std::string::npos) return "";
    std::string rest = line.substr(eq + 1);
    rest.resize(std::min(rest.size(), rest.find('=')));
    size_t bar = rest.find('|');
    std::string folder = bar == std::string::npos ? rest : rest.substr(bar + 1, rest.find('|', bar + 1) - bar - 1);
    ex.expand(folder, false);
    std::string path = folder + "\\" + line.substr(0, eq);
    reduce(path);
    return path;
}

struct FloorCounts {
    long files = 0, folders = 0, keys = 0, values = 0, cookies = 0, processes = 0;
    long long bytesRead = 0;
};

}  // namespace vedozer::bench
