// A removal killed at random moments never loses a file or a registry entry: whatever is gone
// from the image is found whole in the quarantine, and every hive still opens.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <thread>

#include "removal/RemovalSession.h"
#include "removal/WorkListChecks.h"

namespace vedozer {
namespace {

namespace fs = std::filesystem;
using test::HiveEntry;
using test::RemovalSession;

struct RegistryItem {
    RootKey root;
    std::string key, value;  // value empty: a whole key
};

// What the image held before removal, to check against afterwards.
struct Expected {
    std::map<std::string, std::string> files;  // Windows path -> content (files, and files in folders)
    std::map<std::string, std::string> folderOf;  // file in a detected folder -> the folder's path
    std::vector<RegistryItem> registry;
    std::map<std::string, RegistryBackup> registryData;  // location [+ "|" + value] -> what was there
};

std::string randomBytes(std::mt19937& rng, size_t n) {
    std::string s(n, '\0');
    for (auto& c : s) c = static_cast<char>(rng() & 0xFF);
    return s;
}

std::vector<HiveEntry> software() {
    std::vector<HiveEntry> out{test::hiveKey("Microsoft")};
    for (int k = 0; k < 4; ++k)
        for (int v = 0; v < 3; ++v)
            out.push_back(test::hiveSz("Ad" + std::to_string(k), "v" + std::to_string(v), "data " + std::to_string(v)));
    return out;
}

std::vector<HiveEntry> ntuser() {
    std::vector<HiveEntry> out{test::hiveKey("Software\\Keep")};
    for (int k = 0; k < 3; ++k) {
        std::string key = "Software\\AdCo" + std::to_string(k);
        out.push_back(test::hiveDword(key, "n", static_cast<uint32_t>(k)));
        out.push_back(test::hiveBinary(key + "\\Sub\\Deeper", "blob", std::string(100 + k, '\x01')));
    }
    return out;
}

Expected populate(RemovalSession& s, std::mt19937& rng) {
    Expected ex;
    const char* exts[] = {"exe", "dll", "txt", "dat"};
    for (int i = 0; i < 48; ++i) {
        std::string dir = "Program Files/Ad" + std::to_string(i % 4);
        std::string name = "f" + std::to_string(i % 6) + "." + exts[i % 4];
        std::string win = "C:\\Program Files\\Ad" + std::to_string(i % 4) + "\\" + name;
        if (ex.files.count(win)) continue;
        std::string content = randomBytes(rng, 1 + rng() % 120000);
        s.write(dir + "/" + name, content);
        ex.files[win] = content;
        s.detectFile(win, "Ad" + std::to_string(i % 4));
    }
    for (int k = 0; k < 3; ++k) {
        std::string folder = "C:\\Program Files\\Toolbar" + std::to_string(k);
        for (int j = 0; j < 4; ++j) {
            std::string rel = (j % 2 ? "bin\\" : "") + std::string("t") + std::to_string(j) + ".bin";
            std::string content = randomBytes(rng, 1 + rng() % 60000);
            std::string host = rel;
            std::replace(host.begin(), host.end(), '\\', '/');
            s.write("Program Files/Toolbar" + std::to_string(k) + "/" + host, content);
            ex.files[folder + "\\" + rel] = content;
            ex.folderOf[folder + "\\" + rel] = folder;
        }
        s.detectFile(folder, "Toolbar" + std::to_string(k), kIconFolder);
    }
    for (int c = 0; c < 4; ++c) {
        std::string path = "C:\\Users\\alice\\Cookies\\alice@ad" + std::to_string(c) + "[1].txt";
        std::string content = "cookie " + std::to_string(c);
        s.write("Users/alice/Cookies/alice@ad" + std::to_string(c) + "[1].txt", content);
        ex.files[path] = content;
        s.detectCookie(path, "ad" + std::to_string(c));
    }
    for (int k = 0; k < 4; ++k)
        for (int v = 0; v < 3; ++v) {
            RegistryItem item{RootKey::LocalMachine, "SOFTWARE\\Ad" + std::to_string(k), "v" + std::to_string(v)};
            ex.registry.push_back(item);
            s.detectRegistry(item.root, item.key, item.value, "Reg" + std::to_string(k));
            ex.registryData[std::string("HKEY_LOCAL_MACHINE\\") + item.key + "|" + item.value] =
                *captureRegistryValue(*s.registry, item.root, item.key, item.value);
        }
    for (int k = 0; k < 3; ++k) {
        RegistryItem item{RootKey::CurrentUser, "Software\\AdCo" + std::to_string(k), ""};
        ex.registry.push_back(item);
        s.detectRegistry(item.root, item.key, "", "AdCo" + std::to_string(k));
        ex.registryData[std::string("HKEY_CURRENT_USER\\") + item.key] = *captureRegistryKey(*s.registry, item.root, item.key);
    }
    selectAll(s.results);
    return ex;
}

// Runs the removal in a child process; returns its pid once the run has started.
pid_t startRemoval(RemovalSession& s) {
    int fds[2];
    if (::pipe(fds) != 0) return -1;
    pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        s.files->refresh();
        s.registry->closeHives();
        Removal removal(s.platform, s.host, s.messages, s.settings, s.results, "Vedozer Test", s.dataFolder);
        removal.gatheringPauseMillis = 0;
        removal.unattended = true;
        char go = 'g';
        if (::write(fds[1], &go, 1) != 1) ::_exit(3);
        removal.removeChecked();
        ::_exit(0);  // no destructors: the parent owns the folders
    }
    ::close(fds[1]);
    char go = 0;
    if (::read(fds[0], &go, 1) != 1) pid = -1;
    ::close(fds[0]);
    return pid;
}

// Every file and registry entry missing from the image must be whole in the quarantine.
std::vector<std::string> lostItems(RemovalSession& s, const Expected& ex) {
    std::vector<std::string> lost;
    HostFileSystem dataFiles;
    Quarantine quarantine(dataFiles, s.dataFolder, s.clock);
    auto entries = quarantine.entries();
    ImageFileSystem files(std::map<char, std::string>{{'C', s.drive}});
    auto storedContent = [&](const QuarantineEntry& e, const std::string& inside) {
        auto text = dataFiles.readAll(quarantine.storedPath(e.storedName) + inside, SIZE_MAX);
        return text ? *text : std::string("\x01missing");
    };
    for (const auto& [path, content] : ex.files) {
        if (files.lookup(path)) continue;  // still there
        bool found = false;
        auto folder = ex.folderOf.find(path);
        for (const auto& e : entries) {
            if (e.withdrawn) continue;
            if (folder == ex.folderOf.end() && e.kind == QuarantineKind::File && e.location == path)
                found |= storedContent(e, "") == content;
            if (folder != ex.folderOf.end() && e.kind == QuarantineKind::Folder && e.location == folder->second)
                found |= storedContent(e, path.substr(folder->second.size())) == content;
        }
        if (!found) lost.push_back(path);
    }
    ImageRegistry::Config config;
    config.hives.software = s.softwareHive;
    config.hives.ntuser = s.ntuserHive;
    ImageRegistry registry(config);
    if (registry.openKey(RootKey::LocalMachine, "SOFTWARE", kKeyReadWriteMask) != RegStatus::Ok)
        lost.push_back("the SOFTWARE hive does not open: " + registry.lastError());
    if (registry.openKey(RootKey::CurrentUser, "Software\\Keep", kKeyReadWriteMask) != RegStatus::Ok)
        lost.push_back("the NTUSER.DAT hive does not open: " + registry.lastError());
    for (const auto& item : ex.registry) {
        bool present = item.value.empty() ? registry.keyExists(item.root, item.key)
                                          : static_cast<bool>(registry.queryValue(item.root, item.key, item.value));
        if (present) continue;
        std::string location = std::string(rootKeyName(item.root)) + "\\" + item.key;
        std::string wanted = formatRegistryBackup(ex.registryData.at(location + (item.value.empty() ? "" : "|" + item.value)));
        bool found = false;
        for (const auto& e : entries) {
            if (e.withdrawn || e.location != location || e.valueName != item.value) continue;
            if (item.value.empty() != (e.kind == QuarantineKind::RegistryKey)) continue;
            found |= storedContent(e, "") == wanted;
        }
        if (!found) lost.push_back(location + " [" + item.value + "]");
    }
    return lost;
}

size_t filesLeft(RemovalSession& s, const Expected& ex) {
    ImageFileSystem files(std::map<char, std::string>{{'C', s.drive}});
    size_t left = 0;
    for (const auto& [path, content] : ex.files) left += static_cast<bool>(files.lookup(path));
    return left;
}

bool everythingGone(RemovalSession& s, const Expected& ex) { return filesLeft(s, ex) == 0; }

TEST(CrashSafety, KilledAtRandomMomentsARemovalLosesNothing) {
    constexpr int kRuns = 50;
    unsigned seed = static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::mt19937 rng(seed);

    // How long an undisturbed run takes.
    long long runMicros = 0;
    {
        RemovalSession s(false, software(), ntuser());
        Expected ex = populate(s, rng);
        auto start = std::chrono::steady_clock::now();
        pid_t pid = startRemoval(s);
        ASSERT_GT(pid, 0);
        int status = 0;
        ::waitpid(pid, &status, 0);
        runMicros = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count();
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        EXPECT_TRUE(everythingGone(s, ex));
        EXPECT_TRUE(lostItems(s, ex).empty());
    }

    std::printf("seed %u\n", seed);
    int clean = 0, killedMidway = 0, partly = 0;
    for (int run = 0; run < kRuns; ++run) {
        RemovalSession s(false, software(), ntuser());
        Expected ex = populate(s, rng);
        long long delay = static_cast<long long>(rng() % static_cast<unsigned>(runMicros + 1));
        pid_t pid = startRemoval(s);
        ASSERT_GT(pid, 0);
        std::this_thread::sleep_for(std::chrono::microseconds(delay));
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        killedMidway += WIFSIGNALED(status);
        // A kill that landed inside the run leaves some files removed and some not.
        size_t left = filesLeft(s, ex);
        partly += left > 0 && left < ex.files.size();
        auto lost = lostItems(s, ex);
        // A later run over the same image finishes the work and still loses nothing.
        pid_t again = startRemoval(s);
        ASSERT_GT(again, 0);
        ::waitpid(again, &status, 0);
        bool finished = WIFEXITED(status) && everythingGone(s, ex);
        auto lostAfter = lostItems(s, ex);
        if (lost.empty() && lostAfter.empty() && finished) ++clean;
        for (const auto& l : lost) ADD_FAILURE() << "run " << run << " (killed after " << delay << " us): lost " << l;
        for (const auto& l : lostAfter) ADD_FAILURE() << "run " << run << " after the second run: lost " << l;
        EXPECT_TRUE(finished) << "run " << run << ": the second run did not finish the removal";
    }
    std::printf("%d of %d runs lost nothing (%d killed before the end, %d with the files partly removed; a whole run "
                "takes %lld ms; seed %u)\n",
                clean, kRuns, killedMidway, partly, runMicros / 1000, seed);
    EXPECT_EQ(clean, kRuns);
    // The kills must land inside the runs, or the test proves nothing.
    EXPECT_GE(killedMidway, kRuns / 4) << "seed " << seed;
    EXPECT_GE(partly, 1) << "seed " << seed;
}

}  // namespace
}  // namespace vedozer
