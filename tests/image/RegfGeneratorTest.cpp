#include "platform/image/RegfGenerator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "image/HiveTools.h"
#include "platform/image/HiveFile.h"
#include "platform/image/HiveText.h"
#include "support/HiveBuilder.h"
#include "support/TempDir.h"

namespace vedozer {
namespace {

uint32_t u32(const std::string& b, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}
uint16_t u16(const std::string& b, size_t at) {
    return static_cast<uint16_t>(static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8));
}
uint32_t plainXor(const std::string& b) {
    uint32_t sum = 0;
    for (size_t at = 0; at < 0x1FC; at += 4) sum ^= u32(b, at);
    return sum;
}

TEST(RegfGenerator, BaseBlockAndBinFollowTheFormat) {
    const std::string hive = makeEmptyHive("CMI-Test", {3, 0x01D9000000000000ULL});
    ASSERT_EQ(hive.size(), 8192u);
    EXPECT_EQ(hive.substr(0, 4), "regf");
    EXPECT_EQ(u32(hive, 0x04), 1u);
    EXPECT_EQ(u32(hive, 0x08), 1u);  // sequence numbers equal: a clean hive
    EXPECT_EQ(u32(hive, 0x14), 1u);
    EXPECT_EQ(u32(hive, 0x18), 3u);
    EXPECT_EQ(u32(hive, 0x1C), 0u);
    EXPECT_EQ(u32(hive, 0x20), 1u);
    EXPECT_EQ(u32(hive, 0x24), 0x20u);    // root cell right after the bin header
    EXPECT_EQ(u32(hive, 0x28), 0x1000u);  // one bin
    EXPECT_EQ(u32(hive, 0x1FC), plainXor(hive));
    EXPECT_EQ(u32(hive, 0x1FC), regfHeaderChecksum(hive));

    EXPECT_EQ(hive.substr(0x1000, 4), "hbin");
    EXPECT_EQ(u32(hive, 0x1004), 0u);
    EXPECT_EQ(u32(hive, 0x1008), 0x1000u);

    // Root key: allocated (negative size), hive entry + compressed name, nothing below it.
    const size_t nk = 0x1020;
    const int32_t nkSize = static_cast<int32_t>(u32(hive, nk));
    ASSERT_LT(nkSize, 0);
    EXPECT_EQ(-nkSize % 8, 0);
    EXPECT_EQ(hive.substr(nk + 4, 2), "nk");
    EXPECT_EQ(u16(hive, nk + 6), 0x0004 | 0x0020);
    EXPECT_EQ(u32(hive, nk + 4 + 0x14), 0u);
    EXPECT_EQ(u32(hive, nk + 4 + 0x1C), 0xFFFFFFFFu);
    EXPECT_EQ(u32(hive, nk + 4 + 0x24), 0u);
    EXPECT_EQ(u32(hive, nk + 4 + 0x28), 0xFFFFFFFFu);
    EXPECT_EQ(u16(hive, nk + 4 + 0x48), 8u);
    EXPECT_EQ(hive.substr(nk + 4 + 0x4C, 8), "CMI-Test");

    // Security record: a list of one pointing to itself, a self-relative descriptor.
    const uint32_t skOffset = u32(hive, nk + 4 + 0x2C);
    const size_t sk = 0x1000 + skOffset;
    const int32_t skSize = static_cast<int32_t>(u32(hive, sk));
    ASSERT_LT(skSize, 0);
    EXPECT_EQ(hive.substr(sk + 4, 2), "sk");
    EXPECT_EQ(u32(hive, sk + 4 + 0x04), skOffset);
    EXPECT_EQ(u32(hive, sk + 4 + 0x08), skOffset);
    EXPECT_EQ(u32(hive, sk + 4 + 0x0C), 1u);
    const size_t sd = sk + 4 + 0x14;
    EXPECT_EQ(hive[sd], 1);
    EXPECT_EQ(u16(hive, sd + 2) & 0x8004, 0x8004);
    EXPECT_LE(0x14 + u32(hive, sk + 4 + 0x10) + 4, static_cast<uint32_t>(-skSize));

    // The rest of the bin is one free cell.
    const size_t freeCell = sk + static_cast<size_t>(-skSize);
    const int32_t freeSize = static_cast<int32_t>(u32(hive, freeCell));
    EXPECT_GT(freeSize, 0);
    EXPECT_EQ(freeCell + static_cast<size_t>(freeSize), 0x2000u);
}

TEST(RegfGenerator, ChecksumSpecialCases) {
    std::string block(512, '\0');
    EXPECT_EQ(regfHeaderChecksum(block), 1u);  // XOR 0 is stored as 1
    block[0] = block[1] = block[2] = block[3] = '\xFF';
    EXPECT_EQ(regfHeaderChecksum(block), 0xFFFFFFFEu);
    block[0] = '\x12';
    EXPECT_EQ(regfHeaderChecksum(block), 0xFFFFFF12u);
    block[0x1FC] = '\x55';  // the checksum field itself does not count
    EXPECT_EQ(regfHeaderChecksum(block), 0xFFFFFF12u);
    EXPECT_THROW(regfHeaderChecksum(std::string(100, '\0')), std::invalid_argument);
}

TEST(RegfGenerator, AvoidsTimestampsWhoseChecksumIsAmbiguous) {
    // Pick the time whose low dword makes the plain XOR of the header zero.
    const uint64_t high = 0x01D90000ULL;
    const std::string probe = makeEmptyHive("ROOT", {3, high << 32});
    const uint32_t rest = u32(probe, 0x1FC) ^ static_cast<uint32_t>(high);
    const uint64_t bad = (high << 32) | (rest ^ static_cast<uint32_t>(high));
    const std::string hive = makeEmptyHive("ROOT", {3, bad});
    const uint64_t stored = u32(hive, 0x0C) | (static_cast<uint64_t>(u32(hive, 0x10)) << 32);
    EXPECT_NE(stored, bad);
    EXPECT_EQ(stored, bad + 1);
    EXPECT_NE(plainXor(hive), 0u);
    EXPECT_EQ(u32(hive, 0x1FC), plainXor(hive));
}

TEST(RegfGenerator, RejectsBadNamesAndVersions) {
    EXPECT_NO_THROW(makeEmptyHive("ROOT", {5, 1}));
    EXPECT_EQ(u32(makeEmptyHive("ROOT", {5, 1}), 0x18), 5u);
    EXPECT_THROW(makeEmptyHive("ROOT", {4, 1}), std::invalid_argument);
    EXPECT_THROW(makeEmptyHive(""), std::invalid_argument);
    EXPECT_THROW(makeEmptyHive("a\\b"), std::invalid_argument);
    EXPECT_THROW(makeEmptyHive(std::string(256, 'x')), std::invalid_argument);
    EXPECT_THROW(makeEmptyHive("\x80uro"), std::invalid_argument);
    EXPECT_NO_THROW(makeEmptyHive(std::string(255, 'x')));
    EXPECT_NO_THROW(makeEmptyHive("Gr\xF6\xDF" "e"));

    test::TempDir dir;
    std::string error;
    EXPECT_FALSE(writeEmptyHive(dir.str() + "/bad", "", {}, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "bad"));
    error.clear();
    EXPECT_FALSE(writeEmptyHive(dir.str() + "/no/such/folder/hive", "ROOT", {}, &error));
    EXPECT_NE(error.find("no/such/folder"), std::string::npos);
}

TEST(RegfGenerator, ReplacesAnExistingFileWhole) {
    test::TempDir dir;
    const auto path = dir.write("hive", std::string(20000, 'g'));
    ASSERT_TRUE(writeEmptyHive(path.string(), "ROOT"));
    EXPECT_EQ(std::filesystem::file_size(path), 8192u);
    EXPECT_EQ(test::readHostFile(path).substr(0, 4), "regf");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);  // no temporary left
}

