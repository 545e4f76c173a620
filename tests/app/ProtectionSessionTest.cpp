// The protection features through the session, over a planted offline system.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/Session.h"
#include "protection/ShieldImage.h"
#include "support/FakePlatform.h"

namespace vedozer {
namespace {

struct ProtectedSession {
    test::ShieldImage s;
    test::FixedClock clock;
    std::unique_ptr<Session> session;

    ProtectedSession() {
        s.img.platform().clock = &clock;
        clock.time = LocalTime{2006, 3, 16, 14, 30, 0, 4};
        session = std::make_unique<Session>(s.img.platform(), s.img.host, s.img.languages.identity());
        EXPECT_TRUE(session->startUp());
        // Minimised to the tray: every protection timer follows its option.
        session->timers().setWindowState(WindowState::Tray);
    }
    void scheduleNow(bool autoDelete) {
        Settings& st = session->settings();
        st.save(skey::OptionAndSettings, skey::scheduledScanOn, "1");
        st.save(skey::OptionAndSettings, skey::Day, "7");
        st.save(skey::OptionAndSettings, skey::Time, "14:30:00");
        st.save(skey::Settings, skey::autoDelete, autoDelete ? "1" : "0");
        session->timers().optionsChanged();
    }
};

TEST(ProtectionSession, AScheduledScanRunsOnceAndRemovesWithoutAskingWhileTheTimersRest) {
    ProtectedSession p;
    p.s.img.onlyFiles();
    p.s.img.definitionFile(kFileDefinitionFile, {"bar.dll=BadThing|[drive]Program Files\\Bad"});
    p.s.img.write("Program Files/Bad/bar.dll", "x");
    p.scheduleNow(true);
    BackgroundTimers& timers = p.session->timers();
    ASSERT_TRUE(timers.scheduler.enabled());
    std::vector<bool> heldDuringScan;
    p.s.img.host.onYield([&](int) { heldDuringScan.push_back(timers.held() && !timers.scheduler.enabled()); });

    timers.scheduler.tick();  // no question may come: the host fails the test on one
    EXPECT_FALSE(std::filesystem::exists(p.s.img.drive + "/Program Files/Bad/bar.dll"));
    EXPECT_TRUE(p.s.img.host.asked().empty());
    ASSERT_FALSE(heldDuringScan.empty());
    EXPECT_EQ(std::count(heldDuringScan.begin(), heldDuringScan.end(), false), 0);
    EXPECT_FALSE(timers.held());
    EXPECT_TRUE(timers.scheduler.enabled());
    EXPECT_FALSE(p.session->protection().scheduler().unattendedRemoval());

    // The 10 ms timer ticks on in the same second: no second scan.
    size_t stages = p.s.img.host.stagesStarted.size();
    for (int i = 0; i < 50; ++i) timers.scheduler.tick();
    EXPECT_EQ(p.s.img.host.stagesStarted.size(), stages);
}

TEST(ProtectionSession, TheMemoryShieldAlertsThroughTheSessionWithoutTouchingTheScanCounters) {
    ProtectedSession p;
    test::RunningProgram bad(p.s.program("App/bad.exe"));
    p.s.img.definitionFile(kExeDefinitionFile, {"bad.exe=Bad|C:\\App"});
    p.session->reloadDefinitions();
    p.s.img.host.answer(Answer::Yes);
    BackgroundTimers& timers = p.session->timers();
    ASSERT_TRUE(timers.memoryShield.enabled());

    timers.memoryShield.tick();
    EXPECT_EQ(bad.endedBy(), SIGTERM);
    ASSERT_EQ(p.s.img.host.asked().size(), 1u);
    EXPECT_EQ(p.s.img.host.asked()[0].kind, QuestionKind::RunningThreat);
    EXPECT_EQ(p.session->counters().cookiesAndProcessesInspected, 0);
    EXPECT_TRUE(p.s.img.host.scanProgress.empty());

    // Every third home-page check runs the shield as well; in front, its own timer rests.
    timers.setWindowState(WindowState::Normal);
    EXPECT_FALSE(timers.memoryShield.enabled());
    ASSERT_TRUE(timers.homePageCheck.enabled());
    test::RunningProgram again(p.s.program("App/bad.exe"));
    p.s.img.host.answer(Answer::No);
    for (int i = 0; i < 3; ++i) timers.homePageCheck.tick();
    EXPECT_EQ(p.s.img.host.asked().size(), 2u);
    EXPECT_EQ(*p.session->exclusions(), std::vector<std::string>{"BAD.EXE"});
}

}  // namespace
}  // namespace vedozer
