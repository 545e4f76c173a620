// The command-line program end to end: real binary, real demo image with real hives.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/CliRun.h"
#include "support/TempDir.h"

namespace vedozer {
namespace {

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
    EXPECT_NE(j.find("\"stopped\":false"), std::string::npos);
    EXPECT_NE(j.find("\"stages\":[\"cookies\",\"memory\",\"registry\",\"files\"]"), std::string::npos) << j;
    EXPECT_NE(j.find("\"kind\":\"registry key\""), std::string::npos);

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
    // Each row's location and name went on the list: every trace of those names is held back.
    CliRun scan = run(globals + " scan --json -");
    EXPECT_EQ(scan.code, 0) << scan.out;
    EXPECT_NE(scan.out.find("\"excluded\":[\""), std::string::npos) << scan.out;
    EXPECT_NE(scan.out.find("\"C:\\\\KeyShadow\\\\keyshadow.sys\""), std::string::npos) << scan.out;
    EXPECT_EQ(scan.out.find("\"name\":\"KeyShadow Logger\""), std::string::npos);
    EXPECT_EQ(scan.out.find("\"name\":\"Cookie: "), std::string::npos);
    // Something the last scan did not find is refused, and the list stays as it was.
    const std::string before = test::readHostFile(root / "data/ENoSignature.dat");
    CliRun more = run(globals + " exclude 'C:\\Some\\Thing.exe'");
    EXPECT_EQ(more.code, 2);
    EXPECT_NE(more.err.find("the last scan found nothing named or located"), std::string::npos) << more.err;
    EXPECT_EQ(test::readHostFile(root / "data/ENoSignature.dat"), before);
}

TEST_F(Demo, DamagedHiveIsReportedAndLeftAsItWas) {
    const fs::path software = c() / "Windows/System32/config/SOFTWARE";
    std::string garbage(8192, '\x5a');
    { std::ofstream(software, std::ios::binary) << garbage; }
    CliRun scan = run(globals + " scan --json -");
    EXPECT_NE(scan.code, 2) << scan.err;   // the scan itself runs
    EXPECT_NE(scan.out.find("\"stopped\":false"), std::string::npos);
    EXPECT_NE(scan.err.find("HKEY_LOCAL_MACHINE\\SOFTWARE cannot be read"), std::string::npos) << scan.err;
    EXPECT_NE(scan.out.find("\"warnings\":[\"HKEY_LOCAL_MACHINE"), std::string::npos);
    EXPECT_EQ(test::readHostFile(software), garbage);
    CliRun removed = run(globals + " scan --remove --yes -q");
    EXPECT_EQ(test::readHostFile(software), garbage);
}

// chattr +i makes a file or folder unchangeable even for root; undone when the guard goes.
struct Immutable {
    fs::path path;
    bool on = false;
    explicit Immutable(fs::path p) : path(std::move(p)) {
        on = std::system(("chattr +i " + quote(path.string()) + " 2>/dev/null").c_str()) == 0;
    }
    ~Immutable() {
        if (on) (void)std::system(("chattr -i " + quote(path.string())).c_str());
    }
};

size_t count(const std::string& haystack, const std::string& needle) {
    size_t n = 0;
    for (size_t p = haystack.find(needle); p != std::string::npos; p = haystack.find(needle, p + 1)) ++n;
    return n;
}

TEST_F(Demo, RegistryEntriesThatCannotBeDeletedAreReportedNotRemovedAndTheScanSaysSo) {
    const fs::path config = c() / "Windows/System32/config";
    const fs::path software = config / "SOFTWARE";
    const std::string before = test::readHostFile(software);
    {
        Immutable guard(config);
        if (!guard.on) GTEST_SKIP() << "chattr +i does not work here";
        CliRun removed = run(globals + " scan --remove --yes --json -");
        EXPECT_EQ(removed.code, 1) << removed.err;
        const std::string& j = removed.out;
        // The files went; every value and key of the SOFTWARE hive stayed, each one said so.
        EXPECT_FALSE(fs::exists(c() / "Program Files/AdBuddy/adbuddy.exe"));
        EXPECT_NE(j.find("\"location\":\"HKEY_LOCAL_MACHINE\\\\Software\\\\AdBuddy\",\"outcome\":\"not removed\""),
                  std::string::npos)
            << j;
        EXPECT_GE(count(j, "\"outcome\":\"not removed\""), 3u) << j;
        EXPECT_EQ(count(j, "\"outcome\":\"not removed\",\"reason\":\"\""), 0u) << "every one with its reason";
        EXPECT_NE(j.find("\"notRemoved\":"), std::string::npos) << j;
        EXPECT_NE(removed.err.find("HKEY_LOCAL_MACHINE\\Software\\AdBuddy: AdBuddy Toolbar (Adware) NOT REMOVED ("),
                  std::string::npos) << removed.err;
        EXPECT_NE(j.find("\"name\":\"AdBuddy Toolbar\""), std::string::npos) << "the row stays in the results";
        EXPECT_NE(removed.err.find("Could not be removed (still listed):"), std::string::npos) << removed.err;
        EXPECT_NE(removed.err.find("Operation not permitted"), std::string::npos) << removed.err;
        EXPECT_EQ(removed.err.find("Removed; "), std::string::npos);
        EXPECT_EQ(test::readHostFile(software), before);
    }
    // It is still there, and a later scan finds it.
    CliRun again = run(globals + " scan --json -");
    EXPECT_EQ(again.code, 1);
    EXPECT_NE(again.out.find("\"name\":\"AdBuddy Toolbar\""), std::string::npos);
    EXPECT_EQ(again.out.find("\"name\":\"KeyShadow Logger\""), std::string::npos) << "the files did go";
}

TEST_F(Demo, AnExclusionListThatCannotBeWrittenIsAnErrorAndTheRowsStay) {
    const fs::path list = root / "data/ENoSignature.dat";
    { std::ofstream(list) << ""; }
    Immutable guard(list);
    if (!guard.on) GTEST_SKIP() << "chattr +i does not work here";
    CliRun excluded = run(globals + " scan --exclude --yes --json -");
    EXPECT_EQ(excluded.code, 2) << excluded.err;
    EXPECT_NE(excluded.err.find("vedozer: error: not excluded: "), std::string::npos) << excluded.err;
    EXPECT_NE(excluded.out.find("\"written\":false"), std::string::npos);
    EXPECT_EQ(excluded.out.find("\"written\":true"), std::string::npos);
    EXPECT_NE(excluded.out.find("\"name\":\"KeyShadow Logger\""), std::string::npos) << "the rows stay";
    EXPECT_EQ(test::readHostFile(list), "");
    CliRun named = run(globals + " exclude 'KeyShadow Logger'");
    EXPECT_EQ(named.code, 2);
    EXPECT_NE(named.err.find("not excluded: KeyShadow Logger"), std::string::npos) << named.err;
    EXPECT_EQ(run(globals + " scan -q").code, 1) << "nothing was excluded";
}

TEST_F(Demo, ExclusionsAreListedTakenOffAndOpeningAMissingListIsNoError) {
    CliRun open = run(globals + " quarantine open --exclusions");
    EXPECT_EQ(open.code, 0) << open.err;
    EXPECT_NE(open.err.find("No exclusion file exists yet."), std::string::npos) << open.err;
    ASSERT_EQ(run(globals + " scan -q").code, 1);
    EXPECT_EQ(run(globals + " exclude 'c:\\keyshadow\\KEYSHADOW.SYS' 'C:\\Windows\\spilot.ini'").code, 0);
    EXPECT_EQ(run(globals + " exclusions list").out, "1. C:\\KeyShadow\\keyshadow.sys\n2. C:\\Windows\\spilot.ini\n");
    EXPECT_EQ(run(globals + " exclusions remove 'c:\\KeyShadow\\KEYSHADOW.SYS'").code, 0);
    EXPECT_EQ(run(globals + " exclude --list").out, "1. C:\\Windows\\spilot.ini\n");
    EXPECT_EQ(run(globals + " exclusions remove 'C:\\KeyShadow\\keyshadow.sys'").code, 1);
    EXPECT_EQ(run(globals + " exclude --remove 1").code, 0);
    EXPECT_NE(run(globals + " exclude --list").out.find("empty"), std::string::npos);
}

TEST_F(Demo, ARestorePointPutsTheRegistryBackAsItWasBeforeTheRemoval) {
    const fs::path software = c() / "Windows/System32/config/SOFTWARE";
    const std::string before = test::readHostFile(software);
    ASSERT_EQ(run(globals + " scan --remove --yes -q").code, 0);
    ASSERT_NE(test::readHostFile(software), before);
    CliRun list = run(globals + " quarantine list");
    size_t at = list.out.find("RestorePoint-");
    ASSERT_NE(at, std::string::npos) << list.out;
    std::string name = list.out.substr(at, std::string("RestorePoint-2026-01-01-001").size());
    CliRun restored = run(globals + " quarantine restore-point --yes " + name);
    EXPECT_EQ(restored.code, 0) << restored.err;
    EXPECT_EQ(test::readHostFile(software), before);
    EXPECT_EQ(run(globals + " quarantine restore-point RestorePoint-1999-01-01-001").code, 2);
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
    EXPECT_NE(result.find("\"stopped\":true"), std::string::npos) << result;
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
    EXPECT_EQ(run(cfg + " settings get Settings Unknown").code, 2);
    CliRun info = run(cfg + " --data-dir " + quote(dir.str()) + " info");
    EXPECT_NE(info.out.find("Anonymous data:       off - never sent"), std::string::npos) << info.out;
    CliRun listed = run(cfg + " settings list");
    EXPECT_NE(listed.out.find("send-anonymous-data = 0\n    OptionAndSettings/chkSendData, default 1"), std::string::npos)
        << listed.out;
    EXPECT_NE(listed.out.find("last-scan = Never (default)\n    Settings/lblLastScan, default Never, kept by the program"),
              std::string::npos) << listed.out;
    EXPECT_EQ(run(cfg + " settings set OptionAndSettings chkSendData 1").code, 0);
    EXPECT_NE(run(cfg + " --data-dir " + quote(dir.str()) + " info").out.find("sent after each removal"),
              std::string::npos);
}

}  // namespace
}  // namespace vedozer
