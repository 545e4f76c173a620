#include <gtest/gtest.h>

#include "DesktopImage.h"

namespace vedozer {
namespace {

using test::DesktopImage;
using O = OptionControl;

TEST(OptionsPage, AFreshInstallationShowsTheDefaultsAndRecordsItsFirstFilling) {
    DesktopImage d;
    d.notFirstRun();
    d.start();
    auto& c = d.v.options.checked;
    for (O on : {O::HomePageShieldOn, O::HomePageShieldCheck, O::HomePageAsk, O::MemoryShieldOn, O::MemoryShieldCheck,
                 O::WriteReport, O::ScanMemory, O::ScanRegistry, O::ScanCookies, O::SendData, O::AutomaticUpdate})
        EXPECT_TRUE(c[on]) << static_cast<int>(on);
    for (O off : {O::HomePageShieldOff, O::HomePageSilent, O::MemoryShieldOff, O::ScheduledScan, O::RunAtStartup,
                  O::AutoDelete})
        EXPECT_FALSE(c[off]) << static_cast<int>(off);
    EXPECT_FALSE(d.v.options.scheduleControls);
    EXPECT_EQ(d.v.scan.mode, ScanModeChoice::Complete);
    EXPECT_EQ(d.v.results.widths, (std::vector<int>{1400, 1400, 1400}));
    EXPECT_EQ(d.setting("OptionAndSettings", "SHOW"), "True");
    EXPECT_EQ(d.setting("Settings", "ranOneTime"), "1");
    EXPECT_EQ(d.v.options.captions[CaptionId::ScanMemoryOption], "Scan Proccesses and Files");
    EXPECT_FALSE(d.v.options.protectionNote);
    EXPECT_TRUE(d.v.options.visible[O::MemoryShieldOn] && d.v.options.visible[O::RunAtStartup]);
}

TEST(OptionsPage, EveryChangeIsSavedAtOnceInItsStoredForm) {
    DesktopImage d;
    d.notFirstRun();
    Desktop& desk = d.start();
    OptionsPagePresenter& page = desk.optionsPage();
    BackgroundTimers& timers = desk.session().timers();
    desk.main().windowStateChanged(WindowState::Minimised, false);  // the shields' timers may run

    struct Box {
        O control;
        const char* section;
        const char* key;
    };
    for (Box b : {Box{O::WriteReport, "OptionAndSettings", "chkMakeLog"},
                  Box{O::ScanMemory, "OptionAndSettings", "chkSweepMemory"},
                  Box{O::ScanRegistry, "OptionAndSettings", "chkScanRegistry"},
                  Box{O::ScanCookies, "OptionAndSettings", "chkScanCookies"},
                  Box{O::AutomaticUpdate, "OptionAndSettings", "chkAutomaticUpdate"},
                  Box{O::AutoDelete, "Settings", "chkAutoDel"}}) {
        page.optionClicked(b.control, false);
        EXPECT_EQ(d.setting(b.section, b.key), "0") << b.key;
        page.optionClicked(b.control, true);
        EXPECT_EQ(d.setting(b.section, b.key), "1") << b.key;
    }

    // The schedule's box belongs to the schedule: its Apply stores it and switches the timer.
    page.optionClicked(O::ScheduledScan, true);
    EXPECT_EQ(d.setting("OptionAndSettings", "chkAutomaticScanYesOrNo"), "<absent>");
    EXPECT_TRUE(d.v.schedule.shown.dayListEnabled);
    EXPECT_FALSE(timers.scheduler.enabled());
    EXPECT_EQ(desk.protection()->schedule().applyClicked(), ScheduleApplied::Saved);
    EXPECT_EQ(d.setting("OptionAndSettings", "chkAutomaticScanYesOrNo"), "1");
    EXPECT_TRUE(timers.scheduler.enabled());

    // The memory shield's option pair and its box are one setting, stored as both keys.
    page.optionClicked(O::MemoryShieldOn, false);  // the toolkit unchecking a button changes nothing
    page.optionClicked(O::MemoryShieldOff, true);
    EXPECT_EQ(d.setting("OptionAndSettings", "optMemory" "SheildOn"), "False");
    EXPECT_EQ(d.setting("OptionAndSettings", "optMemory" "SheildOff"), "True");
    EXPECT_FALSE(d.v.options.checked[O::MemoryShieldCheck]);
    EXPECT_FALSE(timers.memoryShield.enabled());
    EXPECT_EQ(d.v.main.header.shields, "Memory shield off, Home page shield on");
    page.optionClicked(O::MemoryShieldCheck, true);
    EXPECT_EQ(d.setting("OptionAndSettings", "optMemory" "SheildOn"), "True");
    EXPECT_EQ(d.setting("OptionAndSettings", "optMemory" "SheildOff"), "False");
    EXPECT_TRUE(d.v.options.checked[O::MemoryShieldOn]);
    EXPECT_TRUE(timers.memoryShield.enabled());

    // The home-page shield off: its timer stops and its two choices are greyed.
    page.optionClicked(O::HomePageShieldCheck, false);
    EXPECT_EQ(d.setting("OptionAndSettings", "optIEHomePage" "SheildOn"), "False");
    EXPECT_EQ(d.setting("OptionAndSettings", "optIEHomePage" "SheildOff"), "True");
    EXPECT_FALSE(timers.homePageCheck.enabled());
    EXPECT_FALSE(d.v.options.enabled[O::HomePageAsk]);
    EXPECT_FALSE(d.v.options.enabled[O::HomePageSilent]);
    page.optionClicked(O::HomePageSilent, true);
    EXPECT_EQ(d.setting("OptionAndSettings", "optRestoredefaultwithoutnotification"), "True");
    EXPECT_EQ(d.setting("OptionAndSettings", "optAlwaysnotifybeforerestoring"), "False");
    EXPECT_FALSE(d.v.options.checked[O::HomePageAsk]);

    page.tabSelected(2);
    EXPECT_EQ(d.v.options.tab, 2);
    page.tabSelected(9);
    EXPECT_EQ(d.v.options.tab, 2);
}

TEST(OptionsPage, TurningAnonymousDataOffAsksAndNoKeepsItOn) {
    DesktopImage d;
    d.notFirstRun();
    OptionsPagePresenter& page = d.start().optionsPage();
    d.v.dialogs.answers = {Answer::No, Answer::Yes};
    page.optionClicked(O::SendData, false);
    EXPECT_TRUE(d.v.options.checked[O::SendData]);
    EXPECT_EQ(d.setting("OptionAndSettings", "chkSendData"), "1");
    page.optionClicked(O::SendData, false);
    EXPECT_FALSE(d.v.options.checked[O::SendData]);
    EXPECT_EQ(d.setting("OptionAndSettings", "chkSendData"), "0");
    ASSERT_EQ(d.v.dialogs.kinds(), (std::vector<QuestionKind>{QuestionKind::StopSendingData, QuestionKind::StopSendingData}));
    EXPECT_EQ(d.v.dialogs.asked[0].question.title, "Really turn off anonymous data collection?");
    page.optionClicked(O::SendData, true);  // ticking asks nothing
    EXPECT_EQ(d.setting("OptionAndSettings", "chkSendData"), "1");
    EXPECT_EQ(d.v.dialogs.asked.size(), 2u);
}

TEST(OptionsPage, RunAtStartupWritesTheRunValueAndARefusalLeavesTheOptionOff) {
    DesktopImage d;
    d.notFirstRun();
    OptionsPagePresenter& page = d.start().optionsPage();
    Registry& registry = *d.image.platform().registry;
    const std::string run = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

    page.optionClicked(O::RunAtStartup, true);
    EXPECT_EQ(d.setting("OptionAndSettings", "chkRunAtStartup"), "1");
    auto value = registry.queryValue(RootKey::LocalMachine, run, "vedozer-gui");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, kRegSz);
    EXPECT_EQ(value->data, std::string("\"C:\\Program Files\\Vedozer\\vedozer-gui.exe\" /tray") + '\0')
        << "started at log-on, it goes straight to the notification area";
    page.optionClicked(O::RunAtStartup, false);
    EXPECT_EQ(d.setting("OptionAndSettings", "chkRunAtStartup"), "0");
    EXPECT_FALSE(registry.queryValue(RootKey::LocalMachine, run, "vedozer-gui"));

    test::MemoryRegistry refusing;
    refusing.failWrites = true;
    d.image.platform().registry = &refusing;
    page.optionClicked(O::RunAtStartup, true);
    EXPECT_FALSE(d.v.options.checked[O::RunAtStartup]);
    EXPECT_EQ(d.setting("OptionAndSettings", "chkRunAtStartup"), "0");
    ASSERT_EQ(d.v.dialogs.notices.size(), 1u);
    EXPECT_NE(d.v.dialogs.notices[0].text.find("administrator"), std::string::npos);
    d.image.platform().registry = &registry;
}

TEST(OptionsPage, AnOfflineSystemHidesWhatOnlyARunningWindowsHas) {
    DesktopImage d;
    d.notFirstRun();
    d.features = DesktopFeatures{false, false};
    d.start();
    for (O hidden : {O::MemoryShieldOn, O::HomePageShieldCheck, O::ScheduledScan, O::AutoDelete, O::RunAtStartup})
        EXPECT_FALSE(d.v.options.visible[hidden]) << static_cast<int>(hidden);
    EXPECT_TRUE(d.v.options.protectionNote);
    EXPECT_EQ(d.v.main.header.shields, "Not available for an offline system");
}

}  // namespace
}  // namespace vedozer
