#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>

#include "image/RegistryImage.h"
#include "platform/image/ImageRegistry.h"

namespace vedozer {
namespace {

namespace fs = std::filesystem;
using test::RegistryImage;

const RootKey HKLM = RootKey::LocalMachine, HKCU = RootKey::CurrentUser, HKCR = RootKey::ClassesRoot,
              HKCC = RootKey::CurrentConfig;
const std::string kRun = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

RegistryValue text(const std::string& s) { return {kRegSz, s + std::string(1, '\0')}; }

ino_t inodeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

size_t entriesIn(const fs::path& dir) { return std::distance(fs::directory_iterator(dir), {}); }

TEST_F(RegistryImage, CommitReplacesTheHiveInsteadOfRewritingIt) {
    const std::string path = hive("SOFTWARE");
    const std::string original = test::readHostFile(path);
    const ino_t before = inodeOf(path);
    ::chmod(path.c_str(), 0640);
    FILE* old = std::fopen(path.c_str(), "rb");  // a reader that opened the hive before the change
    ASSERT_TRUE(old);
    const size_t files = entriesIn(dir.path());

    ASSERT_EQ(reg->setValue(HKLM, kRun, "New", text("v")), RegStatus::Ok);
    EXPECT_NE(inodeOf(path), before);
    EXPECT_EQ(entriesIn(dir.path()), files);  // no temporary left behind
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);  // the new file keeps the old one's permissions

    std::string seen;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, old)) > 0) seen.append(buffer, n);
    std::fclose(old);
    EXPECT_EQ(seen, original);  // the old file was never truncated or patched in place
    EXPECT_NE(test::readHostFile(path), original);
}

// Makes every file write beyond `limit` bytes fail (EFBIG) while it lives; works for root too.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit) {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        m_oldHandler = ::signal(SIGXFSZ, SIG_IGN);
        rlimit small = m_saved;
        small.rlim_cur = limit;
        ::setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        ::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_saved{};
    sighandler_t m_oldHandler;
};

TEST_F(RegistryImage, FailedCommitLeavesTheHiveAsItWas) {
    const std::string path = hive("SOFTWARE");
    const std::string original = test::readHostFile(path);
    const ino_t before = inodeOf(path);
    const size_t files = entriesIn(dir.path());
    ASSERT_EQ(reg->openKey(HKLM, kRun, 0x3F), RegStatus::Ok);  // a cached read handle exists

    RegStatus set, del, tree, create;
    {
        FileSizeLimit limit(4096);
        set = reg->setValue(HKLM, kRun, "New", text("v"));
        del = reg->deleteValue(HKLM, kRun, "Bad");
        tree = reg->deleteKeyTree(HKLM, "SOFTWARE\\Microsoft");
        create = reg->createKey(HKLM, "SOFTWARE\\Fresh");
    }
    EXPECT_EQ(set, RegStatus::Error);
    EXPECT_EQ(del, RegStatus::Error);
    EXPECT_EQ(tree, RegStatus::Error);
    EXPECT_EQ(create, RegStatus::Error);
    EXPECT_NE(reg->lastError().find(path), std::string::npos) << reg->lastError();
    EXPECT_EQ(test::readHostFile(path), original);
    EXPECT_EQ(inodeOf(path), before);
    EXPECT_EQ(entriesIn(dir.path()), files);
    // The changes that failed are not visible either.
    EXPECT_FALSE(reg->queryValue(HKLM, kRun, "New"));
    EXPECT_EQ(sz(HKLM, kRun, "Bad"), "c:\\bad\\bad.exe");
    EXPECT_EQ(reg->openKey(HKLM, "SOFTWARE\\Fresh", 0x3F), RegStatus::NotFound);
    EXPECT_EQ(reg->openKey(HKLM, "SOFTWARE\\Microsoft", 0x3F), RegStatus::Ok);
    // Once writing works again, so does the registry.
    EXPECT_EQ(reg->setValue(HKLM, kRun, "New", text("v")), RegStatus::Ok);
    EXPECT_EQ(sz(HKLM, kRun, "New"), "v");
}

