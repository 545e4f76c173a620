#include "report/ScanReport.h"

#include "definitions/DefinitionFiles.h"
#include "definitions/LineReader.h"
#include "text/Text.h"

namespace vedozer {

namespace {
constexpr const char* kCrLf = "\r\n";
const std::string kHyphens(23, '-');

// Every line of a data-folder file, or nothing when it is missing or fails part-way.
std::vector<std::string> readAllLines(FileSystem& fs, const std::string& path) {
    auto in = fs.openRead(path);
    if (!in) return {};
    LineReader reader(std::move(in));
    std::vector<std::string> lines;
    std::string line;
    while (reader.next(line)) lines.push_back(line);
    if (reader.failed()) return {};
    return lines;
}
}  // namespace

std::string buildScanReport(const ScanReportInput& in) {
    std::string quarantine;
    // Names and locations come from the scanned system and the definitions: their control
    // characters are written escaped, so the layout holds and no viewer is steered by them.
    using text::escapeControls;
    for (const auto& line : in.quarantineLogLines) quarantine += escapeControls(line) + kCrLf + kCrLf;
    std::string excluded;
    for (const auto& line : in.exclusionLines)
        if (!line.empty() && line != " ") excluded += escapeControls(line) + kCrLf;

    std::string r;
    // Each write is its text and a CR LF of its own.
    auto write = [&r](const std::string& text) { r += text + kCrLf; };
    write(kCrLf);
    write(std::string(19, ' ') + in.programName + "v" + std::to_string(in.majorVersion) + "." +
          std::to_string(in.minorVersion) + "   Scan Report." + kCrLf);
    write(kCrLf);
    write(kHyphens + kCrLf);
    write(" Scan Started at  : " + in.scanStarted + kCrLf);
    write(" Scan Finished at : " + in.scanFinished + kCrLf);
    write(kHyphens + kCrLf);
    for (int i = 0; i < 3; ++i) write(kCrLf);
    write(" 1)Total Number of Cookies and Processes inspected: " + in.memoryInspected + kCrLf);
    write(" 2)Total Number of Registry entries inspected: " + in.registryInspected + kCrLf);
    write(" 3)Total Number of Files/Folders inspected: " + in.filesFoldersInspected + kCrLf);
    write(kCrLf);
    write(std::string("[Threats Detected]") + kCrLf + kCrLf);
    for (const auto& [name, location] : in.threats) {
        write(escapeControls(name) + kCrLf);
        write(escapeControls(location) + kCrLf + kCrLf);
    }
    write("Total = " + std::to_string(in.threats.size()) + kCrLf);
    if (!in.uncheckedLocations.empty()) {
        std::string unchecked;
        for (const auto& line : in.uncheckedLocations) unchecked += escapeControls(line) + kCrLf;
        write(std::string(kCrLf) + "[Locations Not Checked]" + kCrLf + kCrLf + unchecked + kCrLf);
    }
    if (!excluded.empty())
        write(std::string(kCrLf) + "[Files Currently Excluded]" + kCrLf + kCrLf + excluded + kCrLf);
    if (!quarantine.empty())
        write(std::string(kCrLf) + "[Current Quarantine Log]" + kCrLf + kCrLf + quarantine + kCrLf + kCrLf);
    write(kCrLf);
    write(std::string(21, '=') + "End Of Report.");
    return r;
}

std::string reportViewerText(std::string_view reportFile) {
    std::string out;
    for (const auto& line : splitLines(reportFile)) {
        if (text::trim(line).empty()) out += kCrLf;
        else out += line;
    }
    return out;
}

std::string reportWindowCaption(const std::string& programName) { return programName + " Log"; }

std::string scanReportPath(const std::string& dataFolder) { return dataFilePath(dataFolder, kScanReportFile); }

bool MakeReport(FileSystem& dataFiles, const std::string& dataFolder, ScanReportInput input) {
    input.quarantineLogLines = readAllLines(dataFiles, dataFolder + "\\quarantine\\QuarantineLog.txt");
    input.exclusionLines = readAllLines(dataFiles, dataFilePath(dataFolder, kExclusionFile));
    auto out = dataFiles.openWrite(scanReportPath(dataFolder), true);
    if (!out) return false;
    bool ok = out->write(buildScanReport(input));
    return out->close() && ok;
}

std::string loadReportViewerText(FileSystem& dataFiles, const std::string& dataFolder) {
    auto text = dataFiles.readAll(scanReportPath(dataFolder));
    return text ? reportViewerText(*text) : "";
}

}  // namespace vedozer
