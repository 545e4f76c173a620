// Measures the list tests a scan asks once per definition line and the definition count at start-up:
//   - IsSafe and IsExcluded for 100,000 items against 10,000 safe entries and 5,000 exclusions,
//     next to the literal linear tests (timed on a sample and scaled up);
//   - IsExcludedFolder, which stays a substring search over the exclusion text;
//   - CountDefinitions over 1,000,000 definition lines in real files, and a full decoded read.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "definitions/DefinitionFiles.h"
#include "definitions/ExclusionList.h"
#include "definitions/LineCodec.h"
#include "definitions/LineReader.h"
#include "definitions/SafeList.h"
#include "platform/image/ImageFileSystem.h"
#include "support/ListReference.h"

using namespace vedozer;
using Clock = std::chrono::steady_clock;

namespace {

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string path(std::mt19937& rng, int i) {
    static const char* roots[] = {"C:\\Program Files\\", "C:\\WINDOWS\\system32\\",
                                  "C:\\Documents and Settings\\Alice\\Application Data\\",
                                  "HKEY_LOCAL_MACHINE\\Software\\",
                                  "HKEY_CURRENT_USER\\Software\\Microsoft\\"};
    return std::string(roots[rng() % 5]) + "Vendor" + std::to_string(rng() % 5000) + "\\item" +
           std::to_string(i) + (i % 3 ? ".dll" : "");
}

// Every tenth item is a safe entry and every twentieth an exclusion, in other letter case.
std::vector<std::string> makeItems(const std::vector<std::string>& safe,
                                   const std::vector<std::string>& excluded, std::mt19937& rng, size_t n) {
    std::vector<std::string> items;
    for (size_t i = 0; i < n; ++i) {
        if (i % 10 == 0)
            items.push_back(text::toUpper(safe[rng() % safe.size()]));
        else if (i % 20 == 5)
            items.push_back(" " + text::toLower(excluded[rng() % excluded.size()]));
        else
            items.push_back(path(rng, 1000000 + static_cast<int>(i)));
    }
    return items;
}

void benchLists() {
    std::mt19937 rng(42);
    std::vector<std::string> safeEntries, exclusions;
    for (int i = 0; i < 10000; ++i) safeEntries.push_back(path(rng, i));
    for (int i = 0; i < 5000; ++i) exclusions.push_back(path(rng, 100000 + i));
    auto items = makeItems(safeEntries, exclusions, rng, 100000);

    auto start = Clock::now();
    SafeList safe(safeEntries);
    ExclusionList excluded(exclusions);
    double build = secondsSince(start);

    start = Clock::now();
    size_t safeHits = 0, excludedHits = 0;
    for (const auto& item : items) {
        if (safe.IsSafe(item))
            ++safeHits;
        else if (excluded.IsExcluded(item))
            ++excludedHits;
    }
    double indexed = secondsSince(start);
    std::printf("lists: 10,000 safe entries, 5,000 exclusions (indexes built in %.1f ms)\n", build * 1e3);
    std::printf(
        "  indexed IsSafe+IsExcluded, 100,000 items: %.1f ms (%.2f us/item; %zu safe, %zu excluded)\n",
        indexed * 1e3, indexed * 1e6 / items.size(), safeHits, excludedHits);

    const size_t sample = 1000;
    start = Clock::now();
    size_t naiveSafe = 0, naiveExcluded = 0;
    for (size_t i = 0; i < sample; ++i) {
        if (test::referenceIsSafe(safe.elements(), items[i]))
            ++naiveSafe;
        else if (test::referenceIsExcluded(excluded.text(), items[i]))
            ++naiveExcluded;
    }
    double naive = secondsSince(start);
    size_t indexedSafe = 0, indexedExcluded = 0;
    for (size_t i = 0; i < sample; ++i) {
        if (safe.IsSafe(items[i]))
            ++indexedSafe;
        else if (excluded.IsExcluded(items[i]))
            ++indexedExcluded;
    }
    std::printf("  linear IsSafe+IsExcluded, %zu items: %.1f ms (%.0f us/item; 100,000 items ~ %.1f s)%s\n",
                sample, naive * 1e3, naive * 1e6 / sample, naive * 100000 / sample,
                naiveSafe == indexedSafe && naiveExcluded == indexedExcluded ? "" : "  ** ANSWERS DIFFER **");

    start = Clock::now();
    size_t folderHits = 0;
    const size_t folderItems = 10000;
    for (size_t i = 0; i < folderItems; ++i) folderHits += excluded.IsExcludedFolder(items[i]);
    double folder = secondsSince(start);
    std::printf("  IsExcludedFolder (substring search), %zu items: %.1f ms (%.1f us/item, %zu hits)\n",
                folderItems, folder * 1e3, folder * 1e6 / folderItems, folderHits);
}

void writeFile(const std::filesystem::path& p, size_t lines, const std::string& sample) {
    std::ofstream out(p, std::ios::binary);
    std::string encoded = EncodeDefinitionLine(sample);
    std::string block;
    for (int i = 0; i < 1000; ++i) block += encoded + "\r\n";
    for (size_t i = 0; i < lines / 1000; ++i) out << block;
    for (size_t i = 0; i < lines % 1000; ++i) out << encoded << "\r\n";
}

void benchCount() {
    std::random_device rd;
    auto folder = std::filesystem::temp_directory_path() / ("vedozer-bench-" + std::to_string(rd()));
    std::filesystem::create_directories(folder);
    writeFile(folder / kFileDefinitionFile, 400000,
              "abhook.dll=AdBuddy Toolbar|[progfil]\\AdBuddy|Browser Helper Object");
    writeFile(folder / kRegistryDefinitionFile, 300000,
              "2^Software\\Microsoft\\Windows\\CurrentVersion\\Run^AdBuddyTray=AdBuddy Toolbar|Adware");
    writeFile(folder / kDirectoryDefinitionFile, 100000,
              "AdBuddy program folder=AdBuddy Toolbar|[progfil]\\AdBuddy|Adware");
    writeFile(folder / kExeDefinitionFile, 100000, "adbuddy.exe=AdBuddy Toolbar|[progfil]\\AdBuddy");
    writeFile(folder / kBlockedCookiesFile, 100000, "trk.adbuddy.example");
    uintmax_t bytes = 0;
    for (const auto& e : std::filesystem::directory_iterator(folder)) bytes += e.file_size();

    HostFileSystem fs;
    DefinitionSet set;
    set.dataFolder = folder.string();
    CountDefinitions(fs, set);  // warm the page cache
    auto start = Clock::now();
    int32_t total = CountDefinitions(fs, set);
    double count = secondsSince(start);
    std::printf("CountDefinitions: %d lines, %.1f MB in 5 files: %.1f ms\n", total, bytes / 1e6, count * 1e3);

    start = Clock::now();
    size_t lines = 0, chars = 0;
    for (const char* name : {kFileDefinitionFile, kRegistryDefinitionFile, kDirectoryDefinitionFile,
                             kExeDefinitionFile, kBlockedCookiesFile}) {
        auto reader = openLines(fs, dataFilePath(set.dataFolder, name));
        std::string line;
        while (reader && reader->next(line)) {
            chars += DecodeDefinitionLine(line).size();
            ++lines;
        }
    }
    double readAll = secondsSince(start);
    std::printf("  LineReader + DecodeDefinitionLine over the same files: %zu lines in %.1f ms\n", lines,
                readAll * 1e3);
    std::filesystem::remove_all(folder);
}

}  // namespace

int main() {
    benchLists();
    benchCount();
    return 0;
}
