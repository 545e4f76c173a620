#include <gtest/gtest.h>

#include "ShieldImage.h"
#include "support/FakePlatform.h"
#include "support/FakeProcessList.h"

namespace vedozer {
namespace {

using test::RunningProgram;
using test::ShieldImage;

TEST(MemoryShield, StopEndsOnlyTheProgramAtTheDetectedPathWhileTheTimersWait) {
    ShieldImage s;
    // A namesake elsewhere starts first, so it comes first in the process list.
    RunningProgram namesake(s.program("Tools/bad.exe"));
    RunningProgram bad(s.program("Program Files/Bad/bad.exe"));
    s.definitions({"bad.exe=BadProc|[progfil]\\Bad"});
    bool heldWhileAsking = false;
    s.img.host.setHandler([&](const test::ScriptedHost::Asked&) {
        heldWhileAsking = s.timers.held() && !s.timers.homePageCheck.enabled() && !s.timers.memoryShield.enabled();
        return Answer::Yes;
    });

    std::vector<ShieldAlert> alerts = s.shield.check();

    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].threat.fileName, "BAD.EXE");
    EXPECT_EQ(alerts[0].threat.path, "C:\\PROGRAM FILES\\BAD\\BAD.EXE");
    EXPECT_EQ(alerts[0].choice, ShieldChoice::Stop);
    EXPECT_TRUE(alerts[0].outcome.isDone());
    EXPECT_EQ(bad.endedBy(), SIGTERM);
    EXPECT_EQ(namesake.endedBy(100), 0);
    EXPECT_TRUE(heldWhileAsking);
    EXPECT_FALSE(s.timers.held());
    EXPECT_TRUE(s.timers.memoryShield.enabled());

    const auto& asked = s.img.host.asked();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].kind, QuestionKind::RunningThreat);
    EXPECT_EQ(asked[0].title, "Malicious Program Found");
    EXPECT_EQ(asked[0].buttons, Buttons::YesNoCancel);
    EXPECT_NE(asked[0].text.find("Click STOP to stop it from running."), std::string::npos);
    EXPECT_NE(asked[0].text.find("File Name: BAD.EXE"), std::string::npos);
    EXPECT_TRUE(s.img.host.notices.empty());
    EXPECT_EQ(s.exclusionFile(), "");
}

TEST(MemoryShield, AllowExcludesTheProgramOnceAndTheNextCheckListsItInsteadOfAsking) {
    ShieldImage s;
    RunningProgram bad(s.program("App/bad.exe"));
    s.definitions({"bad.exe=Bad|C:\\App"});
    s.img.host.answer(Answer::No);

    auto first = s.shield.check();
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].choice, ShieldChoice::Allow);
    EXPECT_TRUE(first[0].outcome.isDone());
    EXPECT_EQ(s.exclusionFile(), "BAD.EXE\r\n");
    EXPECT_EQ(s.shield.allowed(), (std::set<std::string>{"BAD.EXE"}));

    EXPECT_TRUE(s.shield.check().empty());
    EXPECT_EQ(s.img.host.asked().size(), 1u);
    EXPECT_EQ(s.img.foundTexts(), (std::vector<std::string>{"EXCLUDED: BAD.EXE"}));
    EXPECT_EQ(s.exclusionFile(), "BAD.EXE\r\n");
    EXPECT_EQ(bad.endedBy(100), 0);
}

TEST(MemoryShield, AnAllowedProgramWhoseExclusionCannotBeWrittenIsStillLeftAloneForTheRun) {
    ShieldImage s;
    RunningProgram bad(s.program("App/bad.exe"));
    s.definitions({"bad.exe=Bad|C:\\App"});
    // A folder where the exclusion file belongs: it cannot be written.
    std::filesystem::create_directories(s.img.data + "/ENoSignature.dat");
    s.img.host.answer(Answer::No);

    auto first = s.shield.check();
    ASSERT_EQ(first.size(), 1u);
    EXPECT_TRUE(first[0].outcome.failed());
    ASSERT_EQ(s.img.host.notices.size(), 1u);
    EXPECT_NE(s.img.host.notices[0].text.find("could not be added to the exclusion list"), std::string::npos);

    auto second = s.shield.check();
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(second[0].outcome.status, OutcomeStatus::Skipped);
    EXPECT_EQ(s.img.host.asked().size(), 1u) << "not asked again in this run";
}

TEST(MemoryShield, AClosedAlertDecidesNothingAndIsShownAgainAtTheNextCheck) {
    ShieldImage s;
    RunningProgram bad(s.program("App/bad.exe"));
    s.definitions({"bad.exe=Bad|C:\\App"});
    s.img.host.answers({Answer::Cancel, Answer::Cancel});
    EXPECT_EQ(s.shield.check()[0].choice, ShieldChoice::Later);
    EXPECT_EQ(s.shield.check()[0].choice, ShieldChoice::Later);
    EXPECT_EQ(s.img.host.asked().size(), 2u);
    EXPECT_EQ(s.exclusionFile(), "");
    EXPECT_EQ(bad.endedBy(100), 0);
}

