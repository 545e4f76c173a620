#include <gtest/gtest.h>

#include <filesystem>

#include "DefTestFiles.h"
#include "definitions/LineCodec.h"
#include "platform/image/ImageFileSystem.h"
#include "support/CrashAfterFileSystem.h"
#include "support/ScriptedHost.h"
#include "support/TempDir.h"
#include "update/DefinitionUpdateMerge.h"

namespace vedozer {
namespace {

namespace fs = std::filesystem;
using test::feedRecord;
using test::joinFeed;
using test::readDefinitions;
using test::writeDefinitions;

const std::vector<std::string> kSix = {"FileDefinition.dat",      "ExeDefinition.dat", "RegistryDefinition.dat",
                                       "BlockedCookies.dat",      "DirectoryDefinition.dat", "Safety.dat"};

class Merge : public ::testing::Test {
protected:
    test::TempDir dir;
    HostFileSystem files;
    test::ScriptedHost host;

    std::string folder() const { return dir.str(); }
    fs::path at(const std::string& name) const { return dir.path() / name; }
    MergeResult merge(const std::string& feed) { return mergeDefinitionUpdate(files, folder(), feed, host); }
    std::vector<std::string> lines(const std::string& name) const { return readDefinitions(at(name)); }
    void allSix(const std::vector<std::string>& decoded) {
        for (const auto& n : kSix) writeDefinitions(at(n), decoded);
    }
    // Every file of the folder with its content, to prove that nothing changed.
    std::map<std::string, std::string> snapshot() const {
        std::map<std::string, std::string> m;
        for (const auto& e : fs::directory_iterator(dir.path())) m[e.path().filename().string()] = test::readHost(e.path());
        return m;
    }
};

TEST_F(Merge, EmptyFeedCreatesMissingFilesAndChangesNothingElse) {
    writeDefinitions(at("FileDefinition.dat"), {"a.exe=A|c:\\x", "", " "});
    writeDefinitions(at("Safety.dat"), {"SFILE|n|c:\\n"});
    auto before = snapshot();
    MergeResult r = merge("");
    EXPECT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.count, 0);
    for (const auto& n : kSix) EXPECT_TRUE(fs::exists(at(n))) << n;
    EXPECT_EQ(test::readHost(at("FileDefinition.dat")), before["FileDefinition.dat"]);
    EXPECT_EQ(test::readHost(at("Safety.dat")), before["Safety.dat"]);
    EXPECT_EQ(fs::file_size(at("ExeDefinition.dat")), 0u);
    EXPECT_EQ(snapshot().size(), 6u) << "no scratch or journal left behind";
}

TEST_F(Merge, AddRecordsGoToTheirFilesWithTheirStoredForms) {
    allSix({"old=Old|x"});
    std::string feed = joinFeed({
        feedRecord("FILE", "ADD", "bad.dll=Bad|[windir]\\system32|Adware"),
        feedRecord("EXE", "ADD", "pop.exe=Pop|[programfiles]\\Pop"),
        feedRecord("REG", "ADD", "2^Software\\Pop^=Pop|2^Software\\Pop|Adware"),
        feedRecord("COOK", "ADD", "tracker.example.net=Tracker|ignored"),
        feedRecord("DIR", "ADD", "Pop folder=Pop|[programfiles]\\Pop|Adware"),
        feedRecord("SFILE", "ADD", "notepad.exe|[windir]\\notepad.exe"),
        feedRecord("sdir", "ADD", "Windows|[windir]"),
    });
    MergeResult r = merge(feed);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.count, 8);  // the EXE record counts for two files
    EXPECT_EQ(lines("FileDefinition.dat"),
              (std::vector<std::string>{"old=Old|x", "bad.dll=Bad|[windir]\\system32|Adware", "pop.exe=Pop|[programfiles]\\Pop"}));
    EXPECT_EQ(lines("ExeDefinition.dat"), (std::vector<std::string>{"old=Old|x", "pop.exe=Pop|[programfiles]\\Pop"}));
    EXPECT_EQ(lines("RegistryDefinition.dat"), (std::vector<std::string>{"old=Old|x", "2^Software\\Pop^=Pop|Adware"}));
    EXPECT_EQ(lines("BlockedCookies.dat"), (std::vector<std::string>{"old=Old|x", "tracker.example.net"}));
    EXPECT_EQ(lines("DirectoryDefinition.dat"), (std::vector<std::string>{"old=Old|x", "Pop folder=Pop|[programfiles]\\Pop|Adware"}));
    EXPECT_EQ(lines("Safety.dat"), (std::vector<std::string>{"old=Old|x", "SFILE|notepad.exe|[windir]\\notepad.exe",
                                                             "sdir|Windows|[windir]"}));
    EXPECT_EQ(host.lastUpdateText(UpdatePhase::Applying), "Applying new updates...");
}

