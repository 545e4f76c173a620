// A whole scan through the session on a synthetic offline image (at scale 1: 100,000 file, 20,000
// folder, 50,000 registry, 5,000 executable and 2,000 cookie-site definitions, 10,000 safe entries,
// 5,000 exclusions, 20,000 cookie files), against the floor of the same host work done bare
// (BareFloor.h). Each scale is measured in runs of floor and scan taken in turn; each measurement
// runs in a fresh process (this program started again), so its memory is its own.
//
//   bench_scan [--scales 0.25,1,2] [--runs 5] [--clsids N] [--dir DIR] [--keep] [--verify]
//     --clsids sets the CLSID keys of SOFTWARE (10,000 times the scale), which decide the hive's
//     size; --dir builds (or reuses, with --keep) the images there.
//   bench_scan --child idle|floor|scan|memory|verify DIR
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>

#include "BareFloor.h"
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

// Processor time of this process so far (user + system).
double cpuSeconds() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    auto s = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return s(u.ru_utime) + s(u.ru_stime);
}

// Answers nothing, draws nothing; notes when each stage starts (its caption) and the last yield,
// which ends the last stage. With sampling on, it also follows the resident memory.
class TimingHost : public Host {
public:
    explicit TimingHost(bool sampleMemory) : m_sample(sampleMemory) {}
    Answer ask(const Question&) override { return Answer::Ok; }
    void yield() override {
        lastYield = SteadyClock::now();
        if (m_sample && ++m_yields % 512 == 0) sample();
    }
    void onScanStageStarted(const ScanStageStarted&) override {
        stageStarts.push_back(SteadyClock::now());
        if (m_sample) sample();
    }
    void sample() {
        peakAnon = std::max(peakAnon, statusKiB("RssAnon"));
        peakFile = std::max(peakFile, statusKiB("RssFile"));
    }
    std::vector<SteadyClock::time_point> stageStarts;
    SteadyClock::time_point lastYield;
    long peakAnon = 0, peakFile = 0;

private:
    bool m_sample;
    long m_yields = 0;
};

// The parts of the work, in the order both runs do them.
const char* const kParts[] = {"definitions", "cookies", "memory", "registry", "files+folders", "finish"};

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
    auto image = openImage(dir);
    const BarePlan plan = planFloor(*image, fs::canonical(dir / "C").string());
    Result r;
    std::vector<double> parts;
    const auto t0 = SteadyClock::now();
    const double cpu0 = cpuSeconds();
    FloorCounts n = runBareFloor(plan, parts);
    r.set("cpu_s", cpuSeconds() - cpu0);
    r.set("wall_s", seconds(t0));
    for (size_t i = 0; i < parts.size(); ++i) r.set("part" + std::to_string(i), parts[i]);
    r.set("hwm_kib", statusKiB("VmHWM"));
    r.set("anon_kib", statusKiB("RssAnon"));
    r.set("file_kib", statusKiB("RssFile"));
    r.set("files", n.files), r.set("folders", n.folders), r.set("keys", n.keys), r.set("values", n.values);
    r.set("cookies", n.cookies), r.set("processes", n.processes), r.set("bytes", static_cast<double>(n.bytesRead));
    writeResult(dir / "result-floor.txt", r);
    return 0;
}

int childScan(const fs::path& dir, bool sampleMemory) {
    auto image = openImage(dir);
    TimingHost host(sampleMemory);
    Session session(image->platform(), host);
    if (!session.startUp()) return 2;
    Result r;
    host.sample();
    const auto t1 = SteadyClock::now();
    const double cpu0 = cpuSeconds();
    ScanRunState state = session.scan().run;
    r.set("cpu_s", cpuSeconds() - cpu0);
    const auto t2 = SteadyClock::now();
    r.set("wall_s", seconds(t1));
    host.sample();
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
    }
    r.set("hwm_kib", statusKiB("VmHWM"));
    r.set("peak_anon_kib", host.peakAnon);
    r.set("peak_file_kib", host.peakFile);
    const ScanResults& res = session.results();
    r.set("file_rows", res.fileDetections().size());
    r.set("registry_rows", res.registryDetections().size());
    r.set("cookie_rows", res.cookieDetections().size());
    r.set("removal_rows", res.removalList().size());
    r.set("skipped", res.skippedCount());
    r.set("cancelled", state.cancelled);
    r.set("missing", state.definitionsMissing);
    writeResult(dir / (sampleMemory ? "result-memory.txt" : "result-scan.txt"), r);
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
    std::printf("verify: %ld definition lines, %ld give other paths in the floor than in the scanners\n", checked,
                differ);
    return differ == 0 ? 0 : 1;
}

