// Definition update merge: a feed of 50,000 records (ADD and DEL mixed) merged into six files of
// 200,000 lines each, against the floors of copying the six files once, bare: read, write and flush
// each with plain system calls, and cp with one sync. bench/merge_end_to_end.sh measures the whole
// Live Update through vedozer-defserver.
#include <fcntl.h>
#include <unistd.h>

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

// The floors, bare: the six files copied once with plain system calls, each flushed as the merge
// flushes its new files; and as the shell does it, cp and one sync for the lot.
double copyFloor(const fs::path& from, const fs::path& to) {
    auto start = std::chrono::steady_clock::now();
    std::vector<char> block(1 << 20);
    for (const char* n : kNames) {
        int in = ::open((from / n).c_str(), O_RDONLY | O_CLOEXEC);
        int out = ::open((to / n).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        ssize_t got;
        while ((got = ::read(in, block.data(), block.size())) > 0)
            if (::write(out, block.data(), static_cast<size_t>(got)) != got) break;
        ::fsync(out);
        ::close(out);
        ::close(in);
    }
    return seconds(start);
}

double cpAndSync(const fs::path& from, const fs::path& to) {
    auto start = std::chrono::steady_clock::now();
    const std::string command = "cp " + (from / "*.dat").string() + " " + to.string() + "/ && sync";
    if (std::system(command.c_str()) != 0) return -1;
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
    double bestMerge = 1e9, bestCopy = 1e9, bestCp = 1e9;
    for (int run = 1; run <= 3; ++run) {
        fs::remove_all(work);
        fs::copy(source, work);
        fs::remove_all(copy);
        fs::create_directories(copy);
        ::sync();
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
        double floor = copyFloor(source, copy);
        fs::remove_all(copy);
        fs::create_directories(copy);
        ::sync();
        double cp = cpAndSync(source, copy);
        std::printf("run %d: merge %.3f s (staging %.3f, commit %.3f; count %d); floors: copy with a flush per file "
                    "%.3f s (ratio %.2f), cp + sync %.3f s (ratio %.2f)\n",
                    run, merge, staged, merge - staged, r.count, floor, merge / floor, cp, merge / cp);
        bestMerge = std::min(bestMerge, merge);
        bestCopy = std::min(bestCopy, floor);
        bestCp = std::min(bestCp, cp);
    }
    std::printf("best: merge %.3f s; copy floor %.3f s, ratio %.2f; cp + sync %.3f s, ratio %.2f (target: within 3x)\n",
                bestMerge, bestCopy, bestMerge / bestCopy, bestCp, bestMerge / bestCp);
    fs::remove_all(root);
    return 0;
}
