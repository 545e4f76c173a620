#include <gtest/gtest.h>

#include <filesystem>

#include "app/presenters/TargetChooserPresenter.h"
#include "platform/image/ImageInstallations.h"
#include "support/HiveBuilder.h"
#include "support/MemorySettingsStore.h"
#include "support/TempDir.h"

namespace vedozer {
namespace {

using test::TempDir;
namespace fs = std::filesystem;

class RecordingTargetChooser : public TargetChooserView {
public:
    std::map<CaptionId, std::string> captions;
    std::vector<std::string> mounted, recent;
    std::string emptyText, problem, note;
    bool suggestion = false, openEnabled = false;
    int accepted = 0;
    TargetChoiceState choice;
    void setCaption(CaptionId id, const std::string& t) override { captions[id] = t; }
    void showMounted(const std::vector<std::string>& rows, const std::string& empty) override {
        mounted = rows;
        emptyText = empty;
    }
    void showRecent(const std::vector<std::string>& rows) override { recent = rows; }
    void showChoice(const TargetChoiceState& c) override { choice = c; }
    void showProblem(const std::string& t, bool offer) override {
        problem = t;
        suggestion = offer;
    }
    void showNote(const std::string& t) override { note = t; }
    void setOpenEnabled(bool on) override { openEnabled = on; }
    void accept() override { ++accepted; }
};

// Two installations in a temporary folder (one mounted, one only a folder) and a mount list.
struct Chooser {
    TempDir dir;
    std::string mountedC = (dir.path() / "mnt/win").string();
    std::string copiedC = (dir.path() / "copies/pc2/C").string();
    test::MemorySettingsStore store;
    Languages languages{ProductIdentity{"Vedozer Test", "Vedozer Labs", "http://www.vedozer.example"}};
    std::unique_ptr<ImageInstallations> installations;
    RecordingTargetChooser view;
    std::unique_ptr<TargetChooserPresenter> presenter;

