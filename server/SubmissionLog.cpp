#include "SubmissionLog.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <stdexcept>
#include <unordered_set>

#include "definitions/LineCodec.h"
#include "text/Text.h"

namespace vedozer::server {

std::vector<std::string> decodeSubmission(std::string_view payload) {
    std::vector<std::string> names;
    for (const auto& piece : text::split(payload, "|")) {
        if (!piece.empty()) names.push_back(DecodeDefinitionLine(piece));
    }
    return names;
}

std::string escapeName(std::string_view name) {
    std::string out;
    for (char ch : name) {
        auto c = static_cast<unsigned char>(ch);
        if (c == '\\') {
            out += "\\\\";
        } else if (c < 32 || c == 127) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        } else {
            out += ch;
        }
    }
    return out;
}

SubmissionLog::SubmissionLog(std::filesystem::path file, size_t rememberedNames)
    : m_file(std::move(file)), m_known(rememberedNames) {
    std::ifstream in(m_file, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        auto fields = text::split(line, "\t");
        if (fields.size() >= 3) m_known.insert(fields[2]);
    }
}

SubmissionLog::Result SubmissionLog::record(std::string_view payload, const std::string& sender) {
    std::vector<std::string> names = decodeSubmission(payload);
    if (names.empty() || names.size() > kMaxNames) return Result::Rejected;
    for (const auto& n : names) {
        if (n.size() > kMaxNameLength) return Result::Rejected;
    }
    std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm utc{};
    gmtime_r(&now, &utc);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &utc);

    std::lock_guard lock(m_mutex);
    std::string lines;
    std::vector<std::string> fresh;
    std::unordered_set<std::string> inThisRequest;
    for (const auto& n : names) {
        std::string escaped = escapeName(n);
        if (m_known.contains(escaped)) {
            m_known.insert(escaped);  // a name sent again stays remembered
            continue;
        }
        if (!inThisRequest.insert(escaped).second) continue;
        fresh.push_back(escaped);
        lines += std::string(stamp) + "\t" + escapeName(sender) + "\t" + escaped + "\r\n";
    }
    if (fresh.empty()) return Result::Skipped;
    std::ofstream out(m_file, std::ios::binary | std::ios::app);
    out << lines;
    out.flush();
    if (!out) throw std::runtime_error("cannot write " + m_file.string());
    for (const auto& e : fresh) m_known.insert(e);
    return Result::Added;
}

}  // namespace vedozer::server