TEST_F(Merge, OneFileRecordCountsOneAndAnExeRecordTwo) {
    EXPECT_EQ(merge(feedRecord("FILE", "ADD", "a.exe=A|c:\\a")).count, 1);
    EXPECT_EQ(lines("FileDefinition.dat").size(), 1u);
    EXPECT_EQ(merge(feedRecord("EXE", "ADD", "b.exe=B|c:\\b")).count, 2);
    EXPECT_EQ(lines("FileDefinition.dat").size(), 2u);
    EXPECT_EQ(lines("ExeDefinition.dat"), (std::vector<std::string>{"b.exe=B|c:\\b"}));
}

TEST_F(Merge, AppendedRecordsNeverJoinALastLineWithoutLineEnd) {
    test::writeHost(at("BlockedCookies.dat"), EncodeDefinitionLine("first.example") + "\r\n" + EncodeDefinitionLine("last.example"));
    ASSERT_EQ(merge(feedRecord("COOK", "ADD", "new.example")).count, 1);
    EXPECT_EQ(lines("BlockedCookies.dat"), (std::vector<std::string>{"first.example", "last.example", "new.example"}));
}

TEST_F(Merge, AddThenDelOfTheSameKeyRemovesEveryLineWithThatKey) {
    writeDefinitions(at("FileDefinition.dat"), {"k.exe=Old|c:\\1", "other.exe=O|c:\\2", "K.EXE=Older|c:\\3"});
    MergeResult r = merge(joinFeed({feedRecord("FILE", "ADD", "k.exe=New|c:\\4"), feedRecord("FILE", "DEL", "k.exe=New|c:\\4")}));
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.count, 2);
    EXPECT_EQ(lines("FileDefinition.dat"), (std::vector<std::string>{"other.exe=O|c:\\2"}));
}

TEST_F(Merge, ABareKeyDelFollowedByAnAddOfThatKeyIsCancelled) {
    writeDefinitions(at("RegistryDefinition.dat"), {"2^Software\\Pop^=Pop|Adware"});
    MergeResult r = merge(joinFeed({feedRecord("REG", "DEL", "2^Software\\Pop^"),
                                    feedRecord("REG", "ADD", "2^Software\\Pop^=Pop2|2^Software\\Pop|Adware")}));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.count, 1) << "no removal pass runs";
    EXPECT_EQ(lines("RegistryDefinition.dat"), (std::vector<std::string>{"2^Software\\Pop^=Pop|Adware", "2^Software\\Pop^=Pop2|Adware"}));
}

