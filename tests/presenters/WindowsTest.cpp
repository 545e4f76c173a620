#include <gtest/gtest.h>

#include <filesystem>

#include "DesktopImage.h"
#include "app/presenters/SplashPresenter.h"

namespace vedozer {
namespace {

using test::DesktopImage;
namespace fs = std::filesystem;

TEST(LiveUpdateWindow, TheBlinkingLineFollowsItsTimerStepByStepAndCancelOnlyCloses) {
    DesktopImage d;
    d.notFirstRun();
    LiveUpdatePresenter& w = d.start().liveUpdate();
    LogicalTimer& blink = w.blinkTimer();
    EXPECT_EQ(blink.interval(), 800u);
    blink.tick();
    EXPECT_EQ(blink.ticks(), 0u) << "the timer runs only while the window is open";

    w.open();
    EXPECT_TRUE(d.v.liveUpdate.open);
    EXPECT_EQ(d.v.liveUpdate.blink, "Connecting to server/downloading.....");
    EXPECT_TRUE(d.v.liveUpdate.up);
    EXPECT_EQ(d.v.liveUpdate.trayTip, "Getting latest definitions.");
    const std::string connecting = "Connecting to server.....", checking = "Checking for Definitions.....",
                      server = "Connecting to the Server.", sending = "Sending and receiving data, please wait.",
                      sent = "Successfully sent the request.", receiving = "Receiving a response from the Server.";
    const std::vector<std::string> expected = {server,  connecting, sending, sending, sending,  sending,
                                               sent,    connecting, receiving, connecting, sending, sending,
                                               sending, sending,    sending, server,    checking};
    for (size_t i = 0; i < expected.size(); ++i) {
        blink.tick();
        EXPECT_EQ(d.v.liveUpdate.blink, expected[i]) << "tick " << i + 1;
        EXPECT_EQ(d.v.liveUpdate.up, i % 2 == 1) << "tick " << i + 1;  // the pictures take turns
    }

    w.onUpdateProgress(UpdateProgress{UpdatePhase::Downloading, "Downloaded 512 bytes.", 512});
    EXPECT_EQ(d.v.liveUpdate.status, "Downloaded 512 bytes.");
    w.cancelClicked();
    EXPECT_FALSE(d.v.liveUpdate.open);
    EXPECT_EQ(d.v.liveUpdate.trayIcons, 0);
    EXPECT_FALSE(blink.enabled());
    w.onUpdateProgress(UpdateProgress{UpdatePhase::Applying, "later", 0});
    EXPECT_EQ(d.v.liveUpdate.status, "Downloaded 512 bytes.") << "later texts are not seen";
}

TEST(ReportViewer, ShowsTheReportSingleSpacedWhileItsCommandsRest) {
    DesktopImage d;
    d.notFirstRun();
    Desktop& desk = d.start();
    d.image.dir.write("data/Scan_Log.txt", "Top\r\n\r\n[Threats Detected]\r\nAd\r\nC:\\ad.exe\r\n\r\nTotal = 1\r\n");
    std::map<MainCommand, bool> whileOpen;
    bool showReportWhileOpen = true;
    d.v.report.whileOpen = [&] {
        whileOpen = d.v.main.enabled;
        showReportWhileOpen = d.v.status.enabled[StatusAction::ShowReport];
    };
    ASSERT_TRUE(d.v.status.enabled[StatusAction::ShowReport]);
    desk.main().commandClicked(MainCommand::ViewReport);
    EXPECT_EQ(d.v.report.modals, 1);
    EXPECT_EQ(d.v.report.title, "Vedozer Test Log");
    EXPECT_EQ(d.v.report.text, "Top\r\n[Threats Detected]AdC:\\ad.exe\r\nTotal = 1");
    EXPECT_FALSE(whileOpen[MainCommand::ViewReport]);
    EXPECT_FALSE(showReportWhileOpen);
    EXPECT_TRUE(d.v.main.enabled[MainCommand::ViewReport]);
    EXPECT_TRUE(d.v.status.enabled[StatusAction::ShowReport]);
}

TEST(Splash, TheMainWindowLoadsOnTheSeventyFifthTick) {
    struct View : SplashView {
        std::string shown;
        bool closed = false;
        void show(const std::string& p, const std::string& v, const std::string& l) override { shown = p + " " + v + " " + l; }
        void close() override { closed = true; }
    } view;
    int loads = 0;
    SplashPresenter splash(view, [&] { ++loads; });
    splash.start("Vedozer", "1.0", "Loading...");
    EXPECT_EQ(view.shown, "Vedozer 1.0 Loading...");
    EXPECT_EQ(splash.timer().interval(), 2u);
    for (int i = 0; i < 74; ++i) splash.timer().tick();
    EXPECT_EQ(loads, 0);
    splash.timer().tick();
    EXPECT_EQ(loads, 1);
    EXPECT_TRUE(view.closed);
    EXPECT_FALSE(splash.timer().enabled());
    splash.tick();
    EXPECT_EQ(loads, 1);
}

TEST(SubmitBox, SendsANameShowsTheAnswerInItsLineAndClearsTheBox) {
    DesktopImage d;
    d.notFirstRun();
    Desktop& desk = d.start();
    desk.main().commandClicked(MainCommand::SubmitFile);
    SubmitPresenter& box = desk.submit();
    EXPECT_TRUE(d.v.submit.open);
    EXPECT_FALSE(d.v.submit.submitEnabled);
    box.fileNameChanged("   ");
    EXPECT_FALSE(d.v.submit.submitEnabled) << "a blank name sends nothing";
    box.fileNameChanged("bad.exe");
    EXPECT_TRUE(d.v.submit.submitEnabled);
    HttpResult added;
    added.ok = true;
    added.status = 200;
    added.body = "Added";
    d.http.replies[submissionUrl(desk.session().definitionServer(), fileSubmissionPayload("bad.exe"))] = added;
    EXPECT_TRUE(box.submitClicked().accepted);
    EXPECT_EQ(d.v.submit.result, "Results: bad.exe Submitted.  Thank you!");
    EXPECT_EQ(d.v.submit.fileName, "");
    EXPECT_TRUE(d.v.dialogs.notices.empty()) << "the result line says it; no second message";

    box.fileNameChanged("other.exe");
    EXPECT_FALSE(box.submitClicked().accepted);  // no reply: the problem text
    EXPECT_EQ(d.v.submit.result.rfind("Results: There was a problem submitting other.exe.", 0), 0u);
}

TEST(Quarantine, MenuOpensFolderAndListAndTheWindowRestoresAnItem) {
    DesktopImage d;
    d.notFirstRun();
    d.image.onlyFiles();
    d.image.definitionFile(kFileDefinitionFile, {"ad.exe=Ad|[drive]Ad"});
    d.image.write("Ad/ad.exe", "payload");
    Desktop& desk = d.start();
    d.v.dialogs.answers = {Answer::Ok};
    desk.main().commandClicked(MainCommand::ViewExclusions);
    EXPECT_EQ(d.v.dialogs.kinds(), (std::vector<QuestionKind>{QuestionKind::NoExclusionList}));
    EXPECT_TRUE(d.shell.opened.empty());
    desk.main().commandClicked(MainCommand::ViewQuarantine);
    ASSERT_EQ(d.shell.opened.size(), 1u);
    EXPECT_TRUE(fs::is_directory(d.shell.opened[0]));

    desk.scanPage().startClicked();
    desk.session().removal().gatheringPauseMillis = 0;
    desk.resultsPage().selectAllClicked();
    d.v.dialogs.answers = {Answer::Yes};
    desk.resultsPage().deleteClicked();
    ASSERT_FALSE(fs::exists(d.image.drive + "/Ad/ad.exe"));

    desk.main().commandClicked(MainCommand::QuarantineWindow);
    QuarantinePresenter& q = desk.quarantine();
    EXPECT_TRUE(d.v.quarantine.open);
    ASSERT_EQ(d.v.quarantine.items.size(), 1u);
    const QuarantineRow row = d.v.quarantine.items[0];
    EXPECT_EQ(row.location, "C:\\Ad\\ad.exe");
    EXPECT_EQ(row.state, "In quarantine");
    EXPECT_FALSE(d.v.quarantine.enabled[QuarantineAction::Restore]) << "nothing selected";
    q.selectionChanged({row.id}, "");
    EXPECT_TRUE(d.v.quarantine.enabled[QuarantineAction::Restore]);
    q.restoreClicked(false);
    EXPECT_EQ(test::readHostFile(d.image.drive + "/Ad/ad.exe"), "payload");
    ASSERT_EQ(d.v.quarantine.results.size(), 1u);
    EXPECT_EQ(d.v.quarantine.items[0].state.rfind("Restored", 0), 0u);
    EXPECT_FALSE(d.v.quarantine.items[0].restorable);
    EXPECT_FALSE(d.v.quarantine.enabled[QuarantineAction::Restore]);

    q.openLogClicked();
    EXPECT_EQ(d.shell.opened.back().substr(d.shell.opened.back().size() - 17), "QuarantineLog.txt");
    q.closeClicked();
    EXPECT_FALSE(d.v.quarantine.open);
}

TEST(AboutAndHelp, AboutNamesTheProgramAndHelpOpensTheFileBesideIt) {
    DesktopImage d;
    d.notFirstRun();
    d.program.helpFile = (d.image.dir.path() / "Help.chm").string();
    d.image.dir.write("Help.chm", "help");
    Desktop& desk = d.start();
    desk.main().commandClicked(MainCommand::About);
    ASSERT_EQ(d.v.about.shown.size(), 1u);
    EXPECT_EQ(d.v.about.shown[0], (AboutInfo{"Vedozer Test", programVersion(), "Vedozer Labs", "http://www.vedozer.example"}));
    EXPECT_EQ(d.v.about.captions[CaptionId::AboutTitle], "About Vedozer Test");
    EXPECT_TRUE(desk.about().websiteClicked().isDone());
    desk.main().commandClicked(MainCommand::Help);
    EXPECT_EQ(d.shell.opened, (std::vector<std::string>{"http://www.vedozer.example", d.program.helpFile}));
    EXPECT_EQ(d.v.help.shown, 0);
    EXPECT_EQ(d.image.settings->getMachine("Settings", "showHelp"), "0");
}

}  // namespace
}  // namespace vedozer
