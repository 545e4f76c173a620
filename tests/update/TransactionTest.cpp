#include <gtest/gtest.h>

#include <filesystem>

#include "DefTestFiles.h"
#include "platform/image/ImageFileSystem.h"
#include "support/CrashAfterFileSystem.h"
#include "support/ScriptedHost.h"
#include "support/TempDir.h"
#include "update/DefinitionUpdateMerge.h"
#include "update/UpdateTransaction.h"

namespace vedozer {
namespace {

namespace fs = std::filesystem;
using test::feedRecord;
using test::joinFeed;

std::map<std::string, std::string> folderContents(const fs::path& dir) {
    std::map<std::string, std::string> m;
    for (const auto& e : fs::directory_iterator(dir)) m[e.path().filename().string()] = test::readHost(e.path());
    return m;
}

// Old files, a feed that touches four of them, and the files the merge must produce.
struct Scenario {
    std::map<std::string, std::string> before, after;
    std::string feed;
};

Scenario makeScenario(HostFileSystem& files, test::ScriptedHost& host) {
    Scenario s;
    std::vector<std::string> defs;
    for (int i = 0; i < 300; ++i) defs.push_back("entry" + std::to_string(i) + "=Spy|c:\\x");
    test::TempDir work;
    for (const char* n : {"FileDefinition.dat", "ExeDefinition.dat", "RegistryDefinition.dat", "BlockedCookies.dat",
                          "DirectoryDefinition.dat", "Safety.dat"})
        test::writeDefinitions(work.path() / n, defs);
    test::writeHost(work.path() / "date.dat", "3/16/2006\r\n");
    s.before = folderContents(work.path());
    s.feed = joinFeed({feedRecord("FILE", "DEL", "entry5"), feedRecord("EXE", "ADD", "n.exe=N|c:\\n"),
                       feedRecord("COOK", "ADD", "site.example"), feedRecord("DIR", "DEL", "entry9")});
    UpdateTransaction tx(files, work.str());
    MergeResult r = stageDefinitionUpdate(tx, files, work.str(), s.feed, host);
    EXPECT_EQ(r.count, 5);
    EXPECT_TRUE(tx.stageText("date.dat", "4/1/2006\r\n"));
    std::string error;
    EXPECT_TRUE(tx.commit(error)) << error;
    s.after = folderContents(work.path());
    return s;
}

void restore(const fs::path& dir, const std::map<std::string, std::string>& contents) {
    for (const auto& e : fs::directory_iterator(dir)) fs::remove(e.path());
    for (const auto& [name, content] : contents) test::writeHost(dir / name, content);
}

// Runs the whole update (stage, date, commit) through a file system that dies after `limit`
// changes. Returns true when it finished before dying.
bool updateUntilCrash(FileSystem& real, const std::string& folder, const std::string& feed, long long limit,
                      test::ScriptedHost& host) {
    test::CrashAfterFileSystem crashing(real, limit);
    {
        UpdateTransaction tx(crashing, folder);
        MergeResult r = stageDefinitionUpdate(tx, crashing, folder, feed, host);
        if (r.ok && tx.stageText("date.dat", "4/1/2006\r\n")) {
            std::string error;
            tx.commit(error);
        }
        // A dead program does not clean up: the transaction's destructor changes nothing now.
    }
    return !crashing.dead();
}

TEST(UpdateTransaction, ACrashAtAnyPointLeavesAllOldOrAllNew) {
    HostFileSystem files;
    test::ScriptedHost host;
    Scenario s = makeScenario(files, host);
    test::TempDir dir;
    int oldCount = 0, newCount = 0;
    for (long long limit = 0;; ++limit) {
        restore(dir.path(), s.before);
        bool finished = updateUntilCrash(files, dir.str(), s.feed, limit, host);
        // The next start: recovery, itself crashing at every point in turn, then completing.
        auto crashed = folderContents(dir.path());
        for (long long recoveryLimit = 0;; ++recoveryLimit) {
            restore(dir.path(), crashed);
            test::CrashAfterFileSystem crashingRecovery(files, recoveryLimit);
            recoverDefinitionUpdate(crashingRecovery, dir.str());
            bool recoveryFinished = !crashingRecovery.dead();
            ASSERT_NE(recoverDefinitionUpdate(files, dir.str()).action, RecoveryAction::Failed);
            auto now = folderContents(dir.path());
            ASSERT_TRUE(now == s.before || now == s.after)
                << "crash after " << limit << " changes, recovery crash after " << recoveryLimit;
            if (recoveryFinished) break;
        }
        (folderContents(dir.path()) == s.after ? newCount : oldCount)++;
        if (finished) {
            EXPECT_EQ(folderContents(dir.path()), s.after);
            break;
        }
    }
    EXPECT_GT(oldCount, 5);
    EXPECT_GE(newCount, 3) << "crashes after the commit point are completed";
}

TEST(UpdateTransaction, AJournalThatIsNotCompleteOrNamesOtherFilesCommitsNothing) {
    HostFileSystem files;
    test::TempDir dir;
    test::writeHost(dir.path() / "Safety.dat", "old");
    test::writeHost(dir.path() / "Safety.dat.upd", "new");
    test::writeHost(dir.path() / "victim.txt", "mine");
    test::writeHost(dir.path() / "victim.txt.upd", "replaced");
    for (const char* journal : {"VEDOZER UPDATE 1\r\nSafety.dat\r\n", "VEDOZER UPDATE 1\r\nSafety.dat\r\nvictim.txt\r\nCOMMIT\r\n",
                                "VEDOZER UPDATE 1\r\n..\\Safety.dat\r\nCOMMIT\r\n", "garbage"}) {
        test::writeHost(dir.path() / "update.journal", journal);
        test::writeHost(dir.path() / "Safety.dat.upd", "new");
        EXPECT_EQ(recoverDefinitionUpdate(files, dir.str()).action, RecoveryAction::RolledBack) << journal;
        EXPECT_EQ(test::readHost(dir.path() / "Safety.dat"), "old");
        EXPECT_EQ(test::readHost(dir.path() / "victim.txt"), "mine");
        EXPECT_FALSE(fs::exists(dir.path() / "Safety.dat.upd"));
        EXPECT_FALSE(fs::exists(dir.path() / "update.journal"));
    }
    EXPECT_TRUE(fs::exists(dir.path() / "victim.txt.upd")) << "files outside the update are never touched";
}

TEST(UpdateTransaction, ACompleteJournalIsRolledForward) {
    HostFileSystem files;
    test::TempDir dir;
    test::writeHost(dir.path() / "Safety.dat", "old safety");
    test::writeHost(dir.path() / "date.dat", "new date");  // already renamed before the crash
    test::writeHost(dir.path() / "Safety.dat.upd", "new safety");
    test::writeHost(dir.path() / "update.journal", "VEDOZER UPDATE 1\r\ndate.dat\r\nSafety.dat\r\nCOMMIT\r\n");
    EXPECT_EQ(recoverDefinitionUpdate(files, dir.str()).action, RecoveryAction::RolledForward);
    EXPECT_EQ(folderContents(dir.path()),
              (std::map<std::string, std::string>{{"Safety.dat", "new safety"}, {"date.dat", "new date"}}));
    EXPECT_EQ(recoverDefinitionUpdate(files, dir.str()).action, RecoveryAction::Nothing);
}

// The state a lockless start once made of an update in progress: the new FileDefinition.dat and
// ExeDefinition.dat were deleted under it, the rest was journaled. Finishing it would install half
// the changes and a date that says all of them are there.
TEST(UpdateTransaction, AJournaledFileThatWasLostRollsBackTheRestAndKeepsTheDate) {
    HostFileSystem files;
    test::TempDir dir;
    const std::map<std::string, std::string> old = {{"FileDefinition.dat", "old file\r\n"},
                                                    {"ExeDefinition.dat", "old exe\r\n"},
                                                    {"DirectoryDefinition.dat", "old dir\r\n"},
                                                    {"date.dat", "3/16/2006\r\n"}};
    for (const char* journal :
         {"VEDOZER UPDATE "
          "2\r\nFileDefinition.dat\t40\r\nExeDefinition.dat\t40\r\nDirectoryDefinition.dat\t11\r\n"
          "date.dat\t10\r\nCOMMIT\r\n",
          // An older journal without sizes: the gap before a file still waiting gives it away.
          "VEDOZER UPDATE 1\r\nDirectoryDefinition.dat\r\nFileDefinition.dat\r\ndate.dat\r\nCOMMIT\r\n"}) {
        restore(dir.path(), old);
        test::writeHost(dir.path() / "DirectoryDefinition.dat.upd", "new dir\r\n");
        test::writeHost(dir.path() / "date.dat.upd", "4/1/2006\r\n");
        test::writeHost(dir.path() / "update.journal", journal);
        RecoveryResult r = recoverDefinitionUpdate(files, dir.str());
        EXPECT_EQ(r.action, RecoveryAction::Incomplete) << journal;
        EXPECT_NE(r.error.find("FileDefinition.dat"), std::string::npos) << r.error;
        EXPECT_EQ(folderContents(dir.path()), old) << "nothing installed, date.dat not advanced";
        EXPECT_EQ(recoverDefinitionUpdate(files, dir.str()).action, RecoveryAction::Nothing);
    }
}

TEST(UpdateTransaction, ACommitWhoseStagedFileVanishedChangesNothing) {
    HostFileSystem files;
    test::TempDir dir;
    test::writeHost(dir.path() / "Safety.dat", "old safety");
    test::writeHost(dir.path() / "date.dat", "old date");
    const auto before = folderContents(dir.path());
    {
        UpdateTransaction tx(files, dir.str());
        ASSERT_TRUE(tx.stageText("date.dat", "new date"));
        ASSERT_TRUE(tx.stageText("Safety.dat", "new safety"));
        fs::remove(dir.path() / "Safety.dat.upd");
        std::string error;
        EXPECT_FALSE(tx.commit(error));
        EXPECT_NE(error.find("Safety.dat"), std::string::npos) << error;
    }
    EXPECT_EQ(folderContents(dir.path()), before);
    EXPECT_EQ(recoverDefinitionUpdate(files, dir.str()).action, RecoveryAction::Nothing);
}

}  // namespace
}  // namespace vedozer
