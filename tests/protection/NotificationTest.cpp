#include <gtest/gtest.h>

#include "i18n/ProductIdentity.h"
#include "protection/StartupCommand.h"
#include "protection/Tray.h"
#include "protection/UpdateNotice.h"
#include "settings/SettingsKeys.h"
#include "support/MemorySettingsStore.h"

namespace vedozer {
namespace {

struct NoticeFixture : ::testing::Test {
    test::MemorySettingsStore store;
    Settings settings{store, ProductIdentity{"Vedozer Test", "Vedozer Labs", "http://x.example"}};
    UpdateNotice notice{settings};
    int closed = 0;
    const ScreenMeasures smallScreen{800, 600, 30};
    const int32_t height = 1500;  // twips

    void SetUp() override { notice.setOnClosed([this] { ++closed; }); }
    // Ticks whichever of the window's timers runs, up to a limit; the number of ticks.
    int runUntil(SlidePhase phase, int limit = 10000) {
        SlideWindow& w = notice.window;
        int n = 0;
        while (w.phase() != phase && n < limit) {
            for (LogicalTimer* t : {&w.slideUp, &w.rest, &w.slideDown})
                if (t->enabled()) {
                    t->tick();
                    break;
                }
            ++n;
        }
        return n;
    }
};

TEST_F(NoticeFixture, TheNoticeSlidesUpRestsSevenSecondsAndSlidesAwayByItself) {
    notice.show(smallScreen, height, 300, "");
    EXPECT_EQ(notice.text(), "All Vedozer Test signatures have been updated automatically.  You are now protected from "
                             "new malicious applications.");
    SlideWindow& w = notice.window;
    EXPECT_EQ(w.top(), 8265);  // (600 - 30) x 14.5: the upper edge of the taskbar
    EXPECT_EQ(w.left(), 7350);  // (800 - 300) x 14.7
    EXPECT_EQ(w.targetTop(), 8600 - height);
    EXPECT_EQ(w.slideUp.interval(), 10u);
    runUntil(SlidePhase::Resting);
    EXPECT_LE(w.top(), 8600 - height);
    EXPECT_GT(w.top(), 8600 - height - 20);
    EXPECT_EQ(w.rest.interval(), 7000u);
    w.rest.tick();
    EXPECT_EQ(w.phase(), SlidePhase::SlidingDown);
    int restingTop = w.top();
    runUntil(SlidePhase::Closed);
    EXPECT_GT(w.top(), 8700) << "closed once nothing of it shows";
    EXPECT_LE(w.top(), 8700 + 40);
    EXPECT_EQ((w.top() - restingTop) % 40, 0);
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(settings.get(skey::OptionAndSettings, skey::SHOW), "false");
    EXPECT_FALSE(w.slideUp.enabled() || w.rest.enabled() || w.slideDown.enabled());
}

TEST_F(NoticeFixture, OkClosesTheNoticeAtAnyStageAndOnlyOnce) {
    for (SlidePhase stage : {SlidePhase::SlidingUp, SlidePhase::Resting, SlidePhase::SlidingDown}) {
        notice.show(ScreenMeasures{1920, 1080, 40}, height, 300, "Your definitions have been updated!");
        EXPECT_EQ(notice.text(), "Your definitions have been updated!");
        runUntil(stage);
        settings.save(skey::OptionAndSettings, skey::SHOW, "True");
        notice.okClicked();
        notice.okClicked();
        EXPECT_FALSE(notice.window.isOpen());
        EXPECT_EQ(settings.get(skey::OptionAndSettings, skey::SHOW), "false");
    }
    EXPECT_EQ(closed, 3);
}

TEST(TrayMenu, TheMenuRestsWhileTheMouseIsOverItAndSixTicksAfter) {
    SlideWindow menu("tray menu", kTrayMenuSlide);
    menu.open(ScreenMeasures{800, 600, 30}, 1200, 150);
    while (menu.slideUp.enabled()) menu.slideUp.tick();
    EXPECT_EQ(menu.phase(), SlidePhase::Resting);
    EXPECT_EQ((8265 - menu.top()) % 80, 0);
    menu.setHovered(true);
    for (int i = 0; i < 50; ++i) menu.rest.tick();
    EXPECT_EQ(menu.phase(), SlidePhase::Resting);
    menu.setHovered(false);
    for (int i = 0; i < 5; ++i) menu.rest.tick();
    menu.mouseMoved();  // a move over it starts the count again
    for (int i = 0; i < 5; ++i) menu.rest.tick();
    EXPECT_EQ(menu.phase(), SlidePhase::Resting);
    menu.rest.tick();
    EXPECT_EQ(menu.phase(), SlidePhase::SlidingDown);
    // "Close This Menu" slides it down at once, from any stage.
    menu.open(ScreenMeasures{800, 600, 30}, 1200, 150);
    menu.slideDownNow();
    EXPECT_FALSE(menu.slideUp.enabled());
    while (menu.slideDown.enabled()) menu.slideDown.tick();
    EXPECT_FALSE(menu.isOpen());
}

TEST(TrayIcon, TooltipsFitTheirFieldAndChangeOnlyWhileTheIconIsShown) {
    TrayIcon icon;
    int changes = 0;
    icon.setOnChanged([&] { ++changes; });
    EXPECT_FALSE(icon.changeTooltip("too early"));
    EXPECT_EQ(changes, 0);
    icon.show(std::string(70, 'x'));
    EXPECT_TRUE(icon.shown());
    EXPECT_EQ(icon.tooltip(), std::string(63, 'x'));
    EXPECT_TRUE(icon.changeTooltip("Vedozer Test"));
    EXPECT_EQ(icon.tooltip(), "Vedozer Test");
    icon.remove();
    icon.remove();
    EXPECT_FALSE(icon.shown());
    EXPECT_EQ(changes, 3);

    EXPECT_EQ(trayReaction(trayMouseFromMessage(516)), TrayReaction::OpenMenu);
    for (uint32_t m : {513u, 515u, 518u}) EXPECT_EQ(trayReaction(trayMouseFromMessage(m)), TrayReaction::ShowProgram);
    for (uint32_t m : {512u, 514u, 517u}) EXPECT_EQ(trayReaction(trayMouseFromMessage(m)), TrayReaction::None);
}

TEST(RunAtStartup, TheRunValueQuotesThePathAndStartsInTheTray) {
    EXPECT_EQ(runAtStartupCommand("C:\\Program Files\\Vedozer", "vedozer-gui.exe"),
              "\"C:\\Program Files\\Vedozer\\vedozer-gui.exe\" /tray");
    EXPECT_EQ(runAtStartupCommand("C:\\", "vedozer-gui.exe"), "\"C:\\vedozer-gui.exe\" /tray");
    EXPECT_TRUE(startsInTray({"/TRAY"}));
    EXPECT_TRUE(startsInTray({"--other", " -tray "}));
    EXPECT_FALSE(startsInTray({}));
    EXPECT_FALSE(startsInTray({"/traymore"}));
}

TEST(StartupCommand, TheTestClockSwitchIsTakenOnlyWhenWhole) {
    StartOptions o = parseStartOptions({"/tray", "/test-clock=-90,10"});
    EXPECT_TRUE(o.inTray);
    EXPECT_EQ(o.clockAheadSeconds, -90);
    EXPECT_EQ(o.clockRate, 10u);
    o = parseStartOptions({"/test-clock=3600"});
    EXPECT_FALSE(o.inTray);
    EXPECT_EQ(o.clockAheadSeconds, 3600);
    EXPECT_EQ(o.clockRate, 1u);
    // A rate of none, a negative one (it would wrap to four billion) or trailing text is ignored.
    for (const char* bad : {"/test-clock=0,0", "/test-clock=0,-5", "/test-clock=5x,2", "/test-clock=", "/test-clock=1,",
                            "/test-clock=1,2000", "/test-clock=99999999999999999999"}) {
        o = parseStartOptions({bad});
        EXPECT_EQ(o.clockAheadSeconds, 0) << bad;
        EXPECT_EQ(o.clockRate, 1u) << bad;
    }
}

}  // namespace
}  // namespace vedozer
