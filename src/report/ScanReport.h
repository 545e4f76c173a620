#pragma once
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/FileSystem.h"

namespace vedozer {

inline constexpr const char* kScanReportFile = "Scan_Log.txt";

// Everything the scan report prints.
struct ScanReportInput {
    std::string programName;
    int majorVersion = 1;
    int minorVersion = 0;
    std::string scanStarted;   // date and time text
    std::string scanFinished;
    // The three inspection counters as the scan page shows them.
    std::string memoryInspected;
    std::string registryInspected;
    std::string filesFoldersInspected;
    // Every removal-list row, checked or not: spyware name and location.
    std::vector<std::pair<std::string, std::string>> threats;
    // Locations the scan could not read (so what lies under them went unchecked).
    std::vector<std::string> uncheckedLocations;
    std::vector<std::string> exclusionLines;      // ENoSignature.dat as read
    std::vector<std::string> quarantineLogLines;  // quarantine\QuarantineLog.txt as read
};

// The report text, lines ended by CR LF. Empty and single-blank exclusion lines are left
// out; the sections of unchecked locations, exclusions and the quarantine log appear only
// when they have text.
std::string buildScanReport(const ScanReportInput& input);

// The report as the report window shows it: a line that is blank after trimming becomes
// one line break, any other line is appended as it is, without a break.
std::string reportViewerText(std::string_view reportFile);
// Caption of the report window.
std::string reportWindowCaption(const std::string& programName);

// dataFolder + "\Scan_Log.txt"
std::string scanReportPath(const std::string& dataFolder);

// Writes the report into the data folder, replacing the previous one in one step. The
// exclusion list and quarantine log are read from the data folder here (a file that
// cannot be read leaves its section out). False when the report could not be written.
bool MakeReport(FileSystem& dataFiles, const std::string& dataFolder, ScanReportInput input);

// The viewer text of the report in the data folder; empty when there is none.
std::string loadReportViewerText(FileSystem& dataFiles, const std::string& dataFolder);

}  // namespace vedozer
