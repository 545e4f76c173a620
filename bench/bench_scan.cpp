// A whole scan through the session on a synthetic offline image (100,000 file, 20,000 folder,
// 50,000 registry, 5,000 executable and 2,000 cookie-site definitions, 10,000 safe entries, 5,000
// exclusions, 20,000 cookie files), against the floor of the same work done bare: the same
// definition lines read and decoded, the same paths looked up through the image file system, the
// same keys and values asked of the image registry, the cookie folder listed once and every
// cookie read, the files found read once (as their company name needs) and the processes listed,
// with no result lists, no progress, no safe-list or exclusion tests.
//
// Each measurement runs once in a fresh process (this program started again), so its peak
// resident memory (VmHWM) is its own and not the image builder's.
//
//   bench_scan [--scale F] [--clsids N] [--dir DIR] [--keep] [--verify]
//     --scale multiplies every count; --clsids sets the CLSID keys of SOFTWARE (10,000), which
//     decides the hive's size; --dir reuses an image built there with --keep.
//   bench_scan --child idle|floor|scan|verify DIR
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>

#include "ScanBenchImage.h"
#include "ScanFloor.h"
#include "app/Session.h"
#include "definitions/DefinitionFiles.h"
#include "definitions/DefinitionRecords.h"
#include "platform/image/ImagePlatform.h"

namespace {

using namespace vedozer;
using namespace vedozer::bench;
namespace fs = std::filesystem;

// Processor time of this process so far (user + system), less disturbed than wall time by
// other work on a busy machine.
double cpuSeconds() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    auto s = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return s(u.ru_utime) + s(u.ru_stime);
}

// Answers nothing, draws nothing; notes when each stage starts (its caption) and the last yield,
// which ends the last stage.
class TimingHost : public Host {
public:
    Answer ask(const Question&) override { return Answer::Ok; }
    void yield() override { lastYield = SteadyClock::now(); }
    void onScanStageStarted(const ScanStageStarted&) override {
        stageStarts.push_back(SteadyClock::now());
        stagePeaks.push_back(statusKiB("VmHWM"));
    }
    std::vector<SteadyClock::time_point> stageStarts;
    std::vector<long> stagePeaks;  // peak resident memory when each stage starts
    SteadyClock::time_point lastYield;
};

// The parts of the work, in the order both runs do them.
const char* const kParts[] = {"safe list", "cookies", "memory", "registry", "files+folders", "finish"};

ImageConfig imageConfig(const fs::path& dir) {
    ImageConfig c;
    c.systemDrive = (dir / "C").string();
    c.user = "alice";
    c.dataFolder = (dir / "data").string();
    c.configDir = (dir / "config").string();
    c.machineConfigDir = (dir / "machine").string();
    return c;
}

std::unique_ptr<ImagePlatform> openImage(const fs::path& dir) {
    std::string error;
    auto image = ImagePlatform::create(imageConfig(dir), error);
    if (!image) {
        std::fprintf(stderr, "cannot open the image: %s\n", error.c_str());
        std::exit(2);
    }
    return image;
}


struct Result {
    std::map<std::string, double> values;
    void set(const std::string& k, double v) { values[k] = v; }
    double get(const std::string& k) const {
        auto it = values.find(k);
        return it == values.end() ? -1 : it->second;
    }
};

void writeResult(const fs::path& file, const Result& r) {
    std::ofstream out(file);
    for (const auto& [k, v] : r.values) out << k << " " << std::fixed << v << "\n";
}

Result readResult(const fs::path& file) {
    Result r;
    std::ifstream in(file);
    std::string k;
    double v;
    while (in >> k >> v) r.values[k] = v;
    return r;
}

