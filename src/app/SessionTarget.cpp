// The session: the system being examined, what a scan found kept between runs, and anonymous data.
#include "app/Session.h"

#include <cstdio>

#include "definitions/DefinitionFiles.h"
#include "i18n/MessageKeys.h"
#include "settings/SettingsKeys.h"
#include "submit/Submission.h"
#include "text/Text.h"

namespace vedozer {
namespace {

constexpr char kCurrentVersionKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

std::string stringValue(const std::optional<RegistryValue>& v) {
    if (!v) return "";
    std::string s = v->data.substr(0, v->data.find('\0'));
    return text::trim(s);
}

// InstallDate is a REG_DWORD of seconds since 1970 (UTC); shown as the day it names.
std::string installDay(const std::optional<RegistryValue>& v) {
    if (!v || v->type != kRegDword || v->data.size() < 4) return stringValue(v);
    uint32_t seconds = 0;
    for (int i = 3; i >= 0; --i) seconds = (seconds << 8) | static_cast<unsigned char>(v->data[i]);
    // Days since 1970 to a civil date (proleptic Gregorian), without the C library's time zone.
    int64_t days = seconds / 86400, rest = seconds % 86400;
    int64_t z = days + 719468, era = z / 146097, doe = z - era * 146097;
    int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100), mp = (5 * doy + 2) / 153;
    int64_t d = doy - (153 * mp + 2) / 5 + 1, m = mp < 10 ? mp + 3 : mp - 9, y = yoe + era * 400 + (m <= 2);
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04lld-%02lld-%02lldT%02lld:%02lld:%02lldZ", static_cast<long long>(y),
                  static_cast<long long>(m), static_cast<long long>(d), static_cast<long long>(rest / 3600),
                  static_cast<long long>(rest % 3600 / 60), static_cast<long long>(rest % 60));
    return buf;
}

std::string lastComponent(const std::string& path) {
    std::string p = path;
    while (!p.empty() && p.back() == '\\') p.pop_back();
    size_t slash = p.find_last_of('\\');
    return slash == std::string::npos ? p : p.substr(slash + 1);
}

}  // namespace

TargetIdentity Session::targetIdentity() {
    TargetIdentity t;
    for (const DriveInfo& d : files().drives()) {
        std::string shown = files().displayPath(d.root);
        while (shown.size() > 1 && (shown.back() == '/' || shown.back() == '\\')) shown.pop_back();
        std::string letter = d.root.substr(0, 1);
        // On the running system a drive is its own name; an image's drive is where it is mounted.
        std::string entry = shown == d.root.substr(0, 2) ? shown : letter + "=" + shown;
        t.drives += (t.drives.empty() ? "" : " ") + entry;
    }
    if (m_platform.systemInfo) t.softwareHive = files().displayPath(m_platform.systemInfo->systemFolder() + "\\config\\SOFTWARE");
    if (m_platform.registry) {
        t.productName = stringValue(m_platform.registry->queryValue(RootKey::LocalMachine, kCurrentVersionKey, "ProductName"));
        t.installDate = installDay(m_platform.registry->queryValue(RootKey::LocalMachine, kCurrentVersionKey, "InstallDate"));
    }
    // The profile the desktop folder lies in.
    if (m_platform.shellFolders) {
        std::string desktop = m_platform.shellFolders->folderPath(16);
        size_t slash = desktop.find_last_of('\\');
        if (slash != std::string::npos) t.user = lastComponent(desktop.substr(0, slash));
    }
    return t;
}

std::optional<std::vector<ThreatSummary>> Session::lastScanFindings() {
    auto text = dataFiles().readAll(dataFilePath(dataFolder(), kLastScanFile), 64u << 20);
    if (!text) return std::nullopt;
    return parseFindings(*text);
}

void Session::keepFindings(const std::vector<ThreatSummary>& threats) {
    // Only a convenience for later commands: a data folder that cannot take it loses nothing else.
    auto out = dataFiles().openWrite(dataFilePath(dataFolder(), kLastScanFile), true);
    if (out && out->write(formatFindings(threats))) out->close();
}

FoundExclusion Session::excludeFound(const std::string& itemIn) {
    FoundExclusion out;
    const std::string item = text::trim(itemIn);
    auto refuse = [&](std::string why) {
        out.result.status = ExclusionResult::Status::NothingToExclude;
        out.result.entries.push_back({item, Outcome::notDone(std::move(why))});
        return out;
    };
    auto findings = lastScanFindings();
    if (!findings) return refuse("there is no scan to refer to yet; scan first");
    std::vector<std::string> entries;
    auto add = [&](const std::string& entry, std::string why) {
        for (const auto& e : entries)
            if (text::iequals(e, entry)) return;
        entries.push_back(entry);
        out.explanations.push_back(std::move(why));
    };
    bool number = !item.empty() && item.find_first_not_of("0123456789") == std::string::npos;
    if (number) {
        size_t n = item.size() > 9 ? 0 : std::stoul(item);
        if (n == 0 || n > findings->size())
            return refuse("the last scan listed " + std::to_string(findings->size()) + " item(s); there is no item " + item);
        const ThreatSummary& t = (*findings)[n - 1];
        // What the results page's Exclude button adds for the row: its location and its name.
        ThreatRecord row{t.name, t.location, t.type, kIconNone, true};
        std::vector<std::string> two = exclusionEntries(row);
        add(two[0], "the location of item " + item + " (" + t.name + ")");
        if (two.size() > 1 && t.kind != DetectionKind::Process)
            add(two[1], "the name of item " + item + ": every detection of it is held back");
    } else {
        for (const auto& t : *findings) {
            if (text::iequals(t.name, item) || (t.kind == DetectionKind::Cookie && text::iequals("Cookie: " + item, t.name)))
                add(exclusionEntries(ThreatRecord{t.name, t.location, t.type, kIconNone, true}).back(),
                    "the spyware name " + t.name + ": every detection of it is held back");
            for (const auto& d : t.detections)
                if (text::iequals(d.location, item)) add(d.location, "a location of " + t.name);
        }
        if (entries.empty()) return refuse("the last scan found nothing named or located \"" + item + "\"");
    }
    out.result = excludeItems(entries);
    return out;
}

AnonymousDataChoice Session::anonymousDataChoice() {
    auto stored = setting(skey::OptionAndSettings, skey::sendAnonymousData);
    if (!stored) return AnonymousDataChoice::NotAsked;
    return anonymousDataEnabled(m_settings) ? AnonymousDataChoice::On : AnonymousDataChoice::Off;
}

bool Session::askAnonymousData() {
    std::string text = message(msg::MSG_ANON1) + "\r\n\r\n" + message(msg::MSG_ANON2) + "\r\n\r\n" +
                       "Send anonymous data to help identify unknown spyware?";
    Answer a = m_host->ask(m_languages.questionWithText(QuestionKind::AllowAnonymousData, text, Buttons::YesNo,
                                                        QuestionIcon::Question));
    bool on = a == Answer::Yes;
    m_settings.save(skey::OptionAndSettings, skey::sendAnonymousData, on ? "1" : "0");
    return on;
}

std::vector<std::string> Session::anonymousDataPreview() {
    std::vector<std::string> names;
    if (!m_platform.processes) return names;
    for (const auto& n : runningProgramNames(*m_platform.processes))
        if (!isNeverSent(n)) names.push_back(n);
    return names;
}

std::string Session::anonymousDataAddress() { return submissionUrl(definitionServer(), ""); }

}  // namespace vedozer
