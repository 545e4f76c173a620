#pragma once
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "definitions/LineCodec.h"

namespace vedozer::test {

// Text between the separators "|" and "=" encoded, the separators plain: a feed payload.
inline std::string feedPayload(const std::string& plain) {
    std::string out, field;
    for (char c : plain) {
        if (c == '|' || c == '=') {
            out += EncodeDefinitionLine(field) + c;
            field.clear();
        } else {
            field += c;
        }
    }
    return out + EncodeDefinitionLine(field);
}

// One feed record: encoded type code, "|", action, "[DEF]", payload.
inline std::string feedRecord(const std::string& type, const std::string& action, const std::string& plainPayload) {
    return EncodeDefinitionLine(type) + "|" + action + "[DEF]" + feedPayload(plainPayload);
}

inline std::string joinFeed(const std::vector<std::string>& records) {
    std::string feed;
    for (const auto& r : records) feed += (feed.empty() ? "" : "[BR]") + r;
    return feed;
}

inline std::string readHost(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void writeHost(const std::filesystem::path& p, const std::string& content) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << content;
}

// A definition file from decoded lines, each encoded and ended by CR LF.
inline void writeDefinitions(const std::filesystem::path& p, const std::vector<std::string>& decoded) {
    std::string content;
    for (const auto& l : decoded) content += EncodeDefinitionLine(l) + "\r\n";
    writeHost(p, content);
}

// The decoded lines of a definition file (only CR LF ends a line).
inline std::vector<std::string> readDefinitions(const std::filesystem::path& p) {
    std::string content = readHost(p);
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find("\r\n", start);
        if (end == std::string::npos) end = content.size();
        lines.push_back(DecodeDefinitionLine(content.substr(start, end - start)));
        start = end + 2;
    }
    return lines;
}

}  // namespace vedozer::test
