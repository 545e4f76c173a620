// The command line's own rules, without running the program.
#include <gtest/gtest.h>

#include <regex>

#include "cli/CommandLine.h"
#include "cli/Json.h"
#include "cli/TargetAdvice.h"
#include "cli/Terminal.h"
#include "support/TempDir.h"

namespace vedozer::cli {
namespace {

TEST(CommandLine, TheCommandIsTheFirstWordThatIsNoOptionValue) {
    const std::vector<std::string> valued = {"--target", "--data-dir"};
    EXPECT_EQ(commandWord({"--target", "scan", "info", "-q"}, valued), "info");
    EXPECT_EQ(commandWord({"--target=/x", "scna"}, valued), "scna");
    EXPECT_EQ(commandWord({"--version"}, valued), "");
    EXPECT_EQ(commandWord({"--", "-odd"}, valued), "-odd");
    std::string said = unknownCommandMessage("quarantien", {"scan", "quarantine", "info"});
    EXPECT_EQ(said.rfind("there is no command \"quarantien\"; did you mean \"quarantine\"?", 0), 0u) << said;
    EXPECT_EQ(unknownCommandMessage("zzzzzz", {"scan"}).find("did you mean"), std::string::npos);
    EXPECT_EQ(unknownCommandMessage("a\x1b[2Jb", {"scan"}).find('\x1b'), std::string::npos);
}

TEST(Terminal, ControlCharactersOfUntrustedTextAreShownEscaped) {
    EXPECT_EQ(shown("caf\xE9 \x1b]0;x\x07"), "caf\xC3\xA9 \\x1B]0;x\\x07");
    EXPECT_EQ(shown("\x9d\x80"), "\\x9D\xE2\x82\xAC");  // an undefined byte is a C1 control; 0x80 is the euro sign
    EXPECT_EQ(shownUtf8("/tmp/\xC2\x9B" "1m\tok\xC3\xA9"), "/tmp/\\x9B1m\\x09ok\xC3\xA9");
    EXPECT_EQ(shownUtf8("bad\xFF" "byte"), "bad\xC3\xBF" "byte");
}

TEST(Json, TimesCarryTheirOffsetAndStringsAreEscaped) {
    std::regex iso(R"(\d{4}-\d{2}-\d{2}T\d{2}:\d{2}:\d{2}[+-]\d{2}:\d{2})");
    EXPECT_TRUE(std::regex_match(isoLocalTime(LocalTime{2026, 3, 4, 10, 5, 0}), iso));
    EXPECT_EQ(isoLocalTime(LocalTime{2026, 3, 4, 10, 5, 0}).substr(0, 19), "2026-03-04T10:05:00");
    EXPECT_FALSE(isoFromGeneralDate("Never"));
    EXPECT_EQ(isoFromGeneralDate("3/16/2006 1:02:03 PM")->substr(0, 19), "2006-03-16T13:02:03");
    EXPECT_EQ(jsonString("a\"\\\x01\xE9"), "\"a\\\"\\\\\\u0001\xC3\xA9\"");
}

TEST(TargetAdvice, TheNearestDriveRootAboveOrBelow) {
    test::TempDir dir;
    dir.write("image/C/WINDOWS/System32/config/.keep", "");
    dir.write("image/C/Users/bob/.keep", "");
    const std::string c = (dir.path() / "image/C").string();
    EXPECT_EQ(nearestDriveRoot(c), c);
    EXPECT_EQ(nearestDriveRoot(c + "/WINDOWS/System32"), c);
    EXPECT_EQ(nearestDriveRoot((dir.path() / "image").string()), c);
    EXPECT_EQ(nearestDriveRoot(dir.str()), c);
    EXPECT_EQ(adviceForTarget(c), "") << "the right folder needs no advice";
    EXPECT_NE(adviceForTarget(dir.str()).find("try: --target '" + c + "'"), std::string::npos);
    dir.write("empty/readme.txt", "");
    EXPECT_EQ(nearestDriveRoot((dir.path() / "empty").string()), "") << "a sibling is no drive root of it";
}

}  // namespace
}  // namespace vedozer::cli