    explicit Chooser(bool root = false) {
        plant(mountedC, {"alice"});
        plant(copiedC, {"carol", "dave"});
        dir.write("mountinfo", "30 1 8:2 / " + mountedC + " ro,noatime - ntfs3 /dev/sdb2 ro\n" +
                                   "31 1 8:3 / " + (dir.path() / "copies").string() + " rw - ext4 /dev/sdb3 rw\n");
        installations = std::make_unique<ImageInstallations>((dir.path() / "mountinfo").string());
        languages.loadDefaultMessages();
        presenter = std::make_unique<TargetChooserPresenter>(*installations, store, languages, view, root);
    }
    void plant(const std::string& c, const std::vector<std::string>& people) {
        fs::create_directories(c + "/Windows/System32/config");
        test::buildHive(c + "/Windows/System32/config/SOFTWARE", {test::hiveKey("Microsoft")});
        for (const auto& p : people) fs::create_directories(c + "/Users/" + p);
    }
};

TEST(TargetChooser, OffersTheMountedSystemFirstWithItsProfileAndRemembersWhatOpened) {
    Chooser t;
    TargetChooserPresenter& p = *t.presenter;
    p.open();
    ASSERT_EQ(t.view.mounted.size(), 1u);
    EXPECT_EQ(t.view.mounted[0], t.mountedC + "  (ntfs3, /dev/sdb2) - Read-only");
    EXPECT_EQ(t.view.emptyText, "");
    EXPECT_TRUE(t.view.recent.empty());
    EXPECT_EQ(t.view.choice.folder, t.mountedC) << "the mounted system is the first choice";
    EXPECT_EQ(t.view.choice.profiles, (std::vector<std::string>{"alice"}));
    EXPECT_TRUE(t.view.openEnabled);
    EXPECT_EQ(t.view.note, "");
    EXPECT_EQ(t.view.captions[CaptionId::TargetTitle], "Vedozer Test: Choose a Windows System");

    // Another folder with two profiles: the first is chosen, the other can be.
    p.folderChanged(t.copiedC);
    EXPECT_EQ(t.view.choice.profiles, (std::vector<std::string>{"carol", "dave"}));
    EXPECT_EQ(p.choice().user, "carol");
    p.profileChosen(1);
    EXPECT_TRUE(p.driveAdded("e", (t.dir.path() / "copies").string()));
    ASSERT_TRUE(p.openClicked()) << t.view.problem;
    EXPECT_EQ(t.view.accepted, 1);
    EXPECT_EQ(p.choice(), (InstallationChoice{t.copiedC, {{'E', (t.dir.path() / "copies").string()}}, "dave"}));

    // The next start lists it, newest first, and the mounted one after it once it opened too.
    Chooser again;
    again.store = t.store;
    TargetChooserPresenter& q = *again.presenter;
    q.open();
    ASSERT_EQ(again.view.recent.size(), 1u);
    EXPECT_EQ(again.view.recent[0], t.copiedC + ", E: " + (t.dir.path() / "copies").string() + ", dave");
    q.recentChosen(0);
    EXPECT_EQ(q.choice().user, "dave");
    EXPECT_EQ(q.choice().otherDrives.size(), 1u);
    q.mountedChosen(0);
    q.openClicked();
    EXPECT_EQ(readRecentTargets(again.store, "Vedozer Test").size(), 2u);
    EXPECT_EQ(readRecentTargets(again.store, "Vedozer Test")[0].systemDrive, again.mountedC);
}

TEST(TargetChooser, AFolderThatIsNoDriveRootIsRefusedWithTheOneThatLooksLikeItOffered) {
    Chooser t;
    TargetChooserPresenter& p = *t.presenter;
    p.open(InstallationChoice{(t.dir.path() / "copies/pc2").string(), {}, ""});
    EXPECT_EQ(t.view.choice.profiles, (std::vector<std::string>{"(no user profile found)"}));
    EXPECT_FALSE(p.openClicked());
    EXPECT_EQ(t.view.accepted, 0);
    EXPECT_NE(t.view.problem.find("No Windows folder"), std::string::npos) << t.view.problem;
    EXPECT_NE(t.view.problem.find("the nearest folder that looks like one is " + t.copiedC), std::string::npos);
    EXPECT_TRUE(t.view.suggestion);
    EXPECT_TRUE(readRecentTargets(t.store, "Vedozer Test").empty()) << "only what opened is remembered";

    p.useSuggestionClicked();
    EXPECT_EQ(t.view.choice.folder, t.copiedC);
    EXPECT_EQ(t.view.problem, "");
    EXPECT_TRUE(p.openClicked());
}

TEST(TargetChooser, DriveLettersAreDToZOnceEachAndRootIsNoted) {
    Chooser t(/*root=*/true);
    TargetChooserPresenter& p = *t.presenter;
    p.open();
    EXPECT_NE(t.view.note.find("runs as root"), std::string::npos);
    std::string folder = t.dir.str();
    for (const char* bad : {"C", "1", "DE", ""}) {
        EXPECT_FALSE(p.driveAdded(bad, folder)) << bad;
        EXPECT_EQ(t.view.problem, "A drive letter is one letter from D to Z, each used once.");
    }
    EXPECT_TRUE(p.driveAdded("D", folder));
    EXPECT_FALSE(p.driveAdded("d", folder)) << "taken";
    EXPECT_EQ(p.freeLetters().front(), "E");
    EXPECT_TRUE(p.driveAdded("Z", folder));
    ASSERT_EQ(t.view.choice.drives.size(), 2u);
    p.driveRemoved(0);
    EXPECT_EQ(t.view.choice.drives, (std::vector<DriveChoiceRow>{{"Z", folder}}));
}

TEST(TargetChooser, WithNothingMountedTheListSaysSoAndTheLastOpenedIsTheChoice) {
    Chooser t;
    t.dir.write("mountinfo", "");
    saveRecentTargets(t.store, "Vedozer Test", {InstallationChoice{t.copiedC, {}, "carol"}});
    t.presenter->open();
    EXPECT_TRUE(t.view.mounted.empty());
    EXPECT_NE(t.view.emptyText.find("No mounted Windows system was found"), std::string::npos);
    EXPECT_EQ(t.presenter->choice(), (InstallationChoice{t.copiedC, {}, "carol"}));
}

}  // namespace
}  // namespace vedozer