TEST_F(Merge, EveryDelEntryOfAKindIsApplied) {
    writeDefinitions(at("ExeDefinition.dat"), {"a.exe=A|x", "b.exe=B|x", "c.exe=C|x", "d.exe=D|x"});
    writeDefinitions(at("FileDefinition.dat"), {"a.exe=A|x", "b.exe=B|x", "c.exe=C|x"});
    writeDefinitions(at("BlockedCookies.dat"), {"one.example", "two.example", "three.example"});
    MergeResult r = merge(joinFeed({feedRecord("EXE", "DEL", "a.exe=A|x"), feedRecord("EXE", "DEL", "c.exe"),
                                    feedRecord("COOK", "DEL", "two.example"), feedRecord("COOK", "DEL", "THREE.example=x")}));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.count, 3) << "one removal pass each for the file, executable and cookie lists";
    EXPECT_EQ(lines("ExeDefinition.dat"), (std::vector<std::string>{"b.exe=B|x", "d.exe=D|x"}));
    EXPECT_EQ(lines("FileDefinition.dat"), (std::vector<std::string>{"b.exe=B|x"}));
    EXPECT_EQ(lines("BlockedCookies.dat"), (std::vector<std::string>{"one.example"}));
}

TEST_F(Merge, KeysMatchWithoutRegardToCase) {
    writeDefinitions(at("DirectoryDefinition.dat"), {"POP FOLDER=Pop|c:\\pop", "keep=K|c:\\k"});
    ASSERT_EQ(merge(feedRecord("DIR", "DEL", "pop folder")).count, 1);
    EXPECT_EQ(lines("DirectoryDefinition.dat"), (std::vector<std::string>{"keep=K|c:\\k"}));
}

TEST_F(Merge, SafeListEntriesAreRemovedByTheirWholeKey) {
    writeDefinitions(at("Safety.dat"), {"SFILE|notepad.exe|[windir]\\notepad.exe", "SDIR|Windows|[windir]"});
    // The key travels as one encoded field, its "|" encoded too.
    std::string rec = EncodeDefinitionLine("SFILE") + "|DEL[DEF]" + EncodeDefinitionLine("SFILE|notepad.exe|[windir]\\notepad.exe");
    ASSERT_EQ(merge(rec).count, 1);
    EXPECT_EQ(lines("Safety.dat"), (std::vector<std::string>{"SDIR|Windows|[windir]"}));
}

TEST_F(Merge, BlankLinesGoOnlyFromFilesWithARemovalPass) {
    writeDefinitions(at("FileDefinition.dat"), {"a=A|x", "", " ", "b=B|x"});
    writeDefinitions(at("ExeDefinition.dat"), {"a=A|x", "", " ", "b=B|x"});
    ASSERT_EQ(merge(joinFeed({feedRecord("FILE", "DEL", "b"), feedRecord("DLL", "ADD", "c=C|x")})).count, 2);
    EXPECT_EQ(lines("FileDefinition.dat"), (std::vector<std::string>{"a=A|x", "c=C|x"}));
    EXPECT_EQ(lines("ExeDefinition.dat"), (std::vector<std::string>{"a=A|x", "", " ", "b=B|x"}));
}

TEST_F(Merge, RecordSeparatorIgnoresCaseAndPayloadSeparatorDoesNot) {
    std::string feed = feedRecord("COOK", "ADD", "one.example") + "[br]  " + feedRecord("COOK", "ADD", "two.example") + "  [Br]";
    EXPECT_EQ(merge(feed).count, 2);
    EXPECT_EQ(lines("BlockedCookies.dat"), (std::vector<std::string>{"one.example", "two.example"}));

    auto before = snapshot();
    MergeResult bad = merge(EncodeDefinitionLine("COOK") + "|ADD[def]" + EncodeDefinitionLine("three.example"));
    EXPECT_FALSE(bad.ok) << "a cookie record without [DEF] cannot be applied";
    EXPECT_EQ(bad.count, 0);
    EXPECT_NE(bad.error.find("[DEF]"), std::string::npos) << bad.error;
    EXPECT_EQ(snapshot(), before);
}

