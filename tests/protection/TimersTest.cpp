#include <gtest/gtest.h>

#include "i18n/ProductIdentity.h"
#include "protection/AutomaticUpdate.h"
#include "protection/BackgroundTimers.h"
#include "settings/SettingsKeys.h"
#include "support/MemorySettingsStore.h"

namespace vedozer {
namespace {

struct TimersFixture : ::testing::Test {
    test::MemorySettingsStore store;
    Settings settings{store, ProductIdentity{"Vedozer Test", "Vedozer Labs", "http://x.example"}};
    BackgroundTimers timers{settings};

    // Which of the three protection timers run: scheduler, home page, memory shield.
    std::string running() {
        return std::string(timers.scheduler.enabled() ? "S" : "-") + (timers.homePageCheck.enabled() ? "H" : "-") +
               (timers.memoryShield.enabled() ? "M" : "-");
    }
};

TEST_F(TimersFixture, TheSettingsAndTheWindowStateDecideWhichTimersRun) {
    timers.set(true);
    EXPECT_EQ(running(), "-H-") << "in front, only the home-page check runs; schedules are off by default";
    timers.setWindowState(WindowState::Tray);
    EXPECT_EQ(running(), "-HM");
    settings.save(skey::OptionAndSettings, skey::scheduledScanOn, "1");
    settings.save(skey::OptionAndSettings, skey::homePageShieldOn, "False");
    timers.optionsChanged();
    EXPECT_EQ(running(), "S-M");
    settings.save(skey::OptionAndSettings, skey::memoryShieldOn, "False");
    settings.save(skey::OptionAndSettings, skey::scheduledScanOn, "abc");  // not a number: off
    timers.set(true);
    EXPECT_EQ(running(), "---");
    settings.save(skey::OptionAndSettings, skey::scheduledScanOn, " 2 ");
    settings.save(skey::OptionAndSettings, skey::homePageShieldOn, "True");
    settings.save(skey::OptionAndSettings, skey::memoryShieldOn, "True");
    timers.set(true);
    EXPECT_EQ(running(), "SHM");
    // Back to the normal state: the scheduler and the memory shield rest, even after a scan ends.
    timers.setWindowState(WindowState::Normal);
    timers.set(false);
    timers.set(true);
    EXPECT_EQ(running(), "-H-");
}

TEST_F(TimersFixture, HoldsNestSoTheTimersComeBackOnlyAfterTheOutermostOperation) {
    timers.setWindowState(WindowState::Tray);
    timers.set(true);
    ASSERT_EQ(running(), "-HM");
    {
        auto shieldCheck = timers.hold();  // an alert waits for the person ...
        EXPECT_EQ(running(), "---");
        {
            auto scan = timers.hold();  // ... who starts a scan from the main window meanwhile
            EXPECT_TRUE(timers.held());
        }
        EXPECT_EQ(running(), "---") << "the alert still waits";
        timers.setWindowState(WindowState::Tray);  // minimising changes nothing while held
        EXPECT_EQ(running(), "---");
    }
    EXPECT_EQ(running(), "-HM");
    EXPECT_FALSE(timers.held());
    timers.set(true);  // on without a hold only re-reads the settings
    EXPECT_EQ(running(), "-HM");
    EXPECT_FALSE(timers.automaticUpdate.enabled()) << "holds never touch the automatic update";
}

TEST_F(TimersFixture, TheAutomaticUpdateIsArmedOnlyByTheNumberOne) {
    for (const char* v : {"0", "", "True", "2"}) {
        settings.save(skey::OptionAndSettings, skey::automaticUpdate, v);
        timers.armAutomaticUpdate();
        EXPECT_FALSE(timers.automaticUpdate.enabled()) << v;
    }
    settings.save(skey::OptionAndSettings, skey::automaticUpdate, "1");
    timers.armAutomaticUpdate();
    EXPECT_TRUE(timers.automaticUpdate.enabled());
}

TEST_F(TimersFixture, TheAutomaticUpdateRunsOnceAfterThreeHundredScanFreeTicks) {
    settings.save(skey::OptionAndSettings, skey::automaticUpdate, "1");
    timers.armAutomaticUpdate();
    bool scanning = false;
    int updates = 0;
    AutomaticUpdate update(timers.automaticUpdate, [&] { return scanning; }, [&] { ++updates; });
    timers.automaticUpdate.setHandler([&] { update.tick(); });

    for (int second = 1; second <= 200; ++second) timers.automaticUpdate.tick();
    scanning = true;  // a scan from the 200th to the 400th second
    for (int second = 201; second <= 400; ++second) timers.automaticUpdate.tick();
    scanning = false;
    EXPECT_EQ(update.idleTicks(), 200);
    // Switching the option off during the run does not disarm it.
    settings.save(skey::OptionAndSettings, skey::automaticUpdate, "0");
    for (int second = 401; second <= 500; ++second) timers.automaticUpdate.tick();
    EXPECT_EQ(updates, 0);
    timers.automaticUpdate.tick();
    EXPECT_EQ(updates, 1);
    EXPECT_TRUE(update.ran());
    EXPECT_FALSE(timers.automaticUpdate.enabled());

    // Armed again in the same run, it still never runs twice.
    settings.save(skey::OptionAndSettings, skey::automaticUpdate, "1");
    timers.armAutomaticUpdate();
    for (int i = 0; i < 400; ++i) timers.automaticUpdate.tick();
    EXPECT_EQ(updates, 1);
    EXPECT_FALSE(timers.automaticUpdate.enabled());
}

}  // namespace
}  // namespace vedozer
