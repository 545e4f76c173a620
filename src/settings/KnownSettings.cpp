#include "settings/KnownSettings.h"

#include "settings/SettingsKeys.h"
#include "text/Text.h"

namespace vedozer {

const std::vector<KnownSetting>& knownSettings() {
    using namespace skey;
    using K = SettingKind;
    static const std::vector<KnownSetting> table = {
        {"scan-cookies", OptionAndSettings, scanCookies, "1", "scan Internet cookies", K::CheckBox},
        {"scan-memory", OptionAndSettings, scanMemory, "1", "scan running programs", K::CheckBox},
        {"scan-registry", OptionAndSettings, scanRegistry, "1", "scan the Windows registry", K::CheckBox},
        {"complete-scan", OptionAndSettings, completeScanMode, "True",
         "record a scan as complete (both last-scan times) rather than quick (the last scan only); "
         "both run the same stages",
         K::Choice, quickScanMode},
        {"write-report", OptionAndSettings, writeReport, "1", "save the scan results to the report", K::CheckBox},
        {"send-anonymous-data", OptionAndSettings, sendAnonymousData, "1",
         "after a removal, send the names of programs running from the scanned system (unset: asked first)",
         K::CheckBox},
        {"memory-shield", OptionAndSettings, memoryShieldOn, "True", "memory shield on", K::Choice, memoryShieldOff},
        {"home-page-shield", OptionAndSettings, homePageShieldOn, "True", "home-page shield on", K::Choice,
         homePageShieldOff},
        {"ask-before-restoring-home-page", OptionAndSettings, homePageAskBeforeRestoring, "True",
         "ask before the home page is restored (False: restore it silently)", K::Choice, homePageRestoreSilently},
        {"home-page", OptionAndSettings, Homepage, "", "the home page to keep", K::Text},
        {"scheduled-scan", OptionAndSettings, scheduledScanOn, "0", "scheduled scans on", K::CheckBox},
        {"delete-after-scheduled-scan", Settings, autoDelete, "0", "remove what a scheduled scan finds",
         K::CheckBox},
        {"automatic-update", OptionAndSettings, automaticUpdate, "1", "automatic Live Update", K::CheckBox},
        {"run-at-startup", OptionAndSettings, runAtStartup, "0", "run at start-up", K::CheckBox},
        {"language", Settings, Language, "English", "language of the texts", K::Text},
        {"definition-server", Settings, "DefinitionServer", "", "definition server address (empty: the built-in one)",
         K::Address},
        {"last-scan", Settings, lastScan, "Never", "time of the last scan", K::Status},
        {"last-complete-scan", Settings, lastCompleteScan, "Never", "time of the last complete scan", K::Status},
        {"removed-total", Settings, removedTotal, "0", "items removed so far", K::Status},
    };
    return table;
}

const KnownSetting* findKnownSetting(std::string_view nameOrKey) {
    std::string wanted = text::trim(nameOrKey);
    for (const KnownSetting& k : knownSettings())
        if (text::iequals(wanted, k.name) || text::iequals(wanted, k.key)) return &k;
    return nullptr;
}

const KnownSetting* findKnownSetting(std::string_view section, std::string_view key) {
    for (const KnownSetting& k : knownSettings())
        if (text::iequals(section, k.section) && (text::iequals(key, k.key) || text::iequals(key, k.name))) return &k;
    return nullptr;
}

namespace {

std::optional<bool> yesOrNo(std::string_view given) {
    std::string v = text::toLower(text::trim(given));
    for (const char* yes : {"1", "on", "yes", "true"})
        if (v == yes) return true;
    for (const char* no : {"0", "off", "no", "false"})
        if (v == no) return false;
    return std::nullopt;
}

}  // namespace

std::optional<std::string> storedSettingValue(const KnownSetting& k, std::string_view given, std::string& error) {
    switch (k.kind) {
        case SettingKind::CheckBox:
        case SettingKind::Choice:
            if (auto on = yesOrNo(given)) {
                if (k.kind == SettingKind::CheckBox) return std::string(*on ? "1" : "0");
                return std::string(*on ? "True" : "False");
            }
            error = std::string(k.name) + " is on or off: give on/off (or 1/0, yes/no, true/false), not \"" +
                    std::string(given) + "\"";
            return std::nullopt;
        case SettingKind::Address: {
            std::string v = text::trim(given);
            if (v.empty() || text::istartsWith(v, "http://") || text::istartsWith(v, "https://")) {
                if (v.find_first_of(" \t\r\n") == std::string::npos) return v;
            }
            error = std::string(k.name) + " is an address such as http://127.0.0.1:8080 (or empty), not \"" +
                    std::string(given) + "\"";
            return std::nullopt;
        }
        case SettingKind::Text:
            for (char c : given) {
                if (text::isControlByte(static_cast<unsigned char>(c))) {
                    error = std::string(k.name) + " takes one line of text without control characters";
                    return std::nullopt;
                }
            }
            return std::string(given);
        case SettingKind::Status:
            error = std::string(k.name) + " is kept by the program and cannot be set";
            return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace vedozer
