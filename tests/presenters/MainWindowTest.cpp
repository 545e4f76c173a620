#include <gtest/gtest.h>

#include <algorithm>

#include "DesktopImage.h"
#include "support/FakeProcessList.h"
#include "app/presenters/HeaderBandRules.h"
#include "update/UpdateUrls.h"

namespace vedozer {
namespace {

using test::DesktopImage;

TEST(MainWindow, TheFirstStartAsksForALanguageShowsHelpOnceAndOffersLiveUpdateThenNeverAgain) {
    DesktopImage d;
    Desktop& first = d.make();
    d.v.dialogs.answers = {Answer::No};
    ASSERT_EQ(first.load(), MainWindowPresenter::LoadResult::Shown);
    EXPECT_EQ(d.v.main.languageWindows, 1);
    EXPECT_EQ(d.setting("Settings", "Language"), "English");
    EXPECT_EQ(d.v.help.shown, 1) << "no help file beside the program: the help window";
    EXPECT_EQ(d.setting("Settings", "showHelp"), "0");
    ASSERT_EQ(d.v.dialogs.kinds(), (std::vector<QuestionKind>{QuestionKind::UpdateNow}));
    const Question& q = d.v.dialogs.asked[0].question;
    EXPECT_EQ(q.title, "Update Now?");
    EXPECT_EQ(q.text.substr(0, 39), "Thank you for using Vedozer Test!\r\n\r\nBe");
    EXPECT_NE(q.text.find("\r\n\r\nWould you like to run Live Update now?"), std::string::npos);
    EXPECT_EQ(d.image.settings->getMachine("Settings", "FirstTime"), "Yes");
    EXPECT_TRUE(d.v.main.shown);
    EXPECT_FALSE(d.v.liveUpdate.open);
    EXPECT_EQ(d.setting("OptionAndSettings", "STATUS"), "RUNNING");
    EXPECT_EQ(d.setting("OptionAndSettings", "RESTART"), "False");
    EXPECT_EQ(d.v.main.title, "Vedozer Test by Vedozer Labs");
    EXPECT_EQ(d.v.main.captions[CaptionId::Welcome], "Welcome to Vedozer Test");
    EXPECT_EQ(d.v.main.page, Page::Status);
    EXPECT_EQ(d.v.status.captions[CaptionId::StatusFrame], "Vedozer Test Status");

    Desktop& second = d.make();
    ASSERT_EQ(second.load(), MainWindowPresenter::LoadResult::Shown);
    EXPECT_EQ(d.v.main.languageWindows, 1);
    EXPECT_EQ(d.v.help.shown, 1);
    EXPECT_EQ(d.v.dialogs.asked.size(), 1u);
}

TEST(MainWindow, YesOnTheFirstStartRunsLiveUpdateInItsWindow) {
    DesktopImage d;
    Desktop& desk = d.make();
    std::string dateUrl = buildUpdateUrls(desk.session().definitionServer(), d.image.languages.identity()).currentDate;
    HttpResult same;
    same.ok = true;
    same.status = 200;
    same.body = "3/16/2006 12:00:00 AM";
    d.http.replies[dateUrl] = same;
    d.v.dialogs.answers = {Answer::Yes};
    d.v.main.onChooseLanguage = [] {};
    ASSERT_EQ(desk.load(), MainWindowPresenter::LoadResult::Shown);
    EXPECT_EQ(d.http.requests, (std::vector<std::string>{dateUrl}));
    EXPECT_NE(std::find(d.v.liveUpdate.statusTexts.begin(), d.v.liveUpdate.statusTexts.end(),
                        "Connecting to the definition server, please wait."),
              d.v.liveUpdate.statusTexts.end());
    EXPECT_FALSE(d.v.liveUpdate.open);
    EXPECT_EQ(d.v.liveUpdate.trayIcons, 0);
    EXPECT_TRUE(d.v.main.updateNotices.empty()) << "the sliding notice tells it, not a message box";
    EXPECT_TRUE(d.v.updateNotice.visible);
    EXPECT_EQ(d.v.updateNotice.text, "You are using the most recent Vedozer Test definitions.\r\n" +
                                         d.v.main.header.definitions)
        << "with the count and date of the definitions";
    EXPECT_NE(d.v.main.header.definitions.find(" definitions, dated "), std::string::npos);
    EXPECT_TRUE(d.v.main.enabled[MainCommand::LiveUpdate]);
    EXPECT_TRUE(desk.session().timers().homePageCheck.enabled());
}

TEST(MainWindow, AnUnreachableServerIsToldAsSuchNotAsUpToDate) {
    DesktopImage d;
    d.notFirstRun();
    Desktop& desk = d.start();
    LiveUpdateReport report = desk.main().runLiveUpdate();
    EXPECT_EQ(report.outcome, LiveUpdateOutcome::Unreachable);
    EXPECT_FALSE(d.v.updateNotice.visible);
    ASSERT_EQ(d.v.dialogs.notices.size(), 1u);
    EXPECT_EQ(d.v.dialogs.notices[0].kind, NoticeKind::Error);
    EXPECT_EQ(d.v.dialogs.notices[0].text.rfind("Definitions could not be downloaded.", 0), 0u);
    EXPECT_NE(d.v.dialogs.notices[0].text.find("could not be reached"), std::string::npos);
    // Shift alone lists the definition pages instead of updating; Ctrl+Shift updates.
    d.v.dialogs.answers = {Answer::Ok};
    desk.main().liveUpdatePressed(true, false, false);
    EXPECT_EQ(d.v.dialogs.kinds(), (std::vector<QuestionKind>{QuestionKind::UpdateUrls}));
    size_t requests = d.http.requests.size();
    desk.main().liveUpdatePressed(true, true, false);
    EXPECT_GT(d.http.requests.size(), requests);
}

TEST(MainWindow, ASecondInstanceEndsWithoutShowingOrRecordingAnything) {
    DesktopImage d;
    d.notFirstRun();
    std::set<std::string> held{"Vedozer Test"};
    test::FakeInstanceLock lock(held);
    d.image.platform().instanceLock = &lock;
    EXPECT_EQ(d.make().load(), MainWindowPresenter::LoadResult::AnotherInstance);
    EXPECT_FALSE(d.v.main.shown);
    EXPECT_EQ(d.setting("OptionAndSettings", "STATUS"), "<absent>");
    EXPECT_TRUE(d.v.dialogs.asked.empty());
}

TEST(MainWindow, ClosingSavesTheLayoutOnceAndTheNextStartRestoresIt) {
    DesktopImage d;
    d.notFirstRun();
    Desktop& desk = d.start();
    EXPECT_FALSE(d.v.main.maximized);
    d.v.results.widths = {2000, 1500, 900};
    d.v.main.maximized = true;
    desk.close();
    EXPECT_TRUE(d.v.main.quitCalled);
    EXPECT_EQ(d.setting("Settings", "FoundCol21"), "2000");
    EXPECT_EQ(d.setting("Settings", "FoundCol22"), "1500");
    EXPECT_EQ(d.setting("Settings", "FoundCol23"), "900");
    EXPECT_EQ(d.setting("Settings", "Max"), "1");
    EXPECT_EQ(d.setting("OptionAndSettings", "STATUS"), "STOPPED");
    EXPECT_EQ(d.setting("OptionAndSettings", "RESTART"), "False");
    for (LogicalTimer* t : desk.timers()) EXPECT_FALSE(t->enabled()) << t->name();
    d.v.results.widths = {1, 1, 1};
    desk.close();
    EXPECT_EQ(d.setting("Settings", "FoundCol21"), "2000") << "closing twice saves once";

    d.v.main.maximized = false;
    d.start();
    EXPECT_EQ(d.v.results.widths, (std::vector<int>{2000, 1500, 900}));
    EXPECT_TRUE(d.v.main.maximized);
}

TEST(MainWindow, WindowStatesAndLongWorkSwitchTheProtectionTimers) {
    DesktopImage d;
    d.notFirstRun();
    d.image.settings->save("OptionAndSettings", "chkAutomaticScanYesOrNo", "1");
    d.image.settings->save("OptionAndSettings", "chkAutomaticUpdate", "1");
    Desktop& desk = d.start();
    BackgroundTimers& t = desk.session().timers();
    EXPECT_TRUE(t.automaticUpdate.enabled());

    desk.main().windowStateChanged(WindowState::Normal, true);
    EXPECT_FALSE(t.scheduler.enabled());
    EXPECT_FALSE(t.memoryShield.enabled());
    EXPECT_TRUE(t.homePageCheck.enabled());
    EXPECT_EQ(d.setting("Settings", "Minimized"), "No");
    desk.main().windowStateChanged(WindowState::Minimised, false);
    EXPECT_TRUE(t.scheduler.enabled());
    EXPECT_TRUE(t.memoryShield.enabled());

    bool anyOnDuringScan = true;
    d.v.dialogs.onPump = [&](int) {
        anyOnDuringScan = t.scheduler.enabled() || t.memoryShield.enabled() || t.homePageCheck.enabled();
    };
    desk.scanPage().startClicked();
    EXPECT_FALSE(anyOnDuringScan);
    EXPECT_TRUE(t.scheduler.enabled() && t.memoryShield.enabled() && t.homePageCheck.enabled());

    desk.main().commandClicked(MainCommand::SendToTray);
    EXPECT_TRUE(d.v.main.hidden);
    EXPECT_EQ(d.v.tray.iconCalls, std::vector<std::string>{"add Vedozer Test"});
    EXPECT_EQ(d.setting("Settings", "Minimized"), "Yes");
    desk.close();
    EXPECT_EQ(d.v.tray.iconCalls.back(), "delete") << "the icon goes at exit";
    d.v.main.hidden = false;
    d.start();
    EXPECT_TRUE(d.v.main.hidden) << "left in the tray, it starts there";
    EXPECT_FALSE(d.v.main.shown);
}

TEST(MainWindow, NavigationOpensPagesOnlyThroughEnabledCommandsAndAnEmptyResultsPageSendsData) {
    DesktopImage d;
    d.notFirstRun();
    Desktop& desk = d.start();
    desk.main().commandClicked(MainCommand::OptionsPage);
    EXPECT_EQ(d.v.main.page, Page::Options);
    desk.main().setCommandEnabled(MainCommand::ScanPage, false);
    desk.main().commandClicked(MainCommand::ScanPage);
    EXPECT_EQ(d.v.main.page, Page::Options);
    EXPECT_FALSE(d.v.main.enabled[MainCommand::ScanPage]);
    desk.main().setCommandEnabled(MainCommand::ScanPage, true);
    desk.main().scanNow();
    EXPECT_EQ(d.v.main.page, Page::Scan);
    EXPECT_EQ(d.v.scan.controls.continueVisible, true) << "Scan Now ran a scan";

    // Nothing listed: opening the results sends the names of running programs, when allowed.
    test::FakeProcessList running({"C:\\Windows\\notepad.exe"});
    d.image.platform().processes = &running;
    d.http.requests.clear();
    desk.main().commandClicked(MainCommand::ResultsPage);
    EXPECT_EQ(d.v.main.page, Page::Results);
    EXPECT_EQ(d.v.results.emptyText, "No adware or spyware was found.");
    ASSERT_EQ(d.http.requests.size(), 1u);
    EXPECT_NE(d.http.requests[0].find("/asp/getData.asp?data="), std::string::npos);
    d.image.settings->save("OptionAndSettings", "chkSendData", "0");
    desk.main().commandClicked(MainCommand::ResultsPage);
    EXPECT_EQ(d.http.requests.size(), 1u) << "nothing goes out once the person said no";
}

TEST(MainWindow, ALanguageAppliedToTheDesktopChangesEveryWindowsCaptions) {
    DesktopImage d;
    d.notFirstRun();
    Desktop& desk = d.start();
    Languages& l = desk.session().languages();
    l.setTranslationLines({"\t\t<FRMMAIN_CMDSCANNOW>Lancer</FRMMAIN_CMDSCANNOW>",
                           "\t\t<FrmMain_lvwPicRemoveListOfSpywareFoundAndToBeRemoved_Col1>Logiciel</"
                           "FrmMain_lvwPicRemoveListOfSpywareFoundAndToBeRemoved_Col1>",
                           "\t\t<FRMDELETE_COMMAND2>Copier la liste</FRMDELETE_COMMAND2>",
                           "\t\t<FRMMAIN_LBLSUMMARYTHREATS>[Count] menaces</FRMMAIN_LBLSUMMARYTHREATS>",
                           "\t\t<MSG_CAPTION>[ProgramName] de [CompanyName]</MSG_CAPTION>"});
    l.applyTranslations();
    desk.applyLanguage();
    EXPECT_EQ(d.v.scan.captions[CaptionId::ScanStart], "Lancer");
    EXPECT_EQ(d.v.results.captions[CaptionId::ResultsNameColumn], "Logiciel");
    EXPECT_EQ(d.v.undeletable.captions[CaptionId::UndeletableCopyList], "Copier la liste");
    EXPECT_EQ(d.v.results.summary, "0 menaces, 0 traces");
    EXPECT_EQ(d.v.main.title, "Vedozer Test de Vedozer Labs");
    EXPECT_EQ(d.v.scan.captions[CaptionId::ScanStop], "S&top") << "an untranslated caption keeps its English";
    // Every caption of every window reached its view.
    size_t pushed = d.v.main.captions.text.size() + d.v.status.captions.text.size() + d.v.scan.captions.text.size() +
                    d.v.results.captions.text.size() + d.v.options.captions.text.size() +
                    d.v.undeletable.captions.text.size() + d.v.liveUpdate.captions.text.size() +
                    d.v.report.captions.text.size() + d.v.quarantine.captions.text.size() +
                    d.v.submit.captions.text.size() + d.v.about.captions.text.size() + d.v.help.captions.text.size();
    // The splash shows before any catalogue, the language window and the rescue desktop's start
    // window have presenters of their own;
    // the about window shows the website button too.
    EXPECT_EQ(pushed, captionTable().size() - captionsOf(CaptionGroup::Splash).size() -
                          captionsOf(CaptionGroup::Language).size() -
                          captionsOf(CaptionGroup::TargetChooser).size() + 1);
}

TEST(HeaderBand, RedForMissingDefinitionsOrThreatsAmberForAShieldOffOrNoScanGreenOtherwise) {
    Languages l{ProductIdentity{"P", "C", "W"}};
    HeaderFacts f;
    f.status.definitions.total = 1514;
    f.status.definitionDate = "3/16/2006 12:00:00 AM PST";
    f.status.lastScan = "3/17/2006 9:00:00 AM";
    HeaderBand ok = makeHeaderBand(f, l);
    EXPECT_EQ(ok.state, StateIcon::Ok);
    EXPECT_EQ(ok.stateText, "Protected");
    EXPECT_EQ(ok.definitions, "1,514 definitions, dated 3/16/2006 12:00:00 AM PST");
    EXPECT_EQ(ok.shields, "Memory shield on, Home page shield on");
    f.homePageShieldOn = false;
    EXPECT_EQ(makeHeaderBand(f, l).state, StateIcon::Attention);
    f.protectionAvailable = false;
    EXPECT_EQ(makeHeaderBand(f, l).state, StateIcon::Ok) << "no shields to be off on an offline system";
    f.status.lastScan = "Never";
    EXPECT_EQ(makeHeaderBand(f, l).state, StateIcon::Attention);
    f.threatsListed = 2;
    EXPECT_EQ(makeHeaderBand(f, l).stateText, "Threats found");
    f.status.definitionsMissing = true;
    f.status.definitionDate = "Files Missing, Run Live Update";
    HeaderBand missing = makeHeaderBand(f, l);
    EXPECT_EQ(missing.state, StateIcon::Threats);
    EXPECT_EQ(missing.definitions, "Files Missing, Run Live Update");
    EXPECT_EQ(missing.stateText, "Definitions missing, run Live Update");
}

}  // namespace
}  // namespace vedozer
