#pragma once
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "update/ServerDate.h"

namespace vedozer::server {

// One change of the repository, in plain (decoded) text:
//   ADD FILE bad.exe=Bad Spy|[windir]\system32|Adware
//   DEL REG 2^Software\Bad Spy
struct Change {
    std::string action;   // "ADD" or "DEL"
    std::string type;     // FILE EXE DLL REG COOK DIR SFILE SEXE SDLL SREG SDIR
    std::string payload;  // the definition as the target file holds it, decoded
    int line = 0;
};

struct ChangeSet {
    DateValue date;
    std::string fileName;
    std::vector<Change> changes;
};

struct RepositoryError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The date a change-set file name stands for: "2006-04-01.txt" (midnight) or
// "2006-04-01_143000.txt" (2:30:00 PM). Nothing for other names.
std::optional<DateValue> changeSetDate(std::string_view fileName);

// Reads a change set. Blank lines and lines starting with "#" are skipped. Throws
// RepositoryError naming the file and line for anything that cannot be sent in a feed.
ChangeSet parseChangeSet(std::string_view text, const std::string& fileName, const DateValue& date);

// The feed record of a change: encoded type code, "|", action, "[DEF]", payload with each
// field encoded and the separators "|" and "=" plain.
std::string feedRecord(const Change& change);

// The feed for clients whose definitions date from `since`: every change of the sets dated
// after it, oldest set first, records joined by "[BR]".
std::string buildFeed(const std::vector<ChangeSet>& sets, const DateValue& since);

// "M/d/yyyy h:mm:ss AM", the time always written.
std::string fullDateText(const DateValue& date);

}  // namespace vedozer::server
