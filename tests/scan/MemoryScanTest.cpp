#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "ScanImage.h"
#include "VersionResource.h"
#include "scan/MemoryScan.h"
#include "scan/ProcessList.h"

extern char** environ;

namespace vedozer {
namespace {

namespace fs = std::filesystem;
using test::ScanImage;

// A program of the image started on this machine; killed and reaped at the end.
class Running {
public:
    Running(const fs::path& program, const std::string& trailer = "") {
        if (!trailer.empty()) std::ofstream(program, std::ios::app | std::ios::binary) << trailer;
        fs::permissions(program, fs::perms::owner_all);
        std::string p = program.string();
        char* argv[] = {p.data(), const_cast<char*>("60"), nullptr};
        if (posix_spawn(&m_pid, p.c_str(), nullptr, nullptr, argv, environ) != 0) m_pid = 0;
        for (int i = 0; i < 200; ++i) {
            std::error_code ec;
            if (fs::read_symlink("/proc/" + std::to_string(m_pid) + "/exe", ec) == fs::canonical(program)) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    ~Running() {
        if (m_pid > 0 && !m_reaped) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    uint32_t id() const { return static_cast<uint32_t>(m_pid); }
    // The signal that ended it; 0 while it runs.
    int endedBy(int waitMillis = 1000) {
        for (int i = 0; i < waitMillis / 10; ++i) {
            int status = 0;
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_reaped = true;
                return WIFSIGNALED(status) ? WTERMSIG(status) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return 0;
    }

private:
    pid_t m_pid = 0;
    bool m_reaped = false;
};

fs::path placeProgram(ScanImage& img, const std::string& relative) {
    fs::path p = img.drive + "/" + relative;
    fs::create_directories(p.parent_path());
    fs::copy_file("/bin/sleep", p, fs::copy_options::overwrite_existing);
    return p;
}

void onlyMemory(ScanImage& img) {
    img.onlyFiles();
    img.option(skey::scanMemory, "True");
}

TEST(MemoryScan, RunningThreatStartedFromTheImageIsListedAsStoppedAndEnded) {
    ScanImage img;
    onlyMemory(img);
    Running bad(placeProgram(img, "Program Files/Bad/bad.exe"));
    img.definitionFile(kExeDefinitionFile, {"bad.exe=BadProc|[progfil]\\Bad", "bad.exe=BadProc|C:\\Elsewhere",
                                            "line without equals", "other.exe=Other|[progfil]\\Other"});
    img.scan();
    EXPECT_EQ(bad.endedBy(), SIGTERM);
    EXPECT_EQ(img.foundTexts(),
              (std::vector<std::string>{"Detected in the memory : BAD.EXE was stopped from running."}));
    EXPECT_EQ(img.results.foundList()[0].icon, kIconFile);
    EXPECT_TRUE(img.results.removalList().empty());  // the file stage lists files, not this one
    EXPECT_EQ(img.counters.softwareFound, 1);
    int listed = img.progress.status().tally.runningPrograms;
    EXPECT_GT(listed, 1);
    // Four definition lines and every listed process were inspected.
    EXPECT_EQ(img.counters.cookiesAndProcessesInspected, 4 + listed);
}

TEST(MemoryScan, ProgramInTheSystemFolderMatchesTheSystemToken) {
    ScanImage img;
    onlyMemory(img);
    Running evil(placeProgram(img, "Windows/System32/evil.exe"));
    img.definitionFile(kExeDefinitionFile, {"EVIL.EXE=Evil|[system]"});
    img.scan();
    EXPECT_EQ(evil.endedBy(), SIGTERM);
    EXPECT_EQ(img.counters.softwareFound, 1);
}

TEST(MemoryScan, MicrosoftExcludedAndOwnHelperProgramsAreLeftRunning) {
    ScanImage img;
    onlyMemory(img);
    Running ms(placeProgram(img, "App/ms.exe"), test::versionResource("Microsoft Corporation"));
    Running excluded(placeProgram(img, "App/keep.exe"));
    Running helper(placeProgram(img, "App/ProcessWarden.exe"));
    img.exclusionFile({"keep.exe"});
    img.definitionFile(kExeDefinitionFile, {"ms.exe=Ms|C:\\App", "keep.exe=Keep|C:\\App",
                                            "processwarden.exe=Own|C:\\App"});
    img.scan();
    EXPECT_EQ(ms.endedBy(100), 0);
    EXPECT_EQ(excluded.endedBy(100), 0);
    EXPECT_EQ(helper.endedBy(100), 0);
    EXPECT_EQ(img.foundTexts(), (std::vector<std::string>{"EXCLUDED: KEEP.EXE"}));
    EXPECT_EQ(img.counters.softwareFound, 0);
}

TEST(MemoryScan, OutsideAScanTheShieldIsAsked) {
    ScanImage img;
    Running bad(placeProgram(img, "App/bad.exe"));
    img.definitionFile(kExeDefinitionFile, {"bad.exe=Bad|C:\\App"});
    CountDefinitions(*img.platform().dataFiles, img.definitions);
    ScanContext ctx = img.context();
    ctx.scanRunning = false;
    std::vector<std::pair<std::string, std::string>> asked;
    ctx.onShieldThreat = [&](const std::string& file, const std::string& company) { asked.emplace_back(file, company); };
    SweepMemory(ctx);
    EXPECT_EQ(asked, (std::vector<std::pair<std::string, std::string>>{{"BAD.EXE", ""}}));
    EXPECT_EQ(bad.endedBy(100), 0);
    EXPECT_EQ(img.counters.cookiesAndProcessesInspected, img.progress.status().tally.runningPrograms);
    EXPECT_EQ(img.host.yields() > 0, true);
}

TEST(ProcessList, NamesAndStopping) {
    ScanImage img;
    Running bad(placeProgram(img, "App/longprogramname.exe"));
    Processes& p = *img.platform().processes;
    EXPECT_EQ(ProcessNameFromId(p, 0), "System Idle Process");
    EXPECT_EQ(ProcessNameFromId(p, 2), "System");
    EXPECT_EQ(ProcessNameFromId(p, bad.id()), "longprogramname.exe");
    EXPECT_EQ(ProcessNameFromId(p, 4000000000u), "");
    ProcessListing byId = ListProcesses(p, "longprog", true);
    ASSERT_EQ(byId.size(), 1u);
    EXPECT_EQ(byId.ids[0], bad.id());
    ProcessListing snap = ListProcesses(p, "longprog", false);
    ASSERT_EQ(snap.size(), 1u);
    EXPECT_EQ(ListProcesses(p, "LONGPROG", true).size(), 0u);  // the filter is case-sensitive

    EXPECT_EQ(NormalizeSystemPath("\\SystemRoot\\System32\\x.exe", "C:\\Windows\\System32"),
              "C:\\Windows\\System32\\x.exe");
    EXPECT_EQ(NormalizeSystemPath("C:\\App\\x.exe", "C:\\Windows\\System32"), "C:\\App\\x.exe");

    // Nothing of that name runs: success at once.
    EXPECT_TRUE(StopProgramByName(p, img.platform().systemInfo, "nothing-like-this.exe"));
    // Long names compare by their first 15 characters, whatever the letter case.
    EXPECT_TRUE(StopProgramByName(p, img.platform().systemInfo, "LongProgramName.com"));
    EXPECT_EQ(bad.endedBy(), SIGTERM);
}

}  // namespace
}  // namespace vedozer