TEST_F(Merge, OnlyUpperCaseActionsCount) {
    EXPECT_EQ(merge(joinFeed({feedRecord("FILE", "add", "a=A|x"), feedRecord("FILE", "Del", "b"),
                              feedRecord("FILE", "MOVE", "c=C|x")})).count, 0);
    EXPECT_TRUE(lines("FileDefinition.dat").empty());
}

TEST_F(Merge, HeaderExtrasAndTextAfterASecondDefAreIgnored) {
    std::string rec = EncodeDefinitionLine("COOK") + "|ADD|whatever[DEF]" + EncodeDefinitionLine("site.example") + "[DEF]junk";
    EXPECT_EQ(merge(rec).count, 1);
    EXPECT_EQ(lines("BlockedCookies.dat"), (std::vector<std::string>{"site.example"}));
    // Records of no kind are skipped, however malformed.
    EXPECT_EQ(merge(joinFeed({"garbage without structure", EncodeDefinitionLine("XYZ") + "|ADD"})).count, 0);
}

TEST_F(Merge, AMalformedRecordLeavesEveryFileAsItWas) {
    allSix({"keep=K|x"});
    auto before = snapshot();
    // The registry record lacks its fields; the file and executable records before it must
    // not be installed on their own.
    MergeResult r = merge(joinFeed({feedRecord("EXE", "ADD", "new.exe=N|x"), feedRecord("REG", "ADD", "2^Software\\X^=X")}));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.count, 0);
    EXPECT_NE(r.error.find("RegistryDefinition.dat"), std::string::npos) << r.error;
    EXPECT_EQ(snapshot(), before);
    EXPECT_FALSE(merge(EncodeDefinitionLine("DIR") + "[DEF]" + test::feedPayload("a=b|c")).ok) << "no action";
    EXPECT_EQ(snapshot(), before);
}

TEST_F(Merge, ALeftoverScratchFileIsDiscardedNotMerged) {
    writeDefinitions(at("BlockedCookies.dat"), {"a.example", "b.example"});
    writeDefinitions(at("temp.dat"), {"stale.example"});
    writeDefinitions(at("BlockedCookies.dat.upd"), {"half written"});
    ASSERT_EQ(merge(feedRecord("COOK", "DEL", "a.example")).count, 1);
    EXPECT_EQ(lines("BlockedCookies.dat"), (std::vector<std::string>{"b.example"}));
    EXPECT_FALSE(fs::exists(at("temp.dat")));
    EXPECT_FALSE(fs::exists(at("BlockedCookies.dat.upd")));
}

TEST_F(Merge, ARetryAfterAnErrorWritesNothingTwice) {
    std::string feed = joinFeed({feedRecord("FILE", "ADD", "a=A|x"), feedRecord("FILE", "ADD", "b=B|x"),
                                 feedRecord("COOK", "ADD", "c.example"), feedRecord("COOK", "DEL", "old.example")});
    writeDefinitions(at("BlockedCookies.dat"), {"old.example"});
    // Fail each changing operation in turn, once: every run must end with the same files.
    std::map<std::string, std::string> expected;
    {
        test::TempDir clean;
        writeDefinitions(clean.path() / "BlockedCookies.dat", {"old.example"});
        ASSERT_EQ(mergeDefinitionUpdate(files, clean.str(), feed, host).count, 4);
        for (const auto& n : kSix) expected[n] = test::readHost(clean.path() / n);
    }
    auto original = snapshot();
    for (long long failAt = 0;; ++failAt) {
        for (const auto& e : fs::directory_iterator(dir.path())) fs::remove(e.path());
        for (const auto& [name, content] : original) test::writeHost(at(name), content);
        test::FailOnceFileSystem faulty(files, failAt);
        MergeResult r = mergeDefinitionUpdate(faulty, folder(), feed, host);
        if (!faulty.failed()) break;  // every operation has been failed once
        ASSERT_TRUE(recoverDefinitionUpdate(files, folder()).action != RecoveryAction::Failed);
        // A failure in the staging is absorbed by the retry; one in the commit leaves the old
        // files, or the new ones once the commit point was passed (recovery completes them).
        bool allNew = true, allOld = true;
        for (const auto& n : kSix) {
            std::string now = test::readHost(at(n));
            allNew = allNew && now == expected[n];
            allOld = allOld && (original.count(n) ? now == original[n] : !fs::exists(at(n)));
        }
        if (r.ok) {
            EXPECT_EQ(r.count, 4) << "fail at " << failAt;
            EXPECT_TRUE(allNew) << "fail at " << failAt;
        } else {
            EXPECT_TRUE(allNew || allOld) << "fail at " << failAt;
        }
        EXPECT_EQ(snapshot().size(), allOld ? original.size() : 6u) << "fail at " << failAt;
    }
}