TEST_F(RegistryImage, ReadOnlyFolderMakesWritesFailCleanly) {
    const std::string path = hive("NTUSER.DAT");
    const std::string original = test::readHostFile(path);
    const size_t files = entriesIn(dir.path());
    auto attempt = [&] { return reg->setValue(HKCU, "Software", "v", text("x")) == RegStatus::Error; };
    ::chmod(dir.str().c_str(), 0555);
    int outcome = 0;  // 0 failed cleanly, 1 did not fail, 2 cannot test
    if (::geteuid() == 0) {
        // Folder permissions do not bind root: try as an unprivileged user in a child process.
        pid_t pid = ::fork();
        if (pid == 0) {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
            ::_exit(attempt() ? 0 : 1);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        outcome = WIFEXITED(status) ? WEXITSTATUS(status) : 1;
    } else {
        outcome = ::access(dir.str().c_str(), W_OK) == 0 ? 2 : attempt() ? 0 : 1;
    }
    ::chmod(dir.str().c_str(), 0755);
    if (outcome == 2) GTEST_SKIP() << "cannot make the folder read-only for this process";
    EXPECT_EQ(outcome, 0);
    EXPECT_EQ(test::readHostFile(path), original);
    EXPECT_EQ(entriesIn(dir.path()), files);
    EXPECT_FALSE(reg->queryValue(HKCU, "Software", "v"));
}

// Ways a hive file can be unusable.
struct Damage {
    const char* name;
    void (*apply)(const std::string& path);
};

void overwrite(const std::string& path, size_t at, const std::string& bytes) {
    std::string content = test::readHostFile(path);
    content.replace(at, bytes.size(), bytes);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(content.data(), 1, content.size(), f);
    std::fclose(f);
}

void truncateTo(const std::string& path, size_t size) { fs::resize_file(path, size); }

const Damage kDamages[] = {
    {"garbage", [](const std::string& p) { overwrite(p, 0, std::string(8192, '\x5A')); }},
    {"empty", [](const std::string& p) { truncateTo(p, 0); }},
    {"truncated", [](const std::string& p) { truncateTo(p, fs::file_size(p) / 2); }},
    {"header only", [](const std::string& p) { truncateTo(p, 4096); }},
    {"bad checksum", [](const std::string& p) { overwrite(p, 0x1FC, "\x01\x02\x03\x04"); }},
    {"bad bin", [](const std::string& p) { overwrite(p, 0x1000, "HBIN"); }},
    {"wrong version", [](const std::string& p) { overwrite(p, 0x14, "\x07"); }},
    {"missing", [](const std::string& p) { fs::remove(p); }},
    {"folder", [](const std::string& p) {
         fs::remove(p);
         fs::create_directory(p);
     }},
};

TEST_F(RegistryImage, DamagedHivesGiveErrorsAndStayUntouched) {
    for (const Damage& damage : kDamages) {
        SCOPED_TRACE(damage.name);
        const std::string path = hive("SOFTWARE");
        if (fs::is_directory(path)) fs::remove(path);
        SetUp();
        test::buildHive(path, {test::hiveSz("Microsoft\\Windows\\CurrentVersion\\Run", "Bad", "x")});
        damage.apply(path);
        const bool existed = fs::exists(path);
        const std::string before = fs::is_regular_file(path) ? test::readHostFile(path) : "";
        reopen();

        EXPECT_EQ(reg->openKey(HKLM, kRun, 0x3F), RegStatus::Error);
        EXPECT_NE(reg->lastError().find(path), std::string::npos) << reg->lastError();
        EXPECT_EQ(reg->openKey(HKLM, "SOFTWARE", 0x3F), RegStatus::Error);
        EXPECT_FALSE(reg->queryValue(HKLM, kRun, "Bad"));
        EXPECT_FALSE(reg->lastError().empty());
        EXPECT_TRUE(reg->subKeys(HKLM, "SOFTWARE").empty());
        EXPECT_TRUE(reg->values(HKLM, kRun).empty());
        EXPECT_EQ(reg->setValue(HKLM, kRun, "New", text("v")), RegStatus::Error);
        EXPECT_EQ(reg->createKey(HKLM, "SOFTWARE\\New"), RegStatus::Error);
        EXPECT_EQ(reg->deleteValue(HKLM, kRun, "Bad"), RegStatus::Error);
        EXPECT_EQ(reg->deleteKeyTree(HKLM, "SOFTWARE\\Microsoft"), RegStatus::Error);
        // The user's classes cannot answer for the machine's: no guess, no write.
        EXPECT_EQ(reg->openKey(HKCR, ".txt", 0x3F), RegStatus::Error) << reg->lastError();
        EXPECT_EQ(reg->createKey(HKCR, ".new"), RegStatus::Error);

        EXPECT_EQ(fs::exists(path), existed);
        if (fs::is_regular_file(path)) {
            EXPECT_EQ(test::readHostFile(path), before);
        }
        // The other hives work as before.
        EXPECT_EQ(sz(HKCU, "Software\\Microsoft\\Internet Explorer\\Main", "Start Page"), "http://home.example/");
        EXPECT_EQ(reg->subKeys(HKLM, "").size(), 4u);
    }
}

TEST_F(RegistryImage, DamagedKeyInsideAHiveIsAnError) {
    const std::string path = hive("SOFTWARE");
    std::string content = test::readHostFile(path);
    const size_t name = content.find("CurrentVersion");
    ASSERT_NE(name, std::string::npos);
    overwrite(path, name - 0x4C, "xx");  // the key record's signature
    const std::string before = test::readHostFile(path);
    reopen();
    EXPECT_EQ(reg->openKey(HKLM, kRun, 0x3F), RegStatus::Error);
    EXPECT_FALSE(reg->lastError().empty());
    EXPECT_FALSE(reg->queryValue(HKLM, kRun, "Bad"));
    EXPECT_EQ(reg->setValue(HKLM, kRun, "New", text("v")), RegStatus::Error);
    EXPECT_EQ(reg->deleteKeyTree(HKLM, "SOFTWARE\\Microsoft\\Windows"), RegStatus::Error);
    EXPECT_EQ(test::readHostFile(path), before);
    // Keys away from the damage still read.
    EXPECT_EQ(sz(HKLM, "SOFTWARE\\Classes\\.txt", ""), "txtfile");
}

TEST_F(RegistryImage, DamagedUserOrSystemHivesFailTheirMappings) {
    overwrite(hive("UsrClass.dat"), 0, "junk");
    overwrite(hive("SYSTEM"), 0x1FC, "\xFF\xFF");
    reopen();
    EXPECT_EQ(reg->openKey(HKCR, "CLSID\\{M}", 0x3F), RegStatus::Error);
    EXPECT_TRUE(reg->subKeys(HKCR, "").empty());
    EXPECT_EQ(reg->openKey(HKCU, "Software\\Classes", 0x3F), RegStatus::Error);
    EXPECT_EQ(reg->openKey(HKCC, "", 0x3F), RegStatus::Error);
    EXPECT_EQ(reg->openKey(HKLM, "SYSTEM\\CurrentControlSet", 0x3F), RegStatus::Error);
    EXPECT_EQ(reg->setValue(HKCC, "Software", "v", text("x")), RegStatus::Error);
    EXPECT_EQ(reg->openKey(HKLM, "SOFTWARE\\Classes\\CLSID\\{M}", 0x3F), RegStatus::Ok);
}

TEST_F(RegistryImage, HookRunsBeforeTheFirstChangeOfEachHive) {
    std::vector<std::string> calls;
    std::string contentAtCall;
    reg->setBeforeFirstWrite([&](const std::string& path) {
        calls.push_back(path);
        contentAtCall = test::readHostFile(path);
    });
    const std::string original = test::readHostFile(hive("SOFTWARE"));
    ASSERT_EQ(reg->setValue(HKLM, kRun, "A", text("1")), RegStatus::Ok);
    ASSERT_EQ(reg->setValue(HKLM, kRun, "B", text("2")), RegStatus::Ok);
    ASSERT_EQ(reg->deleteKeyTree(HKCR, "CLSID\\{M}"), RegStatus::Ok);  // machine classes: the same hive
    EXPECT_EQ(calls, std::vector<std::string>{hive("SOFTWARE")});
    EXPECT_EQ(contentAtCall, original);  // called while the hive was still the old one

    // Reads, refused writes and writes that change nothing do not count.
    reg->openKey(HKCU, "Software", 0x3F);
    EXPECT_EQ(reg->deleteValue(HKCU, "Software", "none"), RegStatus::NotFound);
    EXPECT_EQ(reg->createKey(HKCU, "Software"), RegStatus::Ok);
    EXPECT_EQ(calls.size(), 1u);
    ASSERT_EQ(reg->createKey(HKCR, "CLSID\\{U}\\Sub"), RegStatus::Ok);
    ASSERT_EQ(reg->createKey(HKCC, "Software\\X"), RegStatus::Ok);
    EXPECT_EQ(calls, (std::vector<std::string>{hive("SOFTWARE"), hive("UsrClass.dat"), hive("SYSTEM")}));

    // A new hook starts over.
    calls.clear();
    reg->setBeforeFirstWrite([&](const std::string& path) { calls.push_back(path); });
    ASSERT_EQ(reg->setValue(HKLM, kRun, "C", text("3")), RegStatus::Ok);
    EXPECT_EQ(calls, std::vector<std::string>{hive("SOFTWARE")});
    reg->setBeforeFirstWrite(nullptr);
    ASSERT_EQ(reg->setValue(HKLM, kRun, "D", text("4")), RegStatus::Ok);
}

TEST_F(RegistryImage, HookFailureCancelsTheChange) {
    int calls = 0;
    bool refuse = true;
    reg->setBeforeFirstWrite([&](const std::string&) {
        ++calls;
        if (refuse) throw std::runtime_error("cannot back up the hive");
    });
    const std::string original = test::readHostFile(hive("NTUSER.DAT"));
    EXPECT_EQ(reg->setValue(HKCU, "Software\\New\\Key", "v", text("x")), RegStatus::Error);
    EXPECT_EQ(reg->lastError(), "cannot back up the hive");
    EXPECT_EQ(test::readHostFile(hive("NTUSER.DAT")), original);
    EXPECT_EQ(reg->openKey(HKCU, "Software\\New", 0x3F), RegStatus::NotFound);
    EXPECT_EQ(reg->deleteKeyTree(HKCU, "Console"), RegStatus::Error);
    EXPECT_EQ(reg->openKey(HKCU, "Console", 0x3F), RegStatus::Ok);
    refuse = false;
    EXPECT_EQ(reg->deleteKeyTree(HKCU, "Console"), RegStatus::Ok);
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(reg->openKey(HKCU, "Console", 0x3F), RegStatus::NotFound);
}

TEST_F(RegistryImage, OneFileNamedTwiceIsOneHive) {
    config.hives.defaultHive = config.hives.ntuser;
    reopen();
    ASSERT_EQ(reg->openKey(RootKey::Users, ".DEFAULT\\Console", 0x3F), RegStatus::Ok);  // cached read handle
    ASSERT_EQ(reg->deleteKeyTree(HKCU, "Console"), RegStatus::Ok);
    EXPECT_EQ(reg->openKey(RootKey::Users, ".DEFAULT\\Console", 0x3F), RegStatus::NotFound);
}

}  // namespace
}  // namespace vedozer
