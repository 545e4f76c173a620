#include "platform/image/HiveText.h"

#include <gtest/gtest.h>

#include "platform/Registry.h"

namespace vedozer {
namespace {

using namespace hivetext;

TEST(HiveText, CodePageAndUtf8RoundTripEveryByte) {
    for (int c = 1; c < 256; ++c) {
        const std::string one(1, static_cast<char>(c));
        EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(one)), one) << c;
        EXPECT_EQ(utf16leToCp1252(cp1252ToUtf16le(one)), one) << c;
    }
    EXPECT_EQ(cp1252ToUtf8("\x80"), "\xE2\x82\xAC");  // euro sign
    EXPECT_EQ(cp1252ToUtf8("\xE9"), "\xC3\xA9");
    EXPECT_EQ(utf8ToCp1252("\xC5\x93"), "\x9C");          // oe ligature
    EXPECT_EQ(utf8ToCp1252("\xE4\xB8\xAD x"), "? x");    // no code-page form
    EXPECT_EQ(utf8ToCp1252("a\xFF" "b"), "a\xFF" "b");     // not UTF-8: taken as the code page
    EXPECT_EQ(utf8ToCp1252("\xC3"), "\xC3");               // cut sequence, likewise
}

TEST(HiveText, Utf16Data) {
    EXPECT_EQ(cp1252ToUtf16le(std::string("A\xE9\x80\0", 4)), std::string("A\0\xE9\0\xAC\x20\0\0", 8));
    EXPECT_EQ(utf16leToCp1252(std::string("h\0i\0\0\0", 6)), std::string("hi\0", 3));
    EXPECT_EQ(utf16leToCp1252(std::string("\x3D\xD8\x00\xDE!\0", 6)), "?!");  // a surrogate pair is one character
    EXPECT_EQ(utf16leToCp1252(std::string("a\0b", 3)), "a");                 // odd final byte dropped
}

TEST(HiveText, FoldingMatchesCaseOfTheCodePageLetters) {
    EXPECT_EQ(foldCp1252("Software\\Run"), foldCp1252("SOFTWARE\\run"));
    EXPECT_EQ(foldCp1252("Gr\xF6\xDF" "e"), foldCp1252("GR\xD6\xDF" "E"));
    EXPECT_EQ(foldCp1252("\xFF"), foldCp1252("\x9F"));  // y diaeresis
    EXPECT_EQ(foldCp1252("\x9A\x9C\x9E"), foldCp1252("\x8A\x8C\x8E"));
    EXPECT_NE(foldCp1252("\xF7"), foldCp1252("\xD7"));  // division and multiplication signs are not letters
    EXPECT_NE(foldCp1252("stra\xDF" "e"), foldCp1252("STRASSE"));
    EXPECT_NE(foldCp1252("a"), foldCp1252("b"));
    for (int c = 1; c < 256; ++c) {
        const std::string one(1, static_cast<char>(c));
        EXPECT_EQ(foldUtf8(cp1252ToUtf8(one)), foldCp1252(one)) << c;
    }
    // A name without a code-page form never matches the "?" it reads as.
    EXPECT_NE(foldUtf8("\xE4\xB8\xAD"), foldCp1252("?"));
}

TEST(HiveText, ValueDataConvertsOnlyStringTypes) {
    const std::string text("ab\0", 3);
    for (uint32_t type : {1u, 2u, 7u}) {
        EXPECT_TRUE(isStringType(type));
        EXPECT_EQ(dataToHive(type, text), std::string("a\0b\0\0\0", 6));
        EXPECT_EQ(dataFromHive(type, dataToHive(type, text)), text);
    }
    for (uint32_t type : {0u, 3u, 4u, 6u, 11u, 0x12345u}) {
        EXPECT_FALSE(isStringType(type));
        EXPECT_EQ(dataToHive(type, text), text);
        EXPECT_EQ(dataFromHive(type, text), text);
    }
}

}  // namespace
}  // namespace vedozer
