#include "definitions/SubstringIndex.h"

#include <gtest/gtest.h>

#include <random>

namespace vedozer {
namespace {

// Against std::string::find on texts of few letters, where every kind of repeat occurs.
TEST(SubstringIndex, AgreesWithAPlainSearch) {
    const unsigned seed = std::random_device{}();
    std::mt19937 rng(seed);
    SCOPED_TRACE("seed " + std::to_string(seed));
    for (int round = 0; round < 200; ++round) {
        std::string text;
        const size_t length = rng() % 300;
        for (size_t i = 0; i < length; ++i) text += "ab|\xE9"[rng() % (round % 2 ? 2 : 4)];
        const SubstringIndex index(text);
        for (int q = 0; q < 50; ++q) {
            std::string needle;
            if (q % 2 && !text.empty()) {
                const size_t at = rng() % text.size();
                needle = text.substr(at, 1 + rng() % 12);
            } else {
                for (size_t i = rng() % 8; i > 0; --i) needle += "ab|\xE9"[rng() % 4];
            }
            ASSERT_EQ(index.contains(needle), text.find(needle) != std::string::npos) << text << " / " << needle;
        }
    }
    EXPECT_TRUE(SubstringIndex("").contains(""));
    EXPECT_FALSE(SubstringIndex("").contains("a"));
    EXPECT_TRUE(SubstringIndex("aaaa").contains("aaaa"));
    EXPECT_FALSE(SubstringIndex("aaaa").contains("aaaaa"));
}

}  // namespace
}  // namespace vedozer
