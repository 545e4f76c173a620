#include "scan/RegistryScan.h"

#include <cstring>

#include "definitions/DefinitionRecords.h"
#include "definitions/LineCodec.h"
#include "definitions/PathTokens.h"
#include "text/Text.h"

namespace vedozer {

namespace {

// A key or value that could not be looked at: neither found nor absent.
bool unreadableStatus(RegStatus s) { return s == RegStatus::Error || s == RegStatus::AccessDenied; }

void noteProblem(Registry& registry, RegStatus status, RootKey root, const std::string& keyPath,
                 std::string* unreadable) {
    if (!unreadable) return;
    std::string problem = registry.lastProblem();
    if (problem.empty())
        problem = std::string(rootKeyName(root)) + "\\" + keyPath +
                  (status == RegStatus::AccessDenied ? ": access denied" : ": cannot be read");
    *unreadable = problem;
}

}  // namespace

std::optional<std::string> RegistryValueExists(Registry& registry, RootKey root, const std::string& keyPath,
                                               const std::string& valueName, std::string* unreadable) {
    // Both must succeed; the value is asked first because most definitions name values that
    // are not there, and then the key need not be opened at all.
    RegistryValue value;
    RegStatus read = registry.readValue(root, keyPath, valueName, value);
    if (unreadableStatus(read)) noteProblem(registry, read, root, keyPath, unreadable);
    if (read != RegStatus::Ok) return std::nullopt;
    if (RegStatus open = registry.openKey(root, keyPath, kKeyReadWriteMask); open != RegStatus::Ok) {
        if (unreadableStatus(open)) noteProblem(registry, open, root, keyPath, unreadable);
        return std::nullopt;
    }
    switch (value.type) {
        case kRegSz:
        case kRegExpandSz: {
            std::string data = value.data;
            size_t zero = data.find('\0');
            if (zero != std::string::npos) data.resize(zero);
            return data;
        }
        case kRegDword: {
            if (value.data.size() < 4) return std::nullopt;
            uint32_t n = 0;
            std::memcpy(&n, value.data.data(), 4);
            return std::to_string(n);
        }
        default:
            return std::nullopt;
    }
}

bool RegistryKeyExists(Registry& registry, RootKey root, const std::string& keyPath, std::string* unreadable) {
    RegStatus s = registry.openKey(root, keyPath, kKeyReadWriteMask);
    if (unreadableStatus(s) && unreadable) {
        // The value read names the key that could not be read; an open only says that one failed.
        RegistryValue ignored;
        RegStatus read = registry.readValue(root, keyPath, "", ignored);
        noteProblem(registry, unreadableStatus(read) ? read : s, root, keyPath, unreadable);
    }
    return s == RegStatus::Ok;
}

namespace {

void checkValue(ScanContext& ctx, const RegistryDefinition& d) {
    std::string unreadable;
    if (!RegistryValueExists(*ctx.platform.registry, d.root, d.keyPath, d.valueName, &unreadable)) {
        if (!unreadable.empty()) ctx.unchecked(unreadable);
        return;
    }
    const std::string display = d.displayPath();
    if (ctx.safeList.IsSafe(display)) return;
    if (ctx.exclusions.IsExcluded(display) || ctx.exclusions.IsExcluded(d.keyDisplayPath()) ||
        ctx.exclusions.IsExcludedName(d.spywareName)) {
        ctx.results.addExcluded(DetectionKind::RegistryValue, display);
        return;
    }
    ctx.results.addRegistryDetection({rootKeyHandleText(d.root), d.keyPath, d.valueName, d.spywareName});
    ctx.showTraces();
    if (ctx.results.isAlreadyFound(d.spywareName)) return;
    if (text::trim(d.spywareName).empty()) return;
    ctx.results.listThreat(d.spywareName, display, d.type, kIconRegistry, ctx.counters);
}

void checkKey(ScanContext& ctx, const RegistryDefinition& d) {
    std::string unreadable;
    if (!RegistryKeyExists(*ctx.platform.registry, d.root, text::trim(d.keyPath), &unreadable)) {
        if (!unreadable.empty()) ctx.unchecked(unreadable);
        return;
    }
    const std::string display = d.keyDisplayPath();
    if (ctx.safeList.IsSafe(display)) return;
    if (ctx.exclusions.IsExcluded(display) || ctx.exclusions.IsExcludedName(d.spywareName)) {
        ctx.results.addExcluded(DetectionKind::RegistryKey, display);
        return;
    }
    ctx.results.addRegistryDetection({rootKeyHandleText(d.root), d.keyPath, "", d.spywareName});
    ctx.showTraces();
    if (ctx.results.isAlreadyFound(d.spywareName)) return;
    if (!d.spywareName.empty()) {
        ctx.results.listThreat(d.spywareName, display, d.type, kIconRegistry, ctx.counters);
        return;
    }
    // A key without a spyware name is listed under its own path.
    ctx.results.addFoundRow("RegKey " + d.keyPath + " - Found", kIconNone);
    ctx.results.addThreat(ThreatRecord{d.keyPath, display, d.type, kIconRegistry, false});
    ++ctx.counters.softwareFound;
}

}  // namespace

void ScanRegistryDefinitions(ScanContext& ctx) {
    if (!ctx.platform.registry) return;
    const LocationExpander expander = makeLocationExpander(*ctx.platform.shellFolders);
    auto lines = openLines(ctx.dataFiles(), dataFilePath(ctx.dataFolder(), kRegistryDefinitionFile));
    if (!lines) return;
    const DefinitionSet& defs = ctx.definitions;
    std::string raw;
    long number = 0;
    while (true) {
        ctx.yield();
        if (ctx.stopped() || !lines->next(raw)) break;
        ++number;
        std::string line = DecodeDefinitionLine(raw);
        auto d = parseRegistryDefinition(line, expander);
        if (!d) {
            if (!text::trimWhitespace(line).empty())
                ctx.skip(std::string(kRegistryDefinitionFile) + " line " + std::to_string(number) +
                         ": not hive^key^value=name with a hive number from 0 to 5");
            continue;
        }
        if (lines->truncated())
            ctx.skip(std::string(kRegistryDefinitionFile) + " line " + std::to_string(number) + ": too long, cut");
        int32_t& inspected = ctx.counters.registryInspected;
        ++inspected;
        ctx.showProgress(text::toLower(d->keyPath + "\\" + d->valueName), inspected, defs.registryCount,
                         scanPercent(inspected, defs.registryCount),
                         scanPercent(static_cast<double>(inspected) + defs.cookieCount + defs.executableCount,
                                     defs.total));
        if (d->isKey()) checkKey(ctx, *d);
        else checkValue(ctx, *d);
        ctx.yield();
    }
    if (lines->failed()) ctx.skip(std::string(kRegistryDefinitionFile) + ": read error after line " +
                                  std::to_string(number));
}

}  // namespace vedozer
