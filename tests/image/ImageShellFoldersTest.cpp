// Shell folders of an image are read from its hives and kept while the registry's generation
// stays the same: every change through the registry, closing the hives, and a hive that could
// not be opened yet must show in the next answer.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/image/ImageRegistry.h"
#include "platform/image/ImageShellFolders.h"
#include "support/HiveBuilder.h"
#include "support/TempDir.h"

namespace vedozer {
namespace {

using namespace test;

constexpr char kFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr int kAppData = 26;

ImageLayout aliceLayout() {
    ImageLayout l;
    l.windowsFolder = "C:\\Windows";
    l.profilesFolder = "C:\\Users";
    l.userName = "alice";
    l.userProfile = "C:\\Users\\alice";
    l.allUsersProfile = "C:\\ProgramData";
    l.publicProfile = "C:\\Users\\Public";
    return l;
}

// Counts the reads that reach the image registry.
class CountingRegistry : public Registry {
public:
    explicit CountingRegistry(ImageRegistry& inner) : m_inner(inner) {}
    int queries = 0;
    RegStatus openKey(RootKey r, const std::string& p, uint32_t m) override { return m_inner.openKey(r, p, m); }
    std::optional<RegistryValue> queryValue(RootKey r, const std::string& p, const std::string& n) override {
        ++queries;
        return m_inner.queryValue(r, p, n);
    }
    std::vector<std::string> subKeys(RootKey r, const std::string& p) override { return m_inner.subKeys(r, p); }
    std::vector<NamedValue> values(RootKey r, const std::string& p) override { return m_inner.values(r, p); }
    RegStatus createKey(RootKey r, const std::string& p) override { return m_inner.createKey(r, p); }
    RegStatus setValue(RootKey r, const std::string& p, const std::string& n, const RegistryValue& v) override {
        return m_inner.setValue(r, p, n, v);
    }
    RegStatus deleteValue(RootKey r, const std::string& p, const std::string& n) override {
        return m_inner.deleteValue(r, p, n);
    }
    RegStatus deleteKeyTree(RootKey r, const std::string& p) override { return m_inner.deleteKeyTree(r, p); }

private:
    ImageRegistry& m_inner;
};

struct ShellFolderImage {
    TempDir dir;
    std::string ntuser = dir.str() + "/NTUSER.DAT";
    std::unique_ptr<ImageRegistry> reg;
    std::unique_ptr<CountingRegistry> counting;
    std::unique_ptr<ImageShellFolders> folders;

    explicit ShellFolderImage(bool withHive = true) {
        if (withHive) buildHive(ntuser, {hiveExpandSz(kFolders, "AppData", "%USERPROFILE%\\Roaming Custom")});
        ImageRegistry::Config config;
        config.hives.ntuser = ntuser;
        reg = std::make_unique<ImageRegistry>(config);
        counting = std::make_unique<CountingRegistry>(*reg);
        folders = std::make_unique<ImageShellFolders>(*counting, aliceLayout(), [r = reg.get()] { return r->generation(); });
    }
};

TEST(ImageShellFolders, AnswersAreKeptUntilTheRegistryChanges) {
    ShellFolderImage img;
    EXPECT_EQ(img.folders->folderPath(kAppData), "C:\\Users\\alice\\Roaming Custom");
    const int asked = img.counting->queries;
    EXPECT_GT(asked, 0);
    EXPECT_EQ(img.folders->folderPath(kAppData), "C:\\Users\\alice\\Roaming Custom");
    EXPECT_EQ(img.folders->folderLocation(kAppData), "C:\\Users\\alice\\Roaming Custom");
    EXPECT_EQ(img.counting->queries, asked);  // kept

    ASSERT_EQ(img.reg->setValue(RootKey::CurrentUser, kFolders, "AppData", {kRegSz, std::string("D:\\Elsewhere\0", 13)}),
              RegStatus::Ok);
    EXPECT_EQ(img.folders->folderPath(kAppData), "D:\\Elsewhere");
    ASSERT_EQ(img.reg->deleteValue(RootKey::CurrentUser, kFolders, "AppData"), RegStatus::Ok);
    EXPECT_EQ(img.folders->folderPath(kAppData), "C:\\Users\\alice\\AppData\\Roaming");  // the layout's default
    ASSERT_EQ(img.reg->deleteKeyTree(RootKey::CurrentUser, "Software"), RegStatus::Ok);
    ASSERT_EQ(img.reg->createKey(RootKey::CurrentUser, kFolders), RegStatus::Ok);
    EXPECT_EQ(img.folders->folderPath(kAppData), "C:\\Users\\alice\\AppData\\Roaming");
}

TEST(ImageShellFolders, ClosedHivesAreReadAgain) {
    ShellFolderImage img;
    EXPECT_EQ(img.folders->folderPath(kAppData), "C:\\Users\\alice\\Roaming Custom");
    // Someone else replaces the hive file; the open handle still shows the old one until closed.
    buildHive(img.ntuser, {hiveSz(kFolders, "AppData", "E:\\Replaced")});
    EXPECT_EQ(img.folders->folderPath(kAppData), "C:\\Users\\alice\\Roaming Custom");
    img.reg->closeHives();
    EXPECT_EQ(img.folders->folderPath(kAppData), "E:\\Replaced");
}

TEST(ImageShellFolders, AHiveThatCannotBeOpenedIsNotRememberedAsAbsent) {
    ShellFolderImage img(false);  // NTUSER.DAT is named but not there yet
    EXPECT_EQ(img.folders->folderPath(kAppData), "C:\\Users\\alice\\AppData\\Roaming");
    const int asked = img.counting->queries;
    EXPECT_EQ(img.folders->folderPath(kAppData), "C:\\Users\\alice\\AppData\\Roaming");
    EXPECT_GT(img.counting->queries, asked);  // asked again, since the hive might open now
    buildHive(img.ntuser, {hiveExpandSz(kFolders, "AppData", "%USERPROFILE%\\Late")});
    EXPECT_EQ(img.folders->folderPath(kAppData), "C:\\Users\\alice\\Late");
}

TEST(ImageShellFolders, WithoutAGenerationEveryCallAsks) {
    ShellFolderImage img;
    ImageShellFolders uncached(*img.counting, aliceLayout());
    EXPECT_EQ(uncached.folderPath(kAppData), "C:\\Users\\alice\\Roaming Custom");
    const int asked = img.counting->queries;
    EXPECT_EQ(uncached.folderPath(kAppData), "C:\\Users\\alice\\Roaming Custom");
    EXPECT_EQ(img.counting->queries, 2 * asked);
}

}  // namespace
}  // namespace vedozer
