// Instances that share data or an installation: the lock is the data folder's and the image's,
// whatever configuration folder each instance reads.
#include <gtest/gtest.h>

#include <thread>

#include "cli/CliRun.h"
#include "platform/image/FileInstanceLock.h"

namespace vedozer {
namespace {

struct SharedData : Demo {
    std::string removal(const fs::path& data, const std::string& config) const {
        return "--target " + quote(c().string()) + " --data-dir " + quote(data.string()) + " --config-dir " +
               quote((dir.path() / config).string()) + " scan --remove --yes -q";
    }
    // Everything the quarantine holds goes back, and the image is as the demo built it.
    void expectNothingLost() {
        CliRun list = run(globals + " quarantine list");
        EXPECT_EQ(list.err.find("warning"), std::string::npos) << list.err;
        CliRun restored = run(globals + " quarantine restore --all");
        EXPECT_EQ(restored.code, 0) << restored.out << restored.err;
        EXPECT_EQ(test::readHostFile(c() / "Program Files/AdBuddy/adbuddy.exe"), "MZ AdBuddy toolbar");
        EXPECT_EQ(run(globals + " scan -q").out, m_found) << "what the removals took is all back";
    }
    void SetUp() override {
        Demo::SetUp();
        m_found = run(globals + " scan -q").out;
        ASSERT_FALSE(m_found.empty());
    }
    std::string m_found;
};

TEST_F(SharedData, ALockHeldOnTheDataFolderOrTheImageRefusesAnotherConfiguration) {
    {
        FileInstanceLock other(root / "data");
        ASSERT_TRUE(other.acquire("Vedozer Anti-Spyware"));
        CliRun refused = run(removal(root / "data", "elsewhere"));
        EXPECT_EQ(refused.code, 2) << refused.out;
        EXPECT_NE(refused.err.find("another instance"), std::string::npos) << refused.err;
        EXPECT_TRUE(fs::exists(c() / "Program Files/AdBuddy/adbuddy.exe"));
    }
    {
        // Another data folder, the same installation: its hives are another instance's to change.
        FileInstanceLock other(dir.path() / "other-data", c());
        ASSERT_TRUE(other.acquire("Vedozer Anti-Spyware"));
        CliRun refused = run(removal(dir.path() / "third-data", "elsewhere"));
        EXPECT_EQ(refused.code, 2) << refused.out;
        EXPECT_NE(refused.err.find("Windows installation"), std::string::npos) << refused.err;
        EXPECT_TRUE(fs::exists(c() / "Program Files/AdBuddy/adbuddy.exe"));
    }
}

TEST_F(SharedData, TwoRemovalsStartedTogetherNeverShareIdsOrLoseAFile) {
    CliRun first, second;
    std::thread other([&] { first = run(removal(root / "data", "one")); });
    second = run(removal(root / "data", "two"));
    other.join();
    // One removed everything; the other was refused, or came after and found nothing.
    for (const CliRun* r : {&first, &second})
        EXPECT_TRUE(r->code == 0 || (r->code == 2 && r->err.find("another instance") != std::string::npos))
            << r->code << " " << r->out << r->err;
    EXPECT_FALSE(fs::exists(c() / "Program Files/AdBuddy/adbuddy.exe"));
    expectNothingLost();
}

}  // namespace
}  // namespace vedozer
