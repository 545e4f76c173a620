#include <gtest/gtest.h>

#include <filesystem>

#include "DesktopImage.h"

namespace vedozer {
namespace {

using test::DesktopImage;

TEST(OfflineDesktop, NoTrayOnlyTheUpdateTimersAndTheSystemNamedInTheTitle) {
    DesktopImage d;
    d.notFirstRun();
    d.image.settings->save("Settings", "Minimized", "Yes");
    d.features = DesktopFeatures{false, false, false};
    d.desktop = std::make_unique<Desktop>(d.image.platform(), d.v.views(),
                                          DesktopConfig{.program = d.program, .features = d.features, .identity = d.image.languages.identity(),
                                                        .systemName = "/mnt/win"});
    ASSERT_EQ(d.desktop->load(), MainWindowPresenter::LoadResult::Shown);
    EXPECT_TRUE(d.v.main.shown) << "left in the tray last time, but there is none here";
    EXPECT_FALSE(d.v.main.hidden);
    EXPECT_TRUE(d.v.tray.iconCalls.empty()) << "no notification-area icon";
    EXPECT_FALSE(d.v.main.visible[MainCommand::SendToTray]);
    d.desktop->main().commandClicked(MainCommand::SendToTray);
    EXPECT_FALSE(d.v.main.hidden);
    EXPECT_TRUE(d.v.tray.iconCalls.empty()) << "no notification-area icon";
    EXPECT_EQ(d.v.main.title, "Vedozer Test by Vedozer Labs - /mnt/win");

    // An offline system has nothing for the shields to watch: their timers are not driven.
    std::vector<std::string> names;
    for (LogicalTimer* t : d.desktop->timers()) names.push_back(t->name());
    EXPECT_EQ(names, (std::vector<std::string>{"automatic update", "live update blink"}));
}

TEST(OfflineDesktop, WhatRemovalLacksIsSaidBesideDeleteWhileSomethingIsListed) {
    DesktopImage d;
    d.notFirstRun();
    d.image.onlyFiles();
    d.image.definitionFile(kFileDefinitionFile, {"a.exe=Alpha|[drive]Alpha|Spyware"});
    d.image.write("Alpha/a.exe", "a");
    d.desktop = std::make_unique<Desktop>(
        d.image.platform(), d.v.views(),
        DesktopConfig{.program = d.program, .features = d.features, .identity = d.image.languages.identity(),
                      .writeProblem = "/mnt/win lies on a file system mounted read-only"});
    ASSERT_EQ(d.desktop->load(), MainWindowPresenter::LoadResult::Shown);
    EXPECT_EQ(d.v.results.removalNote, "") << "nothing listed, nothing to say";
    d.desktop->scanPage().startClicked();
    ASSERT_EQ(d.v.results.rows.size(), 1u);
    EXPECT_NE(d.v.results.removalNote.find("removing items needs write access"), std::string::npos);
    EXPECT_NE(d.v.results.removalNote.find("(/mnt/win lies on a file system mounted read-only)"), std::string::npos);
}

TEST(OfflineDesktop, AnEmptyDataFolderGetsTheDefinitionsTheProgramCarriesInstalledOnesStay) {
    DesktopImage d;
    d.notFirstRun();
    for (const char* f : {kFileDefinitionFile, kDirectoryDefinitionFile, kRegistryDefinitionFile, kExeDefinitionFile,
                          kBlockedCookiesFile})
        std::filesystem::remove(d.image.data + "/" + f);
    DesktopConfig config{d.program, d.features, d.image.languages.identity()};
    config.installShippedDefinitions = true;
    d.desktop = std::make_unique<Desktop>(d.image.platform(), d.v.views(), config);
    ASSERT_EQ(d.desktop->load(), MainWindowPresenter::LoadResult::Shown);
    EXPECT_TRUE(d.desktop->session().missingDefinitionFiles().empty());
    EXPECT_FALSE(d.v.status.state.definitionsMissing);
    EXPECT_GT(d.desktop->session().definitions().total, 100);

    // A second start over one installed file of its own changes nothing.
    d.desktop->close();
    d.desktop.reset();
    d.image.definitionFile(kFileDefinitionFile, {"a.exe=Alpha|[drive]Alpha"});
    std::filesystem::remove(d.image.data + "/" + kDirectoryDefinitionFile);
    d.desktop = std::make_unique<Desktop>(d.image.platform(), d.v.views(), config);
    ASSERT_EQ(d.desktop->load(), MainWindowPresenter::LoadResult::Shown);
    EXPECT_EQ(d.desktop->session().definitions().fileCount, 1);
    EXPECT_EQ(d.desktop->session().missingDefinitionFiles(), (std::vector<std::string>{kDirectoryDefinitionFile}));
}

}  // namespace
}  // namespace vedozer