int childFloor(const fs::path& dir) {
    auto t0 = SteadyClock::now();
    auto image = openImage(dir);
    Result r;
    r.set("setup_s", seconds(t0));
    r.set("setup_hwm_kib", statusKiB("VmHWM"));
    auto t1 = SteadyClock::now();
    std::vector<double> parts;
    std::vector<long> peaks;
    const double cpu0 = cpuSeconds();
    FloorCounts n = runFloor(*image, parts, peaks);
    r.set("cpu_s", cpuSeconds() - cpu0);
    r.set("wall_s", seconds(t1));
    for (size_t i = 0; i < parts.size(); ++i) {
        r.set("part" + std::to_string(i), parts[i]);
        r.set("peak" + std::to_string(i), peaks[i]);
    }
    r.set("hwm_kib", statusKiB("VmHWM"));
    r.set("anon_kib", statusKiB("RssAnon"));
    r.set("file_kib", statusKiB("RssFile"));
    r.set("files", n.files), r.set("folders", n.folders), r.set("keys", n.keys), r.set("values", n.values);
    r.set("cookies", n.cookies), r.set("processes", n.processes), r.set("bytes", static_cast<double>(n.bytesRead));
    writeResult(dir / "result-floor.txt", r);
    return 0;
}

int childScan(const fs::path& dir) {
    auto t0 = SteadyClock::now();
    auto image = openImage(dir);
    TimingHost host;
    Session session(image->platform(), host);
    if (!session.startUp()) return 2;
    Result r;
    r.set("setup_s", seconds(t0));
    r.set("setup_hwm_kib", statusKiB("VmHWM"));
    auto t1 = SteadyClock::now();
    const double cpu0 = cpuSeconds();
    ScanRunState state = session.scan().run;
    r.set("cpu_s", cpuSeconds() - cpu0);
    const auto t2 = SteadyClock::now();
    r.set("wall_s", seconds(t1));
    // One caption per stage; before the first, the definition check and the safe list.
    const auto& starts = host.stageStarts;
    auto span = [](SteadyClock::time_point a, SteadyClock::time_point b) {
        return std::chrono::duration<double>(b - a).count();
    };
    if (starts.size() == 4) {
        r.set("part0", span(t1, starts[0]));
        for (int i = 0; i < 3; ++i) r.set("part" + std::to_string(i + 1), span(starts[i], starts[i + 1]));
        r.set("part4", span(starts[3], host.lastYield));
        r.set("part5", span(host.lastYield, t2));
        for (int i = 0; i < 4; ++i) r.set("peak" + std::to_string(i), host.stagePeaks[i]);
        r.set("peak4", statusKiB("VmHWM"));  // the last stage's end is not marked; the finish adds little
        r.set("peak5", statusKiB("VmHWM"));
    }
    r.set("hwm_kib", statusKiB("VmHWM"));
    r.set("anon_kib", statusKiB("RssAnon"));
    r.set("file_kib", statusKiB("RssFile"));
    const ScanResults& res = session.results();
    long excluded = 0;
    for (const auto& f : res.foundList()) excluded += f.text.rfind("EXCLUDED: ", 0) == 0;
    r.set("removal_rows", res.removalList().size());
    r.set("found_rows", res.foundList().size());
    r.set("excluded_rows", excluded);
    r.set("file_rows", res.fileDetections().size());
    r.set("registry_rows", res.registryDetections().size());
    r.set("cookie_rows", res.cookieDetections().size());
    r.set("traces", res.traces());
    r.set("software_found", session.counters().softwareFound);
    r.set("skipped", res.skippedCount());
    r.set("cancelled", state.cancelled);
    r.set("missing", state.definitionsMissing);
    r.set("report", state.reportWritten);
    writeResult(dir / "result-scan.txt", r);
    return 0;
}

int childIdle(const fs::path& dir) {
    Result r;
    r.set("hwm_kib", statusKiB("VmHWM"));
    writeResult(dir / "result-idle.txt", r);
    return 0;
}

