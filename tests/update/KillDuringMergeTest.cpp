// SIGKILL of a process in the middle of a large definition update, at random moments.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <thread>

#include "DefTestFiles.h"
#include "platform/image/ImageFileSystem.h"
#include "support/ScriptedHost.h"
#include "support/TempDir.h"
#include "update/DefinitionUpdateMerge.h"
#include "update/UpdateTransaction.h"

namespace vedozer {
namespace {

namespace fs = std::filesystem;
using Contents = std::map<std::string, std::string>;

const char* const kNewDate = "7/1/2006 8:00:00 AM\r\n";

Contents folderContents(const fs::path& dir) {
    Contents m;
    for (const auto& e : fs::directory_iterator(dir)) m[e.path().filename().string()] = test::readHost(e.path());
    return m;
}

void restore(const fs::path& dir, const Contents& contents) {
    for (const auto& e : fs::directory_iterator(dir)) fs::remove(e.path());
    for (const auto& [name, content] : contents) test::writeHost(dir / name, content);
}

// The update as Live Update runs it: stage the feed, stage date.dat, commit.
bool runUpdate(const std::string& folder, const std::string& feed) {
    HostFileSystem files;
    test::ScriptedHost host;
    UpdateTransaction tx(files, folder);
    MergeResult r = stageDefinitionUpdate(tx, files, folder, feed, host);
    if (!r.ok || !tx.stageText("date.dat", kNewDate)) return false;
    std::string error;
    return tx.commit(error);
}

TEST(KillDuringMerge, EveryFileIsEntirelyOldOrEntirelyNewAndAllAgree) {
    const int kLines = 60000;
    const char* names[] = {"FileDefinition.dat", "ExeDefinition.dat", "RegistryDefinition.dat",
                           "BlockedCookies.dat", "DirectoryDefinition.dat", "Safety.dat"};
    const char* types[] = {"FILE", "EXE", "REG", "COOK", "DIR", "SFILE"};
    test::TempDir reference;
    for (const char* n : names) {
        std::vector<std::string> lines;
        for (int i = 0; i < kLines; ++i) lines.push_back(std::string(n).substr(0, 4) + std::to_string(i) + ".exe=Spyware " + std::to_string(i) + "|[windir]\\system32|Adware");
        test::writeDefinitions(reference.path() / n, lines);
    }
    test::writeHost(reference.path() / "date.dat", "3/16/2006\r\n");
    std::vector<std::string> records;
    for (int i = 0; i < 12000; ++i) {
        int k = i % 6;
        std::string key = std::string(names[k]).substr(0, 4) + std::to_string(i * 5 % kLines) + ".exe";
        if (i % 3 == 0)
            records.push_back(test::feedRecord(types[k], "DEL", key));
        else if (k == 2)
            records.push_back(test::feedRecord("REG", "ADD", "2^Software\\N" + std::to_string(i) + "^=N|2^Software\\N" + std::to_string(i) + "|Adware"));
        else
            records.push_back(test::feedRecord(types[k], "ADD", "new" + std::to_string(i) + ".exe=New|[windir]|Adware"));
    }
    const std::string feed = test::joinFeed(records);
    const Contents before = folderContents(reference.path());

    auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(runUpdate(reference.str(), feed));
    const double updateSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const Contents after = folderContents(reference.path());
    for (const char* n : names) ASSERT_NE(before.at(n), after.at(n)) << n << " must change for the test to mean anything";

    test::TempDir dir;
    // The moments are spread over the time a child process takes from fork to its end.
    double childSeconds = 0;
    for (int i = 0; i < 2; ++i) {
        restore(dir.path(), before);
        auto forked = std::chrono::steady_clock::now();
        pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) ::_exit(runUpdate(dir.str(), feed) ? 0 : 3);
        int status = 0;
        ::waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        childSeconds = std::max(childSeconds, std::chrono::duration<double>(std::chrono::steady_clock::now() - forked).count());
        ASSERT_EQ(folderContents(dir.path()), after);
    }
    const unsigned seed = std::random_device{}();
    std::printf("seed %u\n", seed);
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> moment(0.0, childSeconds * 1.05);
    HostFileSystem files;
    int consistent = 0, endedOld = 0, endedNew = 0, rolledForward = 0, rolledBack = 0, killed = 0;
    const int kRuns = 50;
    for (int run = 0; run < kRuns; ++run) {
        restore(dir.path(), before);
        double delay = moment(rng);
        // The child says when the update starts; the random moment counts from there.
        int started[2];
        ASSERT_EQ(::pipe(started), 0);
        pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::close(started[0]);
            char go = 'g';
            if (::write(started[1], &go, 1) != 1) ::_exit(4);
            ::_exit(runUpdate(dir.str(), feed) ? 0 : 3);
        }
        ::close(started[1]);
        char go = 0;
        ASSERT_EQ(::read(started[0], &go, 1), 1);
        ::close(started[0]);
        std::this_thread::sleep_for(std::chrono::duration<double>(delay));
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        killed += WIFSIGNALED(status);

        // The next start.
        RecoveryResult recovered = recoverDefinitionUpdate(files, dir.str());
        if (recovered.action == RecoveryAction::RolledForward) ++rolledForward;
        if (recovered.action == RecoveryAction::RolledBack) ++rolledBack;
        Contents now = folderContents(dir.path());
        bool allOld = now == before, allNew = now == after;
        if (allOld || allNew) {
            ++consistent;
            (allOld ? endedOld : endedNew)++;
        } else {
            for (const auto& [name, content] : now) {
                const char* state = before.count(name) && content == before.at(name) ? "old"
                                    : after.count(name) && content == after.at(name)  ? "new"
                                                                                       : "neither";
                ADD_FAILURE() << "run " << run << " (kill after " << delay << " s): " << name << " is " << state;
            }
        }
    }
    std::printf("%d of %d: after SIGKILL at random moments of a %.3f s update (%.3f s in a child), every file "
                "entirely old or entirely new and all agree (%d old, %d new; %d killed before the end; recovery "
                "completed %d, discarded %d; seed %u)\n",
                consistent, kRuns, updateSeconds, childSeconds, endedOld, endedNew, killed, rolledForward, rolledBack,
                seed);
    EXPECT_EQ(consistent, kRuns);
    // The kills must land inside the updates, or the test proves nothing.
    EXPECT_GE(killed, kRuns / 4) << "seed " << seed;
    EXPECT_GE(rolledForward + rolledBack, 1) << "no kill left an update half done; seed " << seed;
}

}  // namespace
}  // namespace vedozer
