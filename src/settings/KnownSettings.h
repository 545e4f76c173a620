#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vedozer {

// How a setting's value is written in the store and what a person may give for it.
enum class SettingKind {
    CheckBox,  // "1" or "0"
    Choice,    // "True" or "False"; an option pair is saved with its partner set the other way
    Text,      // one line of text
    Address,   // empty, or an http:// or https:// address
    Status,    // kept by the program (times of the last scans, the removed total): read only
};

// A setting the program reads, with the value it takes when the store has none.
struct KnownSetting {
    const char* name;  // what people type: "scan-cookies"
    const char* section;
    const char* key;  // as stored: "chkScanCookies"
    const char* defaultValue;
    const char* meaning;
    SettingKind kind = SettingKind::Text;
    const char* pairedKey = nullptr;  // Choice: the other key of its option pair
};

// Every per-user setting of the options and the status, in the order a listing shows them.
const std::vector<KnownSetting>& knownSettings();
// By its readable name or by its stored key (letter case ignored either way); null when unknown.
const KnownSetting* findKnownSetting(std::string_view nameOrKey);
const KnownSetting* findKnownSetting(std::string_view section, std::string_view key);

// The stored form of a value a person gave: "on", "yes", "true" and "1" all become "1" for a
// check box and "True" for a choice. Nothing, with the reason, when the value does not fit.
std::optional<std::string> storedSettingValue(const KnownSetting& setting, std::string_view given, std::string& error);

}  // namespace vedozer
