// Definition update merge: a feed of 50,000 records (ADD and DEL mixed) merged into six files of
// 200,000 lines each, against the floor of copying the six files once (read, write, flush).
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/Host.h"
#include "definitions/LineCodec.h"
#include "platform/image/ImageFileSystem.h"
#include "update/DefinitionUpdateMerge.h"

namespace {

using namespace vedozer;
namespace fs = std::filesystem;

class QuietHost : public Host {
public:
    Answer ask(const Question&) override { return Answer::Ok; }
};

const char* const kNames[] = {"FileDefinition.dat", "ExeDefinition.dat", "RegistryDefinition.dat",
                              "BlockedCookies.dat", "DirectoryDefinition.dat", "Safety.dat"};
const char* const kTypes[] = {"FILE", "EXE", "REG", "COOK", "DIR", "SFILE"};
constexpr int kLines = 200000;
constexpr int kRecords = 50000;

std::string encodeFields(const std::string& plain) {
    std::string out, field;
    for (char c : plain) {
        if (c == '|' || c == '=') {
            out += EncodeDefinitionLine(field) + c;
            field.clear();
        } else {
            field += c;
        }
    }
    return out + EncodeDefinitionLine(field);
}

std::string record(const std::string& type, const std::string& action, const std::string& payload) {
    return EncodeDefinitionLine(type) + "|" + action + "[DEF]" + encodeFields(payload);
}

void writeFiles(const fs::path& dir) {
    for (int k = 0; k < 6; ++k) {
        std::ofstream out(dir / kNames[k], std::ios::binary | std::ios::trunc);
        std::string line;
        for (int i = 0; i < kLines; ++i) {
            line = "k" + std::to_string(k) + "e" + std::to_string(i) + ".exe=Spyware number " + std::to_string(i) +
                   "|[programfiles]\\Vendor " + std::to_string(i % 97) + "|Adware";
            out << EncodeDefinitionLine(line) << "\r\n";
        }
    }
}

std::string makeFeed() {
    std::string feed;
    for (int i = 0; i < kRecords; ++i) {
        int k = i % 6;
        std::string rec;
        if (i % 5 < 2) {  // 40 % removals of existing entries
            rec = record(kTypes[k], "DEL", "k" + std::to_string(k) + "e" + std::to_string((i * 7919) % kLines) + ".exe");
        } else if (k == 2) {
            std::string loc = "2^Software\\New" + std::to_string(i);
            rec = record("REG", "ADD", loc + "^=New " + std::to_string(i) + "|" + loc + "|Adware");
        } else {
            rec = record(kTypes[k], "ADD", "new" + std::to_string(i) + ".exe=New " + std::to_string(i) + "|[windir]|Adware");
        }
        if (!feed.empty()) feed += "[BR]";
        feed += rec;
    }
    return feed;
}

double seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Copies the six files once through the same file system, flushing each copy as the merge does.
double copyFloor(HostFileSystem& files, const fs::path& from, const fs::path& to) {
    auto start = std::chrono::steady_clock::now();
    std::vector<char> block(1 << 20);
    for (const char* n : kNames) {
        auto in = files.openRead((from / n).string());
        auto out = files.openWrite((to / n).string(), false);
        long long got;
        while ((got = in->read(block.data(), block.size())) > 0) out->write(block.data(), static_cast<size_t>(got));
        out->close();
    }
    return seconds(start);
}

}  // namespace

int main() {
    fs::path root = fs::temp_directory_path() / ("vedozer-bench-merge-" + std::to_string(::getpid()));
    fs::path source = root / "source", work = root / "work", copy = root / "copy";
    fs::create_directories(source);
    fs::create_directories(copy);
    writeFiles(source);
    const std::string feed = makeFeed();
    uintmax_t bytes = 0;
    for (const char* n : kNames) bytes += fs::file_size(source / n);
    std::printf("six files of %d lines (%.1f MB in all), feed of %d records (%.1f MB)\n", kLines, bytes / 1e6, kRecords,
                feed.size() / 1e6);

    HostFileSystem files;
    QuietHost host;
    double bestMerge = 1e9, bestCopy = 1e9;
    for (int run = 1; run <= 3; ++run) {
        fs::remove_all(work);
        fs::copy(source, work);
        // The whole merge as Live Update runs it: recovery check, staging, commit.
        auto start = std::chrono::steady_clock::now();
        recoverDefinitionUpdate(files, work.string());
        UpdateTransaction tx(files, work.string());
        MergeResult r = stageDefinitionUpdate(tx, files, work.string(), feed, host);
        double staged = seconds(start);
        std::string error;
        if (!r.ok || !tx.commit(error)) {
            std::fprintf(stderr, "merge failed: %s%s\n", r.error.c_str(), error.c_str());
            return 1;
        }
        double merge = seconds(start);
        double floor = copyFloor(files, source, copy);
        std::printf("run %d: merge %.3f s (staging %.3f, commit %.3f; count %d), copy floor %.3f s, ratio %.2f\n", run,
                    merge, staged, merge - staged, r.count, floor, merge / floor);
        bestMerge = std::min(bestMerge, merge);
        bestCopy = std::min(bestCopy, floor);
    }
    std::printf("best: merge %.3f s, copy floor %.3f s, ratio %.2f (target: within 3x)\n", bestMerge, bestCopy,
                bestMerge / bestCopy);
    fs::remove_all(root);
    return 0;
}
