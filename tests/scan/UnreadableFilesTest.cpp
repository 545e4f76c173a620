#include <gtest/gtest.h>

#include <algorithm>

#include "definitions/LineCodec.h"
#include "scan/CookieScan.h"
#include "scan/FileScan.h"
#include "support/FakeShellFolders.h"
#include "support/MemoryFileSystem.h"
#include "support/MemorySettingsStore.h"
#include "support/ScriptedHost.h"

// Files that exist but cannot be read, on in-memory file systems (a real one cannot refuse
// the super-user).
namespace vedozer {
namespace {

struct InMemoryScan {
    test::MemoryFileSystem files;
    test::MemoryFileSystem data;
    test::FakeShellFolders shell = test::FakeShellFolders::windowsXp();
    test::MemorySettingsStore store;
    test::ScriptedHost host;
    Platform platform;
    Languages languages{ProductIdentity{"Vedozer Test", "", ""}};
    Settings settings{store, languages.identity()};
    DefinitionSet definitions;
    ExclusionList exclusions;
    SafeList safeList;
    ScanResults results;
    ScanCounters counters;
    ScanMonitor progress;
    bool stop = false;
    ScanContext ctx{platform, definitions, exclusions, safeList, settings, languages, host,
                    stop,     results,     counters,   progress};

    InMemoryScan() {
        platform.files = &files;
        platform.dataFiles = &data;
        platform.shellFolders = &shell;
        definitions.dataFolder = "D:\\Data";
        data.addFolder("D:\\Data");
        languages.loadDefaultMessages();
    }
    void definitionFile(const std::string& name, const std::vector<std::string>& lines) {
        std::string content;
        for (const auto& l : lines) content += EncodeDefinitionLine(l) + "\r\n";
        data.addFile("D:\\Data\\" + name, content);
    }
    bool noted(const std::string& what) const {
        const auto& n = results.skippedNotes();
        return std::any_of(n.begin(), n.end(), [&](const std::string& s) { return s.find(what) != std::string::npos; });
    }
};

TEST(UnreadableFiles, FileThatCannotBeOpenedHasNoCompanyAndIsToldAbout) {
    InMemoryScan s;
    s.files.addFile("C:\\App\\locked.dll", "MZ");
    s.files.lock("C:\\App\\locked.dll");
    s.files.addFile("C:\\App\\failing.dll", std::string(5000, 'x'));
    s.files.failReadsAfter("C:\\App\\failing.dll", 100);
    s.definitionFile(kFileDefinitionFile, {"locked.dll=Locked|C:\\App", "failing.dll=Failing|C:\\App"});
    ScanFileDefinitions(s.ctx);
    ASSERT_EQ(s.results.removalList().size(), 2u);  // not spared as operating-system files
    EXPECT_TRUE(s.noted("cannot read C:\\App\\locked.dll"));
}

TEST(UnreadableFiles, DefinitionFileFailingPartWayIsToldAbout) {
    InMemoryScan s;
    s.files.addFile("C:\\App\\a.dll", "x");
    s.definitionFile(kFileDefinitionFile, {"a.dll=A|C:\\App", "b.dll=B|C:\\App", "c.dll=C|C:\\App"});
    s.data.failReadsAfter("D:\\Data\\FileDefinition.dat", 20);
    ScanFileDefinitions(s.ctx);
    EXPECT_EQ(s.results.removalList().size(), 1u);
    EXPECT_TRUE(s.noted("FileDefinition.dat: read error after line"));
}

TEST(UnreadableFiles, LockedCookieIsPassedOver) {
    InMemoryScan s;
    s.definitionFile(kBlockedCookiesFile, {"ads.example.com"});
    const std::string folder = s.shell.folderPath(kCookiesFolderId);
    s.files.addFile(folder + "\\alice@ads[1].txt", "ads.example.com/");
    s.files.addFile(folder + "\\alice@ads[2].txt", "ads.example.com/");
    s.files.lock(folder + "\\alice@ads[2].txt");
    int32_t items = 0;
    ScanCookies(s.ctx, items);
    EXPECT_EQ(items, 2);
    ASSERT_EQ(s.results.removalList().size(), 1u);
    EXPECT_EQ(s.results.removalList()[0].name, "Cookie: alice@ads[1].txt");
    EXPECT_TRUE(s.noted("cannot read cookie"));
}

TEST(UnreadableFiles, NotesAreCappedButCounted) {
    ScanResults r;
    for (size_t i = 0; i < ScanResults::kMaxSkippedNotes + 50; ++i) r.noteSkipped("n" + std::to_string(i));
    EXPECT_EQ(r.skippedNotes().size(), ScanResults::kMaxSkippedNotes);
    EXPECT_EQ(r.skippedCount(), ScanResults::kMaxSkippedNotes + 50);
    r.clear();
    EXPECT_EQ(r.skippedCount(), 0u);
}

}  // namespace
}  // namespace vedozer
