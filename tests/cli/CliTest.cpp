// The command-line program end to end: real binary, real demo image with real hives.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/TempDir.h"

namespace vedozer {
namespace {

namespace fs = std::filesystem;

struct CliRun {
    int code = -1;
    std::string out, err;
};

std::string quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

CliRun run(const std::string& args, const std::string& input = "") {
    test::TempDir io;
    std::string in = io.write("in", input).string();
    std::string cmd = quote(std::string(VEDOZER_BINARY_DIR) + "/vedozer") + " " + args + " <" + quote(in) + " >" +
                      quote(io.str() + "/out") + " 2>" + quote(io.str() + "/err");
    int status = std::system(cmd.c_str());
    CliRun r;
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = test::readHostFile(io.path() / "out");
    r.err = test::readHostFile(io.path() / "err");
    return r;
}

std::string hivexget(const fs::path& hive, const std::string& key, const std::string& value) {
    std::string cmd = "hivexget " + quote(hive.string()) + " " + quote(key) + " " + quote(value) + " 2>/dev/null";
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return "";
    std::string out;
    char buf[256];
    while (size_t n = fread(buf, 1, sizeof buf, p)) out.append(buf, n);
    pclose(p);
    return out;
}

struct Demo : ::testing::Test {
    test::TempDir dir;
    fs::path root;
    std::string globals;
    void SetUp() override {
        root = dir.path() / "demo";
        CliRun built = run("demo --build-only " + quote(root.string()));
        ASSERT_EQ(built.code, 0) << built.err;
        globals = "--target " + quote((root / "image/C").string()) + " --data-dir " + quote((root / "data").string()) +
                  " --config-dir " + quote((root / "config").string());
    }
    fs::path c() const { return root / "image/C"; }
};

TEST_F(Demo, ScanFindsThePlantedAdwareAndSaysSoInItsExitCode) {
    CliRun scan = run(globals + " scan --json -");
    EXPECT_EQ(scan.code, 1) << scan.err;
    const std::string& j = scan.out;
    for (const char* name : {"AdBuddy Toolbar", "CouponRocket", "PopWhirl", "SearchPilot Hijacker", "KeyShadow Logger",
                             "Cookie: demo@trk.adbuddy[1].txt"})
        EXPECT_NE(j.find(std::string("\"name\":\"") + name + "\""), std::string::npos) << name;
    EXPECT_EQ(j.find("userinit.exe"), std::string::npos) << "a safe-listed file was reported";
    EXPECT_EQ(j.find("hidden.dat"), std::string::npos);
    EXPECT_EQ(j.find("news.example"), std::string::npos) << "a cookie of an unlisted site was reported";
    EXPECT_NE(j.find("\"cancelled\":false"), std::string::npos);
    EXPECT_NE(j.find("\"stages\":[\"cookies\",\"memory\",\"registry\",\"files\"]"), std::string::npos) << j;
    EXPECT_NE(j.find("\"kind\":\"registry\""), std::string::npos);

    CliRun report = run(globals + " report");
    EXPECT_EQ(report.code, 0);
    EXPECT_NE(report.out.find("[Threats Detected]"), std::string::npos);
    EXPECT_NE(report.out.find("=====================End Of Report."), std::string::npos);

    CliRun info = run(globals + " info --json");
    EXPECT_EQ(info.code, 0);
    EXPECT_EQ(info.out.find("\"lastScan\":\"Never\""), std::string::npos) << "the last scan time was not saved";
}

TEST_F(Demo, StageSwitchesHoldForOneRunOnly) {
    CliRun scan = run(globals + " scan --no-cookies --no-registry --no-memory --json -");
    EXPECT_NE(scan.out.find("\"stages\":[\"files\"]"), std::string::npos) << scan.out;
    EXPECT_EQ(scan.out.find("Cookie:"), std::string::npos);
    CliRun again = run(globals + " scan --json -");
    EXPECT_NE(again.out.find("\"stages\":[\"cookies\",\"memory\",\"registry\",\"files\"]"), std::string::npos);
    CliRun quick = run(globals + " scan --quick -q");
    CliRun mode = run(globals + " settings get OptionAndSettings optScanAllSelectedHardDrive");
    EXPECT_EQ(mode.out, "False\n");
}

TEST_F(Demo, RemovalQuarantinesEverythingAndRestoreBringsItBack) {
    const fs::path software = c() / "Windows/System32/config/SOFTWARE";
    const std::string runKey = "Microsoft\\Windows\\CurrentVersion\\Run";
    ASSERT_FALSE(hivexget(software, runKey, "AdBuddyTray").empty());

    // Without a terminal and without --yes the question is answered No: nothing changes.
    CliRun declined = run(globals + " scan --remove");
    EXPECT_EQ(declined.code, 1);
    EXPECT_TRUE(fs::exists(c() / "Program Files/AdBuddy/adbuddy.exe"));

    CliRun removed = run(globals + " scan --remove --yes");
    EXPECT_EQ(removed.code, 0) << removed.out << removed.err;
    EXPECT_FALSE(fs::exists(c() / "Program Files/AdBuddy/adbuddy.exe"));
    EXPECT_FALSE(fs::exists(c() / "KeyShadow"));
    EXPECT_TRUE(hivexget(software, runKey, "AdBuddyTray").empty());
    EXPECT_FALSE(hivexget(software, runKey, "WindowsDefender").empty()) << "a harmless value went with it";
    EXPECT_TRUE(fs::exists(c() / "Windows/System32/userinit.exe"));
    EXPECT_EQ(run(globals + " scan -q").code, 0) << "something was left behind";

    CliRun list = run(globals + " quarantine list");
    EXPECT_NE(list.out.find("AdBuddyTray"), std::string::npos);
    EXPECT_NE(list.out.find("RestorePoint-"), std::string::npos);

    CliRun restored = run(globals + " quarantine restore --all");
    EXPECT_EQ(restored.code, 0) << restored.out << restored.err;
    EXPECT_EQ(test::readHostFile(c() / "Program Files/AdBuddy/adbuddy.exe"), "MZ AdBuddy toolbar");
    EXPECT_NE(hivexget(software, runKey, "AdBuddyTray").find("adbuddy.exe /tray"), std::string::npos);
    EXPECT_EQ(run(globals + " scan -q").code, 1);
    // A second restore finds everything restored already and overwrites nothing.
    CliRun twice = run(globals + " quarantine restore 1");
    EXPECT_NE(twice.code, 0);
}

TEST_F(Demo, ExcludedItemsAreListedAsExcludedNextTime) {
    CliRun excluded = run(globals + " scan --exclude --yes -q");
    EXPECT_EQ(excluded.code, 0);
    // The location of each excluded row is held back; other traces of the same name are not.
    CliRun scan = run(globals + " scan --json -");
    EXPECT_NE(scan.out.find("\"text\":\"EXCLUDED: C:\\\\KeyShadow\\\\keyshadow.sys\""), std::string::npos) << scan.out;
    EXPECT_EQ(scan.out.find("\"name\":\"KeyShadow Logger\""), std::string::npos);
    EXPECT_EQ(scan.out.find("\"name\":\"Cookie: "), std::string::npos);
    CliRun more = run(globals + " exclude 'C:\\Some\\Thing.exe'");
    EXPECT_EQ(more.code, 0);
    EXPECT_NE(test::readHostFile(root / "data/ENoSignature.dat").find("C:\\Some\\Thing.exe\r\n"), std::string::npos);
}

TEST_F(Demo, DamagedHiveIsReportedAndLeftAsItWas) {
    const fs::path software = c() / "Windows/System32/config/SOFTWARE";
    std::string garbage(8192, '\x5a');
    { std::ofstream(software, std::ios::binary) << garbage; }
    CliRun scan = run(globals + " scan --json -");
    EXPECT_NE(scan.code, 2) << scan.err;   // the scan itself runs
    EXPECT_NE(scan.out.find("\"cancelled\":false"), std::string::npos);
    EXPECT_NE(scan.err.find("HKEY_LOCAL_MACHINE\\SOFTWARE cannot be read"), std::string::npos) << scan.err;
    EXPECT_NE(scan.out.find("\"warnings\":[\"HKEY_LOCAL_MACHINE"), std::string::npos);
    EXPECT_EQ(test::readHostFile(software), garbage);
    CliRun removed = run(globals + " scan --remove --yes -q");
    EXPECT_EQ(test::readHostFile(software), garbage);
}

TEST_F(Demo, CtrlCStopsTheScanAndTheResultSaysSo) {
    fs::path cookies = c() / "Users/demo/AppData/Roaming/Microsoft/Windows/Cookies";
    for (int i = 0; i < 20000; ++i)
        std::ofstream(cookies / ("demo@site" + std::to_string(i) + "[1].txt")) << "x\n";
    fs::path json = dir.path() / "result.json";
    int err[2];
    ASSERT_EQ(pipe(err), 0);
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        std::string bin = std::string(VEDOZER_BINARY_DIR) + "/vedozer";
        std::string target = (root / "image/C").string(), data = (root / "data").string(),
                    config = (root / "config").string(), out = json.string();
        close(err[0]);
        dup2(err[1], 2);
        execl(bin.c_str(), bin.c_str(), "--target", target.c_str(), "--data-dir", data.c_str(), "--config-dir",
              config.c_str(), "scan", "--no-memory", "--json", out.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(err[1]);
    // The child names each stage on stderr as it begins; Ctrl+C goes in once the cookie stage runs.
    std::string said;
    char buf[4096];
    bool interrupted = false;
    for (ssize_t n; (n = read(err[0], buf, sizeof buf)) > 0;) {
        said.append(buf, static_cast<size_t>(n));
        if (!interrupted && said.find("Inspecting Cookies\n") != std::string::npos) {
            kill(pid, SIGINT);
            interrupted = true;
        }
    }
    close(err[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(interrupted) << said;
    EXPECT_NE(said.find("stopping"), std::string::npos) << said;
    ASSERT_TRUE(WIFEXITED(status));
    std::string result = test::readHostFile(json);
    EXPECT_NE(result.find("\"cancelled\":true"), std::string::npos) << result;
    EXPECT_NE(WEXITSTATUS(status), 0) << "a stopped scan must not pass for a clean system";
    // A stopped scan still records its time.
    EXPECT_EQ(run(globals + " info --json").out.find("\"lastScan\":\"Never\""), std::string::npos);
}

TEST(Cli, BadInvocationsFailClearly) {
    test::TempDir dir;
    CliRun missing = run("--target /nonexistent/image --data-dir " + quote(dir.str()) + " scan");
    EXPECT_EQ(missing.code, 2);
    EXPECT_NE(missing.err.find("not a folder"), std::string::npos);

    dir.write("C/Windows/System32/config/.keep", "");
    CliRun noDefs = run("--target " + quote(dir.str() + "/C") + " --data-dir " + quote(dir.str() + "/data") +
                     " --config-dir " + quote(dir.str() + "/cfg") + " scan");
    EXPECT_EQ(noDefs.code, 2);
    EXPECT_NE(noDefs.err.find("definition files are missing"), std::string::npos) << noDefs.err;

    dir.write("X/readme.txt", "not windows");
    CliRun notWindows = run("--target " + quote(dir.str() + "/X") + " --data-dir " + quote(dir.str()) + " scan");
    EXPECT_EQ(notWindows.code, 2);
    EXPECT_NE(notWindows.err.find("no Windows folder"), std::string::npos);

    CliRun badDrive = run("--drive D --data-dir " + quote(dir.str()) + " info");
    EXPECT_EQ(badDrive.code, 2);

    CliRun usage = run("frobnicate");
    EXPECT_EQ(usage.code, 2);
}

TEST(Cli, DefinitionAuthorsToolsRoundTrip) {
    std::string plain = "adbuddy.exe=AdBuddy Toolbar|[progfil]\\AdBuddy|Adware\n2^Software\\X^=X\n";
    CliRun encoded = run("defs encode", plain);
    ASSERT_EQ(encoded.code, 0);
    EXPECT_EQ(encoded.out.find("AdBuddy"), std::string::npos);
    CliRun decoded = run("defs decode", encoded.out);
    EXPECT_EQ(decoded.out, plain);
}

TEST(Cli, SettingsAreKeptPerUser) {
    test::TempDir dir;
    std::string cfg = " --config-dir " + quote(dir.str());
    EXPECT_EQ(run(cfg + " settings set OptionAndSettings chkSendData 0").code, 0);
    EXPECT_EQ(run(cfg + " settings get OptionAndSettings chksenddata").out, "0\n");
    EXPECT_EQ(run(cfg + " settings get Settings Unknown").code, 1);
    CliRun info = run(cfg + " --data-dir " + quote(dir.str()) + " info");
    EXPECT_NE(info.out.find("not sent"), std::string::npos);
}

}  // namespace
}  // namespace vedozer
