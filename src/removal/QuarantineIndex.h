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

// The system an item was taken from: where its drives were mounted and which installation it
// was. An empty identity is unknown (entries written before identities were recorded).
struct TargetIdentity {
    std::string drives;        // "C=/mnt/win D=/mnt/data" as the host saw them ("C:" on Windows itself)
    std::string softwareHive;  // where the installation's SOFTWARE hive was
    std::string productName;   // HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion: ProductName
    std::string installDate;   // ... and InstallDate, as an ISO 8601 UTC time
    std::string user;          // the profile scanned, "" when none
    bool empty() const { return drives.empty() && softwareHive.empty() && productName.empty() && installDate.empty(); }
    // One line for people: "Windows 7 Professional installed 2011-03-04 (C=/mnt/win), user alice".
    std::string describe() const;
    bool operator==(const TargetIdentity&) const = default;
};

// Whether two identities name the same installation at the same place: the SOFTWARE hive's path,
// product name and install date all agree (a copy of an image, or the disk mounted elsewhere, is
// another target). Unknown identities never match.
bool sameInstallation(const TargetIdentity& a, const TargetIdentity& b);

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
    TargetIdentity target;   // from a T record; empty for older entries
};

// The index is a text file of records, one a line, ended by CR LF. Fields are separated by tabs;
// "\", tab, CR and LF inside a field are written "\\", "\t", "\r", "\n". Every record ends with a
// "$" field, so a line cut short by a crash is recognised and ignored.
//   Q <id> <kind> <time> <stored name> <location> <value name> <spyware name> $
//   W <id> <time> $      the removal failed, the item stayed in place
//   R <id> <time> $      the item was put back
//   T <id> <drives> <SOFTWARE hive> <product name> <install date> <user> $
//                        the system the item came from, written together with its Q record
//                        (older indexes have none; older programs skip it)
namespace quarantine_index {

std::string escapeField(std::string_view field);
std::optional<std::string> unescapeField(std::string_view field);

std::string formatEntry(const QuarantineEntry& entry);
std::string formatWithdrawn(uint64_t id, const std::string& time);
std::string formatRestored(uint64_t id, const std::string& time);
std::string formatTarget(uint64_t id, const TargetIdentity& target);

// Every valid record of the text, in order, with W and R records applied to their entries.
// Invalid or cut-short lines are skipped; so is an entry whose id was already used.
std::vector<QuarantineEntry> parse(std::string_view text);

// A stored name must stay inside the quarantine folder: a plain name, no separators, not "." or "..".
bool isPlainName(std::string_view name);

}  // namespace quarantine_index

}  // namespace vedozer
