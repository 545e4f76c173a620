#pragma once
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "RecentNames.h"

namespace vedozer::server {

// The names a payload of "/asp/getData.asp?data=" carries: the shifted names separated by "|",
// unshifted. Empty pieces are dropped.
std::vector<std::string> decodeSubmission(std::string_view payload);

// A name as written to the log: control characters and "\" escaped ("\x09", "\\").
std::string escapeName(std::string_view name);

// Submitted names, one per line: UTC time, tab, sender address, tab, escaped name, CR LF.
// A name the log already holds is not written again as long as it is among the names the server
// remembers: the last `rememberedNames` distinct names at least (memory stays the same however
// many names arrive; older repeats are written again and can be merged offline).
class SubmissionLog {
public:
    static constexpr size_t kMaxNames = 1000;
    static constexpr size_t kMaxNameLength = 1024;
    static constexpr size_t kDefaultRememberedNames = 500000;

    explicit SubmissionLog(std::filesystem::path file, size_t rememberedNames = kDefaultRememberedNames);

    enum class Result { Added, Skipped, Rejected };
    // Added when at least one name was new, Skipped when all were known, Rejected for an empty
    // or oversized payload. Throws std::runtime_error when the log cannot be written.
    Result record(std::string_view payload, const std::string& sender);

    const std::filesystem::path& file() const { return m_file; }

private:
    std::filesystem::path m_file;
    std::mutex m_mutex;
    RecentNames m_known;  // escaped names
};

}  // namespace vedozer::server
