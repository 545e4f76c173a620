#include "scan/FileScan.h"

#include "definitions/DefinitionRecords.h"
#include "definitions/LineCodec.h"
#include "definitions/PathTokens.h"
#include "scan/FileCompanyName.h"
#include "text/Text.h"

namespace vedozer {

namespace {

bool blank(const std::string& line) { return text::trimWhitespace(line).empty(); }

// The name part (before the first "|") lacks "=": the line names no spyware.
bool lacksSpywareName(std::string_view line) {
    return line.substr(0, line.find('|')).find('=') == std::string_view::npos;
}

std::optional<int> overallPercent(const ScanContext& ctx) {
    const DefinitionSet& d = ctx.definitions;
    return scanPercent(static_cast<double>(ctx.counters.filesAndFoldersInspected) + d.registryCount + d.cookieCount +
                           d.executableCount,
                       d.total);
}

std::string where(const char* file, long line) { return std::string(file) + " line " + std::to_string(line); }

// Runs the loop shared by both operations: stop test, read, decode, the line's own work,
// yield. Notes lines cut for length and a read that failed part-way.
template <class PerLine>
void eachDefinitionLine(ScanContext& ctx, const char* fileName, PerLine perLine) {
    auto lines = openLines(ctx.dataFiles(), dataFilePath(ctx.dataFolder(), fileName));
    if (!lines) return;
    std::string raw;
    long number = 0;
    while (!ctx.stopped() && lines->next(raw)) {
        ++number;
        if (lines->truncated()) ctx.skip(where(fileName, number) + ": too long, cut");
        if (!perLine(DecodeDefinitionLine(raw), number)) return;
        ctx.yield();
    }
    if (lines->failed()) ctx.skip(std::string(fileName) + ": read error after line " + std::to_string(number));
}

}  // namespace

std::string scannedFileCompany(ScanContext& ctx, const std::string& path) {
    auto in = ctx.files().openRead(path);
    if (!in) {
        ctx.skip("cannot read " + path + " for its company name");
        return "";
    }
    return GetFileCompanyName(*in);
}

void ScanFileDefinitions(ScanContext& ctx) {
    const LocationExpander expander = makeLocationExpander(*ctx.platform.shellFolders);
    eachDefinitionLine(ctx, kFileDefinitionFile, [&](const std::string& line, long number) {
        FileDefinition d = parseFileDefinition(line, expander);
        ++ctx.counters.filesAndFoldersInspected;
        ctx.showProgress(d.item, ctx.counters.filesAndFoldersInspected, ctx.definitions.fileCount,
                         scanPercent(ctx.counters.filesAndFoldersInspected, ctx.definitions.fileCount),
                         overallPercent(ctx));
        if (ctx.stopped()) return false;
        if (lacksSpywareName(line)) {
            if (!blank(line)) ctx.skip(where(kFileDefinitionFile, number) + ": no \"=\" before the spyware name");
            return true;
        }
        if (!FileExists(ctx.files(), d.path)) return true;
        if (ctx.safeList.IsSafe(d.path)) return true;
        if (ctx.exclusions.IsExcluded(d.path) || ctx.exclusions.IsExcludedName(d.spywareName)) {
            ctx.results.addExcluded(DetectionKind::File, d.path);
            return true;
        }
        if (isMicrosoftCompany(scannedFileCompany(ctx, d.path))) return true;
        ctx.results.addFileDetection(d.path, d.spywareName);
        ctx.showTraces();
        ctx.results.listThreat(d.spywareName, d.path, d.type, kIconFile, ctx.counters);
        return true;
    });
}

void ScanDirectoryDefinitions(ScanContext& ctx) {
    const LocationExpander expander = makeLocationExpander(*ctx.platform.shellFolders);
    eachDefinitionLine(ctx, kDirectoryDefinitionFile, [&](const std::string& line, long number) {
        auto d = parseDirectoryDefinition(line, expander);
        if (!d) {
            if (!blank(line)) ctx.skip(where(kDirectoryDefinitionFile, number) + ": no folder");
            return true;
        }
        ++ctx.counters.filesAndFoldersInspected;
        ctx.showProgress(d->label, ctx.counters.filesAndFoldersInspected, ctx.definitions.fileCount,
                         scanPercent(ctx.counters.filesAndFoldersInspected, ctx.definitions.fileCount),
                         overallPercent(ctx));
        if (ctx.stopped()) return false;
        if (lacksSpywareName(line)) {
            ctx.skip(where(kDirectoryDefinitionFile, number) + ": no \"=\" before the spyware name");
            return true;
        }
        if (!ctx.files().folderExists(d->path)) return true;
        if (ctx.safeList.IsSafe(d->path)) return true;
        if (ctx.exclusions.IsExcludedFolder(d->path) || ctx.exclusions.IsExcludedName(d->spywareName)) {
            ctx.results.addExcluded(DetectionKind::Folder, d->path);
            return true;
        }
        ctx.results.addFileDetection(d->path, d->spywareName, /*folder=*/true);
        ctx.showTraces();
        ctx.results.listThreat(d->spywareName, d->path, d->type, kIconFolder, ctx.counters);
        return true;
    });
}

}  // namespace vedozer
