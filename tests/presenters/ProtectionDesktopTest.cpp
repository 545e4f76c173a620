// Real-time protection joined to the desktop program: the tray, the shields' alerts, the automatic
// update and the schedule, over recording views and a planted offline system.
#include <gtest/gtest.h>

#include "DesktopImage.h"
#include "protection/HomePageShield.h"
#include "update/UpdateUrls.h"

namespace vedozer {
namespace {

using test::DesktopImage;
using O = OptionControl;

constexpr uint32_t kLeftButtonDown = 513, kRightButtonDown = 516;

// Counts the scans that ran (each reaches the file stage once).
struct ScanCounter : HostListener {
    int scans = 0;
    void onScanStageStarted(const ScanStageStarted& e) override {
        if (e.stage == ScanStage::Files) ++scans;
    }
};

TEST(ProtectionDesktop, StartedFromTheRunKeyItWaitsInTheTrayAndTheIconBringsItBackOrEndsIt) {
    DesktopImage d;
    d.notFirstRun();
    d.startInTray = true;
    Desktop& desk = d.start();
    BackgroundTimers& t = desk.session().timers();
    EXPECT_FALSE(d.v.main.shown);
    EXPECT_TRUE(d.v.main.hidden);
    EXPECT_EQ(d.v.tray.iconCalls, std::vector<std::string>{"add Vedozer Test"});
    EXPECT_EQ(d.setting("Settings", "Minimized"), "<absent>")
        << "a start from the Run key is not the person's choice";
    EXPECT_EQ(t.windowState(), WindowState::Tray);
    EXPECT_TRUE(t.memoryShield.enabled() && t.homePageCheck.enabled());
    EXPECT_TRUE(t.automaticUpdate.enabled())
        << "the option is ticked on a fresh installation, so it is armed";

    desk.protection()->tray().iconMessage(kLeftButtonDown);
    EXPECT_TRUE(d.v.main.shown);
    EXPECT_EQ(t.windowState(), WindowState::Normal);
    EXPECT_FALSE(t.memoryShield.enabled());
    EXPECT_EQ(d.v.tray.iconCalls.size(), 1u) << "the icon stays while the program runs";

    desk.main().commandClicked(MainCommand::SendToTray);
    EXPECT_TRUE(d.v.main.hidden);
    EXPECT_EQ(d.setting("Settings", "Minimized"), "Yes");
    EXPECT_TRUE(t.memoryShield.enabled());

    desk.protection()->tray().iconMessage(kRightButtonDown);
    EXPECT_TRUE(d.v.tray.menuVisible);
    desk.protection()->tray().entryClicked(TrayMenuEntry::ExitProgram);
    EXPECT_TRUE(d.v.main.quitCalled);
    EXPECT_EQ(d.v.tray.iconCalls.back(), "delete");
    EXPECT_EQ(d.setting("OptionAndSettings", "STATUS"), "STOPPED");
    for (LogicalTimer* timer : desk.timers()) EXPECT_FALSE(timer->enabled()) << timer->name();
}

TEST(ProtectionDesktop, WithoutProtectionThereIsNoTrayToHideIn) {
    DesktopImage d;
    d.notFirstRun();
    d.features = DesktopFeatures{false, false};
    d.image.settings->save("Settings", "Minimized", "Yes");
    Desktop& desk = d.start();
    EXPECT_EQ(desk.protection(), nullptr);
    EXPECT_TRUE(d.v.main.shown);
    EXPECT_FALSE(d.v.main.enabled[MainCommand::SendToTray]);
    desk.main().commandClicked(MainCommand::SendToTray);
    EXPECT_FALSE(d.v.main.hidden);
    EXPECT_TRUE(d.v.tray.iconCalls.empty());
}

TEST(ProtectionDesktop, TheHomePageShieldAsksInItsAlertWithTheTimersHeld) {
    DesktopImage d;
    d.notFirstRun();
    Desktop& desk = d.start();
    Registry& registry = *d.image.platform().registry;
    ASSERT_EQ(registry.createKey(RootKey::CurrentUser, kStartPageKey), RegStatus::Ok);
    ASSERT_TRUE(writeStartPage(registry, "http://home.example/").isDone());
    BackgroundTimers& t = desk.session().timers();
    ASSERT_TRUE(t.homePageCheck.enabled()) << "the home-page shield runs with the window in front too";
    t.homePageCheck.tick();
    ASSERT_TRUE(writeStartPage(registry, "http://changed.example/").isDone());
    d.v.homePageAlert.whileOpen = [&] {
        EXPECT_FALSE(t.homePageCheck.enabled()) << "no check starts while the person decides";
        desk.protection()->homePageAlert().yesClicked();
    };
    t.homePageCheck.tick();
    EXPECT_EQ(d.v.homePageAlert.shown, 1);
    EXPECT_EQ(readStartPage(registry), "http://home.example/");
    EXPECT_TRUE(d.v.dialogs.asked.empty()) << "no message box of the toolkit";
    EXPECT_TRUE(t.homePageCheck.enabled());
}

TEST(ProtectionDesktop, TheAutomaticUpdateRunsOnceInItsWindowAndEndsInTheSlidingNotice) {
    DesktopImage d;
    d.notFirstRun();
    Desktop& desk = d.start();
    std::string dateUrl =
        buildUpdateUrls(desk.session().definitionServer(), d.image.languages.identity()).currentDate;
    HttpResult same;
    same.ok = true;
    same.status = 200;
    same.body = "3/16/2006 12:00:00 AM";
    d.http.replies[dateUrl] = same;
    LogicalTimer& update = desk.session().timers().automaticUpdate;
    ASSERT_TRUE(update.enabled());
    for (int i = 0; i < AutomaticUpdate::kIdleTicks; ++i) update.tick();
    EXPECT_TRUE(d.http.requests.empty());
    update.tick();
    EXPECT_EQ(d.http.requests, std::vector<std::string>{dateUrl});
    EXPECT_FALSE(d.v.liveUpdate.statusTexts.empty()) << "the Live Update window showed its progress";
    EXPECT_TRUE(d.v.updateNotice.visible);
    EXPECT_EQ(d.v.updateNotice.text,
              "You are using the most recent Vedozer Test definitions.\r\n" + d.v.main.header.definitions)
        << "with the count and date of the definitions";
    EXPECT_NE(d.v.main.header.definitions.find(" definitions, dated "), std::string::npos);
    EXPECT_TRUE(d.v.main.updateNotices.empty());
    EXPECT_FALSE(update.enabled());
    for (int i = 0; i < 400; ++i) update.tick();
    EXPECT_EQ(d.http.requests.size(), 1u) << "once per run";
}

TEST(ProtectionDesktop, TheScheduleIsStoredByApplyAndRunsOneScanOnTheScanPageWhenDue) {
    test::FixedClock clock;
    clock.time = LocalTime{2006, 3, 16, 10, 5, 0, 4};
    DesktopImage d;
    d.notFirstRun();
    d.image.platform().clock = &clock;
    Desktop& desk = d.start();
    ScanCounter counter;
    desk.host().addListener(&counter);
    EXPECT_EQ(d.v.schedule.shown.day, 7) << "a fresh installation shows Daily";
    EXPECT_FALSE(d.v.schedule.shown.enabled);

    desk.optionsPage().optionClicked(O::ScheduledScan, true);
    EXPECT_EQ(d.setting("OptionAndSettings", "chkAutomaticScanYesOrNo"), "<absent>") << "Apply stores it";
    EXPECT_TRUE(d.v.schedule.shown.applyEnabled && d.v.schedule.shown.time.enabled);
    desk.protection()->schedule().timeChanged(TimeOfDay{10, 6, 0});
    EXPECT_EQ(desk.protection()->schedule().applyClicked(), ScheduleApplied::Saved);
    EXPECT_EQ(d.setting("OptionAndSettings", "chkAutomaticScanYesOrNo"), "1");
    EXPECT_EQ(d.setting("OptionAndSettings", "Time"), "10:06:00");
    desk.optionsPage().optionClicked(O::AutoDelete, true);
    EXPECT_EQ(d.setting("Settings", "chkAutoDel"), "1");

    BackgroundTimers& t = desk.session().timers();
    EXPECT_FALSE(t.scheduler.enabled()) << "the window is in front";
    desk.main().commandClicked(MainCommand::SendToTray);
    ASSERT_TRUE(t.scheduler.enabled());
    clock.time.minute = 5;
    clock.time.second = 59;
    t.scheduler.tick();
    EXPECT_EQ(counter.scans, 0);
    clock.time.minute = 6;
    for (int second : {0, 0, 0, 1, 30, 59}) {
        clock.time.second = second;
        t.scheduler.tick();
    }
    EXPECT_EQ(counter.scans, 1);
    EXPECT_EQ(d.v.main.page, Page::Scan) << "shown on the scan page as a scan the person started";
    EXPECT_TRUE(d.v.dialogs.asked.empty()) << "automatic deletion asks nothing";
    EXPECT_FALSE(desk.session().protection().scheduler().unattendedRemoval());
    EXPECT_TRUE(t.scheduler.enabled()) << "back on after the scan";
}

}  // namespace
}  // namespace vedozer