// The floor derives the same paths and keys as the scanners' own parsers.
int childVerify(const fs::path& dir) {
    auto image = openImage(dir);
    Platform& p = image->platform();
    const BareExpander ex(*p.shellFolders);
    const LocationExpander engine = makeLocationExpander(*p.shellFolders);
    const std::string folder = image->dataFolder();
    long checked = 0, differ = 0;
    auto compare = [&](const std::string& line, const std::string& bare, const std::string& real) {
        ++checked;
        if (bare == real) return;
        if (++differ <= 5) std::fprintf(stderr, "differs: %s\n  bare %s\n  scan %s\n", line.c_str(), bare.c_str(), real.c_str());
    };
    eachLine(*p.dataFiles, folder, kFileDefinitionFile, [&](const std::string& line) {
        auto bare = bareFilePath(line, ex);
        if (bare) compare(line, *bare, parseFileDefinition(line, engine).path);
    });
    eachLine(*p.dataFiles, folder, kDirectoryDefinitionFile, [&](const std::string& line) {
        auto bare = bareFolderPath(line, ex);
        auto real = parseDirectoryDefinition(line, engine);
        compare(line, bare.value_or("-"), real ? real->path : "-");
    });
    eachLine(*p.dataFiles, folder, kRegistryDefinitionFile, [&](const std::string& line) {
        auto bare = bareRegistryKey(line, ex);
        auto real = parseRegistryDefinition(line, engine);
        compare(line, bare ? std::to_string(int(bare->root)) + bare->key + "^" + bare->value : "-",
                real ? std::to_string(int(real->root)) + real->keyPath + "^" + real->valueName : "-");
    });
    eachLine(*p.dataFiles, folder, kExeDefinitionFile, [&](const std::string& line) {
        auto real = parseExeDefinition(line, engine);
        compare(line, bareExePath(line, ex), real ? real->path : "");
    });
    std::printf("verify: %ld definition lines, %ld give other paths in the floor than in the scanners\n", checked,
                differ);
    return differ == 0 ? 0 : 1;
}