TEST(RegfGenerator, HivexOpensBothVersions) {
    test::TempDir dir;
    for (uint32_t minor : {3u, 5u}) {
        const std::string path = dir.str() + "/v" + std::to_string(minor);
        ASSERT_TRUE(writeEmptyHive(path, "CMI-CreateHive{Test}", {minor, 0}));
        HiveFile file(path);
        ASSERT_TRUE(file.open()) << file.error();
        EXPECT_EQ(file.minorVersion(), minor);
        auto children = file.childNames(file.root());
        ASSERT_TRUE(children);
        EXPECT_TRUE(children->empty());
        ASSERT_TRUE(file.makeWritable()) << file.error();
    }
}

TEST(RegfGenerator, KeysAndValuesAddedThroughHivexReadBackWithTheHivexTools) {
    REQUIRE_HIVEX_TOOL("hivexget");
    REQUIRE_HIVEX_TOOL("hivexsh");
    REQUIRE_HIVEX_TOOL("hivexml");
    test::TempDir dir;
    const std::string path = dir.str() + "/SOFTWARE";
    ASSERT_TRUE(writeEmptyHive(path, "CMI-CreateHive{Tools}", {5, 0}));
    {
        HiveFile file(path);
        ASSERT_TRUE(file.makeWritable()) << file.error();
        auto software = file.addChild(file.root(), "Software");
        ASSERT_TRUE(software);
        auto vendor = file.addChild(*software, "Vedozer");
        ASSERT_TRUE(vendor);
        ASSERT_TRUE(file.addChild(*software, "Other"));
        ASSERT_TRUE(file.setValues(*vendor, {{"Greeting", kRegSz, hivetext::dataToHive(kRegSz, std::string("hello\0", 6))},
                                             {"Count", kRegDword, test::dwordBytes(42)},
                                             {"", kRegSz, hivetext::dataToHive(kRegSz, std::string("dflt\0", 5))}}))
            << file.error();
        ASSERT_TRUE(file.commit()) << file.error();
    }
    EXPECT_EQ(test::hivexget(path, "\\Software\\Vedozer", "Greeting").out, "hello\n");
    EXPECT_EQ(test::hivexget(path, "\\Software\\Vedozer", "Count").out, "42\n");
    EXPECT_EQ(test::hivexget(path, "\\Software\\Vedozer", "@").out, "dflt\n");
    auto listing = test::hivexsh(path, "cd \\Software\nls\n");
    EXPECT_EQ(listing.status, 0);
    EXPECT_EQ(listing.out, "Other\nVedozer\n");
    auto xml = test::runCommand("hivexml " + test::shellQuote(path));
    EXPECT_NE(xml.out.find("name=\"CMI-CreateHive{Tools}\""), std::string::npos);
    EXPECT_NE(test::hivexget(path, "\\Software\\Missing").status, 0);
}

}  // namespace
}  // namespace vedozer
