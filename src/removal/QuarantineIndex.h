#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vedozer {

enum class QuarantineKind { File, Folder, RegistryValue, RegistryKey };

const char* quarantineKindName(QuarantineKind kind);  // "file", "folder", "value", "key"
std::optional<QuarantineKind> quarantineKindFromName(std::string_view name);

// One quarantined item as the machine-readable index holds it.
struct QuarantineEntry {
    uint64_t id = 0;
    QuarantineKind kind = QuarantineKind::File;
    std::string time;        // "yyyy-mm-dd hh:mm:ss", local time
    std::string storedName;  // name in the quarantine folder: the copy, or the registry backup file
    // Files and folders: the full path the item had. Registry: hive name + "\" + key path.
    std::string location;
    std::string valueName;   // registry values only ("" is the key's default value)
    std::string spywareName;
    // Set by later index records.
    bool withdrawn = false;  // the item's removal failed and it stayed where it was
    bool restored = false;
    std::string restoredTime;
};

// The index is a text file of records, one a line, ended by CR LF. Fields are separated by tabs;
// "\", tab, CR and LF inside a field are written "\\", "\t", "\r", "\n". Every record ends with a
// "$" field, so a line cut short by a crash is recognised and ignored.
//   Q <id> <kind> <time> <stored name> <location> <value name> <spyware name> $
//   W <id> <time> $      the removal failed, the item stayed in place
//   R <id> <time> $      the item was put back
namespace quarantine_index {

std::string escapeField(std::string_view field);
std::optional<std::string> unescapeField(std::string_view field);

std::string formatEntry(const QuarantineEntry& entry);
std::string formatWithdrawn(uint64_t id, const std::string& time);
std::string formatRestored(uint64_t id, const std::string& time);

// Every valid record of the text, in order, with W and R records applied to their entries.
// Invalid or cut-short lines are skipped; so is an entry whose id was already used.
std::vector<QuarantineEntry> parse(std::string_view text);

// A stored name must stay inside the quarantine folder: a plain name, no separators, not "." or "..".
bool isPlainName(std::string_view name);

}  // namespace quarantine_index

}  // namespace vedozer