TEST_F(Merge, RemovalPassReportsProgressEveryHundredLines) {
    std::vector<std::string> many;
    for (int i = 0; i < 250; ++i) many.push_back("f" + std::to_string(i) + "=F|x");
    writeDefinitions(at("FileDefinition.dat"), many);
    ASSERT_EQ(merge(feedRecord("FILE", "DEL", "f7")).count, 1);
    std::vector<std::string> progress;
    for (const auto& u : host.updateProgress)
        if (u.phase == UpdatePhase::Pruning) progress.push_back(u.text);
    EXPECT_EQ(progress, (std::vector<std::string>{"Removing outdated definitions: checking entry 100",
                                                  "Removing outdated definitions: checking entry 200"}));
    EXPECT_EQ(lines("FileDefinition.dat").size(), 249u);
    EXPECT_GE(host.yields(), 8);
}

TEST_F(Merge, LinesKeepTheirBytesThroughARemovalPass) {
    // Lone CR and LF bytes belong to a line; only CR LF ends one.
    test::writeHost(at("FileDefinition.dat"), "odd\rline\nhere\r\n" + EncodeDefinitionLine("x=X|y") + "\r\n" +
                                                  EncodeDefinitionLine("last=L|z"));
    ASSERT_EQ(merge(feedRecord("FILE", "DEL", "x")).count, 1);
    EXPECT_EQ(test::readHost(at("FileDefinition.dat")), "odd\rline\nhere\r\n" + EncodeDefinitionLine("last=L|z") + "\r\n");
}

TEST_F(Merge, ARecordThatWouldBreakTheFilesRefusesTheWholeFeed) {
    allSix({"keep=K|x"});
    auto before = snapshot();
    const std::string good = feedRecord("COOK", "ADD", "fine.example");
    // A line end inside a payload would make a second definition line out of the rest.
    const std::string split = EncodeDefinitionLine("FILE") + "|ADD[DEF]" + test::feedPayload("a.exe=A|x") + "\r\n" +
                              EncodeDefinitionLine("evil.exe=Evil|[windir]");
    // Decoded control characters are no part of any definition (the server never sends them).
    const std::string control = feedRecord("FILE", "ADD", "b\x01.exe=B|x");
    const std::string controlType = EncodeDefinitionLine("COOK\n") + "|ADD[DEF]" + test::feedPayload("x.example");
    for (const std::string& bad : {split, control, controlType}) {
        MergeResult r = merge(joinFeed({good, bad}));
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.count, 0);
        EXPECT_NE(r.error.find("record 2"), std::string::npos) << r.error;
        EXPECT_EQ(snapshot(), before);
    }
    // Lone CR and LF bytes are characters of an encoded field ("\xCC" and "\xC9" decoded).
    MergeResult r = merge(feedRecord("FILE", "ADD", "caf\xC9\xCC.exe=Caf\xC9|x"));
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(lines("FileDefinition.dat"), (std::vector<std::string>{"keep=K|x", "caf\xC9\xCC.exe=Caf\xC9|x"}));
}

}  // namespace
}  // namespace vedozer
