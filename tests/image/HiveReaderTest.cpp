// The page-wise hive reader on hives written the way Windows lays them out (CompactHive), checked
// against hivex where hivex can read them and against damage where nothing should.
#include <gtest/gtest.h>
#include <hivex.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>

#include "platform/image/HiveReader.h"
#include "platform/image/HiveText.h"
#include "platform/image/ImageRegistry.h"
#include "support/CompactHive.h"
#include "support/HiveBuilder.h"
#include "support/TempDir.h"

namespace vedozer {
namespace {

std::string key(int i) {
    char name[16];
    std::snprintf(name, sizeof name, "k%06d", i);
    return name;
}

// A key with more sub keys than hivex lists (70,000 in hivex 1.3.23): hivex refuses the key; the
// registry still finds, reads and lists what is under it.
TEST(HiveReader, KeysWithMoreSubKeysThanHivexListsAreRead) {
    test::TempDir dir;
    const std::string path = dir.str() + "/SOFTWARE";
    constexpr int kSubKeys = 70001;
    test::CompactHive hive;
    for (int i = 0; i < kSubKeys; ++i) hive.key("Classes\\CLSID\\" + key(i));
    hive.value("Classes\\CLSID\\" + key(kSubKeys - 1), "", kRegSz, std::string("last.dll\0", 9));
    hive.write(path);

    hive_h* h = hivex_open(path.c_str(), 0);
    ASSERT_TRUE(h);
    hive_node_h clsid = hivex_node_get_child(h, hivex_node_get_child(h, hivex_root(h), "Classes"), "CLSID");
    ASSERT_TRUE(clsid);
    errno = 0;
    EXPECT_EQ(hivex_node_children(h, clsid), nullptr);
    EXPECT_EQ(errno, ERANGE);
    hivex_close(h);

    ImageRegistry::Config config;
    config.hives.software = path;
    ImageRegistry reg(config);
    const std::string last = "SOFTWARE\\Classes\\CLSID\\" + key(kSubKeys - 1);
    EXPECT_EQ(reg.openKey(RootKey::LocalMachine, last, kKeyReadWriteMask), RegStatus::Ok) << reg.lastError();
    auto value = reg.queryValue(RootKey::LocalMachine, last, "");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->data, std::string("last.dll\0", 9));
    EXPECT_EQ(reg.openKey(RootKey::ClassesRoot, "CLSID\\K000123", kKeyReadWriteMask), RegStatus::Ok);
    EXPECT_EQ(reg.openKey(RootKey::ClassesRoot, "CLSID\\k070001", kKeyReadWriteMask), RegStatus::NotFound);
    auto names = reg.subKeys(RootKey::LocalMachine, "SOFTWARE\\Classes\\CLSID");
    ASSERT_EQ(names.size(), static_cast<size_t>(kSubKeys));
    EXPECT_EQ(names.front(), key(0));
    EXPECT_EQ(names.back(), key(kSubKeys - 1));
}

// Data above 16,344 bytes in a hive of format 1.5 lies in segments a "db" record lists.
TEST(HiveReader, BigDataReadsAsHivexReadsIt) {
    test::TempDir dir;
    const std::string path = dir.str() + "/big";
    std::string blob(40000, '\0'), exact(2 * 16344, '\0');
    for (size_t i = 0; i < blob.size(); ++i) blob[i] = static_cast<char>(i * 7 % 251);
    for (size_t i = 0; i < exact.size(); ++i) exact[i] = static_cast<char>(i % 13);
    test::CompactHive hive(true);
    hive.value("Data", "blob", kRegBinary, blob);
    hive.value("Data", "exact", kRegBinary, exact);
    hive.value("Data", "small", kRegBinary, "abc");
    hive.value("Data", "word", kRegDword, test::dwordBytes(7));
    hive.write(path);

    HiveReader reader;
    ASSERT_TRUE(reader.open(path)) << reader.error();
    EXPECT_EQ(reader.minorVersion(), 5u);
    auto children = reader.children(reader.root());
    ASSERT_TRUE(children && children->size() == 1);
    auto values = reader.values(children->front());
    ASSERT_TRUE(values);
    std::map<std::string, std::string> read;
    for (const auto& v : *values)
        read[v.utf8Name] = reader.data(v).value_or("<error: " + reader.error() + ">");
    EXPECT_EQ(read["blob"], blob);
    EXPECT_EQ(read["exact"], exact);
    EXPECT_EQ(read["small"], "abc");
    EXPECT_EQ(read["word"], test::dwordBytes(7));

    hive_h* h = hivex_open(path.c_str(), 0);
    ASSERT_TRUE(h);
    hive_node_h node = hivex_node_get_child(h, hivex_root(h), "Data");
    for (const char* name : {"blob", "exact"}) {
        hive_type type;
        size_t len = 0;
        char* data = hivex_value_value(h, hivex_node_get_value(h, node, name), &type, &len);
        ASSERT_TRUE(data) << name;
        EXPECT_EQ(std::string(data, len), read[name]) << name;
        std::free(data);
    }
    hivex_close(h);
}

// A look-up reads the pages it needs, not the hive.
TEST(HiveReader, ReadsOnlyThePagesALookUpNeeds) {
    test::TempDir dir;
    const std::string path = dir.str() + "/wide";
    test::CompactHive hive;
    for (int i = 0; i < 30000; ++i) hive.value("Wide\\" + key(i), "v", kRegBinary, std::string(400, 'x'));
    hive.write(path);
    const auto size = std::filesystem::file_size(path);
    ASSERT_GT(size, 10u << 20);

    ImageRegistry::Config config;
    config.hives.software = path;
    ImageRegistry reg(config);
    auto v = reg.queryValue(RootKey::LocalMachine, "SOFTWARE\\Wide\\" + key(12345), "V");
    ASSERT_TRUE(v);
    EXPECT_EQ(v->data, std::string(400, 'x'));

    HiveReader reader;
    ASSERT_TRUE(reader.open(path));
    auto wide = reader.children(reader.root());
    ASSERT_TRUE(wide);
    auto keys = reader.children(wide->front());
    ASSERT_TRUE(keys && keys->size() == 30000u);
    auto values = reader.values((*keys)[20000]);
    ASSERT_TRUE(values && values->size() == 1u);
    EXPECT_EQ(reader.data(values->front()), std::string(400, 'x'));
    // The bin header, the root, the sub key lists (30 lists of 1,000) and one key's records: a few
    // dozen 16 KiB pages of a hive of hundreds.
    EXPECT_LT(reader.pagesRead(), 64);
    EXPECT_GT(size / (16 << 10), 600u);
}

// Everything reachable, with a bound on how much, so a damaged hive that loops cannot loop here.
void walkAll(HiveReader& reader, uint32_t node, std::set<uint32_t>& seen, int depth) {
    if (depth > 64 || seen.size() > 20000 || !seen.insert(node).second) return;
    bool damaged = false;
    (void)reader.name(node, damaged);
    if (auto values = reader.values(node))
        for (const auto& v : *values) (void)reader.data(v);
    if (auto children = reader.children(node))
        for (uint32_t c : *children) walkAll(reader, c, seen, depth + 1);
}

// Bytes of a good hive changed at random: every read either answers or fails, none reads outside
// the file or runs away (a crash or a hang fails the test).
TEST(HiveReader, DamagedHivesFailReadsAndNeverReadOutsideThem) {
    test::TempDir dir;
    const std::string good = dir.str() + "/good", bad = dir.str() + "/bad";
    test::CompactHive hive(true);
    for (int i = 0; i < 1500; ++i) hive.key("Many\\" + key(i));  // an "ri" index of "lf" lists
    for (int i = 0; i < 20; ++i) {
        hive.value("Values\\" + key(i), "name" + std::to_string(i), kRegSz, hivetext::cp1252ToUtf8("text"));
        hive.value("Values\\" + key(i), "", kRegBinary, std::string(20000 + i, 'b'));
    }
    hive.write(good);
    std::ifstream in(good, std::ios::binary);
    const std::string original((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 rng(seed);
    int opened = 0;
    for (int round = 0; round < 300; ++round) {
        std::string damaged = original;
        for (int k = 1 + static_cast<int>(rng() % 8); k > 0; --k) {
            const size_t at = 0x1000 + rng() % (damaged.size() - 0x1000);
            damaged[at] = static_cast<char>(rng() % 2 ? rng() : damaged[at] ^ (1 << (rng() % 8)));
        }
        if (round % 50 == 0) damaged.resize(damaged.size() - rng() % 30000);  // cut short as well
        std::ofstream(bad, std::ios::binary | std::ios::trunc) << damaged;
        HiveReader reader;
        if (!reader.open(bad)) continue;
        ++opened;
        std::set<uint32_t> seen;
        walkAll(reader, reader.root(), seen, 0);
    }
    EXPECT_GT(opened, 200);
}

}  // namespace
}  // namespace vedozer
