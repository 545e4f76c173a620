// The one codec and the one case rule, checked over every byte of the code page.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>

#include "text/CodePage.h"
#include "text/Text.h"

namespace vedozer {
namespace {

// The upper-case partner of each lower-case letter of Windows-1252, as Windows' ANSI functions
// have them; every byte not named here is its own upper and lower case.
std::map<int, int> letterPairs() {
    std::map<int, int> lowerToUpper;
    for (int c = 'a'; c <= 'z'; ++c) lowerToUpper[c] = c - 0x20;
    for (int c = 0xE0; c <= 0xFE; ++c)
        if (c != 0xF7) lowerToUpper[c] = c - 0x20;
    lowerToUpper[0x9A] = 0x8A;  // s caron
    lowerToUpper[0x9C] = 0x8C;  // oe
    lowerToUpper[0x9E] = 0x8E;  // z caron
    lowerToUpper[0xFF] = 0x9F;  // y diaeresis
    return lowerToUpper;
}

TEST(CaseRule, EveryByteOfTheCodePage) {
    const auto pairs = letterPairs();
    std::map<int, int> upperToLower;
    for (auto [lower, upper] : pairs) upperToLower[upper] = lower;
    for (int b = 0; b < 256; ++b) {
        const char c = static_cast<char>(b);
        const int up = pairs.count(b) ? pairs.at(b) : b;
        const int down = upperToLower.count(b) ? upperToLower.at(b) : b;
        EXPECT_EQ(static_cast<unsigned char>(text::upperChar(c)), up) << b;
        EXPECT_EQ(static_cast<unsigned char>(text::lowerChar(c)), down) << b;
        EXPECT_TRUE(text::iequals(std::string(1, c), std::string(1, static_cast<char>(up)))) << b;
        // The same rule on the character: upper-casing its UTF-8 form gives the UTF-8 of the upper byte.
        std::string utf8 = text::cp1252ToUtf8(std::string(1, c));
        EXPECT_EQ(text::foldUtf8(utf8), text::cp1252ToUtf8(std::string(1, static_cast<char>(up)))) << b;
    }
    // Not letters, or letters without a partner in the code page.
    for (int b : {0xD7, 0xF7, 0xDF, 0xB5, 0xAA, 0xBA})
        EXPECT_EQ(static_cast<unsigned char>(text::upperChar(static_cast<char>(b))), b) << b;
}

TEST(CaseRule, NamesWithAccentsMatchWithoutRegardToCase) {
    EXPECT_TRUE(text::iequals("\xDC" "berwacher.exe", "\xFC" "berwacher.EXE"));
    EXPECT_EQ(text::toUpper("fran\xE7" "ais \x9C\x9A\x9E\xFF"), "FRAN\xC7" "AIS \x8C\x8A\x8E\x9F");
    EXPECT_EQ(text::toLower("\xC9T\xC9"), "\xE9t\xE9");
    EXPECT_EQ(text::ifind("C:\\PROGRAMME\\\xDC" "BERWACHER\\x.exe", "\xFC" "berwacher"), 13u);
    EXPECT_FALSE(text::iequals("Espa\xF1ol", "ESPANOL"));
    // UTF-8 names fold by character, never by byte: U+00DC and U+00CC share a lead byte only.
    EXPECT_EQ(text::foldUtf8("\xC3\x9C" "ber"), text::foldUtf8("\xC3\xBC" "BER"));
    EXPECT_NE(text::foldUtf8("\xC3\x9C"), text::foldUtf8("\xC3\x8C"));
    EXPECT_EQ(text::foldUtf8("\xD0\xB6"), "\xD0\xB6");  // outside the code page: as it is
    // A name an old disk holds in the code page itself matches its UTF-8 spelling.
    EXPECT_EQ(text::foldUtf8("caf\xE9"), text::foldUtf8("CAF\xC3\x89"));
}

TEST(CodePage, EveryByteRoundTripsThroughUtf8) {
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        std::string utf8 = text::cp1252ToUtf8(one);
        EXPECT_EQ(text::utf8ToCp1252(utf8), one) << b;
        size_t at = 0;
        auto cp = text::nextUtf8(utf8, at);
        ASSERT_TRUE(cp) << b;
        EXPECT_EQ(at, utf8.size()) << b;
        EXPECT_EQ(*cp, text::codePointOf(static_cast<unsigned char>(b))) << b;
        EXPECT_EQ(text::byteOf(*cp), static_cast<unsigned char>(b)) << b;
    }
    EXPECT_EQ(text::cp1252ToUtf8("\x80"), "\xE2\x82\xAC");  // euro sign
    EXPECT_EQ(text::cp1252ToUtf8("\x9F"), "\xC5\xB8");      // Y diaeresis
    EXPECT_EQ(text::utf8ToCp1252("\xE4\xB8\xAD x"), "? x");  // no code-page form
    EXPECT_EQ(text::utf8ToCp1252("a\xE9" "b"), "a\xE9" "b");  // not UTF-8: taken as the code page
    EXPECT_FALSE(text::byteOf(0x4E2D));
}

TEST(UntrustedText, EveryControlByteIsEscapedAndNothingElse) {
    for (int b = 0; b < 256; ++b) {
        std::string one(1, static_cast<char>(b));
        bool control = b < 0x20 || b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", b);
        EXPECT_EQ(text::escapeControls(one), control ? std::string(hex) : one) << b;
    }
}

TEST(UntrustedText, AMistypedWordFindsItsNearestCandidate) {
    const std::vector<std::string> commands = {"scan", "info", "quarantine", "exclude", "settings"};
    EXPECT_EQ(text::closestMatch("sacn", commands), "scan");
    EXPECT_EQ(text::closestMatch("SETTING", commands), "settings");
    EXPECT_EQ(text::closestMatch("quar", commands), "quarantine");
    EXPECT_EQ(text::closestMatch("frobnicate", commands), "");
    EXPECT_EQ(text::closestMatch("", commands), "");
}

}  // namespace
}  // namespace vedozer