// Starts this program again for one measurement; false when it failed.
bool runChild(const char* mode, const fs::path& dir, rusage& usage) {
    std::fflush(stdout);
    pid_t pid = ::fork();
    if (pid == 0) {
        ::execl("/proc/self/exe", "bench_scan", "--child", mode, dir.c_str(), static_cast<char*>(nullptr));
        std::perror("exec");
        ::_exit(127);
    }
    int status = 0;
    if (pid < 0 || ::wait4(pid, &status, 0, &usage) != pid) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Reads every file of the tree once, so both runs find it in the page cache.
long long warmUp(const fs::path& dir) {
    long long bytes = 0;
    std::vector<char> buf(1 << 16);
    for (auto it = fs::recursive_directory_iterator(dir); it != fs::recursive_directory_iterator(); ++it) {
        if (!it->is_regular_file()) continue;
        std::ifstream in(it->path(), std::ios::binary);
        while (in.read(buf.data(), static_cast<std::streamsize>(buf.size())) || in.gcount() > 0) bytes += in.gcount();
    }
    return bytes;
}

void savePlanted(const fs::path& file, const bench::Planted& p) {
    Result r;
    r.set("file_hits", p.fileHits), r.set("file_reported", p.fileReported);
    r.set("dir_hits", p.dirHits), r.set("dir_reported", p.dirReported);
    r.set("reg_hits", p.regHits), r.set("reg_reported", p.regReported);
    r.set("cookie_hits", p.cookieHits), r.set("cookie_reported", p.cookieReported);
    r.set("safe", p.safe), r.set("excluded", p.excluded), r.set("microsoft", p.microsoft);
    r.set("hidden", p.hidden), r.set("binary", p.binary);
    writeResult(file, r);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--child") == 0) {
        const std::string mode = argv[2];
        const fs::path dir = argv[3];
        if (mode == "floor") return childFloor(dir);
        if (mode == "scan") return childScan(dir);
        if (mode == "idle") return childIdle(dir);
        if (mode == "verify") return childVerify(dir);
        return 2;
    }
    double scale = 1.0;
    int clsids = 0;  // machine CLSID keys in SOFTWARE: the hive's size
    bool keep = false, verify = false;
    fs::path dir;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--scale" && i + 1 < argc) scale = std::atof(argv[++i]);
        else if (a == "--clsids" && i + 1 < argc) clsids = std::atoi(argv[++i]);
        else if (a == "--dir" && i + 1 < argc) dir = argv[++i];
        else if (a == "--keep") keep = true;
        else if (a == "--verify") verify = true;
        else {
            std::fprintf(stderr, "usage: bench_scan [--scale F] [--clsids N] [--dir DIR] [--keep] [--verify]\n");
            return 2;
        }
    }
    const bool reuse = !dir.empty() && fs::exists(dir / "planted.txt");
    if (dir.empty()) dir = fs::temp_directory_path() / ("vedozer-bench-scan-" + std::to_string(::getpid()));
    bench::BenchSizes sizes = bench::BenchSizes{}.scaled(scale);
    if (clsids > 0) sizes.machineClsids = clsids;
    if (!reuse) {
        auto t0 = SteadyClock::now();
        bench::ScanBenchImage image(dir, sizes);
        image.build();
        savePlanted(dir / "planted.txt", image.planted());
        std::printf("image built in %.1f s under %s\n", seconds(t0), dir.c_str());
    }
    fs::remove_all(dir / "config");  // every run starts from default options
    std::printf("definitions: %d file, %d folder, %d registry, %d executable, %d cookie-site lines; %d safe, "
                "%d exclusions; %d cookie files\n",
                sizes.fileLines, sizes.dirLines, sizes.regLines, sizes.exeLines, sizes.cookieSites, sizes.safeLines,
                sizes.exclusionLines, sizes.cookieFiles);
    const Result planted = readResult(dir / "planted.txt");
    std::printf("planted hits: %.0f files, %.0f folders, %.0f registry, %.0f cookies (of them %.0f safe, %.0f "
                "excluded, %.0f Microsoft, %.0f hidden, %.0f binary values)\n",
                planted.get("file_hits"), planted.get("dir_hits"), planted.get("reg_hits"), planted.get("cookie_hits"),
                planted.get("safe"), planted.get("excluded"), planted.get("microsoft"), planted.get("hidden"),
                planted.get("binary"));

    rusage usage{};
    int rc = 0;
    if (verify && !runChild("verify", dir, usage)) rc = 1;
    // The warm-up reads every file, then resolves every path and key once (an untimed floor run):
    // the kernel's caches then hold the failed lookups too, whichever run comes first.
    auto tw = SteadyClock::now();
    long long warm = warmUp(dir);
    if (!runChild("floor", dir, usage)) return 1;
    std::printf("caches warmed: %.1f MB read and every lookup made once in %.2f s\n", warm / 1e6, seconds(tw));

    if (!runChild("idle", dir, usage) || !runChild("floor", dir, usage) || !runChild("scan", dir, usage)) return 1;
    const Result idle = readResult(dir / "result-idle.txt");
    const Result floor = readResult(dir / "result-floor.txt");
    const Result scan = readResult(dir / "result-scan.txt");

    std::printf("\nfloor: %.0f files and %.0f folders found, %.0f keys and %.0f values, %.0f cookie files, "
                "%.1f MB read\n",
                floor.get("files"), floor.get("folders"), floor.get("keys"), floor.get("values"),
                floor.get("cookies"), floor.get("bytes") / 1e6);
    std::printf("scan:  %.0f removal rows, %.0f found rows (%.0f excluded), work rows %.0f files/folders, %.0f "
                "registry, %.0f cookies; %.0f traces, %.0f software found, %.0f skipped; report %s%s\n",
                scan.get("removal_rows"), scan.get("found_rows"), scan.get("excluded_rows"), scan.get("file_rows"),
                scan.get("registry_rows"), scan.get("cookie_rows"), scan.get("traces"), scan.get("software_found"),
                scan.get("skipped"), scan.get("report") > 0 ? "written" : "not written",
                scan.get("cancelled") > 0 || scan.get("missing") > 0 ? " (SCAN DID NOT RUN THROUGH)" : "");
    const double expectedFiles = planted.get("file_reported") + planted.get("dir_reported");
    if (scan.get("file_rows") != expectedFiles || scan.get("registry_rows") != planted.get("reg_reported") ||
        scan.get("cookie_rows") != planted.get("cookie_reported")) {
        std::printf("WARNING: work rows differ from what was planted (expected %.0f files/folders, %.0f registry, "
                    "%.0f cookies)\n",
                    expectedFiles, planted.get("reg_reported"), planted.get("cookie_reported"));
        rc = 1;
    }

    const double mib = 1024.0;
    const double ratio = scan.get("wall_s") / floor.get("wall_s");
    const double cpuRatio = scan.get("cpu_s") / floor.get("cpu_s");
    std::printf("\nprocess start alone: peak resident %.1f MiB\n", idle.get("hwm_kib") / mib);
    std::printf("%-14s %9s %9s %7s   %s\n", "part", "floor s", "scan s", "ratio", "peak MiB after it: floor scan");
    for (size_t i = 0; i < std::size(kParts); ++i) {
        const std::string key = "part" + std::to_string(i), peak = "peak" + std::to_string(i);
        const double f = floor.get(key), sc = scan.get(key);
        char ratioText[16] = "-";
        if (f > 0) std::snprintf(ratioText, sizeof ratioText, "%.2f", sc / f);
        std::printf("%-14s %9.3f %9.3f %7s   %6.1f %6.1f\n", kParts[i], f, sc, ratioText, floor.get(peak) / 1024.0,
                    scan.get(peak) / 1024.0);
    }
    std::printf("floor: %.3f s wall, peak resident %.1f MiB (%.1f MiB after opening the image); at the end %.1f MiB "
                "anonymous + %.1f MiB file-backed (binary, libraries, mapped hives)\n",
                floor.get("wall_s"), floor.get("hwm_kib") / mib, floor.get("setup_hwm_kib") / mib,
                floor.get("anon_kib") / mib, floor.get("file_kib") / mib);
    std::printf("scan:  %.3f s wall, peak resident %.1f MiB (%.1f MiB after start-up, which took %.3f s); at the end "
                "%.1f MiB anonymous + %.1f MiB file-backed\n",
                scan.get("wall_s"), scan.get("hwm_kib") / mib, scan.get("setup_hwm_kib") / mib, scan.get("setup_s"),
                scan.get("anon_kib") / mib, scan.get("file_kib") / mib);
    std::printf("hives: SOFTWARE %.1f MiB, SYSTEM %.1f MiB, NTUSER.DAT %.1f MiB, UsrClass.dat %.1f MiB (each one read "
                "is mapped and walked whole when opened)\n",
                fs::file_size(dir / "C/Windows/System32/config/SOFTWARE") / mib / mib,
                fs::file_size(dir / "C/Windows/System32/config/SYSTEM") / mib / mib,
                fs::file_size(dir / "C/Users/alice/NTUSER.DAT") / mib / mib,
                fs::file_size(dir / "C/Users/alice/AppData/Local/Microsoft/Windows/UsrClass.dat") / mib / mib);
    std::printf("processor time: floor %.3f s, scan %.3f s, ratio %.2f\n", floor.get("cpu_s"), scan.get("cpu_s"),
                cpuRatio);
    std::printf("ratio scan/floor (wall): %.2f (target 1.5 or less): %s; peak memory %s the 64 MiB target\n", ratio,
                ratio <= 1.5 ? "met" : "MISSED", scan.get("hwm_kib") / mib < 64 ? "within" : "OVER");
    if (!keep) fs::remove_all(dir);
    return rc;
}
