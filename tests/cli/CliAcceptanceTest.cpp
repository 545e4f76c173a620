// The command line as a person and a script meet it, on a planted image, with a definition server
// that records what reaches it.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <unistd.h>

#include <fstream>

#include "cli/CliRun.h"
#include "support/DefServerProcess.h"

extern char** environ;

namespace vedozer {
namespace {

const char* const kServer = VEDOZER_BINARY_DIR "/vedozer-defserver";

size_t count(const std::string& haystack, const std::string& needle) {
    size_t n = 0;
    for (size_t p = haystack.find(needle); p != std::string::npos; p = haystack.find(needle, p + 1)) ++n;
    return n;
}

// A program started from inside the image (a shell copied there), running until the test ends.
struct ImageProgram {
    pid_t pid = 0;
    explicit ImageProgram(const fs::path& exe) {
        fs::create_directories(exe.parent_path());
        fs::copy_file("/bin/sh", exe, fs::copy_options::overwrite_existing);
        std::string path = exe.string();
        const char* argv[] = {path.c_str(), "-c", "while :; do sleep 1; done", nullptr};
        if (posix_spawn(&pid, path.c_str(), nullptr, nullptr, const_cast<char**>(argv), environ) != 0) pid = 0;
        // Running once /proc shows the image's file as its executable.
        for (int i = 0; i < 500 && pid > 0; ++i) {
            std::error_code ec;
            if (fs::read_symlink("/proc/" + std::to_string(pid) + "/exe", ec) == exe) break;
            usleep(10000);
        }
    }
    ~ImageProgram() {
        if (pid > 0) kill(pid, SIGKILL), waitpid(pid, nullptr, 0);
    }
};

struct Planted : Demo {
    test::TempDir serverDir;
    void useServer(const test::DefServerProcess& server) {
        ASSERT_EQ(run(globals + " settings set definition-server " + server.url()).code, 0);
    }
    std::string submissions() const { return test::readHostFile(serverDir.path() / "submissions.txt"); }
};

TEST_F(Planted, AnonymousDataDescribesTheImageOnlyAndOnlyWithConsent) {
    fs::create_directories(serverDir.path() / "changes");
    test::DefServerProcess server(kServer, serverDir.str(), (serverDir.path() / "submissions.txt").string());
    ASSERT_TRUE(server.running());
    useServer(server);
    ImageProgram tool(c() / "Program Files/Tool/tool.exe");
    ASSERT_GT(tool.pid, 0);
    CliRun info = run(globals + " info");
    EXPECT_NE(info.out.find("Anonymous data:       not asked yet - nothing is sent until you answer"), std::string::npos)
        << info.out;
    EXPECT_NE(info.out.find("now: tool.exe"), std::string::npos) << "only the image's program: " << info.out;

    // Never asked and no terminal: the answer is no, nothing goes out, and nothing is stored.
    ASSERT_EQ(run(globals + " scan --remove --yes -q").code, 0);
    EXPECT_EQ(server.log().find("getData"), std::string::npos) << server.log();
    EXPECT_NE(run(globals + " info --json").out.find("\"choice\":\"not asked yet\""), std::string::npos);

    // Allowed: after a removal the image's running program is named, and nothing of the host.
    ASSERT_EQ(run(globals + " settings set send-anonymous-data on").code, 0);
    ASSERT_EQ(run(globals + " quarantine restore --all").code, 0);
    ASSERT_EQ(run(globals + " scan --remove --yes -q").code, 0);
    std::string sent = submissions();
    EXPECT_NE(sent.find("\ttool.exe\r\n"), std::string::npos) << sent;
    EXPECT_EQ(count(sent, "\r\n"), 1u) << "the host's own programs (this test, sleep, the server) never: " << sent;

    // An empty submission never leaves the machine.
    CliRun empty = run(globals + " submit ''");
    EXPECT_EQ(empty.code, 2);
    EXPECT_EQ(submissions(), sent);
}

TEST_F(Planted, AFailedUpdateSaysOnlyThatItFailed) {
    CliRun update = run(globals + " update --server http://127.0.0.1:" + std::to_string(test::unusedPort()));
    EXPECT_EQ(update.code, 2);
    EXPECT_EQ((update.out + update.err).find("most recent"), std::string::npos) << update.out << update.err;
    EXPECT_NE(update.err.find("could not be reached"), std::string::npos) << update.err;
}

TEST_F(Planted, OptionsGoBeforeOrAfterTheCommandAndMistakesAreNamed) {
    CliRun after = run("scan -q " + globals);
    EXPECT_EQ(after.code, 1) << after.err;
    CliRun help = run("quarantine list --help");
    for (const char* option : {"--target", "--drive", "--user", "--data-dir", "--config-dir"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option << " missing in:\n" << help.out;
    CliRun version = run("--version " + globals);
    EXPECT_EQ(version.code, 0);
    EXPECT_NE(version.out.find("Vedozer Anti-Spyware 1."), std::string::npos) << version.out;
    EXPECT_NE(version.out.find("definitions: 3/16/2006"), std::string::npos) << version.out;
    CliRun typo = run(globals + " sacn");
    EXPECT_EQ(typo.code, 2);
    EXPECT_NE(typo.err.find("there is no command \"sacn\"; did you mean \"scan\"?"), std::string::npos) << typo.err;
    CliRun setting = run(globals + " settings set scan-cookies maybe");
    EXPECT_EQ(setting.code, 2);
    EXPECT_NE(setting.err.find("not \"maybe\""), std::string::npos) << setting.err;
    CliRun name = run(globals + " settings set scan-cookie off");
    EXPECT_EQ(name.code, 2);
    EXPECT_NE(name.err.find("did you mean \"scan-cookies\"?"), std::string::npos) << name.err;
    EXPECT_EQ(run(globals + " settings get write-report").out, "1\n") << "unset: its default";
    EXPECT_EQ(run(globals + " settings set complete-scan no").out,
              "complete-scan = False  (OptionAndSettings/optScanAllSelectedHardDrive)\n");
    EXPECT_EQ(run(globals + " settings get OptionAndSettings optScanOnlyKnownSoftwares").out, "True\n")
        << "an option pair is saved as both keys";

    fs::path image = root / "image";
    CliRun above = run("--target " + quote(image.string()) + " --data-dir " + quote(dir.str()) + " scan");
    EXPECT_EQ(above.code, 2);
    EXPECT_NE(above.err.find("the nearest folder that looks like one is " + c().string()), std::string::npos) << above.err;
    CliRun below = run("--target " + quote((c() / "Windows").string()) + " --data-dir " + quote(dir.str()) + " scan");
    EXPECT_NE(below.err.find("looks like one is " + c().string() + "\n"), std::string::npos) << below.err;
    CliRun bob = run(globals + " --user bob scan");
    EXPECT_EQ(bob.code, 2);
    EXPECT_NE(bob.err.find("the profiles found are: demo"), std::string::npos) << bob.err;
}

TEST_F(Planted, EachTraceIsOneLineAndTheSummarySaysWhatWasScanned) {
    // A cookie file whose name would retitle the terminal.
    fs::path cookies = c() / "Users/demo/AppData/Roaming/Microsoft/Windows/Cookies";
    std::ofstream(cookies / "demo@trk.adbuddy[1].txt.\x1b]0;owned\x07") << "";
    fs::path log = dir.path() / "copy.txt";
    CliRun scan = run(globals + " scan --log " + quote(log.string()));
    EXPECT_EQ(scan.code, 1);
    EXPECT_NE(scan.out.find("\nC:\\KeyShadow\\keyshadow.sys: KeyShadow Logger (Keylogger) FOUND\n"), std::string::npos)
        << scan.out;
    EXPECT_NE(scan.out.find("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run [AdBuddyTray]: "
                            "AdBuddy Toolbar (Adware) FOUND\n"),
              std::string::npos);
    EXPECT_NE(scan.out.find("  target:       Windows 7 Professional installed 2011-03-13T07:06:40Z (C=" + c().string()),
              std::string::npos) << scan.out;
    EXPECT_NE(scan.out.find("  definitions:  245, dated 3/16/2006"), std::string::npos) << scan.out;
    EXPECT_NE(scan.out.find("inspected (definitions checked against the system, not files read)"), std::string::npos);
    EXPECT_NE(scan.out.find("recorded as:  a complete scan"), std::string::npos);
    EXPECT_EQ(scan.out.find('\x1b'), std::string::npos) << "a control character reached the terminal";
    EXPECT_EQ(scan.err.find('\x1b'), std::string::npos);
    EXPECT_EQ(scan.err.find("Inpecting"), std::string::npos);
    EXPECT_EQ(test::readHostFile(log), test::readHostFile(root / "data/Scan_Log.txt"));
    EXPECT_NE(test::readHostFile(log).find("[Threats Detected]"), std::string::npos);
    EXPECT_NE(run(globals + " --help").out.find("Global options"), std::string::npos);
    EXPECT_NE(run("scan --help").out.find("--quick"), std::string::npos);
}

TEST_F(Planted, ExcludingANameHidesEveryTraceOfIt) {
    ASSERT_EQ(run(globals + " scan -q").code, 1);
    CliRun byName = run(globals + " exclude 'adbuddy toolbar'");
    EXPECT_EQ(byName.code, 0) << byName.err;
    EXPECT_EQ(byName.out.find("added to the exclusion list: AdBuddy Toolbar  (the spyware name AdBuddy Toolbar: every "
                              "detection of it is held back)\n"),
              0u) << byName.out;
    CliRun byNumber = run(globals + " exclude 10");  // the tenth listed: KeyShadow Logger
    EXPECT_NE(byNumber.out.find("C:\\KeyShadow\\keyshadow.sys  (the location of item 10 (KeyShadow Logger))"),
              std::string::npos) << byNumber.out;
    EXPECT_EQ(run(globals + " exclude 11").code, 2);
    CliRun scan = run(globals + " scan -q");
    EXPECT_EQ(scan.out.find("AdBuddy Toolbar"), std::string::npos) << scan.out;
    EXPECT_EQ(scan.out.find("KeyShadow"), std::string::npos) << scan.out;
    EXPECT_NE(scan.out.find("CouponRocket"), std::string::npos);
}

TEST_F(Planted, QuarantinedItemsGoBackOnlyToTheirOwnSystem) {
    ASSERT_EQ(run(globals + " scan --remove --yes -q").code, 0);
    // A copy of the installation elsewhere is another target.
    fs::path copy = dir.path() / "copy";
    fs::copy(root / "image", copy, fs::copy_options::recursive);
    std::string other = "--target " + quote((copy / "C").string()) + " --data-dir " + quote((root / "data").string()) +
                        " --config-dir " + quote((root / "config").string());
    CliRun refused = run(other + " quarantine restore 1");
    EXPECT_EQ(refused.code, 2);
    EXPECT_NE(refused.err.find("came from Windows 7 Professional installed 2011-03-13T07:06:40Z (C=" + c().string()),
              std::string::npos) << refused.err;
    EXPECT_FALSE(fs::exists(copy / "C/Program Files/AdBuddy/adbuddy.exe"));
    CliRun listed = run(other + " quarantine list");
    EXPECT_NE(listed.out.find("[another system: restore it there, or use --force]"), std::string::npos) << listed.out;
    EXPECT_EQ(run(other + " quarantine restore 1 --force").code, 0);
    EXPECT_TRUE(fs::exists(copy / "C/Program Files/AdBuddy/adbuddy.exe"));
    EXPECT_EQ(run(globals + " quarantine restore 1").code, 0) << "its own system takes it back";
}

TEST_F(Planted, ARestorePointGoesBackAfterAQuestionAndKeepsTheHivesItReplaced) {
    const fs::path software = c() / "Windows/System32/config/SOFTWARE";
    const std::string original = test::readHostFile(software);
    ASSERT_EQ(run(globals + " scan --remove --yes -q").code, 0);
    const std::string cleaned = test::readHostFile(software);
    CliRun list = run(globals + " quarantine list");
    size_t at = list.out.find("RestorePoint-");
    ASSERT_NE(at, std::string::npos) << list.out;
    std::string name = list.out.substr(at, std::string("RestorePoint-2026-01-01-001").size());
    CliRun declined = run(globals + " quarantine restore " + name);
    EXPECT_EQ(declined.code, 1);
    EXPECT_EQ(test::readHostFile(software), cleaned);
    CliRun restored = run(globals + " quarantine restore " + name + " --yes");
    EXPECT_EQ(restored.code, 0) << restored.err;
    EXPECT_EQ(test::readHostFile(software), original);
    at = restored.out.find("kept in RestorePoint-");
    ASSERT_NE(at, std::string::npos) << restored.out;
    std::string aside = restored.out.substr(at + 8, name.size());
    EXPECT_EQ(test::readHostFile(root / "data/quarantine" / aside / "SOFTWARE"), cleaned);
}

TEST_F(Planted, JsonOutputsMatchTheirSchemas) {
    auto valid = [&](const std::string& json, const char* schema) {
        fs::path file = dir.path() / (std::string(schema) + ".json");
        std::ofstream(file) << json;
        std::string cmd = "/usr/bin/python3 " + quote(VEDOZER_SOURCE_DIR "/tests/cli/validate_json.py") + " " +
                          quote(VEDOZER_SOURCE_DIR "/docs/schemas") + " " + schema + " " + quote(file.string()) + " 2>&1";
        FILE* p = popen(cmd.c_str(), "r");
        std::string said;
        char buf[512];
        while (size_t n = fread(buf, 1, sizeof buf, p)) said.append(buf, n);
        int status = pclose(p);
        EXPECT_EQ(WEXITSTATUS(status), 0) << schema << ": " << said << "\n" << json;
    };
    valid(run(globals + " scan --json -").out, "scan-v1.schema.json");
    CliRun removal = run(globals + " scan --remove --yes --json -");
    EXPECT_NE(removal.out.find("\"outcome\":\"removed\""), std::string::npos);
    valid(removal.out, "scan-v1.schema.json");
    valid(run(globals + " info --json").out, "info-v1.schema.json");
    valid(run("--data-dir " + quote(dir.str()) + " info --json").out, "info-v1.schema.json");
    valid(run(globals + " quarantine list --json").out, "quarantine-v1.schema.json");
    CliRun failed = run("scan --json - --target " + quote((dir.path() / "nowhere").string()));
    EXPECT_EQ(failed.code, 2);
    valid(failed.out, "error-v1.schema.json");
}

}  // namespace
}  // namespace vedozer
