// Lookups in an image's registry: builds hives with many keys, then times the calls a
// registry scan makes (key exists, value query), hits and misses, through HKLM and the
// merged HKCR.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/image/HiveFile.h"
#include "platform/image/HiveText.h"
#include "platform/image/ImageRegistry.h"
#include "platform/image/RegfGenerator.h"

using namespace vedozer;

namespace {

std::string clsid(int i) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "{%08X-0000-0000-0000-%012d}", i * 7919, i);
    return buf;
}

bool buildClasses(const std::string& path, const std::string& under, int from, int count) {
    if (!writeEmptyHive(path, "ROOT")) return false;
    HiveFile file(path);
    if (!file.makeWritable()) return false;
    HiveFile::Node node = file.root();
    if (!under.empty()) node = *file.addChild(node, under);
    auto clsidNode = file.addChild(node, "CLSID");
    if (!clsidNode) return false;
    for (int i = from; i < from + count; ++i) {
        auto key = file.addChild(*clsidNode, clsid(i));
        if (!key) return false;
        auto server = file.addChild(*key, "InprocServer32");
        std::string data = hivetext::dataToHive(kRegSz, std::string("c:\\windows\\system32\\x.dll\0", 27));
        if (!server || !file.setValues(*server, {{"", kRegSz, data}})) return false;
    }
    return file.commit();
}

}  // namespace

int main() {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / ("vedozer-bench-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const int kKeys = 5000;
    const auto t0 = std::chrono::steady_clock::now();
    if (!buildClasses((dir / "SOFTWARE").string(), "Classes", 0, kKeys) ||
        !buildClasses((dir / "UsrClass.dat").string(), "", kKeys, 500)) {
        std::fprintf(stderr, "cannot build the hives\n");
        return 1;
    }
    const auto t1 = std::chrono::steady_clock::now();

    ImageRegistry::Config config;
    config.hives.software = (dir / "SOFTWARE").string();
    config.hives.usrclass = (dir / "UsrClass.dat").string();
    ImageRegistry reg(config);
    const int kLookups = 50000;
    int hits = 0;
    const auto t2 = std::chrono::steady_clock::now();
    for (int i = 0; i < kLookups; ++i) {
        const int n = (i * 37) % (2 * kKeys);  // half of them miss
        const bool viaClassesRoot = i % 2 == 0;
        const RootKey root = viaClassesRoot ? RootKey::ClassesRoot : RootKey::LocalMachine;
        const std::string key = std::string(viaClassesRoot ? "" : "SOFTWARE\\Classes\\") + "clsid\\" + clsid(n) +
                                "\\inprocserver32";
        if (i % 3 == 0) {
            hits += reg.queryValue(root, key, "").has_value();
        } else {
            hits += reg.openKey(root, key, kKeyReadWriteMask) == RegStatus::Ok;
        }
    }
    const auto t3 = std::chrono::steady_clock::now();
    using ms = std::chrono::duration<double, std::milli>;
    std::printf("hives built (%d + 500 keys with a value each): %.1f ms, SOFTWARE %ju bytes\n", kKeys,
                ms(t1 - t0).count(), static_cast<uintmax_t>(fs::file_size(dir / "SOFTWARE")));
    std::printf("%d lookups (half misses, half through HKCR): %.1f ms, %.2f us each, %d hits\n", kLookups,
                ms(t3 - t2).count(), ms(t3 - t2).count() * 1000 / kLookups, hits);

    const auto t4 = std::chrono::steady_clock::now();
    const int kWrites = 20;
    for (int i = 0; i < kWrites; ++i)
        reg.setValue(RootKey::LocalMachine, "SOFTWARE\\Classes\\CLSID\\" + clsid(i), "Mark",
                     {kRegDword, std::string(4, '\1')});
    const auto t5 = std::chrono::steady_clock::now();
    std::printf("%d committed value writes: %.1f ms, %.2f ms each\n", kWrites, ms(t5 - t4).count(),
                ms(t5 - t4).count() / kWrites);
    fs::remove_all(dir);
    return 0;
}
