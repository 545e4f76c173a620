// Real-time protection's windows over recording views, a real session and a planted offline system.
#include <gtest/gtest.h>

#include "ProtectionRecordingViews.h"
#include "RecordingViews.h"
#include "i18n/MessageKeys.h"
#include "protection/HomePageShield.h"
#include "protection/ShieldImage.h"
#include "settings/SettingsKeys.h"

namespace vedozer {
namespace {

using test::RunningProgram;

struct ProtectedDesktop {
    test::ShieldImage s;
    test::RecordingDialogs toolkit;
    ProtectionDialogs dialogs{toolkit};
    DesktopHost host{dialogs};
    test::RecordingThreatAlert threat;
    test::RecordingHomePageAlert homePage;
    test::RecordingUpdateNotice notice;
    test::RecordingTray tray;
    test::RecordingSchedule schedule;
    std::vector<std::string> mainWindow;  // what the tray asked of the main window
    std::unique_ptr<Session> session;
    std::unique_ptr<ProtectionWindows> windows;

    ProtectedDesktop() {
        session = std::make_unique<Session>(s.img.platform(), host, s.img.languages.identity());
        EXPECT_TRUE(session->startUp());
        session->timers().set(true);  // as the main window's load leaves them
        TrayActions actions{[this] { mainWindow.push_back("hide"); }, [this] { mainWindow.push_back("show"); },
                            [this] { mainWindow.push_back("scan"); }, [this] { mainWindow.push_back("exit"); }};
        windows = std::make_unique<ProtectionWindows>(
            *session, ProtectionViewSet{threat, homePage, notice, tray, schedule}, dialogs, std::move(actions));
        windows->applyLanguage();
    }
    BackgroundTimers& timers() { return session->timers(); }
    void badProgramDefined() {
        s.img.definitionFile(kExeDefinitionFile, {"bad.exe=Bad|C:\\App"});
        session->reloadDefinitions();
    }
};

TEST(ProtectionWindows, TheThreatAlertShowsTheProgramAndStopOrAllowIsDoneAfterItCloses) {
    ProtectedDesktop d;
    RunningProgram bad(d.s.program("App/bad.exe"));
    d.badProgramDefined();
    d.threat.whileOpen = [&] {
        EXPECT_EQ(d.threat.fileName, "BAD.EXE");
        EXPECT_TRUE(d.threat.stopEnabled);
        EXPECT_TRUE(d.windows->threatAlert().isOpen());
        d.windows->threatAlert().stopClicked();
        d.windows->threatAlert().stopClicked();  // a second click does nothing more
    };
    d.timers().setWindowState(WindowState::Tray);
    d.timers().memoryShield.tick();
    EXPECT_EQ(bad.endedBy(), SIGTERM);
    EXPECT_FALSE(d.threat.stopEnabled);
    EXPECT_EQ(d.threat.shown, 1);
    EXPECT_EQ(d.threat.captions[ProtectionCaption::ThreatAlertTitle], "Malicious Program Found");
    EXPECT_EQ(d.threat.captions[ProtectionCaption::ThreatAlertStop], "&STOP");
    EXPECT_TRUE(d.toolkit.asked.empty()) << "no message box of the toolkit";

    RunningProgram again(d.s.program("App/bad.exe"));
    d.threat.whileOpen = [&] { d.windows->threatAlert().allowClicked(); };
    d.timers().memoryShield.tick();
    EXPECT_EQ(*d.session->exclusions(), std::vector<std::string>{"BAD.EXE"});
    EXPECT_EQ(again.endedBy(100), 0);

    // Every other question still goes to the toolkit's boxes.
    d.toolkit.answers.push_back(Answer::No);
    EXPECT_FALSE(d.session->offerFirstUpdate());
    EXPECT_EQ(d.toolkit.kinds(), std::vector<QuestionKind>{QuestionKind::UpdateNow});
}

TEST(ProtectionWindows, TheHomePageAlertPutsTheRememberedPageBackOnYes) {
    ProtectedDesktop d;
    Registry& registry = *d.s.img.platform().registry;
    ASSERT_EQ(registry.createKey(RootKey::CurrentUser, kStartPageKey), RegStatus::Ok);
    ASSERT_TRUE(writeStartPage(registry, "http://home.example/").isDone());
    d.timers().homePageCheck.tick();  // remembered silently
    ASSERT_TRUE(writeStartPage(registry, "http://bad.example/").isDone());
    d.homePage.whileOpen = [&] { d.windows->homePageAlert().yesClicked(); };
    d.timers().homePageCheck.tick();
    EXPECT_EQ(d.homePage.shown, 1);
    EXPECT_NE(d.homePage.info.find("Click YES to keep your homepage as:\r\nhttp://home.example/"), std::string::npos);
    EXPECT_NE(d.homePage.info.find("Click No to change your homepage to:\r\nhttp://bad.example/"), std::string::npos);
    EXPECT_EQ(d.homePage.captions[ProtectionCaption::HomePageAlertProductName], "Vedozer Test");
    EXPECT_EQ(readStartPage(registry), "http://home.example/");
}

TEST(ProtectionWindows, TheUpdateNoticeSlidesInPixelsAndClosesItself) {
    ProtectedDesktop d;
    int closedCalls = 0;
    d.windows->updateNotice().setOnClosed([&] { ++closedCalls; });
    d.windows->updateNotice().show("Your definitions have been updated!");
    EXPECT_TRUE(d.notice.visible);
    EXPECT_EQ(d.notice.text, "Your definitions have been updated!");
    EXPECT_EQ(d.notice.left, 600);  // 800 - 200: right-aligned
    EXPECT_EQ(d.notice.top, 570);   // 600 - 30: the upper edge of the taskbar
    EXPECT_EQ(d.notice.captions[ProtectionCaption::UpdateNoticeOk], "OK");

    std::vector<LogicalTimer*> timers = d.windows->timers();
    ASSERT_EQ(timers.size(), 6u);
    int ticks = 0;
    while (d.windows->updateNotice().isOpen() && ticks < 10000) {
        for (LogicalTimer* t : timers) t->tick();
        ++ticks;
    }
    EXPECT_FALSE(d.notice.visible);
    EXPECT_EQ(closedCalls, 1);
    EXPECT_GE(d.notice.top, 600) << "it went below the screen before closing";
    EXPECT_EQ(d.session->settings().get(skey::OptionAndSettings, skey::SHOW), "false");
}

TEST(ProtectionWindows, SendToTrayShowsTheIconAndItsMenuBringsTheProgramBackOrEndsIt) {
    ProtectedDesktop d;
    d.windows->tray().sendToTray();
    EXPECT_EQ(d.mainWindow, std::vector<std::string>{"hide"});
    EXPECT_EQ(d.tray.iconCalls, std::vector<std::string>{"add Vedozer Test"});
    EXPECT_EQ(d.session->settings().get(skey::Settings, skey::Minimized), "Yes");
    EXPECT_EQ(d.timers().windowState(), WindowState::Tray);
    EXPECT_TRUE(d.timers().memoryShield.enabled());

    d.windows->tray().iconMessage(516);  // right button
    EXPECT_TRUE(d.tray.menuVisible);
    EXPECT_TRUE(d.tray.entryEnabled[TrayMenuEntry::ShowProgram]);
    EXPECT_EQ(d.tray.captions[ProtectionCaption::TrayMenuExitProgram], "Exit Program");
    EXPECT_EQ(d.tray.menuLeft, 1024 - 160);
    d.windows->tray().mouseOverMenu(true);
    d.windows->tray().mouseOverCloseEntry(true);
    EXPECT_TRUE(d.tray.closeBold);
    for (int i = 0; i < 500; ++i)
        for (LogicalTimer* t : d.windows->tray().timers()) t->tick();
    EXPECT_TRUE(d.tray.menuVisible) << "the mouse is still over it";

    d.windows->tray().entryClicked(TrayMenuEntry::ShowProgram);
    EXPECT_FALSE(d.tray.menuVisible);
    EXPECT_EQ(d.mainWindow.back(), "show");
    EXPECT_EQ(d.timers().windowState(), WindowState::Normal);
    EXPECT_FALSE(d.timers().memoryShield.enabled());

    d.windows->tray().iconMessage(515);  // a double-click brings it back as well
    EXPECT_EQ(d.mainWindow.back(), "show");
    d.windows->tray().iconMessage(512);  // a mere move does nothing
    EXPECT_EQ(d.mainWindow.size(), 3u);

    d.windows->tray().iconMessage(516);
    d.windows->tray().entryClicked(TrayMenuEntry::ExitProgram);
    EXPECT_EQ(d.mainWindow.back(), "exit");
    EXPECT_EQ(d.tray.iconCalls.back(), "delete");
    EXPECT_FALSE(d.tray.menuVisible);
}

TEST(ProtectionWindows, TheScheduleControlsSayWhenADateIsMissing) {
    ProtectedDesktop d;
    d.windows->schedule().fill();
    EXPECT_EQ(d.schedule.shown.day, 7);
    EXPECT_FALSE(d.schedule.shown.enabled);
    EXPECT_EQ(d.schedule.captions[scheduleDayCaption(8)], "Date & Time");
    d.windows->schedule().enabledClicked(true);
    d.windows->schedule().daySelected(8);
    EXPECT_TRUE(d.schedule.shown.applyEnabled);
    EXPECT_EQ(d.windows->schedule().applyClicked(), ScheduleApplied::DateMissing);
    ASSERT_EQ(d.toolkit.notices.size(), 1u);
    EXPECT_EQ(d.toolkit.notices[0].text, "Please select the date that you want to scan.");
    d.windows->schedule().timeChanged(TimeOfDay{23, 0, 0});
    d.windows->schedule().dateChanged(CalendarDate{2030, 1, 2});
    EXPECT_EQ(d.windows->schedule().applyClicked(), ScheduleApplied::Saved);
    EXPECT_EQ(d.session->settings().get(skey::OptionAndSettings, skey::Date), "02/01/2030");
    EXPECT_FALSE(d.schedule.shown.applyEnabled);
}

}  // namespace
}  // namespace vedozer