TEST(MemoryShield, AProgramThatEndedWhileTheAlertWasOpenIsReportedAsGoneWithoutAMessage) {
    ShieldImage s;
    RunningProgram bad(s.program("App/bad.exe"));
    s.definitions({"bad.exe=Bad|C:\\App"});
    s.img.host.setHandler([&](const test::ScriptedHost::Asked&) {
        bad.end();
        return Answer::Yes;
    });
    auto alerts = s.shield.check();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].outcome.status, OutcomeStatus::Skipped);
    EXPECT_TRUE(s.img.host.notices.empty());
}

TEST(MemoryShield, AProgramThatCannotBeStoppedIsReportedAndAskedAboutAgain) {
    ShieldImage s;
    s.img.write("App/bad.exe", "MZ");
    test::FakeProcessList protectedList({"C:\\App\\bad.exe"});  // terminate always fails
    s.img.platform().processes = &protectedList;
    s.definitions({"bad.exe=Bad|C:\\App"});
    s.img.host.answers({Answer::Yes, Answer::Yes});

    auto alerts = s.shield.check();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_TRUE(alerts[0].outcome.failed());
    ASSERT_EQ(s.img.host.notices.size(), 1u);
    EXPECT_EQ(s.img.host.notices[0].text,
              "BAD.EXE could not be stopped.  You should try again after saving your work and closing any open "
              "applications.");
    EXPECT_EQ(s.shield.check().size(), 1u);
}

TEST(MemoryShield, ASwitchedOffShieldLooksAtNothing) {
    ShieldImage s;
    RunningProgram bad(s.program("App/bad.exe"));
    s.definitions({"bad.exe=Bad|C:\\App"});
    s.img.option(skey::memoryShieldOn, "False");
    EXPECT_TRUE(s.shield.check().empty());
    EXPECT_TRUE(s.img.host.asked().empty());
    EXPECT_EQ(s.shieldCounters.cookiesAndProcessesInspected, 0);
}

// The 9x sweep goes by image names alone, so these tests run programs of names no other test
// runs (tests run side by side, each with its own image).
TEST(MemoryShield, TheWindows9xFamilyAsksWithAMessageBoxAndStopsTheVeryProcess) {
    ShieldImage s;
    test::FakeSystemInfo family9x;
    family9x.os.family = PlatformFamily::Windows9x;
    s.img.platform().systemInfo = &family9x;
    RunningProgram bad(s.program("App/stop95.exe"));
    RunningProgram kept(s.program("App/allow95.exe"));
    s.definitions({"stop95.exe=Bad|C:\\App", "allow95.exe=Keep|C:\\App", "ms.exe=Ms|C:\\App"});
    s.img.host.answers({Answer::Yes, Answer::No});

    auto alerts = s.shield.check();
    ASSERT_EQ(alerts.size(), 2u);
    EXPECT_EQ(bad.endedBy(), SIGTERM);
    EXPECT_EQ(kept.endedBy(100), 0);
    EXPECT_EQ(s.exclusionFile(), "ALLOW95.EXE\r\n");
    const auto& asked = s.img.host.asked();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].title, "Vedozer Test  - Alert");
    EXPECT_EQ(asked[0].text, "Vedozer Test has found [STOP95.EXE] using you system memory. Click YES to stop [STOP95.EXE] "
                             "from using your system memory. Otherwise click No.");
    EXPECT_EQ(s.shieldCounters.softwareFound, 1);
    // The names were read once; the next check counts them again without reading the file.
    int afterFirst = s.shieldCounters.cookiesAndProcessesInspected;
    s.img.definitionFile(kExeDefinitionFile, {});
    s.shield.check();
    EXPECT_EQ(s.shieldCounters.cookiesAndProcessesInspected, afterFirst + 3);
}

TEST(MemoryShield, DuringAScanThe9xSweepStopsWithoutAQuestion) {
    ShieldImage s;
    test::FakeSystemInfo family9x;
    family9x.os.family = PlatformFamily::Windows9x;
    s.img.platform().systemInfo = &family9x;
    RunningProgram bad(s.program("App/scan95.exe"));
    s.img.onlyFiles();
    s.img.option(skey::scanMemory, "True");
    s.definitions({"scan95.exe=Bad|C:\\App"});
    ScanContext ctx = s.img.context();
    ctx.sweepMemory95 = [&] { s.shield.sweepMemory95(ctx); };
    CountDefinitions(*s.img.platform().dataFiles, s.img.definitions);
    runScan(ctx, false);
    EXPECT_EQ(bad.endedBy(), SIGTERM);
    EXPECT_TRUE(s.img.host.asked().empty());
    EXPECT_EQ(s.img.foundTexts(), (std::vector<std::string>{"Detected in the memory : SCAN95.EXE was stopped from running."}));
    EXPECT_EQ(s.img.counters.softwareFound, 1);
}

}  // namespace
}  // namespace vedozer
