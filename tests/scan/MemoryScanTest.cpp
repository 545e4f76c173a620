#include <gtest/gtest.h>

#include "ScanImage.h"
#include "VersionResource.h"
#include "scan/MemoryScan.h"
#include "scan/ProcessList.h"
#include "support/RunningProgram.h"

namespace vedozer {
namespace {

namespace fs = std::filesystem;
using test::ScanImage;

using Running = test::RunningProgram;

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
    // A namesake that no definition names starts first, so it comes first in the process list.
    Running namesake(placeProgram(img, "Tools/bad.exe"));
    Running bad(placeProgram(img, "Program Files/Bad/bad.exe"));
    img.definitionFile(kExeDefinitionFile, {"bad.exe=BadProc|[progfil]\\Bad", "bad.exe=BadProc|C:\\Elsewhere",
                                            "line without equals", "other.exe=Other|[progfil]\\Other"});
    img.scan();
    EXPECT_EQ(bad.endedBy(), SIGTERM);
    EXPECT_EQ(namesake.endedBy(100), 0);
    EXPECT_EQ(img.foundTexts(),
              (std::vector<std::string>{"Detected in the memory : BAD.EXE was stopped from running."}));
    EXPECT_EQ(img.results.foundList()[0].icon, kIconFile);
    EXPECT_TRUE(img.results.removalList().empty());  // the file stage lists files, not this one
    EXPECT_EQ(img.counters.softwareFound, 1);
    // Only the two programs started from the image count: the machine's own (this test among
    // them) are not the examined system's.
    EXPECT_EQ(img.progress.status().tally.runningPrograms, 2);
    EXPECT_EQ(img.counters.cookiesAndProcessesInspected, 4 + 2);
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
    std::vector<RunningThreat> asked;
    ctx.onShieldThreat = [&](const RunningThreat& threat) { asked.push_back(threat); };
    SweepMemory(ctx);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].fileName, "BAD.EXE");
    EXPECT_EQ(asked[0].company, "");
    EXPECT_EQ(asked[0].path, "C:\\APP\\BAD.EXE");
    EXPECT_EQ(asked[0].pid, bad.id());
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
