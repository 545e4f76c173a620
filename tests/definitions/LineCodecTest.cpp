#include <gtest/gtest.h>

#include "definitions/LineCodec.h"
#include "definitions/LineReader.h"

namespace vedozer {
namespace {

TEST(LineCodec, OffsetIsWithinTheAllowedRange) {
    EXPECT_GE(kScrambleOffset, 1);
    EXPECT_LE(kScrambleOffset, 254);
}

TEST(LineCodec, RoundTripsEveryCodeBelow255) {
    for (int c = 0; c <= 254; ++c) {
        std::string one(1, static_cast<char>(c));
        std::string encoded = EncodeDefinitionLine(one);
        ASSERT_EQ(encoded.size(), 1u);
        int e = static_cast<unsigned char>(encoded[0]);
        EXPECT_EQ(e, c + kScrambleOffset <= 255 ? c + kScrambleOffset : c + kScrambleOffset - 255) << c;
        EXPECT_EQ(DecodeDefinitionLine(encoded), one) << "code " << c;
    }
}

TEST(LineCodec, Code255EncodesToTheOffsetAndDecodesToZero) {
    std::string encoded = EncodeDefinitionLine(std::string(1, '\xFF'));
    EXPECT_EQ(static_cast<unsigned char>(encoded[0]), kScrambleOffset);
    EXPECT_EQ(DecodeDefinitionLine(encoded), std::string(1, '\0'));
}

TEST(LineCodec, DecodesEveryByteAndKeepsOrderAndLength) {
    std::string all;
    for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
    std::string decoded = DecodeDefinitionLine(all);
    ASSERT_EQ(decoded.size(), 256u);
    for (int c = 0; c < 256; ++c) {
        int d = static_cast<unsigned char>(decoded[c]);
        EXPECT_EQ(d, c >= kScrambleOffset ? c - kScrambleOffset : c - kScrambleOffset + 255) << c;
    }
    EXPECT_EQ(EncodeDefinitionLine(""), "");
    EXPECT_EQ(DecodeDefinitionLine(EncodeDefinitionLine("2^Software\\Bad^Start=BadThing|Hijacker")),
              "2^Software\\Bad^Start=BadThing|Hijacker");
}

TEST(LineCodec, SeparatorsEncodeToTheFeedCodes) {
    EXPECT_EQ(static_cast<unsigned char>(EncodeDefinitionLine("|")[0]), 188);
    EXPECT_EQ(static_cast<unsigned char>(EncodeDefinitionLine("=")[0]), 125);
    // The characters whose encoded form is a separator, so a feed field cannot carry them.
    EXPECT_EQ(EncodeDefinitionLine(std::string(1, static_cast<char>(60))), "|");
    EXPECT_EQ(EncodeDefinitionLine(std::string(1, static_cast<char>(252))), "=");
}

TEST(LineCodec, EncodedLoneCrOrLfSurvivesTheLineSplit) {
    // Decoded characters whose encoded form is a CR or an LF byte.
    const char decodedForCr = static_cast<char>(13 - kScrambleOffset + 255);
    const char decodedForLf = static_cast<char>(10 - kScrambleOffset + 255);
    std::string line = std::string("a") + decodedForCr + "b" + decodedForLf + "c";
    std::string encoded = EncodeDefinitionLine(line);
    ASSERT_NE(encoded.find('\r'), std::string::npos);
    ASSERT_NE(encoded.find('\n'), std::string::npos);
    auto lines = splitLines(encoded + "\r\n" + EncodeDefinitionLine("next") + "\r\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(DecodeDefinitionLine(lines[0]), line);
    EXPECT_EQ(DecodeDefinitionLine(lines[1]), "next");
}

}  // namespace
}  // namespace vedozer
