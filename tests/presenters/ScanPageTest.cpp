#include <gtest/gtest.h>

#include "DesktopImage.h"
#include "i18n/MessageKeys.h"

namespace vedozer {
namespace {

using test::DesktopImage;

// A planted system: two files of one adware, a folder of another, a registry value of a third,
// an excluded file, and enough absent definitions that the scan page repaints during the scan.
void plant(DesktopImage& d) {
    std::vector<std::string> files = {"ad.exe=AdThing|[drive]Program Files\\Ad|Adware",
                                      "helper.dll=AdThing|[drive]Program Files\\Ad",
                                      "keep.exe=Kept|[drive]Program Files\\Kept"};
    for (int i = 0; i < 250; ++i) files.push_back("absent" + std::to_string(i) + ".dll=Nothing|[drive]Nowhere");
    d.image.definitionFile(kFileDefinitionFile, files);
    d.image.definitionFile(kDirectoryDefinitionFile, {"pest=FolderPest|[drive]Program Files\\Pest"});
    d.image.definitionFile(kRegistryDefinitionFile, {"2^Software\\Bad^Start=RunThing|Hijacker"});
    d.image.exclusionFile({"C:\\Program Files\\Kept\\keep.exe"});
    d.image.write("Program Files/Ad/ad.exe", "exe");
    d.image.write("Program Files/Ad/helper.dll", "dll");
    d.image.write("Program Files/Kept/keep.exe", "kept");
    d.image.write("Program Files/Pest/pest.txt", "pest");
}

DesktopImage plantedDesktop() { return DesktopImage({test::hiveSz("Bad", "Start", "c:\\run.exe")}); }

TEST(ScanPage, AWholeScanOfAPlantedSystemDrivesThePageFromStartToResults) {
    DesktopImage d = plantedDesktop();
    d.notFirstRun();
    plant(d);
    Desktop& desk = d.start();
    auto& page = d.v.scan;
    EXPECT_EQ(page.controls, (ScanControls{true, false, false, false}));
    EXPECT_EQ(page.captions[CaptionId::ScanStart], "&Start");

    // While the scan runs: Start off, Pause and Stop on, the other pages out of reach.
    ScanControls during;
    std::map<MainCommand, bool> navigation;
    Page shownPage = Page::Status;
    d.v.dialogs.onPump = [&](int n) {
        if (n != 1) return;
        during = page.controls;
        navigation = d.v.main.enabled;
        shownPage = d.v.main.page;
    };
    desk.scanPage().startClicked();

    EXPECT_EQ(during, (ScanControls{false, true, true, false}));
    EXPECT_EQ(shownPage, Page::Scan);
    for (MainCommand c : {MainCommand::ResultsPage, MainCommand::OptionsPage, MainCommand::StatusPage,
                          MainCommand::LiveUpdate, MainCommand::ViewReport})
        EXPECT_FALSE(navigation[c]) << static_cast<int>(c);
    // The page repainted while the files were inspected, the stage and item on one line.
    bool paintedMidStage = false;
    for (const ScanPageState& s : page.shown)
        paintedMidStage |= s.statusLine.rfind("Scanning known Spyware/Adware: absent", 0) == 0;
    EXPECT_TRUE(paintedMidStage);

    // Afterwards: the end state, the counters with their final numbers, the way to the results.
    EXPECT_EQ(page.controls, (ScanControls{true, false, false, true}));
    EXPECT_EQ(page.state.statusLine, "Scanning complete.");
    EXPECT_EQ(page.state.stagePercent, 100);
    EXPECT_EQ(page.state.overallPercent, 100);
    EXPECT_EQ(page.state.filesInspected, "254");
    EXPECT_EQ(page.state.registryInspected, "1");
    EXPECT_EQ(page.state.softwareFound, "3");
    EXPECT_EQ(page.state.traces, "4");
    for (MainCommand c : {MainCommand::ResultsPage, MainCommand::OptionsPage, MainCommand::StatusPage})
        EXPECT_TRUE(d.v.main.enabled[c]);
    std::vector<std::string> found;
    for (const auto& [text, icon] : page.found) found.push_back(text);
    EXPECT_EQ(found, (std::vector<std::string>{"RunThing - Found", "AdThing - Found",
                                               "EXCLUDED: C:\\Program Files\\Kept\\keep.exe", "FolderPest - Found"}));

    desk.scanPage().continueClicked();
    EXPECT_EQ(d.v.main.page, Page::Results);
    ASSERT_EQ(d.v.results.rows.size(), 3u);
    EXPECT_EQ(d.v.results.rows[1],
              (ResultRow{"AdThing", "C:\\Program Files\\Ad\\ad.exe", "Adware", KindIcon::File, false}));
    EXPECT_EQ(d.v.results.rows[2].icon, KindIcon::Folder);
    EXPECT_EQ(d.v.results.summary, "3 threats, 4 traces");
    EXPECT_EQ(d.v.results.emptyText, "");
    // The status page and the header band know of the scan.
    EXPECT_NE(d.v.status.state.lastScan, "Never");
    EXPECT_EQ(d.v.status.state.lastScan, d.v.status.state.lastCompleteScan);
    EXPECT_EQ(d.v.main.header.state, StateIcon::Threats);
    EXPECT_EQ(d.v.main.header.stateText, "Threats found");
}

TEST(ScanPage, PauseHoldsTheScanInsideTheYieldAndStopEndsItAfterYes) {
    DesktopImage d = plantedDesktop();
    d.notFirstRun();
    plant(d);
    Desktop& desk = d.start();
    ScanControls whilePaused, whileAskingToStop;
    int pumpsDuringQuestion = -1;
    d.v.dialogs.whileAsking = [&](const Question& q) {
        if (q.kind == QuestionKind::PauseScan) {
            whilePaused = d.v.scan.controls;
            pumpsDuringQuestion = d.v.dialogs.pumps;
            desk.scanPage().pauseClicked();  // a second click while the box is open does nothing
            desk.scanPage().stopClicked();
        }
        if (q.kind == QuestionKind::StopScan) whileAskingToStop = d.v.scan.controls;
    };
    int pausedAt = 0, declinedAt = 0;
    d.v.dialogs.onPump = [&](int n) {
        if (n == 3) {
            pausedAt = n;
            desk.scanPage().pauseClicked();
            EXPECT_EQ(d.v.dialogs.pumps, pumpsDuringQuestion) << "nothing ran while the pause box was open";
        }
        if (n == 6) {
            declinedAt = n;
            desk.scanPage().stopClicked();  // answered No: the scan goes on
        }
        if (n == 9) desk.scanPage().stopClicked();  // answered Yes
    };
    d.v.dialogs.answers = {Answer::Ok, Answer::No, Answer::Yes};
    desk.scanPage().startClicked();

    ASSERT_EQ(d.v.dialogs.kinds(), (std::vector<QuestionKind>{QuestionKind::PauseScan, QuestionKind::StopScan,
                                                               QuestionKind::StopScan}));
    EXPECT_EQ(d.v.dialogs.asked[0].question.text, "Vedozer Test has been paused.  Click OK to resume.");
    EXPECT_EQ(d.v.dialogs.asked[1].question.text, "Are you sure you want to stop the scan?");
    EXPECT_EQ(pausedAt, 3);
    EXPECT_EQ(declinedAt, 6);
    EXPECT_EQ(whilePaused, (ScanControls{false, false, false, false}));
    EXPECT_EQ(whileAskingToStop, (ScanControls{false, false, false, false}));
    // Stopped after the ninth item: the cancelled texts, and the scan ended long before its end.
    EXPECT_EQ(d.v.scan.state.statusLine, "Scanning was cancelled.");
    EXPECT_EQ(d.v.scan.state.stageCaption, "0% Completed.");
    EXPECT_LT(d.v.dialogs.pumps, 20);
    EXPECT_EQ(d.v.scan.controls, (ScanControls{true, false, false, true}));
    EXPECT_NE(d.v.status.state.lastScan, "Never") << "a stopped scan still records its time";
    // Nothing is asked once the scan is over.
    desk.scanPage().pauseClicked();
    desk.scanPage().stopClicked();
    EXPECT_EQ(d.v.dialogs.asked.size(), 3u);
}

TEST(ScanPage, StagesSwitchedOffReadNotSelectedAndTheModeAndDrivesAreSaved) {
    DesktopImage d;
    d.notFirstRun();
    d.image.onlyFiles();
    Desktop& desk = d.start();
    ASSERT_EQ(d.v.scan.drives, (std::vector<DriveRow>{{"C", true}}));
    EXPECT_EQ(d.v.scan.mode, ScanModeChoice::Complete);
    EXPECT_TRUE(d.v.scan.driveListVisible);

    desk.scanPage().scanModeChosen(ScanModeChoice::Quick);
    EXPECT_FALSE(d.v.scan.driveListVisible);
    EXPECT_EQ(d.setting("OptionAndSettings", "optScanOnlyKnownSoftwares"), "True");
    EXPECT_EQ(d.setting("OptionAndSettings", "optScanAllSelectedHardDrive"), "False");
    desk.scanPage().driveChecked(0, false);
    EXPECT_EQ(d.setting("Drives", "C"), "False");

    desk.scanPage().startClicked();
    EXPECT_EQ(d.v.scan.state.memoryInspected, "Not Selected");
    EXPECT_EQ(d.v.scan.state.registryInspected, "Not Selected");
    EXPECT_EQ(d.v.scan.state.filesInspected, "0");
    // A quick scan records only the last scan, and nothing found leaves the list's empty text.
    EXPECT_EQ(d.v.status.state.lastCompleteScan, "Never");
    EXPECT_EQ(d.v.results.emptyText, "No adware or spyware was found.");
    EXPECT_EQ(d.v.results.summary, "0 threats, 0 traces");
}

TEST(ScanPage, AnUnattendedScanRemovesWithoutAQuestionAndShowsTheResults) {
    DesktopImage d;
    d.notFirstRun();
    d.image.onlyFiles();
    d.image.definitionFile(kFileDefinitionFile, {"ad.exe=Ad|[drive]Ad"});
    d.image.write("Ad/ad.exe", "exe");
    Desktop& desk = d.start();
    desk.session().removal().gatheringPauseMillis = 0;
    ScanOutcome outcome = desk.scanPage().startScan(true);
    ASSERT_TRUE(outcome.removal);
    EXPECT_EQ(outcome.removal->notRemoved(), 0u);
    EXPECT_TRUE(d.v.dialogs.asked.empty());
    EXPECT_FALSE(std::filesystem::exists(d.image.drive + "/Ad/ad.exe"));
    EXPECT_EQ(d.v.main.page, Page::Results);
    EXPECT_EQ(d.v.results.emptyText, "No adware or spyware was found.");
    EXPECT_EQ(d.v.status.state.removedTotal, "3") << "the removed total grows by the three found counters";
}

TEST(ScanPage, TheDriveListOffersWhatACompleteScanCouldReadEachByItsLetter) {
    std::vector<DriveInfo> drives = {{"a:\\", 2, false}, {"C:\\", 3, true}, {"D:\\", 3, false},
                                     {"E:\\", 4, true},  {"F:\\", 5, false}, {"G:\\", 0, true}};
    EXPECT_EQ(driveListLetters(drives), (std::vector<std::string>{"A", "C", "E", "F"}));
}

}  // namespace
}  // namespace vedozer