// Starts this program again for one measurement; false when it failed.
bool runChild(const char* mode, const fs::path& dir) {
    std::fflush(stdout);
    pid_t pid = ::fork();
    if (pid == 0) {
        ::execl("/proc/self/exe", "bench_scan", "--child", mode, dir.c_str(), static_cast<char*>(nullptr));
        std::perror("exec");
        ::_exit(127);
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Reads every file of the tree once, so every run finds it in the page cache.
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
    r.set("file_reported", p.fileReported), r.set("dir_reported", p.dirReported);
    r.set("reg_reported", p.regReported), r.set("cookie_reported", p.cookieReported);
    writeResult(file, r);
}

struct Stats {
    double min = 0, median = 0;
};
Stats stats(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return {v.front(), v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2};
}

struct ScaleOutcome {
    double scale = 0;
    Stats floorCpu, floorWall, scanCpu, scanWall;
    std::vector<double> floorParts, scanParts;  // medians per part
    Result memory, floorLast;
    double softwareMiB = 0;
    bool rowsAsPlanted = true;
};

bool measureScale(const fs::path& dir, double scale, int clsids, int runs, bool keep, bool verify,
                  ScaleOutcome& out) {
    out.scale = scale;
    BenchSizes sizes = BenchSizes{}.scaled(scale);
    if (clsids > 0) sizes.machineClsids = clsids;
    if (!fs::exists(dir / "planted.txt")) {
        auto t0 = SteadyClock::now();
        bench::ScanBenchImage image(dir, sizes);
        image.build();
        savePlanted(dir / "planted.txt", image.planted());
        std::printf("scale %g: image built in %.1f s under %s\n", scale, seconds(t0), dir.c_str());
    }
    fs::remove_all(dir / "config");  // every run starts from default options
    if (verify && !runChild("verify", dir)) return false;
    warmUp(dir);
    if (!runChild("floor", dir)) return false;  // untimed: the kernel's caches hold every look-up too

    std::vector<double> fc, fw, sc, sw;
    std::vector<std::vector<double>> fp(std::size(kParts)), sp(std::size(kParts));
    for (int run = 0; run < runs; ++run) {
        if (!runChild("floor", dir) || !runChild("scan", dir)) return false;
        const Result f = readResult(dir / "result-floor.txt"), s = readResult(dir / "result-scan.txt");
        fc.push_back(f.get("cpu_s")), fw.push_back(f.get("wall_s"));
        sc.push_back(s.get("cpu_s")), sw.push_back(s.get("wall_s"));
        for (size_t i = 0; i < std::size(kParts); ++i) {
            fp[i].push_back(f.get("part" + std::to_string(i)));
            sp[i].push_back(s.get("part" + std::to_string(i)));
        }
        out.floorLast = f;
        const Result planted = readResult(dir / "planted.txt");
        out.rowsAsPlanted = out.rowsAsPlanted &&
                            s.get("file_rows") == planted.get("file_reported") + planted.get("dir_reported") &&
                            s.get("registry_rows") == planted.get("reg_reported") &&
                            s.get("cookie_rows") == planted.get("cookie_reported") && s.get("cancelled") == 0 &&
                            s.get("missing") == 0;
    }
    out.floorCpu = stats(fc), out.floorWall = stats(fw), out.scanCpu = stats(sc), out.scanWall = stats(sw);
    for (size_t i = 0; i < std::size(kParts); ++i) {
        out.floorParts.push_back(stats(fp[i]).median);
        out.scanParts.push_back(stats(sp[i]).median);
    }
    if (!runChild("memory", dir)) return false;
    out.memory = readResult(dir / "result-memory.txt");
    out.softwareMiB = fs::file_size(dir / "C/Windows/System32/config/SOFTWARE") / 1048576.0;
    if (!keep) fs::remove_all(dir);
    return true;
}

std::vector<double> parseScales(const std::string& text) {
    std::vector<double> scales;
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) scales.push_back(std::atof(item.c_str()));
    return scales;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--child") == 0) {
        const std::string mode = argv[2];
        const fs::path dir = argv[3];
        if (mode == "floor") return childFloor(dir);
        if (mode == "scan") return childScan(dir, false);
        if (mode == "memory") return childScan(dir, true);
        if (mode == "idle") return childIdle(dir);
        if (mode == "verify") return childVerify(dir);
        return 2;
    }
    std::vector<double> scales{0.25, 1, 2};
    int clsids = 0, runs = 5;
    bool keep = false, verify = false;
    fs::path base;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--scales" && i + 1 < argc) scales = parseScales(argv[++i]);
        else if (a == "--runs" && i + 1 < argc) runs = std::max(1, std::atoi(argv[++i]));
        else if (a == "--clsids" && i + 1 < argc) clsids = std::atoi(argv[++i]);
        else if (a == "--dir" && i + 1 < argc) base = argv[++i];
        else if (a == "--keep") keep = true;
        else if (a == "--verify") verify = true;
        else {
            std::fprintf(stderr, "usage: bench_scan [--scales 0.25,1,2] [--runs 5] [--clsids N] [--dir DIR] [--keep] "
                                 "[--verify]\n");
            return 2;
        }
    }
    if (base.empty()) base = fs::temp_directory_path() / ("vedozer-bench-scan-" + std::to_string(::getpid()));
    if (!runChild("idle", base.parent_path())) return 1;
    const double idleMiB = readResult(base.parent_path() / "result-idle.txt").get("hwm_kib") / 1024;
    fs::remove(base.parent_path() / "result-idle.txt");

    std::vector<ScaleOutcome> outcomes;
    int rc = 0;
    for (double scale : scales) {
        char name[32];
        std::snprintf(name, sizeof name, "scale-%g", scale);
        ScaleOutcome o;
        if (!measureScale(base / name, scale, clsids, runs, keep, verify, o)) {
            std::fprintf(stderr, "scale %g: a run failed\n", scale);
            return 1;
        }
        if (!o.rowsAsPlanted) {
            std::printf("WARNING: scale %g: the scan's rows differ from what was planted\n", scale);
            rc = 1;
        }
        outcomes.push_back(std::move(o));
    }
    if (!keep) fs::remove_all(base);

    std::printf("\n%d runs per scale, floor and scan in turn; seconds, min / median\n", runs);
    std::printf("%6s | %15s %15s | %15s %15s | %11s %11s\n", "scale", "floor cpu", "floor wall", "scan cpu",
                "scan wall", "cpu ratio", "wall ratio");
    for (const auto& o : outcomes) {
        std::printf("%6g | %7.3f %7.3f %7.3f %7.3f | %7.3f %7.3f %7.3f %7.3f | %5.2f %5.2f %5.2f %5.2f\n", o.scale,
                    o.floorCpu.min, o.floorCpu.median, o.floorWall.min, o.floorWall.median, o.scanCpu.min,
                    o.scanCpu.median, o.scanWall.min, o.scanWall.median, o.scanCpu.min / o.floorCpu.min,
                    o.scanCpu.median / o.floorCpu.median, o.scanWall.min / o.floorWall.min,
                    o.scanWall.median / o.floorWall.median);
    }
    std::printf("(ratios: min/min and median/median; target 1.5 or less)\n");
    for (const auto& o : outcomes) {
        std::printf("\nscale %g, wall seconds per part (medians): part, floor, scan\n", o.scale);
        for (size_t i = 0; i < std::size(kParts); ++i)
            std::printf("  %-14s %8.3f %8.3f\n", kParts[i], o.floorParts[i], o.scanParts[i]);
        const Result& f = o.floorLast;
        std::printf("  floor found %.0f files, %.0f folders, %.0f keys, %.0f values, %.0f cookies, %.0f processes\n",
                    f.get("files"), f.get("folders"), f.get("keys"), f.get("values"), f.get("cookies"),
                    f.get("processes"));
        const Result& m = o.memory;
        std::printf("  scan memory (SOFTWARE hive %.1f MiB): peak resident %.1f MiB, peak anonymous %.1f MiB, peak "
                    "file-backed %.1f MiB (process start alone: %.1f MiB resident)\n",
                    o.softwareMiB, m.get("hwm_kib") / 1024, m.get("peak_anon_kib") / 1024,
                    m.get("peak_file_kib") / 1024, idleMiB);
    }
    return rc;
}
